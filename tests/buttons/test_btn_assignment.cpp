// The button assignment page on a real kernel: its place among the kernel's pages, the
// default presets, every reset with the default-button table, the controls and their boxes
// (open, close, reopen), the top box's row mapping and markers, the side box's history
// buttons, reset confirmation and preset selector, and the deactivation overlay.
#include "button_sets/btn_help_fm.h"
#include "button_sets/btn_preset_fm.h"
#include "button_sets/jigsawparent1.h"
#include "buttons/btn_assignment.h"
#include "buttons/btn_assignment_box_fm.h"
#include "buttons/btn_assignment_fm.h"
#include "buttons/btn_box_ctrl_funcs.h"
#include "buttons/btn_deactivate_fm.h"
#include "buttons/btn_list_fm.h"
#include "buttons/default_presets.h"
#include "buttons/top_btn_assignment_box_fm.h"
#include "host/components/menu.h"
#include "kernel/zarek_black_kernel.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_white_kernel.h"
#include "module/component_interfaces.h"
#include "module/module.h"
#include "support/fake_host.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

QString entry_text(const uint8_t* e) {
    return QStringLiteral("%1,%2,%3").arg(e[0]).arg(e[1]).arg(e[2]);
}

// The host's reset confirmation, answered by the test.
class fake_confirm final : public reset_confirm_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i || iid == iid_reset_confirm_i ? this : nullptr;
    }
    void release() override { delete this; }
    void set_client(reset_to_default_fm_client_i* c) override { client = c; }
    void show_at(QWidget* anchor) override { shown_at = anchor ? anchor->objectName() : "null"; }
    void close_confirm() override {}
    reset_to_default_fm_client_i* client = nullptr;
    QString shown_at;
};

// The host's preset selector: keeps what it was given.
class fake_selector final : public preset_selector_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i || iid == iid_preset_selector_i ? this : nullptr;
    }
    void release() override { delete this; }
    void attach(QWidget* p) override { parent = p; }
    void set_texts(const QString& t, const QString& d) override { title = t, description = d; }
    void set_presets(const QList<QByteArray>& r) override { records = r; }
    void set_current(int32_t i) override { current = i; }
    void set_client(preset_selector_client_i* c) override { client = c; }
    QWidget* parent = nullptr;
    QString title, description;
    QList<QByteArray> records;
    int32_t current = -2;
    preset_selector_client_i* client = nullptr;
};

} // namespace

class test_btn_assignment : public QObject {
    Q_OBJECT

private:
    fake_host m_host;
    fake_confirm* m_confirm = nullptr;
    fake_selector* m_selector = nullptr;
    zarek_kernel_c* m_kernel = nullptr;
    std::unique_ptr<QWidget> m_parent;

    btn_assignment_c* page() const {
        return static_cast<btn_assignment_c*>(m_kernel->page(page_type::button_assignment));
    }
    zarek_data_c* data() const { return m_kernel->data(); }
    btn_assignment_box_fm_c* side_box() const {
        auto* ctrl = static_cast<btn_box_ctrl_funcs_c*>(page()->ctrl_funcs(7));
        return static_cast<btn_assignment_box_fm_c*>(ctrl->form());
    }
    top_btn_assignment_box_fm_c* top_box() const {
        auto* ctrl = static_cast<btn_box_ctrl_funcs_c*>(page()->ctrl_funcs(8));
        return static_cast<top_btn_assignment_box_fm_c*>(ctrl->form());
    }
    void fill_buttons(uint8_t value) {
        for (int s = 0; s < max_profile_slots; ++s) {
            for (int i = 0; i < 40; ++i) {
                uint8_t* e = data()->btn_assign(s).entry(i);
                e[0] = e[1] = e[2] = value;
            }
        }
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        m_host.center.texts.prefix = QStringLiteral("T");
        m_host.factory = [this](int32_t id, const GUID&) -> interface_i* {
            if (id == class_id::reset_confirm)
                return m_confirm = new fake_confirm;
            if (id == class_id::preset_selector)
                return m_selector = new fake_selector;
            // The host's real menus, so that a row's menu opens and closes.
            if (id == class_id::menu)
                return static_cast<menu_i*>(new menu_c);
            if (id == class_id::menu_entry)
                return static_cast<menu_entry_i*>(new menu_entry_c);
            return nullptr;
        };
        quil_init_module(&m_host);
    }
    void cleanupTestCase() { quil_exit_module(); }

