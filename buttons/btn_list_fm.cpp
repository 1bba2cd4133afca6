#include "buttons/btn_list_fm.h"

#include "buttons/function_catalogue.h"
#include "ui_btn_list_fm.h"

#include <QLabel>
#include <QPushButton>

btn_list_fm_c::btn_list_fm_c(btn_set_owner_i* owner, btn_box_kind kind, QWidget* parent)
    : QWidget(parent)
    , m_owner(owner)
    , m_kind(kind)
    , m_ui(std::make_unique<Ui::btn_list_fm>()) {
    m_ui->setupUi(this);
}

btn_list_fm_c::~btn_list_fm_c() = default;

void btn_list_fm_c::add_standard_row(int, int, bool) {}
void btn_list_fm_c::add_alter_row(int, int, bool) {}
void btn_list_fm_c::allow_code(int, int) {}
void btn_list_fm_c::disallow_code(int, int) {}
void btn_list_fm_c::set_assignable(int, bool) {}
void btn_list_fm_c::set_show_all_positions(bool show_all) {
    m_show_all = show_all;
}
void btn_list_fm_c::reload() {}
void btn_list_fm_c::set_menu_feedback(main_menu_listener_i* listener) {
    m_feedback = listener;
}
int btn_list_fm_c::current_button_index() const {
    return m_current_index;
}
void btn_list_fm_c::manager_closing() {}
QPushButton* btn_list_fm_c::row_button(int) const {
    return nullptr;
}
QLabel* btn_list_fm_c::row_number(int) const {
    return nullptr;
}
bool btn_list_fm_c::is_assignable(int) const {
    return false;
}
QVector<int> btn_list_fm_c::allowed_codes(int) const {
    return {};
}
bool btn_list_fm_c::is_allowed(int, int) const {
    return false;
}
QString btn_list_fm_c::row_label(int) const {
    return {};
}
void btn_list_fm_c::click_row(int) {}
void btn_list_fm_c::choose(int, int, int32_t) {}
void btn_list_fm_c::rebuild_catalogue() {}
interface_i* btn_list_fm_c::query_interface(const GUID& iid) {
    return form_base_c::query_interface(iid);
}
void btn_list_fm_c::release() {
    deleteLater();
}
void btn_list_fm_c::manager_closing(listener_mgr_i* manager) {
    form_base_c::manager_closing(manager);
}
void btn_list_fm_c::update() {}
void btn_list_fm_c::language_changed(language_source_i* source, void* ignored) {
    form_base_c::language_changed(source, ignored);
}
void btn_list_fm_c::entry_hovered(menu_entry_i*) {}
void btn_list_fm_c::entry_chosen(menu_entry_i*) {}
bool btn_list_fm_c::timer_in_use(uint32_t) {
    return false;
}
void btn_list_fm_c::on_button_fitted(int32_t, bool) {}
void btn_list_fm_c::on_pair_kind(int32_t, bool) {}
void btn_list_fm_c::on_layout_record(const btn_layout_rec&) {}
void btn_list_fm_c::current_profile_changed() {}
void btn_list_fm_c::data_changed() {}
void btn_list_fm_c::everything_reset() {}
void btn_list_fm_c::menu_shown(menu_i*) {}
void btn_list_fm_c::menu_closed(menu_i*) {}
void btn_list_fm_c::host_profile_changed(product_kernel_i*) {}
void btn_list_fm_c::name_changed(product_kernel_i*, uint8_t, const QString&) {}
void btn_list_fm_c::profile_appended(product_kernel_i*) {}
void btn_list_fm_c::profile_inserted(product_kernel_i*, uint8_t) {}
void btn_list_fm_c::profile_deleted(product_kernel_i*, uint8_t) {}
void btn_list_fm_c::profile_replaced(product_kernel_i*, uint8_t) {}
void btn_list_fm_c::talk_device_added(uint16_t, uint16_t, const QString&) {}
void btn_list_fm_c::talk_device_removed(uint16_t) {}
bool btn_list_fm_c::on_macros_changed(const QList<library_item>&) {
    return false;
}
void btn_list_fm_c::timers_changed() {}
void btn_list_fm_c::step_enabled_changed(int32_t, bool) {}
void btn_list_fm_c::step_dpi_changed(int32_t, int32_t) {}
void btn_list_fm_c::open_menu_timer_trigger() {}
