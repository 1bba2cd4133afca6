#include "host/components/ctrl_box.h"

#include "host/components/component_context.h"
#include "host/components/component_style.h"
#include "host/components/component_texts.h"
#include "module/page_interfaces.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmapCache>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int k_icon_size = 24;
// The frame's border and the room between it and the title bar or body; the room
// around the form inside the body.
constexpr int k_border = 1;
constexpr int k_edge = 2 * k_border;
constexpr QMargins k_body_margins(10, 6, 10, 8);
constexpr int k_corner_radius = 8;
const QColor k_fill_top(0x1d, 0x1f, 0x24);
const QColor k_fill_bottom(0x17, 0x19, 0x1d);
const QColor k_border_colour(0x2a, 0x2e, 0x35);
const QColor k_divider_colour(0x25, 0x29, 0x2f);
const QColor k_title_colour(0xe4, 0xe6, 0xe9);
const QColor k_button_hover(0x27, 0x2b, 0x31);
const QColor k_button_pressed(0x1f, 0x22, 0x27);

// The box paints itself rather than through a style sheet: a sheet is parsed and
// matched for every widget of every box on every page opening.

// The title in the box's own colour, whatever a window's style sheet gives labels.
class box_title_c final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(k_title_colour);
        p.drawText(contentsRect(), int(alignment()), text());
    }
};

// A flat title-bar button: its icon, and a rounded backdrop while hovered or pressed.
class box_tool_button_c final : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const bool hover = isEnabled() && underMouse();
        if (isDown() || hover) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(isDown() ? k_button_pressed : k_button_hover);
            p.drawRoundedRect(QRectF(rect()), 4, 4);
        }
        const QIcon::Mode mode = !isEnabled() ? QIcon::Disabled
                                 : hover      ? QIcon::Active
                                              : QIcon::Normal;
        QRect place(QPoint(0, 0), iconSize());
        place.moveCenter(rect().center());
        icon().paint(&p, place, Qt::AlignCenter, mode, isChecked() ? QIcon::On : QIcon::Off);
    }
};

QToolButton* make_tool_button(const QString& object_name, const QIcon& icon, QWidget* parent) {
    auto* button = new box_tool_button_c(parent);
    button->setObjectName(object_name);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(26, 26);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

// A child shown while its form was being built is polished then, before the form got
// its style sheet; under an inherited sheet Qt does not polish it again when the form
// gets one, so it would keep the look of the window's sheet. Only those children are
// polished again: the rest of the form is polished once, when it is shown.
void restyle_early_children(QWidget* form) {
    if (form->testAttribute(Qt::WA_WState_Polished) || form->styleSheet().isEmpty())
        return;
    for (QWidget* child : form->findChildren<QWidget*>()) {
        if (child->testAttribute(Qt::WA_WState_Polished)) {
            child->style()->unpolish(child);
            child->style()->polish(child);
        }
    }
}

} // namespace

// ---------------------------------------------------------------------------
// help_popover_c

