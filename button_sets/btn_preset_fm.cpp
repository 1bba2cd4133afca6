#include "button_sets/btn_preset_fm.h"

#include "button_sets/btn_preset_sub_fm.h"
#include "button_sets/btn_set_owner.h"
#include "button_sets/del_btn_preset_fm.h"
#include "button_sets/drag_payload.h"
#include "button_sets/hand_cursor.h"
#include "button_sets/jigsawparent1.h"
#include "button_sets/side_layout.h"
#include "common/log.h"
#include "common/utilities.h"
#include "kernel/zarek_data.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"

#include <QDateTime>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSet>
#include <QTextEdit>
#include <QTimer>

namespace {

constexpr int32_t title_text = 611;
constexpr int32_t new_name_text = 43;
constexpr int tile_width = 120;
constexpr int strip_margin = 10;
constexpr int fade_width = 10;
const QString scroll_images =
    QStringLiteral(":/graphics/button_assignment/Button-Set-Presets/Vertical-Scroll_bar/");

} // namespace

btn_preset_fm_c::btn_preset_fm_c(btn_set_owner_i* owner, QWidget* parent)
    : QWidget(parent)
    , m_owner(owner) {
    m_ui.setupUi(this);
    const QString pictures = QStringLiteral(":/graphics/button_assignment/Button-Set-Presets/");
    m_ui.wg_slash->set_picture(pictures + QStringLiteral("Slash.png"));
    m_ui.btn_add_set->set_pictures(pictures + QStringLiteral("Add_set_normal.png"),
                                   pictures + QStringLiteral("Add_set_over.png"));
    m_ui.wg_left_fade->set_picture(pictures + QStringLiteral("Fade_left.png"));
    m_ui.wg_right_fade->set_picture(pictures + QStringLiteral("Fade_right.png"));
    // The strip shows the box behind it.
    m_ui.scrollArea->viewport()->setAutoFillBackground(false);
    m_ui.wg_scrollarea->setAutoFillBackground(false);
    m_ui.wg_func_name->installEventFilter(this);
    m_ui.wg_scrollarea->installEventFilter(this);
    m_ui.wg_scrollarea->setAcceptDrops(true);
    QScrollBar* bar = m_ui.scrollArea->horizontalScrollBar();
    bar->installEventFilter(this);
    bar->setSingleStep(40);
    bar->setContextMenuPolicy(Qt::NoContextMenu);
    // The bar's look (a sheet) is given when it first shows: with few presets it never
    // does, and the strip opens without parsing and matching it.
    setMouseTracking(true);
    connect(bar, &QScrollBar::sliderReleased, this, &btn_preset_fm_c::place_fades);
    connect(bar, &QScrollBar::valueChanged, this, &btn_preset_fm_c::place_fades);
    connect(m_ui.btn_add_set, &QPushButton::clicked, this, &btn_preset_fm_c::add_preset);

    set_widget_font(m_ui.lb_func_name, QStringLiteral("EurostileHea"), 15, 0, false);

    m_kernel = owner ? owner->kernel() : nullptr;
    if (jigsawparent1* editor = owner ? owner->editor() : nullptr) {
        m_editor = editor;
        connect_listener(static_cast<listener_mgr_i*>(editor), static_cast<listener_i*>(this));
    }
    if (m_kernel)
        m_kernel->add_kernel_listener(static_cast<listener_i*>(this));
    rebuild();
    bind(module_ctrl_center());
}

btn_preset_fm_c::~btn_preset_fm_c() {
    if (auto* editor = qobject_cast<jigsawparent1*>(m_editor.data()))
        disconnect_listener(static_cast<listener_mgr_i*>(editor), static_cast<listener_i*>(this));
    if (m_kernel)
        m_kernel->remove_kernel_listener(static_cast<listener_i*>(this));
    if (m_popup)
        delete m_popup.data();
}

