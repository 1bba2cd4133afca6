// The product kernel against a recording control centre and host: commits,
// host messages, profile operations and their notifications.
#include "kernel/shm_pool.h"
#include "kernel/zarek_black_kernel.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_white_kernel.h"
#include "module/kernel_host_interfaces.h"
#include "module/module.h"
#include "module/page_interfaces.h"
#include "support/fake_host.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QSharedMemory>
#include <QStandardPaths>
#include <QtEndian>
#include <QtTest>
#include <memory>

namespace {

class recording_service final : public profile_service_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return (iid == iid_interface_i || iid == iid_profile_service_i) ? this : nullptr;
    }
    void release() override { journal->append(QStringLiteral("release")); }
    void set_kernel(product_kernel_i*, int32_t class_id) override {
        journal->append(QStringLiteral("set_kernel %1").arg(class_id));
    }
    void service_reserved_3() override {}
    int32_t service_op_4() override { return 44; }
    void product_event() override { journal->append(QStringLiteral("product_event")); }
    void service_reserved_6() override {}
    void service_reserved_7() override {}
    void service_reserved_8() override {}
    void begin_read() override { journal->append(QStringLiteral("begin_read")); }
    void service_reserved_10() override {}
    void service_reserved_11() override {}
    void read_section(QIODevice* device) override {
        QDataStream in(device);
        QString note;
        in >> note;
        journal->append(QStringLiteral("read ") + note);
    }
    void write_section(QIODevice* device) override {
        QDataStream out(device);
        out << QStringLiteral("host part");
    }
    QStringList* journal = nullptr;
};

// Records the kernel's notifications in the order they arrive.
class recording_listener final : public listener_i,
                                 public product_kernel_listener_i,
                                 public product_profile_listener_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i || iid == iid_listener_i)
            return static_cast<listener_i*>(this);
        if (iid == iid_product_kernel_listener_i)
            return static_cast<product_kernel_listener_i*>(this);
        if (iid == iid_product_profile_listener_i)
            return static_cast<product_profile_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i*) override { log << "closing"; }
    void update() override {}
    void current_profile_changed() override { log << "kind1"; }
    void data_changed() override { log << "kind0"; }
    void everything_reset() override { log << "kind2"; }
    void host_profile_changed(product_kernel_i*) override { log << "host_profile"; }
    void name_changed(product_kernel_i*, uint8_t slot, const QString& name) override {
        log << QStringLiteral("name %1 %2").arg(slot).arg(name);
    }
    void profile_appended(product_kernel_i*) override { log << "appended"; }
    void profile_inserted(product_kernel_i*, uint8_t slot) override {
        log << QStringLiteral("inserted %1").arg(slot);
    }
    void profile_deleted(product_kernel_i*, uint8_t slot) override {
        log << QStringLiteral("deleted %1").arg(slot);
    }
    void byte_106_changed(product_kernel_i*, uint8_t slot, uint8_t v) override {
        log << QStringLiteral("byte106 %1 %2").arg(slot).arg(v);
    }
    void profile_replaced(product_kernel_i*, uint8_t slot) override {
        log << QStringLiteral("replaced %1").arg(slot);
    }
    void picture_changed(product_kernel_i*, uint8_t slot) override {
        log << QStringLiteral("picture %1").arg(slot);
    }
    QStringList log;
};

class fake_ctrl final : public ctrl_funcs_i {
public:
    explicit fake_ctrl(int32_t type)
        : m_type(type) {}
    interface_i* query_interface(const GUID& iid) override {
        return (iid == iid_interface_i || iid == iid_ctrl_funcs_i) ? this : nullptr;
    }
    void release() override {}
    void set_context(product_kernel_i*, product_function_page_i*) override {}
    void create_box(QWidget*) override {}
    void close_box() override {}
    int32_t ctrl_type() override { return m_type; }
    bool is_favorite() override { return false; }
    void set_favorite(bool) override {}
    int32_t box_span() override { return 1; }
    void favorite_changed() override {}

private:
    int32_t m_type;
};

