#include "buttons/btn_list_fm.h"

#include "button_sets/jigsawparent1.h"
#include "button_sets/side_layout.h"
#include "buttons/box_widgets.h"
#include "buttons/function_catalogue.h"
#include "buttons/macro_store.h"
#include "common/log.h"
#include "common/platform.h"
#include "common/utilities.h"
#include "kernel/device_kernel.h"
#include "kernel/zarek_data.h"
#include "module/global_func.h"
#include "module/module.h"
#include "pages/zarek_page_base.h"
#include "ui_btn_list_fm.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTime>
#include <cstring>

namespace {

constexpr int row_pitch = 27;
constexpr int number_width = 21;
constexpr int row_width = 153;
constexpr int row_height = 22;
constexpr int open_menu_delay_ms = 20;
constexpr int relabel_delay_ms = 100;

// What a twin locked by the twin rule reads.
const char* const disabled_label = QT_TR_NOOP("Disabled");

// Rows, their numbers and the headers are lettered at 11 pixels.
constexpr int list_pixel_size = 11;

QString text_of(int32_t id) {
    return zarek_page_base_c::host_text(id);
}

} // namespace

btn_list_fm_c::btn_list_fm_c(btn_set_owner_i* owner, btn_box_kind kind, QWidget* parent)
    : QWidget(parent)
    , m_owner(owner)
    , m_kind(kind)
    , m_ui(std::make_unique<Ui::btn_list_fm>())
    , m_catalogue(std::make_unique<function_catalogue_c>(&text_of)) {
    m_ui->setupUi(this);
    // One font for every row. Each row is given it: under a window's style sheet a child
    // does not take its parent's font.
    m_row_font = font();
    m_row_font.setPixelSize(list_pixel_size);
    for (colour_label_c* header : {m_ui->lb_s_header, m_ui->lb_e_header}) {
        header->set_colours(box_colour::header, box_colour::header);
        set_widget_font(header, QStringLiteral("EurostileHea"), list_pixel_size, 1, false);
    }

    m_open_menu_timer.setSingleShot(true);
    m_open_menu_timer.setInterval(open_menu_delay_ms);
    connect(&m_open_menu_timer, &QTimer::timeout, this, &btn_list_fm_c::open_menu_timer_trigger);
    m_language_timer.setSingleShot(true);
    m_language_timer.setTimerType(Qt::CoarseTimer);
    m_language_timer.setInterval(relabel_delay_ms);
    connect(&m_language_timer, &QTimer::timeout, this, &btn_list_fm_c::rebuild_catalogue);

    m_file_chooser = [this](int code) {
        return run_file_dialog(code);
    };
    m_vista_or_7 = platform::is_windows_vista_or_7();
    m_kernel = m_owner ? m_owner->kernel() : nullptr;
    read_dpi_from_profile();
    attach_listeners();
    m_catalogue->build(catalogue_inputs());
    bind(module_ctrl_center());
}

menu_i* btn_list_fm_c::host_menu() {
    if (!m_host_menu_tried && !m_closing) {
        m_host_menu_tried = true;
        if (m_catalogue->attach_host(module_host(), this, this))
            connect_listener(m_catalogue->root_menu(), self());
    }
    return m_catalogue->root_menu();
}

btn_list_fm_c::~btn_list_fm_c() {
    detach_listeners();
    m_catalogue->detach_host();
}

// ------------------------------------------------------------------ listeners

listener_i* btn_list_fm_c::self() {
    return static_cast<listener_i*>(static_cast<form_base_c*>(this));
}

void btn_list_fm_c::attach_listeners() {
    if (m_kernel)
        m_kernel->add_kernel_listener(self());
    if (zarek_data_c* d = data())
        d->add_listener(self());
    if (m_kind == btn_box_kind::side && m_owner) {
        if (jigsawparent1* editor = m_owner->editor()) {
            m_editor = editor;
            connect_listener(static_cast<listener_mgr_i*>(editor), self());
        }
    }
    if (ctrl_center_i* center = module_ctrl_center()) {
        m_catalogue_service = center->get_service(host_service::function_catalogue);
        connect_listener(m_catalogue_service, self());
        if (hub_i* hub = center->get_hub()) {
            m_hub = hub;
            connect_listener(hub, self());
        }
    }
    if (m_kernel) {
        if (product_function_page_i* main = m_kernel->page(page_type::main)) {
            m_dpi_switcher = main->ctrl_funcs(ctrl_type::dpi_switcher);
            connect_listener(m_dpi_switcher, self());
        }
    }
}

void btn_list_fm_c::detach_listeners() {
    if (m_kernel)
        m_kernel->remove_kernel_listener(self());
    if (zarek_data_c* d = data())
        d->remove_listener(self());
    if (auto* editor = qobject_cast<jigsawparent1*>(m_editor.data()))
        disconnect_listener(static_cast<listener_mgr_i*>(editor), self());
    disconnect_listener(m_catalogue_service, self());
    disconnect_listener(m_hub, self());
    disconnect_listener(m_dpi_switcher, self());
    if (menu_i* root = m_catalogue->root_menu())
        disconnect_listener(root, self());
    m_kernel = nullptr;
    m_catalogue_service = nullptr;
    m_hub = nullptr;
    m_dpi_switcher = nullptr;
    m_editor = nullptr;
    m_data_gone = true;
}

