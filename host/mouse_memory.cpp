#include "host/mouse_memory.h"

#include "host/host_storage.h"

#include <QDataStream>
#include <QtEndian>
#include <cstring>
#include <functional>

namespace mouse_memory {

namespace {

// A stored record field may be longer than its record (the rest is ignored)
// but never beyond this.
constexpr int k_max_field = 64 * 1024;
// The smallest stored record field: its 32-bit length.
constexpr qint64 k_field_head = 4;

class reader_c {
public:
    explicit reader_c(const QByteArray& blob)
        : m_in(blob) {
        m_in.setVersion(host_storage::stream_version);
    }

    bool failed() const { return !m_error.isEmpty(); }
    QString error() const { return m_error; }
    bool fail(const QString& why) {
        if (m_error.isEmpty())
            m_error = why;
        return false;
    }

    bool count(const QString& what, int limit, qint64 smallest, int* n) {
        qint32 value = 0;
        m_in >> value;
        if (m_in.status() != QDataStream::Ok)
            return fail(QStringLiteral("%1: cut short").arg(what));
        if (value < 0 || value > limit || value * smallest > host_storage::bytes_left(m_in))
            return fail(QStringLiteral("%1: %2 entries").arg(what).arg(value));
        *n = value;
        return true;
    }

    // A record field, cut or zero-filled to `size` bytes.
    bool field(const QString& what, int size, QByteArray* out) {
        QByteArray bytes;
        if (!host_storage::read_bytes(m_in, k_max_field, &bytes))
            return fail(QStringLiteral("%1: damaged record").arg(what));
        *out = bytes.left(size);
        if (out->size() < size)
            out->append(QByteArray(size - out->size(), '\0'));
        return true;
    }

    // A list of records: `take` gets each record of the first `profile_slots` entries.
    bool list(const QString& what, int size,
              const std::function<void(int, const QByteArray&)>& take) {
        int n = 0;
        if (!count(what, max_list, k_field_head, &n))
            return false;
        for (int i = 0; i < n; ++i) {
            QByteArray record;
            if (!field(what, size, &record))
                return false;
            if (i < profile_slots && take)
                take(i, record);
        }
        return true;
    }

    bool byte_map(const QString& what, int size, QMap<int32_t, QByteArray>* map) {
        int n = 0;
        if (!count(what, max_map, 4 + k_field_head, &n))
            return false;
        for (int i = 0; i < n; ++i) {
            qint32 key = 0;
            m_in >> key;
            QByteArray value;
            if (m_in.status() != QDataStream::Ok || !field(what, size, &value))
                return fail(QStringLiteral("%1: damaged entry").arg(what));
            if (map)
                map->insert(key, value);
        }
        return true;
    }

    bool text_map(const QString& what, QMap<int32_t, QString>* map) {
        int n = 0;
        if (!count(what, max_map, 4 + 4, &n))
            return false;
        for (int i = 0; i < n; ++i) {
            qint32 key = 0;
            m_in >> key;
            QString value;
            if (m_in.status() != QDataStream::Ok ||
                !host_storage::read_text(m_in, max_text_chars, &value))
                return fail(QStringLiteral("%1: damaged entry").arg(what));
            if (map)
                map->insert(key, value);
        }
        return true;
    }

    // A picture is a marker and, when it is not null, a PNG file in the
    // stream; its chunks are walked, not decoded.
    bool skip_picture() {
        qint32 marker = 0;
        m_in >> marker;
        if (m_in.status() != QDataStream::Ok)
            return fail(QStringLiteral("picture: cut short"));
        if (marker == 0)
            return true;
        if (marker != 1)
            return fail(QStringLiteral("picture: unknown marker %1").arg(marker));
        static const char signature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1A', '\n'};
        char head[8];
        if (m_in.readRawData(head, 8) != 8 || std::memcmp(head, signature, 8) != 0)
            return fail(QStringLiteral("picture: not a PNG image"));
        for (;;) {
            quint32 length = 0;
            char type[4];
            m_in >> length;
            if (m_in.status() != QDataStream::Ok || m_in.readRawData(type, 4) != 4)
                return fail(QStringLiteral("picture: cut short"));
            // The chunk's data and its checksum must be there.
            if (qint64(length) + 4 > host_storage::bytes_left(m_in))
                return fail(QStringLiteral("picture: a chunk runs past the end"));
            m_in.skipRawData(int(length) + 4);
            if (std::memcmp(type, "IEND", 4) == 0)
                return true;
        }
    }

