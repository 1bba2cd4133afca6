#include "button_sets/jigsawparent1.h"

#include "button_sets/btn_set_owner.h"
#include "button_sets/drag_payload.h"
#include "button_sets/hand_cursor.h"
#include "button_sets/side_layout.h"
#include "common/log.h"
#include "common/utilities.h"
#include "kernel/zarek_data.h"
#include "module/kernel_host_interfaces.h"
#include "pages/zarek_page_base.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

using namespace side_layout;

namespace {

constexpr QSize canvas_size{507, 175};
const QString caps = QStringLiteral(":/graphics/button_assignment/buttons/");

QImage load(const QString& path) {
    QImage image(path);
    if (image.isNull())
        write_log(QStringLiteral("Side panel: image %1 is missing").arg(path));
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString two_digits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

// The cap images are the same for every editor; they are kept while any editor lives.
struct jigsaw_images_loader {
    template <class images>
    static std::shared_ptr<const images> get() {
        static std::weak_ptr<const images> cache;
        if (auto shared = cache.lock())
            return shared;
        auto fresh = std::make_shared<images>();
        cache = fresh;
        return fresh;
    }
};

const QImage& jigsawparent1::images::load_once(kept_t& kept, const QString& path) {
    if (!kept.tried) {
        kept.tried = true;
        kept.image = load(path);
    }
    return kept.image;
}

const QImage& jigsawparent1::images::single(int slot, int look) const {
    static const QImage none;
    if (slot < 1 || slot > slot_count || look < 0 || look > 3) {
        write_log(QStringLiteral("Side panel: no cap image %1 of slot %2").arg(look).arg(slot));
        return none;
    }
    static const char* const folders[] = {
        "Single-Buttons/normal/Single-Button-", "Single-Buttons/over/Single-Button-over-",
        "Single-Buttons/down/Single-Button-down-", "Single-Buttons/blance/Single-blanc_"};
    return load_once(m_single[size_t(slot)][size_t(look)], caps + QLatin1String(folders[look]) +
                                                               two_digits(slot) +
                                                               QStringLiteral(".png"));
}

const QImage& jigsawparent1::images::pair(int pair, int look) const {
    static const QImage none;
    if (pair < 1 || pair > pair_count || look < 0 || look > 2) {
        write_log(QStringLiteral("Side panel: no cap image %1 of pair %2").arg(look).arg(pair));
        return none;
    }
    static const char* const folders[] = {"Double-Buttons/normal/Double-button_",
                                          "Double-Buttons/over/Double-button-over_",
                                          "Double-Buttons/down/Double-button_down_"};
    return load_once(m_pair[size_t(pair)][size_t(look)], caps + QLatin1String(folders[look]) +
                                                             two_digits(pair) +
                                                             QStringLiteral(".png"));
}

const QImage& jigsawparent1::images::quad(int row) const {
    static const QImage none;
    if (row < 1 || row > row_count) {
        write_log(QStringLiteral("Side panel: no quad image of row %1").arg(row));
        return none;
    }
    return load_once(m_quad[size_t(row)], caps + QStringLiteral("Quad_blancs/Quad-blanc_") +
                                              two_digits(row) + QStringLiteral(".png"));
}

namespace {

// The panel picture of an edition, fitted to the canvas; kept like the cap images.
struct backdrop_t {
    QImage image;
};

std::shared_ptr<const backdrop_t> backdrop_of(bool white) {
    static std::weak_ptr<const backdrop_t> kept[2];
    std::weak_ptr<const backdrop_t>& cache = kept[white ? 1 : 0];
    if (auto shared = cache.lock())
        return shared;
    auto fresh = std::make_shared<backdrop_t>();
    fresh->image =
        load(white ? QStringLiteral(":/graphics/button_assignment/Quil_standard_White.png")
                   : QStringLiteral(":/graphics/button_assignment/Quil_standard.png"));
    if (fresh->image.size() != canvas_size) {
        QImage fitted(canvas_size, QImage::Format_ARGB32_Premultiplied);
        fitted.fill(Qt::transparent);
        QPainter(&fitted).drawImage(0, 0, fresh->image);
        fresh->image = fitted;
    }
    cache = fresh;
    return fresh;
}

// What an owner keeps between its editors.
struct kept_images_t {
    std::shared_ptr<const void> caps;
    std::shared_ptr<const backdrop_t> backdrop;
};

} // namespace

jigsawparent1::jigsawparent1(btn_set_owner_i* owner, QWidget* parent)
    : QWidget(parent)
    , m_owner(owner) {
    m_ui.setupUi(this);
    setFixedSize(canvas_size);
    const QLabel* placeholders[] = {m_ui.blockLabel1,  m_ui.blockLabel2,  m_ui.blockLabel3,
                                    m_ui.blockLabel4,  m_ui.blockLabel5,  m_ui.blockLabel6,
                                    m_ui.blockLabel7,  m_ui.blockLabel8,  m_ui.blockLabel9,
                                    m_ui.blockLabel10, m_ui.blockLabel11, m_ui.blockLabel12};
    for (int i = 0; i < slot_count; ++i) {
        m_hit[i] = placeholders[i]->geometry();
        const_cast<QLabel*>(placeholders[i])->hide();
    }
    setAcceptDrops(true);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);

    m_images = jigsaw_images_loader::get<images>();
    m_canvas = QImage(canvas_size, QImage::Format_ARGB32_Premultiplied);
    m_canvas.fill(Qt::transparent);
    product_kernel_i* kernel = owner ? owner->kernel() : nullptr;
    // Shared with the cache, never drawn into.
    m_background = backdrop_of(kernel && kernel->product_type() == product_type::white)->image;

    if (zarek_data_c* data = profile_set())
        connect_listener(data, static_cast<listener_i*>(this));
    reload();
}

std::shared_ptr<const void> jigsawparent1::cap_images(int32_t edition) {
    auto kept = std::make_shared<kept_images_t>();
    kept->caps = jigsaw_images_loader::get<images>();
    kept->backdrop = backdrop_of(edition == product_type::white);
    return kept;
}

jigsawparent1::~jigsawparent1() {
    if (zarek_data_c* data = profile_set())
        disconnect_listener(data, static_cast<listener_i*>(this));
    const QList<listener_i*> listeners = m_listeners;
    for (listener_i* l : listeners)
        l->manager_closing(this);
}

zarek_data_c* jigsawparent1::profile_set() const {
    return m_owner ? m_owner->profile_set() : nullptr;
}

// ------------------------------------------------------------ interfaces

interface_i* jigsawparent1::query_interface(const GUID& iid) {
    if (iid == iid_interface_i)
        return static_cast<jigsawParent_i*>(this);
    if (iid == iid_listener_mgr_i)
        return static_cast<listener_mgr_i*>(this);
    if (iid == iid_listener_i)
        return static_cast<listener_i*>(this);
    if (iid == iid_btn_assignment_listener_i)
        return static_cast<btn_assignment_listener_i*>(this);
    return nullptr;
}

void jigsawparent1::release() {
    delete this;
}

void jigsawparent1::add_listener(listener_i* listener) {
    if (listener && !m_listeners.contains(listener))
        m_listeners.append(listener);
}

void jigsawparent1::remove_listener(listener_i* listener) {
    m_listeners.removeOne(listener);
}

void jigsawparent1::manager_closing(listener_mgr_i*) {}

template <class F>
void jigsawparent1::for_each_listener(F f) {
    const QList<listener_i*> listeners = m_listeners;
    for (listener_i* l : listeners) {
        if (auto* target = query<btn_jigsaw_listener_i>(l))
            f(target);
    }
}

void jigsawparent1::notify_fitted(int slot, bool fitted) {
    for_each_listener([&](btn_jigsaw_listener_i* l) { l->on_button_fitted(slot + 7, fitted); });
}

void jigsawparent1::notify_pair(int slot, bool is_double) {
    // Pairs are always addressed by their first button.
    const int first = first_of_pair(pair_of(slot)) + 7;
    for_each_listener([&](btn_jigsaw_listener_i* l) { l->on_pair_kind(first, is_double); });
}

void jigsawparent1::notify_undo_redo(bool is_undo, bool enabled) {
    for_each_listener([&](btn_jigsaw_listener_i* l) { l->on_undo_redo_state(is_undo, enabled); });
}

// ------------------------------------------------------------ loading and history

void jigsawparent1::reload() {
    zarek_data_c* data = profile_set();
    if (!data) {
        load_layout(0);
        return;
    }
    const uint8_t slot = zarek_page_base_c::current_profile_slot();
    const uint32_t value = data->layout(slot).layout_value();
    log_impossible(value, QStringLiteral("profile %1").arg(slot + 1));
    load_layout(value);
}

void jigsawparent1::apply_layout_record(const btn_layout_rec& record) {
    log_impossible(record.layout_value(),
                   QStringLiteral("the layout record of profile %1").arg(record.b[2] + 1));
    load_layout(record.layout_value());
}

void jigsawparent1::load_layout(uint32_t value) {
    const uint32_t v = normalized(value);
    for (int s = 1; s <= slot_count; ++s) {
        const bool on = fitted(v, s);
        set_both(s, on ? single : blank);
        m_kinds[s - 1] = on ? kind_single : kind_blank;
    }
    for (int p = 1; p <= pair_count; ++p) {
        if (!is_double(v, p))
            continue;
        const int f = first_of_pair(p);
        set_pair(f, double_);
        m_kinds[f - 1] = m_kinds[f] = kind_double;
    }
    m_history.clear();
    m_count = m_position = 0;
    m_history.append(m_kinds);
    recompose(0);
    notify_undo_redo(false, false);
    notify_undo_redo(true, false);
}

void jigsawparent1::record_step() {
    if (m_position != m_count) {
        m_history.resize(m_position + 1);
        m_count = m_position;
    }
    recompose(0);
    m_history.append(m_kinds);
    ++m_position;
    ++m_count;
    notify_undo_redo(false, false);
    notify_undo_redo(true, true);
}

void jigsawparent1::undo() {
    if (m_position <= 0)
        return;
    --m_position;
    notify_undo_redo(true, m_position != 0);
    notify_undo_redo(false, true);
    apply_snapshot(m_history.at(m_position));
}

void jigsawparent1::redo() {
    if (m_position >= m_count)
        return;
    ++m_position;
    notify_undo_redo(false, m_position < m_count);
    notify_undo_redo(true, true);
    apply_snapshot(m_history.at(m_position));
}

void jigsawparent1::apply_snapshot(const kinds& snapshot) {
    for (int s = 1; s <= slot_count; ++s) {
        switch (snapshot[s - 1]) {
        case kind_blank:
            set_both(s, blank);
            notify_fitted(s, false);
            notify_pair(s, false);
            break;
        case kind_single:
            set_both(s, single);
            notify_fitted(s, true);
            notify_pair(s, false);
            break;
        case kind_double:
            set_both(s, double_);
            notify_fitted(s, true);
            notify_pair(s, true);
            break;
        default:
            continue;
        }
        m_kinds[s - 1] = snapshot[s - 1];
    }
    recompose(0);
}

// ------------------------------------------------------------ slot states

void jigsawparent1::set_both(int slot, uint8_t value) {
    m_slots[slot].display = m_slots[slot].rest = value;
}

void jigsawparent1::set_pair(int slot, uint8_t value) {
    set_both(slot, value);
    set_both(partner_of(slot), value);
}

void jigsawparent1::clear_hovers() {
    for (int s = 1; s <= slot_count; ++s) {
        uint8_t& d = m_slots[s].display;
        if (d == single_hover)
            d = single;
        else if (d == double_hover)
            d = double_;
    }
}

void jigsawparent1::restore_resting() {
    for (int s = 1; s <= slot_count; ++s)
        m_slots[s].display = m_slots[s].rest;
}

int jigsawparent1::slot_at(const QPoint& point) const {
    for (int i = 0; i < slot_count; ++i) {
        // Edges included: QRect::contains takes the right and bottom edge as inside.
        if (m_hit[i].contains(point))
            return i + 1;
    }
    return 0;
}

bool jigsawparent1::has_selection() const {
    for (int s = 1; s <= slot_count; ++s) {
        if (m_slots[s].display == single_selected || m_slots[s].display == double_selected)
            return true;
    }
    return false;
}

void jigsawparent1::hover_button(int button_index) {
    const int s = slot_of_button(button_index);
    if (!valid_slot(s)) {
        write_log(QStringLiteral("Side panel: hover for button %1 ignored").arg(button_index));
        return;
    }
    if (m_slots[s].display == single) {
        m_slots[s].display = single_hover;
    } else if (m_slots[s].display == double_) {
        m_slots[s].display = double_hover;
        m_slots[partner_of(s)].display = double_hover;
    }
    recompose(s);
}

void jigsawparent1::unhover_button(int button_index) {
    const int s = slot_of_button(button_index);
    if (!valid_slot(s)) {
        write_log(QStringLiteral("Side panel: hover for button %1 ignored").arg(button_index));
        return;
    }
    if (m_slots[s].display == single_hover) {
        m_slots[s].display = single;
    } else if (m_slots[s].display == double_hover) {
        m_slots[s].display = double_;
        m_slots[partner_of(s)].display = double_;
    }
    recompose(s);
}

void jigsawparent1::select_all(bool select) {
    for (int s = 1; s <= slot_count; ++s) {
        const uint8_t d = m_slots[s].display;
        if (select && d == single)
            set_both(s, single_selected);
        else if (select && d == double_)
            set_both(s, double_selected);
        else if (!select && d == single_selected)
            set_both(s, single);
        else if (!select && d == double_selected)
            set_both(s, double_);
    }
    recompose(0);
}

void jigsawparent1::delete_selected() {
    bool any = false;
    for (int s = 1; s <= slot_count; ++s) {
        const uint8_t d = m_slots[s].display;
        if (d != single_hover && d != single_selected && d != double_hover &&
            d != double_selected && d != lifted)
            continue;
        if (d == double_selected)
            notify_pair(s, false);
        set_both(s, blank);
        m_kinds[s - 1] = kind_blank;
        notify_fitted(s, false);
        any = true;
    }
    // Nothing marked: no empty step in the history.
    if (any)
        record_step();
}

// ------------------------------------------------------------ composition

void jigsawparent1::recompose(int key) {
    if (key < 0 || key > slot_count)
        key = 0;
    m_slots[key].composed = 0;
    compose(key);
}

void jigsawparent1::compose(int key) {
    if (key < 0 || key > slot_count)
        key = 0;
    // The flag of key 0 is never cleared by a composition, so it counts only while no other
    // key was composed since.
    if (m_slots[key].composed && key == m_last_key)
        return;
    for (int r = 1; r <= row_count; ++r) {
        const int first = 4 * r - 3;
        bool all_blank = true;
        for (int s = first; s < first + 4; ++s)
            all_blank = all_blank && (m_slots[s].display == blank);
        if (all_blank) {
            for (int s = first; s < first + 4; ++s)
                m_slots[s].display = quad_blank;
        }
    }

    QPainter p(&m_canvas);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, m_background);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const images& im = *m_images;
    for (int s = 1; s <= slot_count; ++s) {
        m_slots[s].composed = 0;
        const int pair = pair_of(s);
        // A double and a quad blank are single images: drawn once, at their first slot.
        const bool first_of_double =
            s == first_of_pair(pair) || m_slots[partner_of(s)].display != m_slots[s].display;
        switch (m_slots[s].display) {
        case single:
            p.drawImage(cap_origin, im.single(s, 0));
            break;
        case single_hover:
            p.drawImage(cap_origin, im.single(s, 0));
            p.drawImage(cap_origin, im.single(s, 1));
            break;
        case single_selected:
            p.drawImage(cap_origin, im.single(s, 2));
            break;
        case blank:
            p.drawImage(cap_origin, im.single(s, 3));
            break;
        case double_:
            if (first_of_double)
                p.drawImage(cap_origin, im.pair(pair, 0));
            break;
        case double_hover:
            if (first_of_double) {
                p.drawImage(cap_origin, im.pair(pair, 0));
                p.drawImage(cap_origin, im.pair(pair, 1));
            }
            break;
        case double_selected:
            if (first_of_double)
                p.drawImage(cap_origin, im.pair(pair, 2));
            break;
        case quad_blank:
            if ((s - 1) % 4 == 0)
                p.drawImage(cap_origin, im.quad(row_of(s)));
            break;
        default: // lifted: nothing
            break;
        }
    }
    p.end();
    m_slots[key].composed = 1;
    m_last_key = key;
    QWidget::update();
}

