// The host services behind a device: profile service, hub, macro library and
// the virtual mouse (against a recording kernel), plus the device and timer lists.
// Byte layouts are checked against a small writer here, never against the code.
#include "fake_kernel.h"

#include "host/ctrl_center.h"
#include "host/device_list.h"
#include "host/hub.h"
#include "host/macro_library.h"
#include "host/macro_panel.h"
#include "host/module_host.h"
#include "host/profile_service.h"
#include "host/timer_list.h"
#include "host/virtual_mouse.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtEndian>
#include <QtTest>

namespace {

// Builds bytes the way QDataStream (big-endian) lays them out.
struct forge {
    QByteArray bytes;
    forge& be32(quint32 v) {
        char b[4];
        qToBigEndian<quint32>(v, b);
        bytes.append(b, 4);
        return *this;
    }
    forge& be64(quint64 v) { return be32(quint32(v >> 32)).be32(quint32(v)); }
    forge& raw(const QByteArray& b) {
        bytes.append(b);
        return *this;
    }
    forge& field(const QByteArray& b) { return be32(quint32(b.size())).raw(b); }
    forge& text(const QString& s) {
        be32(quint32(s.size() * 2));
        for (QChar c : s)
            bytes.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
        return *this;
    }
};

constexpr quint32 k_section_magic = 0x4B525331;
constexpr quint64 k_library_magic = 0x4B4D41434C494231ull;
constexpr quint32 k_memory_magic = 0x4B564D31;

QByteArray md5(const QByteArray& b) {
    return QCryptographicHash::hash(b, QCryptographicHash::Md5);
}

QByteArray file_content(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool write_file(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray hub_bytes(const hub_c& hub) {
    return QByteArray(reinterpret_cast<const char*>(hub.bytes().data()), hub_c::byte_count);
}

// A listener of the hub; it answers macro_listener_i only when asked to.
class macro_probe : public listener_i, public macro_listener_i {
public:
    macro_probe(QStringList* journal, const QString& name, bool macros)
        : m_journal(journal)
        , m_name(name)
        , m_macros(macros) {}
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value || iid == iid_of<listener_i>::value)
            return static_cast<listener_i*>(this);
        if (m_macros && iid == iid_of<macro_listener_i>::value)
            return static_cast<macro_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i*) override { m_journal->append(m_name + " closing"); }
    void update() override {}
    bool on_macros_changed(const QList<library_item>& items) override {
        QStringList parts;
        for (const library_item& item : items)
            parts.append(QStringLiteral("%1%2/%3").arg(item.deleted() ? "-" : "+", item.group_name,
                                                       item.record.name()));
        m_journal->append(m_name + QLatin1Char(' ') + parts.join(QLatin1Char(',')));
        if (on_call)
            on_call();
        return matches;
    }
    std::function<void()> on_call;
    bool matches = false;

private:
    QStringList* m_journal;
    QString m_name;
    bool m_macros;
};

// Collects what a library announces.
QList<QList<library_item>>* announcements(macro_library_c* library) {
    auto* told = new QList<QList<library_item>>;
    QObject::connect(library, &macro_library_c::macros_changed, library,
                     [told](const QList<library_item>& items) { told->append(items); });
    QObject::connect(library, &QObject::destroyed, [told] { delete told; });
    return told;
}

// A black mouse whose memory holds `memory` (none when empty), attached to a
// recording kernel that talks back through the centre.
struct rig_t {
    ctrl_center_c centre;
    fake_kernel kernel;
    std::unique_ptr<virtual_mouse_c> mouse;

    explicit rig_t(const QString& folder, const QByteArray& memory = "m") {
        kernel.centre = &centre;
        if (!memory.isEmpty())
            write_file(virtual_mouse_c::memory_file(folder, 8),
                       virtual_mouse_c::file_bytes(memory));
        mouse = std::make_unique<virtual_mouse_c>(&centre, 8, QStringLiteral("Q"), folder);
        mouse->attach(&kernel);
    }
    void tune(qint32 command) { kernel.publish(11, forge().be32(quint32(command)).bytes, key()); }
    static QString key() { return fake_kernel::unique_key(); }
};

} // namespace

