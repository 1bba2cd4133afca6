// The button assignment page of the built module, used through koral as a person uses it:
// a hotkey typed into the host's hotkey dialog and a macro picked from the host's library
// reach the virtual mouse's memory and read back from it after a restart; and, in an X
// server, a palette block dragged with the mouse onto the side panel fits a button that
// the mouse keeps. Nothing here reaches into the module: the mouse's memory is read with
// koral's own reader.
#include "host/button_view.h"
#include "host/components/hotkey_dialog.h"
#include "host/ctrl_center.h"
#include "host/hub.h"
#include "host/kernel_session.h"
#include "host/macro_library.h"
#include "host/module_host.h"
#include "host/module_loader.h"
#include "host/mouse_memory.h"
#include "host/texts.h"
#include "host/virtual_mouse.h"
#include "module/kernel_host_interfaces.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QString k_module = QStringLiteral(QUIL_BIN_DIR "/quil");

QString text(int32_t id) {
    return host_texts::text(id, host_texts::english);
}

// The open root menu of the catalogue, or null.
QMenu* open_menu() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* menu = qobject_cast<QMenu*>(w);
        if (menu && menu->isVisible())
            return menu;
    }
    return nullptr;
}

// The action labelled `label` anywhere in the menu's tree.
QAction* find_action(QMenu* menu, const QString& label) {
    if (!menu)
        return nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == label && !action->menu())
            return action;
        if (QAction* inner = find_action(action->menu(), label))
            return inner;
    }
    return nullptr;
}

// The visible host hotkey dialog, or null.
hotkey_dialog_fm_c* open_hotkey_dialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<hotkey_dialog_fm_c*>(w);
        if (dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

mouse_memory::profile_t stored_profile(const QByteArray& blob, int slot) {
    mouse_memory::memory_t memory;
    QString error;
    if (!mouse_memory::read(blob, &memory, &error))
        return {};
    return memory.profiles.value(slot);
}

button_labels::sources_t label_sources() {
    button_labels::sources_t sources;
    sources.text = [](int32_t id) {
        return text(id);
    };
    sources.timer_name = [](uint32_t) {
        return QString();
    };
    return sources;
}

} // namespace

