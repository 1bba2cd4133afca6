// The interfaces are tables of operations that hosts call by position, and
// their ids are 16-byte values a host compares byte for byte. A host written
// from the same tables must find every operation in its slot and every id
// with the same bytes.
#include "module/button_set_interfaces.h"
#include "module/component_interfaces.h"
#include "module/interface_ids.h"
#include "module/interfaces.h"
#include "module/kernel_host_interfaces.h"
#include "module/kernel_interfaces.h"
#include "module/lighting_interfaces.h"
#include "module/macro_interfaces.h"
#include "module/page_interfaces.h"

#include <QUuid>
#include <QtTest>
#include <cstring>

namespace {

// With the Itanium C++ ABI (GCC and Clang, MinGW included) a pointer to a
// virtual member function holds 1 + the byte offset of its slot.
template <class F>
long slot_of(F member) {
    static_assert(sizeof(F) == 2 * sizeof(void*), "Itanium member function pointer");
    uintptr_t word = 0;
    std::memcpy(&word, &member, sizeof word);
    if ((word & 1) == 0)
        return -1; // not a virtual function
    return long((word - 1) / sizeof(void*));
}

GUID guid_of(const char* text) {
    const QUuid u(QString::fromLatin1(text));
    GUID g{};
    g.Data1 = u.data1;
    g.Data2 = u.data2;
    g.Data3 = u.data3;
    std::memcpy(g.Data4, u.data4, 8);
    return g;
}

} // namespace

