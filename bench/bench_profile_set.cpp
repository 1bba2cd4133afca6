// Timing of the profile-set blob and the profile blob: write_all, read_all,
// write_profile and read_profile on a set with every slot filled. Run by hand;
// the numbers are for comparing builds, not for tests.
#include "kernel/zarek_data.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

void fill(zarek_data_c& d) {
    for (int s = 0; s < max_profile_slots; ++s) {
        d.name(s).set_name(QStringLiteral("Profile %1").arg(s + 1));
        for (int k = 0; k < button_count; ++k)
            d.btn_assign(s).set(k, {uint8_t(k), 1, 2});
        for (int k = 0; k < macros_per_slot; ++k)
            d.macro(s, k).b[100] = uint8_t(k);
        for (int key = 0; key < 8; ++key) {
            d.param_map(s).insert(key, btn_param_block());
            d.data_map(s).insert(key, btn_data_block());
            d.text_map(s).insert(key, QStringLiteral("C:/Program Files/app%1.exe").arg(key));
        }
        QImage image(64, 64, QImage::Format_ARGB32);
        image.fill(QColor(40 * s, 80, 120));
        d.picture(s) = QPixmap::fromImage(image);
    }
}

// Runs `op` until a second has passed (at least 10 times) and prints the mean.
void measure(const char* name, const std::function<void()>& op) {
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    int runs = 0;
    while (runs < 10 || clock::now() - start < std::chrono::seconds(1)) {
        op();
        ++runs;
    }
    const double us =
        std::chrono::duration<double, std::micro>(clock::now() - start).count() / runs;
    std::printf("%-28s %10.1f us  (%d runs)\n", name, us, runs);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;

    zarek_data_c set(nullptr, 8);
    set.set_favourites_file(dir.filePath(QStringLiteral("favourites")));
    fill(set);

    QByteArray blob;
    set.write_all(&blob);
    std::printf("profile-set blob: %d bytes\n", blob.size());
    measure("write_all", [&] {
        QByteArray b;
        set.write_all(&b);
    });
    measure("read_all", [&] { set.read_all(blob); });

    QBuffer profile;
    profile.open(QIODevice::WriteOnly);
    set.write_profile(&profile, 2);
    const QByteArray profile_bytes = profile.data();
    std::printf("profile blob: %d bytes\n", profile_bytes.size());
    measure("write_profile", [&] {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        set.write_profile(&b, 2);
    });
    measure("read_profile", [&] {
        QBuffer b;
        b.setData(profile_bytes);
        b.open(QIODevice::ReadOnly);
        set.read_profile(&b, 2);
    });
    return 0;
}
