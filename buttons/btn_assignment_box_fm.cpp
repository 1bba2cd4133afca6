#include "buttons/btn_assignment_box_fm.h"

#include "button_sets/btn_help_fm.h"
#include "button_sets/btn_preset_fm.h"
#include "button_sets/btn_preset_sub_fm.h"
#include "button_sets/jigsaw_block.h"
#include "button_sets/jigsawparent1.h"
#include "button_sets/trash_can.h"
#include "buttons/box_widgets.h"
#include "buttons/btn_assignment.h"
#include "buttons/btn_assignment_ctrl_func.h"
#include "buttons/btn_deactivate_fm.h"
#include "buttons/btn_list_fm.h"
#include "common/log.h"
#include "common/utilities.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QResizeEvent>
#include <memory>

namespace {

// Host texts of the box.
constexpr int32_t selector_title_text = 72;
constexpr int32_t selector_description_text = 591;
constexpr int32_t drag_drop_text = 592;
constexpr int32_t select_all_text = 593;
constexpr int32_t set_up_text = 594;
constexpr int32_t side_assignment_text = 595;

constexpr int side_first = 8;
constexpr int alter_offset = 20;
constexpr int side_positions = 12;

const QString place_buttons = QStringLiteral(":/graphics/button_assignment/buttons/Place-Buttons/");

// Says a modal dialog runs for as long as it lives: the host masks its window meanwhile.
class busy_guard {
public:
    busy_guard() {
        if (ctrl_center_i* center = module_ctrl_center())
            center->set_busy(true, true, false);
    }
    ~busy_guard() {
        if (ctrl_center_i* center = module_ctrl_center())
            center->set_busy(false, true, false);
    }
    busy_guard(const busy_guard&) = delete;
    busy_guard& operator=(const busy_guard&) = delete;
};

QMainWindow* application_main_window() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (auto* main = qobject_cast<QMainWindow*>(w))
            return main;
    }
    return nullptr;
}

} // namespace

btn_assignment_box_fm_c::btn_assignment_box_fm_c(btn_assignment_ctrl_func_c* control,
                                                 QWidget* parent)
    : btn_box_fm_base_c(control, parent)
    , m_side_control(control) {
    m_ui.setupUi(this);
    set_look();
    set_favorite_box(m_ui.cb_favorite);

    // The host's preset selector shows the preset list under the box's title.
    if (module_host_i* host = module_host()) {
        m_selector = static_cast<preset_selector_i*>(
            host->create_instance(class_id::preset_selector, iid_preset_selector_i));
        m_confirm = static_cast<reset_confirm_i*>(
            host->create_instance(class_id::reset_confirm, iid_reset_confirm_i));
    }
    if (m_selector) {
        m_selector->attach(m_ui.wg_info);
        m_selector->set_client(this);
    }
    if (m_confirm)
        m_confirm->set_client(this);

    // The editor, its palette and its trash can.
    m_editor = new jigsawparent1(this, m_ui.wg_dev);
    m_editor->move(m_ui.wg_dev->width() - m_editor->width(), 0);
    m_single = new JigsawBlock(1, m_ui.wg_dev);
    m_double = new JigsawBlock(2, m_ui.wg_dev);
    m_single->set_images(place_buttons + "Single_button_normal.png",
                         place_buttons + "Single_button_over.png",
                         place_buttons + "Single_button_empty_bg");
    m_double->set_images(place_buttons + "Double_button_normal.png",
                         place_buttons + "Double_button_over.png",
                         place_buttons + "Double_button_empty_bg");
    m_single->move(20, 34);
    m_double->move(20, 88);
    m_trash = new TrashCan(this, m_ui.wg_trash_can);
    m_trash->move(0, 0);
    connect_listener(static_cast<listener_mgr_i*>(m_editor),
                     static_cast<btn_jigsaw_listener_i*>(this));

    // The presets follow the editor, so they come after it.
    m_presets = new btn_preset_fm_c(this, m_ui.wg_preset);
    m_presets->setGeometry(m_ui.wg_preset->rect());

    m_list = new btn_list_fm_c(this, btn_box_kind::side, m_ui.wg_dropdowns);
    for (int k = 0; k < side_positions; ++k) {
        m_list->add_standard_row(k, side_first + k, true);
        m_list->add_alter_row(k, side_first + alter_offset + k, true);
    }
    fill_with(m_ui.wg_dropdowns, m_list);
    m_list->set_menu_feedback(this);
    connect_listener(static_cast<listener_mgr_i*>(m_editor), static_cast<listener_i*>(m_list));
    // Each row was labelled from the current profile as it was added; no reload needed.
    // Pointing at a row lights its block on the panel.
    for (int k = 0; k < side_positions; ++k) {
        for (int index : {side_first + k, side_first + alter_offset + k}) {
            if (QPushButton* row = m_list->row_button(index)) {
                row->installEventFilter(this);
                m_watched.insert(row, index);
            }
        }
    }

    set_fonts();
    place_tools();
    m_ui.wg_preset_info->installEventFilter(this);
    m_ui.btn_undo->setEnabled(false);
    m_ui.btn_redo->setEnabled(false);
    connect(m_ui.btn_undo, &QPushButton::clicked, this, [this] { m_editor->undo(); });
    connect(m_ui.btn_redo, &QPushButton::clicked, this, [this] { m_editor->redo(); });
    connect(m_ui.btn_reset, &QPushButton::clicked, this, &btn_assignment_box_fm_c::ask_reset);
    connect(m_ui.btn_deactivate, &QPushButton::clicked, this, &btn_assignment_box_fm_c::deactivate);
    connect(m_ui.ckb_select_all, &QCheckBox::clicked, this,
            [this](bool on) { m_editor->select_all(on); });
    refresh_preset_selector();
    bind(module_ctrl_center());
}