QByteArray read_segment(const QString& key) {
    QSharedMemory segment(key);
    if (!segment.attach(QSharedMemory::ReadOnly))
        return {};
    segment.lock();
    QByteArray bytes(static_cast<const char*>(segment.constData()), segment.size());
    segment.unlock();
    return bytes;
}

host_message_rec message(int32_t code, const QByteArray& key) {
    host_message_rec m{};
    qToLittleEndian<int32_t>(code, m.bytes + 2);
    std::memcpy(m.bytes + 6, key.constData(), std::min<size_t>(size_t(key.size()), 249));
    return m;
}

QString md5(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

} // namespace

class test_kernel : public QObject {
    Q_OBJECT

    fake_host* m_host = nullptr;
    // What the profile services the host handed out were asked, in order.
    QStringList m_service_journal;
    std::vector<std::unique_ptr<recording_service>> m_services;
    // Segments the test offers the kernel; kept alive until the test ends.
    std::vector<std::unique_ptr<QSharedMemory>> m_offered;
    int m_key_number = 0;

    QByteArray offer(const QByteArray& bytes) {
        const QByteArray key = "quil_test_offer_" +
                               QByteArray::number(QCoreApplication::applicationPid()) + "_" +
                               QByteArray::number(++m_key_number);
        auto segment = std::make_unique<QSharedMemory>(QString::fromLatin1(key));
        if (!segment->create(qMax(1, bytes.size())))
            qFatal("cannot create a test segment: %s", qPrintable(segment->errorString()));
        segment->lock();
        std::memcpy(segment->data(), bytes.constData(), size_t(bytes.size()));
        segment->unlock();
        m_offered.push_back(std::move(segment));
        return key;
    }

    std::unique_ptr<zarek_black_kernel_c> attached_kernel() {
        auto kernel = std::make_unique<zarek_black_kernel_c>();
        kernel->attach(&m_host->center, nullptr);
        m_host->center.shown = kernel.get();
        return kernel;
    }

    // A loaded kernel: message 0 with a default profile set.
    std::unique_ptr<zarek_black_kernel_c> loaded_kernel() {
        auto kernel = attached_kernel();
        // The blob carries the host's section, as one the host published would.
        recording_service service;
        QStringList journal;
        service.journal = &journal;
        zarek_data_c source(nullptr, product_type::black);
        source.set_profile_service(&service);
        QByteArray blob;
        source.write_all(&blob);
        const host_message_rec m = message(host_message::data_loaded, offer(blob));
        kernel->on_host_message(&m);
        return kernel;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        m_host = new fake_host;
        m_host->factory = [this](int32_t class_id, const GUID& iid) -> interface_i* {
            if (class_id != class_id::profile_service || iid != iid_profile_service_i)
                return nullptr;
            m_services.push_back(std::make_unique<recording_service>());
            m_services.back()->journal = &m_service_journal;
            return m_services.back().get();
        };
        quil_init_module(m_host);
    }
    void cleanupTestCase() {
        quil_exit_module();
        m_offered.clear();
    }
    void init() {
        m_host->center.commands.clear();
        m_host->center.busy.clear();
        m_service_journal.clear();
    }

    void construction_asks_for_the_profile_service() {
        auto kernel = std::make_unique<zarek_white_kernel_c>();
        QCOMPARE(kernel->product_type(), 9);
        QVERIFY(kernel->profile_service());
        QCOMPARE(m_service_journal, QStringList{QStringLiteral("set_kernel 770")});
        QCOMPARE(kernel->service_query(), 44);
        kernel.reset();
        QCOMPARE(m_service_journal.last(), QStringLiteral("release"));
    }

    void query_interface_answers_each_base() {
        zarek_black_kernel_c kernel;
        auto* primary = static_cast<product_kernel_i*>(&kernel);
        QCOMPARE(primary->query_interface(iid_interface_i), primary);
        QCOMPARE(primary->query_interface(iid_product_kernel_i), primary);
        QVERIFY(query<listener_mgr_i>(primary));
        QVERIFY(query<ctrl_center_listener_i>(primary));
        QVERIFY(query<macro_listener_i>(primary));
        QVERIFY(query<listener_i>(primary));
        QVERIFY(same_object(query<listener_i>(primary), primary));
        QCOMPARE(primary->query_interface(iid_profile_i), nullptr);
    }

