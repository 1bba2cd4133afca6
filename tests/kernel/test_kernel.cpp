// The product kernel against a recording control centre and host: commits,
// host messages, profile operations and their notifications.
#include "common/log_capture.h"
#include "kernel/shm_pool.h"
#include "kernel/zarek_black_kernel.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_profile.h"
#include "kernel/zarek_white_kernel.h"
#include "module/kernel_host_interfaces.h"
#include "module/module.h"
#include "module/page_interfaces.h"
#include "support/fake_host.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QPainter>
#include <QProcess>
#include <QSharedMemory>
#include <QStandardPaths>
#include <QtEndian>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <memory>

#ifndef _WIN32
#include <sys/shm.h>
#endif

namespace {

// This suite started again as a child that makes a segment: see segment_child().
constexpr char segment_child_flag[] = "--make-segment";
constexpr char segment_child_text[] = "child's bytes";

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

// The number at the end of a segment key (prefix + "_" + n).
int key_number(const QString& key) {
    return key.mid(key.lastIndexOf(QLatin1Char('_')) + 1).toInt();
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
        if (!segment->create(qMax(1, bytes.size()))) {
            // Another process's segment can hold the System V key of this
            // name's key file; like the module, take the next name.
            if (segment->error() == QSharedMemory::AlreadyExists)
                return offer(bytes);
            qFatal("cannot create a test segment: %s", qPrintable(segment->errorString()));
        }
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

    // A commit keeps the pictures' encodings. Whatever changes after it must reach
    // the host: the published bytes equal those of a set that encodes everything anew.
    void changes_after_a_cached_commit_are_published_data() {
        QTest::addColumn<QString>("change");
        for (const char* change : {"picture replaced", "picture painted in place",
                                   "picture cleared", "pictures moved by a deleted slot",
                                   "picture replaced by a copy of the other", "name", "macro"})
            QTest::addRow("%s", change) << QString::fromLatin1(change);
    }
    void changes_after_a_cached_commit_are_published() {
        QFETCH(QString, change);
        auto kernel = loaded_kernel();
        kernel->append_profile();
        QCOMPARE(kernel->profile_count(), 2);
        QImage red(24, 16, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QImage blue(24, 16, QImage::Format_ARGB32);
        blue.fill(Qt::blue);
        kernel->set_profile_picture(0, QPixmap::fromImage(red));
        kernel->set_profile_picture(1, QPixmap::fromImage(blue));
        QVERIFY(kernel->commit());
        const QByteArray cached = read_segment(m_host->center.commands.last().text);

        zarek_data_c* d = kernel->data();
        if (change == QLatin1String("picture replaced")) {
            QImage green = red;
            green.fill(Qt::green);
            kernel->set_profile_picture(0, QPixmap::fromImage(green));
        } else if (change == QLatin1String("picture painted in place")) {
            QPainter painter(&d->picture(0));
            painter.fillRect(3, 2, 1, 1, Qt::yellow);
        } else if (change == QLatin1String("picture cleared")) {
            kernel->clear_profile_picture(0);
        } else if (change == QLatin1String("pictures moved by a deleted slot")) {
            kernel->delete_profile(0);
        } else if (change == QLatin1String("picture replaced by a copy of the other")) {
            d->picture(0) = d->picture(1);
        } else if (change == QLatin1String("name")) {
            kernel->set_profile_name(1, QStringLiteral("Renamed"));
        } else if (change == QLatin1String("macro")) {
            d->macro(1, 7).b[900] ^= 0x5A;
        }
        QVERIFY(kernel->commit());
        QCOMPARE(m_host->center.commands.size(), 2);
        const QByteArray published = read_segment(m_host->center.commands.last().text);
        QVERIFY(published != cached);
        QCOMPARE(md5(published), kernel->checksum());

        // The same set in a profile set that has never written a blob before.
        zarek_data_c fresh(nullptr, product_type::black);
        fresh.set_profile_service(kernel->profile_service());
        fresh.device() = d->device();
        fresh.favourites() = d->favourites();
        fresh.saved_layouts() = d->saved_layouts();
        for (int s = 0; s < max_profile_slots; ++s)
            fresh.slot(s) = d->slot(s);
        QByteArray expected;
        fresh.write_all(&expected);
        QCOMPARE(published.size(), expected.size());
        QVERIFY(published == expected);

        // Nothing changed since: the next commit publishes nothing.
        QVERIFY(!kernel->commit());
    }

    void blob_reading_lets_the_service_read_its_section() {
        auto kernel = loaded_kernel();
        QCOMPARE(m_service_journal.mid(m_service_journal.size() - 2),
                 (QStringList{QStringLiteral("begin_read"), QStringLiteral("read host part")}));
    }

    // A set that does not read must not strand anybody: the host leaves busy,
    // listeners hear, the log names the element and its byte, the profiles
    // stay, and the next change publishes a set that reads back whole.
    void damaged_load_keeps_the_profiles_and_publishes_on_the_next_change() {
        QFETCH(QByteArray, blob);
        QFETCH(QString, field);
        QFETCH(qint64, offset);
        auto kernel = attached_kernel();
        recording_listener listener;
        kernel->add_kernel_listener(&listener);
        kernel->set_profile_name(0, QStringLiteral("Kept"));
        listener.log.clear();
        const log_capture log;
        const host_message_rec m = message(host_message::data_loaded, offer(blob));
        kernel->on_host_message(&m);

        QVERIFY(!kernel->data_loaded());
        QCOMPARE(kernel->profile_name(0), QStringLiteral("Kept"));
        QCOMPARE(m_host->center.busy.size(), 1);
        QCOMPARE(m_host->center.busy.first(), std::make_tuple(false, 1, 0));
        QCOMPARE(listener.log, QStringList{QStringLiteral("kind0")});
        const QString logged = log.text();
        // Where an element starts further in is the test's own arithmetic; -1 skips it.
        const QString where =
            offset < 0 ? QStringLiteral("the %1 starting at byte ").arg(field)
                       : QStringLiteral("the %1 starting at byte %2 ").arg(field).arg(offset);
        QVERIFY2(logged.contains(where), qPrintable(logged));

        // Nothing changed yet, so nothing is sent; a change goes out whole.
        QVERIFY(!kernel->commit());
        kernel->set_profile_name(0, QStringLiteral("Edited"));
        QVERIFY(kernel->commit());
        QCOMPARE(m_host->center.commands.size(), 1);
        zarek_data_c check(nullptr, product_type::black);
        QVERIFY(check.read_all(read_segment(m_host->center.commands.first().text)));
        QCOMPARE(check.name(0).name(), QStringLiteral("Edited"));
        kernel->remove_kernel_listener(&listener);
    }
    void damaged_load_keeps_the_profiles_and_publishes_on_the_next_change_data() {
        QTest::addColumn<QByteArray>("blob");
        QTest::addColumn<QString>("field");
        QTest::addColumn<qint64>("offset");
        QTest::addRow("one byte") << QByteArray(1, '\x01') << "names" << qint64(0);
        QTest::addRow("huge count")
            << QByteArray::fromHex("7fffffff00000070") << "names" << qint64(0);
        QTest::addRow("negative count") << QByteArray::fromHex("ffffffff") << "names" << qint64(0);
        QByteArray garbage(4096, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 73 + 11) & 0xFF);
        QTest::addRow("garbage") << garbage << "names" << qint64(0);

        // A whole set cut or spoilt further in: the element is named where it starts.
        zarek_data_c source(nullptr, product_type::black);
        QByteArray whole;
        source.write_all(&whole);
        // names: count + 5 records of 112 bytes; paths: count + 5 of 2560.
        const qint64 paths_at = 4 + 5 * (4 + 112);
        const qint64 device_at = paths_at + 4 + 5 * (4 + 2560);
        QTest::addRow("cut in the paths") << whole.left(int(paths_at) + 100) << "paths" << paths_at;
        QByteArray wrong_length = whole;
        // The 12-byte device field claims more bytes than the blob holds.
        qToBigEndian<qint32>(0x7FFFFFF0, wrong_length.data() + device_at);
        QTest::addRow("device field too long")
            << wrong_length << "device bytes 27..38" << device_at;
        QTest::addRow("cut in the macros")
            << whole.left(whole.size() - 1000) << "macro lists" << qint64(-1);
    }

    // What the module writes, it reads: a picture beyond the readers' limits is
    // brought within them when it is set, on the kernel and the profile object alike.
    void pictures_are_kept_within_the_read_limits_data() {
        QTest::addColumn<QSize>("given");
        QTest::addRow("within the limits") << QSize(300, 200);
        QTest::addRow("a side over 8192") << QSize(9000, 30);
        QTest::addRow("a line of 20000") << QSize(20000, 1);
        QTest::addRow("more pixels than 4096 x 4096") << QSize(4200, 4100);
    }
    void pictures_are_kept_within_the_read_limits() {
        QFETCH(QSize, given);
        QPixmap picture(given);
        picture.fill(Qt::darkCyan);
        const auto check = [&](const QPixmap& kept) {
            QVERIFY(!kept.isNull());
            if (given.width() <= 8192 && given.height() <= 8192 &&
                qint64(given.width()) * given.height() <= qint64(4096) * 4096) {
                QCOMPARE(kept.size(), given);
                return;
            }
            QVERIFY(kept.width() <= 8192 && kept.height() <= 8192);
            QVERIFY(qint64(kept.width()) * kept.height() <= qint64(4096) * 4096);
            // Aspect kept to within a pixel of rounding on either side.
            const qint64 skew =
                qAbs(qint64(kept.width()) * given.height() - qint64(kept.height()) * given.width());
            QVERIFY2(skew <= qMax(given.width(), given.height()),
                     qPrintable(QStringLiteral("%1 x %2").arg(kept.width()).arg(kept.height())));
        };

        auto kernel = loaded_kernel();
        kernel->append_profile();
        kernel->set_profile_picture(0, picture);
        check(*kernel->profile_picture(0));
        QBuffer exported;
        exported.open(QIODevice::WriteOnly);
        QVERIFY(kernel->export_profile(&exported, 0));
        exported.close();
        exported.open(QIODevice::ReadOnly);
        QVERIFY(kernel->import_profile(&exported, 1));
        QCOMPARE(kernel->profile_picture(1)->size(), kernel->profile_picture(0)->size());
        QByteArray all;
        kernel->data()->write_all(&all);
        zarek_data_c reread(nullptr, product_type::black);
        QVERIFY(reread.read_all(all));

        zarek_profile_c profile;
        profile.set_picture(picture);
        check(*profile.picture());
        QBuffer written;
        written.open(QIODevice::WriteOnly);
        profile.write(&written);
        written.close();
        written.open(QIODevice::ReadOnly);
        zarek_profile_c again;
        QVERIFY(again.read(&written));
        QCOMPARE(again.picture()->size(), profile.picture()->size());
    }

    // Clearing gives the same on the kernel and on the profile object: a
    // picture turns transparent at its size, no picture stays none and
    // changes no checksum.
    void clearing_a_picture_is_the_same_everywhere_data() {
        QTest::addColumn<bool>("with_picture");
        QTest::addRow("no picture") << false;
        QTest::addRow("a picture") << true;
    }
    void clearing_a_picture_is_the_same_everywhere() {
        QFETCH(bool, with_picture);
        QPixmap picture(3, 2);
        picture.fill(Qt::yellow);
        auto kernel = loaded_kernel();
        zarek_profile_c profile;
        if (with_picture) {
            kernel->set_profile_picture(0, picture);
            profile.set_picture(picture);
            QVERIFY(kernel->commit());
        }
        const QString sum = kernel->checksum();
        kernel->clear_profile_picture(0);
        profile.clear_picture();
        QVERIFY(!kernel->profile_has_picture(0));
        QVERIFY(!profile.has_picture());
        const QPixmap& cleared = *kernel->profile_picture(0);
        QCOMPARE(cleared.isNull(), !with_picture);
        QCOMPARE(profile.picture()->isNull(), !with_picture);
        QCOMPARE(cleared.toImage(), profile.picture()->toImage());
        if (with_picture) {
            QCOMPARE(cleared.size(), QSize(3, 2));
            QCOMPARE(cleared.toImage().pixelColor(2, 1).alpha(), 0);
        } else {
            QVERIFY(!kernel->commit());
            QCOMPARE(kernel->checksum(), sum);
        }
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
            // Segments made ahead take their numbers in the same turn as the others.
            if (i % 2)
                pool.prepare(prefix, 1);
            QSharedMemory* segment = pool.fresh_segment(prefix);
            QVERIFY(segment);
            key = segment->key();
            if (i == 10000)
                QCOMPARE(key, prefix + QStringLiteral("_10000"));
            // Keep the test light: the numbers are what matters. Those made
            // ahead stay, and the next publications take them in turn.
            pool.purge(-1);
        }
        QCOMPARE(key, prefix + QStringLiteral("_0"));
        QVERIFY(!pool.fresh_segment(QString()));
    }

