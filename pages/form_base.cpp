#include "pages/form_base.h"

#include <QAbstractButton>
#include <QLabel>

form_base_c::~form_base_c() {
    if (m_language_manager)
        m_language_manager->remove_listener(static_cast<listener_i*>(this));
}

interface_i* form_base_c::query_interface(const GUID& iid) {
    if (iid == iid_interface_i || iid == iid_listener_i)
        return static_cast<listener_i*>(this);
    if (iid == iid_language_listener_i)
        return static_cast<language_listener_i*>(this);
    return nullptr;
}

void form_base_c::release() {
    delete this;
}

void form_base_c::manager_closing(listener_mgr_i* manager) {
    if (manager && manager == m_language_manager)
        m_language_manager = nullptr;
}

void form_base_c::language_changed(language_source_i* source, void*) {
    if (source)
        apply_fonts(source->current_language());
}

QString form_base_c::family_for_language(int32_t language, const QString& family) {
    if (language == 1)
        return QString::fromLatin1(language_1_family);
    if (language == 2)
        return QString::fromLatin1(language_2_family);
    return family;
}

void form_base_c::set_widget_font(QWidget* widget, const QString& family, int32_t pixel_size,
                                  int32_t letter_spacing, bool bold, QFont::Style style) {
    for (int32_t language = 0; language <= last_font_language; ++language) {
        font_record record;
        record.bold = bold;
        record.style = static_cast<uint8_t>(style);
        record.pixel_size = pixel_size;
        record.letter_spacing = letter_spacing;
        record.family = family_for_language(language, family);
        record.widget = widget;
        m_fonts[language].push_back(std::move(record));
    }
}

void form_base_c::bind(interface_i* host_object) {
    if (m_language_manager)
        m_language_manager->remove_listener(static_cast<listener_i*>(this));
    m_language_manager = query<listener_mgr_i>(host_object);
    if (!m_language_manager)
        return;
    m_language_manager->add_listener(static_cast<listener_i*>(this));
    if (auto* source = query<language_source_i>(host_object))
        apply_fonts(source->current_language());
}

QFont form_base_c::font_of(const font_record& record) {
    QFont font(record.family);
    if (record.pixel_size > 0)
        font.setPixelSize(record.pixel_size);
    font.setWeight(record.bold ? QFont::Bold : QFont::Normal);
    font.setStyle(static_cast<QFont::Style>(record.style));
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setLetterSpacing(QFont::AbsoluteSpacing, record.letter_spacing);
    return font;
}

void form_base_c::apply_fonts(int32_t language) {
    update();
    const auto it = m_fonts.find(language);
    if (it != m_fonts.end()) {
        for (const font_record& record : it->second) {
            if (record.widget)
                record.widget->setFont(font_of(record));
        }
        // The texts were just translated: a shortened text still shows in full on hover.
        for (const font_record& record : it->second) {
            QWidget* widget = record.widget;
            QString text;
            if (auto* label = qobject_cast<QLabel*>(widget))
                text = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                text = button->text();
            if (!text.isEmpty())
                widget->setToolTip(text);
        }
    }
    fonts_applied();
}
