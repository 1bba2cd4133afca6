// Follows the host's language with the module's own translation files.
#pragma once

#include "module/interfaces.h"

#include <QMap>
#include <QString>
#include <QTranslator>

class language_listener_c : public listener_i, public language_listener_i {
public:
    language_listener_c();

    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    void manager_closing(listener_mgr_i* manager) override;
    void update() override;

    virtual ~language_listener_c();
    // Loads and installs the translation of the source's current language.
    virtual void apply_language();
    // The translation file installed last; empty before the first.
    QString applied_file() const { return m_applied; }

    void bind(interface_i* host_object);
    void unbind(interface_i* host_object);
    void add_language(int32_t id, const QString& path);
    QMap<int32_t, QString> languages() const { return m_languages; }
    language_source_i* language_source() const { return m_source; }

private:
    // language_listener_i, reached through the second base.
    void language_changed(language_source_i* source, void* ignored) override;
    // Notifications come for many reasons (the control centre sends update() for every
    // change); the translation is compiled and installed again only for another file.
    void apply_if_changed();
    // Installs the translation of `language`; unless `again`, only when its file is not the
    // one installed already.
    void apply(int32_t language, bool again);

    language_source_i* m_source = nullptr;
    QMap<int32_t, QString> m_languages;
    QTranslator m_translator;
    QString m_applied;
};

// Fills the module's language listener with the translation files of a product type.
void setup_languages(int32_t product_type);