    void attach_connects_to_the_control_centre() {
        const auto& listeners = m_host->center.listeners;
        const int before = listeners.size();
        auto kernel = attached_kernel();
        auto is_kernel = [&](listener_i* l) {
            return same_object(l, static_cast<product_kernel_i*>(kernel.get()));
        };
        QCOMPARE(std::count_if(listeners.begin(), listeners.end(), is_kernel), 1);
        // The kernel and its pages leave again when the host releases it.
        kernel.reset();
        QCOMPARE(listeners.size(), before);
    }

    void commit_publishes_only_after_load_and_on_change() {
        auto kernel = attached_kernel();
        QVERIFY(!kernel->commit());
        QVERIFY(m_host->center.commands.isEmpty());

        zarek_data_c source(nullptr, product_type::black);
        QByteArray blob;
        source.write_all(&blob);
        const host_message_rec m = message(host_message::data_loaded, offer(blob));
        kernel->on_host_message(&m);
        QVERIFY(kernel->data_loaded());
        QVERIFY(!kernel->checksum().isEmpty());
        QCOMPARE(m_host->center.busy.size(), 1);
        QCOMPARE(m_host->center.busy.first(), std::make_tuple(false, 1, 0));

        QVERIFY(!kernel->commit());
        kernel->set_profile_name(0, QStringLiteral("Arena"));
        QVERIFY(kernel->commit());
        QVERIFY(!kernel->commit());
        QCOMPARE(m_host->center.commands.size(), 1);
        QCOMPARE(m_host->center.commands.first().code, 3);

        const QString key = m_host->center.commands.first().text;
        QVERIFY(key.startsWith(QStringLiteral("KORAL")));
        const QByteArray published = read_segment(key);
        QCOMPARE(md5(published), kernel->checksum());
        zarek_data_c check(nullptr, product_type::black);
        QVERIFY(check.read_all(published));
        QCOMPARE(check.name(0).name(), QStringLiteral("Arena"));
    }

    void blob_reading_lets_the_service_read_its_section() {
        auto kernel = loaded_kernel();
        QCOMPARE(m_service_journal.mid(m_service_journal.size() - 2),
                 (QStringList{QStringLiteral("begin_read"), QStringLiteral("read host part")}));
    }