    // After a publication the next segments are made while the host is idle; a
    // commit then only copies into one. Each serves one publication, at its size
    // or remade under its key at another size, and its minute starts when it is used.
    void prepared_segment_serves_one_publication_data() {
        QTest::addColumn<bool>("resized");
        QTest::addRow("same size") << false;
        QTest::addRow("blob grew") << true;
    }
    void prepared_segment_serves_one_publication() {
        QFETCH(bool, resized);
        auto kernel = loaded_kernel();
        QCoreApplication::processEvents();
        const QStringList ready = kernel->pool().prepared_keys();
        QCOMPARE(ready.size(), 2);
        QCOMPARE(key_number(ready.at(1)), key_number(ready.at(0)) + 1);
        const int kept = kernel->pool().size();

        if (resized) {
            QImage image(40, 30, QImage::Format_ARGB32);
            image.fill(Qt::darkCyan);
            kernel->set_profile_picture(0, QPixmap::fromImage(image));
        } else {
            kernel->set_profile_name(0, QStringLiteral("First"));
        }
        QVERIFY(kernel->commit());
        const QString first = m_host->center.commands.last().text;
        QCOMPARE(first, ready.at(0));
        QCOMPARE(kernel->pool().prepared_keys(), QStringList{ready.at(1)});
        QCOMPARE(kernel->pool().size(), kept + 1);
        const QByteArray published = read_segment(first);
        QCOMPARE(md5(published), kernel->checksum());
        QByteArray expected;
        kernel->data()->write_all(&expected);
        QCOMPARE(published.size(), expected.size());

        // No idle time in between: the next commit takes the second one.
        kernel->set_profile_name(0, QStringLiteral("Second"));
        QVERIFY(kernel->commit());
        const QString second = m_host->center.commands.last().text;
        QCOMPARE(second, ready.at(1));
        QVERIFY(kernel->pool().prepared_keys().isEmpty());
        QCOMPARE(read_segment(first), published);
        zarek_data_c check(nullptr, product_type::black);
        QVERIFY(check.read_all(read_segment(second)));
        QCOMPARE(check.name(0).name(), QStringLiteral("Second"));

        // Keys keep their order: those made ahead come after the last published.
        QCoreApplication::processEvents();
        const QStringList next = kernel->pool().prepared_keys();
        QCOMPARE(next.size(), 2);
        QCOMPARE(key_number(next.at(0)), key_number(second) + 1);
        QCOMPARE(key_number(next.at(1)), key_number(second) + 2);
    }