    QDataStream& stream() { return m_in; }

private:
    QDataStream m_in;
    QString m_error;
};

QString utf16_name(const QByteArray& record) {
    // At most 49 code units before the terminator, little-endian.
    QString name;
    for (int i = 0; i + 1 < 100; i += 2) {
        const auto unit = qFromLittleEndian<quint16>(record.constData() + i);
        if (unit == 0)
            break;
        name.append(QChar(unit));
    }
    return name;
}

template <size_t N>
void copy_to(std::array<uint8_t, N>* target, const QByteArray& record) {
    std::memcpy(target->data(), record.constData(), qMin<size_t>(N, size_t(record.size())));
}

} // namespace

std::array<uint8_t, 3> profile_t::entry(int button) const {
    if (button < 0 || button >= buttons)
        return {0, 0, 0};
    const size_t at = 3 + 3 * size_t(button);
    return {assign[at], assign[at + 1], assign[at + 2]};
}

int profile_t::dpi(int step) const {
    if (step < 0 || step > 4)
        return 0;
    return qFromLittleEndian<quint16>(settings.data() + 7 + 2 * step);
}

QString profile_t::macro_name(int button) const {
    if (button < 0 || button >= macros.size() || macros.at(button).size() < 78)
        return QString();
    const char* at = macros.at(button).constData() + 46;
    return QString::fromUtf8(at, int(qstrnlen(at, 32)));
}

bool read(const QByteArray& blob, memory_t* memory, QString* error) {
    reader_c r(blob);
    memory_t m;
    m.profiles.resize(profile_slots);
    auto each = [&m](auto member) {
        return [&m, member](int slot, const QByteArray& record) {
            member(&m.profiles[slot], record);
        };
    };

    // 1, 2: names and paths.
    r.list(QStringLiteral("names"), name_size, each([](profile_t* p, const QByteArray& record) {
               p->name = utf16_name(record);
               p->value_253 = qFromLittleEndian<quint32>(record.constData() + 108);
           }));
    if (!r.failed())
        r.list(QStringLiteral("paths"), paths_size, nullptr);
    // 3: device values 27..38.
    QByteArray ignored;
    if (!r.failed())
        r.field(QStringLiteral("device values"), 12, &ignored);
    // 4: timer and other parameter maps.
    int n = 0;
    if (!r.failed() && r.count(QStringLiteral("parameter maps"), max_list, 4, &n)) {
        for (int i = 0; i < n && !r.failed(); ++i)
            r.byte_map(QStringLiteral("parameter map"), 11,
                       i < profile_slots ? &m.profiles[i].params : nullptr);
    }
    // 5, 6: extra words; the current slot and the number in use.
    if (!r.failed())
        r.list(QStringLiteral("extra words"), 2, nullptr);
    QByteArray device;
    if (!r.failed() && r.field(QStringLiteral("device block"), 4, &device)) {
        copy_to(&m.device_values, device);
        m.current_slot = uint8_t(device.at(2));
        m.slots_in_use = uint8_t(device.at(3));
    }
    // 7: pictures.
    if (!r.failed() && r.count(QStringLiteral("pictures"), max_list, 4, &n)) {
        for (int i = 0; i < n && !r.failed(); ++i)
            r.skip_picture();
    }
    // 8: open paths and web addresses.
    if (!r.failed() && r.count(QStringLiteral("text maps"), max_list, 4, &n)) {
        for (int i = 0; i < n && !r.failed(); ++i)
            r.text_map(QStringLiteral("text map"),
                       i < profile_slots ? &m.profiles[i].texts : nullptr);
    }
    // 9: a flag.
    if (!r.failed()) {
        quint8 flag = 0;
        r.stream() >> flag;
        if (r.stream().status() != QDataStream::Ok)
            r.fail(QStringLiteral("device flag: cut short"));
    }
    // 10: talk records.
    if (!r.failed() && r.count(QStringLiteral("data maps"), max_list, 4, &n)) {
        for (int i = 0; i < n && !r.failed(); ++i)
            r.byte_map(QStringLiteral("data map"), 75,
                       i < profile_slots ? &m.profiles[i].data : nullptr);
    }
    // 11, 12: aux records and device values.
    if (!r.failed())
        r.list(QStringLiteral("aux records"), 4, nullptr);
    if (!r.failed())
        r.field(QStringLiteral("device values"), 6, &ignored);
    // 13, 14: the buttons and the settings.
    if (!r.failed())
        r.list(QStringLiteral("button assignments"), assign_size,
               each([](profile_t* p, const QByteArray& record) { copy_to(&p->assign, record); }));
    if (!r.failed())
        r.list(QStringLiteral("settings"), settings_size,
               each([](profile_t* p, const QByteArray& record) { copy_to(&p->settings, record); }));
    // 15, 16: saved layouts, then each slot's layout.
    if (!r.failed())
        r.list(QStringLiteral("saved layouts"), layout_size, nullptr);
    if (!r.failed())
        r.list(QStringLiteral("layouts"), layout_size,
               each([](profile_t* p, const QByteArray& record) { copy_to(&p->layout, record); }));
    // 17: colours.
    if (!r.failed())
        r.field(QStringLiteral("colours"), 48, &ignored);
    // 18: macros, one list per slot.
    if (!r.failed() && r.count(QStringLiteral("macro lists"), max_list, 4, &n)) {
        for (int i = 0; i < n && !r.failed(); ++i) {
            int records = 0;
            if (!r.count(QStringLiteral("macros"), max_list, k_field_head, &records))
                break;
            for (int k = 0; k < records && !r.failed(); ++k) {
                QByteArray record;
                if (r.field(QStringLiteral("macro"), macro_size, &record) && i < profile_slots &&
                    k < buttons)
                    m.profiles[i].macros.append(record);
            }
        }
    }
    if (r.failed()) {
        *error = r.error();
        return false;
    }
    *memory = m;
    return true;
}

} // namespace mouse_memory