interface_i* btn_preset_fm_c::query_interface(const GUID& iid) {
    if (iid == iid_btn_jigsaw_listener_i)
        return static_cast<btn_jigsaw_listener_i*>(this);
    if (iid == iid_product_kernel_listener_i)
        return static_cast<product_kernel_listener_i*>(this);
    return form_base_c::query_interface(iid);
}

void btn_preset_fm_c::release() {
    form_base_c::release();
}

void btn_preset_fm_c::manager_closing(listener_mgr_i* manager) {
    if (m_kernel && manager == query<listener_mgr_i>(m_kernel))
        m_kernel = nullptr;
    form_base_c::manager_closing(manager);
}

void btn_preset_fm_c::update() {
    m_ui.lb_func_name->setText(zarek_page_base_c::host_text(title_text));
    if (m_popup)
        m_popup->update();
}

zarek_data_c* btn_preset_fm_c::profile_set() const {
    return m_owner ? m_owner->profile_set() : nullptr;
}

int btn_preset_fm_c::next_name_number() {
    static int counter = 0;
    return ++counter;
}

void btn_preset_fm_c::style_scroll_bar() {
    QScrollBar* bar = m_ui.scrollArea->horizontalScrollBar();
    if (!bar->styleSheet().isEmpty())
        return;
    bar->setStyleSheet(
        QStringLiteral("QScrollBar:horizontal { height: 8px; margin: 0px; border: none; "
                       "border-image: url(%1Vertical_Scroll_bar_BG.png) 0 4 0 4 stretch; }"
                       "QScrollBar::handle:horizontal { min-width: 40px; "
                       "border-image: url(%1Vertical_Scroll_bar_slider.png) 0 4 0 4 stretch; }"
                       "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal "
                       "{ width: 0px; border: none; background: none; }"
                       "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal "
                       "{ background: none; }")
            .arg(scroll_images));
}

// ------------------------------------------------------------ tiles

void btn_preset_fm_c::rebuild() {
    for (btn_preset_sub_fm_c* tile : qAsConst(m_tiles))
        delete tile;
    m_tiles.clear();
    m_pressed_tile = nullptr;
    zarek_data_c* data = profile_set();
    if (!data) {
        lay_out_strip();
        return;
    }
    for (const btn_layout_rec& record : qAsConst(data->saved_layouts())) {
        auto* tile = new btn_preset_sub_fm_c(this, record, m_ui.wg_scrollarea);
        tile->show();
        m_tiles.append(tile);
    }
    const btn_layout_rec& current = data->layout(zarek_page_base_c::current_profile_slot());
    bool marked = false;
    for (btn_preset_sub_fm_c* tile : qAsConst(m_tiles)) {
        const bool match = !marked && tile->record().matches(current) &&
                           tile->record().preset_id() == current.preset_id();
        tile->set_selected(match);
        marked = marked || match;
    }
    log_list_problems();
    lay_out_strip();
}

void btn_preset_fm_c::log_list_problems() {
    QStringList problems;
    QSet<uint16_t> ids;
    for (btn_preset_sub_fm_c* tile : qAsConst(m_tiles)) {
        const btn_layout_rec& r = tile->record();
        if (ids.contains(r.preset_id()))
            problems << QStringLiteral("identifier %1 repeats").arg(r.preset_id());
        ids.insert(r.preset_id());
        if (tile->name().contains(QChar::ReplacementCharacter))
            problems << QStringLiteral("name of preset %1 is not valid UTF-8").arg(r.preset_id());
        side_layout::log_impossible(r.layout_value(),
                                    QStringLiteral("preset %1").arg(r.preset_id()));
    }
    if (m_tiles.size() > side_layout::max_presets)
        problems << QStringLiteral("%1 presets, more than %2")
                        .arg(m_tiles.size())
                        .arg(side_layout::max_presets);
    // The same stored list is rebuilt on every notification: say it once.
    const QString text = problems.join(QStringLiteral("; "));
    if (!text.isEmpty() && text != m_logged_problems)
        write_log(QStringLiteral("Button-set presets: ") + text +
                  QStringLiteral(" (kept as stored)"));
    m_logged_problems = text;
}