    // A sensor command takes the next number (keys reach the host in the order of
    // their numbers) and with it the first segment made ahead, remade at its four
    // bytes; the commit right after it, without idle time, finds the second one
    // ready at the profile set's size. The idle time after both makes up the two.
    void sensor_command_leaves_the_next_commit_its_segment() {
        auto kernel = loaded_kernel();
        QCoreApplication::processEvents();
        const QStringList ready = kernel->pool().prepared_keys();
        QCOMPARE(ready.size(), 2);

        QByteArray command;
        {
            QDataStream out(&command, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_5_15);
            out << qint32(6);
        }
        QBuffer buffer(&command);
        buffer.open(QIODevice::ReadOnly);
        const QString sent = kernel->publish_blob(&buffer);
        QCOMPARE(sent, ready.at(0));
        QCOMPARE(read_segment(sent), command);
        QCOMPARE(kernel->pool().prepared_keys(), QStringList{ready.at(1)});

        kernel->set_profile_name(0, QStringLiteral("After the command"));
        QVERIFY(kernel->commit());
        const QString committed = m_host->center.commands.last().text;
        QCOMPARE(committed, ready.at(1));
        QCOMPARE(md5(read_segment(committed)), kernel->checksum());

        QCoreApplication::processEvents();
        const QStringList refilled = kernel->pool().prepared_keys();
        QCOMPARE(refilled.size(), 2);
        QCOMPARE(key_number(refilled.at(0)), key_number(committed) + 1);
        QByteArray blob;
        kernel->data()->write_all(&blob);
        for (const QString& key : refilled) {
            QSharedMemory segment(key);
            QVERIFY(segment.attach(QSharedMemory::ReadOnly));
            QCOMPARE(segment.size(), blob.size());
        }
    }

