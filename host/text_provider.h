// The control centre's text provider: host texts by number in the current language.
#pragma once

#include "module/interfaces.h"

#include <functional>

class text_provider_c : public text_provider_i {
public:
    // `language` tells the language in force at each call, so the provider
    // follows every switch without being told.
    explicit text_provider_c(std::function<int32_t()> language);
    text_provider_c(const text_provider_c&) = delete;
    text_provider_c& operator=(const text_provider_c&) = delete;
    virtual ~text_provider_c() = default;

    interface_i* query_interface(const GUID& iid) override;
    // The control centre owns its provider; the module never ends it.
    void release() override {}
    QString text(int32_t id, int32_t variant) override;

private:
    std::function<int32_t()> m_language;
};
