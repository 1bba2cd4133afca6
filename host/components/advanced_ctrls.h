// The host's controls of the advanced page: advanced sensitivity (class 0xF01),
// polling rate (0x1001), device reset (0x1101) and sound feedback (0x1201), and the
// message box (0x1C01); the title component (0x1601) is in title_component.h. Each
// control is a real box with widgets a person uses; each keeps a journal of the
// module's calls.
#pragma once

#include "host/components/call_journal.h"
#include "host/components/dialog_frame.h"
#include "host/components/slider.h"
#include "host/components/value_ctrl.h"
#include "module/component_interfaces.h"
#include "module/page_interfaces.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QPointer>
#include <QVector>
#include <array>

class ctrl_box_c;
class component_context_c;

// What the four controls share: context, box, favourite mark, listeners, reset.
class host_ctrl_c : public QObject,
                    public ctrl_funcs_i,
                    public listener_mgr_i,
                    public ctrl_funcs_box_fm_client_i {
    Q_OBJECT
public:
    struct kind_t {
        int32_t type;
        int32_t title; // host text ids
        int32_t help;
        int box_height;
    };

    host_ctrl_c(const kind_t& kind, component_context_c* context);
    ~host_ctrl_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // ctrl_funcs_i
    void set_context(product_kernel_i* kernel, product_function_page_i* page) override;
    void create_box(QWidget* panel) override;
    void close_box() override;
    int32_t ctrl_type() override { return m_kind.type; }
    bool is_favorite() override { return m_favorite; }
    void set_favorite(bool on) override;
    int32_t box_span() override { return 1; }
    void favorite_changed() override;

    // listener_mgr_i
    void add_listener(listener_i* listener) override;
    void remove_listener(listener_i* listener) override;

    // ctrl_funcs_box_fm_client_i
    void reset_requested() override;

    QWidget* form() const { return m_form; }
    ctrl_box_c* box() const { return m_box; }
    QVector<listener_i*> listeners() const { return m_listeners; }
    const call_journal_c& journal() const { return m_journal; }

protected:
    // The control's own interfaces beyond the shared ones.
    virtual interface_i* own_interface(const GUID& iid) = 0;
    // Fills `form` (already styled, in the box) with the widgets that show the current
    // values, and names it.
    virtual void build_form(QWidget* form) = 0;
    virtual void retranslate_form() {}
    virtual QPixmap icon() const = 0;
    QString text(int32_t id) const;

    // Tells every listener that answers T, then the host that the person changed something.
    template <class T, class F>
    void tell(F&& f) {
        const QPointer<component_context_c> context = m_context;
        ++m_reporting;
        const QVector<listener_i*> round = m_listeners;
        for (listener_i* listener : round) {
            if (!m_listeners.contains(listener))
                continue;
            if (T* target = query<T>(listener))
                f(target);
        }
        --m_reporting;
        report_user_change(context);
    }

    QPointer<component_context_c> m_context;
    call_journal_c m_journal;

private:
    static void report_user_change(component_context_c* context);
    void retranslate();

    const kind_t m_kind;
    product_kernel_i* m_kernel = nullptr;
    product_function_page_i* m_page = nullptr;
    bool m_favorite = false;
    QVector<listener_i*> m_listeners;
    ctrl_box_c* m_box = nullptr;
    QPointer<QWidget> m_form;
    int m_reporting = 0;
};

// X and Y sensitivity (-5..5) and the separate-axes switch. With the switch off the
// sliders show the remembered separate values, greyed: the main page's single value rules.
class adv_sen_ctrl_c : public host_ctrl_c, public adv_sen_ctrl_i {
    Q_OBJECT
public:
    explicit adv_sen_ctrl_c(component_context_c* context = nullptr);

    void release() override { host_ctrl_c::release(); }
    interface_i* query_interface(const GUID& iid) override {
        return host_ctrl_c::query_interface(iid);
    }

    void adv_sen_reserved_2() override;
    void adv_sen_reserved_3() override;
    void adv_sen_reserved_4() override;
    void set_x(int32_t value) override;
    void set_y(int32_t value) override;
    void set_separate(bool separate) override;

    int x() const { return m_x; }
    int y() const { return m_y; }
    bool separate() const { return m_separate; }
    // The person's side.
    void user_set_separate(bool on);
    void user_set_axis(int axis, int value);
    slider_widget_c* slider(int axis) const { return m_sliders[size_t(axis & 1)]; }
    option_toggle_c* separate_switch() const { return m_switch; }

    static constexpr int min_value = -5;
    static constexpr int max_value = 5;

protected:
    interface_i* own_interface(const GUID& iid) override;
    void build_form(QWidget* form) override;
    void retranslate_form() override;
    QPixmap icon() const override;

private:
    void show_values();

    int m_x = 0;
    int m_y = 0;
    bool m_separate = false;
    QPointer<option_toggle_c> m_switch;
    std::array<QPointer<slider_widget_c>, 2> m_sliders;
    std::array<QPointer<QLabel>, 2> m_values;
    std::array<QPointer<QLabel>, 2> m_names;
    QPointer<QLabel> m_hint;
};