    void pool_keeps_segments_for_a_minute_data() {
        QTest::addColumn<QString>("use");
        QTest::addRow("read") << QStringLiteral("read");
        QTest::addRow("published") << QStringLiteral("published");
        QTest::addRow("made ahead, then published") << QStringLiteral("prepared");
    }
    void pool_keeps_segments_for_a_minute() {
        QFETCH(QString, use);
        qint64 now = 0;
        shm_pool pool([&now] { return now; });
        const QString prefix =
            QStringLiteral("quil_test_purge_%1").arg(QCoreApplication::applicationPid());
        const QByteArray offered = offer("held");
        const auto one = [&] {
            if (use == QLatin1String("read"))
                QCOMPARE(pool.read_key(QString::fromLatin1(offered)), QByteArray("held"));
            else
                QVERIFY(pool.fresh_segment(prefix, 4));
        };
        if (use == QLatin1String("prepared")) {
            pool.prepare(prefix, 4);
            QCOMPARE(pool.size(), 0);
            now = 50000; // made long ago, used now: the minute starts here
        }
        one();
        one();
        QCOMPARE(pool.size(), 2);
        now += shm_pool::expiry_ms;
        one();
        QCOMPARE(pool.size(), 3);
        now += 1;
        // Only messages from the host, no publication: reading purges too.
        QCOMPARE(pool.read_key(QString::fromLatin1(offered)), QByteArray("held"));
        QCOMPARE(pool.size(), 2);
    }

