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
#include <QSettings>
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
    forge& be64(quint64 v) {
        char b[8];
        qToBigEndian<quint64>(v, b);
        bytes.append(b, 8);
        return *this;
    }
    forge& raw(const QByteArray& b) {
        bytes.append(b);
        return *this;
    }
    forge& field(const QByteArray& b) { return be32(quint32(b.size())).raw(b); }
    forge& text(const QString& s) {
        be32(quint32(s.size() * 2));
        for (QChar c : s) {
            bytes.append(char(c.unicode() >> 8));
            bytes.append(char(c.unicode() & 0xFF));
        }
        return *this;
    }
};

QByteArray md5(const QByteArray& b) {
    return QCryptographicHash::hash(b, QCryptographicHash::Md5);
}

QByteArray file_content(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write_file(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
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

QByteArray tuning_payload(qint32 command) {
    return forge().be32(quint32(command)).bytes;
}

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

    void section_is_magic_version_note_in_stream_form() {
        profile_service_c service;
        service.set_note(QStringLiteral("Né 1"));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        service.write_section(&buffer);
        const QByteArray expected =
            forge().be32(0x4B525331).be32(1).text(QStringLiteral("Né 1")).bytes;
        QCOMPARE(buffer.data(), expected);
        QCOMPARE(service.journal().last().call, profile_service_c::call_t::write_section);
        QCOMPARE(service.journal().last().value, expected.size());
    }

    void section_read_back_after_other_elements() {
        profile_service_c writer;
        writer.set_note(QStringLiteral("initialised"));
        // The section follows the module's own elements in the same device.
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        buffer.write("module elements");
        writer.write_section(&buffer);
        buffer.seek(qstrlen("module elements"));

        profile_service_c reader;
        reader.begin_read();
        reader.read_section(&buffer);
        QCOMPARE(reader.note(), QStringLiteral("initialised"));
        QVERIFY(reader.section_taken());
        QCOMPARE(reader.journal().size(), 2);
        QCOMPARE(reader.journal().at(0).call, profile_service_c::call_t::begin_read);
        QCOMPARE(reader.journal().at(1).call, profile_service_c::call_t::read_section);
        QCOMPARE(reader.journal().at(1).value, 1);
    }

    void hostile_section_keeps_the_note_data() {
        QTest::addColumn<QByteArray>("section");
        const QString note = QStringLiteral("abc");
        QTest::addRow("missing") << QByteArray();
        QTest::addRow("magic only") << forge().be32(0x4B525331).bytes;
        QTest::addRow("foreign magic") << forge().be32(0x12345678).be32(1).text(note).bytes;
        QTest::addRow("version 0") << forge().be32(0x4B525331).be32(0).text(note).bytes;
        QTest::addRow("note length odd")
            << forge().be32(0x4B525331).be32(1).be32(3).raw("abc").bytes;
        QTest::addRow("note longer than the data")
            << forge().be32(0x4B525331).be32(1).be32(40).raw("ab").bytes;
        QTest::addRow("note length near 2 GiB")
            << forge().be32(0x4B525331).be32(1).be32(0x7FFFFFFE).bytes;
        QTest::addRow("note longer than a note may be")
            << forge().be32(0x4B525331).be32(1).text(QString(1025, QLatin1Char('x'))).bytes;
        QTest::addRow("section longer than a section may be")
            << forge().be32(0x4B525331).be32(1).text(note).raw(QByteArray(5000, 'z')).bytes;
        QTest::addRow("garbage") << QByteArray("\xff\x01\x02", 3);
    }

    void hostile_section_keeps_the_note() {
        QFETCH(QByteArray, section);
        profile_service_c service;
        service.set_note(QStringLiteral("kept"));
        QBuffer buffer(&section);
        buffer.open(QIODevice::ReadOnly);
        service.begin_read();
        service.read_section(&buffer);
        QCOMPARE(service.note(), QStringLiteral("kept"));
        QVERIFY(!service.section_taken());
        QCOMPARE(service.journal().last().value, 0);
    }

    void section_of_a_later_host_is_taken() {
        // A later layout appends fields after the note; the note is still ours.
        QByteArray section =
            forge().be32(0x4B525331).be32(2).text(QStringLiteral("later")).be32(77).bytes;
        QBuffer buffer(&section);
        buffer.open(QIODevice::ReadOnly);
        profile_service_c service;
        service.read_section(&buffer);
        QCOMPARE(service.note(), QStringLiteral("later"));
        QVERIFY(service.section_taken());
    }

    void section_without_device_is_ignored() {
        profile_service_c service;
        service.set_note(QStringLiteral("n"));
        service.read_section(nullptr);
        service.write_section(nullptr);
        QCOMPARE(service.note(), QStringLiteral("n"));
        QCOMPARE(service.journal().size(), 2);
    }

    void service_keeps_its_kernel_and_events() {
        fake_kernel kernel;
        profile_service_c service;
        QCOMPARE(service.service_op_4(), 0);
        service.set_kernel(&kernel, 0x0302);
        QCOMPARE(service.kernel(), static_cast<product_kernel_i*>(&kernel));
        QCOMPARE(service.service_op_4(), 0x0302);
        service.product_event();
        service.product_event();
        QCOMPARE(service.product_events(), 2);
        using c = profile_service_c::call_t;
        QVector<c> calls;
        for (const auto& e : service.journal())
            calls.append(e.call);
        QCOMPARE(calls, (QVector<c>{c::service_op_4, c::set_kernel, c::service_op_4,
                                    c::product_event, c::product_event}));
    }

    void host_makes_profile_services_for_kernels() {
        ctrl_center_c centre;
        module_host_c host(&centre);
        const int before = profile_service_c::live_count();
        interface_i* answer = host.create_instance(0x1301, iid_of<profile_service_i>::value);
        QVERIFY(answer);
        auto* service = static_cast<profile_service_i*>(answer);
        QVERIFY(profile_service_c::of(service));
        QCOMPARE(profile_service_c::live_count(), before + 1);
        // Only the interface it implements is handed out.
        QCOMPARE(host.create_instance(0x1301, iid_of<product_kernel_i>::value), nullptr);
        QCOMPARE(profile_service_c::live_count(), before + 1);
        service->release();
        QCOMPARE(profile_service_c::live_count(), before);
        QCOMPARE(profile_service_c::of(service), nullptr);
    }

    // ------------------------------------------------------------------------ hub

    void hub_starts_with_the_defaults() {
        hub_c hub(m_dir->path());
        const uint8_t* bytes = hub.hub_bytes();
        const QByteArray seven(reinterpret_cast<const char*>(bytes), 7);
        // precision on, snap off, lines, 3 lines, 3 characters, middle speed, pointer 0
        QCOMPARE(seven, QByteArray("\x01\x00\x00\x03\x03\x05\x00", 7));
        QCOMPARE(hub.macro_library(), static_cast<macro_library_i*>(hub.library()));
    }

    void reset_restores_one_setting_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("after");
        // Every byte set off its default first: 0, 1, 1, 9, 8, 2, 0xFD (-3).
        QTest::addRow("pointer speed and its options")
            << 2 << QByteArray("\x01\x00\x01\x09\x08\x02\x00", 7);
        QTest::addRow("vertical scroll and its mode")
            << 3 << QByteArray("\x00\x01\x00\x03\x08\x02\xFD", 7);
        QTest::addRow("horizontal scroll") << 4 << QByteArray("\x00\x01\x01\x09\x03\x02\xFD", 7);
        QTest::addRow("double-click speed") << 5 << QByteArray("\x00\x01\x01\x09\x08\x05\xFD", 7);
        QTest::addRow("sensitivity is not the hub's")
            << 0 << QByteArray("\x00\x01\x01\x09\x08\x02\xFD", 7);
        QTest::addRow("unknown type") << 6 << QByteArray("\x00\x01\x01\x09\x08\x02\xFD", 7);
        QTest::addRow("negative type") << -1 << QByteArray("\x00\x01\x01\x09\x08\x02\xFD", 7);
    }

    void reset_restores_one_setting() {
        QFETCH(int, type);
        QFETCH(QByteArray, after);
        hub_c hub(m_dir->path());
        hub.set_pointer_options(false, true);
        hub.set_vertical_scroll(9, true);
        hub.set_horizontal_scroll(8);
        hub.set_double_click_speed(2);
        hub.set_pointer_speed(-3);
        hub.reset_hub_setting(type);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(hub.hub_bytes()), 7), after);
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
    }

    void values_are_clamped_to_their_ranges() {
        QFETCH(int, index);
        QFETCH(int, value);
        QFETCH(int, kept);
        QFETCH(int, byte);
        hub_c hub(m_dir->path());
        QVERIFY(hub.set_value(index, value));
        QCOMPARE(hub.value(index), kept);
        QCOMPARE(int(hub.hub_bytes()[index]), byte);
    }

    void unknown_byte_index_is_refused() {
        hub_c hub{QString()};
        QSignalSpy changed(&hub, &hub_c::bytes_changed);
        QVERIFY(!hub.set_value(7, 1));
        QVERIFY(!hub.set_value(-1, 1));
        QCOMPARE(changed.count(), 0);
    }

    void value_controls_reach_the_hub_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("index");
        QTest::addRow("pointer speed") << 2 << 6;
        QTest::addRow("vertical scroll") << 3 << 3;
        QTest::addRow("horizontal scroll") << 4 << 4;
        QTest::addRow("double-click speed") << 5 << 5;
    }

    void value_controls_reach_the_hub() {
        QFETCH(int, type);
        QFETCH(int, index);
        hub_c hub{QString()};
        auto* listener = query<value_ctrl_funcs_listener_i>(static_cast<hub_i*>(&hub));
        QVERIFY(listener);
        QVERIFY(query<listener_i>(static_cast<hub_i*>(&hub)));
        const hub_c::bytes_t before = hub.bytes();
        listener->value_changed(type, 4);
        QCOMPARE(hub.value(index), 4);
        for (int i = 0; i < hub_c::byte_count; ++i) {
            if (i != index)
                QCOMPARE(hub.bytes()[i], before[i]);
        }
        // Sensitivity (type 0) belongs to the profile, not to the hub.
        listener->value_changed(0, 1);
        QCOMPARE(hub.value(index), 4);
    }

    void hub_settings_survive_a_restart() {
        {
            hub_c hub(m_dir->path());
            hub.set_pointer_speed(-2);
            hub.set_vertical_scroll(7, true);
            hub.set_double_click_speed(9);
        }
        hub_c again(m_dir->path());
        QCOMPARE(again.value(hub_c::pointer_speed), -2);
        QCOMPARE(again.value(hub_c::vertical_scroll), 7);
        QCOMPARE(again.value(hub_c::scroll_by_page), 1);
        QCOMPARE(again.value(hub_c::double_click_speed), 9);
        QCOMPARE(again.value(hub_c::horizontal_scroll), 3);
    }

    void damaged_hub_settings_fall_back_per_value() {
        {
            QSettings ini(m_dir->filePath(QStringLiteral("hub.ini")), QSettings::IniFormat);
            ini.setValue(QStringLiteral("pointer/speed"), QStringLiteral("fast"));
            ini.setValue(QStringLiteral("scroll/vertical"), 400);
            ini.setValue(QStringLiteral("scroll/horizontal"), -3);
            ini.setValue(QStringLiteral("double_click/speed"), 8);
        }
        hub_c hub(m_dir->path());
        QCOMPARE(hub.value(hub_c::pointer_speed), 0);
        QCOMPARE(hub.value(hub_c::vertical_scroll), 3);
        QCOMPARE(hub.value(hub_c::horizontal_scroll), 3);
        QCOMPARE(hub.value(hub_c::double_click_speed), 8);
    }

    void oversized_hub_settings_are_not_read() {
        QByteArray ini = "[pointer]\nspeed=4\n";
        ini += "; " + QByteArray(70 * 1024, 'x') + "\n";
        write_file(m_dir->filePath(QStringLiteral("hub.ini")), ini);
        hub_c hub(m_dir->path());
        QCOMPARE(hub.value(hub_c::pointer_speed), 0);
    }

    void hub_keeps_one_entry_per_listener_and_closes_them() {
        QStringList journal;
        macro_probe a(&journal, QStringLiteral("a"), true);
        macro_probe b(&journal, QStringLiteral("b"), false);
        {
            hub_c hub{QString()};
            auto* manager = query<listener_mgr_i>(static_cast<hub_i*>(&hub));
            QVERIFY(manager);
            manager->add_listener(&a);
            manager->add_listener(&a);
            manager->add_listener(&b);
            manager->add_listener(nullptr);
            QCOMPARE(hub.listeners().size(), 2);
            manager->remove_listener(&b);
            manager->remove_listener(&b);
            QCOMPARE(hub.listeners(), QVector<listener_i*>{&a});
        }
        QCOMPARE(journal, QStringList{QStringLiteral("a closing")});
    }

    void library_changes_reach_macro_listeners_in_order() {
        QStringList journal;
        macro_probe first(&journal, QStringLiteral("first"), true);
        macro_probe plain(&journal, QStringLiteral("plain"), false);
        macro_probe second(&journal, QStringLiteral("second"), true);
        hub_c hub{QString()};
        hub.add_listener(&first);
        hub.add_listener(&plain);
        hub.add_listener(&second);
        second.matches = true;
        macro_library_c* library = hub.library();
        const int group = library->create_group(QStringLiteral("G"));
        QCOMPARE(journal, QStringList{});
        const int macro = library->create_macro(group, QStringLiteral("M"), {});
        QVERIFY(library->delete_macro(group, macro));
        QCOMPARE(journal,
                 (QStringList{QStringLiteral("first +G/M"), QStringLiteral("second +G/M"),
                              QStringLiteral("first -G/M"), QStringLiteral("second -G/M")}));
        // What the kernels answer comes back to the host.
        QVERIFY(hub.notify_macros_changed({}));
        second.matches = false;
        QVERIFY(!hub.notify_macros_changed({}));
    }

    void listener_leaving_during_a_round_is_not_told() {
        QStringList journal;
        macro_probe first(&journal, QStringLiteral("first"), true);
        macro_probe second(&journal, QStringLiteral("second"), true);
        hub_c hub{QString()};
        hub.add_listener(&first);
        hub.add_listener(&second);
        first.on_call = [&] {
            hub.remove_listener(&second);
        };
        hub.notify_macros_changed({});
        QCOMPARE(journal, QStringList{QStringLiteral("first ")});
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
    }

    void typed_keys_press_and_release_each_key() {
        const QVector<library_key> keys = macro_library_c::typed_keys(QStringLiteral("a1é!"), 30);
        const QVector<library_key> expected = {
            {1, 'A', 0, 30}, {2, 'A', 0, 30}, {1, '1', 0, 30}, {2, '1', 0, 30}};
        QCOMPARE(keys, expected);
    }

    void person_operations_refuse_what_would_be_ambiguous_data() {
        QTest::addColumn<QString>("operation");
        QTest::addRow("empty group name") << QStringLiteral("group ''");
        QTest::addRow("blank group name") << QStringLiteral("group '  '");
        QTest::addRow("duplicate group") << QStringLiteral("group 'Games'");
        QTest::addRow("group rename to a taken name") << QStringLiteral("rename group 1 'Games'");
        QTest::addRow("rename missing group") << QStringLiteral("rename group 5 'X'");
        QTest::addRow("macro in missing group") << QStringLiteral("macro 7 'X'");
        QTest::addRow("empty macro name") << QStringLiteral("macro 0 ''");
        QTest::addRow("duplicate macro") << QStringLiteral("macro 0 'Jump'");
        QTest::addRow("macro rename to a taken name") << QStringLiteral("rename macro 0 1 'Jump'");
        QTest::addRow("rename missing macro") << QStringLiteral("rename macro 0 9 'X'");
        QTest::addRow("keys of missing macro") << QStringLiteral("keys 0 -1");
        QTest::addRow("delete missing macro") << QStringLiteral("delete macro 1 0");
        QTest::addRow("delete missing group") << QStringLiteral("delete group 2");
    }

    void person_operations_refuse_what_would_be_ambiguous() {
        QFETCH(QString, operation);
        macro_library_c library(m_dir->filePath(QStringLiteral("lib.dat")));
        QCOMPARE(library.create_group(QStringLiteral("Games")), 0);
        QCOMPARE(library.create_group(QStringLiteral("Work")), 1);
        QCOMPARE(library.create_macro(0, QStringLiteral("Jump"), {}), 0);
        QCOMPARE(library.create_macro(0, QStringLiteral("Duck"), {}), 1);
        const QByteArray before = file_content(library.file());
        QSignalSpy changed(&library, &macro_library_c::library_changed);
        const QList<QList<library_item>>& told = *announcements(&library);

        const QStringList w = operation.split(QLatin1Char(' '));
        const auto quoted = [&operation] {
            return operation.section(QLatin1Char('\''), 1, 1);
        };
        bool done = true;
        if (w[0] == "group")
            done = library.create_group(quoted()) >= 0;
        else if (w[0] == "rename" && w[1] == "group")
            done = library.rename_group(w[2].toInt(), quoted());
        else if (w[0] == "macro")
            done = library.create_macro(w[1].toInt(), quoted(), {}) >= 0;
        else if (w[0] == "rename" && w[1] == "macro")
            done = library.rename_macro(w[2].toInt(), w[3].toInt(), quoted());
        else if (w[0] == "keys")
            done = library.set_macro_keys(w[1].toInt(), w[2].toInt(), {});
        else if (w[0] == "delete" && w[1] == "macro")
            done = library.delete_macro(w[2].toInt(), w[3].toInt());
        else if (w[0] == "delete" && w[1] == "group")
            done = library.delete_group(w[2].toInt());
        else
            QFAIL("unknown operation in the test data");
        QVERIFY(!done);
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
        QCOMPARE(item(2).record.name(), QStringLiteral("Leap"));
        QCOMPARE(item(3).group_name, QStringLiteral("Play"));
        // Deleting a group reports each macro as deleted, with its last form.
        QVERIFY(item(4).deleted());
        QCOMPARE(item(4).group_name, QStringLiteral("Play"));
        QCOMPARE(item(4).record.key_count(), uint16_t(4));
        QCOMPARE(library.group_count(), 0);
    }

    void module_additions_are_kept_but_not_announced() {
        macro_library_c library(m_dir->filePath(QStringLiteral("lib.dat")));
        const QList<QList<library_item>>& told = *announcements(&library);
        macro_library_i* seen = &library;
        const int group = seen->add_group(QStringLiteral("My Macros"));
        QCOMPARE(group, 0);
        QCOMPARE(seen->find_group(QStringLiteral("My Macros")), 0);
        QCOMPARE(seen->find_group(QStringLiteral("my macros")), -1);
        library_macro_rec record = macro_library_c::make_record(QStringLiteral("A"), {});
        QCOMPARE(seen->add_macro(group, record), 0);
        QCOMPARE(seen->add_macro(3, record), -1);
        record.set_name(QStringLiteral("B"));
        QVERIFY(seen->replace_macro(group, 0, record));
        QVERIFY(!seen->replace_macro(group, 1, record));
        QCOMPARE(seen->macro_record(group, 0)->name(), QStringLiteral("B"));
        QCOMPARE(seen->macro_record(group, 1), nullptr);
        QCOMPARE(seen->macro_record(-1, 0), nullptr);
        QCOMPARE(seen->macro_count(9), 0);
        QCOMPARE(seen->group_name(9), QString());
        QCOMPARE(told.count(), 0);
        macro_library_c again(library.file());
        QVERIFY(again.load());
        QCOMPARE(again.macro_record(0, 0)->name(), QStringLiteral("B"));
    }

    void library_file_layout_and_round_trip() {
        const QString file = m_dir->filePath(QStringLiteral("lib.dat"));
        macro_library_c library(file);
        library.create_group(QStringLiteral("G"));
        library.create_macro(0, QStringLiteral("M"), macro_library_c::typed_keys("x"));
        const QByteArray expected = forge()
                                        .be64(0x4B4D41434C494231ull)
                                        .be32(1)
                                        .be32(1)
                                        .text(QStringLiteral("G"))
                                        .be32(1)
                                        .field(library.macro_record(0, 0)->to_bytes())
                                        .bytes;
        QCOMPARE(file_content(file), expected);
        macro_library_c again(file);
        QVERIFY(again.load());
        QCOMPARE(again.group_count(), 1);
        QCOMPARE(*again.macro_record(0, 0), *library.macro_record(0, 0));
    }

    void damaged_library_file_is_put_aside_data() {
        QTest::addColumn<QByteArray>("content");
        const QByteArray record = macro_library_c::make_record(QStringLiteral("M"), {}).to_bytes();
        const auto head = [](quint32 groups) {
            return forge().be64(0x4B4D41434C494231ull).be32(1).be32(groups);
        };
        QTest::addRow("cut inside the head") << QByteArray("KMACL", 5);
        QTest::addRow("foreign magic") << forge().be64(1).be32(1).be32(0).bytes;
        QTest::addRow("unknown version")
            << forge().be64(0x4B4D41434C494231ull).be32(9).be32(0).bytes;
        QTest::addRow("negative group count") << head(0xFFFFFFFF).bytes;
        QTest::addRow("group count beyond the limit") << head(100000).bytes;
        QTest::addRow("group count beyond the data") << head(3).text("G").be32(0).bytes;
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
        write_file(file, content);
        QVERIFY(!library.load());
        // What the library held stays; the damaged file waits beside it.
        QCOMPARE(library.group_count(), 1);
        QCOMPARE(library.group_name(0), QStringLiteral("Held"));
        QVERIFY(!QFile::exists(file));
        QCOMPARE(file_content(file + QStringLiteral(".damaged")), content);
    }

    void absent_library_file_gives_an_empty_library() {
        macro_library_c library(m_dir->filePath(QStringLiteral("none.dat")));
        QVERIFY(library.load());
        QCOMPARE(library.group_count(), 0);
    }

    void macro_panel_works_on_the_library() {
        ctrl_center_c centre;
        macro_library_c library(m_dir->filePath(QStringLiteral("lib.dat")));
        macro_panel_c panel(&library, &centre);
        panel.set_dialogs_enabled(false);
        const QList<QList<library_item>>& told = *announcements(&library);
        auto* tree = panel.findChild<QTreeWidget*>(QStringLiteral("tw_macros"));
        QVERIFY(tree);

        // Without dialogs and without answers nothing happens.
        QVERIFY(!panel.new_group());
        QVERIFY(panel.new_group(QStringLiteral("Games")));
        QVERIFY(panel.new_macro(QStringLiteral("Hello"), QStringLiteral("hi")));
        QCOMPARE(tree->topLevelItemCount(), 1);
        QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("Hello"));
        QCOMPARE(tree->topLevelItem(0)->child(0)->text(1), QStringLiteral("4"));
        QCOMPARE(panel.selected_macro(), 0);

        QVERIFY(!panel.new_macro(QStringLiteral("Hello"), QStringLiteral("x")));
        QVERIFY(!panel.message().isEmpty());
        QVERIFY(panel.rename_selected(QStringLiteral("Greet")));
        QCOMPARE(library.macro_record(0, 0)->name(), QStringLiteral("Greet"));
        QVERIFY(panel.message().isEmpty());
        panel.select(0);
        QVERIFY(panel.rename_selected(QStringLiteral("Play")));
        QCOMPARE(library.group_name(0), QStringLiteral("Play"));

        panel.select(0, 0);
        QVERIFY(panel.delete_selected());
        QCOMPARE(library.macro_count(0), 0);
        QCOMPARE(panel.selected_group(), 0);
        QVERIFY(told.last().value(0).deleted());
        QVERIFY(panel.delete_selected());
        QCOMPARE(library.group_count(), 0);
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

    void overlong_key_stays_terminated() {
        const host_message_rec record =
            virtual_mouse_c::message_record(0, QString(400, QLatin1Char('k')));
        QCOMPARE(record.bytes[255], uint8_t(0));
        QCOMPARE(record.bytes[254], uint8_t('k'));
    }

    void stored_blob_goes_to_the_kernel_on_attach() {
        const QByteArray blob("a profile set", 13);
        write_file(virtual_mouse_c::memory_file(m_dir->path(), 8),
                   virtual_mouse_c::file_bytes(blob));
        ctrl_center_c centre;
        fake_kernel kernel;
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("QuilBlack"), m_dir->path());
        QVERIFY(mouse.has_blob());
        mouse.attach(&kernel);
        QCOMPARE(kernel.codes(), QVector<int32_t>{0});
        QCOMPARE(kernel.messages.first().payload, blob);
        QVERIFY(kernel.messages.first().key.startsWith(QStringLiteral("KORALQuilBlack_host_")));
        // The segment is gone once the message is handled.
        QVERIFY(fake_kernel::read_key(kernel.messages.first().key).isEmpty());
        QCOMPARE(kernel.commits, 0);
    }

    void commands_two_and_three_store_the_blob_data() {
        QTest::addColumn<int>("code");
        QTest::addRow("all data reset") << 2;
        QTest::addRow("data changed") << 3;
    }

    void commands_two_and_three_store_the_blob() {
        QFETCH(int, code);
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.centre = &centre;
        kernel.loaded = true;
        write_file(virtual_mouse_c::memory_file(m_dir->path(), 9),
                   virtual_mouse_c::file_bytes("old"));
        const QByteArray blob(5000, 'b');
        {
            virtual_mouse_c mouse(&centre, 9, QStringLiteral("QuilWhite"), m_dir->path());
            mouse.attach(&kernel);
            QSignalSpy stored(&mouse, &virtual_mouse_c::blob_stored);
            kernel.publish(code, blob, fake_kernel::unique_key());
            QCOMPARE(stored.count(), 1);
            QCOMPARE(stored.first().at(0).toInt(), code);
            QCOMPARE(stored.first().at(1).toInt(), blob.size());
            QCOMPARE(stored.first().at(2).toString(), QString::fromLatin1(md5(blob).toHex()));
            QCOMPARE(mouse.last_command(), code);
        }
        // The memory survives: a new mouse of the edition holds the blob.
        virtual_mouse_c again(&centre, 9, QStringLiteral("QuilWhite"), m_dir->path());
        QCOMPARE(again.blob(), blob);
        const QByteArray file = file_content(again.file());
        QCOMPARE(file, forge().be32(0x4B564D31).be32(1).field(md5(blob)).field(blob).bytes);
    }

    void commands_without_data_leave_the_memory_data() {
        QTest::addColumn<QString>("key");
        QTest::addRow("empty key") << QString();
        QTest::addRow("no such segment") << QStringLiteral("KORAL_no_such_segment_here");
    }

    void commands_without_data_leave_the_memory() {
        QFETCH(QString, key);
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.centre = &centre;
        write_file(virtual_mouse_c::memory_file(m_dir->path(), 8),
                   virtual_mouse_c::file_bytes("kept"));
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        kernel.loaded = true;
        mouse.attach(&kernel);
        const QByteArray before = file_content(mouse.file());
        QSignalSpy stored(&mouse, &virtual_mouse_c::blob_stored);
        kernel.send_command(3, key);
        QCOMPARE(stored.count(), 0);
        QCOMPARE(mouse.blob(), QByteArray("kept"));
        QCOMPARE(file_content(mouse.file()), before);
        QCOMPARE(mouse.last_command(), 3);
    }

    void commands_of_other_kernels_are_not_the_mouse_s() {
        ctrl_center_c centre;
        fake_kernel mine;
        fake_kernel other;
        other.centre = &centre;
        write_file(virtual_mouse_c::memory_file(m_dir->path(), 8),
                   virtual_mouse_c::file_bytes("mine"));
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        mine.centre = &centre;
        mouse.attach(&mine);
        const QByteArray blob = mouse.blob();
        QCOMPARE(blob, QByteArray("mine"));
        other.publish(3, "not mine", fake_kernel::unique_key());
        other.send_command(4, QString());
        QCOMPARE(mouse.blob(), blob);
        QVERIFY(!mouse.switched_on());
        mouse.detach();
        mine.publish(3, "after detach", fake_kernel::unique_key());
        QCOMPARE(mouse.blob(), blob);
    }

    void switch_commands_set_the_switch() {
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.centre = &centre;
        kernel.loaded = true;
        write_file(virtual_mouse_c::memory_file(m_dir->path(), 8),
                   virtual_mouse_c::file_bytes("m"));
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        mouse.attach(&kernel);
        QSignalSpy switched(&mouse, &virtual_mouse_c::switch_changed);
        kernel.send_command(4, QString());
        QVERIFY(mouse.switched_on());
        kernel.send_command(5, QString());
        QVERIFY(!mouse.switched_on());
        QCOMPARE(switched.count(), 2);
        QCOMPARE(switched.at(0).at(0).toBool(), true);
        QCOMPARE(switched.at(1).at(0).toBool(), false);
    }

    void tuning_commands_set_the_sensor_data() {
        QTest::addColumn<QVector<int>>("commands");
        QTest::addColumn<bool>("surface");
        QTest::addColumn<int>("lift");
        QTest::addRow("lift levels") << QVector<int>{6, 8, 7} << false << 2;
        QTest::addRow("accepted calibration") << QVector<int>{2} << true << 0;
        QTest::addRow("discarded calibration") << QVector<int>{3} << false << 0;
        QTest::addRow("surface off after on") << QVector<int>{2, 5, 4} << false << 0;
        QTest::addRow("unknown command") << QVector<int>{99} << false << 0;
    }

    void tuning_commands_set_the_sensor() {
        QFETCH(QVector<int>, commands);
        QFETCH(bool, surface);
        QFETCH(int, lift);
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.centre = &centre;
        kernel.loaded = true;
        write_file(virtual_mouse_c::memory_file(m_dir->path(), 8),
                   virtual_mouse_c::file_bytes("m"));
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        mouse.attach(&kernel);
        for (int c : commands)
            kernel.publish(11, tuning_payload(c), fake_kernel::unique_key());
        QCOMPARE(mouse.tuning_commands(), commands);
        QCOMPARE(mouse.surface_tuning(), surface);
        QCOMPARE(mouse.lift_level(), lift);
        QVERIFY(!mouse.calibrating());
    }

    void calibration_reports_its_outcome_data() {
        QTest::addColumn<bool>("success");
        QTest::addRow("success") << true;
        QTest::addRow("failure") << false;
    }

    void calibration_reports_its_outcome() {
        QFETCH(bool, success);
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.centre = &centre;
        kernel.loaded = true;
        write_file(virtual_mouse_c::memory_file(m_dir->path(), 8),
                   virtual_mouse_c::file_bytes("m"));
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        mouse.attach(&kernel);
        mouse.set_calibration_outcome(success);
        mouse.set_calibration_delay(0);
        QSignalSpy sent(&mouse, &virtual_mouse_c::message_sent);
        kernel.publish(11, tuning_payload(0), fake_kernel::unique_key());
        QVERIFY(mouse.calibrating());
        QVERIFY(sent.wait());
        QCOMPARE(kernel.codes().last(), 25);
        QCOMPARE(kernel.messages.last().payload, QByteArray(1, success ? 1 : 0));
    }

    void switching_the_surface_off_cancels_a_calibration() {
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.centre = &centre;
        kernel.loaded = true;
        write_file(virtual_mouse_c::memory_file(m_dir->path(), 8),
                   virtual_mouse_c::file_bytes("m"));
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        mouse.attach(&kernel);
        kernel.publish(11, tuning_payload(0), fake_kernel::unique_key());
        QVERIFY(mouse.calibrating());
        kernel.publish(11, tuning_payload(4), fake_kernel::unique_key());
        QVERIFY(!mouse.calibrating());
        // A detached mouse has nobody to report to.
        kernel.publish(11, tuning_payload(0), fake_kernel::unique_key());
        mouse.detach();
        QVERIFY(!mouse.calibrating());
    }

    void broken_tuning_commands_are_ignored_data() {
        QTest::addColumn<QByteArray>("payload");
        QTest::addRow("two bytes") << QByteArray("\0\0", 2);
        QTest::addRow("three bytes") << QByteArray("\0\0\0", 3);
    }

    void broken_tuning_commands_are_ignored() {
        QFETCH(QByteArray, payload);
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.centre = &centre;
        kernel.loaded = true;
        write_file(virtual_mouse_c::memory_file(m_dir->path(), 8),
                   virtual_mouse_c::file_bytes("m"));
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        mouse.attach(&kernel);
        kernel.publish(11, payload, fake_kernel::unique_key());
        kernel.send_command(11, QStringLiteral("KORAL_missing_tuning_segment"));
        QVERIFY(mouse.tuning_commands().isEmpty());
        QVERIFY(!mouse.calibrating());
    }

    void device_messages_carry_their_records() {
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.loaded = true;
        write_file(virtual_mouse_c::memory_file(m_dir->path(), 8),
                   virtual_mouse_c::file_bytes("m"));
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        QVERIFY(!mouse.send_device_values(QByteArray(4, 1))); // nobody attached
        mouse.attach(&kernel);

        QVERIFY(mouse.send_device_values(QByteArray("\x05\x04\x02\x03", 4)));
        QCOMPARE(kernel.messages.last().code, 8);
        QCOMPARE(kernel.messages.last().payload, forge().field("\x05\x04\x02\x03").bytes);

        const QByteArray a(33, 'a');
        const QByteArray b(33, 'b');
        QVERIFY(mouse.send_profile_settings({a, b}));
        QCOMPARE(kernel.messages.last().code, 14);
        QCOMPARE(kernel.messages.last().payload, forge().be32(2).field(a).field(b).bytes);

        const int sent = kernel.messages.size();
        QVERIFY(!mouse.send_device_values(QByteArray(5, 0)));
        QVERIFY(!mouse.send_profile_settings({a, QByteArray(32, 'c')}));
        QVERIFY(!mouse.send_profile_settings({a, a, a, a, a, a}));
        QCOMPARE(kernel.messages.size(), sent);
    }

    void damaged_memory_file_starts_from_the_factory_data() {
        QTest::addColumn<QByteArray>("content");
        const QByteArray blob("profile set");
        const QByteArray good = virtual_mouse_c::file_bytes(blob);
        QTest::addRow("cut in the head") << good.left(5);
        QTest::addRow("cut in the blob") << good.left(good.size() - 3);
        QTest::addRow("foreign magic")
            << forge().be32(7).be32(1).field(md5(blob)).field(blob).bytes;
        QTest::addRow("unknown version")
            << forge().be32(0x4B564D31).be32(2).field(md5(blob)).field(blob).bytes;
        QTest::addRow("checksum of other bytes")
            << forge().be32(0x4B564D31).be32(1).field(md5("other")).field(blob).bytes;
        QTest::addRow("blob length near 4 GiB")
            << forge().be32(0x4B564D31).be32(1).field(md5(blob)).be32(0xFFFFFFF0).raw(blob).bytes;
        QTest::addRow("checksum field of 2 GiB")
            << forge().be32(0x4B564D31).be32(1).be32(0x7FFFFFFF).bytes;
        QTest::addRow("empty blob")
            << forge().be32(0x4B564D31).be32(1).field(md5("")).field("").bytes;
        QTest::addRow("bytes after the blob") << good + "x";
    }

    void damaged_memory_file_starts_from_the_factory() {
        QFETCH(QByteArray, content);
        const QString file = virtual_mouse_c::memory_file(m_dir->path(), 8);
        write_file(file, content);
        ctrl_center_c centre;
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        QVERIFY(!mouse.has_blob());
        QVERIFY(!QFile::exists(file));
        QCOMPARE(file_content(file + QStringLiteral(".damaged")), content);
    }

    void memory_files_are_per_edition() {
        QCOMPARE(QFileInfo(virtual_mouse_c::memory_file(m_dir->path(), 8)).fileName(),
                 QStringLiteral("virtual_mouse_black.bin"));
        QCOMPARE(QFileInfo(virtual_mouse_c::memory_file(m_dir->path(), 9)).fileName(),
                 QStringLiteral("virtual_mouse_white.bin"));
    }

    void factory_fresh_mouse_takes_the_kernel_s_defaults() {
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.centre = &centre;
        profile_service_c service;
        kernel.service = &service;
        kernel.publish_on_commit = QByteArray("the kernel's defaults");
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        QVERIFY(!mouse.has_blob());
        mouse.attach(&kernel);
        // The device reports its values, the host marks its section, the
        // kernel commits, and what it published comes back as loaded.
        QCOMPARE(kernel.codes(), (QVector<int32_t>{8, 0}));
        QCOMPARE(kernel.messages.first().payload,
                 forge().field(QByteArray("\x05\x04\x00\x01", 4)).bytes);
        QCOMPARE(kernel.commits, 1);
        QVERIFY(service.note().startsWith(QStringLiteral("Memory initialised by koral on ")));
        QCOMPARE(kernel.messages.last().payload, QByteArray("the kernel's defaults"));
        QCOMPARE(mouse.blob(), QByteArray("the kernel's defaults"));
        QVERIFY(QFile::exists(mouse.file()));
    }

    void factory_fresh_mouse_without_a_host_service_waits() {
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.centre = &centre;
        kernel.publish_on_commit = QByteArray("never asked for");
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        mouse.attach(&kernel);
        QCOMPARE(kernel.codes(), QVector<int32_t>{8});
        QCOMPARE(kernel.commits, 0);
        QVERIFY(!mouse.has_blob());
        QVERIFY(!QFile::exists(mouse.file()));
    }

    void refused_memory_is_put_aside_and_renewed() {
        const QString file = virtual_mouse_c::memory_file(m_dir->path(), 8);
        write_file(file, virtual_mouse_c::file_bytes("from elsewhere"));
        ctrl_center_c centre;
        fake_kernel kernel;
        kernel.centre = &centre;
        kernel.accepts_blobs = false;
        profile_service_c service;
        kernel.service = &service;
        kernel.publish_on_commit = QByteArray("fresh defaults");
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        mouse.attach(&kernel);
        QCOMPARE(kernel.codes(), (QVector<int32_t>{0, 8, 0}));
        QCOMPARE(mouse.blob(), QByteArray("fresh defaults"));
        QVERIFY(blob_in_file(file + QStringLiteral(".damaged"), "from elsewhere"));
    }

    void factory_reset_forgets_the_memory() {
        const QString file = virtual_mouse_c::memory_file(m_dir->path(), 8);
        write_file(file, virtual_mouse_c::file_bytes("m"));
        ctrl_center_c centre;
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        QVERIFY(mouse.has_blob());
        mouse.factory_reset();
        QVERIFY(!mouse.has_blob());
        QVERIFY(!QFile::exists(file));
        QVERIFY(!mouse.send_stored_blob());
    }

    // ----------------------------------------------------------- devices and timers

    void device_list_keeps_identifiers_unique() {
        device_list_c list;
        QSignalSpy changed(&list, &device_list_c::devices_changed);
        for (const device_list_c::device_t& d : device_list_c::sample_devices())
            QVERIFY(list.add(d));
        QCOMPARE(list.count(), device_list_c::sample_devices().size());
        const device_list_c::device_t first = device_list_c::sample_devices().first();
        QVERIFY(!list.add({QStringLiteral("Twin"), 0x1234, first.identifier}));
        QVERIFY(!list.add({QStringLiteral("  "), 0x1234, 0x7777}));
        QCOMPARE(*list.find(first.identifier), first);
        QCOMPARE(list.find(0x7777), nullptr);
        const int added = device_list_c::sample_devices().size();
        QCOMPARE(changed.count(), added);
        QVERIFY(list.remove(first.identifier));
        QVERIFY(!list.remove(first.identifier));
        QCOMPARE(changed.count(), added + 1);
        list.clear();
        QCOMPARE(list.count(), 0);
        QCOMPARE(changed.count(), 2 * added);
    }

    void timer_list_names_timers_by_identifier() {
        timer_list_c list;
        for (const timer_list_c::timer_t& t : timer_list_c::sample_timers())
            QVERIFY(list.add(t));
        QCOMPARE(list.name_of(0x1002), QStringLiteral("Buff"));
        QCOMPARE(list.name_of(0x9999), QString());
        QVERIFY(!list.add({0x1002, QStringLiteral("Again"), 1000}));
        QVERIFY(!list.add({0x2000, QStringLiteral("Zero"), 0}));
        QVERIFY(!list.add({0x2001, QString(), 1000}));
        QVERIFY(list.add({0x2002, QString(100, QLatin1Char('n')), 1000}));
        QCOMPARE(list.name_of(0x2002).size(), timer_list_c::max_name_chars);
        QSignalSpy changed(&list, &timer_list_c::timers_changed);
        QVERIFY(list.rename(0x1002, QStringLiteral(" Shield ")));
        QCOMPARE(list.name_of(0x1002), QStringLiteral("Shield"));
        QVERIFY(!list.rename(0x1002, QStringLiteral(" ")));
        QVERIFY(!list.rename(0x4242, QStringLiteral("X")));
        QVERIFY(list.remove(0x1002));
        QVERIFY(!list.remove(0x1002));
        QCOMPARE(changed.count(), 2);
    }

private:
    static bool blob_in_file(const QString& file, const QByteArray& blob) {
        return file_content(file) == virtual_mouse_c::file_bytes(blob);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(test_device_host)
#include "test_device_host.moc"