void btn_preset_fm_c::lay_out_strip() {
    for (int k = 0; k < m_tiles.size(); ++k)
        m_tiles[k]->move(strip_margin + tile_width * k, 0);
    const int width = tile_width * m_tiles.size() + 2 * strip_margin;
    m_ui.wg_scrollarea->setMinimumWidth(width);
    m_ui.wg_scrollarea->resize(qMax(width, m_ui.scrollArea->viewport()->width()),
                               m_ui.wg_scrollarea->height());
    place_fades();
}

void btn_preset_fm_c::place_fades() {
    const int value = m_ui.scrollArea->horizontalScrollBar()->value();
    m_ui.wg_left_fade->move(value, 0);
    m_ui.wg_right_fade->move(value + m_ui.scrollArea->width() - fade_width, 0);
    m_ui.wg_left_fade->raise();
    m_ui.wg_right_fade->raise();
}

void btn_preset_fm_c::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    lay_out_strip();
}

void btn_preset_fm_c::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    lay_out_strip();
}

void btn_preset_fm_c::bring_into_view(btn_preset_sub_fm_c* tile) {
    if (!tile)
        return;
    QScrollBar* bar = m_ui.scrollArea->horizontalScrollBar();
    const int visible = m_ui.scrollArea->width();
    const QRect r = tile->geometry();
    if (r.x() + r.width() > bar->value() + visible)
        bar->setValue(r.x() + r.width() - visible + strip_margin);
    else if (bar->value() > r.x())
        bar->setValue(r.x() - strip_margin);
}

btn_preset_sub_fm_c* btn_preset_fm_c::tile_at(const QPoint& strip_pos) const {
    for (btn_preset_sub_fm_c* tile : m_tiles) {
        if (tile->geometry().contains(strip_pos))
            return tile;
    }
    return nullptr;
}

// ------------------------------------------------------------ adding and selecting

void btn_preset_fm_c::add_preset() {
    zarek_data_c* data = profile_set();
    if (!data || m_tiles.size() > side_layout::max_presets - 1)
        return;
    btn_layout_rec record;
    record.b[0] = btn_layout_rec::report_id;
    record.b[1] = uint8_t(btn_layout_rec::size);
    record.set_layout_value(side_layout::all_singles);
    record.set_name(side_layout::utf8_prefix(zarek_page_base_c::host_text(new_name_text) +
                                             QString::number(next_name_number())));

    const QList<btn_layout_rec>& saved = data->saved_layouts();
    const auto taken = [&](uint16_t id) {
        return std::any_of(saved.begin(), saved.end(),
                           [id](const btn_layout_rec& r) { return r.preset_id() == id; });
    };
    // Seeded from the clock; each retry takes the next seed, so it cannot spin on one value.
    const quint32 seed = quint32(QDateTime::currentMSecsSinceEpoch() % 1000);
    uint16_t id = 0;
    for (quint32 attempt = 0;; ++attempt) {
        id = uint16_t(QRandomGenerator(seed + attempt).generate());
        if (!taken(id))
            break;
    }
    record.set_preset_id(id);

    data->saved_layouts().append(record);
    auto* tile = new btn_preset_sub_fm_c(this, record, m_ui.wg_scrollarea);
    tile->show();
    m_tiles.append(tile);
    lay_out_strip();
    bring_into_view(tile);
}

void btn_preset_fm_c::select(btn_preset_sub_fm_c* tile) {
    zarek_data_c* data = profile_set();
    if (!tile || !data)
        return;
    for (btn_preset_sub_fm_c* other : qAsConst(m_tiles))
        other->set_selected(other == tile);
    // The profile takes the preset; the editor hears of it from the profile set and reloads.
    data->set_layout(tile->record());
}

