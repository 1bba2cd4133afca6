#include "host/components/component_context.h"

#include "module/interfaces.h"

component_context_c::component_context_c(ctrl_center_i* centre, QObject* parent)
    : QObject(parent)
    , m_centre(centre) {}

QString component_context_c::text(int32_t id) const {
    text_provider_i* provider = m_centre ? m_centre->get_text_provider() : nullptr;
    return provider ? provider->text(id, 0) : QString();
}