void jigsawparent1::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, m_canvas);
}

// ------------------------------------------------------------ pointer

void jigsawparent1::mouseMoveEvent(QMouseEvent* event) {
    const int s = slot_at(event->pos());
    setCursor(s ? hand_cursor::cursor(false) : QCursor(Qt::ArrowCursor));
    if (s && (event->buttons() & Qt::LeftButton)) {
        const uint8_t d = m_slots[s].display;
        const bool liftable =
            d == single_hover || d == single_selected || d == double_hover || d == double_selected;
        if (liftable && (event->pos() - m_release_point).manhattanLength() >=
                            QApplication::startDragDistance()) {
            start_drag_out(event->pos());
            return;
        }
    }
    if (m_dragging_out)
        return;
    clear_hovers();
    if (s && m_slots[s].display == single) {
        m_slots[s].display = single_hover;
    } else if (s && m_slots[s].display == double_) {
        m_slots[s].display = double_hover;
        m_slots[partner_of(s)].display = double_hover;
    }
    compose(s);
}

void jigsawparent1::leaveEvent(QEvent*) {
    if (m_dragging_out)
        return;
    clear_hovers();
    compose(0);
}

void jigsawparent1::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int s = slot_at(event->pos());
    if (!s)
        return;
    switch (m_slots[s].display) {
    case single:
    case single_hover:
        set_both(s, single_selected);
        m_release_point = event->pos();
        break;
    case double_:
    case double_hover:
        set_pair(s, double_selected);
        m_release_point = event->pos();
        break;
    case single_selected:
        set_both(s, single);
        break;
    case double_selected:
        set_pair(s, double_);
        break;
    default:
        return;
    }
    recompose(s);
}

