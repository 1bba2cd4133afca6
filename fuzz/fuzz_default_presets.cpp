// The button-set preset file: any bytes as an INI file.
#include "buttons/default_presets.h"
#include "fuzz_support.h"

#include <QFile>
#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = fuzz_setup();
    const QString path = folder + QStringLiteral("/presets.dat");
    if (!fuzz_write_file(path, fuzz_bytes(data, size)))
        return 0;
    const QList<btn_layout_rec> presets = read_default_presets(path);
    fuzz_forget_settings(path);
    FUZZ_CHECK(presets.size() <= 51);
    QSet<uint16_t> ids;
    for (const btn_layout_rec& r : presets) {
        FUZZ_CHECK(r.b[0] == 10 && r.b[1] == 30 && r.b[2] == 0);
        // Names are whole UTF-8 characters within their 22 bytes.
        const QByteArray name = r.name();
        FUZZ_CHECK(name.size() <= 22);
        FUZZ_CHECK(QString::fromUtf8(name).toUtf8() == name);
        FUZZ_CHECK(!ids.contains(r.preset_id()));
        ids.insert(r.preset_id());
    }
    return 0;
}
