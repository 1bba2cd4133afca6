// Small builders for the stand-in host's own widgets: object names and the
// "role" property are what koral.qss styles them by.
#pragma once

#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

QLabel* make_label(const QString& object_name, const char* role, QWidget* parent);
QPushButton* make_button(const QString& object_name, const char* role, QWidget* parent);
QFrame* make_card(const QString& object_name, QWidget* parent);
// Applies the style sheet again after a role or state property changed.
void refresh_style(QWidget* widget);
