// The lighting control's form: the mouse with its two light zones animated as the
// mouse will show them, the zones' colour buttons that open the colour palette, the
// effect choice with its speed slider, the colour-flow list and the on/off switch.
#pragma once

#include "module/component_interfaces.h"
#include "module/lighting_interfaces.h"
#include "pages/form_base.h"
#include "ui_lighting_ctrl_funcs_fm.h"

#include <QColor>
#include <QWidget>
#include <memory>

class QAbstractButton;
class QRadioButton;
class ctrl_box_i;
class led_effect_tool_c;
class lighting_ctrl_funcs_c;
class palette_fm_c;

class lighting_ctrl_funcs_fm_c : public QWidget,
                                 public slider_client_i,
                                 public form_base_c,
                                 public combobox_fm_client_i,
                                 public led_effect_tool_client_i {
    Q_OBJECT

public:
    // Builds the form under `parent` and asks the host for its box, speed slider and
    // colour-flow list.
    lighting_ctrl_funcs_fm_c(lighting_ctrl_funcs_c* control, QWidget* parent);
    ~lighting_ctrl_funcs_fm_c() override;

    // Answers slider_client_i and led_effect_tool_client_i, then what form_base_c answers.
    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // Retranslation: the box, the titles, the effects and the colour-flow items.
    void update() override;

    // slider_client_i: a move while the form is shown becomes the effect speed.
    void slider_value_changed(slider_i* slider) override;
    void slider_pressed(slider_i* slider) override;
    // combobox_fm_client_i: the user chose a colour-flow item.
    void item_chosen(colour_flow_list_i* list, int32_t index) override;
    // led_effect_tool_client_i: tints the logo and light-pipe masks.
    void show_led_colors(uint8_t r1, uint8_t g1, uint8_t b1, uint8_t a1, uint8_t r2, uint8_t g2,
                         uint8_t b2, uint8_t a2) override;

    // What the page's values look like here (nothing is written).
    void show_lighting_on(bool on);
    void show_effect(int32_t effect);
    void show_effect_speed(int32_t speed);
    void show_color_flow(int32_t flow);
    // Both zone colours from the current profile, the buttons and masks repainted, and
    // the animation started anew for the current profile slot.
    void refresh_colors();

    // Opens the palette under the zone's colour button (building it the first time);
    // nothing without the control's profile data.
    void open_palette(bool top);
    // The palette's reports: a colour the user touched, and its closing.
    void palette_live_color(int r, int g, int b);
    void palette_closed();
    // Closes an open palette as a person would (its choice is kept).
    void close_palette();

    ctrl_box_i* box() const { return m_box; }
    slider_i* speed_slider() const { return m_slider; }
    colour_flow_list_i* flow_list() const { return m_flow_list; }
    // The palette, once it was opened.
    palette_fm_c* palette() const { return m_palette; }
    led_effect_tool_c* tool() const { return m_tool.get(); }
    QColor zone_color(bool top) const { return top ? m_top_color : m_bottom_color; }
    // The colour-flow item a text belongs to: its host text in the current language.
    static QString flow_text(int32_t flow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void set_up_slider();
    void set_up_flow_list();
    void set_groups_enabled(bool on);
    void restart_preview();
    void paint_color_button(QAbstractButton* button, const QColor& color);
    void paint_leader_lines();
    void set_box_texts();
    QRadioButton* effect_button(int32_t effect) const;

    Ui::lighting_ctrl_funcs_fm m_ui;
    lighting_ctrl_funcs_c* m_control;
    ctrl_box_i* m_box = nullptr;
    slider_i* m_slider = nullptr;
    colour_flow_list_i* m_flow_list = nullptr;
    palette_fm_c* m_palette = nullptr;
    std::unique_ptr<led_effect_tool_c> m_tool;
    QColor m_top_color;
    QColor m_bottom_color;
    // Where the lines from the colour buttons meet their zones (overlay coordinates).
    QPoint m_top_anchor;
    QPoint m_bottom_anchor;
    // The colour-flow item shown on the list's button.
    int32_t m_shown_flow = -1;
};