help_popover_c::help_popover_c(QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint) {
    setObjectName(QStringLiteral("wg_box_help_popover"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(component_style::popover_style_sheet());
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* card = new QFrame(this);
    card->setObjectName(QStringLiteral("wg_help_card"));
    outer->addWidget(card);
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(14, 12, 14, 14);
    column->setSpacing(6);
    m_title = new QLabel(card);
    m_title->setObjectName(QStringLiteral("lb_help_title"));
    m_text = new QLabel(card);
    m_text->setObjectName(QStringLiteral("lb_help_text"));
    m_text->setWordWrap(true);
    column->addWidget(m_title);
    column->addWidget(m_text);
    setFixedWidth(300);
}

void help_popover_c::set_texts(const QString& title, const QString& text) {
    m_title->setText(title);
    m_title->setVisible(!title.isEmpty());
    m_text->setText(text);
    m_text->setVisible(!text.isEmpty());
    adjustSize();
}

QString help_popover_c::title() const {
    return m_title->text();
}

QString help_popover_c::text() const {
    return m_text->text();
}

void help_popover_c::open_at(QWidget* anchor) {
    adjustSize();
    QPoint pos = anchor->mapToGlobal(QPoint(anchor->width() - width(), anchor->height() + 4));
    if (const QScreen* screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        pos.setX(qBound(area.left(), pos.x(), qMax(area.left(), area.right() - width())));
        // No room below: open above the anchor.
        if (pos.y() + height() > area.bottom())
            pos.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - height() - 4);
    }
    move(pos);
    show();
}

// ---------------------------------------------------------------------------
// ctrl_box_frame_c

ctrl_box_frame_c::ctrl_box_frame_c(QWidget* parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("wg_ctrl_box"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(k_edge, k_edge, k_edge, k_edge);
    column->setSpacing(0);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("wg_box_title_bar"));
    bar->setFixedHeight(title_bar_height);
    auto* row = new QHBoxLayout(bar);
    // The bottom pixel is the divider.
    row->setContentsMargins(10, 0, 6, 1);
    row->setSpacing(4);
    m_icon = new QLabel(bar);
    m_icon->setObjectName(QStringLiteral("lb_box_icon"));
    m_icon->setFixedSize(k_icon_size, k_icon_size);
    m_icon->setAlignment(Qt::AlignCenter);
    m_title = new box_title_c(bar);
    m_title->setObjectName(QStringLiteral("lb_box_title"));
    m_title->setTextFormat(Qt::PlainText);
    QFont title_font = m_title->font();
    title_font.setPixelSize(11);
    title_font.setWeight(QFont::Bold);
    title_font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    m_title->setFont(title_font);
    m_help_button =
        make_tool_button(QStringLiteral("btn_box_help"), component_style::help_icon(), bar);
    m_favorite_button = make_tool_button(QStringLiteral("btn_box_favorite"),
                                         component_style::favourite_icon(), bar);
    m_favorite_button->setCheckable(true);
    m_reset_button =
        make_tool_button(QStringLiteral("btn_box_reset"), component_style::reset_icon(), bar);
    row->addWidget(m_icon);
    row->addSpacing(4);
    row->addWidget(m_title, 1);
    row->addWidget(m_help_button);
    row->addWidget(m_favorite_button);
    row->addWidget(m_reset_button);
    column->addWidget(bar);

    m_body = new QWidget(this);
    m_body->setObjectName(QStringLiteral("wg_box_body"));
    auto* body = new QVBoxLayout(m_body);
    body->setContentsMargins(k_body_margins);
    body->setSpacing(0);
    column->addWidget(m_body, 1);

    // clicked: only the user's toggles, never set_favorite().
    connect(m_favorite_button, &QToolButton::clicked, this, &ctrl_box_frame_c::favorite_toggled);
    connect(m_reset_button, &QToolButton::clicked, this, &ctrl_box_frame_c::reset_clicked);
    connect(m_help_button, &QToolButton::clicked, this, &ctrl_box_frame_c::show_help);
}

QMargins ctrl_box_frame_c::form_margins() {
    return QMargins(k_edge, k_edge + title_bar_height, k_edge, k_edge) + k_body_margins;
}

QPixmap ctrl_box_frame_c::background(const QSize& size, qreal ratio) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, k_fill_top);
    fill.setColorAt(1, k_fill_bottom);
    p.setPen(QPen(k_border_colour, k_border));
    p.setBrush(fill);
    const qreal half = k_border / 2.0;
    p.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)).adjusted(half, half, -half, -half),
                      k_corner_radius, k_corner_radius);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(k_divider_colour);
    const int divider = k_edge + title_bar_height - 1;
    p.drawLine(k_edge, divider, size.width() - k_edge - 1, divider);
    p.end();
    return pixmap;
}

void ctrl_box_frame_c::paint_background(QPainter* painter, const QSize& size, qreal ratio) {
    // Every box of a height looks the same but for its width, and each page opening
    // builds its boxes anew: the picture is kept narrow, as its ends (corners, the
    // divider's ends) and a piece of the straight middle, which is alike all along and
    // is laid side by side (unscaled: a stretched column is drawn several times
    // slower). A whole-size picture per box size cost megabytes.
    constexpr int end = k_corner_radius + k_edge + 2;
    constexpr int middle = 128;
    constexpr int narrow = 2 * end + middle;
    const int scale = qRound(ratio);
    if (size.width() < 2 * end + 1 || scale < 1 || !qFuzzyCompare(ratio, qreal(scale))) {
        // Too narrow to cut, or pixels that do not fall on whole device pixels.
        painter->drawPixmap(0, 0, background(size, ratio));
        return;
    }
    const QString key = QStringLiteral("ctrl_box_frame/%1@%2").arg(size.height()).arg(scale);
    QPixmap kept;
    if (!QPixmapCache::find(key, &kept)) {
        kept = background(QSize(narrow, size.height()), scale);
        QPixmapCache::insert(key, kept);
    }
    const int height = size.height();
    const int device_height = height * scale;
    painter->drawPixmap(QRect(0, 0, end, height), kept, QRect(0, 0, end * scale, device_height));
    for (int x = end; x < size.width() - end; x += middle) {
        const int width = qMin(middle, size.width() - end - x);
        painter->drawPixmap(QRect(x, 0, width, height), kept,
                            QRect(end * scale, 0, width * scale, device_height));
    }
    painter->drawPixmap(QRect(size.width() - end, 0, end, height), kept,
                        QRect((narrow - end) * scale, 0, end * scale, device_height));
}

