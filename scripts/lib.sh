# Shared set-up of scripts/run and scripts/test: install what is missing,
# configure once, build incrementally. Sourced, not run.
QUIL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUIL_BUILD=${QUIL_BUILD:-$QUIL_ROOT/build}

quil_packages=(cmake g++ make pkg-config zlib1g-dev qtbase5-dev qttools5-dev qttools5-dev-tools
               libqt5svg5-dev qttranslations5-l10n xvfb xauth fonts-dejavu-core)

quil_install_missing() {
    local missing=()
    for p in "${quil_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

quil_build() {
    if [ ! -f "$QUIL_BUILD/CMakeCache.txt" ]; then
        local launcher=()
        # Rebuilds in several checkouts share one compiler cache when it is there.
        command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        cmake -S "$QUIL_ROOT" -B "$QUIL_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
    fi
    cmake --build "$QUIL_BUILD" -j"$(nproc)"
}