class e2e_buttons : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ctrl_center_c> m_centre;
    std::unique_ptr<hub_c> m_hub;
    std::unique_ptr<module_host_c> m_host;
    std::unique_ptr<module_loader_c> m_loader;

    void start_module() {
        m_centre = std::make_unique<ctrl_center_c>();
        m_hub = std::make_unique<hub_c>(m_dir->path());
        m_centre->set_hub(m_hub.get());
        m_host = std::make_unique<module_host_c>(m_centre.get());
        m_loader = std::make_unique<module_loader_c>(k_module);
        QVERIFY2(m_loader->load(), qPrintable(m_loader->error_string()));
        QVERIFY(m_loader->enter(m_host.get()));
    }
    void stop_module() {
        m_loader.reset();
        m_host.reset();
        m_hub.reset();
        m_centre.reset();
    }

    // Clicks the row of a button index and waits for the catalogue's menu.
    QMenu* open_row_menu(QWidget* area, int button_index) {
        auto* row = area->findChild<QPushButton*>(QStringLiteral("btn_row_%1").arg(button_index));
        if (!row)
            return nullptr;
        QTest::mouseClick(row, Qt::LeftButton);
        for (int waited = 0; !open_menu() && waited < 2000; waited += 10)
            QTest::qWait(10);
        return open_menu();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void cleanup() {
        stop_module();
        m_dir.reset();
    }

    void a_hotkey_and_a_macro_reach_the_mouse_and_survive_a_restart() {
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QSKIP("runs off screen");
        start_module();
        // The host's library holds the macro the person picks.
        macro_library_c* library = m_hub->library();
        const int group = library->create_group(QStringLiteral("Games"));
        QVERIFY(library->create_macro(group, QStringLiteral("Jump"), {}) >= 0);
        QWidget area;
        area.resize(1002, 1100);
        area.show();
        {
            kernel_session_c session(m_host.get(), m_centre.get(), nullptr, m_dir->path());
            session.set_page_area(&area);
            QVERIFY(session.open(product_type::black));
            session.kernel()->open_page(page_type::button_assignment);
            QApplication::processEvents();

            // Side position 1: Ctrl + Alt + A, typed into the host's dialog.
            QMenu* menu = open_row_menu(&area, 8);
            QVERIFY(menu);
            QAction* record = find_action(menu, text(78));
            QVERIFY(record);
            bool typed = false;
            QTimer::singleShot(0, this, [] {}); // keeps the loop turning while the menu closes
            QTimer poll;
            connect(&poll, &QTimer::timeout, this, [&] {
                hotkey_dialog_fm_c* dialog = open_hotkey_dialog();
                if (!dialog || typed)
                    return;
                typed = true;
                dialog->field()->set_scheme(hid_keys::scan_scheme::none);
                QTest::keyClick(dialog->field(), Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
                dialog->ok_button()->click();
            });
            poll.start(10);
            record->trigger();
            QTRY_VERIFY_WITH_TIMEOUT(typed, 3000);
            poll.stop();
            QTRY_VERIFY(!open_hotkey_dialog());

            // Side position 2: the library's macro.
            menu = open_row_menu(&area, 9);
            QVERIFY(menu);
            QAction* jump = find_action(menu, QStringLiteral("Jump"));
            QVERIFY(jump);
            jump->trigger();
            // A click on the entry closes the menu; trigger() alone leaves it up.
            menu->hide();
            QTRY_VERIFY(!open_menu());
            QApplication::processEvents();
            QVERIFY(session.commit_now());
            session.kernel()->close_page();
            session.close();
        }
        stop_module();

        // A restart: the module and a new mouse on the same folder.
        start_module();
        kernel_session_c session(m_host.get(), m_centre.get(), nullptr, m_dir->path());
        session.set_page_area(&area);
        QVERIFY(session.open(product_type::black));
        const QByteArray blob = session.mouse()->blob();
        const mouse_memory::profile_t profile = stored_profile(blob, 0);
        const std::array<uint8_t, 3> hotkey = profile.entry(8);
        QCOMPARE(int(hotkey[0]), function_code::hotkey);
        QCOMPARE(int(hotkey[1]), hotkey_modifier::ctrl | hotkey_modifier::alt);
        QCOMPARE(int(hotkey[2]), 4); // the keyboard usage of A
        QCOMPARE(int(profile.entry(9)[0]), function_code::macro);
        QCOMPARE(profile.macro_name(9), QStringLiteral("Jump"));
        // koral's view of the mouse names both.
        button_view_c view(label_sources());
        view.set_memory(blob);
        QVERIFY2(view.label(8).contains(QLatin1String("A")), qPrintable(view.label(8)));
        QVERIFY2(view.label(9).contains(QLatin1String("Jump")), qPrintable(view.label(9)));
        // And the module shows them again on its rows.
        session.kernel()->open_page(page_type::button_assignment);
        auto* row = area.findChild<QPushButton*>(QStringLiteral("btn_row_9"));
        QVERIFY(row);
        QVERIFY2(row->text().contains(QLatin1String("Jump")), qPrintable(row->text()));
        session.kernel()->close_page();
        session.close();
    }

    void a_palette_block_dragged_onto_the_panel_fits_a_button() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server (the xvfb-run registration of this suite)");
        start_module();
        QWidget area;
        area.resize(1002, 1100);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        kernel_session_c session(m_host.get(), m_centre.get(), nullptr, m_dir->path());
        session.set_page_area(&area);
        QVERIFY(session.open(product_type::black));
        session.kernel()->open_page(page_type::button_assignment);
        QTest::qWait(50);

        // The first shipped preset leaves the panel's middle row blank.
        const QList<QWidget*> tiles =
            area.findChildren<QWidget*>(QStringLiteral("btn_preset_sub_fm_c"));
        QVERIFY(!tiles.isEmpty());
        QTest::mouseClick(tiles.first(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QTest::qWait(50);
        session.commit_now();
        const mouse_memory::profile_t before = stored_profile(session.mouse()->blob(), 0);
        QCOMPARE(int(before.layout[27]) & 0x10, 0); // position 5 is blank

        QWidget* editor = area.findChild<QWidget*>(QStringLiteral("jigsawparent1"));
        QWidget* block = nullptr;
        for (QWidget* w : area.findChildren<QWidget*>()) {
            // The single block sits above the double one in the palette.
            if (w->inherits("JigsawBlock") && (!block || w->y() < block->y()))
                block = w;
        }
        QVERIFY(editor && block);
        QWindow* window = area.windowHandle();
        const QPoint start = block->mapTo(&area, block->rect().center());
        // The middle of position 5's hit rectangle on the panel.
        const QPoint target = editor->mapTo(&area, QPoint(236, 101));
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, start);
        // The drag runs its own loop once it starts: the pointer moves on from timers.
        QTimer::singleShot(150, this, [=] { QTest::mouseMove(window, (start + target) / 2); });
        QTimer::singleShot(300, this, [=] { QTest::mouseMove(window, target); });
        QTimer::singleShot(450, this, [=] { QTest::mouseMove(window, target + QPoint(1, 1)); });
        QTimer::singleShot(650, this, [=] {
            QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, target + QPoint(1, 1));
        });
        QTest::mouseMove(window, start + QPoint(25, 0));
        QTest::qWait(900);

        QVERIFY(session.commit_now());
        const mouse_memory::profile_t after = stored_profile(session.mouse()->blob(), 0);
        QCOMPARE(int(after.layout[27]), int(before.layout[27]) | 0x10);
        QCOMPARE(int(after.layout[28]), int(before.layout[28]));
        QCOMPARE(int(after.layout[29]), int(before.layout[29]));
        session.kernel()->close_page();
        session.close();
    }
};

QTEST_MAIN(e2e_buttons)
#include "e2e_buttons.moc"
