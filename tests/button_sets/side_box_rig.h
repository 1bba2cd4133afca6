// The side button box as the editor suites and the screenshot program need it: a kernel of
// either edition with its profile set, the layout editor, the two palette blocks, the trash
// can and the preset strip on one dark widget, and a listener that writes down what the
// editor tells. The real box form arranges the same pieces itself.
#pragma once

#include "button_sets/btn_preset_fm.h"
#include "button_sets/btn_set_owner.h"
#include "button_sets/drag_payload.h"
#include "button_sets/jigsaw_block.h"
#include "button_sets/jigsawparent1.h"
#include "button_sets/trash_can.h"
#include "buttons/default_presets.h"
#include "common/utilities.h"
#include "kernel/zarek_black_kernel.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_white_kernel.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QMouseEvent>
#include <QStringList>
#include <QWidget>
#include <memory>

namespace side_box_test {

// What the editor tells, one line a notification: "fitted 10 1", "pair 8 0", "undo 1",
// "redo 0".
class jigsaw_journal final : public listener_i, public btn_jigsaw_listener_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i || iid == iid_listener_i)
            return static_cast<listener_i*>(this);
        if (iid == iid_btn_jigsaw_listener_i)
            return static_cast<btn_jigsaw_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i*) override {}
    void update() override {}
    void on_button_fitted(int32_t i, bool on) override {
        lines << QStringLiteral("fitted %1 %2").arg(i).arg(on);
    }
    void on_pair_kind(int32_t i, bool d) override {
        lines << QStringLiteral("pair %1 %2").arg(i).arg(d);
    }
    void on_undo_redo_state(bool is_undo, bool on) override {
        (is_undo ? undo : redo) = on;
        lines << QStringLiteral("%1 %2").arg(is_undo ? "undo" : "redo").arg(on);
    }
    QStringList lines;
    bool undo = false;
    bool redo = false;
};

struct side_box final : btn_set_owner_i {
    explicit side_box(int32_t edition = product_type::black) {
        if (edition == product_type::white)
            m_kernel = new zarek_white_kernel_c;
        else
            m_kernel = new zarek_black_kernel_c;
        load_default_presets(data());
        window = std::make_unique<QWidget>();
        window->setObjectName(QStringLiteral("side_box"));
        window->setStyleSheet(QStringLiteral("QWidget#side_box { background: #111315; }"));
        window->resize(760, 360);
        single = new JigsawBlock(1, window.get());
        double_block = new JigsawBlock(2, window.get());
        const QString place = QStringLiteral(":/graphics/button_assignment/buttons/Place-Buttons/");
        single->set_images(place + "Single_button_normal.png", place + "Single_button_over.png",
                           place + "Single_button_empty_bg");
        double_block->set_images(place + "Double_button_normal.png",
                                 place + "Double_button_over.png",
                                 place + "Double_button_empty_bg");
        single->move(24, 40);
        double_block->move(24, 100);
        m_editor = new jigsawparent1(this, window.get());
        m_editor->move(120, 0);
        connect_listener(static_cast<listener_mgr_i*>(m_editor),
                         static_cast<listener_i*>(&journal));
        trash = new TrashCan(this, window.get());
        trash->move(636, 34);
        presets = new btn_preset_fm_c(this, window.get());
        presets->setGeometry(20, 190, 720, 150);
    }
    ~side_box() {
        window.reset();
        m_kernel->release();
    }
    side_box(const side_box&) = delete;
    side_box& operator=(const side_box&) = delete;

    product_kernel_i* kernel() const override { return m_kernel; }
    zarek_data_c* profile_set() const override { return data(); }
    jigsawparent1* editor() const override { return m_editor; }
    void clear_select_all() override { ++select_all_cleared; }

    zarek_data_c* data() const { return m_kernel->data(); }

    std::unique_ptr<QWidget> window;
    jigsaw_journal journal;
    JigsawBlock* single = nullptr;
    JigsawBlock* double_block = nullptr;
    TrashCan* trash = nullptr;
    btn_preset_fm_c* presets = nullptr;
    int select_all_cleared = 0;

private:
    zarek_kernel_c* m_kernel = nullptr;
    jigsawparent1* m_editor = nullptr;
};

// Sends a mouse event as the window system would deliver it to `target`.
inline void send_mouse(QWidget* target, QEvent::Type type, const QPoint& at, Qt::MouseButton button,
                       Qt::MouseButtons held) {
    QMouseEvent e(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
}

// What the window system does with a drag from `source` released at `at` on `target`:
// enter, move, then drop only when both were accepted (a leave otherwise). Returns the
// action the source's drag ends with.
inline Qt::DropAction drop_on(QWidget* target, const QPoint& at, QObject* source) {
    drag_payload data(source);
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted())
        QCoreApplication::sendEvent(target, &move);
    if (!enter.isAccepted() || !move.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
        return Qt::IgnoreAction;
    }
    QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

// The centre of a slot's hit rectangle.
inline QPoint slot_centre(const jigsawparent1* editor, int slot) {
    return editor->hit_rect(slot).center();
}

} // namespace side_box_test