void ctrl_box_frame_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paint_background(&p, size(), devicePixelRatioF());
}

void ctrl_box_frame_c::set_icon(const QPixmap& pixmap) {
    const QSize logical = pixmap.size() / pixmap.devicePixelRatioF();
    if (logical.width() > k_icon_size || logical.height() > k_icon_size) {
        QPixmap scaled = pixmap.scaled(QSize(k_icon_size, k_icon_size) * pixmap.devicePixelRatioF(),
                                       Qt::KeepAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(pixmap.devicePixelRatioF());
        m_icon->setPixmap(scaled);
    } else {
        m_icon->setPixmap(pixmap);
    }
}

void ctrl_box_frame_c::set_title(const QString& text) {
    m_title->setText(text);
}

void ctrl_box_frame_c::set_help(const QString& title, const QString& text) {
    m_help_title = title;
    m_help_text = text;
    m_help_button->setEnabled(!title.isEmpty() || !text.isEmpty());
    if (m_popover)
        m_popover->set_texts(title, text);
}

void ctrl_box_frame_c::set_favorite(bool on) {
    const QSignalBlocker quiet(m_favorite_button);
    m_favorite_button->setChecked(on);
}

void ctrl_box_frame_c::set_tool_tips(const QString& help, const QString& favourite,
                                     const QString& reset) {
    m_help_button->setToolTip(help);
    m_favorite_button->setToolTip(favourite);
    m_reset_button->setToolTip(reset);
}

void ctrl_box_frame_c::set_body(QWidget* form) {
    m_body->layout()->addWidget(form);
    form->show();
}

void ctrl_box_frame_c::show_help() {
    if (m_popover) {
        m_popover->close();
        return;
    }
    m_popover = new help_popover_c(this);
    m_popover->set_texts(m_help_title, m_help_text);
    m_popover->open_at(m_help_button);
}

// ---------------------------------------------------------------------------
// ctrl_box_c

ctrl_box_c::ctrl_box_c(component_context_c* context)
    : m_context(context) {
    if (context)
        connect(context, &component_context_c::language_changed, this, &ctrl_box_c::apply_texts);
}

ctrl_box_c::~ctrl_box_c() {
    take_down();
}

interface_i* ctrl_box_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<ctrl_box_i>::value)
        return static_cast<ctrl_box_i*>(this);
    return nullptr;
}

void ctrl_box_c::release() {
    m_journal.record(QStringLiteral("release"));
    detach();
    if (m_in_user_action > 0) {
        // Released by the control while it handles the user's click on this box.
        m_client = nullptr;
        deleteLater();
        return;
    }
    delete this;
}

void ctrl_box_c::set_client(interface_i* control) {
    m_journal.record(QStringLiteral("set_client"), {control != nullptr});
    m_client = control;
}

void ctrl_box_c::box_reserved_3() {
    m_journal.record(QStringLiteral("box_reserved_3"));
}

void ctrl_box_c::set_icon(const QString& path) {
    m_journal.record(QStringLiteral("set_icon"), {path});
    m_icon_path = path;
    if (m_frame)
        m_frame->set_icon(icon());
}

void ctrl_box_c::set_icon_pixmap(const QPixmap& pixmap) {
    m_icon_pixmap = pixmap;
    if (m_frame)
        m_frame->set_icon(icon());
}

QPixmap ctrl_box_c::icon() const {
    if (!m_icon_path.isEmpty()) {
        const QPixmap image(m_icon_path);
        if (!image.isNull())
            return image;
    }
    if (!m_icon_pixmap.isNull())
        return m_icon_pixmap;
    return component_style::glyph(component_style::glyph_t::generic, k_icon_size);
}

void ctrl_box_c::set_title(const QString& text) {
    m_journal.record(QStringLiteral("set_title"), {text});
    m_title = text;
    if (m_frame)
        m_frame->set_title(text);
}

void ctrl_box_c::set_help(const QString& title, const QString& text) {
    m_journal.record(QStringLiteral("set_help"), {title, text});
    m_help_title = title;
    m_help_text = text;
    if (m_frame)
        m_frame->set_help(title, text);
}

void ctrl_box_c::set_favorite_mark(bool on) {
    m_journal.record(QStringLiteral("set_favorite_mark"), {on});
    m_favorite = on;
    if (m_frame)
        m_frame->set_favorite(on);
}

void ctrl_box_c::box_reserved_8() {
    m_journal.record(QStringLiteral("box_reserved_8"));
}

void ctrl_box_c::box_reserved_9() {
    m_journal.record(QStringLiteral("box_reserved_9"));
}

