// The host's side of button assignment: the keys a hotkey captures, the
// catalogue's menus and what reaches their clients, the value, web and timer
// dialogs, the lists koral keeps, its service's notices, and the mouse's
// buttons as koral reads them from forged memory bytes.
#include "host/button_view.h"
#include "host/catalogue_service.h"
#include "host/components/component_context.h"
#include "host/components/hid_keys.h"
#include "host/components/host_components.h"
#include "host/components/hotkey_dialog.h"
#include "host/components/menu.h"
#include "host/components/preset_list.h"
#include "host/components/reset_confirm.h"
#include "host/components/timer_dialogs.h"
#include "host/components/value_dialogs.h"
#include "host/ctrl_center.h"
#include "host/device_list.h"
#include "host/host_catalogue.h"
#include "host/host_storage.h"
#include "host/macro_editor.h"
#include "host/macro_library.h"
#include "host/module_host.h"
#include "host/talk_devices_panel.h"
#include "host/texts.h"
#include "host/timer_list.h"

#include <QComboBox>
#include <QDataStream>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <QtTest>
#include <memory>

namespace {

QString english(int32_t id) {
    return host_texts::text(id, host_texts::english);
}

template <class T>
T* make(int32_t class_id, component_context_c* context = nullptr) {
    for (const host_component_class_t& c : host_component_classes(context)) {
        if (c.class_id == class_id)
            return query<T>(c.make());
    }
    return nullptr;
}

// Runs `act` once the modal dialog a call opens has come up.
void when_open(const std::function<void()>& act) {
    QTimer::singleShot(0, act);
}

// What a menu's client and listener is told.
class fake_client : public menu_item_client_i,
                    public menu_button_item_client_i,
                    public listener_i,
                    public main_menu_listener_i,
                    public menu_listener_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value || iid == iid_of<menu_item_client_i>::value)
            return static_cast<menu_item_client_i*>(this);
        if (iid == iid_of<menu_button_item_client_i>::value)
            return static_cast<menu_button_item_client_i*>(this);
        if (iid == iid_of<listener_i>::value)
            return static_cast<listener_i*>(this);
        if (iid == iid_of<main_menu_listener_i>::value)
            return static_cast<main_menu_listener_i*>(this);
        if (iid == iid_of<menu_listener_i>::value)
            return static_cast<menu_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void entry_hovered(menu_entry_i*) override {}
    void entry_chosen(menu_entry_i* entry) override {
        auto* code = query<menu_entry_code_i>(entry);
        chosen.append({code->code(), code->parameter(), int(entry->identifier())});
        if (on_chosen)
            on_chosen();
    }
    void manager_closing(listener_mgr_i*) override {}
    void update() override {}
    void main_menu_shown(menu_i*) override { heard.append(QStringLiteral("main shown")); }
    void main_menu_closed(menu_i*) override { heard.append(QStringLiteral("main closed")); }
    void menu_shown(menu_i*) override { heard.append(QStringLiteral("shown")); }
    void menu_closed(menu_i*) override { heard.append(QStringLiteral("closed")); }

    QVector<QVector<int>> chosen;
    QStringList heard;
    std::function<void()> on_chosen;
};

class fake_relay : public listener_i, public relay_fx_kernel_listener_i, public timer_listener_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value || iid == iid_of<listener_i>::value)
            return static_cast<listener_i*>(this);
        if (iid == iid_of<relay_fx_kernel_listener_i>::value)
            return static_cast<relay_fx_kernel_listener_i*>(this);
        if (iid == iid_of<timer_listener_i>::value)
            return static_cast<timer_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i*) override {}
    void update() override {}
    void talk_device_added(uint16_t id, uint16_t pid, const QString& name) override {
        heard.append(QStringLiteral("+%1 %2 %3").arg(id).arg(pid, 0, 16).arg(name));
    }
    void talk_device_removed(uint16_t id) override { heard.append(QStringLiteral("-%1").arg(id)); }
    void timers_changed() override { heard.append(QStringLiteral("timers")); }
    QStringList heard;
};

class fake_timer_client : public edit_timer_fm_client_i {
public:
    interface_i* query_interface(const GUID&) override { return this; }
    void release() override {}
    bool timer_in_use(uint32_t identifier) override { return identifier == in_use; }
    uint32_t in_use = 0;
};

class fake_preset_client : public preset_selector_client_i {
public:
    interface_i* query_interface(const GUID&) override { return this; }
    void release() override {}
    void preset_chosen(int32_t index) override { chosen.append(index); }
    QVector<int> chosen;
};

class fake_reset_client : public reset_to_default_fm_client_i {
public:
    interface_i* query_interface(const GUID&) override { return this; }
    void release() override {}
    void reset_answer(int32_t answer) override { answers.append(answer); }
    QVector<int> answers;
};

// A profile-set blob as the module writes it, with what a test puts into slot 0.
struct forged_t {
    std::array<uint8_t, 123> assign{};
    std::array<uint8_t, 30> layout{};
    std::array<uint8_t, 33> settings{};
    QMap<int32_t, QByteArray> params;
    QMap<int32_t, QString> texts;
    QMap<int32_t, QByteArray> data;
    QString macro_name;
    bool macros = true;
    uint8_t slots_in_use = 1;

    forged_t() {
        assign[0] = 7;
        assign[1] = 123;
        layout[0] = 10;
        layout[1] = 30;
        layout[27] = 0xFF; // twelve singles
        layout[28] = 0x0F;
        qToLittleEndian<quint16>(1600, settings.data() + 7 + 2);
    }
    void set(int button, uint8_t code, uint8_t a, uint8_t b) {
        assign[size_t(3 + 3 * button)] = code;
        assign[size_t(4 + 3 * button)] = a;
        assign[size_t(5 + 3 * button)] = b;
    }

