// The favourites setting: either a whole ini file or just the stored value.
#include "fuzz_support.h"
#include "kernel/zarek_data.h"

#include <QFile>
#include <QSettings>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = fuzz_setup();
    if (size == 0)
        return 0;
    const QString path = folder + QStringLiteral("/fav");
    const QByteArray payload = fuzz_bytes(data + 1, size - 1);
    if (data[0] & 1) {
        if (!fuzz_write_file(path, payload))
            return 0;
    } else {
        QFile::remove(path);
        QSettings(path, QSettings::IniFormat).setValue(QStringLiteral("Favorite"), payload);
    }

    // One set for the whole run: loading replaces the whole list every time.
    static zarek_data_c& set = *new zarek_data_c(nullptr, 8);
    set.set_favourites_file(path);
    set.load_favourites();
    FUZZ_CHECK(set.favourites().size() <= 4096);
    // What was loaded saves and loads back unchanged.
    const QList<int32_t> loaded = set.favourites();
    set.save_favourites();
    set.favourites().clear();
    set.load_favourites();
    FUZZ_CHECK(set.favourites() == loaded);
    fuzz_forget_settings(path);
    return 0;
}
