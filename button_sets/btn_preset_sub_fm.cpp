#include "button_sets/btn_preset_sub_fm.h"

#include "button_sets/btn_preset_fm.h"
#include "button_sets/side_layout.h"
#include "module/module.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

using namespace side_layout;

namespace {

const QString folder = QStringLiteral(":/graphics/button_assignment/Button-Set-Presets/");

// Miniature pieces, normal and over: single, double, single blank, quad blank.
struct miniature_images {
    std::array<QImage, 4> normal;
    std::array<QImage, 4> over;
    QImage border;
    QImage tile_normal;
    QImage tile_selected;
};

const miniature_images& images() {
    static const miniature_images im = [] {
        miniature_images m;
        m.normal = {QImage(folder + "Single-buttons/Single_button_normal.png"),
                    QImage(folder + "Double-buttons/Double-Button_active_normal.png"),
                    QImage(folder + "Single-blanc_buttons/Single_blanc-Button_normal.png"),
                    QImage(folder + "Quad-blanc_buttons/Quad-blanc-Button_normal.png")};
        m.over = {QImage(folder + "Single-buttons/Single_button_over.png"),
                  QImage(folder + "Double-buttons/Double-Button_active_over.png"),
                  QImage(folder + "Single-blanc_buttons/Single_blanc-Button_over.png"),
                  QImage(folder + "Quad-blanc_buttons/Quad-blanc-Button_over.png")};
        m.border = QImage(folder + "Boarder_over_button_preset.png");
        m.tile_normal = QImage(folder + "Tile_BG_normal.png");
        m.tile_selected = QImage(folder + "Tile_BG_selected.png");
        return m;
    }();
    return im;
}

constexpr QPoint miniature_origin{29, 21};
constexpr int mini_slot = 16;

} // namespace

btn_preset_sub_fm_c::btn_preset_sub_fm_c(btn_preset_fm_c* panel, const btn_layout_rec& record,
                                         QWidget* parent)
    : QWidget(parent)
    , m_panel(panel)
    , m_record(record) {
    m_ui.setupUi(this);
    m_ui.btn_del->hide();
    m_ui.editor_name->installEventFilter(this);
    m_ui.editor_name->document()->setDocumentMargin(2);
    connect(m_ui.editor_name, &QTextEdit::textChanged, this, &btn_preset_sub_fm_c::name_edited);
    connect(m_ui.btn_del, &QPushButton::clicked, this, &btn_preset_sub_fm_c::request_delete);
    set_widget_font(m_ui.editor_name, QStringLiteral("EurostileMed"), 12, 0, false);
    show_name();
    bind(module_ctrl_center());
}

QString btn_preset_sub_fm_c::name() const {
    return QString::fromUtf8(m_record.name());
}

void btn_preset_sub_fm_c::show_name() {
    const QString text = name();
    m_shown_name = text;
    if (m_ui.editor_name->toPlainText() == text)
        return;
    m_showing = true;
    m_ui.editor_name->setPlainText(text);
    m_ui.editor_name->setAlignment(Qt::AlignHCenter);
    m_showing = false;
    fit_name();
}

void btn_preset_sub_fm_c::fit_name() {
    QTextEdit* editor = m_ui.editor_name;
    const int room = editor->viewport()->width() - 2 * int(editor->document()->documentMargin());
    QFont font = editor->font();
    int size = font.pixelSize() > 0 ? font.pixelSize() : 12;
    QFont fitted = font;
    while (size > 9 && QFontMetrics(fitted).horizontalAdvance(editor->toPlainText()) > room)
        fitted.setPixelSize(--size);
    editor->document()->setDefaultFont(fitted);
}

void btn_preset_sub_fm_c::set_record(const btn_layout_rec& record) {
    m_record = record;
    show_name();
    QWidget::update();
}

void btn_preset_sub_fm_c::select() {
    m_ui.editor_name->clearFocus();
    show_delete_button(false);
    m_selected = true;
    if (m_panel)
        m_panel->select(this);
    QWidget::update();
}

void btn_preset_sub_fm_c::set_selected(bool on) {
    m_selected = on;
    QWidget::update();
}