    QByteArray blob() const {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(host_storage::stream_version);
        const auto field = [&out](const QByteArray& b) {
            out << b;
        };
        const auto list = [&](int size, const QByteArray& first) {
            out << qint32(5);
            for (int i = 0; i < 5; ++i)
                field(i == 0 && !first.isEmpty() ? first : QByteArray(size, '\0'));
        };
        QByteArray name(112, '\0');
        const QString d1 = QStringLiteral("Default1");
        for (int i = 0; i < d1.size(); ++i)
            qToLittleEndian<quint16>(d1.at(i).unicode(), name.data() + 2 * i);
        list(112, name);
        list(2560, {});
        field(QByteArray(12, '\0'));
        out << qint32(5);
        for (int i = 0; i < 5; ++i) {
            out << qint32(i == 0 ? params.size() : 0);
            for (auto it = params.cbegin(); i == 0 && it != params.cend(); ++it)
                out << it.key() << it.value();
        }
        list(2, {});
        field(QByteArray("\x05\x04\x00", 3) + char(slots_in_use));
        // Slot 1 has a picture: the reader walks past its PNG.
        QImage picture(3, 2, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        out << qint32(5);
        for (int i = 0; i < 5; ++i)
            i == 1 ? void(out << picture) : void(out << QImage());
        out << qint32(5);
        for (int i = 0; i < 5; ++i) {
            out << qint32(i == 0 ? texts.size() : 0);
            for (auto it = texts.cbegin(); i == 0 && it != texts.cend(); ++it)
                out << it.key() << it.value();
        }
        out << true;
        out << qint32(5);
        for (int i = 0; i < 5; ++i) {
            out << qint32(i == 0 ? data.size() : 0);
            for (auto it = data.cbegin(); i == 0 && it != data.cend(); ++it)
                out << it.key() << it.value();
        }
        list(4, {});
        field(QByteArray(6, '\0'));
        const auto bytes_of = [](const auto& a) {
            return QByteArray(reinterpret_cast<const char*>(a.data()), int(a.size()));
        };
        list(123, bytes_of(assign));
        list(33, bytes_of(settings));
        out << qint32(0);
        list(30, bytes_of(layout));
        field(QByteArray(48, '\0'));
        out << qint32(5);
        for (int i = 0; i < 5; ++i) {
            const int count = i == 0 && macros ? 40 : 0;
            out << qint32(count);
            for (int k = 0; k < count; ++k) {
                QByteArray record(2002, '\0');
                record.replace(46, macro_name.toUtf8().size(), macro_name.toUtf8());
                out << record;
            }
        }
        return bytes;
    }
};

button_labels::sources_t english_sources() {
    return {english, [](uint32_t id) {
                return id == 0x1001 ? QStringLiteral("Respawn") : QString();
            }};
}

} // namespace