void btn_list_fm_c::manager_closing() {
    m_closing = true;
    m_open_menu_timer.stop();
    m_language_timer.stop();
    if (menu_i* root = m_catalogue->root_menu())
        root->close_menu();
    set_current_index(-1);
    detach_listeners();
}

void btn_list_fm_c::manager_closing(listener_mgr_i* manager) {
    if (!manager)
        return;
    if (m_kernel && manager == query<listener_mgr_i>(m_kernel)) {
        m_kernel = nullptr;
        m_data_gone = true;
    }
    if (manager == query<listener_mgr_i>(m_catalogue_service))
        m_catalogue_service = nullptr;
    if (manager == query<listener_mgr_i>(m_hub))
        m_hub = nullptr;
    if (manager == query<listener_mgr_i>(m_dpi_switcher))
        m_dpi_switcher = nullptr;
    form_base_c::manager_closing(manager);
}

interface_i* btn_list_fm_c::query_interface(const GUID& iid) {
    if (iid == iid_menu_item_client_i)
        return static_cast<menu_item_client_i*>(this);
    if (iid == iid_menu_button_item_client_i)
        return static_cast<menu_button_item_client_i*>(this);
    if (iid == iid_edit_timer_fm_client_i)
        return static_cast<edit_timer_fm_client_i*>(this);
    if (iid == iid_btn_jigsaw_listener_i)
        return static_cast<btn_jigsaw_listener_i*>(this);
    if (iid == iid_btn_assignment_listener_i)
        return static_cast<btn_assignment_listener_i*>(this);
    if (iid == iid_product_kernel_listener_i)
        return static_cast<product_kernel_listener_i*>(this);
    if (iid == iid_ctrl_center_listener_i)
        return static_cast<ctrl_center_listener_i*>(this);
    if (iid == iid_menu_listener_i)
        return static_cast<menu_listener_i*>(this);
    if (iid == iid_product_profile_listener_i)
        return static_cast<product_profile_listener_i*>(this);
    if (iid == iid_relay_fx_kernel_listener_i)
        return static_cast<relay_fx_kernel_listener_i*>(this);
    if (iid == iid_macro_listener_i)
        return static_cast<macro_listener_i*>(this);
    if (iid == iid_timer_listener_i)
        return static_cast<timer_listener_i*>(this);
    if (iid == iid_dpi_switcher_ctrl_funcs_listener_i)
        return static_cast<dpi_switcher_ctrl_funcs_listener_i*>(this);
    return form_base_c::query_interface(iid);
}

void btn_list_fm_c::release() {
    form_base_c::release();
}

// ------------------------------------------------------------------ data access

zarek_data_c* btn_list_fm_c::data() const {
    if (m_data_gone || !m_owner)
        return nullptr;
    return m_owner->profile_set();
}

int btn_list_fm_c::current_slot() const {
    return zarek_page_base_c::current_profile_slot();
}

uint8_t* btn_list_fm_c::entry_of(int button_index) const {
    zarek_data_c* d = data();
    if (!d || button_index < 0 || button_index >= catalogue::button_count)
        return nullptr;
    return d->btn_assign(current_slot()).entry(button_index);
}

btn_entry btn_list_fm_c::entry(int button_index) const {
    const uint8_t* e = entry_of(button_index);
    return e ? btn_entry{e[0], e[1], e[2]} : btn_entry{};
}

void btn_list_fm_c::set_entry(int button_index, const btn_entry& value) {
    if (uint8_t* e = entry_of(button_index)) {
        e[0] = value.code;
        e[1] = value.param1;
        e[2] = value.param2;
    }
}

bool btn_list_fm_c::position_fitted(int button_index) const {
    const int p = catalogue::side_position(button_index);
    if (p < 0)
        return true;
    const auto hint = m_fitted_hint.constFind(p);
    if (hint != m_fitted_hint.constEnd())
        return *hint;
    zarek_data_c* d = data();
    if (!d)
        return true;
    return (d->layout(current_slot()).fitted_mask() >> p) & 1u;
}

bool btn_list_fm_c::first_of_double(int button_index) const {
    const int p = catalogue::side_position(button_index);
    zarek_data_c* d = data();
    if (p < 0 || p % 2 || !d)
        return false;
    return side_layout::is_double(d->layout(current_slot()).layout_value(),
                                  side_layout::pair_of(p + 1));
}

// ------------------------------------------------------------------ rows

void btn_list_fm_c::add_standard_row(int row_position, int button_index, bool assignable) {
    add_row(false, row_position, button_index, assignable);
}

void btn_list_fm_c::add_alter_row(int row_position, int button_index, bool assignable) {
    add_row(true, row_position, button_index, assignable);
}