btn_assignment_box_fm_c::~btn_assignment_box_fm_c() {
    if (m_list) {
        m_list->set_menu_feedback(nullptr);
        m_list->manager_closing();
        disconnect_listener(static_cast<listener_mgr_i*>(m_editor),
                            static_cast<listener_i*>(m_list));
    }
    disconnect_listener(static_cast<listener_mgr_i*>(m_editor),
                        static_cast<btn_jigsaw_listener_i*>(this));
    if (m_confirm) {
        m_confirm->set_client(nullptr);
        m_confirm->release();
    }
    if (m_selector) {
        // Released where it stands: its form goes with it, and taking the form out first
        // would restyle it as a window of its own just before it goes.
        m_selector->set_client(nullptr);
        m_selector->release();
    }
    delete m_help.data();
    // The editor asks its owner for the profile set as it goes, so it goes while this box is
    // still whole rather than with the other children.
    delete m_editor;
    m_editor = nullptr;
}

interface_i* btn_assignment_box_fm_c::query_interface(const GUID& iid) {
    if (iid == iid_main_menu_listener_i)
        return static_cast<main_menu_listener_i*>(this);
    if (iid == iid_ctrl_center_listener_i)
        return static_cast<ctrl_center_listener_i*>(this);
    if (iid == iid_btn_jigsaw_listener_i)
        return static_cast<btn_jigsaw_listener_i*>(this);
    if (iid == iid_reset_to_default_fm_client_i)
        return static_cast<reset_to_default_fm_client_i*>(this);
    if (iid == iid_preset_selector_client_i)
        return static_cast<preset_selector_client_i*>(this);
    return form_base_c::query_interface(iid);
}

void btn_assignment_box_fm_c::release() {
    form_base_c::release();
}

void btn_assignment_box_fm_c::manager_closing(listener_mgr_i* manager) {
    form_base_c::manager_closing(manager);
}

btn_help_fm_c* btn_assignment_box_fm_c::help() const {
    return m_help;
}

btn_deactivate_fm_c* btn_assignment_box_fm_c::deactivation() const {
    return m_deactivation;
}

product_kernel_i* btn_assignment_box_fm_c::kernel() const {
    return m_side_control ? m_side_control->kernel() : nullptr;
}

zarek_data_c* btn_assignment_box_fm_c::profile_set() const {
    return profile_set_of(kernel());
}

