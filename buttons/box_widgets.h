// The widgets the two button boxes are made of. Each paints itself from pictures decoded
// and scaled once (QPixmapCache, keyed by picture, size, state and pixel ratio) and from
// colours and fonts it is given once, so the boxes need no style sheet: a sheet sends every
// widget under it through style-sheet polishing on each page opening and draws each one
// through the sheet's rules, which was most of the time the page took to open.
#pragma once

#include "common/elided_text.h"

#include <QCheckBox>
#include <QColor>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <initializer_list>

namespace box_look {

// The picture at `path` (a resource) at its own size, decoded once (QPixmap::load keeps it in
// QPixmapCache). A picture that cannot be loaded gives a null pixmap and is logged once.
QPixmap source(const QString& path);

// A QPixmapCache key: the kind, then each number as one character, then the text. Keys are
// made on every paint, so the numbers are not formatted as text.
QString cache_key(QLatin1String kind, std::initializer_list<qint64> numbers,
                  const QString& text = QString());

// The picture at `path` (a resource) drawn into `size` logical pixels at `ratio`; decoded
// once per path, scaled once per size and ratio. A picture that cannot be loaded gives a
// null pixmap and is logged once.
QPixmap picture(const QString& path, const QSize& size, qreal ratio);

// `text` as drawn with `font` and `colour` into a transparent picture of `size` with the
// QPainter::drawText `flags`; painted once per text, font, colour, size, flags and ratio.
// Labels and rows show the same few texts on every page opening.
QPixmap text_picture(const QString& text, const QFont& font, const QColor& colour,
                     const QSize& size, int flags, qreal ratio);

// The boxes' frame: a vertical gradient inside a one-pixel border with rounded corners.
// Painted into `rect` of the painter's device; cached per height, pixel ratio and border.
void paint_frame(class QPainter& painter, const QRect& rect, qreal ratio,
                 const QColor& border = QColor(0x2a, 0x2e, 0x35));

} // namespace box_look

// The colours of the boxes' texts.
namespace box_colour {
inline const QColor title{0xe4, 0xe6, 0xe9};
inline const QColor accent{0x5c, 0xc8, 0xea};
inline const QColor hint{0x7d, 0x82, 0x8a};
inline const QColor header{0x65, 0xc3, 0xf7};
inline const QColor row_number{0x8d, 0x92, 0x96};
inline const QColor row_number_disabled{0x45, 0x49, 0x4d};
} // namespace box_colour

// A label that paints its text in its own colours: a window's style sheet that colours all
// labels leaves it alone, and it needs no sheet of its own.
class colour_label_c : public QLabel {
    Q_OBJECT

public:
    explicit colour_label_c(QWidget* parent = nullptr);
    colour_label_c(const QString& text, QWidget* parent);

    void set_colours(const QColor& normal, const QColor& disabled);
    // A font the label draws and measures with whatever font a style sheet around it sets
    // on the widget (a window's sheet may size every label of its dialogs).
    void set_own_font(const QFont& font);
    QFont drawn_font() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int text_flags() const;

    // The width a wrapping label asks for when nobody offers one.
    static constexpr int wrap_width = 520;
    QColor m_normal{0xc9, 0xcc, 0xd1};
    QColor m_disabled{0x4a, 0x4e, 0x55};
    QFont m_own_font;
    bool m_has_own_font = false;
};

// A panel that paints a plain fill, the boxes' rounded frame (with its own border colour)
// and/or a line along its bottom edge.
class fill_widget_c : public QWidget {
    Q_OBJECT

public:
    explicit fill_widget_c(QWidget* parent = nullptr);

    void set_fill(const QColor& fill);
    void set_frame(const QColor& border);
    void set_bottom_line(const QColor& line);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
    QColor m_frame;
    QColor m_bottom_line;
};

// A panel that shows a picture: its normal one, or its lit one while it is lit (set by the
// owner, or by the pointer when `lit_by_hover`).
class picture_widget_c : public QWidget {
    Q_OBJECT

public:
    enum class placement { stretch, centre, top_left };

    explicit picture_widget_c(QWidget* parent = nullptr);

    void set_pictures(const QString& normal, const QString& lit = QString(),
                      placement where = placement::stretch);
    void set_lit_by_hover(bool on);
    void set_lit(bool on);
    bool is_lit() const { return m_lit; }
    // The picture's path as drawn now.
    const QString& shown_picture() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_normal;
    QString m_lit_picture;
    placement m_placement = placement::stretch;
    bool m_lit = false;
    bool m_lit_by_hover = false;
};

// A tool button drawn as one picture per state: normal, under the pointer, disabled.
class picture_button_c : public QPushButton {
    Q_OBJECT

public:
    explicit picture_button_c(QWidget* parent = nullptr);

    void set_pictures(const QString& normal, const QString& hover, const QString& disabled);
    const QString& shown_picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_normal;
    QString m_hover;
    QString m_disabled;
};

// A check box whose indicator is a picture per state and whose text is painted in its own
// colours beside it.
class picture_check_box_c : public QCheckBox {
    Q_OBJECT

public:
    struct look_t {
        QString off;
        QString off_hover;
        QString on;
        QString on_hover;
        QString disabled;
        QSize indicator{20, 20};
        // Between the indicator and the text.
        int spacing = 0;
        QColor text{0xb4, 0xb9, 0xc0};
        QColor text_disabled{0x4a, 0x4e, 0x55};
    };

    explicit picture_check_box_c(QWidget* parent = nullptr);

    void set_look(const look_t& look);
    const QString& shown_picture() const;
    QRect indicator_rect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    look_t m_look;
};

// A row of a button list: the button's function on a dark field, with a drop-down arrow
// when the row opens the catalogue. The text is shortened with an ellipsis to the room left
// of the arrow. The field with its border and arrow is one cached picture per state.
class row_button_c : public QPushButton {
    Q_OBJECT

public:
    enum class state { normal, hover, fixed, disabled, disabled_fixed };

    explicit row_button_c(QWidget* parent = nullptr);

    void set_assignable(bool on);
    bool assignable() const { return m_assignable; }
    state current_state() const;
    // Where the text goes: the field inside its padding, left of the arrow when there is one.
    QRect text_rect() const;
    // Where the arrow goes; empty for a row without one.
    QRect arrow_rect() const;
    // The text as it is drawn now (shortened to text_rect()).
    QString shown_text();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_assignable = true;
    elided_text_c m_text;
};
