#include "button_sets/drag_payload.h"

#include "module/button_set_interfaces.h"

#include <QDropEvent>

QObject* drag_payload::source_of(const QDropEvent* event) {
    if (!event)
        return nullptr;
    if (auto* payload = qobject_cast<const drag_payload*>(event->mimeData()))
        return payload->source();
    return event->source();
}

jigsaw_i* drag_payload::block_of(const QDropEvent* event) {
    return dynamic_cast<jigsaw_i*>(source_of(event));
}