class test_device_host : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
    }

    // ------------------------------------------------------------- profile service

    void section_layout_and_read_back() {
        profile_service_c writer;
        writer.set_note(QStringLiteral("Né 1"));
        // The section follows the module's own elements in the same device.
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        buffer.write("module elements");
        writer.write_section(&buffer);
        const QByteArray expected = forge().be32(k_section_magic).be32(1).text("Né 1").bytes;
        QCOMPARE(buffer.data().mid(qstrlen("module elements")), expected);
        QCOMPARE(writer.journal().last().value, expected.size());

        buffer.seek(qstrlen("module elements"));
        profile_service_c reader;
        reader.begin_read();
        reader.read_section(&buffer);
        QCOMPARE(reader.note(), QStringLiteral("Né 1"));
        QVERIFY(reader.section_taken());

        // No device: nothing read, nothing written, nothing lost.
        reader.read_section(nullptr);
        reader.write_section(nullptr);
        QCOMPARE(reader.note(), QStringLiteral("Né 1"));
    }

    void section_from_outside_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QString>("note");
        const QString kept = QStringLiteral("kept");
        const auto head = [](quint32 version) {
            return forge().be32(k_section_magic).be32(version);
        };
        // A later layout appends fields after the note; the note is still ours.
        QTest::addRow("later version with more fields")
            << head(2).text("later").be32(77).bytes << QStringLiteral("later");
        QTest::addRow("missing") << QByteArray() << kept;
        QTest::addRow("magic only") << forge().be32(k_section_magic).bytes << kept;
        QTest::addRow("foreign magic")
            << forge().be32(0x12345678).be32(1).text("abc").bytes << kept;
        QTest::addRow("version 0") << head(0).text("abc").bytes << kept;
        QTest::addRow("note length odd") << head(1).be32(3).raw("abc").bytes << kept;
        QTest::addRow("note longer than the data") << head(1).be32(40).raw("ab").bytes << kept;
        QTest::addRow("note length near 2 GiB") << head(1).be32(0x7FFFFFFE).bytes << kept;
        QTest::addRow("note longer than a note may be")
            << head(1).text(QString(1025, QLatin1Char('x'))).bytes << kept;
        QTest::addRow("section longer than a section may be")
            << head(1).text("abc").raw(QByteArray(5000, 'z')).bytes << kept;
    }

    void section_from_outside() {
        QFETCH(QByteArray, section);
        QFETCH(QString, note);
        profile_service_c service;
        service.set_note(QStringLiteral("kept"));
        QBuffer buffer(&section);
        buffer.open(QIODevice::ReadOnly);
        service.begin_read();
        service.read_section(&buffer);
        QCOMPARE(service.note(), note);
        QCOMPARE(service.section_taken(), note != QLatin1String("kept"));
        QCOMPARE(service.journal().last().value, service.section_taken() ? 1 : 0);
    }

    void host_makes_profile_services_for_kernels() {
        ctrl_center_c centre;
        module_host_c host(&centre);
        const int before = profile_service_c::live_count();
        auto* service = static_cast<profile_service_i*>(
            host.create_instance(0x1301, iid_of<profile_service_i>::value));
        QVERIFY(profile_service_c::of(service));
        // Only the interface it implements is handed out, and nothing leaks.
        QCOMPARE(host.create_instance(0x1301, iid_of<product_kernel_i>::value), nullptr);
        QCOMPARE(profile_service_c::live_count(), before + 1);
        service->release();
        QCOMPARE(profile_service_c::live_count(), before);
        QCOMPARE(profile_service_c::of(service), nullptr);
    }

    // ------------------------------------------------------------------------ hub

    void reset_restores_one_setting_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("after");
        // Every byte set off its default first: 0, 1, 1, 9, 8, 2, 0xFD (-3).
        const QByteArray untouched("\x00\x01\x01\x09\x08\x02\xFD", 7);
        QTest::addRow("pointer speed and its options")
            << 2 << QByteArray("\x01\x00\x01\x09\x08\x02\x00", 7);
        QTest::addRow("vertical scroll and its mode")
            << 3 << QByteArray("\x00\x01\x00\x03\x08\x02\xFD", 7);
        QTest::addRow("horizontal scroll") << 4 << QByteArray("\x00\x01\x01\x09\x03\x02\xFD", 7);
        QTest::addRow("double-click speed") << 5 << QByteArray("\x00\x01\x01\x09\x08\x05\xFD", 7);
        QTest::addRow("sensitivity is not the hub's") << 0 << untouched;
        QTest::addRow("unknown type") << 6 << untouched;
    }

    void reset_restores_one_setting() {
        QFETCH(int, type);
        QFETCH(QByteArray, after);
        hub_c hub(m_dir->path());
        // precision on, snap off, lines, 3 lines, 3 characters, middle speed, pointer 0
        QCOMPARE(hub_bytes(hub), QByteArray("\x01\x00\x00\x03\x03\x05\x00", 7));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(hub.hub_bytes()), 7), hub_bytes(hub));
        QCOMPARE(hub.macro_library(), static_cast<macro_library_i*>(hub.library()));
        hub.set_pointer_options(false, true);
        hub.set_vertical_scroll(9, true);
        hub.set_horizontal_scroll(8);
        hub.set_double_click_speed(2);
        hub.set_pointer_speed(-3);
        hub.reset_hub_setting(type);
        QCOMPARE(hub_bytes(hub), after);
        QCOMPARE(hub.reset_calls(), QVector<int32_t>{type});
    }

    void values_are_clamped_to_their_ranges_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("kept");
        QTest::addColumn<int>("byte");
        QTest::addRow("pointer speed below -5") << 6 << -9 << -5 << 0xFB;
        QTest::addRow("pointer speed above 5") << 6 << 12 << 5 << 5;
        QTest::addRow("pointer speed -1") << 6 << -1 << -1 << 0xFF;
        QTest::addRow("vertical scroll 0") << 3 << 0 << 1 << 1;
        QTest::addRow("vertical scroll 42") << 3 << 42 << 10 << 10;
        QTest::addRow("double click 10") << 5 << 10 << 10 << 10;
        QTest::addRow("option above 1") << 0 << 7 << 1 << 1;
        QTest::addRow("index past the last byte") << 7 << 1 << -1 << -1;
        QTest::addRow("negative index") << -1 << 1 << -1 << -1;
    }

    void values_are_clamped_to_their_ranges() {
        QFETCH(int, index);
        QFETCH(int, value);
        QFETCH(int, kept);
        QFETCH(int, byte);
        hub_c hub{QString()};
        const QByteArray before = hub_bytes(hub);
        QSignalSpy changed(&hub, &hub_c::bytes_changed);
        QCOMPARE(hub.set_value(index, value), byte >= 0);
        if (byte < 0) {
            QCOMPARE(changed.count(), 0);
            QCOMPARE(hub_bytes(hub), before);
            return;
        }
        QCOMPARE(hub.value(index), kept);
        QCOMPARE(int(hub.hub_bytes()[index]), byte);
    }

    void value_controls_reach_the_hub() {
        hub_c hub{QString()};
        auto* listener = query<value_ctrl_funcs_listener_i>(static_cast<hub_i*>(&hub));
        QVERIFY(listener);
        QByteArray expected = hub_bytes(hub);
        // pointer speed, vertical scroll, horizontal scroll, double-click speed
        for (const auto& [type, index] : {std::pair{2, 6}, {3, 3}, {4, 4}, {5, 5}}) {
            listener->value_changed(type, type);
            expected[index] = char(type);
            QCOMPARE(hub_bytes(hub), expected);
        }
        // Sensitivity (type 0) belongs to the profile, not to the hub.
        listener->value_changed(0, 1);
        QCOMPARE(hub_bytes(hub), expected);
    }

    void hub_settings_file() {
        const QString ini = m_dir->filePath(QStringLiteral("hub.ini"));
        const auto values = [this] {
            hub_c hub(m_dir->path());
            return QVector<int>({hub.value(hub_c::pointer_speed), hub.value(hub_c::vertical_scroll),
                                 hub.value(hub_c::horizontal_scroll),
                                 hub.value(hub_c::double_click_speed)});
        };
        // Damaged values fall back one by one; an oversized file is not read at all.
        QVERIFY(write_file(ini, "[pointer]\nspeed=fast\n[scroll]\nvertical=400\nhorizontal=-3\n"
                                "[double_click]\nspeed=8\n"));
        QCOMPARE(values(), QVector<int>({0, 3, 3, 8}));
        QVERIFY(write_file(ini, "[pointer]\nspeed=4\n; " + QByteArray(70 * 1024, 'x') + "\n"));
        QCOMPARE(values(), QVector<int>({0, 3, 3, 5}));

        // What is set survives a restart.
        {
            hub_c hub(m_dir->path());
            hub.set_pointer_speed(-2);
            hub.set_vertical_scroll(7, true);
            hub.set_double_click_speed(9);
        }
        hub_c again(m_dir->path());
        QCOMPARE(hub_bytes(again), QByteArray("\x01\x00\x01\x07\x03\x09\xFE", 7));
    }

    void hub_listeners_hear_library_changes_in_order() {
        QStringList journal;
        macro_probe first(&journal, QStringLiteral("first"), true);
        macro_probe plain(&journal, QStringLiteral("plain"), false);
        macro_probe second(&journal, QStringLiteral("second"), true);
        macro_probe leaves(&journal, QStringLiteral("leaves"), true);
        {
            hub_c hub{QString()};
            auto* manager = query<listener_mgr_i>(static_cast<hub_i*>(&hub));
            QVERIFY(manager);
            for (macro_probe* p : {&first, &plain, &first, &second, &leaves})
                manager->add_listener(p);
            manager->add_listener(nullptr);
            QCOMPARE(hub.listeners().size(), 4);
            second.matches = true;
            macro_library_c* library = hub.library();
            const int group = library->create_group(QStringLiteral("G"));
            QCOMPARE(journal, QStringList{});
            // A listener leaving during a round is not told.
            first.on_call = [&] {
                manager->remove_listener(&leaves);
                manager->remove_listener(&leaves);
            };
            const int macro = library->create_macro(group, QStringLiteral("M"), {});
            QVERIFY(library->delete_macro(group, macro));
            QCOMPARE(journal,
                     (QStringList{"first +G/M", "second +G/M", "first -G/M", "second -G/M"}));
            // What the kernels answer comes back to the host.
            QVERIFY(hub.notify_macros_changed({}));
            second.matches = false;
            QVERIFY(!hub.notify_macros_changed({}));
            manager->remove_listener(&second);
            journal.clear();
        }
        QCOMPARE(journal, (QStringList{"first closing", "plain closing"}));
    }

    // -------------------------------------------------------------- macro library

    void library_record_layout() {
        const library_macro_rec record = macro_library_c::make_record(
            QStringLiteral("Dash"), {{1, 0x41, 0x0203, 0x04050607}, {2, 0x41, 0, 70000}}, 0x0102);
        const QByteArray bytes = record.to_bytes();
        QCOMPARE(bytes.size(), 16471);
        QCOMPARE(quint8(bytes.at(0)), quint8(0));
        QCOMPARE(bytes.mid(1, 2), QByteArray("\x02\x01", 2)); // first option word LE
        QCOMPARE(bytes.mid(3, 2), QByteArray("\x00\x00", 2));
        QCOMPARE(bytes.mid(5, 5), QByteArray("Dash\0", 5));
        QCOMPARE(bytes.mid(85, 2), QByteArray("\x02\x00", 2)); // key count LE
        QCOMPARE(bytes.mid(87, 8), QByteArray("\x01\x41\x03\x02\x07\x06\x05\x04", 8));
        QCOMPARE(bytes.mid(95, 8), QByteArray("\x02\x41\x00\x00\x70\x11\x01\x00", 8));
        QCOMPARE(bytes.mid(103, 8), QByteArray(8, 0));
        // Typed text presses and releases each key it can type, and skips the rest.
        const QVector<library_key> typed = {
            {1, 'A', 0, 30}, {2, 'A', 0, 30}, {1, '1', 0, 30}, {2, '1', 0, 30}};
        QCOMPARE(macro_library_c::typed_keys(QStringLiteral("a1é!"), 30), typed);
    }

    void person_operations_refuse_what_would_be_ambiguous() {
        macro_library_c library(m_dir->filePath(QStringLiteral("lib.dat")));
        QCOMPARE(library.create_group(QStringLiteral("Games")), 0);
        QCOMPARE(library.create_group(QStringLiteral("Work")), 1);
        QCOMPARE(library.create_macro(0, QStringLiteral("Jump"), {}), 0);
        QCOMPARE(library.create_macro(0, QStringLiteral("Duck"), {}), 1);
        const QByteArray before = file_content(library.file());
        QSignalSpy changed(&library, &macro_library_c::library_changed);
        const QList<QList<library_item>>& told = *announcements(&library);

        QCOMPARE(library.create_group(QStringLiteral("  ")), -1);
        QCOMPARE(library.create_group(QStringLiteral("Games")), -1);
        QVERIFY(!library.rename_group(1, QStringLiteral("Games")));
        QVERIFY(!library.rename_group(5, QStringLiteral("X")));
        QCOMPARE(library.create_macro(7, QStringLiteral("X"), {}), -1);
        QCOMPARE(library.create_macro(0, QString(), {}), -1);
        QCOMPARE(library.create_macro(0, QStringLiteral("Jump"), {}), -1);
        QVERIFY(!library.rename_macro(0, 1, QStringLiteral("Jump")));
        QVERIFY(!library.set_macro_keys(0, -1, {}));
        QVERIFY(!library.delete_macro(1, 0));
        QVERIFY(!library.delete_group(2));
        QCOMPARE(library.group_count(), 2);
        QCOMPARE(library.macro_count(0), 2);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(told.count(), 0);
        QCOMPARE(file_content(library.file()), before);
    }

    void person_operations_tell_what_changed() {
        macro_library_c library;
        const QList<QList<library_item>>& told = *announcements(&library);
        const int group = library.create_group(QStringLiteral(" Games "));
        QCOMPARE(library.group_name(group), QStringLiteral("Games"));
        const int jump = library.create_macro(group, QStringLiteral("Jump"),
                                              macro_library_c::typed_keys(QStringLiteral("j")));
        QVERIFY(library.rename_macro(group, jump, QStringLiteral("Leap")));
        QVERIFY(library.set_macro_keys(group, jump, macro_library_c::typed_keys("ll")));
        QVERIFY(library.rename_group(group, QStringLiteral("Play")));
        QVERIFY(library.delete_group(group));
        QCOMPARE(told.count(), 5);
        const auto item = [&told](int call) {
            return told.at(call).value(0);
        };
        QCOMPARE(item(0).record.key_count(), uint16_t(2));
        QVERIFY(!item(0).deleted());
        QCOMPARE(item(0).kind, uint16_t(macro_library_c::default_kind));
        // A rename reports the macro as it is now; its keys stay.
        QCOMPARE(item(1).record.name(), QStringLiteral("Leap"));
        QCOMPARE(item(1).record.key_count(), uint16_t(2));
        QCOMPARE(item(2).record.key_count(), uint16_t(4));
        QCOMPARE(item(3).group_name, QStringLiteral("Play"));
        // Deleting a group reports each macro as deleted, with its last form.
        QVERIFY(item(4).deleted());
        QCOMPARE(item(4).group_name, QStringLiteral("Play"));
        QCOMPARE(item(4).record.key_count(), uint16_t(4));
        QCOMPARE(library.group_count(), 0);
    }

    void library_file_layout_and_round_trip() {
        const QString file = m_dir->filePath(QStringLiteral("lib.dat"));
        macro_library_c absent(file);
        QVERIFY(absent.load()); // no file yet: an empty library
        QCOMPARE(absent.group_count(), 0);

        // What the module adds is kept, but not announced back to it.
        macro_library_c library(file);
        const QList<QList<library_item>>& told = *announcements(&library);
        macro_library_i* seen = &library;
        QCOMPARE(seen->add_group(QStringLiteral("G")), 0);
        QCOMPARE(seen->find_group(QStringLiteral("G")), 0);
        QCOMPARE(seen->find_group(QStringLiteral("g")), -1);
        library_macro_rec record =
            macro_library_c::make_record(QStringLiteral("A"), macro_library_c::typed_keys("x"));
        QCOMPARE(seen->add_macro(0, record), 0);
        QCOMPARE(seen->add_macro(3, record), -1);
        record.set_name(QStringLiteral("M"));
        QVERIFY(seen->replace_macro(0, 0, record));
        QVERIFY(!seen->replace_macro(0, 1, record));
        QCOMPARE(seen->macro_record(-1, 0), nullptr);
        QCOMPARE(told.count(), 0);

        const QByteArray expected = forge()
                                        .be64(k_library_magic)
                                        .be32(1)
                                        .be32(1)
                                        .text(QStringLiteral("G"))
                                        .be32(1)
                                        .field(record.to_bytes())
                                        .bytes;
        QCOMPARE(file_content(file), expected);
        macro_library_c again(file);
        QVERIFY(again.load());
        QCOMPARE(again.group_count(), 1);
        QCOMPARE(*again.macro_record(0, 0), record);
    }

    void damaged_library_file_is_put_aside_data() {
        QTest::addColumn<QByteArray>("content");
        const QByteArray record = macro_library_c::make_record(QStringLiteral("M"), {}).to_bytes();
        const auto head = [](quint32 groups) {
            return forge().be64(k_library_magic).be32(1).be32(groups);
        };
        QTest::addRow("cut inside the head") << QByteArray("KMACL", 5);
        QTest::addRow("foreign magic") << forge().be64(1).be32(1).be32(0).bytes;
        QTest::addRow("unknown version") << forge().be64(k_library_magic).be32(9).be32(0).bytes;
        QTest::addRow("negative group count") << head(0xFFFFFFFF).bytes;
        QTest::addRow("group count beyond the limit") << head(100000).bytes;
        QTest::addRow("name length beyond the data") << head(1).be32(5000).raw("ab").bytes;
        QTest::addRow("macro count beyond the data") << head(1).text("G").be32(1000).bytes;
        QTest::addRow("short record") << head(1).text("G").be32(1).field(record.left(100)).bytes;
        QTest::addRow("long record") << head(1).text("G").be32(1).field(record + "x").bytes;
        QTest::addRow("record cut short")
            << head(1).text("G").be32(1).be32(16471).raw(record.left(16000)).bytes;
        QTest::addRow("bytes after the last group") << head(0).raw("tail").bytes;
    }

    void damaged_library_file_is_put_aside() {
        QFETCH(QByteArray, content);
        const QString file = m_dir->filePath(QStringLiteral("lib.dat"));
        macro_library_c library(file);
        library.create_group(QStringLiteral("Held"));
        QVERIFY(write_file(file, content));
        QVERIFY(!library.load());
        // What the library held stays; the damaged file waits beside it.
        QCOMPARE(library.group_count(), 1);
        QCOMPARE(library.group_name(0), QStringLiteral("Held"));
        QVERIFY(!QFile::exists(file));
        QCOMPARE(file_content(file + QStringLiteral(".damaged")), content);
    }

    void macro_panel_works_on_the_library() {
        ctrl_center_c centre;
        macro_library_c library(m_dir->filePath(QStringLiteral("lib.dat")));
        macro_panel_c panel(&library, &centre);
        panel.set_dialogs_enabled(false);
        auto* tree = panel.findChild<QTreeWidget*>(QStringLiteral("tw_macros"));
        QVERIFY(tree);
        QVERIFY(!panel.new_group()); // without dialogs and without answers nothing happens
        QVERIFY(panel.new_group(QStringLiteral("Games")));
        QVERIFY(panel.new_macro(QStringLiteral("Hello"), QStringLiteral("hi")));
        QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("Hello"));
        QCOMPARE(tree->topLevelItem(0)->child(0)->text(1), QStringLiteral("4")); // keys
        QVERIFY(!panel.new_macro(QStringLiteral("Hello"), QStringLiteral("x")));
        QVERIFY(!panel.message().isEmpty());
        QVERIFY(panel.rename_selected(QStringLiteral("Greet")));
        QCOMPARE(library.macro_record(0, 0)->name(), QStringLiteral("Greet"));
        panel.select(0);
        QVERIFY(panel.rename_selected(QStringLiteral("Play")));
        QCOMPARE(library.group_name(0), QStringLiteral("Play"));
        panel.select(0, 0);
        QVERIFY(panel.delete_selected());
        QCOMPARE(library.macro_count(0), 0);
        QVERIFY(panel.delete_selected()); // the group, selected after its last macro went
        QCOMPARE(tree->topLevelItemCount(), 0);
        QVERIFY(!panel.delete_selected());
        QVERIFY(!panel.new_macro(QStringLiteral("Orphan"), QString()));
    }

    // ------------------------------------------------------------- virtual mouse

    void message_record_layout_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("head");
        QTest::addRow("load") << 0 << QStringLiteral("KORALQuilBlack_host_3")
                              << QByteArray("\0\0\0\0\0\0KORALQuilBlack_host_3\0", 28);
        QTest::addRow("calibration")
            << 25 << QStringLiteral("K_1") << QByteArray("\0\0\x19\0\0\0K_1\0", 10);
        QTest::addRow("wide code")
            << 0x01020304 << QStringLiteral("k") << QByteArray("\0\0\x04\x03\x02\x01k\0", 8);
        QTest::addRow("overlong key stays terminated")
            << 0 << QString(400, QLatin1Char('k'))
            << QByteArray(6, 0) + QByteArray(249, 'k') + QByteArray(1, 0);
    }

    void message_record_layout() {
        QFETCH(int, code);
        QFETCH(QString, key);
        QFETCH(QByteArray, head);
        const host_message_rec record = virtual_mouse_c::message_record(code, key);
        const QByteArray bytes(reinterpret_cast<const char*>(record.bytes), 256);
        QCOMPARE(bytes.left(head.size()), head);
        QCOMPARE(bytes.mid(head.size()), QByteArray(256 - head.size(), 0));
    }

    void commands_two_and_three_store_the_blob_data() {
        QTest::addColumn<int>("code");
        QTest::addRow("all data reset") << 2;
        QTest::addRow("data changed") << 3;
    }

    void commands_two_and_three_store_the_blob() {
        QFETCH(int, code);
        const QByteArray blob(5000, 'b');
        {
            rig_t rig(m_dir->path(), "old");
            QSignalSpy stored(rig.mouse.get(), &virtual_mouse_c::blob_stored);
            rig.kernel.publish(code, blob, rig_t::key());
            QCOMPARE(stored.count(), 1);
            QCOMPARE(stored.first(),
                     QVariantList({code, blob.size(), QString::fromLatin1(md5(blob).toHex())}));
            QCOMPARE(rig.mouse->last_command(), code);
        }
        // The memory survives: a new mouse of the edition holds the blob and
        // gives it to a kernel on attach, in a segment gone once it is read.
        QCOMPARE(file_content(virtual_mouse_c::memory_file(m_dir->path(), 8)),
                 forge().be32(k_memory_magic).be32(1).field(md5(blob)).field(blob).bytes);
        rig_t again(m_dir->path(), QByteArray());
        QCOMPARE(again.kernel.codes(), QVector<int32_t>{0});
        QCOMPARE(again.kernel.messages.first().payload, blob);
        QVERIFY(again.kernel.messages.first().key.startsWith(QStringLiteral("KORALQ_host_")));
        QVERIFY(fake_kernel::read_key(again.kernel.messages.first().key).isEmpty());
        QCOMPARE(again.kernel.commits, 0);
        ctrl_center_c centre;
        // The other edition keeps a memory of its own.
        virtual_mouse_c white(&centre, 9, QStringLiteral("Q"), m_dir->path());
        QVERIFY(!white.has_blob());
    }

    void what_is_not_for_the_mouse_leaves_it_alone() {
        rig_t rig(m_dir->path(), "kept");
        const QByteArray before = file_content(rig.mouse->file());
        QSignalSpy stored(rig.mouse.get(), &virtual_mouse_c::blob_stored);
        // Commands whose data cannot be read.
        rig.kernel.send_command(3, QString());
        QCOMPARE(rig.mouse->last_command(), 3);
        rig.kernel.send_command(2, QStringLiteral("KORAL_no_such_segment_here"));
        QCOMPARE(rig.mouse->last_command(), 2);
        rig.kernel.publish(11, QByteArray("\0\0\0", 3), rig_t::key());
        rig.kernel.send_command(11, QStringLiteral("KORAL_missing_tuning_segment"));
        // Commands of another kernel.
        fake_kernel other;
        other.centre = &rig.centre;
        other.publish(3, "not mine", rig_t::key());
        other.send_command(4, QString());
        // Commands after the kernel let go.
        rig.mouse->detach();
        rig.kernel.publish(3, "after detach", rig_t::key());
        QCOMPARE(stored.count(), 0);
        QCOMPARE(rig.mouse->blob(), QByteArray("kept"));
        QCOMPARE(file_content(rig.mouse->file()), before);
        QVERIFY(!rig.mouse->switched_on());
        QVERIFY(rig.mouse->tuning_commands().isEmpty());
        QVERIFY(!rig.mouse->calibrating());
    }

    void device_commands_set_its_state_data() {
        QTest::addColumn<QVector<int>>("tuning");
        QTest::addColumn<bool>("surface");
        QTest::addColumn<int>("lift");
        QTest::addRow("lift levels") << QVector<int>{6, 8, 7} << false << 2;
        QTest::addRow("accepted calibration") << QVector<int>{2} << true << 0;
        QTest::addRow("discarded calibration") << QVector<int>{3} << false << 0;
        QTest::addRow("surface off after on") << QVector<int>{2, 5, 4} << false << 0;
        QTest::addRow("unknown command") << QVector<int>{99} << false << 0;
    }

    void device_commands_set_its_state() {
        QFETCH(QVector<int>, tuning);
        QFETCH(bool, surface);
        QFETCH(int, lift);
        rig_t rig(m_dir->path());
        QSignalSpy switched(rig.mouse.get(), &virtual_mouse_c::switch_changed);
        rig.kernel.send_command(4, QString());
        QVERIFY(rig.mouse->switched_on());
        for (int c : tuning)
            rig.tune(c);
        rig.kernel.send_command(5, QString());
        QVERIFY(!rig.mouse->switched_on());
        QCOMPARE(switched.count(), 2);
        QCOMPARE(rig.mouse->tuning_commands(), tuning);
        QCOMPARE(rig.mouse->surface_tuning(), surface);
        QCOMPARE(rig.mouse->lift_level(), lift);
        QVERIFY(!rig.mouse->calibrating());
    }

    void calibration_reports_its_outcome_data() {
        QTest::addColumn<bool>("success");
        QTest::addRow("success") << true;
        QTest::addRow("failure") << false;
    }

    void calibration_reports_its_outcome() {
        QFETCH(bool, success);
        rig_t rig(m_dir->path());
        // Switching the surface off cancels a calibration.
        rig.tune(0);
        QVERIFY(rig.mouse->calibrating());
        rig.tune(4);
        QVERIFY(!rig.mouse->calibrating());

        rig.mouse->set_calibration_outcome(success);
        rig.mouse->set_calibration_delay(0);
        QSignalSpy sent(rig.mouse.get(), &virtual_mouse_c::message_sent);
        rig.tune(0);
        QVERIFY(rig.mouse->calibrating());
        QVERIFY(sent.wait());
        QCOMPARE(rig.kernel.codes().last(), 25);
        QCOMPARE(rig.kernel.messages.last().payload, QByteArray(1, success ? 1 : 0));
        // A detached mouse has nobody to report to.
        rig.tune(0);
        rig.mouse->detach();
        QVERIFY(!rig.mouse->calibrating());
    }

    void device_messages_carry_their_records() {
        ctrl_center_c centre;
        virtual_mouse_c idle(&centre, 8, QStringLiteral("Q"), m_dir->path());
        QVERIFY(!idle.send_device_values(QByteArray(4, 1))); // nobody attached
        rig_t rig(m_dir->path());
        QVERIFY(rig.mouse->send_device_values(QByteArray("\x05\x04\x02\x03", 4)));
        QCOMPARE(rig.kernel.messages.last().code, 8);
        QCOMPARE(rig.kernel.messages.last().payload, forge().field("\x05\x04\x02\x03").bytes);

        const QByteArray a(33, 'a');
        const QByteArray b(33, 'b');
        QVERIFY(rig.mouse->send_profile_settings({a, b}));
        QCOMPARE(rig.kernel.messages.last().code, 14);
        QCOMPARE(rig.kernel.messages.last().payload, forge().be32(2).field(a).field(b).bytes);

        const int sent = rig.kernel.messages.size();
        QVERIFY(!rig.mouse->send_device_values(QByteArray(5, 0)));
        QVERIFY(!rig.mouse->send_profile_settings({a, QByteArray(32, 'c')}));
        QVERIFY(!rig.mouse->send_profile_settings({a, a, a, a, a, a}));
        QCOMPARE(rig.kernel.messages.size(), sent);
    }

    void damaged_memory_file_starts_from_the_factory_data() {
        QTest::addColumn<QByteArray>("content");
        const QByteArray blob("profile set");
        const QByteArray good = virtual_mouse_c::file_bytes(blob);
        const auto head = [](quint32 magic, quint32 version) {
            return forge().be32(magic).be32(version);
        };
        QTest::addRow("cut in the head") << good.left(5);
        QTest::addRow("cut in the blob") << good.left(good.size() - 3);
        QTest::addRow("foreign magic") << head(7, 1).field(md5(blob)).field(blob).bytes;
        QTest::addRow("unknown version")
            << head(k_memory_magic, 2).field(md5(blob)).field(blob).bytes;
        QTest::addRow("checksum of other bytes")
            << head(k_memory_magic, 1).field(md5("other")).field(blob).bytes;
        QTest::addRow("blob length near 4 GiB")
            << head(k_memory_magic, 1).field(md5(blob)).be32(0xFFFFFFF0).raw(blob).bytes;
        QTest::addRow("checksum field of 2 GiB") << head(k_memory_magic, 1).be32(0x7FFFFFFF).bytes;
        QTest::addRow("empty blob") << head(k_memory_magic, 1).field(md5("")).field("").bytes;
        QTest::addRow("bytes after the blob") << good + "x";
    }

    void damaged_memory_file_starts_from_the_factory() {
        QFETCH(QByteArray, content);
        const QString file = virtual_mouse_c::memory_file(m_dir->path(), 8);
        QVERIFY(write_file(file, content));
        ctrl_center_c centre;
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        QVERIFY(!mouse.has_blob());
        QVERIFY(!QFile::exists(file));
        QCOMPARE(file_content(file + QStringLiteral(".damaged")), content);
    }

    void fresh_memory_takes_the_kernel_s_defaults_data() {
        QTest::addColumn<QByteArray>("memory");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("service");
        QTest::addColumn<QVector<int32_t>>("codes");
        QTest::addRow("factory fresh") << QByteArray() << true << true << QVector<int32_t>{8, 0};
        QTest::addRow("memory the kernel refuses")
            << QByteArray("from elsewhere") << false << true << QVector<int32_t>{0, 8, 0};
        // Without the host's section nothing marks the memory: it waits.
        QTest::addRow("no host service") << QByteArray() << true << false << QVector<int32_t>{8};
    }

    void fresh_memory_takes_the_kernel_s_defaults() {
        QFETCH(QByteArray, memory);
        QFETCH(bool, accepted);
        QFETCH(bool, service);
        QFETCH(QVector<int32_t>, codes);
        const QString file = virtual_mouse_c::memory_file(m_dir->path(), 8);
        if (!memory.isEmpty())
            QVERIFY(write_file(file, virtual_mouse_c::file_bytes(memory)));
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.centre = &centre;
        kernel.accepts_blobs = accepted;
        profile_service_c host_section;
        if (service)
            kernel.service = &host_section;
        kernel.publish_on_commit = QByteArray("the kernel's defaults");
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        mouse.attach(&kernel);
        // The device reports its values, the host marks its section, the
        // kernel commits, and what it published comes back as loaded.
        QCOMPARE(kernel.codes(), codes);
        QCOMPARE(kernel.messages.at(codes.indexOf(8)).payload,
                 forge().field(QByteArray("\x05\x04\x00\x01", 4)).bytes);
        QCOMPARE(kernel.commits, service ? 1 : 0);
        QCOMPARE(mouse.has_blob(), service);
        QCOMPARE(QFile::exists(file), service);
        if (!memory.isEmpty())
            QCOMPARE(file_content(file + QStringLiteral(".damaged")),
                     virtual_mouse_c::file_bytes(memory));
        if (!service)
            return;
        QVERIFY(host_section.note().startsWith(QStringLiteral("Memory initialised by koral on ")));
        QCOMPARE(kernel.messages.last().payload, QByteArray("the kernel's defaults"));
        QCOMPARE(mouse.blob(), QByteArray("the kernel's defaults"));
        // A factory reset forgets the memory, file and all.
        mouse.factory_reset();
        QVERIFY(!mouse.has_blob());
        QVERIFY(!QFile::exists(file));
        QVERIFY(!mouse.send_stored_blob());
    }

    // ----------------------------------------------------------- devices and timers

    void device_and_timer_lists_keep_identifiers_unique() {
        device_list_c devices;
        const auto samples = device_list_c::sample_devices();
        for (const device_list_c::device_t& d : samples)
            QVERIFY(devices.add(d));
        QVERIFY(!devices.add({QStringLiteral("Twin"), 0x1234, samples.first().identifier}));
        QVERIFY(!devices.add({QStringLiteral("  "), 0x1234, 0x7777}));
        QCOMPARE(devices.count(), samples.size());
        QVERIFY(devices.remove(samples.first().identifier));
        QVERIFY(!devices.remove(samples.first().identifier));

        timer_list_c timers;
        for (const timer_list_c::timer_t& t : timer_list_c::sample_timers())
            QVERIFY(timers.add(t));
        QCOMPARE(timers.name_of(0x1002), QStringLiteral("Buff"));
        QVERIFY(!timers.add({0x1002, QStringLiteral("Again"), 1000}));
        QVERIFY(!timers.add({0x2000, QStringLiteral("Zero"), 0}));
        QVERIFY(!timers.add({0x2001, QString(), 1000}));
        QVERIFY(timers.add({0x2002, QString(100, QLatin1Char('n')), 1000}));
        QCOMPARE(timers.name_of(0x2002).size(), timer_list_c::max_name_chars);
        QVERIFY(timers.rename(0x1002, QStringLiteral(" Shield ")));
        QCOMPARE(timers.name_of(0x1002), QStringLiteral("Shield"));
        QVERIFY(!timers.rename(0x1002, QStringLiteral(" ")));
        QVERIFY(timers.remove(0x1002));
        QVERIFY(!timers.remove(0x1002));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(test_device_host)
#include "test_device_host.moc"