// The polling rate as one of four rates; reports value_changed(11, index).
class polling_rate_ctrl_c : public host_ctrl_c, public value_ctrl_i {
    Q_OBJECT
public:
    explicit polling_rate_ctrl_c(component_context_c* context = nullptr);

    void release() override { host_ctrl_c::release(); }
    interface_i* query_interface(const GUID& iid) override {
        return host_ctrl_c::query_interface(iid);
    }

    void setup(int32_t max, int32_t min, int32_t step, int32_t mode) override;
    int32_t value() override { return m_index; }
    // An index outside 0..3 shows the nearest rate.
    void set_value(int32_t value) override;

    // Reports per second of an index 0..3.
    static int rate_of(int index);
    void user_choose(int index);
    QAbstractButton* rate_button(int index) const;

protected:
    interface_i* own_interface(const GUID& iid) override;
    void build_form(QWidget* form) override;
    void retranslate_form() override;
    QPixmap icon() const override;

private:
    int m_index = polling_rate_count - 1;
    QPointer<QButtonGroup> m_group;
    QPointer<QLabel> m_hint;
};

// The device reset: a button, a confirmation, then reset_device() to the listeners.
class device_reset_ctrl_c : public host_ctrl_c {
    Q_OBJECT
public:
    explicit device_reset_ctrl_c(component_context_c* context = nullptr);

    void release() override { host_ctrl_c::release(); }
    interface_i* query_interface(const GUID& iid) override {
        return host_ctrl_c::query_interface(iid);
    }

    // The person pressed the button: asks, and on yes tells the listeners.
    void user_reset();
    QAbstractButton* reset_button() const;
    // The confirmation while it is open, or null.
    dialog_frame_c* confirmation() const { return m_confirmation; }

protected:
    interface_i* own_interface(const GUID& iid) override;
    void build_form(QWidget* form) override;
    void retranslate_form() override;
    QPixmap icon() const override;

private:
    QPointer<QLabel> m_text;
    QPointer<QAbstractButton> m_button;
    QPointer<dialog_frame_c> m_confirmation;
};

// Five sound-feedback switches and the volume (0..100).
class sound_feedback_ctrl_c : public host_ctrl_c, public sound_feedback_ctrl_i {
    Q_OBJECT
public:
    explicit sound_feedback_ctrl_c(component_context_c* context = nullptr);

    void release() override { host_ctrl_c::release(); }
    interface_i* query_interface(const GUID& iid) override {
        return host_ctrl_c::query_interface(iid);
    }

    void sound_reserved_2() override { m_journal.record(QStringLiteral("sound_reserved_2")); }
    void sound_reserved_3() override { m_journal.record(QStringLiteral("sound_reserved_3")); }
    void sound_reserved_4() override { m_journal.record(QStringLiteral("sound_reserved_4")); }
    void sound_reserved_5() override { m_journal.record(QStringLiteral("sound_reserved_5")); }
    void sound_reserved_6() override { m_journal.record(QStringLiteral("sound_reserved_6")); }
    void sound_reserved_7() override { m_journal.record(QStringLiteral("sound_reserved_7")); }
    void sound_reserved_8() override { m_journal.record(QStringLiteral("sound_reserved_8")); }
    void set_switch_0(bool on) override { set_switch(0, on); }
    void set_switch_1(bool on) override { set_switch(1, on); }
    void set_switch_2(bool on) override { set_switch(2, on); }
    void set_switch_3(bool on) override { set_switch(3, on); }
    void set_switch_4(bool on) override { set_switch(4, on); }
    void sound_reserved_14() override { m_journal.record(QStringLiteral("sound_reserved_14")); }
    // A volume above 100 shows 100.
    void set_volume(int32_t volume) override;

    bool switch_on(int index) const { return m_switches[size_t(index)]; }
    int volume() const { return m_volume; }
    void user_set_switch(int index, bool on);
    void user_set_volume(int volume);
    option_toggle_c* toggle(int index) const { return m_toggles[size_t(index)]; }
    slider_widget_c* volume_slider() const { return m_slider; }

protected:
    interface_i* own_interface(const GUID& iid) override;
    void build_form(QWidget* form) override;
    void retranslate_form() override;
    QPixmap icon() const override;

private:
    void set_switch(int index, bool on);

    std::array<bool, sound_switch_count> m_switches{};
    int m_volume = 50;
    std::array<QPointer<option_toggle_c>, sound_switch_count> m_toggles;
    QPointer<slider_widget_c> m_slider;
    QPointer<QLabel> m_volume_name;
    QPointer<QLabel> m_volume_value;
};

// The message box: a modal dialog with the caller's title, texts and captions.
class message_box_c : public dialog_component_c, public message_box_i {
    Q_OBJECT
public:
    explicit message_box_c(component_context_c* context = nullptr);
    interface_i* query_interface(const GUID& iid) override;
    void release() override { release_component(); }
    int32_t run(const QString& title, const QString& text, const QString& question,
                const QString& confirm, const QString& cancel, int32_t flags) override;
    void close_box() override;
};