class test_button_host : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void hotkey_field_captures_keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("usage");
        QTest::addRow("Ctrl+Alt+A")
            << int(Qt::Key_A) << int(Qt::ControlModifier | Qt::AltModifier) << 12 << 0x04;
        QTest::addRow("Shift alone") << int(Qt::Key_Shift) << 0 << 2 << 0;
        QTest::addRow("Win+F5") << int(Qt::Key_F5) << int(Qt::MetaModifier) << 16 << 0x3E;
        QTest::addRow("keypad 7") << int(Qt::Key_7) << int(Qt::KeypadModifier) << 0 << 0x5F;
        QTest::addRow("Shift+1 typed as !")
            << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 2 << 0x1E;
        QTest::addRow("Tab stays a key") << int(Qt::Key_Tab) << 0 << 0 << 0x2B;
        // Keys the mouse cannot send leave the previous combination (Shift + B).
        QTest::addRow("volume key refused") << int(Qt::Key_VolumeUp) << 0 << 2 << 0x05;
    }
    void hotkey_field_captures_keys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, mask);
        QFETCH(int, usage);
        hotkey_field_c field(english);
        field.set_scheme(hid_keys::scan_scheme::none);
        field.set_combination(hotkey_modifier::shift, 0x05);
        QSignalSpy refused(&field, &hotkey_field_c::key_refused);
        QTest::keyClick(&field, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(int(field.modifiers()), mask);
        QCOMPARE(int(field.usage()), usage);
        QCOMPARE(refused.count(), key == Qt::Key_VolumeUp ? 1 : 0);
    }

    void hotkey_run_writes_the_entry_only_when_accepted_data() {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QByteArray>("expected");
        QTest::addRow("accepted") << true << QByteArray("\x05\x0C\x04", 3);
        QTest::addRow("cancelled") << false << QByteArray("\x01\x00\x00", 3);
    }
    void hotkey_run_writes_the_entry_only_when_accepted() {
        QFETCH(bool, accept);
        QFETCH(QByteArray, expected);
        auto* dialog = make<hotkey_dialog_i>(class_id::hotkey_dialog);
        auto* host = static_cast<hotkey_dialog_c*>(dialog);
        uint8_t entry[3] = {1, 0, 0};
        when_open([host, accept] {
            host->dialog()->field()->set_scheme(hid_keys::scan_scheme::none);
            QTest::keyClick(host->dialog()->field(), Qt::Key_A,
                            Qt::ControlModifier | Qt::AltModifier);
            accept ? host->dialog()->accept() : host->dialog()->reject();
        });
        QCOMPARE(dialog->run(entry, function_code::hotkey, 4), accept ? 1 : 0);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(entry), 3), expected);
        dialog->release();
    }

    void key_table_maps_platform_keys_data() {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("usage");
        const int set1 = int(hid_keys::scan_scheme::set1);
        const int evdev = int(hid_keys::scan_scheme::evdev);
        QTest::addRow("set-1 A") << set1 << 0x1E << 0x04;
        QTest::addRow("set-1 right arrow (E0)") << set1 << 0x14D << 0x4F;
        QTest::addRow("set-1 keypad 6 (no E0)") << set1 << 0x4D << 0x5E;
        QTest::addRow("set-1 right Ctrl") << set1 << 0x11D << 0xE4;
        QTest::addRow("set-1 right Shift without E0") << set1 << 0x36 << 0xE5;
        QTest::addRow("set-1 Num Lock is E0") << set1 << 0x145 << 0x53;
        QTest::addRow("set-1 Pause") << set1 << 0x45 << 0x48;
        QTest::addRow("set-1 unknown") << set1 << 0x7F << 0;
        QTest::addRow("X11 A") << evdev << 38 << 0x04;
        QTest::addRow("X11 keypad Enter") << evdev << 104 << 0x58;
        QTest::addRow("X11 right Alt") << evdev << 108 << 0xE6;
        QTest::addRow("X11 below the keycode range") << evdev << 5 << 0;
    }
    void key_table_maps_platform_keys() {
        QFETCH(int, scheme);
        QFETCH(int, code);
        QFETCH(int, usage);
        // The key Qt names is wrong on purpose: the physical key decides.
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, quint32(code), 0, 0);
        const uint8_t found = hid_keys::usage_of(event, hid_keys::scan_scheme(scheme));
        QCOMPARE(int(found), usage == 0 ? 0x1D : usage);
    }

    void combination_text_data() {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("usage");
        QTest::addColumn<QString>("text");
        QTest::addRow("no shortcut") << 1 << 0x04 << QString();
        QTest::addRow("all four in order") << 0x1E << 0x04 << "Shift + Ctrl + Alt + Win + A";
        QTest::addRow("Shift alone") << 2 << 0 << "Shift";
        QTest::addRow("named key") << 4 << 0x4C << "Ctrl + Delete";
        QTest::addRow("keypad") << 0 << 0x5F << "Num 7";
        QTest::addRow("right side") << 0 << 0xE6 << "Right Alt";
        QTest::addRow("no usage") << 8 << 0xFF << "Alt + Key 0xFF";
    }
    void combination_text() {
        QFETCH(int, mask);
        QFETCH(int, usage);
        QFETCH(QString, text);
        QCOMPARE(hid_keys::combination_text(uint8_t(mask), uint8_t(usage), english), text);
    }

    void menu_choice_reaches_the_client_after_it_closes_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("release_in_handler");
        QTest::addRow("chosen") << true << false;
        QTest::addRow("disabled entry") << false << false;
        QTest::addRow("client releases the menu while it handles the choice") << true << true;
    }
    void menu_choice_reaches_the_client_after_it_closes() {
        QFETCH(bool, enabled);
        QFETCH(bool, release_in_handler);
        fake_client client;
        auto* root = make<menu_i>(class_id::menu);
        auto* sub = make<menu_i>(class_id::menu);
        auto* entry = make<menu_entry_i>(class_id::menu_entry);
        entry->set_label(QStringLiteral("Jump"));
        entry->set_client(&client);
        entry->set_second_client(nullptr);
        entry->set_identifier(7);
        query<menu_entry_code_i>(entry)->set_code(48);
        query<menu_entry_code_i>(entry)->set_parameter(2 * 65536 + 3);
        entry->set_enabled(enabled);
        sub->add_child(entry);
        root->add_child(sub);
        QPointer<menu_entry_c> alive = static_cast<menu_entry_c*>(entry);
        if (release_in_handler)
            client.on_chosen = [root] {
                root->release();
            };

        alive->choose();
        QVERIFY(client.chosen.isEmpty()); // not while the click goes on
        QCoreApplication::processEvents();
        const QVector<QVector<int>> expected{{48, 2 * 65536 + 3, 7}};
        QCOMPARE(client.chosen, enabled ? expected : QVector<QVector<int>>());
        if (release_in_handler) {
            cleanup();
            QVERIFY(!alive);
        } else {
            root->release();
            QVERIFY(!alive); // a menu's children go with it
        }
    }

    void menu_refuses_children_it_cannot_hold() {
        auto* root = make<menu_i>(class_id::menu);
        auto* sub = make<menu_i>(class_id::menu);
        fake_client stranger;
        root->add_child(sub);
        root->add_child(sub);                                         // already in a menu
        sub->add_child(root);                                         // a menu above it
        root->add_child(static_cast<menu_item_client_i*>(&stranger)); // not the host's
        root->add_child(nullptr);
        QCOMPARE(root->child_count(), 1);
        QCOMPARE(sub->child_count(), 0);
        sub->release(); // taken out of its menu first
        QCOMPARE(root->child_count(), 0);
        root->release();
    }

    void menu_tells_listeners_when_the_tree_opens_and_closes() {
        fake_client listener;
        auto* root = make<menu_i>(class_id::menu);
        auto* entry = make<menu_entry_i>(class_id::menu_entry);
        entry->set_label(QStringLiteral("Left click"));
        root->add_child(entry);
        query<listener_mgr_i>(root)->add_listener(&listener);
        root->popup(QPoint(10, 10));
        root->close_menu();
        QCOMPARE(listener.heard, QStringList({"shown", "main shown", "closed", "main closed"}));
        root->release();
    }

    void value_slider_maps_ticks_and_returns_the_value_data() {
        QTest::addColumn<int>("initial");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("value");
        QTest::addRow("opens at the value, one step right") << 1200 << true << 1210;
        QTest::addRow("a value off the grid snaps") << 8203 << true << 8210;
        QTest::addRow("cancel keeps the value") << 1200 << false << 1200;
    }
    void value_slider_maps_ticks_and_returns_the_value() {
        QFETCH(int, initial);
        QFETCH(bool, accept);
        QFETCH(int, value);
        auto* dialog = make<value_slider_dialog_i>(class_id::value_slider_dialog);
        auto* host = static_cast<value_slider_dialog_c*>(dialog);
        dialog->setup(12000, 200, 10, initial, -1, 1);
        const int ticks[][2] = {{200, 0},   {2000, 20}, {4000, 40},
                                {6000, 60}, {8200, 80}, {12000, 100}};
        for (const auto& t : ticks)
            dialog->add_tick(t[0], QString::number(t[0]), t[1]);
        int shown = -1;
        double place = -1;
        when_open([&] {
            tick_slider_c* slider = host->dialog()->slider();
            shown = slider->value();
            place = slider->place_of(2000);
            QTest::keyClick(slider, Qt::Key_Right);
            accept ? host->dialog()->accept() : host->dialog()->reject();
        });
        QCOMPARE(dialog->run(), accept ? 1 : 0);
        QCOMPARE(shown, value - (accept ? 10 : 0));
        QCOMPARE(place, 0.2); // the ticks decide where a value sits
        QCOMPARE(dialog->value(), value);
        dialog->release();
    }

    void hotkey_mode_limits_the_modifiers_offered_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("mask");
        QTest::addRow("all four") << 4 << 16 + 4;
        QTest::addRow("without Win") << 3 << 4;
        QTest::addRow("out of range offers all") << 9 << 16 + 4;
    }
    void hotkey_mode_limits_the_modifiers_offered() {
        QFETCH(int, mode);
        QFETCH(int, mask);
        auto* dialog = make<hotkey_dialog_i>(class_id::hotkey_dialog);
        auto* host = static_cast<hotkey_dialog_c*>(dialog);
        uint8_t entry[3] = {0, 0, 0};
        when_open([host] {
            host->dialog()->field()->set_scheme(hid_keys::scan_scheme::none);
            QTest::keyClick(host->dialog()->field(), Qt::Key_B,
                            Qt::MetaModifier | Qt::ControlModifier);
            host->dialog()->accept();
        });
        QCOMPARE(dialog->run(entry, function_code::hotkey, mode), 1);
        QCOMPARE(int(entry[1]), mask);
        QCOMPARE(int(entry[2]), 0x05);
        dialog->release();
    }

    void function_value_is_parsed_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qlonglong>("value");
        QTest::addRow("decimal") << "305419896" << 305419896LL;
        QTest::addRow("hexadecimal") << "0x12345678" << 0x12345678LL;
        QTest::addRow("largest") << "4294967295" << 4294967295LL;
        QTest::addRow("too large") << "4294967296" << -1LL;
        QTest::addRow("negative") << "-1" << -1LL;
        QTest::addRow("not a number") << "12ab" << -1LL;
    }
    void function_value_is_parsed() {
        QFETCH(QString, typed);
        QFETCH(qlonglong, value);
        const std::optional<uint32_t> parsed = value_text::parse_u32(typed);
        QCOMPARE(parsed ? qlonglong(*parsed) : -1LL, value);
    }

    void timer_manager_edits_the_list_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("names");
        QTest::addRow("rename") << "rename:Boss" << QStringList({"Boss", "Buff"});
        QTest::addRow("rename to a taken name")
            << "rename:buff" << QStringList({"Respawn", "Buff"});
        QTest::addRow("delete an unused timer") << "delete-unused" << QStringList({"Respawn"});
        QTest::addRow("delete a timer in use, declined")
            << "delete-used:no" << QStringList({"Respawn", "Buff"});
        QTest::addRow("delete a timer in use, confirmed")
            << "delete-used:yes" << QStringList({"Buff"});
    }
    void timer_manager_edits_the_list() {
        QFETCH(QString, action);
        QFETCH(QStringList, names);
        timer_list_c timers;
        timers.add({1, QStringLiteral("Respawn"), 1000});
        timers.add({2, QStringLiteral("Buff"), 2000});
        fake_timer_client client;
        client.in_use = 1;
        timer_manager_fm_c manager(nullptr, &timers, &client);
        const QString what = action.section(QLatin1Char(':'), 0, 0);
        const QString arg = action.section(QLatin1Char(':'), 1);
        if (what == QLatin1String("rename")) {
            manager.select(1);
            manager.name_edit()->setText(arg);
            emit manager.name_edit()->editingFinished();
        } else if (what == QLatin1String("delete-unused")) {
            manager.select(2);
            QVERIFY(manager.delete_selected());
        } else {
            manager.select(1);
            const bool yes = arg == QLatin1String("yes");
            QCOMPARE(manager.delete_selected(&yes), yes);
        }
        QStringList left;
        for (const timer_list_c::timer_t& timer : timers.timers())
            left.append(timer.name);
        QCOMPARE(left, names);
    }

    void macro_editor_saves_recorded_keys_into_the_library_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("saved");
        QTest::addRow("into a group") << "Games"
                                      << "Build" << true;
        QTest::addRow("into a new group") << "Work"
                                          << "Build" << true;
        QTest::addRow("name taken in the group") << "Games"
                                                 << "Jump" << false;
        QTest::addRow("no name") << "Games"
                                 << " " << false;
    }
    void macro_editor_saves_recorded_keys_into_the_library() {
        QFETCH(QString, group);
        QFETCH(QString, name);
        QFETCH(bool, saved);
        macro_library_c library;
        library.create_macro(library.create_group(QStringLiteral("Games")), QStringLiteral("Jump"),
                             macro_library_c::typed_keys("j"));
        macro_editor_c editor(nullptr, &library);
        editor.group_box()->setEditText(group);
        editor.name_edit()->setText(name);
        editor.recorder()->set_scheme(hid_keys::scan_scheme::none);
        editor.recorder()->set_recording(true);
        QTest::keyClick(editor.recorder(), Qt::Key_Q, Qt::ControlModifier);
        editor.recorder()->set_recording(false);
        QTest::keyClick(editor.recorder(), Qt::Key_W); // not recording: not kept
        QCOMPARE(editor.save(), saved);
        const int g = library.find_group(group);
        const int m = g < 0 ? -1 : library.find_macro(g, name.trimmed());
        QCOMPARE(m >= 0 && m == editor.saved_macro(), saved);
        if (!saved)
            return;
        // Ctrl down, Q down, Q up, Ctrl up, each a HID usage.
        const library_macro_rec* record = library.macro_record(g, m);
        QCOMPARE(int(record->key_count()), 4);
        QCOMPARE(int(record->key(0).b), 0xE0);
        QCOMPARE(int(record->key(1).b), 0x14);
        QCOMPARE(int(record->key(2).a), int(macro_library_c::key_release));
    }

    void preset_list_takes_records_and_tells_the_pick_data() {
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kept");
        QByteArray good(30, '\0');
        good.replace(3, 5, "Duo A");
        good[27] = char(0x0F);
        good[29] = char(0x01);
        QByteArray bad_utf8 = good;
        bad_utf8.replace(3, 3, "\xC3\x28X");
        QTest::addRow("whole record") << good << "Duo A" << 2;
        QTest::addRow("name not UTF-8") << bad_utf8 << QString::fromUtf8("\xEF\xBF\xBD(X A") << 2;
        QTest::addRow("name fills its field")
            << QByteArray(good).replace(3, 22, QByteArray(22, 'N')) << QString(22, QLatin1Char('N'))
            << 2;
        QTest::addRow("short record") << good.left(29) << QString() << 1;
    }
    void preset_list_takes_records_and_tells_the_pick() {
        QFETCH(QByteArray, second);
        QFETCH(QString, name);
        QFETCH(int, kept);
        QByteArray first(30, '\0');
        first.replace(3, 4, "Solo");
        preset_list_c list;
        fake_preset_client client;
        list.set_client(&client);
        list.set_presets({first, first});
        list.set_current(1);
        list.set_presets({first, second});
        QCOMPARE(list.presets().size(), kept);
        // A skipped record would shift the module's indexes: nothing is current then.
        QCOMPARE(list.current(), kept == 2 ? 1 : -1);
        list.set_current(kept - 1);
        QCOMPARE(list.current(), kept - 1);
        if (kept == 2)
            QCOMPARE(list.presets().at(1).name, name);
        list.choose(kept - 1);
        list.choose(5); // past the list: nothing
        QCOMPARE(client.chosen, QVector<int>({kept - 1}));
    }

    // The box's pictures are kept per layout: a preset whose layout changed shows the new one.
    void preset_pictures_follow_the_layouts_data() {
        QTest::addColumn<uint>("before");
        QTest::addColumn<uint>("after");
        QTest::addRow("twelve singles, then a double") << 0x000FFFu << 0x010FFFu;
        QTest::addRow("a double, then twelve singles") << 0x010FFFu << 0x000FFFu;
        QTest::addRow("a blank row, then none") << 0x000F0Fu << 0x000FFFu;
    }
    void preset_pictures_follow_the_layouts() {
        QFETCH(uint, before);
        QFETCH(uint, after);
        const auto record = [](uint32_t layout) {
            QByteArray r(30, '\0');
            r.replace(3, 4, "Pads");
            r[27] = char(layout & 0xFF);
            r[28] = char(layout >> 8 & 0xFF);
            r[29] = char(layout >> 16 & 0xFF);
            return r;
        };
        const auto shown = [](const preset_list_c& list) {
            return list.box()->itemIcon(list.box()->findData(0)).pixmap(44, 30).toImage();
        };
        const auto drawn = [](uint32_t layout) {
            return preset_list_c::miniature(layout, 1.0).toImage();
        };
        QVERIFY(drawn(before) != drawn(after));
        preset_list_c list;
        list.set_presets({record(before)});
        QCOMPARE(shown(list), drawn(before));
        list.set_presets({record(after)});
        QCOMPARE(shown(list), drawn(after));
        list.set_presets({record(before)});
        QCOMPARE(shown(list), drawn(before));
    }

    // The closed selector shows its drop-down arrow, enabled or not (the arrow comes
    // from the selector's own sheet, not from the window's).
    void preset_list_draws_its_arrow_data() {
        QTest::addColumn<bool>("with_presets");
        QTest::addRow("presets to choose") << true;
        QTest::addRow("empty, disabled") << false;
    }
    void preset_list_draws_its_arrow() {
        QFETCH(bool, with_presets);
        Q_INIT_RESOURCE(koral);
        QByteArray record(30, '\0');
        record.replace(3, 4, "Solo");
        preset_list_c list;
        list.set_placeholder(QStringLiteral("None"));
        if (with_presets) {
            list.set_presets({record});
            list.set_current(0);
        }
        list.resize(220, 40);
        const QImage shot = list.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The arrow, 10 x 6, sits in the middle of the 24-pixel drop-down at the right;
        // right of it the drop-down shows the box's background.
        const QRect arrow(220 - 1 - 24 + 7, 20 - 3, 10, 6);
        const QColor ground = shot.pixelColor(220 - 5, 20);
        int marked = 0;
        for (int y = arrow.top(); y <= arrow.bottom(); ++y) {
            for (int x = arrow.left(); x <= arrow.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                if (qAbs(c.lightness() - ground.lightness()) > 40)
                    ++marked;
            }
        }
        QVERIFY2(marked >= 8, qPrintable(QStringLiteral("%1 arrow pixels").arg(marked)));
    }

    void host_makes_the_catalogues_components_by_interface() {
        const QVector<QPair<int32_t, GUID>> rows{
            {class_id::menu, iid_of<menu_i>::value},
            {class_id::menu, iid_of<listener_mgr_i>::value},
            {class_id::menu_entry, iid_of<menu_entry_i>::value},
            {class_id::menu_entry, iid_of<menu_entry_code_i>::value},
            {class_id::hotkey_dialog, iid_of<hotkey_dialog_i>::value},
            {class_id::new_timer_dialog, iid_of<new_timer_dialog_i>::value},
            {class_id::timer_manager_dialog, iid_of<timer_manager_dialog_i>::value},
            {class_id::code_253_dialog, iid_of<code_253_dialog_i>::value},
            {class_id::web_address_dialog, iid_of<web_address_dialog_i>::value},
            {class_id::value_slider_dialog, iid_of<value_slider_dialog_i>::value},
            {class_id::reset_confirm, iid_of<reset_confirm_i>::value},
        };
        ctrl_center_c centre;
        module_host_c host(&centre);
        for (const auto& row : rows) {
            interface_i* object = host.create_instance(row.first, row.second);
            QVERIFY2(object, qPrintable(QString::number(row.first, 16)));
            QCOMPARE(object->query_interface(row.second), object);
            object->release();
        }
        // A menu is not an entry.
        QVERIFY(!host.create_instance(class_id::menu, iid_of<menu_entry_i>::value));
        // The catalogue's service is the centre's service 6.
        timer_list_c timers;
        device_list_c devices;
        catalogue_service_c service(&timers, &devices);
        centre.set_service(host_service::function_catalogue,
                           static_cast<catalogue_service_i*>(&service));
        QVERIFY(query<catalogue_service_i>(centre.get_service(host_service::function_catalogue)));
        QVERIFY(!centre.get_service(5));
    }

    void dialogs_hand_back_values_only_when_accepted_data() {
        QTest::addColumn<bool>("accept");
        QTest::addRow("accepted") << true;
        QTest::addRow("cancelled") << false;
    }
    void dialogs_hand_back_values_only_when_accepted() {
        QFETCH(bool, accept);
        auto* web = make<web_address_dialog_i>(class_id::web_address_dialog);
        auto* web_host = static_cast<web_address_dialog_c*>(web);
        web->set_address(QStringLiteral("old.example.com"));
        bool invalid_refused = false;
        when_open([&] {
            QLineEdit* edit = web_host->dialog()->edit();
            invalid_refused = edit->text() == QLatin1String("old.example.com");
            edit->setText(QStringLiteral("not a site"));
            invalid_refused = invalid_refused && !web_host->dialog()->ok_button()->isEnabled();
            edit->setText(QStringLiteral("example.org/news"));
            accept ? web_host->dialog()->accept() : web_host->dialog()->reject();
        });
        QCOMPARE(web->run(), accept ? 1 : 0);
        QVERIFY(invalid_refused);
        QCOMPARE(web->address(), accept ? QStringLiteral("https://example.org/news")
                                        : QStringLiteral("old.example.com"));
        web->release();

        auto* value = make<code_253_dialog_i>(class_id::code_253_dialog);
        auto* value_host = static_cast<code_253_dialog_c*>(value);
        uint32_t stored = 7;
        when_open([&] {
            value_host->dialog()->edit()->setText(QStringLiteral("0xFF"));
            accept ? value_host->dialog()->accept() : value_host->dialog()->reject();
        });
        QCOMPARE(value->run(&stored), accept ? 1 : 0);
        QCOMPARE(stored, accept ? 255u : 7u);
        value->release();
    }

    void a_dialog_released_while_open_ends_as_cancelled() {
        auto* dialog = make<value_slider_dialog_i>(class_id::value_slider_dialog);
        QPointer<value_slider_dialog_c> host = static_cast<value_slider_dialog_c*>(dialog);
        dialog->setup(100, 0, 1, 50, -1, 1);
        when_open([dialog] { dialog->release(); });
        QCOMPARE(dialog->run(), 0);
        QVERIFY(host); // still there for the caller's return
        cleanup();
        QVERIFY(!host);
    }

    void device_list_reloads_and_tells_what_changed_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("heard");
        const device_list_c::device_t tkl{QStringLiteral("Brenn TKL"), 0x1B20, 1};
        const device_list_c::device_t full{QStringLiteral("Brenn Full"), 0x1B30, 2};
        QTest::addRow("one went, one came")
            << device_list_c::to_bytes({full}) << QStringList({"-1", "+2 1b30 Brenn Full"});
        QTest::addRow("same list") << device_list_c::to_bytes({tkl}) << QStringList();
        QTest::addRow("repeated identifier")
            << device_list_c::to_bytes({full, {"B", 5, 2}}) << QStringList();
        QTest::addRow("cut short") << device_list_c::to_bytes({full}).left(20) << QStringList();
    }
    void device_list_reloads_and_tells_what_changed() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, heard);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("devices.dat"));
        device_list_c devices(file);
        devices.add({QStringLiteral("Brenn TKL"), 0x1B20, 1});
        // The listener outlives the service: its destruction tells those still registered.
        fake_relay relay;
        catalogue_service_c service(nullptr, &devices);
        service.add_listener(&relay);
        QVERIFY(host_storage::save_file(file, bytes));
        const bool readable = devices.load();
        QCOMPARE(relay.heard, heard);
        // A refused file leaves the list as it was.
        QCOMPARE(devices.find(1) != nullptr, !readable || heard.isEmpty());
    }

    void linked_devices_panel_connects_and_disconnects() {
        host_catalogue_c catalogue;
        QVERIFY(catalogue.load(QStringLiteral(QUIL_BIN_DIR "/settings.xml")));
        device_list_c devices;
        devices.add({QStringLiteral("Brenn TKL"), 0x1B20, 1});
        talk_devices_panel_c panel(&devices, &catalogue, english);
        QVERIFY(panel.connect_product(4));  // Brenn TKL again
        QVERIFY(!panel.connect_product(8)); // the mouse itself is no other device
        QCOMPARE(devices.count(), 2);
        const device_list_c::device_t second = devices.devices().at(1);
        QCOMPARE(second.name, QStringLiteral("Brenn TKL (2)"));
        QCOMPARE(second.identifier, uint16_t(2));
        QVERIFY(panel.disconnect_selected()); // the new one is selected
        QCOMPARE(devices.count(), 1);
        QCOMPARE(devices.devices().at(0).identifier, uint16_t(1));
    }

    void web_address_is_validated_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("address");
        QTest::addRow("bare name gets https") << "example.com"
                                              << "https://example.com";
        QTest::addRow("path and query kept") << " http://www.example.com/a?b=1 "
                                             << "http://www.example.com/a?b=1";
        QTest::addRow("localhost with port") << "localhost:8080"
                                             << "https://localhost:8080";
        QTest::addRow("other scheme") << "ftp://example.com" << QString();
        QTest::addRow("no dot in the name") << "example" << QString();
        QTest::addRow("space inside") << "exa mple.com" << QString();
        QTest::addRow("script") << "javascript:alert(1)" << QString();
        QTest::addRow("empty") << "" << QString();
    }
    void web_address_is_validated() {
        QFETCH(QString, typed);
        QFETCH(QString, address);
        QCOMPARE(web_address::normalised(typed).value_or(QString()), address);
    }

    void new_timer_is_stored_under_the_modules_identifier() {
        timer_list_c timers;
        timers.add({1, QStringLiteral("Respawn"), 1000});
        component_context_c context;
        context.set_timers(&timers);
        auto* dialog = make<new_timer_dialog_i>(class_id::new_timer_dialog, &context);
        auto* host = static_cast<new_timer_dialog_c*>(dialog);
        bool taken_refused = false;
        when_open([&] {
            host->dialog()->name_edit()->setText(QStringLiteral("respawn"));
            taken_refused = !host->dialog()->ok_button()->isEnabled();
            host->dialog()->name_edit()->setText(QStringLiteral("Dragon"));
            host->dialog()->accept();
        });
        QCOMPARE(dialog->run(), 1);
        QVERIFY(taken_refused);
        QVERIFY(!dialog->store(1)); // taken identifier
        QVERIFY(dialog->store(77));
        QVERIFY(!dialog->store(78)); // one timer per acceptance
        QCOMPARE(timers.name_of(77), QStringLiteral("Dragon"));
        QCOMPARE(timers.find(77)->duration_ms, 60000u);
        dialog->release();
    }

    void timer_list_survives_restart_and_hostile_files_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readable");
        const QByteArray good = timer_list_c::to_bytes({{5, QStringLiteral("Buff"), 9000}});
        QByteArray huge_count = good;
        qToBigEndian<qint32>(100000, huge_count.data() + 12);
        QByteArray count_beyond_bytes = good;
        qToBigEndian<qint32>(200, count_beyond_bytes.data() + 12);
        QTest::addRow("written list") << good << true;
        QTest::addRow("truncated") << good.left(good.size() - 3) << false;
        QTest::addRow("oversized count") << huge_count << false;
        QTest::addRow("count beyond the bytes") << count_beyond_bytes << false;
        QTest::addRow("trailing bytes") << good + "x" << false;
        QTest::addRow("other magic") << QByteArray(good).replace(0, 1, "Z") << false;
        QTest::addRow("repeated identifier")
            << timer_list_c::to_bytes({{5, QStringLiteral("A"), 1}, {5, QStringLiteral("B"), 1}})
            << false;
        QTest::addRow("zero duration")
            << timer_list_c::to_bytes({{5, QStringLiteral("A"), 0}}) << false;
    }
    void timer_list_survives_restart_and_hostile_files() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("timers.dat"));
        QVERIFY(host_storage::save_file(file, bytes));
        timer_list_c timers(file);
        timers.add({1, QStringLiteral("Kept"), 1000}); // writes the file...
        QVERIFY(host_storage::save_file(file, bytes)); // ...which is then replaced
        QCOMPARE(timers.load(), readable);
        if (readable) {
            QCOMPARE(timers.timers(), QVector<timer_list_c::timer_t>({{5, "Buff", 9000}}));
            return;
        }
        // Nothing held is lost, and the damaged file is kept for a person.
        QCOMPARE(timers.name_of(1), QStringLiteral("Kept"));
        QVERIFY(QFile::exists(file + QStringLiteral(".damaged")));
        QVERIFY(!QFile::exists(file));
    }

    void service_tells_of_devices_and_timers() {
        timer_list_c timers;
        device_list_c devices;
        fake_relay relay; // outlives the service, which tells it when it goes
        catalogue_service_c service(&timers, &devices);
        query<listener_mgr_i>(static_cast<catalogue_service_i*>(&service))->add_listener(&relay);
        QVERIFY(devices.add({QStringLiteral("Brenn TKL"), 0x1B20, 3}));
        QVERIFY(!devices.add({QStringLiteral("Twin"), 0x1B20, 3})); // identifier taken
        timers.add({9, QStringLiteral("Buff"), 1000});
        QVERIFY(devices.remove(3));
        QCOMPARE(relay.heard, QStringList({"+3 1b20 Brenn TKL", "timers", "-3"}));
        QCOMPARE(service.device_index(3), -1);
        QCOMPARE(service.timer_name(service.timer_index(9)), QStringLiteral("Buff"));
    }

    void reset_confirmation_answers_once_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("answer");
        QTest::addRow("yes") << "yes" << 1;
        QTest::addRow("no") << "no" << 0;
        QTest::addRow("escape") << "escape" << 0;
        QTest::addRow("closed from the module") << "close" << 0;
    }
    void reset_confirmation_answers_once() {
        QFETCH(QString, how);
        QFETCH(int, answer);
        QWidget window;
        auto* anchor = new QPushButton(&window);
        window.show();
        fake_reset_client client;
        auto* confirm = make<reset_confirm_i>(class_id::reset_confirm);
        auto* host = static_cast<reset_confirm_c*>(confirm);
        confirm->set_client(&client);
        confirm->show_at(anchor);
        QVERIFY(host->bubble()->isVisible());
        if (how == QLatin1String("yes"))
            host->bubble()->yes_button()->click();
        else if (how == QLatin1String("no"))
            host->bubble()->no_button()->click();
        else if (how == QLatin1String("escape"))
            QTest::keyClick(host->bubble(), Qt::Key_Escape);
        else
            confirm->close_confirm();
        confirm->close_confirm();
        QCOMPARE(client.answers, QVector<int>({answer}));
        confirm->release();
    }

    void button_view_names_what_the_memory_holds_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("side");
        QTest::addColumn<QString>("label");
        const auto e = [](int code, int a, int b) {
            const char bytes[] = {char(code), char(a), char(b)};
            return QByteArray(bytes, 3);
        };
        QTest::addRow("hotkey") << 2 << e(5, 12, 4) << ""
                                << "Ctrl + Alt + A";
        QTest::addRow("hotkey without keys") << 2 << e(5, 1, 0) << ""
                                             << "Hotkey (no keys)";
        QTest::addRow("hotkey key out of range") << 2 << e(5, 0, 0xFF) << ""
                                                 << "Key 0xFF (out of range)";
        QTest::addRow("unknown code") << 2 << e(250, 0, 0) << ""
                                      << "Unknown function (250)";
        QTest::addRow("catalogue entry") << 2 << e(1, 0, 0) << ""
                                         << "Left click";
        QTest::addRow("custom DPI") << 2 << e(124, 0x08, 0x20) << ""
                                    << "Switch to 8200 DPI";
        QTest::addRow("custom DPI out of range") << 2 << e(124, 50, 0) << ""
                                                 << "Switch to 50 DPI (out of range)";
        QTest::addRow("DPI step") << 2 << e(52, 0, 0) << ""
                                  << "DPI step 2 (1600 DPI)";
        QTest::addRow("sensitivity step") << 2 << e(113, 0, 0) << ""
                                          << "Sensitivity -5";
        QTest::addRow("profile in use") << 2 << e(191, 0, 0) << ""
                                        << "Profile 1: Default1";
        QTest::addRow("profile not in use") << 2 << e(193, 0, 0) << ""
                                            << "Profile 3 (not in use)";
        QTest::addRow("macro") << 2 << e(48, 0, 0) << "macro:Jump"
                               << "Jump";
        QTest::addRow("macro without records") << 2 << e(48, 0, 0) << "nomacros"
                                               << "Macro (no record)";
        QTest::addRow("timer") << 2 << e(49, 0, 0) << "timer:4097"
                               << "Respawn";
        QTest::addRow("timer gone") << 2 << e(49, 0, 0) << "timer:99"
                                    << "Timer (no longer exists)";
        QTest::addRow("program") << 2 << e(15, 0, 0) << "text:C:/Games/run.exe"
                                 << "Open app: run.exe";
        QTest::addRow("website") << 2 << e(139, 0, 0) << "text:https://example.com"
                                 << "Open website: https://example.com";
        QTest::addRow("talk") << 2 << e(81, 0, 0) << "talk:Brenn TKL"
                              << "Alter-Key[+] on Brenn TKL";
        QTest::addRow("talk without record") << 2 << e(82, 0, 0) << ""
                                             << "Talk (no device record)";
        QTest::addRow("side position not fitted") << 8 << e(5, 0, 30) << "blank"
                                                  << "Not fitted";
        QTest::addRow("Alter-Key side position") << 28 << e(5, 2, 30) << ""
                                                 << "Shift + 1";
    }
    void button_view_names_what_the_memory_holds() {
        QFETCH(int, button);
        QFETCH(QByteArray, entry);
        QFETCH(QString, side);
        QFETCH(QString, label);
        forged_t f;
        f.set(button, uint8_t(entry[0]), uint8_t(entry[1]), uint8_t(entry[2]));
        const QString kind = side.section(QLatin1Char(':'), 0, 0);
        const QString value = side.section(QLatin1Char(':'), 1);
        if (kind == QLatin1String("macro"))
            f.macro_name = value;
        f.macros = kind != QLatin1String("nomacros");
        if (kind == QLatin1String("blank"))
            f.layout[27] = 0xFE; // position 1 has no cap
        if (kind == QLatin1String("text"))
            f.texts.insert(button, value);
        if (kind == QLatin1String("timer")) {
            QByteArray param(11, '\0');
            qToLittleEndian<quint32>(value.toUInt(), param.data());
            f.params.insert(button, param);
        }
        if (kind == QLatin1String("talk")) {
            QByteArray talk(75, '\0');
            qToLittleEndian<quint16>(button_side_record::talk_magic, talk.data());
            talk.replace(button_side_record::talk_name_at, value.size(), value.toUtf8());
            f.data.insert(button, talk);
        }
        button_view_c view(english_sources());
        view.set_memory(f.blob());
        QVERIFY(view.readable());
        QCOMPARE(view.label(button), label);
    }

    // "Top 4" is the fourth marker on the mouse, as on the button page: button index 4, not
    // index 3; every other top row is its own index.
    void top_rows_follow_the_markers_on_the_mouse_data() {
        QTest::addColumn<int>("marker");
        QTest::addColumn<int>("button");
        QTest::addRow("marker 3") << 3 << 2;
        QTest::addRow("marker 4") << 4 << 4;
        QTest::addRow("marker 5") << 5 << 3;
        QTest::addRow("marker 6") << 6 << 5;
        QTest::addRow("marker 4, Alter-Key[+]") << 4 << 24;
    }
    void top_rows_follow_the_markers_on_the_mouse() {
        QFETCH(int, marker);
        QFETCH(int, button);
        button_view_c view(english_sources());
        view.set_memory(forged_t().blob());
        view.layout()->activate();
        const QString caption = QStringLiteral("Top %1").arg(marker);
        QLabel* position = nullptr;
        for (QLabel* label : view.findChildren<QLabel*>()) {
            if (label->text() == caption)
                position = label;
        }
        QVERIFY(position);
        auto* shown = view.findChild<QLabel*>(QStringLiteral("lb_button_%1").arg(button));
        QVERIFY(shown);
        QCOMPARE(shown->geometry().bottom(), position->geometry().bottom());
    }

    void side_layout_shows_the_nearest_valid_panel_data() {
        QTest::addColumn<uint>("bytes");
        QTest::addColumn<QString>("caps");
        QTest::addColumn<bool>("corrected");
        QTest::addRow("twelve singles") << 0x000FFFu << "SSSSSSSSSSSS" << false;
        QTest::addRow("preset CS GO") << 0x020F0Fu << "SSDd....SSSS" << false;
        QTest::addRow("double whose partner is not fitted") << 0x010001u << "Dd.........." << true;
        QTest::addRow("bits beyond twelve positions") << 0x00FFFFu << "SSSSSSSSSSSS" << true;
        QTest::addRow("pair bits beyond six pairs") << 0x800000u << "............" << true;
    }
    void side_layout_shows_the_nearest_valid_panel() {
        QFETCH(uint, bytes);
        QFETCH(QString, caps);
        QFETCH(bool, corrected);
        forged_t f;
        f.layout[27] = uint8_t(bytes);
        f.layout[28] = uint8_t(bytes >> 8);
        f.layout[29] = uint8_t(bytes >> 16);
        button_view_c view(english_sources());
        view.set_memory(f.blob());
        QString shown;
        for (side_layout::cap_t cap : view.side_layout().caps)
            shown += QStringLiteral(".SDd").at(int(cap));
        QCOMPARE(shown, caps);
        QCOMPARE(!view.note().isEmpty(), corrected);
    }

    void unreadable_memory_is_reported_not_shown_data() {
        QTest::addColumn<QByteArray>("blob");
        const QByteArray good = forged_t().blob();
        QByteArray huge = good;
        qToBigEndian<qint32>(0x7FFFFFFF, huge.data()); // the names list's count
        QTest::addRow("cut in the names") << good.left(200);
        QTest::addRow("cut in the picture") << good.left(good.indexOf("IEND") - 8);
        QTest::addRow("cut in the macros") << good.left(good.size() - 1000);
        QTest::addRow("oversized count") << huge;
        QByteArray negative = good;
        qToBigEndian<qint32>(-1, negative.data());
        QTest::addRow("negative count") << negative;
        QByteArray marker = good;
        const int png = marker.indexOf("PNG\r\n") - 1; // the signature starts one byte earlier
        qToBigEndian<qint32>(7, marker.data() + png - 4);
        QTest::addRow("unknown picture marker") << marker;
    }
    void unreadable_memory_is_reported_not_shown() {
        QFETCH(QByteArray, blob);
        button_view_c view(english_sources());
        view.set_memory(blob);
        QVERIFY(!view.readable());
        QVERIFY(view.note().startsWith(QStringLiteral("The mouse's memory cannot be read")));
        QCOMPARE(view.label(2), QStringLiteral("—"));
    }
};

QTEST_MAIN(test_button_host)
#include "test_button_host.moc"
