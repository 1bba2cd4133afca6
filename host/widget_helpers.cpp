#include "host/widget_helpers.h"

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
