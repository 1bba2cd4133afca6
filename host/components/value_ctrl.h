// The host's value controls of the main page: sensitivity (class 0x101),
// pointer speed (0x201), vertical scroll (0x301), horizontal scroll (0x501)
// and double-click speed (0x601). One class serves all five; what differs is
// described by a value_kind_t.
#pragma once

#include "host/components/call_journal.h"
#include "host/components/component_style.h"
#include "module/component_interfaces.h"
#include "module/page_interfaces.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QPointer>
#include <QVector>
#include <array>

class QLabel;
class ctrl_box_c;
class component_context_c;
class slider_widget_c;

struct value_kind_t {
    int32_t class_id;
    int32_t type; // control type reported with every value
    int min;
    int max;
    int32_t title; // host text ids
    int32_t help;
    int32_t low_caption; // labels under the ends of the slider
    int32_t high_caption;
    component_style::glyph_t glyph;
    int box_height;

    // The kind of a value-control class, or null for any other class.
    static const value_kind_t* of(int32_t class_id);
    static QVector<int32_t> class_ids();
};

// A switch with its caption: the hub's option bytes.
class option_toggle_c : public QAbstractButton {
    Q_OBJECT
public:
    explicit option_toggle_c(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A folder that opens on a double-click at the speed being set.
class double_click_test_c : public QWidget {
    Q_OBJECT
public:
    explicit double_click_test_c(QWidget* parent = nullptr);
    // Speed 1 (slow) .. 10 (fast).
    void set_speed(int speed);
    // The longest pause between two clicks that still makes a double-click.
    static int interval_ms(int speed);
    bool is_open() const { return m_open; }
    QSize sizeHint() const override { return QSize(72, 62); }

signals:
    void toggled(bool open);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int m_speed = 5;
    bool m_open = false;
    QElapsedTimer m_last_click;
};

// What the box shows: slider with read-out, options, test area.
class value_box_fm_c : public QWidget {
    Q_OBJECT
public:
    value_box_fm_c(const value_kind_t& kind, QWidget* parent = nullptr);

    void set_range(int max, int min, int step);
    void set_value(int value);
    void set_option(int index, bool on);
    void set_texts(const QString& low, const QString& high, const QString& option_0,
                   const QString& option_1, const QString& hint);

    slider_widget_c* slider() const { return m_slider; }
    QLabel* value_label() const { return m_value; }
    // Option switches by hub byte (0, 1, 2); null where the kind has none.
    option_toggle_c* option(int index) const;
    double_click_test_c* test_area() const { return m_test; }

signals:
    void value_edited(int value);
    void option_edited(int index, bool on);

private:
    void show_value(int value);
    void apply_marks();

    const value_kind_t& m_kind;
    slider_widget_c* m_slider;
    QLabel* m_value;
    QLabel* m_hint = nullptr;
    std::array<option_toggle_c*, 3> m_options{};
    double_click_test_c* m_test = nullptr;
    QString m_low;
    QString m_high;
};

class value_ctrl_c : public QObject,
                     public ctrl_funcs_i,
                     public listener_mgr_i,
                     public ctrl_funcs_box_fm_client_i,
                     public value_ctrl_i,
                     public pointer_speed_ctrl_i,
                     public v_scroll_ctrl_i {
    Q_OBJECT
public:
    value_ctrl_c(const value_kind_t& kind, component_context_c* context = nullptr);
    ~value_ctrl_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // ctrl_funcs_i
    void set_context(product_kernel_i* kernel, product_function_page_i* page) override;
    void create_box(QWidget* panel) override;
    void close_box() override;
    int32_t ctrl_type() override;
    bool is_favorite() override;
    void set_favorite(bool on) override;
    int32_t box_span() override;
    void favorite_changed() override;

    // listener_mgr_i
    void add_listener(listener_i* listener) override;
    void remove_listener(listener_i* listener) override;

    // ctrl_funcs_box_fm_client_i
    void reset_requested() override;

    // value_ctrl_i
    void setup(int32_t max, int32_t min, int32_t step, int32_t mode) override;
    int32_t value() override;
    void set_value(int32_t value) override;

    // pointer_speed_ctrl_i
    void pointer_reserved_2() override;
    void pointer_reserved_3() override;
    void set_hub_byte_0(uint8_t value) override;
    void set_hub_byte_1(uint8_t value) override;

    // v_scroll_ctrl_i
    void v_scroll_reserved_2() override;
    void set_hub_byte_2(uint8_t value) override;

    // The host's side.
    const value_kind_t& kind() const { return m_kind; }
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int step() const { return m_step; }
    bool option(int index) const;
    QVector<listener_i*> listeners() const { return m_listeners; }
    product_kernel_i* kernel() const { return m_kernel; }
    product_function_page_i* page() const { return m_page; }
    ctrl_box_c* box() const { return m_box; }
    value_box_fm_c* form() const { return m_form; }
    const call_journal_c& journal() const { return m_journal; }

signals:
    // The user switched one of the hub's option bytes (0, 1 or 2).
    void option_changed(int index, int value);

private:
    int normalised(int value) const;
    void user_changed_value(int value);
    void user_changed_option(int index, bool on);
    void set_option(int index, uint8_t value, const char* call);
    void retranslate();
    QString text(int32_t id) const;

    const value_kind_t& m_kind;
    QPointer<component_context_c> m_context;
    product_kernel_i* m_kernel = nullptr;
    product_function_page_i* m_page = nullptr;
    bool m_favorite = false;
    QVector<listener_i*> m_listeners;
    int m_min;
    int m_max;
    int m_step = 1;
    int m_value;
    std::array<bool, 3> m_options{};
    ctrl_box_c* m_box = nullptr;
    QPointer<value_box_fm_c> m_form;
    call_journal_c m_journal;
    int m_reporting = 0;
};
