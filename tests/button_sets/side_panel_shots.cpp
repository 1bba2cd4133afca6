// Renders the side-panel editor, its palette, trash can, preset strip, delete pop-up and
// set-up guide to PNG files, for people to look at:
//   side_panel_shots DIR
#include "button_sets/btn_help_fm.h"
#include "button_sets/btn_preset_sub_fm.h"
#include "button_sets/del_btn_preset_fm.h"
#include "module/module.h"
#include "side_box_rig.h"
#include "support/fake_host.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QStandardPaths>

using namespace side_box_test;

namespace {

void save(const QPixmap& picture, const QString& dir, const QString& name) {
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!picture.save(path))
        qWarning("cannot write %s", qPrintable(path));
}

// Row 1: two singles and a double; row 2: a quad blank; row 3: a single, a blank, a double.
constexpr uint32_t mixed = 0x220D0F;

void set_profile_layout(side_box& box, uint32_t value) {
    btn_layout_rec r = box.data()->layout(0);
    r.set_layout_value(value);
    box.data()->set_layout(r);
}

// The window with its top-level pop-ups drawn where they stand on the screen.
QPixmap with_popups(QWidget* window, const QList<QWidget*>& popups) {
    QPixmap picture = window->grab();
    QPainter p(&picture);
    for (QWidget* popup : popups) {
        if (popup && popup->isVisible())
            p.drawPixmap(popup->pos() - window->pos(), popup->grab());
    }
    return picture;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);
    fake_host host;
    host.center.texts.table[0] = {
        {43, "Button set "},
        {601, "STEP 1: PICK A PRESET"},
        {602, "STEP 2: ARRANGE THE BUTTONS"},
        {603, "STEP 3: SINGLE OR DOUBLE"},
        {604, "STEP 4: CLEAR POSITIONS"},
        {605, "STEP 5: FIT THE PANEL"},
        {606, "Start from one of the button set presets below, or keep the layout you have."},
        {607, "Drag buttons from the palette onto the twelve positions of the side panel."},
        {608, "A double button covers two neighbouring positions of one row."},
        {609, "Drag a button into the trash can, or select it and click the can."},
        {610, "Deactivate the mouse, fit the buttons as shown, then press Enter."},
        {611, "BUTTON SET PRESETS"},
        {612, "DELETE BUTTON SET"},
        {613, "Delete this button set? This cannot be undone."},
    };
    quil_init_module(&host);

    for (const int32_t edition : {product_type::black, product_type::white}) {
        const QString tag = edition == product_type::black ? "black" : "white";
        side_box box(edition);
        box.window->show();
        set_profile_layout(box, mixed);
        box.presets->rebuild();
        save(box.window->grab(), dir, "side_box_" + tag);

        // A drag in progress: slot 1 lifted and carried over slot 6.
        jigsawparent1* e = box.editor();
        e->hover_button(8);
        const QImage carried = e->lift_blocks();
        e->set_dragging_out(true);
        drag_payload data(e);
        const QPoint over = slot_centre(e, 6);
        QDragEnterEvent enter(over, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(e, &enter);
        QDragMoveEvent move(over, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(e, &move);
        QPixmap shot = box.window->grab();
        {
            QPainter p(&shot);
            p.setOpacity(0.8);
            const QPoint at = e->pos() + over - (slot_centre(e, 1) - jigsawparent1::cap_origin);
            p.drawImage(at, carried);
            p.setOpacity(1);
            p.drawPixmap(e->pos() + over - QPoint(8, 4),
                         QPixmap(":/graphics/common/cursor/closed_hand.png"));
        }
        save(shot, dir, "side_box_drag_" + tag);
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(e, &leave);
        e->finish_drag_out(Qt::IgnoreAction);

        // Everything selected, and the pop-up of the second tile's delete button.
        e->select_all(true);
        btn_preset_sub_fm_c* tile = box.presets->tiles().value(1);
        box.presets->tile_hovered(tile, true);
        box.presets->request_delete(tile);
        save(with_popups(box.window.get(), {box.presets->popup()}), dir, "side_box_delete_" + tag);
        if (box.presets->popup())
            box.presets->popup()->close();
    }

    btn_help_fm_c guide;
    for (int step = 1; step <= btn_help_fm_c::step_count; ++step) {
        guide.show_step(step);
        guide.show();
        QPixmap backdrop(guide.size() + QSize(40, 40));
        backdrop.fill(QColor(0x11, 0x13, 0x15));
        QPainter(&backdrop).drawPixmap(20, 20, guide.grab());
        save(backdrop, dir, QStringLiteral("guide_step_%1").arg(step));
    }
    quil_exit_module();
    return 0;
}