void btn_preset_fm_c::tile_hovered(btn_preset_sub_fm_c* tile, bool on) {
    tile->set_hover(on);
    if (on) {
        tile->name_editor()->setEnabled(true);
        tile->show_delete_button(m_tiles.size() > 1 &&
                                 !identifier_in_use(tile->record().preset_id()));
        bring_into_view(tile);
        return;
    }
    if (m_popup)
        return;
    tile->show_delete_button(false);
    QTextEdit* editor = tile->made_name_editor();
    if (editor && !editor->hasFocus()) {
        editor->setEnabled(false);
        editor->moveCursor(QTextCursor::Start);
    }
}

bool btn_preset_fm_c::identifier_in_use(uint16_t id) const {
    zarek_data_c* data = profile_set();
    if (!data)
        return false;
    for (int slot = 0; slot < data->count(); ++slot) {
        if (data->layout(slot).preset_id() == id)
            return true;
    }
    return false;
}

// ------------------------------------------------------------ stored layout upkeep

void btn_preset_fm_c::update_preset(btn_preset_sub_fm_c* tile, const btn_layout_rec& record) {
    zarek_data_c* data = profile_set();
    if (!tile || !data)
        return;
    const btn_layout_rec old = tile->record();
    QList<btn_layout_rec>& saved = data->saved_layouts();
    for (btn_layout_rec& r : saved) {
        if (r.matches(old)) {
            r = record;
            break;
        }
    }
    for (int slot = 0; slot < max_profile_slots; ++slot) {
        btn_layout_rec& r = data->layout(slot);
        if (r.matches(old)) {
            r = record;
            r.b[2] = uint8_t(slot);
        }
    }
    tile->set_record(record);
}

void btn_preset_fm_c::apply_to_stored(uint32_t (*change)(uint32_t, int, bool), int button_index,
                                      bool on) {
    zarek_data_c* data = profile_set();
    if (!data)
        return;
    for (btn_preset_sub_fm_c* tile : qAsConst(m_tiles)) {
        if (!tile->is_selected())
            continue;
        btn_layout_rec r = tile->record();
        // An impossible stored value becomes the layout the editor showed before the change.
        r.set_layout_value(change(side_layout::normalized(r.layout_value()), button_index, on));
        update_preset(tile, r);
        return;
    }
    btn_layout_rec& r = data->layout(zarek_page_base_c::current_profile_slot());
    r.set_layout_value(change(side_layout::normalized(r.layout_value()), button_index, on));
}

void btn_preset_fm_c::on_button_fitted(int32_t button_index, bool fitted) {
    apply_to_stored(side_layout::with_fitted, button_index, fitted);
}

void btn_preset_fm_c::on_pair_kind(int32_t first_button_index, bool is_double) {
    apply_to_stored(side_layout::with_pair_kind, first_button_index, is_double);
}

// ------------------------------------------------------------ deleting

void btn_preset_fm_c::request_delete(btn_preset_sub_fm_c* tile) {
    if (!tile || !profile_set())
        return;
    if (QTextEdit* editor = tile->made_name_editor())
        editor->clearFocus();
    if (identifier_in_use(tile->record().preset_id()))
        return;
    if (!m_popup)
        m_popup = new del_btn_preset_fm_c(this);
    m_wheel_allowed = false;
    m_popup->open_for(tile);
}

void btn_preset_fm_c::delete_answered(btn_preset_sub_fm_c* tile, bool yes) {
    if (tile) {
        tile->show_delete_button(false);
        zarek_data_c* data = profile_set();
        if (yes && data && m_tiles.removeOne(tile)) {
            lay_out_strip();
            QList<btn_layout_rec>& saved = data->saved_layouts();
            for (int i = 0; i < saved.size(); ++i) {
                if (saved[i].matches(tile->record())) {
                    saved.removeAt(i);
                    break;
                }
            }
            if (m_pressed_tile == tile)
                m_pressed_tile = nullptr;
            tile->hide();
            tile->setParent(nullptr);
            tile->deleteLater();
        }
    }
    m_wheel_allowed = true;
    if (m_popup) {
        QTimer::singleShot(10, m_popup.data(), &QObject::deleteLater);
        m_popup = nullptr;
    }
}

