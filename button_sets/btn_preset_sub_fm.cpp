#include "button_sets/btn_preset_sub_fm.h"

#include "button_sets/btn_preset_fm.h"
#include "button_sets/side_layout.h"
#include "module/module.h"

#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTextEdit>

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

// The name: its editor's place on the tile, the editor document's margin, the colour.
constexpr QRect name_rect{4, 72, 112, 24};
constexpr int name_margin = 2;
constexpr int smallest_name_pixels = 9;
const QColor name_colour{0xbc, 0xbc, 0xbc};
const QString editor_style =
    QStringLiteral("QTextEdit#editor_name { background: transparent; border: none; color: #bcbcbc; "
                   "selection-background-color: #3d7ea3; }"
                   "QTextEdit#editor_name:focus { background: rgba(0, 0, 0, 90); color: #f0f0f0; }"
                   "QTextEdit#editor_name:disabled { color: #bcbcbc; }");

// The largest pixel size (from the base font's down to 9) at which the name fits the
// editor's line, and whether it fits at all. Every tile asks on every opening: the answers
// are kept.
struct fitted_name_t {
    QFont font;
    bool fits = true;
};

fitted_name_t name_font_for(const QFont& base, const QString& name) {
    const int room = name_rect.width() - 2 * name_margin;
    const int start = base.pixelSize() > 0 ? base.pixelSize() : 12;
    fitted_name_t fitted{base, true};
    fitted.font.setPixelSize(start);
    // Pixel size, and the sign for "does not fit even so".
    static QHash<QString, int> kept;
    const QString key = base.key() + QLatin1Char('\n') + name;
    auto it = kept.constFind(key);
    if (it == kept.constEnd()) {
        int size = start;
        QFont probe = fitted.font;
        bool fits = false;
        for (;;) {
            fits = QFontMetrics(probe).horizontalAdvance(name) <= room;
            if (fits || size <= smallest_name_pixels)
                break;
            probe.setPixelSize(--size);
        }
        if (kept.size() >= 512)
            kept.clear();
        it = kept.insert(key, fits ? size : -size);
    }
    fitted.font.setPixelSize(qAbs(*it));
    fitted.fits = *it > 0;
    return fitted;
}

// The tile's delete button, painted: a ring with a cross, lit while the pointer is on it.
class delete_button_c final : public QPushButton {
public:
    explicit delete_button_c(QWidget* parent)
        : QPushButton(QStringLiteral("\u00d7"), parent) {
        setObjectName(QStringLiteral("btn_del"));
        setGeometry(96, 6, 17, 17);
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::NoFocus);
        QFont f = parent->font();
        f.setPixelSize(12);
        f.setBold(true);
        setFont(f);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor edge = m_lit ? QColor(0x65, 0xc3, 0xf7) : QColor(0x4a, 0x4d, 0x52);
        const QColor ink = m_lit ? QColor(0x65, 0xc3, 0xf7) : QColor(0x9a, 0x9e, 0xa5);
        p.setPen(QPen(edge, 1));
        p.setBrush(QColor(0x1a, 0x1c, 0x20));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(ink);
        // One pixel of border round the text, two more under it.
        p.drawText(rect().adjusted(1, 1, -1, -3), Qt::AlignCenter, text());
    }
    void enterEvent(QEvent* event) override {
        m_lit = true;
        QPushButton::enterEvent(event);
        update();
    }
    void leaveEvent(QEvent* event) override {
        m_lit = false;
        QPushButton::leaveEvent(event);
        update();
    }

private:
    bool m_lit = false;
};

} // namespace

btn_preset_sub_fm_c::btn_preset_sub_fm_c(btn_preset_fm_c* panel, const btn_layout_rec& record,
                                         QWidget* parent)
    : QWidget(parent)
    , m_panel(panel)
    , m_record(record) {
    m_ui.setupUi(this);
    // The editor takes the tile's font when it is made; the painted name uses it too.
    set_widget_font(this, QStringLiteral("EurostileMed"), 12, 0, false);
    m_shown_name = name();
    // Binding applies the language's fonts, and with them fits the name; without a
    // language source the name is fitted in the inherited font.
    bind(module_ctrl_center());
    if (m_name_font.pixelSize() <= 0)
        fit_name();
}