void btn_assignment_box_fm_c::set_look() {
    set_divider(m_ui.wg_right);
    const QString icon =
        QStringLiteral(":/graphics/button_assignment/Side-Button_Assignment_icon.png");
    m_ui.wg_func_img->set_pictures(icon, QString(), picture_widget_c::placement::centre);
    m_ui.wg_func_img_2->set_pictures(icon, QString(), picture_widget_c::placement::centre);
    m_ui.lb_func_name->set_colours(box_colour::title, box_colour::title);
    m_ui.lb_func_name_2->set_colours(box_colour::title, box_colour::title);
    m_ui.lb_func_sub_name->set_colours(box_colour::accent, box_colour::accent);
    const QString tools = QStringLiteral(":/graphics/button_assignment/Tools/%1_%2.png");
    m_ui.wg_preset_info->set_pictures(tools.arg(QLatin1String("info"), QLatin1String("normal")),
                                      tools.arg(QLatin1String("info"), QLatin1String("over")));
    m_ui.wg_preset_info->set_lit_by_hover(true);
    const std::pair<picture_button_c*, const char*> buttons[] = {
        {m_ui.btn_undo, "undo"},
        {m_ui.btn_redo, "redo"},
        {m_ui.btn_deactivate, "deactivate"},
        {m_ui.btn_reset, "reset"}};
    for (const auto& [button, name] : buttons)
        button->set_pictures(tools.arg(QLatin1String(name), QLatin1String("normal")),
                             tools.arg(QLatin1String(name), QLatin1String("over")),
                             tools.arg(QLatin1String(name), QLatin1String("disabled")));
    const QString box = QStringLiteral(":/graphics/controls/check_box/checkbox_%1.png");
    picture_check_box_c::look_t look;
    look.off = box.arg(QLatin1String("unchecked"));
    look.off_hover = box.arg(QLatin1String("unchecked_hover"));
    look.on = box.arg(QLatin1String("checked"));
    look.on_hover = box.arg(QLatin1String("checked_hover"));
    look.disabled = box.arg(QLatin1String("unchecked_disabled"));
    look.indicator = QSize(19, 18);
    look.spacing = 8;
    look.text = QColor(0xb4, 0xb9, 0xc0);
    look.text_disabled = QColor(0x4a, 0x4e, 0x55);
    m_ui.ckb_select_all->set_look(look);
}

void btn_assignment_box_fm_c::set_fonts() {
    set_widget_font(m_ui.lb_func_name, QStringLiteral("EurostileHea"), 15, 1, true);
    set_widget_font(m_ui.lb_func_name_2, QStringLiteral("EurostileHea"), 15, 1, true);
    set_widget_font(m_ui.lb_func_sub_name, QStringLiteral("EurostileMed"), 11, 1, false);
    set_widget_font(m_ui.ckb_select_all, QStringLiteral("EurostileMed"), 12, 1, false);
}

void btn_assignment_box_fm_c::place_tools() {
    // The history and device tools line up at the right end of the editor's title row.
    int x = m_ui.wg_left->width() - 16;
    for (QWidget* tool :
         {static_cast<QWidget*>(m_ui.cb_favorite), static_cast<QWidget*>(m_ui.btn_reset),
          static_cast<QWidget*>(m_ui.btn_deactivate), static_cast<QWidget*>(m_ui.btn_redo),
          static_cast<QWidget*>(m_ui.btn_undo)}) {
        x -= tool->width();
        tool->move(x, 14);
        x -= tool == m_ui.btn_deactivate ? 18 : 10;
    }
    // The guide's mark follows the title when the title leaves room before the tools, else
    // the shorter line under it: the lengths change with the language.
    QLabel* title = m_ui.lb_func_name;
    QLabel* sub = m_ui.lb_func_sub_name;
    const int tools_start = m_ui.btn_undo->x() - 12;
    title->resize(tools_start - title->x(), title->height());
    const int title_end = title->x() + title->fontMetrics().horizontalAdvance(title->text());
    if (title_end + 10 + m_ui.wg_preset_info->width() <= tools_start) {
        m_ui.wg_preset_info->move(title_end + 10, 14);
    } else {
        const int sub_end = sub->x() + sub->fontMetrics().horizontalAdvance(sub->text());
        m_ui.wg_preset_info->move(sub_end + 8, sub->y() + (sub->height() - 20) / 2);
    }
}

void btn_assignment_box_fm_c::update() {
    const auto set = [](auto* widget, int32_t id) {
        const QString text = zarek_page_base_c::host_text(id);
        if (!text.isEmpty())
            widget->setText(text);
    };
    set(m_ui.lb_func_sub_name, drag_drop_text);
    set(m_ui.ckb_select_all, select_all_text);
    set(m_ui.lb_func_name, set_up_text);
    set(m_ui.lb_func_name_2, side_assignment_text);
    if (m_selector)
        m_selector->set_texts(zarek_page_base_c::host_text(selector_title_text),
                              zarek_page_base_c::host_text(selector_description_text));
}

void btn_assignment_box_fm_c::resizeEvent(QResizeEvent* event) {
    btn_box_fm_base_c::resizeEvent(event);
    // The preset selector takes the width of the list's column.
    QWidget* info = m_ui.wg_info;
    info->resize(qMax(200, m_ui.wg_right->width() - 2 * info->x()), info->height());
    QWidget* rows = m_ui.wg_dropdowns;
    // The two columns stay together; a wide page leaves room on their right.
    const int room = m_ui.wg_right->width() - 2 * rows->x();
    rows->resize(qBound(rows->minimumSizeHint().width(), room, 420), rows->height());
}

