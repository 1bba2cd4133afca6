#include "buttons/box_widgets.h"

#include "common/log.h"

#include <QEvent>
#include <QHelpEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmapCache>
#include <QSet>
#include <QStyle>
#include <QToolTip>

namespace {

// The boxes' frame.
const QColor frame_top(0x1d, 0x1f, 0x24);
const QColor frame_bottom(0x17, 0x19, 0x1d);
constexpr int frame_radius = 8;

// A list row: one pixel of border, a small radius, the text 7 pixels in from the left and
// 20 pixels of room on the right, where the arrow sits at the end of the text's room.
constexpr int row_radius = 2;
constexpr int row_padding_left = 7;
constexpr int row_padding_right = 20;
constexpr int row_arrow_gap = 3;
const QSize row_arrow_size(12, 8);
const QString arrow_folder = QStringLiteral(":/graphics/button_assignment/Dropdown/");

struct row_colours_t {
    QColor text;
    QColor background;
    QColor border;
    const char* arrow; // null: no arrow
};

const row_colours_t& row_colours(row_button_c::state s) {
    static const row_colours_t table[] = {
        {QColor(0xd6, 0xd8, 0xda), QColor(0x1b, 0x1e, 0x21), QColor(0x30, 0x35, 0x3a),
         "arrow_normal.png"},
        {QColor(0xd6, 0xd8, 0xda), QColor(0x1b, 0x1e, 0x21), QColor(0x65, 0xc3, 0xf7),
         "arrow_over.png"},
        {QColor(0x9a, 0x9e, 0xa2), QColor(0x16, 0x18, 0x1a), QColor(0x30, 0x35, 0x3a), nullptr},
        {QColor(0x55, 0x59, 0x5d), QColor(0x14, 0x16, 0x18), QColor(0x24, 0x28, 0x2c),
         "arrow_disabled.png"},
        {QColor(0x55, 0x59, 0x5d), QColor(0x14, 0x16, 0x18), QColor(0x24, 0x28, 0x2c), nullptr},
    };
    return table[int(s)];
}

// QFont::key() spells out every attribute of a font; the boxes draw with a handful of fonts,
// whose keys are kept.
const QString& font_key(const QFont& font) {
    struct entry {
        QFont font;
        QString key;
    };
    static entry kept[8];
    static int next = 0;
    for (const entry& e : kept) {
        if (!e.key.isEmpty() && e.font == font)
            return e.key;
    }
    entry& e = kept[next];
    next = (next + 1) % 8;
    e.font = font;
    e.key = font.key();
    return e.key;
}

QSize logical_size(const QPixmap& pixmap) {
    // A picture that failed to load has no ratio to divide by.
    const qreal ratio = pixmap.devicePixelRatioF();
    if (pixmap.isNull() || ratio <= 0)
        return QSize();
    return (QSizeF(pixmap.size()) / ratio).toSize();
}

// The frame as a strip of both corners' width: the box stretches its middle column.
QPixmap frame_strip(int height, qreal ratio, const QColor& border) {
    const QString key = box_look::cache_key(QLatin1String("quil_box_frame/"),
                                            {height, qRound(ratio * 100), qint64(border.rgba())});
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    const int width = 2 * frame_radius + 1;
    pixmap = QPixmap(QSize(width, height) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, frame_top);
    fill.setColorAt(1, frame_bottom);
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0, 0, width, height).adjusted(0.5, 0.5, -0.5, -0.5), frame_radius,
                      frame_radius);
    p.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

} // namespace

QPixmap box_look::source(const QString& path) {
    // QPixmap::load keeps what it decoded in QPixmapCache itself; a second entry here would
    // only count the same picture twice against the cache's limit.
    QPixmap pixmap;
    if (!pixmap.load(path)) {
        static QSet<QString> logged;
        if (!logged.contains(path)) {
            logged.insert(path);
            write_log(QStringLiteral("No picture %1; its widget is drawn without it.").arg(path));
        }
        return QPixmap();
    }
    return pixmap;
}

QString box_look::cache_key(QLatin1String kind, std::initializer_list<qint64> numbers,
                            const QString& text) {
    QString key;
    key.reserve(kind.size() + 2 * int(numbers.size()) + text.size());
    key.append(kind);
    for (qint64 n : numbers)
        key.append(QChar(ushort(n >> 16))).append(QChar(ushort(n)));
    return key.append(text);
}

