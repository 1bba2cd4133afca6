// The host's macro-library file, as koral reads it from its data folder.
#include "fuzz_support.h"
#include "host/macro_library.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_setup();
    QVector<macro_library_c::group_t> groups;
    QString error;
    if (!macro_library_c::from_bytes(fuzz_bytes(data, size), &groups, &error)) {
        // A refusal says why and hands back nothing half-read.
        FUZZ_CHECK(!error.isEmpty());
        FUZZ_CHECK(groups.isEmpty());
        return 0;
    }
    FUZZ_CHECK(groups.size() <= macro_library_c::max_groups);
    for (const macro_library_c::group_t& group : groups) {
        FUZZ_CHECK(group.name.size() <= macro_library_c::max_name_chars);
        FUZZ_CHECK(group.macros.size() <= macro_library_c::max_macros_per_group);
    }
    // What was accepted saves to a file that reads back to the same file.
    const QByteArray saved = macro_library_c::to_bytes(groups);
    QVector<macro_library_c::group_t> again;
    FUZZ_CHECK(macro_library_c::from_bytes(saved, &again, &error));
    FUZZ_CHECK(macro_library_c::to_bytes(again) == saved);
    return 0;
}