    // While segments are made ahead, a publication leaves the end of expired
    // segments to the idle work that follows it.
    void expired_segments_end_in_idle_time() {
        qint64 now = 0;
        shm_pool pool([&now] { return now; });
        const QString prefix =
            QStringLiteral("quil_test_retire_%1").arg(QCoreApplication::applicationPid());
        const auto exists = [](const QString& key) {
            QSharedMemory probe(key);
            return probe.attach(QSharedMemory::ReadOnly);
        };
        pool.prepare(prefix, 8);
        QSharedMemory* first = pool.fresh_segment(prefix, 8);
        QVERIFY(first);
        const QString first_key = first->key();
        pool.prepare(prefix, 8);
        now += shm_pool::expiry_ms + 1;
        QVERIFY(pool.fresh_segment(prefix, 8));
        QCOMPARE(pool.size(), 1);
        QCOMPARE(pool.retired(), 1);
        QVERIFY(exists(first_key));
        pool.prepare(prefix, 8);
        QCOMPARE(pool.retired(), 0);
        QVERIFY(!exists(first_key));

        // Nothing made ahead: the publication purges at once.
        pool.clear();
        QVERIFY(pool.fresh_segment(prefix, 8));
        now += shm_pool::expiry_ms + 1;
        QVERIFY(pool.fresh_segment(prefix, 8));
        QCOMPARE(pool.size(), 1);
        QCOMPARE(pool.retired(), 0);
    }