class test_abi : public QObject {
    Q_OBJECT

private slots:
    void interface_ids_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("bytes");
        auto row = [](const char* name, const char* text, const GUID& id) {
            QTest::newRow(name) << QByteArray(text)
                                << QByteArray(reinterpret_cast<const char*>(&id), sizeof id);
        };
        row("interface_i", "{FA29F45D-3659-4ECF-B633-8CEA7B9DC899}", iid_interface_i);
        row("listener_i", "{6026A654-3A3C-4C6A-9F0E-93927DE0D13C}", iid_listener_i);
        row("listener_mgr_i", "{6FD16F73-26E6-4534-AA4A-C68176A6549F}", iid_listener_mgr_i);
        row("language_listener_i", "{B6147E46-8555-4443-9EE5-0073A1BB6EC5}",
            iid_language_listener_i);
        row("language source", "{0AEA2014-DD59-461D-9A41-E3E7C5BF25D7}", iid_language_source_i);
        row("profile service", "{92948A09-F6C0-4B75-8F21-F6A59EF0EDEB}", iid_profile_service_i);
        row("profile_i", "{817129B1-78C2-4154-9BD0-8058DC9042E4}", iid_profile_i);
        row("product_kernel_i", "{9314159C-6849-49EE-8367-1E5F76EBF850}", iid_product_kernel_i);
        row("product_kernel_listener_i", "{BA0CF2FD-9378-4EB3-B484-855B7BC0CFF8}",
            iid_product_kernel_listener_i);
        row("product_profile_listener_i", "{4DC179CD-52C7-45FF-8F47-D37113DBC199}",
            iid_product_profile_listener_i);
        row("macro_listener_i", "{72804796-F880-44BC-A0B2-1F1925CA2C82}", iid_macro_listener_i);
        row("ctrl_center_listener_i", "{C44B54D3-D708-4D79-BABD-DFC7BE57EC90}",
            iid_ctrl_center_listener_i);
        row("product_function_page_i", "{41B40BB3-53E4-4719-A89A-E6574805BFA3}",
            iid_product_function_page_i);
        row("favorites_function_page_i", "{14EB0A0B-A912-4AA8-8848-61C162F94E56}",
            iid_favorites_function_page_i);
        row("ctrl_funcs_i", "{039C4E0D-459E-462E-8C16-2ED81A3F9B44}", iid_ctrl_funcs_i);
        row("ctrl_funcs_box_fm_client_i", "{A7B0519F-CD38-4A6F-8175-25CE3AB84088}",
            iid_ctrl_funcs_box_fm_client_i);
        row("value_ctrl_funcs_listener_i", "{3AA223DA-9CAC-4272-A3AF-2CF868396C6F}",
            iid_value_ctrl_funcs_listener_i);
        row("dpi_switcher_ctrl_funcs_i", "{7DA36267-5DD0-4E04-B42E-8B893E72A996}",
            iid_dpi_switcher_ctrl_funcs_i);
        row("dpi_switcher_ctrl_funcs_listener_i", "{41579658-E9C2-4EC7-92FB-6E453356A649}",
            iid_dpi_switcher_ctrl_funcs_listener_i);
        row("surf_lift_ctrl_funcs_i", "{7B6EEE91-8524-40AB-8653-A2A96365F8E1}",
            iid_surf_lift_ctrl_funcs_i);
        row("slider_client_i", "{92F8E99D-8BA0-4C96-8587-D8F711999875}", iid_slider_client_i);
        row("btn_assignment_listener_i", "{AF4D02C2-B8BB-4B02-A712-179A38BCE728}",
            iid_btn_assignment_listener_i);
        row("btn_jigsaw_listener_i", "{10826116-A334-4F24-B669-3C277AC8A202}",
            iid_btn_jigsaw_listener_i);
        row("control box", "{EB56B4CC-5332-48C1-88CC-C0D47819F24B}", iid_ctrl_box_i);
        row("value control", "{F866A773-C15C-4238-BA76-CACCFE3BBBED}", iid_value_ctrl_i);
        row("pointer speed", "{CFFD55DE-AA87-4DC2-A8A2-E59AEA740B28}", iid_pointer_speed_ctrl_i);
        row("vertical scroll", "{EE8BC736-1CBF-4D9B-8ED4-408E1276C8A7}", iid_v_scroll_ctrl_i);
        row("slider", "{F7F05D42-60A9-40B1-AFF8-1BA025CEBE7A}", iid_slider_i);
        row("profile_led_effect_fm_i", "{C8438253-3C1A-449F-A035-A12AC22D5EAD}",
            iid_profile_led_effect_fm_i);
        row("menu", "{92DF3425-87B5-4C53-A702-1C41AF7A235D}", iid_menu_i);
        row("menu entry", "{D66E738D-C660-41C5-8FFD-BFFDF15D656B}", iid_menu_entry_i);
        row("menu entry code", "{8246ED08-D463-4A12-A570-264E9DBA57E3}", iid_menu_entry_code_i);
        row("hotkey dialog", "{6104CB09-C428-40AB-B2C4-49CAE5CBEA18}", iid_hotkey_dialog_i);
        row("new timer", "{9ACB988B-9DDE-4B2C-B297-390C117247FE}", iid_new_timer_dialog_i);
        row("timer manager", "{FC84B338-A6CE-4F94-8657-3251D53C1D83}", iid_timer_manager_dialog_i);
        row("code 253", "{424673E3-FDF0-4920-A7BA-BA99A236212F}", iid_code_253_dialog_i);
        row("web address", "{D89DD2AF-167B-4F3A-99D2-7BCF0675D566}", iid_web_address_dialog_i);
        row("value slider", "{31CA121C-0AA3-42C8-A6E8-7DA856A42FCF}", iid_value_slider_dialog_i);
        row("preset selector", "{DFFD37BD-72AF-46A6-BEF6-953528DE912D}", iid_preset_selector_i);
        row("reset confirmation", "{09C86065-94B3-48E9-811E-907F70FC340A}", iid_reset_confirm_i);
        row("lighting_ctrl_funcs_i", "{4B15DD3F-0B5F-4824-9319-35ED01BD588B}",
            iid_lighting_ctrl_funcs_i);
        row("lighting_ctrl_funcs_listener_i", "{61AA82D7-AA2B-4135-94E8-439C11D749E6}",
            iid_lighting_ctrl_funcs_listener_i);
        row("led_effect_tool_client_i", "{6C6F8D9D-5FE6-4501-A83D-82C884B17717}",
            iid_led_effect_tool_client_i);
        row("colour-flow list", "{8041D87A-AF1A-4552-BE7C-E68F7E95140C}", iid_colour_flow_list_i);
    }
    void interface_ids() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, bytes);
        const GUID expected = guid_of(text.constData());
        QCOMPARE(bytes, QByteArray(reinterpret_cast<const char*>(&expected), sizeof expected));
    }

    void operation_slots_data() {
        QTest::addColumn<long>("slot");
        QTest::addColumn<long>("expected");
        auto row = [](const char* name, long slot, long expected) {
            QTest::newRow(name) << slot << expected;
        };
        row("interface_i::query_interface", slot_of(&interface_i::query_interface), 0);
        row("interface_i::release", slot_of(&interface_i::release), 1);
        row("listener_i::manager_closing", slot_of(&listener_i::manager_closing), 2);
        row("listener_i::update", slot_of(&listener_i::update), 3);
        row("listener_mgr_i::add_listener", slot_of(&listener_mgr_i::add_listener), 2);
        row("listener_mgr_i::remove_listener", slot_of(&listener_mgr_i::remove_listener), 3);
        row("language_listener_i::language_changed",
            slot_of(&language_listener_i::language_changed), 2);
        row("language_source_i::current_language", slot_of(&language_source_i::current_language),
            2);
        row("text_provider_i::text", slot_of(&text_provider_i::text), 2);

        row("module_host_i::get_app", slot_of(&module_host_i::get_app), 3);
        row("module_host_i::register_factory", slot_of(&module_host_i::register_factory), 4);
        row("module_host_i::unregister_factory", slot_of(&module_host_i::unregister_factory), 5);
        row("module_host_i::create_instance", slot_of(&module_host_i::create_instance), 6);

        row("ctrl_center_i::kernel_command", slot_of(&ctrl_center_i::kernel_command), 2);
        row("ctrl_center_i::get_hub", slot_of(&ctrl_center_i::get_hub), 5);
        row("ctrl_center_i::get_text_provider", slot_of(&ctrl_center_i::get_text_provider), 7);
        row("ctrl_center_i::get_service", slot_of(&ctrl_center_i::get_service), 8);
        row("ctrl_center_i::current_kernel", slot_of(&ctrl_center_i::current_kernel), 9);
        row("ctrl_center_i::current_profile_slot", slot_of(&ctrl_center_i::current_profile_slot),
            11);
        row("ctrl_center_i::profile_object", slot_of(&ctrl_center_i::profile_object), 12);
        row("ctrl_center_i::everything_reset", slot_of(&ctrl_center_i::everything_reset), 15);
        row("ctrl_center_i::set_busy", slot_of(&ctrl_center_i::set_busy), 16);
        row("ctrl_center_i::set_live_mode", slot_of(&ctrl_center_i::set_live_mode), 17);

        row("hub_i::macro_library", slot_of(&hub_i::macro_library), 3);
        row("hub_i::hub_bytes", slot_of(&hub_i::hub_bytes), 4);
        row("hub_i::reset_hub_setting", slot_of(&hub_i::reset_hub_setting), 12);

        row("profile_service_i::set_kernel", slot_of(&profile_service_i::set_kernel), 2);
        row("profile_service_i::service_op_4", slot_of(&profile_service_i::service_op_4), 4);
        row("profile_service_i::product_event", slot_of(&profile_service_i::product_event), 5);
        row("profile_service_i::begin_read", slot_of(&profile_service_i::begin_read), 9);
        row("profile_service_i::read_section", slot_of(&profile_service_i::read_section), 12);
        row("profile_service_i::write_section", slot_of(&profile_service_i::write_section), 13);

        row("ctrl_center_listener_i::product_event",
            slot_of(&ctrl_center_listener_i::product_event), 2);
        row("ctrl_center_listener_i::current_kernel_changed",
            slot_of(&ctrl_center_listener_i::current_kernel_changed), 3);

        row("product_kernel_i::attach", slot_of(&product_kernel_i::attach), 2);
        row("product_kernel_i::interface_version", slot_of(&product_kernel_i::interface_version),
            5);
        row("product_kernel_i::open_page", slot_of(&product_kernel_i::open_page), 10);
        row("product_kernel_i::service_query", slot_of(&product_kernel_i::service_query), 12);
        row("product_kernel_i::set_current_profile",
            slot_of(&product_kernel_i::set_current_profile), 17);
        row("product_kernel_i::set_profile_path", slot_of(&product_kernel_i::set_profile_path), 24);
        row("product_kernel_i::profile_picture", slot_of(&product_kernel_i::profile_picture), 31);
        row("product_kernel_i::import_profile", slot_of(&product_kernel_i::import_profile), 35);
        row("product_kernel_i::favorite_ctrl", slot_of(&product_kernel_i::favorite_ctrl), 40);
        row("product_kernel_i::commit", slot_of(&product_kernel_i::commit), 41);
        row("product_kernel_i::on_host_message", slot_of(&product_kernel_i::on_host_message), 43);
        row("product_kernel_i::favorite_item", slot_of(&product_kernel_i::favorite_item), 49);
        // 50 and 51 are the two destructor entries.
        row("product_kernel_i::add_kernel_listener",
            slot_of(&product_kernel_i::add_kernel_listener), 52);
        row("product_kernel_i::on_product_event", slot_of(&product_kernel_i::on_product_event), 54);
        row("product_kernel_i::on_macros_changed", slot_of(&product_kernel_i::on_macros_changed),
            57);
        row("product_kernel_i::on_manager_closing", slot_of(&product_kernel_i::on_manager_closing),
            58);

        row("product_kernel_listener_i::everything_reset",
            slot_of(&product_kernel_listener_i::everything_reset), 4);
        row("product_profile_listener_i::picture_changed",
            slot_of(&product_profile_listener_i::picture_changed), 9);
        row("macro_listener_i::on_macros_changed", slot_of(&macro_listener_i::on_macros_changed),
            2);

        row("profile_i::set_host_value", slot_of(&profile_i::set_host_value), 2);
        row("profile_i::picture", slot_of(&profile_i::picture), 10);
        row("profile_i::clear_picture", slot_of(&profile_i::clear_picture), 16);
        row("profile_i::write", slot_of(&profile_i::write), 19);
        row("profile_i::read", slot_of(&profile_i::read), 20);

        row("product_function_page_i::init", slot_of(&product_function_page_i::init), 2);
        row("product_function_page_i::reset_ctrl", slot_of(&product_function_page_i::reset_ctrl),
            8);
        row("product_function_page_i::close_page", slot_of(&product_function_page_i::close_page),
            11);
        row("favorites_function_page_i::remove_favorite",
            slot_of(&favorites_function_page_i::remove_favorite), 3);
        row("ctrl_funcs_i::set_context", slot_of(&ctrl_funcs_i::set_context), 2);
        row("ctrl_funcs_i::ctrl_type", slot_of(&ctrl_funcs_i::ctrl_type), 5);
        row("ctrl_funcs_i::favorite_changed", slot_of(&ctrl_funcs_i::favorite_changed), 9);
        row("ctrl_funcs_box_fm_client_i::reset_requested",
            slot_of(&ctrl_funcs_box_fm_client_i::reset_requested), 2);
        row("value_ctrl_funcs_listener_i::value_changed",
            slot_of(&value_ctrl_funcs_listener_i::value_changed), 2);
        row("dpi_switcher_ctrl_funcs_i::set_step_dpi",
            slot_of(&dpi_switcher_ctrl_funcs_i::set_step_dpi), 7);
        row("dpi_switcher_ctrl_funcs_listener_i::active_step_changed",
            slot_of(&dpi_switcher_ctrl_funcs_listener_i::active_step_changed), 4);
        row("surf_lift_ctrl_funcs_i::calibration_result",
            slot_of(&surf_lift_ctrl_funcs_i::calibration_result), 6);
        row("profile_led_effect_fm_i::attach", slot_of(&profile_led_effect_fm_i::attach), 2);
        row("profile_led_effect_fm_i::refresh", slot_of(&profile_led_effect_fm_i::refresh), 3);
        row("lighting_ctrl_funcs_i::is_lighting_on",
            slot_of(&lighting_ctrl_funcs_i::is_lighting_on), 2);
        row("lighting_ctrl_funcs_i::set_lighting_on",
            slot_of(&lighting_ctrl_funcs_i::set_lighting_on), 6);
        row("lighting_ctrl_funcs_i::refresh_colors",
            slot_of(&lighting_ctrl_funcs_i::refresh_colors), 10);
        row("lighting_ctrl_funcs_listener_i::colors_changed",
            slot_of(&lighting_ctrl_funcs_listener_i::colors_changed), 6);
        row("led_effect_tool_client_i::show_led_colors",
            slot_of(&led_effect_tool_client_i::show_led_colors), 2);
        row("combobox_fm_client_i::item_chosen", slot_of(&combobox_fm_client_i::item_chosen), 2);
        row("colour_flow_list_i::attach", slot_of(&colour_flow_list_i::attach), 2);
        row("colour_flow_list_i::select", slot_of(&colour_flow_list_i::select), 3);
        row("colour_flow_list_i::set_text", slot_of(&colour_flow_list_i::set_text), 5);
        row("colour_flow_list_i::current_index", slot_of(&colour_flow_list_i::current_index), 10);
        row("colour_flow_list_i::text", slot_of(&colour_flow_list_i::text), 11);

        row("ctrl_box_i::set_client", slot_of(&ctrl_box_i::set_client), 2);
        row("ctrl_box_i::set_icon", slot_of(&ctrl_box_i::set_icon), 4);
        row("ctrl_box_i::set_title", slot_of(&ctrl_box_i::set_title), 5);
        row("ctrl_box_i::set_help", slot_of(&ctrl_box_i::set_help), 6);
        row("ctrl_box_i::set_favorite_mark", slot_of(&ctrl_box_i::set_favorite_mark), 7);
        row("ctrl_box_i::set_height", slot_of(&ctrl_box_i::set_height), 11);
        row("ctrl_box_i::attach", slot_of(&ctrl_box_i::attach), 12);
        row("ctrl_box_i::detach", slot_of(&ctrl_box_i::detach), 13);
        row("value_ctrl_i::setup", slot_of(&value_ctrl_i::setup), 2);
        row("value_ctrl_i::set_value", slot_of(&value_ctrl_i::set_value), 4);
        row("pointer_speed_ctrl_i::set_hub_byte_0", slot_of(&pointer_speed_ctrl_i::set_hub_byte_0),
            4);
        row("pointer_speed_ctrl_i::set_hub_byte_1", slot_of(&pointer_speed_ctrl_i::set_hub_byte_1),
            5);
        row("v_scroll_ctrl_i::set_hub_byte_2", slot_of(&v_scroll_ctrl_i::set_hub_byte_2), 3);
        row("slider_client_i::slider_value_changed",
            slot_of(&slider_client_i::slider_value_changed), 2);
        row("slider_client_i::slider_pressed", slot_of(&slider_client_i::slider_pressed), 3);
        row("slider_i::set_parent", slot_of(&slider_i::set_parent), 2);
        row("slider_i::value", slot_of(&slider_i::value), 7);
        row("slider_i::set_style_variant", slot_of(&slider_i::set_style_variant), 10);
        row("slider_i::set_geometry_parts", slot_of(&slider_i::set_geometry_parts), 11);
        row("slider_i::set_handle_image", slot_of(&slider_i::set_handle_image), 13);
        row("slider_i::set_client", slot_of(&slider_i::set_client), 15);
        // The side-panel editor's interfaces.
        row("jigsawParent_i::redo", slot_of(&jigsawParent_i::redo), 2);
        row("jigsawParent_i::undo", slot_of(&jigsawParent_i::undo), 3);
        row("jigsaw_i::block_kind", slot_of(&jigsaw_i::block_kind), 0);
        row("jigsaw_i::accepts_panel_drop", slot_of(&jigsaw_i::accepts_panel_drop), 2);
        row("btn_jigsaw_listener_i::on_button_fitted",
            slot_of(&btn_jigsaw_listener_i::on_button_fitted), 2);
        row("btn_jigsaw_listener_i::on_undo_redo_state",
            slot_of(&btn_jigsaw_listener_i::on_undo_redo_state), 4);
        row("btn_assignment_listener_i::on_layout_record",
            slot_of(&btn_assignment_listener_i::on_layout_record), 2);
        // The function catalogue's host side: ends of each table, so a moved
        // or inserted operation shows.
        row("menu_i::add_child", slot_of(&menu_i::add_child), 2);
        row("menu_i::popup", slot_of(&menu_i::popup), 9);
        row("menu_i::child_count", slot_of(&menu_i::child_count), 13);
        row("menu_entry_i::set_client", slot_of(&menu_entry_i::set_client), 3);
        row("menu_entry_i::label", slot_of(&menu_entry_i::label), 11);
        row("menu_entry_code_i::parameter", slot_of(&menu_entry_code_i::parameter), 5);
        row("menu_button_item_client_i::entry_chosen",
            slot_of(&menu_button_item_client_i::entry_chosen), 2);
        row("main_menu_listener_i::main_menu_closed",
            slot_of(&main_menu_listener_i::main_menu_closed), 3);
        row("hotkey_dialog_i::run", slot_of(&hotkey_dialog_i::run), 2);
        row("new_timer_dialog_i::timer_name", slot_of(&new_timer_dialog_i::timer_name), 4);
        row("timer_manager_dialog_i::run", slot_of(&timer_manager_dialog_i::run), 3);
        row("web_address_dialog_i::set_address", slot_of(&web_address_dialog_i::set_address), 4);
        row("value_slider_dialog_i::set_title", slot_of(&value_slider_dialog_i::set_title), 6);
        row("reset_confirm_i::close_confirm", slot_of(&reset_confirm_i::close_confirm), 4);
        row("preset_selector_i::set_texts", slot_of(&preset_selector_i::set_texts), 3);
        row("preset_selector_i::set_client", slot_of(&preset_selector_i::set_client), 6);
        row("relay_fx_kernel_listener_i::talk_device_removed",
            slot_of(&relay_fx_kernel_listener_i::talk_device_removed), 3);
        row("catalogue_service_i::new_macro", slot_of(&catalogue_service_i::new_macro), 11);
    }
    void operation_slots() {
        QFETCH(long, slot);
        QFETCH(long, expected);
        QCOMPARE(slot, expected);
    }
};

QTEST_APPLESS_MAIN(test_abi)
#include "test_abi.moc"