void btn_list_fm_c::add_row(bool alter, int row_position, int button_index, bool assignable) {
    if (button_index < 0 || button_index >= catalogue::button_count || row_position < 0) {
        write_log(QStringLiteral("A button row for index %1 at position %2 was refused.")
                      .arg(button_index)
                      .arg(row_position));
        return;
    }
    if (row(button_index)) {
        write_log(QStringLiteral("Button index %1 has a row already.").arg(button_index));
        return;
    }
    QWidget* numbers = alter ? m_ui->wg_e_btn_nos : m_ui->wg_s_btn_nos;
    QWidget* buttons = alter ? m_ui->wg_e_btns : m_ui->wg_s_btns;
    row_rec r;
    r.alter = alter;
    r.button_index = button_index;
    r.assignable = assignable;
    r.base_assignable = assignable;
    auto* number = new colour_label_c(QString::number(row_position + 1), numbers);
    number->set_colours(box_colour::row_number, box_colour::row_number_disabled);
    r.number = number;
    r.number->setObjectName(QStringLiteral("lb_row_%1").arg(button_index));
    r.number->setGeometry(0, row_pitch * row_position, number_width, row_height);
    r.number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    r.number->setFont(m_row_font);
    auto* button = new row_button_c(buttons);
    button->setObjectName(QStringLiteral("btn_row_%1").arg(button_index));
    button->setGeometry(0, row_pitch * row_position, row_width, row_height);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFont(m_row_font);
    connect(button, &QPushButton::clicked, this, [this, button_index] { click_row(button_index); });
    r.button = button;
    const int needed = row_pitch * row_position + row_height;
    numbers->setMinimumHeight(qMax(numbers->minimumHeight(), needed));
    buttons->setMinimumHeight(qMax(buttons->minimumHeight(), needed));
    (alter ? m_alter_rows : m_standard_rows).insert(button_index, r);
    m_allowed.insert(button_index, catalogue::allowed_codes(button_index, m_vista_or_7));
    apply_row_style(*row(button_index));
    relabel(button_index);
    // Rows made before the list is shown appear with it.
    if (buttons->isVisible()) {
        r.number->show();
        button->show();
    }
}

btn_list_fm_c::row_rec* btn_list_fm_c::row(int button_index) {
    auto it = m_standard_rows.find(button_index);
    if (it != m_standard_rows.end())
        return &it.value();
    it = m_alter_rows.find(button_index);
    return it != m_alter_rows.end() ? &it.value() : nullptr;
}

const btn_list_fm_c::row_rec* btn_list_fm_c::row(int button_index) const {
    return const_cast<btn_list_fm_c*>(this)->row(button_index);
}

QPushButton* btn_list_fm_c::row_button(int button_index) const {
    const row_rec* r = row(button_index);
    return r ? r->button : nullptr;
}

QLabel* btn_list_fm_c::row_number(int button_index) const {
    const row_rec* r = row(button_index);
    return r ? r->number : nullptr;
}

bool btn_list_fm_c::is_assignable(int button_index) const {
    const row_rec* r = row(button_index);
    return r && r->assignable;
}

void btn_list_fm_c::allow_code(int button_index, int code) {
    QVector<int>& codes = m_allowed[button_index];
    if (codes.contains(code))
        return;
    codes.insert(std::lower_bound(codes.begin(), codes.end(), code), code);
}

void btn_list_fm_c::disallow_code(int button_index, int code) {
    auto it = m_allowed.find(button_index);
    if (it != m_allowed.end())
        it->removeAll(code);
}

QVector<int> btn_list_fm_c::allowed_codes(int button_index) const {
    return m_allowed.value(button_index);
}

bool btn_list_fm_c::is_allowed(int button_index, int code) const {
    const auto it = m_allowed.constFind(button_index);
    return it != m_allowed.constEnd() && std::binary_search(it->begin(), it->end(), code);
}

void btn_list_fm_c::set_assignable(int button_index, bool assignable) {
    row_rec* r = row(button_index);
    if (!r)
        return;
    r->base_assignable = assignable;
    r->assignable = assignable && !twin_locked(button_index);
    apply_row_style(*r);
}

void btn_list_fm_c::apply_row_style(row_rec& r) {
    // The row draws its arrow while it opens the catalogue.
    r.button->set_assignable(r.assignable);
}

void btn_list_fm_c::set_greyed(row_rec& r, bool greyed) {
    // A greyed row is a disabled one: both paint themselves in their disabled colours.
    r.number->setEnabled(!greyed);
    r.button->setEnabled(!greyed);
}

void btn_list_fm_c::set_show_all_positions(bool show_all) {
    if (m_show_all == show_all)
        return;
    m_show_all = show_all;
    relabel_all();
}

bool btn_list_fm_c::twin_locked(int button_index) const {
    const int twin = catalogue::twin_of(button_index);
    if (twin < 0 || !row(button_index))
        return false;
    return catalogue::locks_twin(entry(twin).code);
}

// ------------------------------------------------------------------ labels

