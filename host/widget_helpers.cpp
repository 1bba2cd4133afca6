#include "host/widget_helpers.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVariant>

QLabel* make_label(const QString& object_name, const char* role, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(object_name);
    if (role)
        label->setProperty("role", QLatin1String(role));
    return label;
}

QPushButton* make_button(const QString& object_name, const char* role, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(object_name);
    button->setProperty("role", QLatin1String(role));
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QFrame* make_card(const QString& object_name, QWidget* parent) {
    auto* card = new QFrame(parent);
    card->setObjectName(object_name);
    card->setProperty("role", QStringLiteral("card"));
    return card;
}

void refresh_style(QWidget* widget) {
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

const QString& koral_style_sheet() {
    static const QString sheet = [] {
        QFile style(QStringLiteral(":/koral/koral.qss"));
        if (!style.open(QIODevice::ReadOnly)) {
            qWarning("koral: the window style :/koral/koral.qss cannot be read");
            return QString();
        }
        return QString::fromUtf8(style.readAll());
    }();
    return sheet;
}

const QString& window_style_sheet() {
    static const QString sheet =
        filtered_style_sheet(koral_style_sheet(), [](const QString& selectors) {
            return !selectors.contains(QLatin1Char('#')) &&
                   !selectors.contains(QLatin1String("[role"));
        });
    return sheet;
}

QString filtered_style_sheet(const QString& sheet, bool (*keep)(const QString& selectors)) {
    // Comments out first: a brace in one must not end a rule.
    QString plain;
    int at = 0;
    for (;;) {
        const int start = sheet.indexOf(QLatin1String("/*"), at);
        if (start < 0) {
            plain += sheet.midRef(at);
            break;
        }
        plain += sheet.midRef(at, start - at);
        const int end = sheet.indexOf(QLatin1String("*/"), start + 2);
        if (end < 0)
            break;
        at = end + 2;
    }
    QString kept;
    at = 0;
    for (;;) {
        const int open = plain.indexOf(QLatin1Char('{'), at);
        const int close = open < 0 ? -1 : plain.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            break;
        const QString selectors = plain.mid(at, open - at).trimmed();
        if (keep(selectors))
            kept += selectors + QLatin1Char(' ') + plain.midRef(open, close - open + 1) +
                    QLatin1Char('\n');
        at = close + 1;
    }
    return kept;
}
