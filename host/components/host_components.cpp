#include "host/components/host_components.h"

#include "host/components/advanced_ctrls.h"
#include "host/components/colour_flow_list.h"
#include "host/components/component_context.h"
#include "host/components/ctrl_box.h"
#include "host/components/hotkey_dialog.h"
#include "host/components/menu.h"
#include "host/components/reset_confirm.h"
#include "host/components/slider.h"
#include "host/components/timer_dialogs.h"
#include "host/components/title_component.h"
#include "host/components/value_ctrl.h"
#include "host/components/value_dialogs.h"

#include <QPointer>

QVector<host_component_class_t> host_component_classes(component_context_c* context) {
    const QPointer<component_context_c> shared(context);
    QVector<host_component_class_t> classes;
    classes.append({class_id::ctrl_box, [shared]() -> interface_i* {
                        return static_cast<ctrl_box_i*>(new ctrl_box_c(shared));
                    }});
    classes.append({class_id::slider, [shared]() -> interface_i* {
                        return static_cast<slider_i*>(new slider_c(shared));
                    }});
    // The function catalogue's menus and the dialogs behind its entries.
    classes.append({class_id::menu, []() -> interface_i* {
                        return static_cast<menu_i*>(new menu_c);
                    }});
    classes.append({class_id::menu_entry, []() -> interface_i* {
                        return static_cast<menu_entry_i*>(new menu_entry_c);
                    }});
    classes.append({class_id::hotkey_dialog, [shared]() -> interface_i* {
                        return static_cast<hotkey_dialog_i*>(new hotkey_dialog_c(shared));
                    }});
    classes.append({class_id::new_timer_dialog, [shared]() -> interface_i* {
                        return static_cast<new_timer_dialog_i*>(new new_timer_dialog_c(shared));
                    }});
    classes.append({class_id::timer_manager_dialog, [shared]() -> interface_i* {
                        return static_cast<timer_manager_dialog_i*>(
                            new timer_manager_dialog_c(shared));
                    }});
    classes.append({class_id::code_253_dialog, [shared]() -> interface_i* {
                        return static_cast<code_253_dialog_i*>(new code_253_dialog_c(shared));
                    }});
    classes.append({class_id::web_address_dialog, [shared]() -> interface_i* {
                        return static_cast<web_address_dialog_i*>(new web_address_dialog_c(shared));
                    }});
    classes.append({class_id::value_slider_dialog, [shared]() -> interface_i* {
                        return static_cast<value_slider_dialog_i*>(
                            new value_slider_dialog_c(shared));
                    }});
    classes.append({class_id::reset_confirm, [shared]() -> interface_i* {
                        return static_cast<reset_confirm_i*>(new reset_confirm_c(shared));
                    }});
    classes.append({class_id::preset_selector, []() -> interface_i* {
                        return static_cast<preset_selector_i*>(new title_component_c);
                    }});
    classes.append({class_id::colour_flow_list, [shared]() -> interface_i* {
                        return static_cast<colour_flow_list_i*>(new colour_flow_list_c(shared));
                    }});
    // The advanced page's controls and the message box.
    classes.append({class_id::adv_sen_ctrl, [shared]() -> interface_i* {
                        return static_cast<ctrl_funcs_i*>(new adv_sen_ctrl_c(shared));
                    }});
    classes.append({class_id::polling_rate_ctrl, [shared]() -> interface_i* {
                        return static_cast<ctrl_funcs_i*>(new polling_rate_ctrl_c(shared));
                    }});
    classes.append({class_id::device_reset_ctrl, [shared]() -> interface_i* {
                        return static_cast<ctrl_funcs_i*>(new device_reset_ctrl_c(shared));
                    }});
    classes.append({class_id::sound_feedback_ctrl, [shared]() -> interface_i* {
                        return static_cast<ctrl_funcs_i*>(new sound_feedback_ctrl_c(shared));
                    }});
    classes.append({class_id::message_box, [shared]() -> interface_i* {
                        return static_cast<message_box_i*>(new message_box_c(shared));
                    }});
    for (int32_t id : value_kind_t::class_ids()) {
        const value_kind_t* kind = value_kind_t::of(id);
        classes.append({id, [shared, kind]() -> interface_i* {
                            return static_cast<ctrl_funcs_i*>(new value_ctrl_c(*kind, shared));
                        }});
    }
    return classes;
}
