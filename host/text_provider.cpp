#include "host/text_provider.h"

#include "host/texts.h"

#include <utility>

text_provider_c::text_provider_c(std::function<int32_t()> language)
    : m_language(std::move(language)) {}

interface_i* text_provider_c::query_interface(const GUID& iid) {
    // The provider has no id of its own: the centre hands it out directly.
    if (iid == iid_of<interface_i>::value)
        return this;
    return nullptr;
}

QString text_provider_c::text(int32_t id, int32_t /*variant*/) {
    return host_texts::text(id, m_language ? m_language() : host_texts::english);
}
