// Check boxes, radio buttons and number boxes that paint themselves from cached pictures
// and colours set once. The control forms carry no style sheet: a sheet sends every
// widget under it through style-sheet polishing each time a page opens and draws each one
// through the sheet's rules.
#pragma once

#include <QCheckBox>
#include <QColor>
#include <QRadioButton>
#include <QSize>
#include <QSpinBox>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QPainter;

// How a check box or radio button looks: an indicator picture per state and the text's
// colour per state beside it.
struct toggle_look_t {
    QString off;
    QString off_hover;
    QString off_disabled;
    QString on;
    QString on_hover;
    QString on_disabled;
    QSize indicator;
    // Between the indicator and the text.
    int spacing = 0;
    QColor text;
    QColor text_hover;
    QColor text_checked;
    QColor text_disabled;

    // The six check-box pictures (19 x 18), the text in light grey.
    static toggle_look_t check_box();
    // The six radio pictures (16 x 16), the text grey, lighter under the pointer and when
    // chosen, dark when disabled.
    static toggle_look_t radio();

    // What `button` shows now.
    const QString& picture_for(const QAbstractButton* button) const;
    QColor text_for(const QAbstractButton* button) const;
};

class picture_toggle_check_c : public QCheckBox {
    Q_OBJECT

public:
    explicit picture_toggle_check_c(QWidget* parent = nullptr);

    void set_look(const toggle_look_t& look);
    const toggle_look_t& look() const { return m_look; }
    const QString& shown_picture() const { return m_look.picture_for(this); }
    QColor shown_text_colour() const { return m_look.text_for(this); }
    QRect indicator_rect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    toggle_look_t m_look = toggle_look_t::check_box();
};

class picture_toggle_radio_c : public QRadioButton {
    Q_OBJECT

public:
    explicit picture_toggle_radio_c(QWidget* parent = nullptr);

    void set_look(const toggle_look_t& look);
    const QString& shown_picture() const { return m_look.picture_for(this); }
    QColor shown_text_colour() const { return m_look.text_for(this); }
    QRect indicator_rect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    toggle_look_t m_look = toggle_look_t::radio();
};

// A number box on the typing-field picture (5 pixels of border stretched around the
// middle), light text, a darker picture and text when disabled.
class framed_spin_box_c : public QSpinBox {
    Q_OBJECT

public:
    explicit framed_spin_box_c(QWidget* parent = nullptr);

    const QString& shown_picture() const;
    QColor shown_text_colour() const;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void place_edit_field();
};
