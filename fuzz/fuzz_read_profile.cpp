// A profile blob imported into a slot of the profile set.
#include "fuzz_profile_set.h"
#include "fuzz_support.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_setup();
    // Two sets for the whole run, equal before every input: the one that imports the input
    // and its mirror, which follows only what was accepted.
    static zarek_data_c* set = new zarek_data_c(nullptr, 8);
    static zarek_data_c* mirror = new zarek_data_c(nullptr, 8);

    QBuffer input;
    input.setData(fuzz_bytes(data, size));
    input.open(QIODevice::ReadOnly);
    if (!set->read_profile(&input, 2)) {
        FUZZ_CHECK(fuzz_same_set(*set, *mirror));
        return 0;
    }
    // The imported slot exports a profile that imports to the same slot again.
    QBuffer exported;
    exported.open(QIODevice::WriteOnly);
    FUZZ_CHECK(set->write_profile(&exported, 2));
    exported.close();
    exported.open(QIODevice::ReadOnly);
    FUZZ_CHECK(mirror->read_profile(&exported, 2));
    FUZZ_CHECK(fuzz_same_set(*set, *mirror));
    return 0;
}
