// A profile blob imported into a slot of the profile set.
#include "fuzz_support.h"
#include "kernel/zarek_data.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_setup();
    zarek_data_c set(nullptr, 8);
    // The same every run; computed once to keep the runs fast.
    static const QByteArray before = [&] {
        QByteArray b;
        set.write_all(&b);
        return b;
    }();

    QBuffer input;
    input.setData(fuzz_bytes(data, size));
    input.open(QIODevice::ReadOnly);
    const bool accepted = set.read_profile(&input, 2);

    QByteArray after;
    set.write_all(&after);
    if (!accepted) {
        FUZZ_CHECK(after == before);
        return 0;
    }
    // The imported slot exports a profile that imports to the same slot again.
    QBuffer exported;
    exported.open(QIODevice::WriteOnly);
    FUZZ_CHECK(set.write_profile(&exported, 2));
    zarek_data_c other(nullptr, 8);
    exported.close();
    exported.open(QIODevice::ReadOnly);
    FUZZ_CHECK(other.read_profile(&exported, 2));
    QBuffer again;
    again.open(QIODevice::WriteOnly);
    other.write_profile(&again, 2);
    FUZZ_CHECK(again.data() == exported.data());
    return 0;
}