void btn_preset_sub_fm_c::set_hover(bool on) {
    m_hover = on;
    QWidget::update();
}

void btn_preset_sub_fm_c::show_delete_button(bool on) {
    m_ui.btn_del->setVisible(on);
}

void btn_preset_sub_fm_c::request_delete() {
    if (m_panel)
        m_panel->request_delete(this);
}

void btn_preset_sub_fm_c::name_edited() {
    if (m_showing || !isVisible())
        return;
    const QString text = m_ui.editor_name->toPlainText();
    if (text.toUtf8().size() <= name_bytes) {
        m_shown_name = text;
        rename(text);
        fit_name();
        return;
    }
    // Too long for the record: the keystroke is taken back (a pasted text is cut to fit).
    QTextCursor cursor = m_ui.editor_name->textCursor();
    const int position = cursor.position();
    const bool one_key = text.size() - m_shown_name.size() <= 2;
    const QString kept = one_key ? m_shown_name : QString::fromUtf8(utf8_prefix(text));
    m_showing = true;
    m_ui.editor_name->setPlainText(kept);
    m_ui.editor_name->setAlignment(Qt::AlignHCenter);
    m_showing = false;
    cursor = m_ui.editor_name->textCursor();
    cursor.setPosition(
        qMin(one_key ? position - (text.size() - kept.size()) : kept.size(), kept.size()));
    m_ui.editor_name->setTextCursor(cursor);
    if (!one_key) {
        m_shown_name = kept;
        rename(kept);
    }
}

void btn_preset_sub_fm_c::rename(const QString& text) {
    btn_layout_rec r = m_record;
    r.set_name(utf8_prefix(text));
    if (m_panel)
        m_panel->update_preset(this, r);
    else
        set_record(r);
}

bool btn_preset_sub_fm_c::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui.editor_name) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_ui.editor_name->clearFocus();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && !m_hover) {
            m_ui.editor_name->setEnabled(false);
            m_ui.editor_name->moveCursor(QTextCursor::Start);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void btn_preset_sub_fm_c::enterEvent(QEvent*) {
    if (m_panel)
        m_panel->tile_hovered(this, true);
}

void btn_preset_sub_fm_c::leaveEvent(QEvent*) {
    if (m_panel)
        m_panel->tile_hovered(this, false);
}

void btn_preset_sub_fm_c::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_panel)
        m_panel->tile_pressed(this, event->pos());
}

void btn_preset_sub_fm_c::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && m_panel)
        m_panel->tile_moved(this);
}

void btn_preset_sub_fm_c::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (m_panel)
        m_panel->tile_released();
    select();
}

void btn_preset_sub_fm_c::paint_miniature(QPainter& p, const QPoint& origin, uint32_t layout,
                                          bool over) {
    const std::array<QImage, 4>& im = over ? images().over : images().normal;
    // Stored values the editor cannot show are drawn as the editor shows them.
    const uint32_t v = normalized(layout);
    for (int r = 1; r <= row_count; ++r) {
        const int y = origin.y() + mini_slot * (r - 1);
        const int first = 4 * r - 3;
        bool any = false;
        for (int s = first; s < first + 4; ++s)
            any = any || fitted(v, s);
        if (!any) {
            p.drawImage(origin.x(), y, im[3]);
            continue;
        }
        for (int s = first; s < first + 4; s += 2) {
            const int x = origin.x() + mini_slot * (s - first);
            if (is_double(v, pair_of(s)) && fitted(v, s) && fitted(v, s + 1)) {
                p.drawImage(x, y, im[1]);
                continue;
            }
            p.drawImage(x, y, im[fitted(v, s) ? 0 : 2]);
            p.drawImage(x + mini_slot, y, im[fitted(v, s + 1) ? 0 : 2]);
        }
    }
}

void btn_preset_sub_fm_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_selected ? images().tile_selected : images().tile_normal);
    paint_miniature(p, miniature_origin, m_record.layout_value(), m_selected || m_hover);
    if (m_hover)
        p.drawImage(0, 0, images().border);
}
