// The kernel's profile service (host class 0x1301). Every kernel asks the host
// for one when it is made. Besides taking the kernel's product events, it keeps
// the host's own section at the end of each profile-set blob: a note that
// travels with the device's memory (koral puts the time at which it first
// initialised the device there).
#pragma once

#include "module/interfaces.h"

#include <QString>
#include <QVector>

class profile_service_c final : public profile_service_i {
public:
    // The section: magic, version, note; QDataStream version 16, big-endian.
    static constexpr quint32 section_magic = 0x4B525331; // "KRS1"
    static constexpr qint32 section_version = 1;
    // A section is a few dozen bytes; anything this long is not ours.
    static constexpr int max_section_bytes = 4096;
    static constexpr int max_note_chars = 1024;

    enum class call_t {
        set_kernel,
        service_op_4,
        product_event,
        begin_read,
        read_section,
        write_section,
    };
    struct journal_entry_t {
        call_t call;
        // set_kernel: the profile class id; read_section: 1 when a section was
        // taken; write_section: the bytes written; otherwise 0.
        int32_t value;
    };

    profile_service_c();
    ~profile_service_c();
    profile_service_c(const profile_service_c&) = delete;
    profile_service_c& operator=(const profile_service_c&) = delete;

    // The host's object behind an interface the module hands back, or null
    // when it is not one of the live services of this host.
    static profile_service_c* of(profile_service_i* service);
    static int live_count();

    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    void set_kernel(product_kernel_i* kernel, int32_t profile_class_id) override;
    void service_reserved_3() override {}
    // The class of the kernel's profile objects, as the kernel told it (0 before).
    int32_t service_op_4() override;
    void product_event() override;
    void service_reserved_6() override {}
    void service_reserved_7() override {}
    void service_reserved_8() override {}
    void begin_read() override;
    void service_reserved_10() override {}
    void service_reserved_11() override {}
    void read_section(QIODevice* device) override;
    void write_section(QIODevice* device) override;

    // The host's side.
    product_kernel_i* kernel() const { return m_kernel; }
    int32_t profile_class() const { return m_profile_class; }
    QString note() const { return m_note; }
    // Changes what the next written section holds (and so the blob's checksum).
    void set_note(const QString& note) { m_note = note.left(max_note_chars); }
    int product_events() const { return m_product_events; }
    // Whether the last blob read carried a section that was taken.
    bool section_taken() const { return m_section_taken; }
    QVector<journal_entry_t> journal() const { return m_journal; }

    // The section's bytes for a note, as write_section puts them on a device.
    static QByteArray section_bytes(const QString& note);

private:
    product_kernel_i* m_kernel = nullptr;
    int32_t m_profile_class = 0;
    QString m_note;
    int m_product_events = 0;
    bool m_section_taken = false;
    QVector<journal_entry_t> m_journal;
};
