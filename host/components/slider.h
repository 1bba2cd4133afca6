// The host's slider with marks (class 0x401): a painted horizontal slider
// that the module places into a holder widget of its forms, and the
// interface object through which the module drives it.
#pragma once

#include "host/components/call_journal.h"
#include "module/component_interfaces.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

// The value a slider's key moves to (arrows a step, page keys a page, Home
// and End the ends); false for a key that does not move a slider.
bool slider_key_target(int key, int value, int step, int page, int min, int max, int* target);

// The widget. Only user input emits its signals; set_value() is silent.
class slider_widget_c : public QWidget {
    Q_OBJECT
public:
    struct mark_t {
        int value;
        QString label;
    };

    explicit slider_widget_c(QWidget* parent = nullptr);

    // max < min are swapped; a step below 1 is 1. The value is kept in range.
    void set_range(int max, int min, int step);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int step() const { return m_step; }
    int value() const { return m_value; }
    // Shows a value (clamped, on the step grid) without emitting anything.
    void set_value(int value);
    void set_marks(const QVector<mark_t>& marks);
    QVector<mark_t> marks() const { return m_marks; }
    void set_geometry_parts(int groove_height, int handle_width, int handle_height, int mark_gap);
    void set_margins(int horizontal, int vertical);
    void set_style_variant(int variant);
    // A null pixmap brings back the painted handle.
    void set_handle_pixmap(const QPixmap& pixmap);
    bool has_handle_pixmap() const { return !m_handle.isNull(); }
    void set_text_colour(const QColor& colour);
    QColor text_colour() const { return m_text_colour; }

    // Where the handle's centre is drawn for a value, in widget coordinates.
    QPoint handle_centre(int value) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void pressed();
    // The user changed the value (mouse, wheel or keys).
    void value_edited(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int normalised(int value) const;
    int value_at(int x) const;
    int groove_left() const;
    int groove_right() const;
    int groove_centre_y() const;
    int x_of(int value) const;
    QRect handle_rect() const;
    // Stores a value the user chose and tells about it when it changed.
    void edit(int value);

    int m_min = 0;
    int m_max = 100;
    int m_step = 1;
    int m_value = 0;
    QVector<mark_t> m_marks;
    int m_groove_height = 6;
    int m_handle_width = 19;
    int m_handle_height = 16;
    int m_mark_gap = 11;
    int m_margin_h = 8;
    int m_margin_v = 0;
    int m_variant = 0;
    QPixmap m_handle;
    QColor m_text_colour;
    bool m_dragging = false;
    // Focus that came from the keyboard shows on the handle; a click's does not.
    bool m_keyboard_focus = false;
    int m_drag_offset = 0;
    int m_wheel_rest = 0;
};

class component_context_c;

class slider_c : public QObject, public slider_i {
    Q_OBJECT
public:
    // `context` hears of the user's changes; null: nobody does.
    explicit slider_c(component_context_c* context = nullptr);
    ~slider_c() override;

    // The interface object behind a slider widget, or null.
    static slider_c* of(const QWidget* widget);

    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    void set_parent(QWidget* parent) override;
    void set_range(int32_t max, int32_t min, int32_t step) override;
    void clear_marks() override;
    void add_mark(int32_t value, const QString& label) override;
    void apply_marks() override;
    int32_t value() override;
    void set_value(int32_t value) override;
    void set_enabled(bool on) override;
    void set_style_variant(int32_t variant) override;
    void set_geometry_parts(int32_t groove_height, int32_t handle_width, int32_t handle_height,
                            int32_t mark_gap) override;
    void set_margins(int32_t horizontal, int32_t vertical) override;
    void set_handle_image(const QString& path) override;
    void set_text_colour(int32_t r, int32_t g, int32_t b) override;
    void set_client(slider_client_i* client) override;

    // The host's side.
    slider_widget_c* widget() const { return m_widget; }
    slider_client_i* client() const { return m_client; }
    const call_journal_c& journal() const { return m_journal; }
    // Marks added since the last apply_marks() that are not shown yet.
    int pending_marks() const { return m_pending.size(); }

private:
    void notify_pressed();
    void notify_value(int value);

    QPointer<component_context_c> m_context;
    QPointer<slider_widget_c> m_widget;
    slider_client_i* m_client = nullptr;
    QVector<slider_widget_c::mark_t> m_pending;
    call_journal_c m_journal;
    int m_notifying = 0;
    bool m_released = false;
};
