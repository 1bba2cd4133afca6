// The profile-set blob as the device sends it.
#include "fuzz_support.h"
#include "kernel/zarek_data.h"

namespace {

QByteArray blob_of(const zarek_data_c& d) {
    QByteArray b;
    d.write_all(&b);
    return b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = fuzz_setup();
    zarek_data_c set(nullptr, 8);
    set.set_favourites_file(folder + QStringLiteral("/absent"));
    set.name(1).set_name(QStringLiteral("stored"));
    // The same every run; computed once to keep the runs fast.
    static const QByteArray before = blob_of(set);

    if (!set.read_all(fuzz_bytes(data, size))) {
        // A refused blob leaves the stored set exactly as it was.
        FUZZ_CHECK(blob_of(set) == before);
        return 0;
    }
    // Whatever was accepted, the set writes a blob that reads back to itself.
    const QByteArray written = blob_of(set);
    zarek_data_c again(nullptr, 8);
    again.set_favourites_file(folder + QStringLiteral("/absent"));
    FUZZ_CHECK(again.read_all(written));
    FUZZ_CHECK(blob_of(again) == written);
    return 0;
}