// ------------------------------------------------------------ drag out of the panel

QImage jigsawparent1::lift_blocks() {
    QImage picture(164, 124, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    int singles = 0;
    int double_slots = 0;
    m_drag_kind = 0;
    m_drag_origin = 0;
    for (int s = 1; s <= slot_count; ++s) {
        slot_record& r = m_slots[s];
        if (r.display == single_hover || r.display == single_selected) {
            p.drawImage(0, 0, m_images->single(s, 2));
            ++singles;
            m_drag_kind = kind_single;
        } else if (r.display == double_hover || r.display == double_selected) {
            if (s == first_of_pair(pair_of(s)))
                p.drawImage(0, 0, m_images->pair(pair_of(s), 2));
            ++double_slots;
            m_drag_kind = kind_double;
        } else {
            continue;
        }
        r.rest = r.display;
        r.display = lifted;
        m_drag_origin = s;
    }
    m_drag_accepts = singles + (double_slots == 2 ? 1 : 0) == 1;
    return picture;
}

void jigsawparent1::set_dragging_out(bool on) {
    m_dragging_out = on;
    recompose(0);
}

void jigsawparent1::start_drag_out(const QPoint& pos) {
    const QImage picture = lift_blocks();
    set_dragging_out(true);
    auto* mime = new drag_payload(this);
    mime->setImageData(picture);
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(QPixmap::fromImage(picture));
    drag->setHotSpot(pos - cap_origin);
    drag->setDragCursor(hand_cursor::pixmap(true), Qt::MoveAction);
    QPointer<jigsawparent1> alive(this);
    const Qt::DropAction result = drag->exec(Qt::MoveAction);
    if (alive)
        finish_drag_out(result);
}

void jigsawparent1::finish_drag_out(Qt::DropAction result) {
    // Whatever a preview left on the panel goes; the lifted blocks show their resting look.
    restore_resting();
    if (result == Qt::MoveAction) {
        delete_selected();
    } else {
        for (int s = 1; s <= slot_count; ++s) {
            slot_record& r = m_slots[s];
            if (r.rest == single_selected || r.rest == double_selected)
                r.display = r.rest;
            else if (r.rest == single_hover)
                set_both(s, single);
            else if (r.rest == double_hover)
                set_both(s, double_);
        }
    }
    m_dragging_out = false;
    m_drag_kind = 0;
    m_drag_origin = 0;
    m_drag_accepts = false;
    recompose(0);
}

// ------------------------------------------------------------ drops on the panel

jigsaw_i* jigsawparent1::source_block(QDropEvent* event) const {
    return drag_payload::block_of(event);
}

void jigsawparent1::dragEnterEvent(QDragEnterEvent* event) {
    jigsaw_i* block = source_block(event);
    if (!block || !block->accepts_panel_drop()) {
        event->ignore();
        return;
    }
    // Copy is asked for; only move is ever offered, so move it is.
    event->setDropAction((event->possibleActions() & Qt::CopyAction) ? Qt::CopyAction
                                                                     : Qt::MoveAction);
    event->accept();
}

void jigsawparent1::dragMoveEvent(QDragMoveEvent* event) {
    jigsaw_i* block = source_block(event);
    const int t = slot_at(event->pos());
    restore_resting();
    if (!block || !t || t == block->origin_slot()) {
        event->ignore();
        compose(0);
        return;
    }
    event->acceptProposedAction();
    if (block->block_kind() == kind_single) {
        m_slots[t].display = single;
        if (m_kinds[t - 1] == kind_double)
            m_slots[partner_of(t)].display = single;
    } else if (block->block_kind() == kind_double) {
        m_slots[t].display = double_;
        m_slots[partner_of(t)].display = double_;
    }
    compose(t);
}

void jigsawparent1::dragLeaveEvent(QDragLeaveEvent*) {
    restore_resting();
    recompose(0);
}

void jigsawparent1::dropEvent(QDropEvent* event) {
    jigsaw_i* block = source_block(event);
    const int t = slot_at(event->pos());
    restore_resting();
    const int kind = block ? block->block_kind() : 0;
    if (!block || !t || (kind != kind_single && kind != kind_double)) {
        // Nothing lands: a carried block goes back where it came from.
        event->ignore();
        recompose(0);
        return;
    }
    const uint8_t d = m_slots[t].display;
    const kinds before = m_kinds;
    if (kind == kind_single) {
        if (d == single || d == single_selected) {
            event->ignore();
            recompose(0);
            return;
        }
        if (d == double_ || d == double_selected) {
            set_pair(t, single);
            m_kinds[t - 1] = m_kinds[partner_of(t) - 1] = kind_single;
        } else {
            set_both(t, single);
            m_kinds[t - 1] = kind_single;
        }
    } else {
        if (d == double_ || d == double_selected) {
            event->ignore();
            recompose(0);
            return;
        }
        set_pair(t, double_);
        m_kinds[t - 1] = m_kinds[partner_of(t) - 1] = kind_double;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    if (m_kinds == before) {
        // A block put back on its own place: no step, nothing to tell.
        recompose(0);
        return;
    }
    record_step();
    if (kind == kind_double) {
        const int f = first_of_pair(pair_of(t));
        notify_fitted(f, true);
        notify_fitted(f + 1, true);
        notify_pair(f, true);
    } else {
        notify_fitted(t, true);
        notify_pair(t, false);
    }
}
