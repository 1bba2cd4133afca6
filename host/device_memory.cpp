#include "host/device_memory.h"

#include "host/host_storage.h"

#include <QDataStream>
#include <QtEndian>

namespace {

// No per-slot list is longer than the device's five slots; a button map holds
// at most its forty buttons. Both bounds leave room for a later layout.
constexpr int max_list = 64;
constexpr int max_map = 1024;
constexpr int max_text_chars = 4096;
constexpr int max_record = 4096;

class reader_c {
public:
    reader_c(const QByteArray& bytes)
        : m_in(bytes) {
        m_in.setVersion(host_storage::stream_version);
    }

    bool ok() const { return m_in.status() == QDataStream::Ok && m_error.isEmpty(); }
    QString error() const { return m_error; }

    // Fails the read with a reason, once.
    bool fail(const QString& what) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("%1 (stream status %2)").arg(what).arg(m_in.status());
        return false;
    }

    int count(int max, const QString& what) {
        qint32 n = -1;
        m_in >> n;
        if (m_in.status() != QDataStream::Ok || n < 0 || n > max) {
            fail(QStringLiteral("%1: count %2").arg(what).arg(n));
            return 0;
        }
        return n;
    }

    bool record(int size, QByteArray* out, const QString& what) {
        if (!host_storage::read_bytes(m_in, max_record, out) || out->size() > size)
            return fail(QStringLiteral("%1: a record of %2 bytes").arg(what).arg(out->size()));
        return true;
    }

    bool records(int size, QList<QByteArray>* out, const QString& what) {
        const int n = count(max_list, what);
        for (int i = 0; i < n && ok(); ++i) {
            QByteArray one;
            if (record(size, &one, what) && out)
                out->append(one.leftJustified(size, '\0'));
        }
        return ok();
    }

    // A list of maps from a button index to a record or to a text.
    bool maps(int value_size, const QString& what) {
        const int n = count(max_list, what);
        for (int i = 0; i < n && ok(); ++i) {
            const int entries = count(max_map, what);
            for (int e = 0; e < entries && ok(); ++e) {
                qint32 key = 0;
                m_in >> key;
                QByteArray value;
                QString text;
                if (value_size > 0)
                    record(value_size, &value, what);
                else if (!host_storage::read_text(m_in, max_text_chars, &text))
                    fail(what + QStringLiteral(": a text"));
            }
        }
        return ok();
    }

    // A picture as QDataStream writes one: a null mark, or 1 and a PNG file,
    // which is walked chunk by chunk to its end.
    bool pictures() {
        const int n = count(max_list, QStringLiteral("pictures"));
        for (int i = 0; i < n && ok(); ++i) {
            qint32 mark = -1;
            m_in >> mark;
            if (mark == 0)
                continue;
            if (mark != 1)
                return fail(QStringLiteral("picture %1: mark %2").arg(i).arg(mark));
            static const char signature[] = "\x89PNG\r\n\x1a\n";
            char head[8];
            if (m_in.readRawData(head, 8) != 8 || memcmp(head, signature, 8) != 0)
                return fail(QStringLiteral("picture %1: not a PNG").arg(i));
            for (;;) {
                quint32 length = 0;
                char type[4];
                m_in >> length;
                if (m_in.readRawData(type, 4) != 4 ||
                    qint64(length) + 4 > host_storage::bytes_left(m_in))
                    return fail(QStringLiteral("picture %1: a chunk runs past the end").arg(i));
                m_in.skipRawData(int(length) + 4); // data and CRC
                if (memcmp(type, "IEND", 4) == 0)
                    break;
            }
        }
        return ok();
    }

    QDataStream& stream() { return m_in; }

private:
    QDataStream m_in;
    QString m_error;
};

} // namespace

bool device_memory_t::read(const QByteArray& blob, device_memory_t* memory, QString* error) {
    reader_c in(blob);
    device_memory_t read;
    QByteArray skipped;
    in.records(name_size, &read.names, QStringLiteral("names"));
    in.records(2560, nullptr, QStringLiteral("paths"));
    in.record(12, &skipped, QStringLiteral("device bytes 27..38"));
    in.maps(11, QStringLiteral("button parameters"));
    in.records(2, nullptr, QStringLiteral("extra words"));
    in.record(4, &read.device_values, QStringLiteral("device values"));
    in.pictures();
    in.maps(0, QStringLiteral("button texts"));
    bool flag = false;
    in.stream() >> flag;
    in.maps(75, QStringLiteral("button data"));
    in.records(4, nullptr, QStringLiteral("aux records"));
    in.record(6, &skipped, QStringLiteral("device bytes 5..10"));
    in.records(123, nullptr, QStringLiteral("button assignments"));
    in.records(settings_size, &read.settings, QStringLiteral("profile settings"));
    if (!in.ok()) {
        *error = in.error().isEmpty() ? QStringLiteral("cut short") : in.error();
        return false;
    }
    if (read.device_values.size() != 4) {
        *error = QStringLiteral("the device values are %1 bytes").arg(read.device_values.size());
        return false;
    }
    *memory = read;
    return true;
}

int device_memory_t::next_dpi_step(const QByteArray& settings) {
    if (settings.size() < settings_size)
        return -1;
    const int mask = uint8_t(settings[dpi_mask_at]) & 0x1F;
    const int active = uint8_t(settings[active_step_at]);
    for (int i = 1; i <= dpi_steps; ++i) {
        const int step = (qMin(active, dpi_steps - 1) + i) % dpi_steps;
        if (mask & (1 << step))
            return step;
    }
    return -1;
}

int device_memory_t::dpi_of(const QByteArray& settings, int step) {
    if (step < 0 || step >= dpi_steps || settings.size() < settings_size)
        return 0;
    return qFromLittleEndian<quint16>(settings.constData() + dpi_values_at + 2 * step);
}