QString btn_list_fm_c::row_label(int button_index) const {
    const int p = catalogue::side_position(button_index);
    if (p >= 0 && !m_show_all && !position_fitted(button_index))
        return text_of(catalogue::text_unfitted);
    if (twin_locked(button_index))
        return tr(disabled_label);
    zarek_data_c* d = data();
    if (!d)
        return row(button_index) ? row(button_index)->button->text() : QString();
    const int slot = current_slot();
    const btn_entry e = entry(button_index);
    const int code = e.code;
    if (code >= 51 && code <= 55)
        return catalogue::dpi_step_label(text_of(catalogue::text_dpi),
                                         text_of(catalogue::text_dpi_step),
                                         d->settings(slot).dpi(code - 51));
    if (code == 15 || code == 137 || code == 138) {
        const QString path = d->text_map(slot).value(button_index);
        return catalogue::open_prefix(code) + QFileInfo(path).fileName();
    }
    if (code == 139)
        return catalogue::open_prefix(code) + d->text_map(slot).value(button_index);
    if (code == function_code::hotkey)
        return shortcut_text(e.param1, e.param2);
    if (code == function_code::macro)
        return QString::fromUtf8(device_macro_name(d->macro(slot, button_index)));
    if (code == function_code::timer) {
        const auto it = d->param_map(slot).constFind(button_index);
        if (it == d->param_map(slot).constEnd())
            return QString();
        return timer_name(it->u32(0));
    }
    if (code == function_code::custom_dpi)
        return catalogue::dpi_value_label(text_of(catalogue::text_dpi), e.param1 | e.param2 << 8);
    if (code == 81 || code == 82) {
        const auto it = d->data_map(slot).constFind(button_index);
        if (it == d->data_map(slot).constEnd())
            return catalogue::talk_label(code, QString());
        const QByteArray name = read_text8(
            it->data() + button_side_record::talk_name_at,
            std::size_t(button_side_record::data_size - button_side_record::talk_name_at));
        return catalogue::talk_label(code, QString::fromUtf8(name));
    }
    const QString label = m_catalogue->first_label(code);
    if (label.isEmpty() && !m_catalogue->root().children.empty())
        log_unknown(button_index, code);
    return label;
}

QString btn_list_fm_c::timer_name(uint32_t identifier) const {
    auto* service = query<catalogue_service_i>(m_catalogue_service);
    const int index = service ? service->timer_index(identifier) : -1;
    if (index < 0)
        return tr(disabled_label);
    return service->timer_name(index);
}

void btn_list_fm_c::log_unknown(int button_index, int code) const {
    const int key = button_index << 16 | code;
    if (m_logged_unknown.contains(key))
        return;
    m_logged_unknown.insert(key);
    write_log(QStringLiteral("Button %1 carries function code %2, which the catalogue does not "
                             "list; it is shown without a label and kept as it is.")
                  .arg(button_index)
                  .arg(code));
}

void btn_list_fm_c::relabel(int button_index) {
    row_rec* r = row(button_index);
    if (!r)
        return;
    const bool unfitted = catalogue::side_position(button_index) >= 0 && !m_show_all && data() &&
                          !position_fitted(button_index);
    r->assignable = r->base_assignable && !twin_locked(button_index);
    apply_row_style(*r);
    set_greyed(*r, unfitted);
    const QString text = row_label(button_index);
    r->button->setText(text);
    // A code the catalogue does not know shows no label (and stays stored as it is); the
    // tool tip says why the row is empty.
    const btn_entry e = entry(button_index);
    const bool unknown = text.isEmpty() && data() && !unfitted &&
                         m_catalogue->first_label(e.code).isEmpty() &&
                         e.code != function_code::macro && e.code != function_code::timer &&
                         e.code != function_code::hotkey;
    r->button->setToolTip(unknown ? tr("Function %1 is not offered by this module; the button "
                                       "keeps it until you choose another.")
                                        .arg(e.code)
                                  : QString());
}

void btn_list_fm_c::relabel_all() {
    for (int index : m_standard_rows.keys())
        relabel(index);
    for (int index : m_alter_rows.keys())
        relabel(index);
}

void btn_list_fm_c::reload() {
    m_fitted_hint.clear();
    read_dpi_from_profile();
    relabel_all();
}

void btn_list_fm_c::update() {
    m_ui->lb_s_header->setText(tr("STANDARD BUTTONS"));
    m_ui->lb_e_header->setText(tr("ALTER-KEY[+]"));
}

void btn_list_fm_c::language_changed(language_source_i* source, void* ignored) {
    form_base_c::language_changed(source, ignored);
    m_language_timer.start();
}

// ------------------------------------------------------------------ catalogue

function_catalogue_inputs btn_list_fm_c::catalogue_inputs() const {
    function_catalogue_c::inputs in;
    if (macro_library_i* library = this->library()) {
        for (int g = 0; g < library->group_count(); ++g) {
            function_catalogue_c::group_view group;
            group.name = library->group_name(g);
            for (int m = 0; m < library->macro_count(g); ++m) {
                if (const library_macro_rec* rec = library->macro_record(g, m))
                    group.macros.append({rec->name(), rec->first_option_word()});
            }
            in.macro_groups.append(group);
        }
    }
    in.timers = timer_views();
    if (zarek_data_c* d = data()) {
        for (int s = 0; s < d->count(); ++s)
            in.profiles.append(d->name(s).name());
    }
    in.dpi_steps = dpi_views();
    auto* service = query<catalogue_service_i>(catalogue_service());
    if (service) {
        for (int i = 0; i < service->device_count(); ++i) {
            if (global_func().device_class(service->device_product_id(i)) == 1)
                in.devices.append({service->device_identifier(i), service->device_name(i)});
        }
    }
    return in;
}

