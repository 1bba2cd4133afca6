// A kernel that only records: it reads every host message's segment the moment
// it arrives (as the module does) and can publish a blob through the control
// centre on commit, so the virtual device can be driven without the module. It
// also keeps the favourite controls it is told about, for the host components.
#pragma once

#include "module/kernel_host_interfaces.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QPixmap>
#include <QSharedMemory>
#include <QVector>
#include <QtEndian>
#include <cstring>
#include <memory>

struct received_message {
    int32_t code;
    QString key;
    QByteArray raw;     // the 256-byte record
    QByteArray payload; // the segment's bytes at the time of the call
};

class fake_kernel : public product_kernel_i {
public:
    QVector<received_message> messages;
    int commits = 0;
    // What commit() publishes (with command 3) once; empty: commit publishes nothing.
    QByteArray publish_on_commit;
    bool loaded = false;
    // Whether a code-0 message makes the kernel loaded.
    bool accepts_blobs = true;
    profile_service_i* service = nullptr;
    ctrl_center_i* centre = nullptr;
    std::unique_ptr<QSharedMemory> published;
    // Favourite controls added (true) and removed (false), in order.
    QVector<QPair<bool, ctrl_funcs_i*>> favourites;

    static QByteArray read_key(const QString& key) {
        QSharedMemory segment(key);
        if (!segment.attach(QSharedMemory::ReadOnly))
            return {};
        segment.lock();
        QByteArray bytes(static_cast<const char*>(segment.constData()), segment.size());
        segment.unlock();
        segment.detach();
        return bytes;
    }

    // Keys of this process only: suites may run side by side.
    static QString unique_key() {
        static int n = 0;
        return QStringLiteral("KORALFake_%1_%2").arg(QCoreApplication::applicationPid()).arg(++n);
    }

    // Publishes bytes in a segment of its own and sends the command, as a kernel does.
    void publish(int32_t code, const QByteArray& bytes, const QString& key) {
        published = std::make_unique<QSharedMemory>(key);
        if (published->create(qMax(1, bytes.size()))) {
            published->lock();
            std::memcpy(published->data(), bytes.constData(), std::size_t(bytes.size()));
            published->unlock();
        }
        if (centre)
            centre->kernel_command(this, code, key);
    }

    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value || iid == iid_of<product_kernel_i>::value)
            return static_cast<product_kernel_i*>(this);
        return nullptr;
    }
    void release() override {}
    void attach(ctrl_center_i* c, QWidget*) override { centre = c; }
    ctrl_center_i* ctrl_center() override { return centre; }
    profile_service_i* profile_service() override { return service; }
    int32_t interface_version() override { return 1; }
    int32_t product_type() override { return 8; }
    product_function_page_i* page(int32_t) override { return nullptr; }
    int32_t page_count() override { return 0; }
    product_function_page_i* page_at(int32_t) override { return nullptr; }
    void open_page(int32_t) override {}
    void close_page() override {}
    int32_t service_query() override { return 0; }
    int32_t max_profiles() override { return 5; }
    int32_t profile_count() override { return 1; }
    uint8_t current_profile() override { return 0; }
    int32_t host_profile() override { return -1; }
    void set_current_profile(uint8_t) override {}
    void append_profile() override {}
    void insert_profile(uint8_t) override {}
    void delete_profile(uint8_t) override {}
    void set_host_profile(int32_t) override {}
    void set_profile_name(uint8_t, const QString&) override {}
    void set_profile_byte_106(uint8_t, uint8_t) override {}
    void set_profile_path(uint8_t, int32_t, const QString&) override {}
    void set_profile_picture(uint8_t, const QPixmap&) override {}
    void send_switch(bool) override {}
    void clear_profile_picture(uint8_t) override {}
    QString profile_name(uint8_t) override { return {}; }
    uint8_t profile_byte_106(uint8_t) override { return 0; }
    QString profile_path(uint8_t, int32_t) override { return {}; }
    QPixmap* profile_picture(uint8_t) override { return nullptr; }
    bool device_flag() override { return false; }
    bool profile_has_picture(uint8_t) override { return false; }
    bool export_profile(QIODevice*, uint8_t) override { return false; }
    bool import_profile(QIODevice*, uint8_t) override { return false; }
    bool data_loaded() override { return loaded; }
    void add_favorite_ctrl(ctrl_funcs_i* ctrl) override { favourites.append({true, ctrl}); }
    void remove_favorite_ctrl(ctrl_funcs_i* ctrl) override { favourites.append({false, ctrl}); }
    int32_t favorite_ctrl_count() override { return 0; }
    ctrl_funcs_i* favorite_ctrl(uint8_t) override { return nullptr; }
    bool commit() override {
        ++commits;
        if (publish_on_commit.isEmpty())
            return false;
        const QByteArray bytes = publish_on_commit;
        publish_on_commit.clear();
        publish(3, bytes, unique_key());
        return true;
    }
    void send_command(int32_t code, const QString& text) override {
        if (centre)
            centre->kernel_command(this, code, text);
    }
    void on_host_message(const host_message_rec* record) override {
        received_message m;
        m.raw = QByteArray(reinterpret_cast<const char*>(record->bytes), sizeof record->bytes);
        m.code = qFromLittleEndian<int32_t>(record->bytes + 2);
        const char* key = reinterpret_cast<const char*>(record->bytes + 6);
        m.key = QString::fromLatin1(key, int(qstrnlen(key, sizeof record->bytes - 6)));
        m.payload = read_key(m.key);
        if (m.code == 0 && !m.payload.isEmpty() && accepts_blobs)
            loaded = true;
        messages.append(m);
    }
    QString publish_blob(QBuffer*) override { return {}; }
    uint8_t* btn_data(uint8_t, uint8_t) override { return nullptr; }
    void add_favorite(ctrl_funcs_i*) override {}
    void remove_favorite(ctrl_funcs_i*) override {}
    profile_led_effect_fm_i* create_effect_object() override { return nullptr; }
    int32_t favorite_item(uint8_t) override { return 0; }
    void add_kernel_listener(listener_i*) override {}
    void remove_kernel_listener(listener_i*) override {}
    void on_product_event(int32_t) override {}
    void on_current_kernel_changed(product_kernel_i*) override {}
    void on_ctrl_center_notice(int32_t) override {}
    bool on_macros_changed(const QList<library_item>&) override { return false; }
    void on_manager_closing(listener_mgr_i*) override {}

    QVector<int32_t> codes() const {
        QVector<int32_t> list;
        for (const received_message& m : messages)
            list.append(m.code);
        return list;
    }
};
