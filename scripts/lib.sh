# Shared set-up of scripts/run, scripts/test and scripts/check: install what is missing,
# configure once, build incrementally. Sourced, not run.
QUIL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUIL_BUILD=${QUIL_BUILD:-$QUIL_ROOT/build}

# xvfb and xauth: the button page's drag-and-drop suite moves a real pointer under xvfb-run.
quil_packages=(cmake g++ make pkg-config zlib1g-dev qtbase5-dev qttools5-dev qttools5-dev-tools
               libqt5svg5-dev qttranslations5-l10n fonts-dejavu-core xvfb xauth)

quil_install_missing() {
    local missing=()
    for p in "${quil_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "These packages are missing and installing them needs root. As root, run:" >&2
            echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    # The package manager's own lines go to a log; the console gets one line.
    local log="${TMPDIR:-/tmp}/quil-apt-$(id -u).log"
    echo "Installing ${#missing[@]} missing packages: ${missing[*]} (log: $log)"
    if ! { "${sudo[@]}" apt-get update &&
           DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y \
               --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
        tail -n 20 "$log" >&2
        echo "Installing the packages failed; the whole output is in $log" >&2
        exit 1
    fi
    echo "Installed: $(grep -c '^Setting up ' "$log") packages set up"
}

# Qt warns on every start when the session has no runtime folder (a bare login, a
# container): give the programs a private one, as a session manager would.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/quil-runtime-$(id -u)"
    # Someone else's folder of that name is never used.
    if ! { mkdir -p -m 700 "$XDG_RUNTIME_DIR" 2>/dev/null && [ -O "$XDG_RUNTIME_DIR" ] &&
           [ ! -L "$XDG_RUNTIME_DIR" ]; }; then
        XDG_RUNTIME_DIR=$(mktemp -d)
    fi
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi

quil_build() {
    if [ ! -f "$QUIL_BUILD/CMakeCache.txt" ]; then
        local launcher=()
        # Rebuilds in several checkouts share one compiler cache when it is there.
        command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        cmake -S "$QUIL_ROOT" -B "$QUIL_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
    fi
    cmake --build "$QUIL_BUILD" -j"$(nproc)"
}
