// The colour palette: the drop-down window in which the user picks the colour of
// one light zone from 30 standard colours, 12 custom colours, a gradient bar or
// typed red, green and blue. Every colour touched goes to the lighting form at
// once; the form reads the result when the palette closes.
#pragma once

#include "module/lighting_interfaces.h"
#include "pages/form_base.h"
#include "ui_palette_fm.h"

#include <QImage>
#include <QMap>
#include <QPoint>
#include <QWidget>

class QAbstractButton;
class lighting_ctrl_funcs_fm_c;

class palette_fm_c : public QWidget, public form_base_c {
    Q_OBJECT

public:
    struct standard_entry {
        QAbstractButton* button = nullptr;
        int red = 0;
        int green = 0;
        int blue = 0;
    };
    struct custom_entry {
        QAbstractButton* button = nullptr;
        int red = 0;
        int green = 0;
        int blue = 0;
        // 255: holds a colour; 0: empty.
        int filled = 0;
    };

    // The frameless pop-up window of `lighting` (which hears of every colour and of the
    // closing); `parent` owns it. It stays hidden until shown.
    palette_fm_c(lighting_ctrl_funcs_fm_c* lighting, QWidget* parent);

    // Retranslation: the title from the host, OK and CANCEL.
    void update() override;
    // OK and CANCEL grow to their translated texts, to the left.
    void fonts_applied() override;

    void set_zone(bool top) { m_zone = top; }
    bool zone() const { return m_zone; }
    // Preselects standard colour `index`, or for any other index the RGB triple.
    void select(int index, int r, int g, int b);
    // Custom entry 30..41; other indices are ignored.
    void set_custom_color(int index, int r, int g, int b, int filled);

    // The outcome, read when the palette has closed.
    bool accepted() const { return m_accepted; }
    bool index_mode() const { return m_index_mode; }
    int index() const { return m_index; }
    int red() const { return m_red; }
    int green() const { return m_green; }
    int blue() const { return m_blue; }
    standard_entry standard_color(int index) const { return m_standard.value(index); }
    custom_entry custom_color(int index) const { return m_custom.value(index); }

    // The window flags of the pop-up: frameless, a window of its own.
    static constexpr int window_flags = 0x813;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void standard_clicked(int index);
    void custom_clicked(int index);
    // The spin boxes show the colour (without reporting each box).
    void show_rgb(int r, int g, int b);
    // A colour chosen as red, green and blue: shown, reported, no longer a standard index.
    void take_rgb(int r, int g, int b);
    void spin_changed();
    void pick(const QPoint& bar_point);
    void add_custom();
    void delete_custom();
    void finish(bool accepted);
    void set_standard_checked(int index);
    void paint_swatch();
    void paint_marker();
    void paint_custom_palette();

    Ui::palette_fm m_ui;
    lighting_ctrl_funcs_fm_c* m_lighting;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    int m_index = -1;
    bool m_accepted = false;
    bool m_index_mode = false;
    QImage m_gradient;
    QPoint m_last_pick;
    bool m_zone = true;
    bool m_dragging = false;
    QMap<int, standard_entry> m_standard;
    QMap<int, custom_entry> m_custom;
};
