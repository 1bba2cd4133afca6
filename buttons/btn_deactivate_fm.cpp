#include "buttons/btn_deactivate_fm.h"

#include "buttons/box_widgets.h"
#include "module/interfaces.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"

#include <QApplication>
#include <QKeyEvent>

btn_deactivate_fm_c::btn_deactivate_fm_c(int32_t edition, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    m_ui.setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setModal(true);
    const QString picture = edition == product_type::white
                                ? QStringLiteral("Quil_standard_White.png")
                                : QStringLiteral("Quil_standard.png");
    m_ui.wg_dev->set_pictures(QStringLiteral(":/graphics/button_assignment/") + picture, QString(),
                              picture_widget_c::placement::centre);
    m_ui.wg_contain->set_fill(QColor(8, 9, 11, 190));
    m_ui.wg_center->set_frame(QColor(0x38, 0x3d, 0x45));
    m_ui.wg_header->set_bottom_line(QColor(0x25, 0x29, 0x2f));
    // The texts keep their own fonts (16 points for the title, 14 for the texts): a host
    // window's style sheet that sizes the labels of its dialogs does not shrink them.
    const auto font = [](int points, bool bold, int spacing) {
        QFont f = QApplication::font();
        f.setFamily(QStringLiteral("EurostileHea"));
        f.setPointSize(points);
        f.setBold(bold);
        if (spacing)
            f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        return f;
    };
    m_ui.lb_title->set_own_font(font(16, true, 2));
    m_ui.lb_title->set_colours(QColor(0xe0, 0x5a, 0x4f), QColor(0xe0, 0x5a, 0x4f));
    m_ui.lb_text1->set_own_font(font(14, false, 0));
    m_ui.lb_text1->set_colours(box_colour::accent, box_colour::accent);
    m_ui.lb_comment->set_own_font(font(14, false, 0));
    m_ui.lb_comment->set_colours(QColor(0xb4, 0xb9, 0xc0), QColor(0xb4, 0xb9, 0xc0));
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
