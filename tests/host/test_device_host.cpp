// The host services behind a device (profile service, hub, macro library, virtual
// mouse against a recording kernel); byte layouts against a small writer here.
#include "fake_kernel.h"

#include "host/ctrl_center.h"
#include "host/host_storage.h"
#include "host/hub.h"
#include "host/macro_library.h"
#include "host/profile_service.h"
#include "host/texts.h"
#include "host/virtual_mouse.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QSignalSpy>
#include <QTemporaryDir>
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

// A listener of the hub that records what it hears, in order.
struct macro_probe : listener_i, macro_listener_i {
    macro_probe(QStringList* journal, const char* name)
        : journal(journal)
        , name(name) {}
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<macro_listener_i>::value)
            return static_cast<macro_listener_i*>(this);
        return static_cast<listener_i*>(this);
    }
    void release() override {}
    void manager_closing(listener_mgr_i*) override { journal->append(name + " closing"); }
    void update() override {}
    bool on_macros_changed(const QList<library_item>& items) override {
        journal->append(name + QLatin1Char(' ') + items.value(0).record.name());
        return matches;
    }
    QStringList* journal;
    QString name;
    bool matches = false;
};

// Collects what a library announces.
QList<QList<library_item>>* announcements(macro_library_c* library) {
    auto* told = new QList<QList<library_item>>;
    QObject::connect(library, &macro_library_c::macros_changed, library,
                     [told](const QList<library_item>& items) { told->append(items); });
    QObject::connect(library, &QObject::destroyed, [told] { delete told; });
    return told;
}

// A black mouse whose memory holds `memory` (none when empty), attached unless told
// not to a recording kernel that talks back through the centre.
struct rig_t {
    ctrl_center_c centre;
    fake_kernel kernel;
    std::unique_ptr<virtual_mouse_c> mouse;

    explicit rig_t(const QString& folder, const QByteArray& memory = "m", bool attach = true) {
        kernel.centre = &centre;
        if (!memory.isEmpty())
            write_file(virtual_mouse_c::memory_file(folder, 8),
                       virtual_mouse_c::file_bytes(memory));
        mouse = std::make_unique<virtual_mouse_c>(&centre, 8, QStringLiteral("Q"), folder);
        if (attach)
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

    void init() { m_dir = std::make_unique<QTemporaryDir>(); } // written files fail if not valid

    // koral's note travels with the memory as a fact and is told in the reader's
    // language; a note koral did not write is shown as it stands.
    void memory_note_is_told_in_the_language_data() {
        QTest::addColumn<QString>("note");
        QTest::addColumn<int32_t>("language");
        QTest::addColumn<QString>("shown");
        const QString fact = virtual_mouse_c::initialised_note(
            QDateTime(QDate(2026, 3, 7), QTime(9, 5, 30), Qt::OffsetFromUTC, 3600));
        QTest::addRow("koral's, German")
            << fact << host_texts::german
            << QStringLiteral("von koral initialisiert am 07.03.2026 08:05 UTC");
        QTest::addRow("koral's, English")
            << fact << host_texts::english
            << QStringLiteral("initialised by koral on 2026-03-07 08:05 UTC");
        QTest::addRow("an earlier koral's sentence, German")
            << QStringLiteral("Memory initialised by koral on 2025-12-31T23:59:00Z")
            << host_texts::german
            << QStringLiteral("von koral initialisiert am 31.12.2025 23:59 UTC");
        QTest::addRow("koral's lead without a time")
            << QStringLiteral("koral initialised soon") << host_texts::german
            << QStringLiteral("koral initialised soon");
        QTest::addRow("another host's")
            << QStringLiteral("Né 1") << host_texts::german << QStringLiteral("Né 1");
        QTest::addRow("none") << QString() << host_texts::german << QStringLiteral("—");
    }
    void memory_note_is_told_in_the_language() {
        QFETCH(QString, note);
        QFETCH(int32_t, language);
        QFETCH(QString, shown);
        QCOMPARE(virtual_mouse_c::note_text(note, language), shown);
        // What koral writes is the fact alone, in no language.
        QVERIFY(!virtual_mouse_c::initialised_note(QDateTime::currentDateTimeUtc())
                     .contains(QLatin1String("Memory")));
    }

    void section_layout_and_read_back() {
        profile_service_c writer;
        writer.set_note(QStringLiteral("Né 1"));
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        writer.write_section(&buffer);
        const QByteArray expected = forge().be32(k_section_magic).be32(1).text("Né 1").bytes;
        QCOMPARE(buffer.data(), expected);
        buffer.seek(0);
        profile_service_c reader;
        reader.begin_read();
        reader.read_section(&buffer);
        QCOMPARE(reader.note(), QStringLiteral("Né 1"));
        QVERIFY(reader.section_taken());
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
        QTest::addRow("magic only") << forge().be32(k_section_magic).bytes << kept;
        QTest::addRow("foreign magic")
            << forge().be32(0x12345678).be32(1).text("abc").bytes << kept;
        QTest::addRow("note length near 2 GiB") << head(1).be32(0x7FFFFFFE).bytes << kept;
        QTest::addRow("note longer than a note may be")
            << head(1).text(QString(1025, QLatin1Char('x'))).bytes << kept;
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
    }

    void reset_restores_one_setting_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("after");
        // Every byte set off its default first: 0, 1, 1, 9, 8, 2, 0xFD (-3).
        QTest::addRow("pointer speed and its options")
            << 2 << QByteArray("\x01\x00\x01\x09\x08\x02\x00", 7);
        QTest::addRow("vertical scroll and its mode")
            << 3 << QByteArray("\x00\x01\x00\x03\x08\x02\xFD", 7);
        QTest::addRow("sensitivity is not the hub's")
            << 0 << QByteArray("\x00\x01\x01\x09\x08\x02\xFD", 7);
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
        QCOMPARE(hub_bytes(hub), after);
    }

