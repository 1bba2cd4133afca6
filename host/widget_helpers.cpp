#include "host/widget_helpers.h"

#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QStyle>
#include <QVariant>
#include <functional>

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

namespace {

// `sheet` without its comments, each selector of each rule replaced by rewrite(selector).
QString rewritten_selectors(const QString& sheet,
                            const std::function<QString(const QString&)>& rewrite);

} // namespace

bool dialog_style_c::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Polish || !watched->isWidgetType())
        return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (!dialog)
        return false;
    // Only dialogs over the window this filter serves: over the window's sheet they
    // had koral's style; a dialog of no window, or inside a styled panel, is left alone.
    QWidget* root = nullptr;
    for (QWidget* up = dialog->parentWidget(); up; up = up->parentWidget()) {
        if (!up->styleSheet().isEmpty())
            return false;
        root = up;
    }
    if (!root || root != parent())
        return false;
    if (dialog->property("koral_styled").toBool())
        return false;
    dialog->setProperty("koral_styled", true);
    dialog->setStyleSheet(dialog_style_sheet(dialog->styleSheet(), dialog->objectName()));
    return false;
}

QString dialog_style_sheet(const QString& own, const QString& name) {
    const QString& koral = koral_style_sheet();
    if (own.trimmed().isEmpty())
        return koral;
    if (name.isEmpty() ||
        !QRegularExpression(QStringLiteral("^[A-Za-z_][A-Za-z0-9_-]*$")).match(name).hasMatch())
        return koral + QLatin1Char('\n') + own;
    const QString ancestor = QLatin1Char('#') + name + QLatin1Char(' ');
    return koral + QLatin1Char('\n') +
           rewritten_selectors(own, [&ancestor](const QString& selector) {
               return selector + QLatin1String(", ") + ancestor + selector;
           });
}

namespace {

QString rewritten_selectors(const QString& sheet,
                            const std::function<QString(const QString&)>& rewrite) {
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
    QString result;
    at = 0;
    for (;;) {
        const int open = plain.indexOf(QLatin1Char('{'), at);
        const int close = open < 0 ? -1 : plain.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            break;
        QStringList selectors;
        for (const QString& selector : plain.mid(at, open - at).split(QLatin1Char(','))) {
            if (!selector.trimmed().isEmpty())
                selectors << rewrite(selector.trimmed());
        }
        result += selectors.join(QLatin1String(", ")) + QLatin1Char(' ') +
                  plain.midRef(open, close - open + 1) + QLatin1Char('\n');
        at = close + 1;
    }
    return result;
}

} // namespace
