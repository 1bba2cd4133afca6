// The host's macro library: groups of named macros shared by every device,
// kept in the host's data folder. The module reads it and adds the macros it
// takes over from a device; a person creates, renames and deletes them in
// koral, and every such change is reported to the hub's macro listeners.
#pragma once

#include "module/macro_interfaces.h"

#include <QObject>
#include <QVector>

class macro_library_c : public QObject, public macro_library_i {
    Q_OBJECT
public:
    // The file: magic "KMACLIB1" (64-bit), version, group count, then per group
    // its name, its macro count and each macro as a 16471-byte byte array.
    static constexpr quint64 file_magic = 0x4B4D41434C494231ull; // "KMACLIB1"
    static constexpr qint32 file_version = 1;
    static constexpr int max_groups = 256;
    static constexpr int max_macros_per_group = 1024;
    static constexpr int max_name_chars = 256;
    // A macro's name is 80 UTF-8 bytes in its record; this many characters
    // always fit, whatever the script.
    static constexpr int max_macro_name_chars = library_macro_rec::name_size / 3;
    static constexpr qint64 max_file_bytes = 64 * 1024 * 1024;
    // The kind (first option word) of the macros a person creates here.
    static constexpr uint16_t default_kind = 1;
    // Key entries as koral's editor writes them: a = action, b = HID key usage,
    // d = the pause after the event in ms.
    static constexpr uint8_t key_press = 1;
    static constexpr uint8_t key_release = 2;

    struct group_t {
        QString name;
        QVector<library_macro_rec> macros;
    };

    // `file` empty: no persistence (a library that lives in memory only).
    explicit macro_library_c(const QString& file = QString(), QObject* parent = nullptr);

    // macro_library_i
    interface_i* query_interface(const GUID& iid) override;
    // The hub owns its library.
    void release() override {}
    int32_t group_count() override;
    QString group_name(int32_t group) override;
    int32_t find_group(const QString& name) override;
    int32_t add_group(const QString& name) override;
    int32_t macro_count(int32_t group) override;
    const library_macro_rec* macro_record(int32_t group, int32_t index) override;
    int32_t add_macro(int32_t group, const library_macro_rec& record) override;
    bool replace_macro(int32_t group, int32_t index, const library_macro_rec& record) override;

    // A person's operations. Names must be non-empty and unique where they live;
    // a refused operation returns -1 or false and changes nothing.
    int32_t create_group(const QString& name);
    bool rename_group(int32_t group, const QString& name);
    bool delete_group(int32_t group);
    int32_t create_macro(int32_t group, const QString& name, const QVector<library_key>& keys,
                         uint16_t kind = default_kind);
    bool rename_macro(int32_t group, int32_t index, const QString& name);
    bool set_macro_keys(int32_t group, int32_t index, const QVector<library_key>& keys);
    bool delete_macro(int32_t group, int32_t index);
    int32_t find_macro(int32_t group, const QString& name) const;

    // A record with that name, kind and keys (at most 2048 are kept).
    static library_macro_rec make_record(const QString& name, const QVector<library_key>& keys,
                                         uint16_t kind = default_kind);
    // Press and release of every letter, digit and space of `text`, `delay_ms` apart.
    static QVector<library_key> typed_keys(const QString& text, uint32_t delay_ms = 50);
    // The characters of `text` that typed_keys cannot type, each once, in order.
    static QString untypeable(const QString& text);
    // What a macro's keys type, as typed_keys would have written it (letters in
    // upper case); `other` counts the key events that are no part of that text.
    static QString typed_text(const library_macro_rec& record, int* other);

    QVector<group_t> groups() const { return m_groups; }
    QString file() const { return m_file; }

    // Replaces the library by the file's content. An absent file gives an empty
    // library; a damaged one is logged, kept aside, and the library stays as it was.
    bool load();
    bool save() const;
    // The file's bytes for a list of groups, and the reverse; the reader is bounded.
    static QByteArray to_bytes(const QVector<group_t>& groups);
    static bool from_bytes(const QByteArray& bytes, QVector<group_t>* groups, QString* error);

signals:
    // The library's content changed (by anybody); for views.
    void library_changed();
    // A person changed these macros: current form for changed ones, last form
    // (state 1) for deleted ones.
    void macros_changed(const QList<library_item>& items);

private:
    bool valid_group(int32_t group) const { return group >= 0 && group < m_groups.size(); }
    bool valid_macro(int32_t group, int32_t index) const;
    static library_item item_of(const QString& group, const library_macro_rec& record,
                                bool deleted);
    void changed(const QList<library_item>& items);

    QString m_file;
    QVector<group_t> m_groups;
};