void ctrl_box_c::box_reserved_10() {
    m_journal.record(QStringLiteral("box_reserved_10"));
}

void ctrl_box_c::set_height(int32_t height) {
    m_journal.record(QStringLiteral("set_height"), {height});
    m_height = qMax(0, height);
    apply_height();
}

void ctrl_box_c::apply_height() {
    if (!m_panel || m_height <= 0)
        return;
    // The page's column layout reads this to size the panel (and so the box).
    m_panel->setProperty("changing_height", m_height);
    if (m_panel->minimumHeight() != m_panel->maximumHeight())
        m_panel->resize(m_panel->width(), m_height);
}

void ctrl_box_c::attach(QWidget* panel, QWidget* form) {
    m_journal.record(QStringLiteral("attach"),
                     {panel ? panel->objectName() : QStringLiteral("null"),
                      form ? form->objectName() : QStringLiteral("null")});
    if (!panel)
        return;
    // A box lives in one panel at a time.
    if (m_frame)
        detach();
    m_panel = panel;
    m_frame = new ctrl_box_frame_c(panel);
    connect(m_frame, &ctrl_box_frame_c::favorite_toggled, this, &ctrl_box_c::user_toggled_favorite);
    connect(m_frame, &ctrl_box_frame_c::reset_clicked, this, &ctrl_box_c::user_reset);
    m_frame->set_icon(icon());
    m_frame->set_title(m_title);
    m_frame->set_help(m_help_title, m_help_text);
    m_frame->set_favorite(m_favorite);
    apply_texts();

    QLayout* layout = panel->layout();
    if (!layout) {
        auto* grid = new QGridLayout(panel);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setSpacing(0);
        m_panel_layout = layout = grid;
    }
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        // The form stays in the panel, laid over the frame's body in the same cell and
        // drawn after it: moving a built form under the frame made Qt restyle all of it,
        // on every opening and again on every closing.
        grid->addWidget(m_frame, 0, 0);
        if (form) {
            m_form = form;
            m_form_home = form->parentWidget();
            if (m_form_home != panel)
                form->setParent(panel);
            auto* cell = new QVBoxLayout;
            cell->setContentsMargins(ctrl_box_frame_c::form_margins());
            cell->setSpacing(0);
            grid->addLayout(cell, 0, 0);
            cell->addWidget(form);
            m_form_cell = cell;
            m_frame->lower();
            restyle_early_children(form);
            form->show();
        }
    } else {
        // A panel with a layout of another kind: the form goes into the frame's body.
        if (form) {
            m_form = form;
            m_form_home = form->parentWidget();
            m_frame->set_body(form);
        }
        layout->addWidget(m_frame);
    }
    apply_height();
    m_frame->show();
}

void ctrl_box_c::detach() {
    m_journal.record(QStringLiteral("detach"));
    take_down();
}

void ctrl_box_c::take_down() {
    if (!m_frame)
        return;
    // The form belongs to the module: it goes back where it came from, hidden,
    // and the module destroys it.
    if (m_form) {
        m_form->hide();
        if (m_form->parentWidget() != m_form_home)
            m_form->setParent(m_form_home);
    }
    delete m_form_cell.data();
    m_form = nullptr;
    m_form_home = nullptr;
    ctrl_box_frame_c* frame = m_frame;
    m_frame = nullptr;
    if (m_in_user_action > 0) {
        // Detached from inside one of the frame's own clicks: let the click end first.
        frame->hide();
        frame->deleteLater();
    } else {
        delete frame;
    }
    // The panel is left as the box found it.
    delete m_panel_layout.data();
    m_panel = nullptr;
}

void ctrl_box_c::apply_texts() {
    if (!m_frame)
        return;
    if (!m_context) {
        m_frame->set_tool_tips(QString(), QString(), QString());
        return;
    }
    m_frame->set_tool_tips(m_context->text(component_text::box_help),
                           m_context->text(component_text::box_favorite),
                           m_context->text(component_text::box_reset));
}

void ctrl_box_c::user_toggled_favorite(bool on) {
    m_favorite = on;
    if (ctrl_funcs_i* control = query<ctrl_funcs_i>(m_client)) {
        // The control may take its box out of the page while it hears of this.
        const QPointer<component_context_c> context = m_context;
        ++m_in_user_action;
        control->set_favorite(on);
        --m_in_user_action;
        if (context)
            context->report_user_change();
    }
}

void ctrl_box_c::user_reset() {
    if (auto* client = query<ctrl_funcs_box_fm_client_i>(m_client)) {
        const QPointer<component_context_c> context = m_context;
        ++m_in_user_action;
        client->reset_requested();
        --m_in_user_action;
        if (context)
            context->report_user_change();
    }
}
