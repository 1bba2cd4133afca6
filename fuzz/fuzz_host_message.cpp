// The host's messages 8, 14 and 25 (and a code the kernel does not handle), each with a
// segment of any bytes on the real shared-memory channel. The first byte chooses the code.
#include "fuzz_support.h"
#include "kernel/zarek_black_kernel.h"
#include "kernel/zarek_data.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QSharedMemory>
#include <QtEndian>

#include <array>
#include <cstring>

namespace {

// What a message may change (the device values and the profile settings), and a part it
// must never touch (the names), compared byte for byte.
struct snapshot_t {
    device_settings_block device;
    std::array<profile_settings_rec, max_profile_slots> settings;
    std::array<profile_name_rec, max_profile_slots> names;

    explicit snapshot_t(zarek_data_c& set)
        : device(set.device()) {
        for (int slot = 0; slot < max_profile_slots; ++slot) {
            settings[size_t(slot)] = set.settings(slot);
            names[size_t(slot)] = set.name(slot);
        }
    }
};

bool same(const snapshot_t& a, const snapshot_t& b, bool device, bool settings) {
    const bool device_same = a.device.b == b.device.b;
    bool settings_same = true;
    bool names_same = true;
    for (size_t slot = 0; slot < size_t(max_profile_slots); ++slot) {
        settings_same = settings_same && a.settings[slot].b == b.settings[slot].b;
        names_same = names_same && a.names[slot].b == b.names[slot].b;
    }
    return names_same && (device || device_same) && (settings || settings_same);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_setup();
    if (size == 0)
        return 0;
    // One kernel for the whole run: each message is judged against the state before it.
    static zarek_black_kernel_c* kernel = new zarek_black_kernel_c;
    static const QString key =
        QStringLiteral("quil_fuzz_message_%1").arg(QCoreApplication::applicationPid());
    constexpr int32_t codes[] = {host_message::device_values, host_message::profile_settings,
                                 host_message::calibration_result, 99};
    const int32_t code = codes[data[0] % 4];
    const QByteArray payload = fuzz_bytes(data + 1, size - 1);

    QSharedMemory segment(key);
    if (!segment.create(qMax(1, payload.size())))
        return 0;
    std::memcpy(segment.data(), payload.constData(), size_t(payload.size()));
    host_message_rec message{};
    qToLittleEndian<int32_t>(code, message.bytes + 2);
    const QByteArray latin_key = key.toLatin1();
    std::memcpy(message.bytes + 6, latin_key.constData(), size_t(latin_key.size()));

    zarek_data_c& set = *kernel->data();
    const snapshot_t before(set);
    kernel->on_host_message(&message);
    // The pool keeps each segment it read for a minute; the harness lets them go after
    // every message.
    kernel->pool().clear();
    const snapshot_t after(set);

    switch (code) {
    case host_message::device_values: {
        FUZZ_CHECK(same(before, after, true, false));
        // Bytes 0..3 take what the field holds, at most four; the rest of the block stays.
        QDataStream in(payload);
        in.setVersion(QDataStream::Qt_5_4);
        QByteArray field;
        in >> field;
        device_settings_block expected = before.device;
        if (in.status() == QDataStream::Ok && !payload.isEmpty())
            std::memcpy(expected.data(), field.constData(), size_t(qMin(4, field.size())));
        FUZZ_CHECK(after.device.b == expected.b);
        break;
    }
    case host_message::profile_settings:
        FUZZ_CHECK(same(before, after, false, true));
        break;
    default:
        FUZZ_CHECK(same(before, after, false, false));
        break;
    }
    FUZZ_CHECK(set.count() >= 1 && set.count() <= max_profile_slots);
    return 0;
}