QTextEdit* btn_preset_sub_fm_c::name_editor() {
    if (m_editor)
        return m_editor;
    auto* editor = new QTextEdit(this);
    editor->setObjectName(QStringLiteral("editor_name"));
    editor->setGeometry(name_rect);
    editor->setEnabled(false);
    editor->setFrameShape(QFrame::NoFrame);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setLineWrapMode(QTextEdit::NoWrap);
    editor->setAcceptRichText(false);
    editor->setTabChangesFocus(true);
    editor->setStyleSheet(editor_style);
    editor->document()->setDocumentMargin(name_margin);
    editor->installEventFilter(this);
    m_editor = editor;
    m_showing = true;
    editor->setPlainText(m_shown_name);
    editor->setAlignment(Qt::AlignHCenter);
    editor->document()->setDefaultFont(m_name_font);
    m_showing = false;
    connect(editor, &QTextEdit::textChanged, this, &btn_preset_sub_fm_c::name_edited);
    editor->show();
    QWidget::update();
    return editor;
}

QPushButton* btn_preset_sub_fm_c::delete_button() {
    if (!m_del) {
        m_del = new delete_button_c(this);
        m_del->hide();
        connect(m_del, &QPushButton::clicked, this, &btn_preset_sub_fm_c::request_delete);
    }
    return m_del;
}

QString btn_preset_sub_fm_c::name() const {
    return QString::fromUtf8(m_record.name());
}

void btn_preset_sub_fm_c::show_name() {
    const QString text = name();
    const bool changed = m_shown_name != text;
    m_shown_name = text;
    if (m_editor && m_editor->toPlainText() != text) {
        m_showing = true;
        m_editor->setPlainText(text);
        m_editor->setAlignment(Qt::AlignHCenter);
        m_showing = false;
    }
    if (changed)
        fit_name();
}

void btn_preset_sub_fm_c::fit_name() {
    const fitted_name_t fitted = name_font_for(font(), m_shown_name);
    m_name_font = fitted.font;
    m_name_fits = fitted.fits;
    if (m_editor)
        m_editor->document()->setDefaultFont(m_name_font);
    QWidget::update();
}

void btn_preset_sub_fm_c::set_record(const btn_layout_rec& record) {
    m_record = record;
    show_name();
    QWidget::update();
}

void btn_preset_sub_fm_c::select() {
    if (m_editor)
        m_editor->clearFocus();
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
    if (on)
        delete_button()->show();
    else if (m_del)
        m_del->hide();
}

void btn_preset_sub_fm_c::request_delete() {
    if (m_panel)
        m_panel->request_delete(this);
}

void btn_preset_sub_fm_c::name_edited() {
    if (m_showing || !isVisible() || !m_editor)
        return;
    const QString text = m_editor->toPlainText();
    if (text.toUtf8().size() <= name_bytes) {
        m_shown_name = text;
        rename(text);
        fit_name();
        return;
    }
    // Too long for the record: the keystroke is taken back (a pasted text is cut to fit).
    QTextCursor cursor = m_editor->textCursor();
    const int position = cursor.position();
    const bool one_key = text.size() - m_shown_name.size() <= 2;
    const QString kept = one_key ? m_shown_name : QString::fromUtf8(utf8_prefix(text));
    m_showing = true;
    m_editor->setPlainText(kept);
    m_editor->setAlignment(Qt::AlignHCenter);
    m_showing = false;
    cursor = m_editor->textCursor();
    cursor.setPosition(
        qMin(one_key ? position - (text.size() - kept.size()) : kept.size(), kept.size()));
    m_editor->setTextCursor(cursor);
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
    if (m_editor && watched == m_editor) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_editor->clearFocus();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && !m_hover) {
            m_editor->setEnabled(false);
            m_editor->moveCursor(QTextCursor::Start);
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
    if (!m_editor)
        paint_name(p);
}

void btn_preset_sub_fm_c::paint_name(QPainter& p) {
    // Where the editor's document puts its one line: centred, or from the left edge when
    // even the smallest size does not fit.
    p.setFont(m_name_font);
    p.setPen(name_colour);
    const QRectF room =
        QRectF(name_rect).adjusted(name_margin, name_margin, -name_margin, -name_margin);
    // The editor cuts a long line at its own edges, not at the document's margins.
    p.setClipRect(name_rect);
    p.drawText(room,
               (m_name_fits ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop |
                   Qt::TextSingleLine | Qt::TextDontClip,
               m_shown_name);
}
