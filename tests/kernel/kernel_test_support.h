// Helpers of the kernel suites: a byte forger that writes the stream forms by
// hand (so expectations never come from the code under test), and small fakes.
#pragma once

#include "kernel/zarek_data.h"
#include "module/kernel_interfaces.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QtEndian>

// Builds a stream byte by byte: big-endian ints, QByteArray and QString forms.
struct forge {
    QByteArray bytes;
    // Offsets at which elements start, in the order they were marked.
    QVector<int> marks;

    forge& mark() {
        marks.append(bytes.size());
        return *this;
    }
    forge& be32(quint32 v) {
        char b[4];
        qToBigEndian<quint32>(v, b);
        bytes.append(b, 4);
        return *this;
    }
    forge& u8(quint8 v) {
        bytes.append(char(v));
        return *this;
    }
    forge& raw(const QByteArray& b) {
        bytes.append(b);
        return *this;
    }
    // A record field: 32-bit length, then the bytes.
    forge& field(const QByteArray& b) {
        be32(quint32(b.size()));
        return raw(b);
    }
    // A QString: byte length, then UTF-16 big-endian units.
    forge& text(const QString& s) {
        be32(quint32(s.size() * 2));
        for (QChar c : s) {
            u8(quint8(c.unicode() >> 8));
            u8(quint8(c.unicode() & 0xFF));
        }
        return *this;
    }
    forge& word(qint32 v) { return field(le32(v)); }
    forge& null_picture() { return be32(0); }
    // Qt's picture form: marker 1, then the PNG.
    forge& picture(const QPixmap& p) {
        be32(1);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "png").write(p.toImage());
        return raw(buffer.data());
    }

    static QByteArray le32(qint32 v) {
        QByteArray b(4, 0);
        qToLittleEndian<qint32>(v, b.data());
        return b;
    }
};

// A record image: `size` zero bytes with the given leading bytes.
inline QByteArray rec(int size, std::initializer_list<int> head = {}) {
    QByteArray r(size, 0);
    int i = 0;
    for (int v : head)
        r[i++] = char(v);
    return r;
}

inline void put_utf16le(QByteArray& r, int at, const QString& s) {
    for (int i = 0; i < s.size(); ++i) {
        r[at + 2 * i] = char(s.at(i).unicode() & 0xFF);
        r[at + 2 * i + 1] = char(s.at(i).unicode() >> 8);
    }
}

inline QByteArray bytes_of(const uint8_t* p, int n) {
    return QByteArray(reinterpret_cast<const char*>(p), n);
}

template <class R>
QByteArray bytes_of(const R& r) {
    return r.to_bytes();
}

inline QByteArray write_all_of(const zarek_data_c& d) {
    QByteArray b;
    d.write_all(&b);
    return b;
}

inline QByteArray profile_of(const zarek_data_c& d, int slot) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    d.write_profile(&buffer, slot);
    return buffer.data();
}

inline QByteArray profile_of(profile_i& p) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    p.write(&buffer);
    return buffer.data();
}

// A listener that keeps a journal of what it was told.
class journal_listener : public listener_i, public btn_assignment_listener_i {
public:
    explicit journal_listener(QStringList* journal, const QString& name, bool layouts)
        : m_journal(journal)
        , m_name(name)
        , m_layouts(layouts) {}
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i || iid == iid_listener_i)
            return static_cast<listener_i*>(this);
        if (m_layouts && iid == iid_btn_assignment_listener_i)
            return static_cast<btn_assignment_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i* manager) override {
        m_journal->append(
            QStringLiteral("%1 closing %2").arg(m_name).arg(manager ? "set" : "null"));
    }
    void update() override { m_journal->append(m_name + QStringLiteral(" update")); }
    void on_layout_record(const btn_layout_rec& r) override {
        m_journal->append(
            QStringLiteral("%1 layout %2 %3").arg(m_name, QString::fromUtf8(r.name())).arg(r.b[2]));
    }

private:
    QStringList* m_journal;
    QString m_name;
    bool m_layouts;
};
