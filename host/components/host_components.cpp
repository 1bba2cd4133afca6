#include "host/components/host_components.h"

#include "host/components/colour_flow_list.h"
#include "host/components/component_context.h"
#include "host/components/ctrl_box.h"
#include "host/components/slider.h"
#include "host/components/value_ctrl.h"

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
    classes.append({class_id::colour_flow_list, [shared]() -> interface_i* {
                        return static_cast<colour_flow_list_i*>(new colour_flow_list_c(shared));
                    }});
    for (int32_t id : value_kind_t::class_ids()) {
        const value_kind_t* kind = value_kind_t::of(id);
        classes.append({id, [shared, kind]() -> interface_i* {
                            return static_cast<ctrl_funcs_i*>(new value_ctrl_c(*kind, shared));
                        }});
    }
    return classes;
}