QPixmap box_look::picture(const QString& path, const QSize& size, qreal ratio) {
    if (path.isEmpty() || size.isEmpty())
        return QPixmap();
    const QString key = box_look::cache_key(
        QLatin1String("quil_box/"), {size.width(), size.height(), qRound(ratio * 100)}, path);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    const QPixmap source = box_look::source(path);
    if (source.isNull())
        return QPixmap();
    const QSize device = (QSizeF(size) * ratio).toSize();
    pixmap = source.size() == device
                 ? source
                 : source.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(ratio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QPixmap box_look::text_picture(const QString& text, const QFont& font, const QColor& colour,
                               const QSize& size, int flags, qreal ratio) {
    if (text.isEmpty() || size.isEmpty())
        return QPixmap();
    const QString key = box_look::cache_key(
        QLatin1String("quil_text/"),
        {size.width(), size.height(), qint64(colour.rgba()), flags, qRound(ratio * 100)},
        font_key(font) + QLatin1Char('/') + text);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRect(QPoint(), size), flags, text);
    p.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void box_look::paint_frame(QPainter& painter, const QRect& rect, qreal ratio,
                           const QColor& border) {
    if (rect.width() < 2 * frame_radius + 1 || rect.height() < 2 * frame_radius + 1)
        return;
    // The corners come from the cached strip; between them every row is one colour, which
    // a gradient fill paints as plain spans (stretching the strip's middle column would go
    // through the painter's scaling path, several times slower).
    const QPixmap strip = frame_strip(rect.height(), ratio, border);
    const qreal h = rect.height() * ratio;
    const qreal side = frame_radius * ratio;
    painter.drawPixmap(QRectF(rect.x(), rect.y(), frame_radius, rect.height()), strip,
                       QRectF(0, 0, side, h));
    painter.drawPixmap(
        QRectF(rect.x() + rect.width() - frame_radius, rect.y(), frame_radius, rect.height()),
        strip, QRectF(side + ratio, 0, side, h));
    const int left = rect.x() + frame_radius;
    const int width = rect.width() - 2 * frame_radius;
    QLinearGradient fill(0, rect.y(), 0, rect.y() + rect.height());
    fill.setColorAt(0, frame_top);
    fill.setColorAt(1, frame_bottom);
    painter.fillRect(QRect(left, rect.y() + 1, width, rect.height() - 2), fill);
    painter.fillRect(QRect(left, rect.y(), width, 1), border);
    painter.fillRect(QRect(left, rect.y() + rect.height() - 1, width, 1), border);
}

// ------------------------------------------------------------------ colour_label_c

colour_label_c::colour_label_c(QWidget* parent)
    : QLabel(parent) {}

colour_label_c::colour_label_c(const QString& text, QWidget* parent)
    : QLabel(text, parent) {}

void colour_label_c::set_own_font(const QFont& font) {
    m_own_font = font;
    m_has_own_font = true;
    updateGeometry();
    update();
}

QFont colour_label_c::drawn_font() const {
    return m_has_own_font ? m_own_font : font();
}

int colour_label_c::text_flags() const {
    int flags = int(QStyle::visualAlignment(layoutDirection(), alignment()));
    if (wordWrap())
        flags |= Qt::TextWordWrap;
    return flags;
}

void colour_label_c::set_colours(const QColor& normal, const QColor& disabled) {
    m_normal = normal;
    m_disabled = disabled;
    update();
}

void colour_label_c::paintEvent(QPaintEvent*) {
    if (text().isEmpty())
        return;
    const QRect room = contentsRect();
    QPainter p(this);
    p.drawPixmap(room.topLeft(),
                 box_look::text_picture(text(), drawn_font(), isEnabled() ? m_normal : m_disabled,
                                        room.size(), text_flags(), devicePixelRatioF()));
}

QSize colour_label_c::sizeHint() const {
    // Plain text: one line's advance and height, or the lines the text wraps into, measured
    // in the font it is drawn with, without the text document QLabel may build.
    if (wordWrap() && !m_has_own_font)
        return QLabel::sizeHint();
    const QMargins m = contentsMargins();
    const QFontMetrics metrics(drawn_font());
    QSize text_size(metrics.horizontalAdvance(text()), metrics.height());
    if (wordWrap())
        text_size =
            metrics.boundingRect(QRect(0, 0, wrap_width, 0xffff), text_flags(), text()).size();
    return text_size +
           QSize(m.left() + m.right() + 2 * margin(), m.top() + m.bottom() + 2 * margin());
}

QSize colour_label_c::minimumSizeHint() const {
    if (wordWrap() && !m_has_own_font)
        return QLabel::minimumSizeHint();
    return wordWrap() ? QSize(0, sizeHint().height()) : sizeHint();
}

int colour_label_c::heightForWidth(int width) const {
    if (!wordWrap() || !m_has_own_font)
        return QLabel::heightForWidth(width);
    const QMargins m = contentsMargins();
    const int room = width - m.left() - m.right() - 2 * margin();
    return QFontMetrics(drawn_font())
               .boundingRect(QRect(0, 0, qMax(1, room), 0xffff), text_flags(), text())
               .height() +
           m.top() + m.bottom() + 2 * margin();
}

// ------------------------------------------------------------------ picture_widget_c

picture_widget_c::picture_widget_c(QWidget* parent)
    : QWidget(parent) {}

void picture_widget_c::set_pictures(const QString& normal, const QString& lit, placement where) {
    m_normal = normal;
    m_lit_picture = lit;
    m_placement = where;
    update();
}

void picture_widget_c::set_lit_by_hover(bool on) {
    m_lit_by_hover = on;
}

void picture_widget_c::set_lit(bool on) {
    if (m_lit == on)
        return;
    m_lit = on;
    update();
}

const QString& picture_widget_c::shown_picture() const {
    const bool lit = m_lit || (m_lit_by_hover && underMouse());
    return lit && !m_lit_picture.isEmpty() ? m_lit_picture : m_normal;
}

bool picture_widget_c::event(QEvent* event) {
    if (m_lit_by_hover && (event->type() == QEvent::Enter || event->type() == QEvent::Leave))
        update();
    return QWidget::event(event);
}

void picture_widget_c::paintEvent(QPaintEvent*) {
    const QString& path = shown_picture();
    if (path.isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    QPainter p(this);
    if (m_placement == placement::stretch) {
        p.drawPixmap(rect(), box_look::picture(path, size(), ratio));
        return;
    }
    const QSize natural = logical_size(box_look::source(path));
    if (natural.isEmpty())
        return; // missing: already logged where it was loaded
    const QPixmap pixmap = box_look::picture(path, natural, ratio);
    const QPoint at = m_placement == placement::centre ? QPoint((width() - natural.width()) / 2,
                                                                (height() - natural.height()) / 2)
                                                       : QPoint(0, 0);
    p.drawPixmap(at, pixmap);
}

// ------------------------------------------------------------------ picture_button_c

picture_button_c::picture_button_c(QWidget* parent)
    : QPushButton(parent) {
    setAttribute(Qt::WA_Hover);
}

void picture_button_c::set_pictures(const QString& normal, const QString& hover,
                                    const QString& disabled) {
    m_normal = normal;
    m_hover = hover;
    m_disabled = disabled;
    update();
}

const QString& picture_button_c::shown_picture() const {
    if (!isEnabled())
        return m_disabled.isEmpty() ? m_normal : m_disabled;
    if (underMouse() && !m_hover.isEmpty())
        return m_hover;
    return m_normal;
}

void picture_button_c::paintEvent(QPaintEvent*) {
    const QString& path = shown_picture();
    if (path.isEmpty())
        return;
    QPainter p(this);
    p.drawPixmap(rect(), box_look::picture(path, size(), devicePixelRatioF()));
}

// ------------------------------------------------------------------ picture_check_box_c

picture_check_box_c::picture_check_box_c(QWidget* parent)
    : QCheckBox(parent) {
    setAttribute(Qt::WA_Hover);
}

void picture_check_box_c::set_look(const look_t& look) {
    m_look = look;
    updateGeometry();
    update();
}

const QString& picture_check_box_c::shown_picture() const {
    const bool hover = underMouse();
    if (!isEnabled() && !m_look.disabled.isEmpty())
        return m_look.disabled;
    if (isChecked()) {
        if (hover && isEnabled() && !m_look.on_hover.isEmpty())
            return m_look.on_hover;
        return m_look.on;
    }
    if (hover && isEnabled() && !m_look.off_hover.isEmpty())
        return m_look.off_hover;
    return m_look.off;
}

QRect picture_check_box_c::indicator_rect() const {
    return QRect(QPoint(0, (height() - m_look.indicator.height()) / 2), m_look.indicator);
}

QSize picture_check_box_c::sizeHint() const {
    int width = m_look.indicator.width();
    if (!text().isEmpty())
        width += m_look.spacing + fontMetrics().size(Qt::TextShowMnemonic, text()).width();
    return QSize(width, qMax(m_look.indicator.height(), fontMetrics().height()));
}

QSize picture_check_box_c::minimumSizeHint() const {
    return sizeHint();
}

bool picture_check_box_c::hitButton(const QPoint& pos) const {
    // The indicator and its text take the click, as with any check box.
    QRect hit = indicator_rect();
    if (!text().isEmpty())
        hit.setRight(hit.right() + m_look.spacing +
                     fontMetrics().size(Qt::TextShowMnemonic, text()).width());
    hit.setTop(0);
    hit.setBottom(height() - 1);
    return hit.contains(pos);
}

void picture_check_box_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect indicator = indicator_rect();
    const QString& path = shown_picture();
    if (!path.isEmpty())
        p.drawPixmap(indicator, box_look::picture(path, indicator.size(), devicePixelRatioF()));
    if (text().isEmpty())
        return;
    p.setPen(isEnabled() ? m_look.text : m_look.text_disabled);
    const int left = indicator.right() + 1 + m_look.spacing;
    p.drawText(QRect(left, 0, width() - left, height()),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text());
}

// ------------------------------------------------------------------ row_button_c

row_button_c::row_button_c(QWidget* parent)
    : QPushButton(parent) {
    setAttribute(Qt::WA_Hover);
    m_text.set_mode(Qt::ElideRight);
}

void row_button_c::set_assignable(bool on) {
    if (m_assignable == on)
        return;
    m_assignable = on;
    update();
}

row_button_c::state row_button_c::current_state() const {
    if (!isEnabled())
        return m_assignable ? state::disabled : state::disabled_fixed;
    if (!m_assignable)
        return state::fixed;
    return underMouse() ? state::hover : state::normal;
}

QRect row_button_c::arrow_rect() const {
    if (!m_assignable)
        return QRect();
    const QRect content = rect().adjusted(1 + row_padding_left, 1, -1 - row_padding_right, -1);
    return QRect(QPoint(content.right() + 1 - row_arrow_size.width(),
                        content.top() + (content.height() - row_arrow_size.height()) / 2),
                 row_arrow_size);
}

QRect row_button_c::text_rect() const {
    QRect room = rect().adjusted(1 + row_padding_left, 1, -1 - row_padding_right, -1);
    const QRect arrow = arrow_rect();
    if (!arrow.isEmpty())
        room.setRight(arrow.left() - 1 - row_arrow_gap);
    return room;
}

QString row_button_c::shown_text() {
    const QRect room = text_rect();
    m_text.update(room, text(), font(), room.width(), 0, false);
    return m_text.text();
}

bool row_button_c::event(QEvent* event) {
    // A shortened row tells its whole text when the pointer rests on it, unless the list
    // gave the row a tip of its own.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        if (shown_text() != text()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
            return true;
        }
    }
    return QPushButton::event(event);
}