macro_library_i* btn_list_fm_c::library() const {
    hub_i* hub = m_hub;
    if (!hub) {
        ctrl_center_i* center = module_ctrl_center();
        hub = center ? center->get_hub() : nullptr;
    }
    return hub ? hub->macro_library() : nullptr;
}

interface_i* btn_list_fm_c::catalogue_service() const {
    if (m_catalogue_service)
        return m_catalogue_service;
    ctrl_center_i* center = module_ctrl_center();
    return center ? center->get_service(host_service::function_catalogue) : nullptr;
}

QVector<function_catalogue_timer> btn_list_fm_c::timer_views() const {
    QVector<function_catalogue_c::timer_view> timers;
    if (auto* service = query<catalogue_service_i>(catalogue_service())) {
        for (int i = 0; i < service->timer_count(); ++i)
            timers.append({service->timer_identifier(i), service->timer_name(i)});
    }
    return timers;
}

QVector<function_catalogue_dpi> btn_list_fm_c::dpi_views() const {
    QVector<function_catalogue_c::dpi_view> steps;
    for (int s = 0; s < 5; ++s) {
        if (m_dpi[s].enabled)
            steps.append({s, m_dpi[s].dpi});
    }
    return steps;
}

void btn_list_fm_c::read_dpi_from_profile() {
    zarek_data_c* d = data();
    if (!d)
        return;
    profile_settings_rec& settings = d->settings(current_slot());
    for (int s = 0; s < 5; ++s) {
        m_dpi[s].enabled = (settings.dpi_mask() >> s) & 1u;
        m_dpi[s].dpi = settings.dpi(s);
    }
}

void btn_list_fm_c::rebuild_catalogue() {
    m_language_timer.stop();
    if (menu_i* root = m_catalogue->root_menu())
        root->close_menu();
    m_catalogue->build(catalogue_inputs());
    relabel_all();
}

// ------------------------------------------------------------------ menu

int btn_list_fm_c::current_button_index() const {
    return m_current_index;
}

void btn_list_fm_c::set_menu_feedback(main_menu_listener_i* listener) {
    m_feedback = listener;
}

void btn_list_fm_c::set_current_index(int button_index) {
    m_current_index = button_index;
}

void btn_list_fm_c::click_row(int button_index) {
    const row_rec* r = row(button_index);
    if (!r || !r->assignable || m_closing)
        return;
    // The clicked row is the current one from now on; its menu follows shortly.
    m_menu_index = button_index;
    set_current_index(button_index);
    host_menu();
    make_available_for(button_index);
    m_open_menu_timer.start();
}

void btn_list_fm_c::make_available_for(int button_index) {
    const int32_t type = m_kernel ? m_kernel->product_type() : 0;
    m_catalogue->set_available([&](const catalogue_node& entry) {
        if (!is_allowed(button_index, entry.code))
            return false;
        if (entry.code == function_code::macro)
            return global_func().macro_allowed(entry.macro_kind, type);
        return true;
    });
}

void btn_list_fm_c::open_menu_timer_trigger() {
    m_open_menu_timer.stop();
    const row_rec* r = row(m_menu_index);
    menu_i* root = m_catalogue->root_menu();
    if (!r || !root || m_closing)
        return;
    set_current_index(m_menu_index);
    root->popup(r->button->mapToGlobal(QPoint(0, r->button->height())));
}

void btn_list_fm_c::menu_shown(menu_i* menu) {
    if (!menu || menu != m_catalogue->root_menu())
        return;
    if (m_feedback)
        m_feedback->main_menu_shown(menu);
}

void btn_list_fm_c::menu_closed(menu_i* menu) {
    if (!menu || menu != m_catalogue->root_menu())
        return;
    if (m_feedback)
        m_feedback->main_menu_closed(menu);
    set_current_index(-1);
}

void btn_list_fm_c::entry_hovered(menu_entry_i*) {}

void btn_list_fm_c::entry_chosen(menu_entry_i* chosen) {
    auto* code = query<menu_entry_code_i>(chosen);
    if (!code) {
        write_log(QStringLiteral("A chosen menu entry has no function code; nothing changes."));
        return;
    }
    run_choice(m_menu_index, code->code(), code->parameter(), chosen->identifier());
}

void btn_list_fm_c::choose(int button_index, int code, int32_t parameter) {
    run_choice(button_index, code, parameter, uint32_t(parameter));
}

// ------------------------------------------------------------------ choosing

void btn_list_fm_c::run_choice(int button_index, int code, int32_t parameter, uint32_t identifier) {
    zarek_data_c* d = data();
    if (!d || !row(button_index) || m_closing) {
        write_log(QStringLiteral("An entry was chosen without profile data or row (index %1); "
                                 "nothing changes.")
                      .arg(button_index));
        return;
    }
    if (code < 0 || code > 256) {
        write_log(QStringLiteral("Chosen function code %1 is out of range.").arg(code));
        return;
    }
    QPointer<btn_list_fm_c> alive(this);
    bool changed = false;
    switch (code) {
    case function_code::hotkey:
        changed = run_hotkey(button_index);
        break;
    case 15:
    case 137:
    case 138:
        changed = run_open_path(button_index, code);
        break;
    case 139:
        changed = run_web_address(button_index);
        break;
    case function_code::macro:
        changed = assign_macro(button_index, parameter);
        break;
    case function_code::timer:
        changed = assign_timer(button_index, identifier);
        break;
    case function_code::new_timer:
        changed = run_new_timer(button_index);
        break;
    case function_code::manage_timers:
        run_timer_manager();
        break;
    case function_code::new_macro:
        run_new_macro();
        break;
    case function_code::profile_value:
        changed = run_code_253(button_index);
        break;
    case 81:
    case 82:
    case 83:
    case 84:
        changed = assign_talk(button_index, code, uint16_t(identifier));
        break;
    case function_code::custom_dpi:
        changed = run_value_slider(button_index);
        break;
    case function_code::reset:
        if (uint8_t* e = entry_of(button_index)) {
            d->restore_default_entry(button_index, e);
            changed = true;
        }
        break;
    default:
        set_entry(button_index, {uint8_t(code), 0, 0});
        changed = true;
        break;
    }
    if (alive && changed && data())
        store_chosen(button_index);
}

