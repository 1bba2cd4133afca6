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

// koral's window style (":/koral/koral.qss"), read once; empty when it cannot be read.
const QString& koral_style_sheet();

// The rules of koral's style that koral's window itself carries, so that they reach
// what lives in it but is not koral's own panel: the module's pages, its dialogs over
// the window and the host components in them. Those are the rules whose selectors name
// no object and no "role" (the module's widgets have neither). Every widget of every
// page is polished against these few rules instead of all of koral's; koral's own
// panels carry the whole style themselves.
const QString& window_style_sheet();

// The rules of `sheet` (comments dropped) that `keep` accepts by their selector text.
QString filtered_style_sheet(const QString& sheet, bool (*keep)(const QString& selectors));
