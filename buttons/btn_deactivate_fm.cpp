#include "buttons/btn_deactivate_fm.h"

#include "module/interfaces.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"

#include <QKeyEvent>

btn_deactivate_fm_c::btn_deactivate_fm_c(int32_t edition, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    m_ui.setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setModal(true);
    const QString picture = edition == product_type::white
                                ? QStringLiteral("Quil_standard_White.png")
                                : QStringLiteral("Quil_standard.png");
    m_ui.wg_dev->setAttribute(Qt::WA_StyledBackground);
    m_ui.wg_dev->setStyleSheet(
        QStringLiteral("QWidget#wg_dev { background-image: url(:/graphics/button_assignment/%1); "
                       "background-repeat: no-repeat; background-position: center; }")
            .arg(picture));
    for (QWidget* w :
         {static_cast<QWidget*>(m_ui.wg_contain), static_cast<QWidget*>(m_ui.wg_center),
          static_cast<QWidget*>(m_ui.wg_header)})
        w->setAttribute(Qt::WA_StyledBackground);
    // Fonts (16 points for the title, 14 for the texts) are in the form's style sheet, so the
    // host's application style cannot shrink them.
    bind(module_ctrl_center());
}

void btn_deactivate_fm_c::update() {
    // Without a host the form keeps its own texts.
    const QString title = zarek_page_base_c::host_text(title_text);
    const QString text = zarek_page_base_c::host_text(instruction_text);
    const QString comment = zarek_page_base_c::host_text(comment_text);
    if (!title.isEmpty())
        m_ui.lb_title->setText(title);
    if (!text.isEmpty())
        m_ui.lb_text1->setText(text);
    m_ui.lb_comment->setText(comment);
}

void btn_deactivate_fm_c::cover(QWidget* window) {
    if (!window)
        return;
    setGeometry(QRect(window->mapToGlobal(QPoint(0, 0)), window->size()));
}

void btn_deactivate_fm_c::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    event->accept();
}