void btn_list_fm_c::store_chosen(int button_index) {
    zarek_data_c* d = data();
    relabel(button_index);
    if (first_of_double(button_index) && d) {
        const int next = button_index + 1;
        const int slot = current_slot();
        const btn_entry e = entry(button_index);
        set_entry(next, e);
        if (e.code == function_code::macro) {
            d->macro(slot, next) = d->macro(slot, button_index);
            d->macro(slot, next).button() = uint8_t(next);
        } else if (e.code == function_code::timer) {
            const auto it = d->param_map(slot).constFind(button_index);
            if (it != d->param_map(slot).constEnd()) {
                btn_param_block block = *it;
                block.set_u16(4, uint16_t(next));
                d->param_map(slot).insert(next, block);
            }
        } else if (e.code >= 81 && e.code <= 84) {
            const auto it = d->data_map(slot).constFind(button_index);
            if (it != d->data_map(slot).constEnd())
                d->data_map(slot).insert(next, *it);
        } else if (!catalogue::open_prefix(e.code).isEmpty()) {
            // The partner opens the same path, like the block's first button.
            d->text_map(slot).insert(next, d->text_map(slot).value(button_index));
        }
        apply_twin_rule(next);
        relabel(next);
    }
    apply_twin_rule(button_index);
    emit button_changed(button_index);
}

void btn_list_fm_c::apply_twin_rule(int button_index) {
    const int twin = catalogue::twin_of(button_index);
    if (twin < 0)
        return;
    if (catalogue::locks_twin(entry(button_index).code))
        set_entry(twin, {0, 0, 0});
    // relabel() derives the lock from the entry, so a freed twin keeps its entry as it is.
    relabel(twin);
}

bool btn_list_fm_c::run_hotkey(int button_index) {
    auto* dialog = create_dialog<hotkey_dialog_i>(class_id::hotkey_dialog);
    uint8_t* e = entry_of(button_index);
    if (!dialog || !e)
        return false;
    uint8_t work[3] = {e[0], e[1], e[2]};
    QPointer<btn_list_fm_c> alive(this);
    const int32_t answer = dialog->run(work, function_code::hotkey, 4);
    dialog->release();
    if (!alive || answer != 1 || !entry_of(button_index))
        return false;
    set_entry(button_index, {uint8_t(function_code::hotkey), work[1], work[2]});
    return true;
}

