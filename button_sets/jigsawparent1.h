// The side-panel layout editor: a picture of the mouse's side panel on which single and
// double caps are placed, moved and removed by drag and drop, with an unlimited history.
// It tells its listeners (btn_jigsaw_listener_i) which side buttons are fitted and which
// pairs are doubles; the preset strip keeps the stored layout from those notifications.
#pragma once

#include "module/button_set_interfaces.h"
#include "module/kernel_interfaces.h"
#include "ui_jigsawparent1.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QVector>
#include <QWidget>
#include <array>
#include <memory>

class btn_set_owner_i;
class zarek_data_c;

class jigsawparent1 : public QWidget,
                      public jigsawParent_i,
                      public listener_mgr_i,
                      public listener_i,
                      public btn_assignment_listener_i,
                      public jigsaw_i {
    Q_OBJECT

public:
    // What a slot shows and rests in.
    enum state : uint8_t {
        single = 0,
        single_hover = 1,
        single_selected = 2,
        blank = 3,
        double_ = 4,
        double_hover = 5,
        double_selected = 6,
        lifted = 7,
        quad_blank = 8,
    };
    // Kinds of the history's snapshots and of dragged blocks.
    enum kind : int32_t { kind_blank = 0, kind_single = 1, kind_double = 2 };
    using kinds = std::array<int32_t, 12>;

    // The canvas origin of every cap image.
    static constexpr QPoint cap_origin{212, 36};

    // `owner` (may be null) leads to the kernel and its profile set; the editor listens to
    // the profile set's layout records and shows the current profile's layout.
    jigsawparent1(btn_set_owner_i* owner, QWidget* parent);
    ~jigsawparent1() override;

    // jigsawParent_i, then the editor's own operations in their fixed order.
    void redo() override;
    void undo() override;
    interface_i* query_interface(const GUID& iid) override;
    // Destroys the editor.
    void release() override;
    void add_listener(listener_i* listener) override;
    void remove_listener(listener_i* listener) override;
    void manager_closing(listener_mgr_i* manager) override;
    // Replaces the layout and clears the history.
    virtual void apply_layout_record(const btn_layout_rec& record);
    // jigsaw_i: the blocks of the running drag out of the panel.
    int32_t block_kind() override { return m_drag_kind; }
    int32_t origin_slot() override { return m_drag_origin; }
    bool accepts_panel_drop() override { return m_drag_accepts; }

    // listener_i: nothing to refresh (hides QWidget::update; repaint with QWidget::update).
    void update() override {}
    // btn_assignment_listener_i: a profile's layout record was replaced.
    void on_layout_record(const btn_layout_rec& record) override { apply_layout_record(record); }

    // The cap images every editor draws with and the panel picture of the edition (a product
    // type). They stay loaded while anyone holds this (an owner that opens editors again and
    // again keeps them between its editors).
    static std::shared_ptr<const void> cap_images(int32_t edition);

    // Loads the current profile's layout again (history cleared).
    void reload();

    // Hover look of the slot of a side button (either layer), from outside the editor.
    void hover_button(int button_index);
    void unhover_button(int button_index);

    bool has_selection() const;
    // Selects (or deselects) every fitted block; no history step, no notification.
    void select_all(bool select);
    // Every selected, hovered or lifted block becomes blank, as one history step.
    void delete_selected();

    // --- What tests, the screenshot harness and benchmarks look at ---
    uint8_t display_state(int slot) const { return m_slots[slot].display; }
    uint8_t resting_state(int slot) const { return m_slots[slot].rest; }
    const kinds& kind_array() const { return m_kinds; }
    int history_count() const { return m_count; }
    int history_position() const { return m_position; }
    bool dragging_out() const { return m_dragging_out; }
    const QImage& canvas() const { return m_canvas; }
    // The hit rectangle of slot 1..12 (canvas coordinates).
    QRect hit_rect(int slot) const { return m_hit[slot - 1]; }
    // The slot under a canvas point; 0 for none.
    int slot_at(const QPoint& point) const;
    // Composes the picture for `key` (a slot, a pair or 0) unless it is already composed.
    void compose(int key);
    // Forces a new composition (what every change of a slot does).
    void recompose(int key = 0);

    // A drag out of the panel, in its three parts (the mouse handler runs all three; tests
    // and the screenshot harness run them one by one, since a real drag blocks).
    // lift_blocks: every hovered or selected block is lifted; returns the drag picture.
    QImage lift_blocks();
    void set_dragging_out(bool on);
    // Ends the drag: the move action deletes the lifted blocks, anything else puts them back.
    void finish_drag_out(Qt::DropAction result);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct slot_record {
        uint8_t display = blank;
        uint8_t rest = blank;
        uint8_t composed = 0;
    };
    // The cap images, each loaded when first drawn: a panel shows a few of them, and the
    // over and down looks only under the pointer.
    class images {
    public:
        // Slot 1..12; look 0 normal, 1 over, 2 down, 3 blank.
        const QImage& single(int slot, int look) const;
        // Pair 1..6; look 0 normal, 1 over, 2 down.
        const QImage& pair(int pair, int look) const;
        // Row 1..3.
        const QImage& quad(int row) const;

    private:
        struct kept_t {
            QImage image;
            bool tried = false;
        };
        static const QImage& load_once(kept_t& kept, const QString& path);
        mutable std::array<std::array<kept_t, 4>, 13> m_single;
        mutable std::array<std::array<kept_t, 3>, 7> m_pair;
        mutable std::array<kept_t, 4> m_quad;
    };

    // Both states of a slot (and its partner for a double).
    void set_both(int slot, uint8_t value);
    void set_pair(int slot, uint8_t value);
    void clear_hovers();
    void restore_resting();
    void start_drag_out(const QPoint& pos);
    void load_layout(uint32_t value);
    void record_step();
    void apply_snapshot(const kinds& snapshot);
    void notify_fitted(int slot, bool fitted);
    void notify_pair(int slot, bool is_double);
    void notify_undo_redo(bool is_undo, bool enabled);
    template <class F>
    void for_each_listener(F f);
    jigsaw_i* source_block(QDropEvent* event) const;
    zarek_data_c* profile_set() const;

    Ui::jigsawparent1 m_ui;
    btn_set_owner_i* m_owner;
    std::shared_ptr<const images> m_images;
    QImage m_background;
    QImage m_canvas;
    std::array<QRect, 12> m_hit;
    // Slots 1..12; record 0 stands for no slot (its composed flag serves key 0).
    std::array<slot_record, 13> m_slots;
    kinds m_kinds{};
    QVector<kinds> m_history;
    int32_t m_count = 0;
    int32_t m_position = 0;
    int m_last_key = -1;
    QList<listener_i*> m_listeners;

    QPoint m_release_point;
    bool m_dragging_out = false;
    int32_t m_drag_kind = 0;
    int32_t m_drag_origin = 0;
    bool m_drag_accepts = false;
};