    void values_are_clamped_to_their_ranges_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("byte"); // -1: refused
        QTest::addRow("pointer speed below -5") << 6 << -9 << 0xFB;
        QTest::addRow("pointer speed -1") << 6 << -1 << 0xFF;
        QTest::addRow("vertical scroll 0") << 3 << 0 << 1;
        QTest::addRow("index past the last byte") << 7 << 1 << -1;
    }

    void values_are_clamped_to_their_ranges() {
        QFETCH(int, index);
        QFETCH(int, value);
        QFETCH(int, byte);
        hub_c hub{QString()};
        QByteArray expected = hub_bytes(hub);
        if (byte >= 0)
            expected[index] = char(byte);
        QCOMPARE(hub.set_value(index, value), byte >= 0);
        QCOMPARE(hub_bytes(hub), expected);
    }

    void hub_settings_file() {
        const QString ini = m_dir->filePath(QStringLiteral("hub.ini"));
        const auto values = [this] {
            return hub_bytes(hub_c(m_dir->path()));
        };
        // Damaged values fall back one by one; an oversized file is not read at all.
        QVERIFY(write_file(ini, "[pointer]\nspeed=fast\n[scroll]\nvertical=400\nhorizontal=-3\n"
                                "[double_click]\nspeed=8\n"));
        QCOMPARE(values(), QByteArray("\x01\x00\x00\x03\x03\x08\x00", 7));
        QVERIFY(write_file(ini, "[pointer]\nspeed=4\n; " + QByteArray(70 * 1024, 'x') + "\n"));
        QCOMPARE(values(), QByteArray("\x01\x00\x00\x03\x03\x05\x00", 7));

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
        macro_probe first(&journal, "first");
        macro_probe second(&journal, "second");
        {
            hub_c hub{QString()};
            auto* manager = query<listener_mgr_i>(static_cast<hub_i*>(&hub));
            for (macro_probe* p : {&first, &second, &first})
                manager->add_listener(p);
            macro_library_c* library = hub.library();
            library->create_macro(library->create_group(QStringLiteral("G")), QStringLiteral("M"),
                                  {});
            QCOMPARE(journal, (QStringList{"first M", "second M"}));
            // What the kernels answer comes back to the host.
            QVERIFY(!hub.notify_macros_changed({}));
            second.matches = true;
            QVERIFY(hub.notify_macros_changed({}));
            journal.clear();
        }
        QCOMPARE(journal, (QStringList{"first closing", "second closing"}));
    }

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
            {1, 0x04, 0, 30}, {2, 0x04, 0, 30}, {1, 0x1E, 0, 30}, {2, 0x1E, 0, 30}};
        QCOMPARE(macro_library_c::typed_keys(QStringLiteral("a1é!"), 30), typed);
    }

    void macro_keys_read_back_as_text_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("untypeable");
        QTest::addColumn<int>("shift_presses");
        QTest::addColumn<QString>("shown");
        QTest::addRow("letters, digits, space") << "Go 2"
                                                << "" << 0 << "GO 2";
        QTest::addRow("what cannot be typed is named once") << "a!b!é"
                                                            << "!é" << 0 << "AB";
        QTest::addRow("keys that are no text are counted") << "ok"
                                                           << "" << 2 << "OK";
    }

    void macro_keys_read_back_as_text() {
        QFETCH(QString, text);
        QFETCH(QString, untypeable);
        QFETCH(int, shift_presses);
        QFETCH(QString, shown);
        QCOMPARE(macro_library_c::untypeable(text), untypeable);
        QVector<library_key> keys = macro_library_c::typed_keys(text);
        for (int i = 0; i < shift_presses; ++i)
            keys += {{1, 0xE1, 0, 0}, {2, 0xE1, 0, 0}}; // Left Shift
        int other = -1;
        QCOMPARE(macro_library_c::typed_text(macro_library_c::make_record("m", keys), &other),
                 shown);
        QCOMPARE(other, 2 * shift_presses);
    }

    void person_operations_tell_what_changed_and_refuse_ambiguity() {
        macro_library_c library(m_dir->filePath(QStringLiteral("lib.dat")));
        const QList<QList<library_item>>& told = *announcements(&library);
        const int group = library.create_group(QStringLiteral("Games"));
        const int jump = library.create_macro(group, QStringLiteral("Jump"),
                                              macro_library_c::typed_keys(QStringLiteral("j")));
        QVERIFY(library.rename_macro(group, jump, QStringLiteral("Leap")));
        // A rename reports the macro as it is now; its keys stay.
        QCOMPARE(told.last().value(0).record.key_count(), uint16_t(2));

        // Nothing ambiguous or out of range is done, said or written.
        library.create_macro(group, QStringLiteral("Duck"), {});
        const QByteArray before = file_content(library.file());
        const int said = told.count();
        QCOMPARE(library.create_group(QStringLiteral("Games")), -1);
        QCOMPARE(library.create_macro(group, QStringLiteral("Leap"), {}), -1);
        QVERIFY(!library.rename_macro(group, 1, QStringLiteral("Leap")));
        QCOMPARE(told.count(), said);
        QCOMPARE(file_content(library.file()), before);

        // Deleting a group reports each macro as deleted, with its last form.
        QVERIFY(library.delete_group(group));
        QCOMPARE(told.last().size(), 2);
        QVERIFY(told.last().first().deleted());
    }

    void library_file_layout_and_round_trip() {
        const QString file = m_dir->filePath(QStringLiteral("lib.dat"));
        // What the module adds is kept, but not announced back to it.
        macro_library_c library(file);
        const QList<QList<library_item>>& told = *announcements(&library);
        macro_library_i* seen = &library;
        QCOMPARE(seen->add_group(QStringLiteral("G")), 0);
        library_macro_rec record =
            macro_library_c::make_record(QStringLiteral("A"), macro_library_c::typed_keys("x"));
        QCOMPARE(seen->add_macro(0, record), 0);
        QCOMPARE(told.count(), 0);

        // magic, version, one group "G" holding one record
        const QByteArray head = forge().be64(k_library_magic).be32(1).be32(1).bytes;
        QCOMPARE(file_content(file),
                 head + forge().text("G").be32(1).field(record.to_bytes()).bytes);
        macro_library_c again(file);
        QVERIFY(again.load());
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
        QTest::addRow("negative group count") << head(0xFFFFFFFF).bytes;
        QTest::addRow("name length beyond the data") << head(1).be32(5000).raw("ab").bytes;
        QTest::addRow("short record") << head(1).text("G").be32(1).field(record.left(100)).bytes;
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
        QCOMPARE(library.group_name(0), QStringLiteral("Held"));
        QVERIFY(!QFile::exists(file));
        QCOMPARE(file_content(file + QStringLiteral(".damaged")), content);
    }

    void message_record_layout_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("head");
        QTest::addRow("load") << 0 << QStringLiteral("KORALQuilBlack_host_3")
                              << QByteArray("\0\0\0\0\0\0KORALQuilBlack_host_3\0", 28);
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

    void commands_two_and_three_store_the_blob() {
        const QByteArray blob(5000, 'b');
        {
            rig_t rig(m_dir->path(), "old");
            QSignalSpy stored(rig.mouse.get(), &virtual_mouse_c::blob_stored);
            rig.kernel.publish(2, "all data reset", rig_t::key());
            rig.kernel.publish(3, blob, rig_t::key());
            QCOMPARE(stored.count(), 2);
        }
        // The memory survives: a new mouse of the edition holds the blob and
        // gives it to a kernel on attach, in a segment gone once it is read.
        QCOMPARE(file_content(virtual_mouse_c::memory_file(m_dir->path(), 8)),
                 forge().be32(k_memory_magic).be32(1).field(md5(blob)).field(blob).bytes);
        rig_t again(m_dir->path(), QByteArray());
        QCOMPARE(again.kernel.codes(), QVector<int32_t>{0});
        QCOMPARE(again.kernel.messages.first().payload, blob);
        QVERIFY(fake_kernel::read_key(again.kernel.messages.first().key).isEmpty());
    }

    void what_is_not_for_the_mouse_leaves_it_alone() {
        rig_t rig(m_dir->path(), "kept");
        const QByteArray before = file_content(rig.mouse->file());
        // Segments that cannot be read, one too short, another kernel's, and after detach.
        rig.kernel.send_command(3, QString());
        rig.kernel.send_command(2, QStringLiteral("KORAL_no_such_segment_here"));
        rig.kernel.publish(11, QByteArray("\0\0\0", 3), rig_t::key());
        fake_kernel other;
        other.centre = &rig.centre;
        other.publish(3, "not mine", rig_t::key());
        rig.mouse->detach();
        rig.kernel.publish(3, "after detach", rig_t::key());
        QCOMPARE(rig.mouse->blob(), QByteArray("kept"));
        QCOMPARE(file_content(rig.mouse->file()), before);
        QVERIFY(rig.mouse->tuning_commands().isEmpty());
    }

    void device_commands_set_its_state() {
        rig_t rig(m_dir->path());
        rig.kernel.send_command(4, QString());
        QVERIFY(rig.mouse->switched_on());
        const QVector<int> tuning{6, 8, 7, 2}; // lift levels, then an accepted calibration
        for (int c : tuning)
            rig.tune(c);
        rig.kernel.send_command(5, QString());
        QVERIFY(!rig.mouse->switched_on());
        QCOMPARE(rig.mouse->tuning_commands(), tuning);
        QVERIFY(rig.mouse->surface_tuning());
        QCOMPARE(rig.mouse->lift_level(), 2);
        // Each lift command selects its level: off 5, extra low 8, low 7, normal 6.
        for (const auto& [command, level] : {std::pair{5, 0}, {8, 1}, {7, 2}, {6, 3}}) {
            rig.tune(command);
            QCOMPARE(rig.mouse->lift_level(), level);
        }
    }

    void calibration_reports_its_outcome() {
        for (bool success : {true, false}) {
            rig_t rig(m_dir->path());
            rig.mouse->set_calibration_outcome(success);
            rig.mouse->set_calibration_delay(0);
            QSignalSpy sent(rig.mouse.get(), &virtual_mouse_c::message_sent);
            rig.tune(0);
            QVERIFY(sent.wait());
            QCOMPARE(rig.kernel.codes().last(), 25);
            QCOMPARE(rig.kernel.messages.last().payload, QByteArray(1, success ? 1 : 0));
        }
    }

    void device_messages_carry_their_records() {
        rig_t rig(m_dir->path());
        QVERIFY(rig.mouse->send_device_values(QByteArray("\x05\x04\x02\x03", 4)));
        QCOMPARE(rig.kernel.messages.last().code, 8);
        QCOMPARE(rig.kernel.messages.last().payload, forge().field("\x05\x04\x02\x03").bytes);
        const QByteArray a(33, 'a');
        const QByteArray b(33, 'b');
        QVERIFY(rig.mouse->send_profile_settings({a, b}));
        QCOMPARE(rig.kernel.messages.last().code, 14);
        QCOMPARE(rig.kernel.messages.last().payload, forge().be32(2).field(a).field(b).bytes);
        // Records of the wrong size or too many are not sent.
        const int sent = rig.kernel.messages.size();
        QVERIFY(!rig.mouse->send_device_values(QByteArray(5, 0)));
        QVERIFY(!rig.mouse->send_profile_settings({a, a, a, a, a, a}));
        QCOMPARE(rig.kernel.messages.size(), sent);
    }

    void damaged_memory_file_starts_from_the_factory_data() {
        QTest::addColumn<QByteArray>("content");
        const QByteArray blob("profile set");
        const auto head = [](quint32 magic) {
            return forge().be32(magic).be32(1);
        };
        QTest::addRow("cut in the blob") << virtual_mouse_c::file_bytes(blob).chopped(3);
        QTest::addRow("foreign magic") << head(7).field(md5(blob)).field(blob).bytes;
        QTest::addRow("checksum of other bytes")
            << head(k_memory_magic).field(md5("other")).field(blob).bytes;
        QTest::addRow("blob length near 4 GiB")
            << head(k_memory_magic).field(md5(blob)).be32(0xFFFFFFF0).raw(blob).bytes;
    }

    void damaged_memory_file_starts_from_the_factory() {
        QFETCH(QByteArray, content);
        const QString file = virtual_mouse_c::memory_file(m_dir->path(), 8);
        QVERIFY(write_file(file, content));
        ctrl_center_c centre;
        virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
        QVERIFY(!mouse.has_blob());
        QCOMPARE(file_content(file + QStringLiteral(".damaged")), content);
    }

    // Every failure keeps its own copy; the newest five stay, the newest first.
    void damaged_memory_copies_are_kept_apart() {
        const QString file = virtual_mouse_c::memory_file(m_dir->path(), 8);
        ctrl_center_c centre;
        for (int failure = 1; failure <= 7; ++failure) {
            const QByteArray content = "damaged " + QByteArray::number(failure);
            QVERIFY(write_file(file, content));
            virtual_mouse_c mouse(&centre, 8, QStringLiteral("Q"), m_dir->path());
            QCOMPARE(mouse.set_aside(), host_storage::aside_name(file, 0));
            QVERIFY(!mouse.aside_failed());
            QVERIFY(!QFile::exists(file));
        }
        for (int n = 0; n < host_storage::kept_aside; ++n)
            QCOMPARE(file_content(host_storage::aside_name(file, n)),
                     "damaged " + QByteArray::number(7 - n));
        QVERIFY(!QFile::exists(host_storage::aside_name(file, host_storage::kept_aside)));
        const QStringList kept =
            QDir(QFileInfo(file).path())
                .entryList({QFileInfo(file).fileName() + QStringLiteral("*")}, QDir::Files);
        QCOMPARE(kept.size(), host_storage::kept_aside);
    }

    void fresh_memory_takes_the_kernel_s_defaults_data() {
        QTest::addColumn<QByteArray>("memory");
        QTest::addColumn<bool>("service");
        QTest::addColumn<QVector<int32_t>>("codes");
        QTest::addRow("memory the kernel refuses")
            << QByteArray("from elsewhere") << true << QVector<int32_t>{0, 8, 0};
        // Without the host's section nothing marks the memory: it waits.
        QTest::addRow("no host service") << QByteArray() << false << QVector<int32_t>{8};
    }

    void fresh_memory_takes_the_kernel_s_defaults() {
        QFETCH(QByteArray, memory);
        QFETCH(bool, service);
        QFETCH(QVector<int32_t>, codes);
        rig_t rig(m_dir->path(), memory, false);
        rig.kernel.accepts_blobs = false;
        profile_service_c host_section;
        if (service)
            rig.kernel.service = &host_section;
        rig.kernel.publish_on_commit = QByteArray("the kernel's defaults");
        // The device reports its values, the host marks its section, the
        // kernel commits, and what it published comes back as loaded.
        rig.mouse->attach(&rig.kernel);
        QCOMPARE(rig.kernel.codes(), codes);
        QCOMPARE(rig.mouse->has_blob(), service);
        QCOMPARE(QFile::exists(rig.mouse->file()), service);
        if (!service)
            return;
        QCOMPARE(file_content(rig.mouse->file() + QStringLiteral(".damaged")),
                 virtual_mouse_c::file_bytes(memory));
        QVERIFY(virtual_mouse_c::initialised_at(host_section.note()).isValid());
        QCOMPARE(rig.mouse->blob(), QByteArray("the kernel's defaults"));
        // A factory reset forgets the memory, file and all.
        rig.mouse->factory_reset();
        QVERIFY(!rig.mouse->has_blob() && !QFile::exists(rig.mouse->file()));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(test_device_host)
#include "test_device_host.moc"