QString btn_list_fm_c::run_file_dialog(int code) {
    QFileDialog dialog(this);
    if (code == 15) {
        dialog.setWindowTitle(text_of(195));
        dialog.setNameFilter(text_of(196));
        dialog.setFileMode(QFileDialog::AnyFile);
    } else if (code == 137) {
        dialog.setWindowTitle(text_of(197));
        dialog.setNameFilter(text_of(198));
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setWindowTitle(text_of(199));
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

bool btn_list_fm_c::run_open_path(int button_index, int code) {
    QPointer<btn_list_fm_c> alive(this);
    const QString path = m_file_chooser ? m_file_chooser(code) : QString();
    zarek_data_c* d = alive ? data() : nullptr;
    if (!d || path.isEmpty())
        return false;
    d->text_map(current_slot()).insert(button_index, path);
    set_entry(button_index, {uint8_t(code), 0, 0});
    return true;
}

bool btn_list_fm_c::run_web_address(int button_index) {
    auto* dialog = create_dialog<web_address_dialog_i>(class_id::web_address_dialog);
    if (!dialog)
        return false;
    if (zarek_data_c* d = data(); d && entry(button_index).code == 139)
        dialog->set_address(d->text_map(current_slot()).value(button_index));
    QPointer<btn_list_fm_c> alive(this);
    const int32_t answer = dialog->run();
    const QString address = dialog->address();
    dialog->release();
    zarek_data_c* d = alive ? data() : nullptr;
    if (!d || answer != 1)
        return false;
    d->text_map(current_slot()).insert(button_index, address);
    set_entry(button_index, {139, 0, 0});
    return true;
}

bool btn_list_fm_c::assign_macro(int button_index, int32_t parameter) {
    zarek_data_c* d = data();
    macro_library_i* library = this->library();
    const int group = int(uint32_t(parameter) >> 16);
    const int index = int(uint32_t(parameter) & 0xFFFF);
    const library_macro_rec* record = library ? library->macro_record(group, index) : nullptr;
    if (!d || !record) {
        write_log(QStringLiteral("Macro %1 of group %2 is not in the library; button %3 keeps "
                                 "its function.")
                      .arg(index)
                      .arg(group)
                      .arg(button_index));
        return false;
    }
    const int slot = current_slot();
    convert_library_macro(library->group_name(group), uint8_t(slot), uint8_t(button_index), *record,
                          d->macro(slot, button_index));
    set_entry(button_index, {uint8_t(function_code::macro), 0, 0});
    return true;
}

bool btn_list_fm_c::assign_timer(int button_index, uint32_t identifier) {
    zarek_data_c* d = data();
    if (!d)
        return false;
    btn_param_block block;
    block.set_u32(0, identifier);
    block.set_u16(4, uint16_t(button_index));
    d->param_map(current_slot()).insert(button_index, block);
    set_entry(button_index, {uint8_t(function_code::timer), 0, 0});
    return true;
}

bool btn_list_fm_c::run_new_timer(int button_index) {
    auto* dialog = create_dialog<new_timer_dialog_i>(class_id::new_timer_dialog);
    if (!dialog)
        return false;
    QPointer<btn_list_fm_c> alive(this);
    const int32_t answer = dialog->run();
    if (!alive || answer != 1) {
        dialog->release();
        return false;
    }
    auto* service = query<catalogue_service_i>(catalogue_service());
    QRandomGenerator random(uint32_t(QTime::currentTime().msec()));
    uint32_t identifier = random.generate();
    while (service && service->timer_index(identifier) >= 0)
        identifier = random.generate();
    const bool stored = dialog->store(identifier);
    dialog->release();
    if (!stored) {
        write_log(QStringLiteral("The host did not keep the new timer; button %1 keeps its "
                                 "function.")
                      .arg(button_index));
        return false;
    }
    return assign_timer(button_index, identifier);
}

void btn_list_fm_c::run_timer_manager() {
    auto* dialog = create_dialog<timer_manager_dialog_i>(class_id::timer_manager_dialog);
    if (!dialog)
        return;
    dialog->set_client(this);
    QPointer<btn_list_fm_c> alive(this);
    dialog->run();
    dialog->set_client(nullptr);
    dialog->release();
    if (alive)
        timers_changed();
}

void btn_list_fm_c::run_new_macro() {
    if (auto* service = query<catalogue_service_i>(catalogue_service()))
        service->new_macro();
    else
        write_log(QStringLiteral("The host offers no macro editor."));
}

bool btn_list_fm_c::run_code_253(int button_index) {
    auto* dialog = create_dialog<code_253_dialog_i>(class_id::code_253_dialog);
    zarek_data_c* d = data();
    if (!dialog || !d)
        return false;
    uint32_t value = uint32_t(d->name(current_slot()).code_253_value());
    QPointer<btn_list_fm_c> alive(this);
    const int32_t answer = dialog->run(&value);
    dialog->release();
    d = alive ? data() : nullptr;
    if (!d || answer != 1)
        return false;
    d->name(current_slot()).set_code_253_value(int32_t(value));
    set_entry(button_index, {uint8_t(function_code::profile_value), 0, 0});
    return true;
}

bool btn_list_fm_c::assign_talk(int button_index, int code, uint16_t device) {
    zarek_data_c* d = data();
    if (!d)
        return false;
    QString name = m_talk_devices.value(device);
    if (name.isEmpty() && device) {
        if (auto* service = query<catalogue_service_i>(catalogue_service()))
            name = service->device_name(service->device_index(device));
    }
    btn_data_block block;
    block.set_u16(0, button_side_record::talk_magic);
    block.set_u16(2, device);
    static const QMap<int, uint8_t> remote = {{81, 245}, {82, 246}, {83, 140}, {84, 141}};
    block.b[4] = remote.value(code);
    const QByteArray bytes = utf8_prefix(name.toUtf8(), button_side_record::data_size -
                                                            button_side_record::talk_name_at - 1);
    std::memcpy(block.data() + button_side_record::talk_name_at, bytes.constData(),
                std::size_t(bytes.size()));
    d->data_map(current_slot()).insert(button_index, block);
    set_entry(button_index, {uint8_t(code), 0, 0});
    return true;
}

bool btn_list_fm_c::run_value_slider(int button_index) {
    auto* dialog = create_dialog<value_slider_dialog_i>(class_id::value_slider_dialog);
    if (!dialog)
        return false;
    const btn_entry e = entry(button_index);
    const int initial = e.code == function_code::custom_dpi ? (e.param1 | e.param2 << 8) : 1200;
    dialog->setup(12000, 200, 10, initial, -1, 1);
    for (auto [value, percent] :
         {std::pair{200, 0}, {2000, 20}, {4000, 40}, {6000, 60}, {8200, 80}, {12000, 100}})
        dialog->add_tick(value, QString::number(value), percent);
    QPointer<btn_list_fm_c> alive(this);
    const int32_t answer = dialog->run();
    const int value = qBound(200, int(dialog->value()), 12000);
    dialog->release();
    if (!alive || answer != 1 || !data())
        return false;
    set_entry(button_index,
              {uint8_t(function_code::custom_dpi), uint8_t(value & 0xFF), uint8_t(value >> 8)});
    return true;
}

template <class T>
T* btn_list_fm_c::create_dialog(int32_t class_id) {
    module_host_i* host = module_host();
    interface_i* made = host ? host->create_instance(class_id, iid_of<T>::value) : nullptr;
    T* dialog = query<T>(made);
    if (!dialog) {
        if (made)
            made->release();
        write_log(QStringLiteral("The host made no dialog of class %1; the button keeps its "
                                 "function.")
                      .arg(class_id, 4, 16, QLatin1Char('0')));
    }
    return dialog;
}

bool btn_list_fm_c::timer_in_use(uint32_t identifier) {
    zarek_data_c* d = data();
    if (!d)
        return false;
    for (int s = 0; s < d->count(); ++s) {
        const btn_assign_rec& assign = d->btn_assign(s);
        const btn_param_map& params = d->param_map(s);
        for (auto it = params.constBegin(); it != params.constEnd(); ++it) {
            if (it.key() >= 0 && it.key() < catalogue::button_count &&
                assign.get(it.key()).code == function_code::timer && it->u32(0) == identifier)
                return true;
        }
    }
    return false;
}

// ------------------------------------------------------------------ notifications

void btn_list_fm_c::on_button_fitted(int32_t button_index, bool fitted) {
    if (button_index < 8 || button_index > 19) {
        write_log(QStringLiteral("The layout editor reported side button %1, which does not "
                                 "exist.")
                      .arg(button_index));
        return;
    }
    if (!fitted && !m_show_all) {
        // The cap came off: the position's functions go on both layers.
        m_fitted_hint.insert(button_index - 8, false);
        for (int index : {int(button_index), int(button_index) + 20}) {
            set_entry(index, {0, 0, 0});
            relabel(index);
            if (row_rec* r = row(index)) {
                r->button->setText(text_of(catalogue::text_unfitted));
                set_greyed(*r, true);
            }
        }
        m_fitted_hint.insert(button_index - 8, false);
        return;
    }
    m_fitted_hint.insert(button_index - 8, fitted);
    relabel(button_index);
    relabel(button_index + 20);
}

void btn_list_fm_c::on_pair_kind(int32_t, bool) {}

void btn_list_fm_c::on_layout_record(const btn_layout_rec&) {
    m_fitted_hint.clear();
    relabel_all();
}

void btn_list_fm_c::current_profile_changed() {
    reload();
    m_catalogue->set_dpi_steps(dpi_views());
}

void btn_list_fm_c::data_changed() {
    reload();
}

void btn_list_fm_c::everything_reset() {
    reload();
    m_catalogue->set_dpi_steps(dpi_views());
}

void btn_list_fm_c::refresh_profiles() {
    QStringList names;
    if (zarek_data_c* d = data()) {
        for (int s = 0; s < d->count(); ++s)
            names.append(d->name(s).name());
    }
    m_catalogue->set_profiles(names);
    relabel_all();
}

void btn_list_fm_c::host_profile_changed(product_kernel_i*) {
    reload();
}

void btn_list_fm_c::name_changed(product_kernel_i*, uint8_t, const QString&) {
    refresh_profiles();
}

void btn_list_fm_c::profile_appended(product_kernel_i*) {
    refresh_profiles();
}

void btn_list_fm_c::profile_inserted(product_kernel_i*, uint8_t) {
    refresh_profiles();
}

void btn_list_fm_c::profile_deleted(product_kernel_i*, uint8_t) {
    refresh_profiles();
}

void btn_list_fm_c::profile_replaced(product_kernel_i*, uint8_t) {
    refresh_profiles();
}

void btn_list_fm_c::talk_device_added(uint16_t identifier, uint16_t product_id,
                                      const QString& name) {
    if (global_func().device_class(product_id) != 1)
        return;
    m_talk_devices.insert(identifier, name);
    m_catalogue->add_device({identifier, name});
}

void btn_list_fm_c::talk_device_removed(uint16_t identifier) {
    m_talk_devices.remove(identifier);
    m_catalogue->remove_device(identifier);
}

bool btn_list_fm_c::on_macros_changed(const QList<library_item>&) {
    // The library changed: groups and names may differ, so the menus are made anew and
    // the macro rows read their (possibly refreshed) records again.
    rebuild_catalogue();
    // The kernel may refresh the device records after this notice; read them once more
    // when it has.
    QMetaObject::invokeMethod(
        this, [this] { relabel_all(); }, Qt::QueuedConnection);
    return false;
}

void btn_list_fm_c::timers_changed() {
    m_catalogue->set_timers(timer_views());
    relabel_all();
}

void btn_list_fm_c::step_enabled_changed(int32_t step, bool on) {
    if (step < 0 || step > 4 || m_dpi[step].enabled == on)
        return;
    m_dpi[step].enabled = on;
    m_catalogue->set_dpi_steps(dpi_views());
}

void btn_list_fm_c::step_dpi_changed(int32_t step, int32_t dpi) {
    if (step < 0 || step > 4 || m_dpi[step].dpi == dpi)
        return;
    m_dpi[step].dpi = dpi;
    m_catalogue->set_dpi_steps(dpi_views());
    // Rows showing that step name its value.
    relabel_all();
}