void row_button_c::paintEvent(QPaintEvent*) {
    const state s = current_state();
    const row_colours_t& c = row_colours(s);
    const qreal ratio = devicePixelRatioF();
    // The field with its border and arrow is the same for every row of a size and state.
    const QString key = box_look::cache_key(QLatin1String("quil_row/"),
                                            {int(s), width(), height(), qRound(ratio * 100)});
    QPixmap field;
    if (!QPixmapCache::find(key, &field)) {
        field = QPixmap(size() * ratio);
        field.setDevicePixelRatio(ratio);
        field.fill(Qt::transparent);
        QPainter f(&field);
        f.setRenderHint(QPainter::Antialiasing);
        f.setPen(QPen(c.border, 1));
        f.setBrush(c.background);
        f.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), row_radius, row_radius);
        if (c.arrow) {
            const QRect arrow = arrow_rect();
            f.drawPixmap(arrow, box_look::picture(arrow_folder + QLatin1String(c.arrow),
                                                  arrow.size(), ratio));
        }
        f.end();
        QPixmapCache::insert(key, field);
    }
    QPainter p(this);
    p.drawPixmap(0, 0, field);
    const QString shown = shown_text();
    if (shown.isEmpty())
        return;
    const QRect room = text_rect();
    p.drawPixmap(room.topLeft(), box_look::text_picture(shown, font(), c.text, room.size(),
                                                        Qt::AlignLeft | Qt::AlignVCenter, ratio));
}

// ------------------------------------------------------------------ fill_widget_c

fill_widget_c::fill_widget_c(QWidget* parent)
    : QWidget(parent) {}

void fill_widget_c::set_fill(const QColor& fill) {
    m_fill = fill;
    update();
}

void fill_widget_c::set_bottom_line(const QColor& line) {
    m_bottom_line = line;
    update();
}

void fill_widget_c::set_frame(const QColor& border) {
    m_frame = border;
    update();
}

void fill_widget_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_fill.isValid())
        p.fillRect(rect(), m_fill);
    if (m_frame.isValid())
        box_look::paint_frame(p, rect(), devicePixelRatioF(), m_frame);
    if (m_bottom_line.isValid())
        p.fillRect(QRect(0, height() - 1, width(), 1), m_bottom_line);
}
