#include "controls/boxed_form_style.h"

#include <QEvent>
#include <QWidget>

namespace {

class boxed_style_c final : public QObject {
public:
    boxed_style_c(QWidget* form, const QString& sheet)
        : QObject(form)
        , m_form(form)
        , m_sheet(sheet) {
        form->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_form &&
            (event->type() == QEvent::ParentChange || event->type() == QEvent::Polish)) {
            m_form->removeEventFilter(this);
            m_form->setStyleSheet(m_sheet);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* m_form;
    QString m_sheet;
};

} // namespace

void style_once_boxed(QWidget* form) {
    if (!form || form->styleSheet().isEmpty())
        return;
    const QString sheet = form->styleSheet();
    form->setStyleSheet(QString());
    new boxed_style_c(form, sheet);
}
