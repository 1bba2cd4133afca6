// The side-panel layout editor on a real profile set: drops, deletions, history, selection,
// hover from outside, drags out of the panel, the trash can, the guide, and the stored
// layout the preset strip keeps from the editor's notifications.
#include "../common/log_capture.h"
#include "button_sets/btn_help_fm.h"
#include "module/module.h"
#include "side_box_rig.h"
#include "support/fake_host.h"

#include <QLabel>
#include <QPainter>
#include <QtTest>

using namespace side_box_test;

namespace {

QString digits(const jigsawparent1* e, bool kinds) {
    QString text;
    for (int s = 1; s <= 12; ++s)
        text += QString::number(kinds ? e->kind_array()[s - 1] : e->display_state(s));
    return text;
}

// Profile 0 (the host shows none) takes the layout; the editor hears of it and reloads.
void load(side_box& box, uint32_t value) {
    btn_layout_rec r = box.data()->layout(0);
    r.set_layout_value(value);
    box.data()->set_layout(r);
}

uint32_t stored(side_box& box) {
    return box.data()->layout(0).layout_value();
}

void click(jigsawparent1* e, int slot) {
    send_mouse(e, QEvent::MouseButtonRelease, slot_centre(e, slot), Qt::LeftButton, Qt::NoButton);
}

// Runs "drop K T" (a palette block of kind K released on slot T, 0 = beside every slot),
// "select S", "selectall 0|1", "delete", "hover I", "unhover I", "undo" and "redo".
void run(side_box& box, const QString& script) {
    jigsawparent1* e = box.editor();
    for (const QString& step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList w = step.trimmed().split(QLatin1Char(' '));
        const int a = w.value(1).toInt();
        if (w[0] == "drop") {
            JigsawBlock* block = a == 2 ? box.double_block : box.single;
            const int t = w[2].toInt();
            drop_on(e, t ? slot_centre(e, t) : QPoint(5, 5), block);
        } else if (w[0] == "select") {
            click(e, a);
        } else if (w[0] == "selectall") {
            e->select_all(a != 0);
        } else if (w[0] == "delete") {
            e->delete_selected();
        } else if (w[0] == "hover") {
            e->hover_button(a);
        } else if (w[0] == "unhover") {
            e->unhover_button(a);
        } else if (w[0] == "undo") {
            e->undo();
        } else if (w[0] == "redo") {
            e->redo();
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }
}

} // namespace

class test_layout_editor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        m_host.center.texts.prefix = QStringLiteral("T");
        quil_init_module(&m_host);
    }
    void cleanupTestCase() { quil_exit_module(); }

    // kinds and states: one digit per slot 1..12; notes: what the listeners heard of fitted
    // buttons and pairs ("*" unchecked); history: count/position; stored: the profile's
    // layout value afterwards.
    void editing_data() {
        QTest::addColumn<uint>("layout");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QString>("states");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("history");
        QTest::addColumn<uint>("stored");
        QTest::addRow("single on a selected single") << 0x000FFFu << "select 3; drop 1 3"
                                                     << "111111111111"
                                                     << "002000000000"
                                                     << ""
                                                     << "0/0" << 0x000FFFu;
        QTest::addRow("single on the second slot of a double splits it") << 0x010FFFu << "drop 1 2"
                                                                         << "111111111111"
                                                                         << "000000000000"
                                                                         << "fitted 9 1,pair 8 0"
                                                                         << "1/1" << 0x000FFFu;
        QTest::addRow("double on slot 7 with a single in 8") << 0x000FFFu << "drop 2 7"
                                                             << "111111221111"
                                                             << "000000440000"
                                                             << "fitted 14 1,fitted 15 1,pair 14 1"
                                                             << "1/1" << 0x080FFFu;
        QTest::addRow("single into a quad blank") << 0x000F0Fu << "drop 1 6"
                                                  << "111101001111"
                                                  << "000030330000"
                                                  << "fitted 13 1,pair 12 0"
                                                  << "1/1" << 0x000F2Fu;
        QTest::addRow("double on a double") << 0x010FFFu << "drop 2 1"
                                            << "221111111111"
                                            << "440000000000"
                                            << ""
                                            << "0/0" << 0x010FFFu;
        QTest::addRow("palette block beside every slot") << 0x000F0Fu << "drop 1 0"
                                                         << "111100001111"
                                                         << "000088880000"
                                                         << ""
                                                         << "0/0" << 0x000F0Fu;
        QTest::addRow("undo right after loading") << 0x000F0Fu << "undo; redo"
                                                  << "111100001111"
                                                  << "000088880000"
                                                  << ""
                                                  << "0/0" << 0x000F0Fu;
        QTest::addRow("undo restores the stored layout") << 0x000F0Fu << "drop 2 5; undo"
                                                         << "111100001111"
                                                         << "000088880000"
                                                         << "*"
                                                         << "1/0" << 0x000F0Fu;
        QTest::addRow("redo after undo") << 0x000F0Fu << "drop 2 5; undo; redo"
                                         << "111122001111"
                                         << "000044330000"
                                         << "*"
                                         << "1/1" << 0x040F3Fu;
        QTest::addRow("a new drop after undo discards redo")
            << 0x000F0Fu << "drop 1 5; drop 1 6; undo; drop 1 8"
            << "111110011111"
            << "000003300000"
            << "*"
            << "2/2" << 0x000F9Fu;
        QTest::addRow("select all") << 0x010F0Fu << "selectall 1"
                                    << "221100001111"
                                    << "662288882222"
                                    << ""
                                    << "0/0" << 0x010F0Fu;
        QTest::addRow("select all keeps a hovered block") << 0x010F0Fu << "hover 10; selectall 1"
                                                          << "221100001111"
                                                          << "661288882222"
                                                          << ""
                                                          << "0/0" << 0x010F0Fu;
        QTest::addRow("deselect all") << 0x010F0Fu << "selectall 1; select 3; selectall 0"
                                      << "221100001111"
                                      << "440088880000"
                                      << ""
                                      << "0/0" << 0x010F0Fu;
        QTest::addRow("delete a selected double and single")
            << 0x010FFFu << "select 1; select 5; delete"
            << "001101111111"
            << "330030000000"
            << "pair 8 0,fitted 8 0,pair 8 0,fitted 9 0,fitted 12 0"
            << "1/1" << 0x000FECu;
        QTest::addRow("button 30 hovered from outside highlights slot 3") << 0x000FFFu << "hover 30"
                                                                          << "111111111111"
                                                                          << "001000000000"
                                                                          << ""
                                                                          << "0/0" << 0x000FFFu;
        QTest::addRow("hover and unhover a double from both layers")
            << 0x020FFFu << "hover 31; unhover 10"
            << "112211111111"
            << "004400000000"
            << ""
            << "0/0" << 0x020FFFu;
        QTest::addRow("stored double whose partner is a single") << 0x010001u << ""
                                                                 << "220000000000"
                                                                 << "443388888888"
                                                                 << ""
                                                                 << "0/0" << 0x010001u;
        QTest::addRow("stored bits above the twelve positions") << 0xC0F00Fu << ""
                                                                << "111100000000"
                                                                << "000088888888"
                                                                << ""
                                                                << "0/0" << 0xC0F00Fu;
        QTest::addRow("stored pair bits without fitted bits") << 0x200000u << ""
                                                              << "000000000022"
                                                              << "888888883344"
                                                              << ""
                                                              << "0/0" << 0x200000u;
        QTest::addRow("an impossible layout is rewritten at the first change")
            << 0x010001u << "drop 1 12"
            << "220000000001"
            << "443388883330"
            << "fitted 19 1,pair 18 0"
            << "1/1" << 0x010803u;
    }
    void editing() {
        QFETCH(uint, layout);
        QFETCH(QString, script);
        QFETCH(QString, kinds);
        QFETCH(QString, states);
        QFETCH(QString, history);
        QFETCH(uint, stored);
        side_box box;
        load(box, layout);
        box.journal.lines.clear();
        run(box, script);
        jigsawparent1* e = box.editor();
        QCOMPARE(digits(e, true), kinds);
        QCOMPARE(digits(e, false), states);
        QFETCH(QString, notes);
        if (notes != "*") {
            const QStringList heard =
                box.journal.lines.filter(QRegularExpression("^(fitted|pair)"));
            QCOMPARE(heard.join(','), notes);
        }
        QCOMPARE(QStringLiteral("%1/%2").arg(e->history_count()).arg(e->history_position()),
                 history);
        // The box's undo and redo buttons follow the history.
        QCOMPARE(box.journal.undo, e->history_position() > 0);
        QCOMPARE(box.journal.redo, e->history_position() < e->history_count());
        QCOMPARE(::stored(box), stored);
    }

    void impossible_layout_is_logged_once() {
        side_box box;
        log_capture log;
        load(box, 0x020004);
        load(box, 0x020004);
        box.editor()->reload();
        QCOMPARE(log.messages().filter("0x020004").size(), 1);
    }

    void two_selected_singles_go_to_the_trash_can_only() {
        side_box box;
        box.window->show();
        load(box, 0x000FFF);
        jigsawparent1* e = box.editor();
        click(e, 1);
        click(e, 3);
        // The pointer path: a move with the button held lifts both. Offscreen the window
        // system ends every drag at once without a drop, so both come back selected.
        send_mouse(e, QEvent::MouseMove, slot_centre(e, 3) + QPoint(0, 8), Qt::NoButton,
                   Qt::LeftButton);
        QCOMPARE(digits(e, false), QStringLiteral("202000000000"));
        QVERIFY(!e->dragging_out());

        box.journal.lines.clear();
        e->lift_blocks();
        e->set_dragging_out(true);
        QCOMPARE(digits(e, false), QStringLiteral("707000000000"));
        QCOMPARE(e->block_kind(), 1);
        QVERIFY(!e->accepts_panel_drop());
        QCOMPARE(drop_on(e, slot_centre(e, 6), e), Qt::IgnoreAction);
        QCOMPARE(drop_on(box.trash, QPoint(54, 54), e), Qt::MoveAction);
        e->finish_drag_out(Qt::MoveAction);
        QCOMPARE(digits(e, true), QStringLiteral("010111111111"));
        QCOMPARE(box.journal.lines.filter(QRegularExpression("^fitted")).join(','),
                 QStringLiteral("fitted 8 0,fitted 10 0"));
        QCOMPARE(e->history_count(), 1);
        QCOMPARE(::stored(box), 0x000FFAu);
        QCOMPARE(box.trash->shake_step(), 1);
        QCOMPARE(box.select_all_cleared, 1);
        QTRY_COMPARE(box.trash->shake_step(), 0);
        QCOMPARE(box.trash->angle(), 0.0);
    }

    void a_block_moved_within_the_panel_costs_two_steps() {
        side_box box;
        load(box, 0x000F0F);
        jigsawparent1* e = box.editor();
        click(e, 1);
        e->lift_blocks();
        QVERIFY(e->accepts_panel_drop());
        // Over its own slot the block is refused; elsewhere it lands.
        QCOMPARE(drop_on(e, slot_centre(e, 1), e), Qt::IgnoreAction);
        QCOMPARE(drop_on(e, slot_centre(e, 6), e), Qt::MoveAction);
        e->finish_drag_out(Qt::MoveAction);
        QCOMPARE(digits(e, true), QStringLiteral("011101001111"));
        QCOMPARE(e->history_count(), 2);
        QCOMPARE(::stored(box), 0x000F2Eu);
        e->undo();
        e->undo();
        QCOMPARE(::stored(box), 0x000F0Fu);
    }

    void a_cancelled_drag_puts_everything_back() {
        side_box box;
        load(box, 0x000F0F);
        jigsawparent1* e = box.editor();
        click(e, 1);
        e->lift_blocks();
        drag_payload data(e);
        // Handed to the editor alone: the application's drag bookkeeping must not keep the
        // editor as its target after this test, since no leave or drop ever comes.
        QObject* panel = e;
        QDragEnterEvent enter(slot_centre(e, 6), Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        panel->event(&enter);
        QDragMoveEvent move(slot_centre(e, 6), Qt::MoveAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
        panel->event(&move);
        QCOMPARE(digits(e, false), QStringLiteral("200030330000"));
        e->finish_drag_out(Qt::IgnoreAction);
        QCOMPARE(digits(e, false), QStringLiteral("200088880000"));
        QCOMPARE(digits(e, true), QStringLiteral("111100001111"));
        QCOMPARE(e->history_count(), 0);
    }

    void trash_can_takes_only_lifted_blocks() {
        side_box box;
        load(box, 0x000FFF);
        QCOMPARE(drop_on(box.trash, QPoint(54, 54), box.single), Qt::IgnoreAction);
        // A click on its centre deletes the selection and shakes it.
        jigsawparent1* e = box.editor();
        QWidget* centre = box.trash->findChild<QWidget*>(QStringLiteral("wg_center"));
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(centre, &enter);
        QVERIFY(!box.trash->glowing());
        click(e, 12);
        QCoreApplication::sendEvent(centre, &enter);
        QVERIFY(box.trash->glowing());
        send_mouse(centre, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(digits(e, true), QStringLiteral("111111111110"));
        QVERIFY(!box.trash->glowing());
        QCOMPARE(box.select_all_cleared, 1);
    }

    void guide_steps_round_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("to");
        QTest::addRow("next") << 2 << true << 3;
        QTest::addRow("next after the last") << 5 << true << 1;
        QTest::addRow("previous before the first") << 1 << false << 5;
    }
    void guide_steps_round() {
        QFETCH(int, from);
        QFETCH(int, to);
        btn_help_fm_c guide;
        guide.show_step(from);
        QFETCH(bool, forward);
        forward ? guide.next_step() : guide.previous_step();
        QCOMPARE(guide.step(), to);
        QCOMPARE(guide.findChild<QLabel*>("lb_title")->text(), QStringLiteral("T%1").arg(600 + to));
        QCOMPARE(guide.findChild<QLabel*>("lb_comment")->text(),
                 QStringLiteral("T%1").arg(605 + to));
        QVERIFY(guide.findChild<QRadioButton*>(QStringLiteral("rb_step_%1").arg(to))->isChecked());
    }

    // The panel pictures are kept between editors, one per edition: an editor of one
    // edition draws its own picture while an editor of the other edition is open.
    // The caps are drawn from their own pictures (each loaded when first needed): a state
    // shows the pictures of its slot, pair or row, over the panel picture.
    void caps_show_their_pictures_data() {
        QTest::addColumn<uint>("layout");
        QTest::addColumn<QString>("script");
        // Pictures drawn in order at the cap origin: "single S LOOK", "pair P LOOK", "quad R".
        QTest::addColumn<QString>("pictures");
        QString singles;
        for (int s = 1; s <= 12; ++s)
            singles += QStringLiteral("single %1 normal;").arg(s);
        QTest::addRow("twelve singles") << 0x000FFFu << "" << singles;
        QTest::addRow("slot 3 under the pointer")
            << 0x000FFFu << "hover 10"
            << QString(singles).replace("single 3 normal;", "single 3 normal;single 3 over;");
        QTest::addRow("slot 11 selected")
            << 0x000FFFu << "select 11"
            << QString(singles).replace("single 11 normal;", "single 11 down;");
        const QString mixed = "pair 1 normal;single 3 normal;single 4 normal;quad 2;"
                              "single 9 normal;single 10 normal;single 11 blank;single 12 normal;";
        QTest::addRow("a double, a blank row and a blank cap") << 0x010B0Fu << "" << mixed;
        QTest::addRow("the double under the pointer")
            << 0x010B0Fu << "hover 8"
            << QString(mixed).replace("pair 1 normal;", "pair 1 normal;pair 1 over;");
        QTest::addRow("the double selected")
            << 0x010B0Fu << "select 2" << QString(mixed).replace("pair 1 normal;", "pair 1 down;");
    }
    void caps_show_their_pictures() {
        QFETCH(uint, layout);
        QFETCH(QString, script);
        QFETCH(QString, pictures);
        side_box box;
        load(box, layout);
        run(box, script);
        const QString folder = QStringLiteral(":/graphics/button_assignment/buttons/");
        QImage expected(QStringLiteral(":/graphics/button_assignment/Quil_standard.png"));
        expected = expected.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter p(&expected);
        for (const QString& item : pictures.split(';', Qt::SkipEmptyParts)) {
            const QStringList w = item.split(' ');
            const QString n = QStringLiteral("%1").arg(w[1].toInt(), 2, 10, QLatin1Char('0'));
            QString path;
            if (w[0] == "quad") {
                path = "Quad_blancs/Quad-blanc_" + n;
            } else if (w[0] == "pair") {
                path = w[2] == "normal" ? "Double-Buttons/normal/Double-button_" + n
                       : w[2] == "over" ? "Double-Buttons/over/Double-button-over_" + n
                                        : "Double-Buttons/down/Double-button_down_" + n;
            } else {
                path = w[2] == "normal" ? "Single-Buttons/normal/Single-Button-" + n
                       : w[2] == "over" ? "Single-Buttons/over/Single-Button-over-" + n
                       : w[2] == "down" ? "Single-Buttons/down/Single-Button-down-" + n
                                        : "Single-Buttons/blance/Single-blanc_" + n;
            }
            const QImage cap(folder + path + ".png");
            QVERIFY2(!cap.isNull(), qPrintable(path));
            p.drawImage(QPoint(212, 36), cap);
        }
        p.end();
        QCOMPARE(box.editor()->canvas(), expected);
    }

    void panel_picture_follows_the_edition_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addRow("black, then white") << int(product_type::black) << int(product_type::white);
        QTest::addRow("white, then black") << int(product_type::white) << int(product_type::black);
    }
    void panel_picture_follows_the_edition() {
        QFETCH(int, first);
        QFETCH(int, second);
        // Left of the caps the canvas shows the picture alone.
        const QRect beside_caps(0, 0, 212, 175);
        const auto picture = [&](int edition) {
            return QImage(
                       edition == product_type::white
                           ? QStringLiteral(":/graphics/button_assignment/Quil_standard_White.png")
                           : QStringLiteral(":/graphics/button_assignment/Quil_standard.png"))
                .convertToFormat(QImage::Format_ARGB32_Premultiplied)
                .copy(beside_caps);
        };
        QVERIFY(picture(first) != picture(second));
        const std::shared_ptr<const void> kept = jigsawparent1::cap_images(first);
        side_box earlier(first);
        side_box later(second);
        QCOMPARE(earlier.editor()->canvas().copy(beside_caps), picture(first));
        QCOMPARE(later.editor()->canvas().copy(beside_caps), picture(second));
    }

private:
    fake_host m_host;
};

QTEST_MAIN(test_layout_editor)
#include "test_layout_editor.moc"
