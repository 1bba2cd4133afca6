// A profile blob read by the profile object the host creates.
#include "fuzz_support.h"
#include "kernel/zarek_profile.h"

#include <QBuffer>

namespace {

QByteArray blob_of(zarek_profile_c& p) {
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    p.write(&b);
    return b.data();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_setup();
    zarek_profile_c profile;
    profile.set_name(QStringLiteral("stored"));
    const QByteArray before = blob_of(profile);

    QBuffer input;
    input.setData(fuzz_bytes(data, size));
    input.open(QIODevice::ReadOnly);
    if (!profile.read(&input)) {
        FUZZ_CHECK(blob_of(profile) == before);
        return 0;
    }
    FUZZ_CHECK(profile.profile().macros.size() <= 40);
    const QByteArray written = blob_of(profile);
    zarek_profile_c again;
    QBuffer second;
    second.setData(written);
    second.open(QIODevice::ReadOnly);
    FUZZ_CHECK(again.read(&second));
    FUZZ_CHECK(blob_of(again) == written);
    return 0;
}