    void damaged_load_keeps_the_profiles_and_is_not_taken_as_loaded_data() {
        QFETCH(QByteArray, blob);
        auto kernel = attached_kernel();
        kernel->set_profile_name(0, QStringLiteral("Kept"));
        const host_message_rec m = message(host_message::data_loaded, offer(blob));
        kernel->on_host_message(&m);
        QVERIFY(!kernel->data_loaded());
        QCOMPARE(kernel->profile_name(0), QStringLiteral("Kept"));
        QVERIFY(!kernel->commit());
    }
    void damaged_load_keeps_the_profiles_and_is_not_taken_as_loaded_data_data() {
        QTest::addColumn<QByteArray>("blob");
        QTest::addRow("one byte") << QByteArray(1, '\x01');
        QTest::addRow("huge count") << QByteArray::fromHex("7fffffff00000070");
        QTest::addRow("negative count") << QByteArray::fromHex("ffffffff");
        QByteArray garbage(4096, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 73 + 11) & 0xFF);
        QTest::addRow("garbage") << garbage;
    }

    void messages_with_bad_keys_are_ignored() {
        auto kernel = attached_kernel();
        host_message_rec unterminated{};
        qToLittleEndian<int32_t>(0, unterminated.bytes + 2);
        std::memset(unterminated.bytes + 6, 'A', sizeof unterminated.bytes - 6);
        kernel->on_host_message(&unterminated);
        const host_message_rec missing = message(host_message::data_loaded, "no_such_segment_here");
        kernel->on_host_message(&missing);
        const host_message_rec unknown = message(99, offer("x"));
        kernel->on_host_message(&unknown);
        kernel->on_host_message(nullptr);
        QVERIFY(!kernel->data_loaded());
        QVERIFY(m_host->center.commands.isEmpty());
    }

    void device_values_message_replaces_bytes_0_to_3() {
        auto kernel = loaded_kernel();
        recording_listener listener;
        kernel->add_kernel_listener(&listener);
        QByteArray payload;
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_5_4);
        out << QByteArray::fromHex("0a0b0203");
        const QString before = kernel->checksum();
        const host_message_rec m = message(host_message::device_values, offer(payload));
        kernel->on_host_message(&m);
        QCOMPARE(kernel->current_profile(), uint8_t(2));
        QCOMPARE(kernel->profile_count(), 3);
        QCOMPARE(listener.log, QStringList{QStringLiteral("kind1")});
        QVERIFY(kernel->checksum() != before);
        // The kernel took the device's state as published: nothing to send back.
        QVERIFY(!kernel->commit());
        kernel->remove_kernel_listener(&listener);
    }

    void damaged_device_values_are_ignored() {
        QFETCH(QByteArray, payload);
        auto kernel = loaded_kernel();
        recording_listener listener;
        kernel->add_kernel_listener(&listener);
        const uint8_t slot_before = kernel->current_profile();
        const int32_t count_before = kernel->profile_count();
        const QString sum_before = kernel->checksum();
        const host_message_rec m = message(host_message::device_values, offer(payload));
        kernel->on_host_message(&m);
        QCOMPARE(kernel->current_profile(), slot_before);
        QCOMPARE(kernel->profile_count(), count_before);
        QCOMPARE(kernel->checksum(), sum_before);
        QVERIFY(listener.log.isEmpty());
        kernel->remove_kernel_listener(&listener);
    }
    void damaged_device_values_are_ignored_data() {
        QTest::addColumn<QByteArray>("payload");
        // The field's length says 4 bytes, but the segment ends after two of them.
        QTest::addRow("field cut short") << QByteArray::fromHex("000000040203");
        QTest::addRow("length too short to hold") << QByteArray::fromHex("0000");
        QTest::addRow("length beyond the segment") << QByteArray::fromHex("7fffffff0a0b0203");
    }

    void profile_settings_message_replaces_the_settings() {
        auto kernel = loaded_kernel();
        profile_settings_rec settings;
        settings.set_head(1);
        settings.set_dpi(0, 1600);
        QByteArray payload;
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_5_4);
        out << int32_t(2) << profile_settings_rec().to_bytes() << settings.to_bytes();
        const host_message_rec m = message(host_message::profile_settings, offer(payload));
        kernel->on_host_message(&m);
        QCOMPARE(kernel->data()->settings(1).dpi(0), uint16_t(1600));
    }

    void profile_operations_notify_in_order() {
        auto kernel = loaded_kernel();
        recording_listener listener;
        kernel->add_kernel_listener(&listener);
        kernel->add_kernel_listener(&listener);
        kernel->append_profile();
        kernel->set_profile_name(1, QStringLiteral("Second"));
        kernel->insert_profile(0);
        kernel->set_profile_byte_106(2, 7);
        kernel->set_profile_name(4, QStringLiteral("out of range"));
        kernel->delete_profile(0);
        kernel->set_host_profile(1);
        kernel->set_host_profile(1);
        QCOMPARE(listener.log, (QStringList{"appended", "name 1 Second", "inserted 0",
                                            "byte106 2 7", "deleted 0", "host_profile"}));
        QCOMPARE(kernel->profile_count(), 2);
        QCOMPARE(kernel->profile_name(1), QStringLiteral("Second"));
        QCOMPARE(kernel->profile_name(2), QString());
        kernel->remove_kernel_listener(&listener);
    }

    void the_last_profile_cannot_be_deleted_nor_a_sixth_added() {
        auto kernel = loaded_kernel();
        kernel->delete_profile(0);
        QCOMPARE(kernel->profile_count(), 1);
        for (int i = 0; i < 6; ++i)
            kernel->append_profile();
        QCOMPARE(kernel->profile_count(), 5);
    }

    void export_and_import_cross_editions() {
        auto black = loaded_kernel();
        black->set_profile_name(0, QStringLiteral("Shared"));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(black->export_profile(&buffer, 0));
        zarek_white_kernel_c white;
        recording_listener listener;
        white.add_kernel_listener(&listener);
        buffer.close();
        buffer.open(QIODevice::ReadOnly);
        QVERIFY(white.import_profile(&buffer, 0));
        QCOMPARE(white.profile_name(0), QStringLiteral("Shared"));
        QCOMPARE(listener.log, (QStringList{"kind0", "replaced 0"}));
        white.remove_kernel_listener(&listener);
    }

    void destruction_tells_listeners() {
        recording_listener listener;
        {
            auto kernel = attached_kernel();
            kernel->add_kernel_listener(&listener);
        }
        QCOMPARE(listener.log, QStringList{QStringLiteral("closing")});
    }

    void reset_everything_publishes_command_2() {
        auto kernel = loaded_kernel();
        kernel->set_profile_name(0, QStringLiteral("Gone"));
        recording_listener listener;
        kernel->add_kernel_listener(&listener);
        kernel->reset_everything();
        QCOMPARE(m_host->center.resets.size(), 1);
        QCOMPARE(m_host->center.commands.size(), 1);
        QCOMPARE(m_host->center.commands.first().code, 2);
        QCOMPARE(kernel->profile_name(0), QStringLiteral("Default1"));
        QCOMPARE(listener.log.first(), QStringLiteral("name 0 Default1"));
        QCOMPARE(listener.log.last(), QStringLiteral("kind2"));
        // What was published is what the kernel now holds.
        QVERIFY(!kernel->commit());
        kernel->remove_kernel_listener(&listener);
    }

    void pool_numbers_wrap_after_10000() {
        shm_pool pool;
        const QString prefix =
            QStringLiteral("quil_test_wrap_%1").arg(QCoreApplication::applicationPid());
        QString key;
        for (int i = 0; i < 10002; ++i) {
            QSharedMemory* segment = pool.fresh_segment(prefix);
            QVERIFY(segment);
            key = segment->key();
            if (i == 10000)
                QCOMPARE(key, prefix + QStringLiteral("_10000"));
            pool.clear(); // keep the test light: the numbers are what matters
        }
        QCOMPARE(key, prefix + QStringLiteral("_0"));
        QVERIFY(!pool.fresh_segment(QString()));
    }

    void favourites_change_only_on_a_new_type() {
        QTemporaryDir dir;
        auto kernel = loaded_kernel();
        const QString file = dir.filePath(QStringLiteral("QuilBlack"));
        kernel->data()->set_favourites_file(file);
        fake_ctrl surface(10);
        fake_ctrl dpi(1);

        kernel->add_favorite(&dpi); // already a default favourite: nothing is saved
        QVERIFY(!QFile::exists(file));
        // The button assignment page registered its two default favourites when it refreshed.
        const int registered = kernel->favorite_ctrl_count();
        kernel->add_favorite_ctrl(&surface);
        QCOMPARE(kernel->data()->favourites(), (QList<int32_t>{1, 2, 13, 8, 7, 10}));
        QVERIFY(QFile::exists(file));
        QCOMPARE(kernel->favorite_ctrl_count(), registered + 1);
        // Item 0 is type 1, which no registered favourite control has.
        QCOMPARE(kernel->favorite_ctrl(0), nullptr);
        QCOMPARE(kernel->favorite_ctrl(1), nullptr);

        QFile::remove(file);
        fake_ctrl absent(99);
        kernel->remove_favorite(&absent); // not in the list, still saved
        QVERIFY(QFile::exists(file));
        kernel->remove_favorite_ctrl(&surface);
        QCOMPARE(kernel->data()->favourites(), (QList<int32_t>{1, 2, 13, 8, 7}));
        QCOMPARE(kernel->favorite_ctrl_count(), registered);
    }
};

QTEST_MAIN(test_kernel)
#include "test_kernel.moc"
