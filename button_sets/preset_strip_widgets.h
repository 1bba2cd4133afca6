// The preset strip's small widgets, painted from pictures kept once per process instead of
// styled by a sheet: the strip is made on every opening of the button page, and a sheet is
// parsed and matched for every widget under it each time.
#pragma once

#include <QColor>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace preset_strip {

// The picture of a resource path, loaded once and kept in the pixmap cache (keyed on the
// path, so another picture is another entry); a null pixmap for a missing one.
QPixmap picture(const QString& path);

} // namespace preset_strip

// A widget that shows one picture stretched over itself (a separator, a fade).
class strip_picture_c : public QWidget {
public:
    explicit strip_picture_c(QWidget* parent = nullptr);
    void set_picture(const QString& path);
    QString picture_path() const { return m_path; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_path;
};

// A flat button that shows a picture in its middle: one at rest, another under the pointer.
class strip_picture_button_c : public QPushButton {
public:
    explicit strip_picture_button_c(QWidget* parent = nullptr);
    void set_pictures(const QString& normal, const QString& over);
    // Under the pointer (the over picture shows).
    bool lit() const { return m_lit; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString m_normal;
    QString m_over;
    bool m_lit = false;
};

// A one-line label in a fixed colour, whatever colour a surrounding style gives labels. It
// sizes itself by its text's advance, which is what a label's own text layout measures for
// one line, at a fraction of the cost.
class strip_label_c : public QLabel {
public:
    explicit strip_label_c(QWidget* parent = nullptr);
    void set_colour(const QColor& colour);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour{0xbc, 0xbc, 0xbc};
    // The last size measured, with the text and font it was measured for.
    mutable QSize m_size;
    mutable QString m_sized_text;
    mutable QFont m_sized_font;
};
