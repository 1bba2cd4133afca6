// The profile-set blob as the device sends it.
#include "fuzz_profile_set.h"
#include "fuzz_support.h"

namespace {

zarek_data_c* make_set(const QString& folder) {
    auto* set = new zarek_data_c(nullptr, 8);
    set->set_favourites_file(folder + QStringLiteral("/absent"));
    set->name(1).set_name(QStringLiteral("stored"));
    return set;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = fuzz_setup();
    // Two sets for the whole run, equal before every input: the one that reads the input and
    // its mirror, which follows only what was accepted.
    static zarek_data_c* set = make_set(folder);
    static zarek_data_c* mirror = make_set(folder);

    if (!set->read_all(fuzz_bytes(data, size))) {
        // A refused blob leaves the stored set exactly as it was.
        FUZZ_CHECK(fuzz_same_set(*set, *mirror));
        return 0;
    }
    // Whatever was accepted, the set writes a blob that reads back to the same set.
    // One array for the whole run: its memory is reused, not mapped afresh each time.
    static QByteArray written;
    set->write_all(&written);
    FUZZ_CHECK(mirror->read_all(written));
    FUZZ_CHECK(fuzz_same_set(*set, *mirror));
    return 0;
}
