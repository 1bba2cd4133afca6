#include "host/components/menu_style.h"

#include "host/components/component_style.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace {

constexpr int k_pad_left = 10;
constexpr int k_pad_right = 12;
constexpr int k_icon = 24;
constexpr int k_icon_gap = 10;
constexpr int k_arrow = 18;
constexpr int k_single_height = 30;
constexpr int k_double_height = 44;
constexpr int k_separator_height = 9;

const QColor k_panel{0x1c, 0x1f, 0x24};
const QColor k_panel_border{0x33, 0x37, 0x3f};
const QColor k_highlight{0x26, 0x3b, 0x48};
const QColor k_highlight_edge{0x3a, 0xa7, 0xc9};

QFont label_font(const QWidget* widget) {
    QFont font = widget ? widget->font() : QApplication::font();
    font.setPixelSize(12);
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont description_font(const QWidget* widget) {
    QFont font = widget ? widget->font() : QApplication::font();
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    return font;
}

// The label and description of an item's text, without mnemonic marks and
// without the shortcut part.
void split_text(const QString& text, QString* label, QString* description) {
    QString plain = text.section(QLatin1Char('\t'), 0, 0);
    plain.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    plain.remove(QLatin1Char('&'));
    plain.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    *label = plain.section(QLatin1Char('\n'), 0, 0);
    *description = plain.section(QLatin1Char('\n'), 1);
}

} // namespace

menu_style_c::menu_style_c()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

menu_style_c* menu_style_c::instance() {
    static QPointer<menu_style_c> style;
    if (!style) {
        style = new menu_style_c;
        style->setParent(qApp);
    }
    return style;
}

QString menu_style_c::item_text(const QString& label, const QString& description) {
    auto clean = [](QString text) {
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return text;
    };
    const QString first = clean(label);
    return description.isEmpty() ? first : first + QLatin1Char('\n') + clean(description);
}

void menu_style_c::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    if (element == PE_PanelMenu) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(k_panel_border, 1));
        painter->setBrush(k_panel);
        painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        painter->restore();
        return;
    }
    if (element == PE_FrameMenu)
        return; // the panel draws its own border
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void menu_style_c::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || !item) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRect r = item->rect;
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        painter->setPen(QPen(QColor(0x2c, 0x30, 0x37), 1));
        const int y = r.center().y();
        painter->drawLine(r.left() + 8, y, r.right() - 8, y);
        painter->restore();
        return;
    }
    const bool enabled = item->state & State_Enabled;
    const bool selected = enabled && (item->state & State_Selected);
    if (selected) {
        const QRectF band = QRectF(r).adjusted(3, 1, -3, -1);
        painter->setPen(Qt::NoPen);
        painter->setBrush(k_highlight);
        painter->drawRoundedRect(band, 4, 4);
        painter->setBrush(k_highlight_edge);
        painter->drawRoundedRect(QRectF(band.left(), band.top() + 5, 2.5, band.height() - 10), 1,
                                 1);
    }

    int x = r.left() + k_pad_left;
    if (item->maxIconWidth > 0) {
        if (!item->icon.isNull()) {
            const QIcon::Mode mode = !enabled   ? QIcon::Disabled
                                     : selected ? QIcon::Active
                                                : QIcon::Normal;
            const QRect icon_rect(x, r.top() + (r.height() - k_icon) / 2, k_icon, k_icon);
            item->icon.paint(painter, icon_rect, Qt::AlignCenter, mode, QIcon::Off);
        }
        x += k_icon + k_icon_gap;
    }

    QString label;
    QString description;
    split_text(item->text, &label, &description);
    const int right = r.right() - k_pad_right - k_arrow;
    const QColor label_colour = !enabled   ? component_style::text_disabled
                                : selected ? component_style::text_bright
                                           : QColor(0xd6, 0xd9, 0xdd);
    painter->setPen(label_colour);
    painter->setFont(label_font(widget));
    if (description.isEmpty()) {
        painter->drawText(QRect(x, r.top(), right - x, r.height()),
                          Qt::AlignVCenter | Qt::AlignLeft, label);
    } else {
        painter->drawText(QRect(x, r.top() + 6, right - x, 17), Qt::AlignVCenter | Qt::AlignLeft,
                          label);
        painter->setFont(description_font(widget));
        painter->setPen(!enabled   ? component_style::text_disabled
                        : selected ? QColor(0x9f, 0xc7, 0xd6)
                                   : component_style::text_dim);
        painter->drawText(QRect(x, r.top() + 23, right - x, 15), Qt::AlignVCenter | Qt::AlignLeft,
                          description);
    }

    if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
        const QPointF c(r.right() - k_pad_right - k_arrow / 2.0 + 4, r.center().y() + 0.5);
        QPainterPath chevron;
        chevron.moveTo(c + QPointF(-2.5, -4.5));
        chevron.lineTo(c + QPointF(2, 0));
        chevron.lineTo(c + QPointF(-2.5, 4.5));
        painter->setPen(
            QPen(enabled ? (selected ? component_style::accent : component_style::text_normal)
                         : component_style::text_disabled,
                 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(chevron);
    }
    painter->restore();
}

QSize menu_style_c::sizeFromContents(ContentsType type, const QStyleOption* option,
                                     const QSize& size, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        return QSize(40, k_separator_height);
    QString label;
    QString description;
    split_text(item->text, &label, &description);
    int text_width = QFontMetrics(label_font(widget)).horizontalAdvance(label);
    if (!description.isEmpty())
        text_width =
            qMax(text_width, QFontMetrics(description_font(widget)).horizontalAdvance(description));
    int width = k_pad_left + text_width + k_pad_right + k_arrow + 8;
    if (item->maxIconWidth > 0)
        width += k_icon + k_icon_gap;
    return QSize(qMax(width, 180), description.isEmpty() ? k_single_height : k_double_height);
}

int menu_style_c::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
        return 3;
    case PM_MenuVMargin:
        return 5;
    case PM_SubMenuOverlap:
        return -4;
    case PM_SmallIconSize:
        return k_icon;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int menu_style_c::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* result) const {
    switch (hint) {
    case SH_Menu_FlashTriggeredItem:
        return 0;
    case SH_Menu_SubMenuPopupDelay:
        return 120;
    case SH_Menu_AllowActiveAndDisabled:
        return 0;
    default:
        return QProxyStyle::styleHint(hint, option, widget, result);
    }
}