    // A segment made by another process takes a key until that process is gone
    // and nobody holds the segment: only then does the pool take the key back.
    void leftover_segments_are_reclaimed_only_when_abandoned_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("reclaimed");
        QTest::addRow("left by a run that ended without detaching")
            << QStringLiteral("leave") << true;
        QTest::addRow("held by a running process") << QStringLiteral("hold") << false;
        QTest::addRow("attached by nobody, its creator still running")
            << QStringLiteral("unmap") << false;
    }
    void leftover_segments_are_reclaimed_only_when_abandoned() {
#ifdef _WIN32
        QSKIP("Segments end with their last handle there; nothing is ever left behind");
#endif
        QFETCH(QString, mode);
        QFETCH(bool, reclaimed);
        static int run = 0;
        const QString prefix = QStringLiteral("quil_test_left_%1_%2")
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(++run);
        const QString first = prefix + QStringLiteral("_0");
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QLatin1String(segment_child_flag), first, mode});
        QVERIFY2(child.waitForReadyRead(30000), qPrintable(child.errorString()));
        QCOMPARE(child.readAllStandardOutput(), QByteArray("made\n"));
        const qint64 creator = child.processId();
        if (mode == QLatin1String("leave"))
            QVERIFY(child.waitForFinished(30000));

        const log_capture log;
        shm_pool pool;
        QSharedMemory* segment = pool.fresh_segment(prefix, 16);
        QVERIFY(segment);
        QCOMPARE(segment->key(), reclaimed ? first : prefix + QStringLiteral("_1"));
        const QString note =
            QStringLiteral("Key: %1 was left by process %2, which has ended; reclaimed")
                .arg(first)
                .arg(creator);
        QCOMPARE(log.messages().contains(note), reclaimed);
        QCOMPARE(log.messages().contains(first + QStringLiteral(" create_share_memory_key fail")),
                 !reclaimed);
        if (reclaimed)
            return;

        // The other process's segment is untouched.
        QSharedMemory other(first);
        QVERIFY(other.attach(QSharedMemory::ReadOnly));
        QCOMPARE(QByteArray(static_cast<const char*>(other.constData())),
                 QByteArray(segment_child_text));
        other.detach();
        // Once that process ends, what it left is taken back by the next pool.
        child.closeWriteChannel();
        QVERIFY(child.waitForFinished(30000));
        shm_pool later;
        QSharedMemory* taken = later.fresh_segment(prefix, 16);
        QVERIFY(taken);
        QCOMPARE(taken->key(), first);
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
        // The pages registered their default favourites when they refreshed.
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

// The child of the leftover-segment test: makes a segment under `key` and says so,
// then, by `mode`: "leave" ends at once without detaching, as a killed run does;
// "hold" stays attached until its input closes; "unmap" detaches behind Qt's
// back (so nobody is attached) and waits for its input to close. Every mode ends
// without removing the segment.
int segment_child(const char* key, const char* mode) {
    QSharedMemory segment(QString::fromLatin1(key));
    if (!segment.create(64))
        return 2;
    std::memcpy(segment.data(), segment_child_text, sizeof segment_child_text);
#ifndef _WIN32
    if (qstrcmp(mode, "unmap") == 0 && ::shmdt(segment.data()) != 0)
        return 3;
#endif
    std::fputs("made\n", stdout);
    std::fflush(stdout);
    if (qstrcmp(mode, "leave") != 0) {
        char line[16];
        while (std::fgets(line, sizeof line, stdin)) {
        }
    }
    std::_Exit(0);
}

int main(int argc, char** argv) {
    if (argc == 4 && qstrcmp(argv[1], segment_child_flag) == 0)
        return segment_child(argv[2], argv[3]);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    test_kernel suite;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&suite, argc, argv);
}
#include "test_kernel.moc"
