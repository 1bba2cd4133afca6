// The virtual mouse: plays the device behind the host over the same named
// shared-memory channel a real one uses. It keeps the device's memory (the
// profile-set blob) in a file of the host's data folder, answers the kernel's
// commands and sends the host messages a device causes.
#pragma once

#include "module/kernel_host_interfaces.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <QVector>
#include <array>

class ctrl_center_c;
struct device_memory_t;

class virtual_mouse_c : public QObject {
    Q_OBJECT
public:
    // Segments and files hold a few hundred kilobytes; this bounds any reader.
    static constexpr int max_blob_bytes = 16 * 1024 * 1024;
    static constexpr int default_calibration_delay_ms = 1500;
    // The memory file: magic, version, MD5 of the blob, the blob.
    static constexpr quint32 file_magic = 0x4B564D31; // "KVM1"
    static constexpr qint32 file_version = 1;
    // Values a factory-fresh device reports: two device values, the active slot
    // and the number of profiles in use.
    static constexpr std::array<uint8_t, 4> factory_device_values{5, 4, 0, 1};

    struct command_t {
        int32_t code;
        QString text;
    };

    // `alias` is the product's catalogue name ("QuilBlack"); it names the
    // segments of host messages. `folder` empty: the host's data folder.
    virtual_mouse_c(ctrl_center_c* centre, int32_t product_type, const QString& alias,
                    const QString& folder = QString(), QObject* parent = nullptr);
    ~virtual_mouse_c() override;

    // The memory file of an edition in a folder.
    static QString memory_file(const QString& folder, int32_t product_type);
    // A host message record: code little-endian at offset 2, the key's Latin-1
    // bytes zero-terminated from offset 6 (cut to fit).
    static host_message_rec message_record(int32_t code, const QString& key);

    int32_t product_type() const { return m_product_type; }
    QString file() const { return m_file; }

    // Connects the device to a kernel and sends it what the memory holds; see
    // the .cpp for a factory-fresh device. Null detaches.
    void attach(product_kernel_i* kernel);
    void detach() { attach(nullptr); }
    product_kernel_i* kernel() const { return m_kernel; }

    // Messages a device causes. Each needs an attached kernel; false otherwise
    // or when no segment could be made.
    bool send_stored_blob();                                      // 0
    bool send_device_values(const QByteArray& four_bytes);        // 8
    bool send_profile_settings(const QList<QByteArray>& records); // 14: 33 bytes each
    bool send_calibration_result(bool success);                   // 25

    // What a person makes the device do in koral's device tab, from what its
    // memory holds; false (and a log line) when the memory cannot be read.
    // Message 8 with the device values the memory holds.
    bool report_device_values();
    // The device's DPI button: the active profile moves to its next switched-on
    // DPI step, and the device reports its profile settings (message 14).
    struct dpi_press_t {
        int slot = -1;
        int step = -1;
        int dpi = 0;
    };
    bool press_dpi_button(dpi_press_t* press);
    // The memory as the mouse's own reader sees it.
    bool read_memory(device_memory_t* memory) const;

    // What the device holds.
    bool has_blob() const { return !m_blob.isEmpty(); }
    QByteArray blob() const { return m_blob; }
    QString blob_md5() const;
    QVector<command_t> commands() const { return m_commands; }
    int last_command() const { return m_commands.isEmpty() ? -1 : m_commands.last().code; }
    bool switched_on() const { return m_switch_on; }
    QVector<int32_t> tuning_commands() const { return m_tuning; }
    bool surface_tuning() const { return m_surface_on; }
    int lift_level() const { return m_lift_level; }
    QVector<int32_t> messages_sent() const { return m_messages; }

    // The outcome the next calibration reports, and how long it takes.
    void set_calibration_outcome(bool success) { m_calibration_ok = success; }
    bool calibration_outcome() const { return m_calibration_ok; }
    void set_calibration_delay(int ms) { m_calibration.setInterval(ms); }
    bool calibrating() const { return m_calibration.isActive(); }

    // Forgets the memory (file included): the device is factory-fresh again.
    void factory_reset();

    // The note koral leaves in the host's section of a memory it initialised. It
    // travels with the memory, so it holds the fact (when), not a sentence in
    // one language: koral tells it in the language a person reads.
    static QString initialised_note(const QDateTime& when);
    // When koral initialised the memory, from its note (also the English sentence
    // earlier koral versions wrote); invalid for any other note.
    static QDateTime initialised_at(const QString& note);
    // The note as a person reads it in `language`: koral's own through the text
    // table, any other note (another host's) as it stands, "—" for none.
    static QString note_text(const QString& note, int32_t language);

    // A memory that could not be read (the file failed its own check, or the
    // module refused the profile set in it) is never dropped quietly: the file
    // is kept aside and the mouse starts again from the factory state. Where
    // the file went, for the window to tell; empty when nothing was set aside.
    // `aside_failed()`: the file could not be moved and stays where it was
    // (set_aside() names it); the next save replaces it.
    QString set_aside() const { return m_set_aside; }
    bool aside_failed() const { return m_aside_failed; }

    // The memory file's bytes for a blob and the reverse; the reader is bounded.
    static QByteArray file_bytes(const QByteArray& blob);
    static bool blob_from_file_bytes(const QByteArray& bytes, QByteArray* blob, QString* error);
    // The whole content of a segment, at most max_blob_bytes; empty (and a log
    // line) when it is missing, empty or too large.
    static QByteArray read_segment(const QString& key);

signals:
    void blob_stored(int code, int size, const QString& md5);
    void command_seen(int code, const QString& text);
    void switch_changed(bool on);
    void tuning_seen(int command);
    void message_sent(int code);
    void attached_changed(bool attached);

private:
    void on_kernel_command(product_kernel_i* kernel, int32_t code, const QString& text);
    void take_blob(int32_t code, const QString& key);
    void take_tuning(const QString& key);
    void load();
    bool store(const QByteArray& blob);
    bool initialise_memory();
    bool send(int32_t code, const QByteArray& payload);
    void keep_memory_aside();

    ctrl_center_c* m_centre;
    int32_t m_product_type;
    QString m_alias;
    QString m_file;
    product_kernel_i* m_kernel = nullptr;
    QByteArray m_blob;
    QVector<command_t> m_commands;
    QVector<int32_t> m_tuning;
    QVector<int32_t> m_messages;
    QTimer m_calibration;
    unsigned m_counter = 0;
    bool m_switch_on = false;
    bool m_surface_on = false;
    int m_lift_level = 0;
    bool m_calibration_ok = true;
    QString m_set_aside;
    bool m_aside_failed = false;
};