    void init() {
        m_host.center.slot = 0xFF;
        m_host.center.commands.clear();
        m_host.center.busy.clear();
        m_kernel = new zarek_black_kernel_c;
        m_parent = std::make_unique<QWidget>();
        m_parent->resize(1002, 1100);
        m_kernel->attach(&m_host.center, m_parent.get());
    }
    void cleanup() {
        m_kernel->release();
        m_kernel = nullptr;
        m_parent.reset();
    }

    void the_kernel_shows_the_page_after_the_main_page() {
        QVERIFY(page());
        QCOMPARE(page()->page_id(), 1);
        auto* as_page = static_cast<product_function_page_i*>(page());
        QCOMPARE(query<product_function_page_i>(as_page), as_page);
        QStringList order;
        for (int i = 0; i < m_kernel->page_count(); ++i)
            order << QString::number(m_kernel->page_at(i)->page_id());
        QCOMPARE(order.indexOf("1"), order.indexOf("0") + 1);
    }

    void controls_by_type_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("present");
        QTest::addRow("side buttons") << 7 << true;
        QTest::addRow("top buttons") << 8 << true;
        QTest::addRow("DPI switcher is not here") << 1 << false;
        QTest::addRow("unknown") << 99 << false;
    }
    void controls_by_type() {
        QFETCH(int, type);
        QFETCH(bool, present);
        ctrl_funcs_i* ctrl = page()->ctrl_funcs(type);
        QCOMPARE(ctrl != nullptr, present);
        if (!ctrl)
            return;
        QCOMPARE(ctrl->ctrl_type(), type);
        QCOMPARE(ctrl->box_span(), 2);
        QVERIFY(query<btn_assignment_ctrl_funcs_i>(ctrl));
    }

    void reset_profile_writes_the_default_table_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("entry");
        QTest::addRow("left button") << 0 << "1,0,0";
        QTest::addRow("row 5 of the top box edits index 3") << 3 << "13,0,0";
        QTest::addRow("top 5") << 5 << "65,0,0";
        QTest::addRow("side position 1") << 8 << "5,0,30";
        QTest::addRow("side position 5") << 12 << "5,0,34";
        QTest::addRow("side position 11") << 18 << "5,0,45";
        QTest::addRow("side position 12") << 19 << "5,0,46";
        QTest::addRow("alter left button is off") << 20 << "0,0,0";
        QTest::addRow("alter top 3") << 22 << "37,0,0";
        QTest::addRow("alter top 6 is off") << 25 << "0,0,0";
        QTest::addRow("alter top 7") << 26 << "99,0,0";
        QTest::addRow("alter position 1 with shift") << 28 << "5,2,30";
        QTest::addRow("alter position 12 with shift") << 39 << "5,2,46";
    }
    void reset_profile_writes_the_default_table() {
        QFETCH(int, index);
        QFETCH(QString, entry);
        fill_buttons(0xAB);
        page()->reset_profile(4, false);
        QCOMPARE(entry_text(data()->btn_assign(4).entry(index)), entry);
        // Only the slot asked for.
        QCOMPARE(entry_text(data()->btn_assign(3).entry(index)), QStringLiteral("171,171,171"));
    }

    void resetting_side_buttons_leaves_top_buttons_and_adds_no_preset() {
        ::load_default_presets(data());
        fill_buttons(7);
        page()->reset_ctrl_for(7, 2);
        for (int i : {0, 7, 20, 27})
            QCOMPARE(entry_text(data()->btn_assign(2).entry(i)), QStringLiteral("7,7,7"));
        QCOMPARE(entry_text(data()->btn_assign(2).entry(8)), QStringLiteral("5,0,30"));
        QCOMPARE(entry_text(data()->btn_assign(2).entry(39)), QStringLiteral("5,2,46"));
        const btn_layout_rec& layout = data()->layout(2);
        QCOMPARE(QString::fromUtf8(layout.name()), QStringLiteral("Button Preset"));
        QCOMPARE(int(layout.preset_id()), 3);
        QCOMPARE(layout.layout_value(), 0x000FFFu);
        QCOMPARE(int(layout.b[2]), 2);
        QCOMPARE(data()->saved_layouts().size(), 4);
        // Without the shipped presets the side default becomes a preset of its own.
        data()->saved_layouts().clear();
        page()->reset_ctrl_for(7, 1);
        QCOMPARE(data()->saved_layouts().size(), 1);
        QCOMPARE(int(data()->saved_layouts().at(0).preset_id()), 3);
    }

    void reset_all_rereads_presets_and_touches_every_slot() {
        data()->saved_layouts().clear();
        fill_buttons(9);
        page()->reset_all();
        QCOMPARE(data()->saved_layouts().size(), 4);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(int(data()->saved_layouts().at(k).preset_id()), k);
        for (int s = 0; s < max_profile_slots; ++s) {
            QCOMPARE(entry_text(data()->btn_assign(s).entry(1)), QStringLiteral("2,0,0"));
            QCOMPARE(entry_text(data()->btn_assign(s).entry(38)), QStringLiteral("5,2,45"));
        }
    }

    void out_of_range_slots_change_nothing() {
        fill_buttons(3);
        const QByteArray before =
            QByteArray(reinterpret_cast<const char*>(data()->btn_assign(0).data()), 123);
        page()->reset_profile(5, true);
        page()->reset_profile(-1, true);
        page()->reset_ctrl_for(7, 9);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(data()->btn_assign(0).data()), 123),
                 before);
    }

    void a_box_reset_acts_on_the_hosts_slot_data() {
        QTest::addColumn<int>("host_slot");
        QTest::addColumn<int>("slot");
        QTest::addRow("no slot means slot 0") << 0xFF << 0;
        QTest::addRow("slot 3") << 3 << 3;
    }
    void a_box_reset_acts_on_the_hosts_slot() {
        QFETCH(int, host_slot);
        QFETCH(int, slot);
        fill_buttons(1);
        m_host.center.slot = uint8_t(host_slot);
        page()->reset_ctrl(page()->ctrl_funcs(8));
        QCOMPARE(entry_text(data()->btn_assign(slot).entry(6)), QStringLiteral("9,0,0"));
        // The top box's reset leaves the side buttons alone.
        QCOMPARE(entry_text(data()->btn_assign(slot).entry(8)), QStringLiteral("1,1,1"));
        for (int other = 0; other < max_profile_slots; ++other) {
            if (other != slot)
                QCOMPARE(entry_text(data()->btn_assign(other).entry(6)), QStringLiteral("1,1,1"));
        }
    }

    void opening_builds_both_boxes_and_reopening_rebuilds_them() {
        page()->reset_all();
        m_kernel->open_page(1);
        btn_assignment_fm_c* form = page()->form();
        QVERIFY(form);
        QCOMPARE(side_box()->parentWidget(), form->side_panel());
        QCOMPARE(top_box()->parentWidget(), form->top_panel());
        QVERIFY(m_parent->minimumHeight() >= 459 + 548);
        QPointer<QWidget> first_side = side_box();
        QVERIFY(side_box()->list()->row_button(9));
        const QString hotkey_label = side_box()->list()->row_button(9)->text();
        data()->btn_assign(0).entry(9)[0] = 0;
        m_kernel->close_page();
        QVERIFY(!page()->form());
        QVERIFY(!first_side);
        // The reopened box reads the profile again: position 2 is disabled now.
        m_kernel->open_page(1);
        QVERIFY(side_box());
        QVERIFY(side_box()->list()->row_button(9));
        QVERIFY(side_box()->list()->row_button(9)->text() != hotkey_label);
        QCOMPARE(side_box()->list()->row_button(10)->text(), side_box()->list()->row_label(10));
    }

    void the_top_box_maps_rows_to_buttons_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("assignable");
        QTest::addRow("row 1 is the left button") << 0 << "1" << false;
        QTest::addRow("row 2 is the right button") << 1 << "2" << false;
        QTest::addRow("row 4 edits index 4") << 4 << "4" << true;
        QTest::addRow("row 5 edits index 3") << 3 << "5" << true;
        QTest::addRow("alter row 1") << 20 << "1" << true;
        QTest::addRow("alter row 5 edits index 23") << 23 << "5" << true;
        QTest::addRow("alter row 6 opens no menu") << 25 << "6" << false;
        QTest::addRow("alter row 8") << 27 << "8" << true;
    }
    void the_top_box_maps_rows_to_buttons() {
        QFETCH(int, index);
        QFETCH(QString, number);
        QFETCH(bool, assignable);
        m_kernel->open_page(1);
        btn_list_fm_c* list = top_box()->list();
        QVERIFY(list->row_number(index));
        QCOMPARE(list->row_number(index)->text(), number);
        QCOMPARE(list->is_assignable(index), assignable);
        // The marker of the row carries the row's number.
        QWidget* marker = top_box()->marker_of(index);
        QVERIFY(marker);
        QCOMPARE(marker->findChild<QLabel*>()->text(), number);
    }

    void the_top_marker_lights_while_its_menu_is_open() {
        page()->reset_all();
        m_kernel->open_page(1);
        top_btn_assignment_box_fm_c* box = top_box();
        QVERIFY(!box->marker_lit(3));
        // What the marker shows: the highlight image, lit or not.
        const auto look = [box] {
            return box->marker_of(3)->grab().toImage();
        };
        const QImage unlit = look();
        // Row 5 is button 3: its menu opens 20 ms after the click.
        box->list()->click_row(3);
        QTRY_VERIFY(box->marker_lit(3));
        QVERIFY(box->marker_lit(23)); // the twin shares the marker
        QVERIFY(!box->marker_lit(4));
        QVERIFY(look() != unlit);
        auto* root = static_cast<menu_c*>(box->list()->host_menu());
        root->close_menu();
        QTRY_VERIFY(!box->marker_lit(3));
        QCOMPARE(look(), unlit);
    }

    void the_side_block_lights_while_its_menu_is_open() {
        page()->reset_all();
        m_kernel->open_page(1);
        btn_assignment_box_fm_c* box = side_box();
        box->list()->click_row(30); // Alter-Key[+] position 3
        QTRY_COMPARE(box->editor()->display_state(3), uint8_t(jigsawparent1::single_hover));
        auto* root = static_cast<menu_c*>(box->list()->host_menu());
        root->close_menu();
        QTRY_COMPARE(box->editor()->display_state(3), uint8_t(jigsawparent1::single));
    }

    void the_side_box_rows_cover_both_layers() {
        m_kernel->open_page(1);
        btn_list_fm_c* list = side_box()->list();
        for (int k = 0; k < 12; ++k) {
            for (int index : {8 + k, 28 + k}) {
                QVERIFY(list->row_number(index));
                QCOMPARE(list->row_number(index)->text(), QString::number(k + 1));
            }
        }
        QVERIFY(!list->row_button(7));
        QVERIFY(!list->row_button(20));
    }

    void history_buttons_follow_the_editor() {
        // Twelve singles in every profile.
        page()->reset_all();
        m_kernel->open_page(1);
        btn_assignment_box_fm_c* box = side_box();
        QVERIFY(!box->ui().btn_undo->isEnabled());
        QVERIFY(!box->ui().btn_redo->isEnabled());
        box->editor()->select_all(true);
        box->editor()->delete_selected();
        QVERIFY(box->ui().btn_undo->isEnabled());
        QVERIFY(!box->ui().btn_redo->isEnabled());
        box->ui().btn_undo->click();
        QVERIFY(!box->ui().btn_undo->isEnabled());
        QVERIFY(box->ui().btn_redo->isEnabled());
        QCOMPARE(box->editor()->resting_state(1), uint8_t(jigsawparent1::single));
    }

    void select_all_reaches_the_editor_and_a_shake_unticks_it() {
        // Twelve singles in every profile.
        page()->reset_all();
        m_kernel->open_page(1);
        btn_assignment_box_fm_c* box = side_box();
        box->ui().ckb_select_all->click();
        QVERIFY(box->editor()->has_selection());
        QCOMPARE(box->editor()->resting_state(5), uint8_t(jigsawparent1::single_selected));
        box->clear_select_all();
        QVERIFY(!box->ui().ckb_select_all->isChecked());
        // Unticking only the box does not deselect.
        QVERIFY(box->editor()->has_selection());
    }

    void reset_confirmation_answers_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("reset");
        QTest::addRow("yes") << 1 << true;
        QTest::addRow("no") << 0 << false;
        QTest::addRow("anything else") << 2 << false;
    }
    void reset_confirmation_answers() {
        QFETCH(int, answer);
        QFETCH(bool, reset);
        m_kernel->open_page(1);
        fill_buttons(4);
        m_host.center.slot = 1;
        side_box()->ui().btn_reset->click();
        QVERIFY(m_confirm);
        QCOMPARE(m_confirm->shown_at, QStringLiteral("btn_reset"));
        QCOMPARE(m_confirm->client, static_cast<reset_to_default_fm_client_i*>(side_box()));
        m_confirm->client->reset_answer(answer);
        QCOMPARE(entry_text(data()->btn_assign(1).entry(10)),
                 reset ? QStringLiteral("5,0,32") : QStringLiteral("4,4,4"));
        QCOMPARE(entry_text(data()->btn_assign(1).entry(2)), QStringLiteral("4,4,4"));
    }

    void the_preset_selector_gets_the_list_and_picks_a_preset() {
        page()->reset_all();
        m_host.center.slot = 0;
        m_kernel->open_page(1);
        QVERIFY(m_selector);
        QCOMPARE(m_selector->parent, side_box()->ui().wg_info);
        QCOMPARE(m_selector->title, QStringLiteral("T72"));
        QCOMPARE(m_selector->description, QStringLiteral("T591"));
        QCOMPARE(m_selector->records.size(), 4);
        QCOMPARE(m_selector->records.at(0).size(), 30);
        // Slot 0 uses "Button Preset" after the reset.
        QCOMPARE(m_selector->current, 3);
        m_selector->client->preset_chosen(0);
        QCOMPARE(data()->layout(0).layout_value(), 0x020F0Fu);
        QCOMPARE(int(data()->layout(0).preset_id()), 0);
        QCOMPARE(m_selector->current, 0);
        // A pick outside the list changes nothing.
        m_selector->client->preset_chosen(17);
        QCOMPARE(int(data()->layout(0).preset_id()), 0);
    }

    void the_favourite_box_marks_the_control() {
        m_kernel->open_page(1);
        ctrl_funcs_i* side = page()->ctrl_funcs(7);
        side_box()->ui().cb_favorite->click();
        QTRY_VERIFY(side->is_favorite());
        QVERIFY(data()->favourites().contains(7));
        side->set_favorite(false);
        QVERIFY(!side_box()->ui().cb_favorite->isChecked());
    }

    void deactivation_keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::addRow("escape is ignored") << int(Qt::Key_Escape) << false;
        QTest::addRow("space is ignored") << int(Qt::Key_Space) << false;
        QTest::addRow("return") << int(Qt::Key_Return) << true;
        QTest::addRow("keypad enter") << int(Qt::Key_Enter) << true;
    }
    void deactivation_keys() {
        QFETCH(int, key);
        QFETCH(bool, closes);
        btn_deactivate_fm_c overlay(product_type::black);
        overlay.show();
        QTest::keyClick(&overlay, Qt::Key(key));
        QCOMPARE(overlay.isVisible(), !closes);
        QCOMPARE(overlay.result(), closes ? int(QDialog::Accepted) : int(QDialog::Rejected));
    }

    void deactivation_switches_the_buttons_off_until_enter() {
        m_kernel->open_page(1);
        btn_assignment_box_fm_c* box = side_box();
        QList<int> codes_while_up;
        connect(
            box, &btn_assignment_box_fm_c::deactivation_shown, this,
            [&](btn_deactivate_fm_c* overlay) {
                for (const auto& c : m_host.center.commands)
                    codes_while_up << c.code;
                QTest::keyClick(overlay, Qt::Key_Escape);
                QVERIFY(overlay->isVisible());
                QCOMPARE(overlay->ui().lb_title->text(), QStringLiteral("T598"));
                QCOMPARE(overlay->ui().lb_comment->text(), QStringLiteral("T600"));
                QTest::keyClick(overlay, Qt::Key_Enter);
            },
            Qt::QueuedConnection);
        box->ui().btn_deactivate->click();
        QVERIFY(!box->deactivation());
        QCOMPARE(codes_while_up, QList<int>{kernel_command::switch_off});
        QList<int> codes;
        for (const auto& c : m_host.center.commands)
            codes << c.code;
        QCOMPARE(codes, (QList<int>{kernel_command::switch_off, kernel_command::switch_on}));
        QCOMPARE(m_host.center.busy.size(), 2);
        QCOMPARE(std::get<0>(m_host.center.busy.at(0)), true);
        QCOMPARE(std::get<0>(m_host.center.busy.at(1)), false);
    }

    void pointing_at_the_guide_mark_shows_the_guide() {
        m_kernel->open_page(1);
        btn_assignment_box_fm_c* box = side_box();
        QVERIFY(!box->help());
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(box->ui().wg_preset_info, &enter);
        QVERIFY(box->help());
        QVERIFY(box->help()->isVisible());
        const QPoint g = box->ui().wg_preset_info->mapToGlobal(QPoint(0, 0));
        QCOMPARE(box->help()->pos(), QPoint(g.x() + 116 - (box->help()->width() - 1),
                                            g.y() + box->ui().wg_preset_info->height() - 1 - 15));
        // The same guide next time.
        QPointer<btn_help_fm_c> first = box->help();
        QCoreApplication::sendEvent(box->ui().wg_preset_info, &enter);
        QCOMPARE(box->help(), first.data());
    }
};

QTEST_MAIN(test_btn_assignment)
#include "test_btn_assignment.moc"