void btn_assignment_box_fm_c::reload() {
    m_presets->rebuild();
    m_list->reload();
    m_editor->reload();
    refresh_preset_selector();
}

void btn_assignment_box_fm_c::refresh_preset_selector() {
    zarek_data_c* data = profile_set();
    if (!m_selector || !data)
        return;
    QList<QByteArray> records;
    int current = -1;
    const btn_layout_rec& used = data->layout(zarek_page_base_c::current_profile_slot());
    const QList<btn_layout_rec>& presets = data->saved_layouts();
    for (int i = 0; i < presets.size(); ++i) {
        const btn_layout_rec& p = presets.at(i);
        records.append(QByteArray(reinterpret_cast<const char*>(p.data()), int(p.size)));
        if (current < 0 && p.preset_id() == used.preset_id() &&
            p.layout_value() == used.layout_value())
            current = i;
    }
    m_selector->set_presets(records);
    m_selector->set_current(current);
}

void btn_assignment_box_fm_c::preset_chosen(int32_t index) {
    zarek_data_c* data = profile_set();
    if (!data || index < 0 || index >= data->saved_layouts().size()) {
        write_log(QStringLiteral("Side buttons: the preset selector chose %1, which is no preset")
                      .arg(index));
        return;
    }
    // The strip's tile of the preset does what a click on it does.
    const QList<btn_preset_sub_fm_c*>& tiles = m_presets->tiles();
    if (index < tiles.size())
        m_presets->select(tiles.at(index));
    else
        data->set_layout(data->saved_layouts().at(index));
    refresh_preset_selector();
}

void btn_assignment_box_fm_c::main_menu_shown(menu_i*) {
    const int index = m_list->current_button_index();
    if (index < 0)
        return;
    if (m_highlighted >= 0)
        m_editor->unhover_button(m_highlighted);
    m_highlighted = index;
    m_editor->hover_button(index);
}

void btn_assignment_box_fm_c::main_menu_closed(menu_i*) {
    if (m_highlighted < 0)
        return;
    m_editor->unhover_button(m_highlighted);
    m_highlighted = -1;
}

void btn_assignment_box_fm_c::on_undo_redo_state(bool is_undo, bool enabled) {
    (is_undo ? m_ui.btn_undo : m_ui.btn_redo)->setEnabled(enabled);
}

void btn_assignment_box_fm_c::clear_select_all() {
    m_ui.ckb_select_all->setChecked(false);
}

void btn_assignment_box_fm_c::ask_reset() {
    if (m_confirm)
        m_confirm->show_at(m_ui.btn_reset);
}

void btn_assignment_box_fm_c::reset_answer(int32_t answer) {
    // Any answer but yes leaves the buttons as they are.
    if (answer != 1 || !m_side_control)
        return;
    m_side_control->reset_requested();
}

void btn_assignment_box_fm_c::deactivate() {
    product_kernel_i* k = kernel();
    auto overlay =
        std::make_unique<btn_deactivate_fm_c>(k ? k->product_type() : int32_t(product_type::black));
    m_deactivation = overlay.get();
    if (k)
        k->send_switch(false);
    {
        const busy_guard busy;
        QMainWindow* window = application_main_window();
        if (window)
            overlay->setParent(window, overlay->windowFlags());
        overlay->cover(window ? static_cast<QWidget*>(window) : this->window());
        emit deactivation_shown(overlay.get());
        overlay->exec();
    }
    overlay.reset();
    if (k)
        k->send_switch(true);
}

void btn_assignment_box_fm_c::show_help() {
    if (!m_help)
        m_help = new btn_help_fm_c(this);
    m_help->show_beside(m_ui.wg_preset_info);
}

bool btn_assignment_box_fm_c::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_ui.wg_preset_info && type == QEvent::Enter) {
        show_help();
    } else if (type == QEvent::Enter || type == QEvent::Leave) {
        const auto it = m_watched.constFind(watched);
        if (it != m_watched.constEnd()) {
            if (type == QEvent::Enter)
                m_editor->hover_button(it.value());
            else if (it.value() != m_highlighted)
                m_editor->unhover_button(it.value());
        }
    }
    return btn_box_fm_base_c::eventFilter(watched, event);
}
