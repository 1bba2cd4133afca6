// The host components the module asks for by class id, ready for the host's
// component registry.
#pragma once

#include <QVector>
#include <cstdint>
#include <functional>

class interface_i;
class component_context_c;

struct host_component_class_t {
    int32_t class_id;
    // A new component; the caller owns it until it hands it over (release()).
    std::function<interface_i*()> make;
};

// Control box, slider, colour-flow list, the five value controls, the function
// catalogue's menus and dialogs, and the reset confirmation. Components made later
// take their texts and language switches from `context`.
QVector<host_component_class_t> host_component_classes(component_context_c* context);
