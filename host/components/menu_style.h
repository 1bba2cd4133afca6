// How the host's drop-down menus look: dark panels, an icon column, a label
// with an optional second line (the description) and a chevron for submenus.
// A menu item's text carries the description after a line break.
#pragma once

#include <QProxyStyle>

class menu_style_c : public QProxyStyle {
    Q_OBJECT
public:
    // The one instance every host menu uses; it lives as long as the application.
    static menu_style_c* instance();

    // The action text of an item: the label, and the description on a second line.
    static QString item_text(const QString& label, const QString& description);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* result = nullptr) const override;

private:
    menu_style_c();
};
