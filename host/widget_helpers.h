// Small builders for the stand-in host's own widgets: object names and the
// "role" property are what koral.qss styles them by.
#pragma once

#include <QObject>
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

// Gives every dialog over the window that is this filter's parent koral's style when
// it is first polished. koral's window carries
// no style sheet: a sheet on any ancestor of the page area, even of one rule, has every
// widget of the module's pages (the host's painted components above all) polished and
// drawn through style sheets on each opening of a page. Dialogs over the window (the
// module's, the host components') are windows of their own and get koral's style here
// instead, in front of their own sheet (see dialog_style_sheet); one inside a styled
// panel of koral's has it already.
class dialog_style_c final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// koral's style followed by `own`, a dialog's own sheet, for a dialog named `name`. Over
// the window, the dialog's own rules won over koral's whatever their specificity; in one
// sheet they win the same way because each of them is given again behind "#name ", the
// dialog's name as an ancestor, which outweighs every rule of koral's on the dialog's
// widgets. Without a name, the plain concatenation.
QString dialog_style_sheet(const QString& own, const QString& name);