// ------------------------------------------------------------ reordering

void btn_preset_fm_c::tile_pressed(btn_preset_sub_fm_c* tile, const QPoint& pos) {
    m_pressed_tile = tile;
    m_press_point = pos;
    m_pressed = true;
}

void btn_preset_fm_c::tile_released() {
    m_pressed = false;
}

QPixmap btn_preset_fm_c::drag_picture(QWidget* tile) {
    QImage image(tile->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    tile->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(image.rect(), QColor(101, 195, 247, 50));
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.fillRect(image.rect(), QColor(0, 0, 0, 150));
    p.end();
    return QPixmap::fromImage(image);
}

void btn_preset_fm_c::tile_moved(btn_preset_sub_fm_c* tile) {
    if (!m_pressed || m_dragging || tile != m_pressed_tile)
        return;
    m_dragging = true;
    auto* mime = new drag_payload(tile);
    auto* drag = new QDrag(tile);
    drag->setMimeData(mime);
    drag->setPixmap(drag_picture(tile));
    drag->setHotSpot(m_press_point);
    drag->setDragCursor(hand_cursor::pixmap(true), Qt::MoveAction);
    QPointer<btn_preset_fm_c> alive(this);
    drag->exec(Qt::MoveAction);
    if (!alive)
        return;
    m_dragging = false;
    m_pressed = false;
}

void btn_preset_fm_c::swap_tiles(btn_preset_sub_fm_c* a, btn_preset_sub_fm_c* b) {
    const int i = m_tiles.indexOf(a);
    const int j = m_tiles.indexOf(b);
    if (i < 0 || j < 0 || i == j)
        return;
    m_tiles.swapItemsAt(i, j);
    if (zarek_data_c* data = profile_set()) {
        QList<btn_layout_rec>& saved = data->saved_layouts();
        // The list and the strip go in step; a record is looked up only when they do not.
        const auto index_of = [&](const btn_layout_rec& r, int hint) {
            if (hint < saved.size() && saved[hint] == r)
                return hint;
            for (int k = 0; k < saved.size(); ++k) {
                if (saved[k] == r)
                    return k;
            }
            return -1;
        };
        const int si = index_of(a->record(), i);
        const int sj = index_of(b->record(), j);
        if (si >= 0 && sj >= 0)
            saved.swapItemsAt(si, sj);
    }
    lay_out_strip();
}

// ------------------------------------------------------------ events of the strip

bool btn_preset_fm_c::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui.wg_scrollarea) {
        switch (event->type()) {
        case QEvent::Wheel:
            // The pop-up points at a tile: the strip stays put under it.
            if (!m_wheel_allowed)
                return true;
            break;
        case QEvent::DragEnter:
            static_cast<QDragEnterEvent*>(event)->acceptProposedAction();
            return true;
        case QEvent::DragMove:
            static_cast<QDragMoveEvent*>(event)->acceptProposedAction();
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            auto* source = qobject_cast<btn_preset_sub_fm_c*>(drag_payload::source_of(drop));
            btn_preset_sub_fm_c* target = tile_at(drop->pos());
            if (source && target && m_tiles.contains(source) && source != target) {
                drop->acceptProposedAction();
                swap_tiles(source, target);
            } else {
                drop->ignore();
            }
            return true;
        }
        case QEvent::Resize:
            place_fades();
            break;
        default:
            break;
        }
    } else if (watched == m_ui.scrollArea->horizontalScrollBar()) {
        if (event->type() == QEvent::Wheel && !m_wheel_allowed)
            return true;
        if (event->type() == QEvent::Show)
            style_scroll_bar();
    }
    return QWidget::eventFilter(watched, event);
}
