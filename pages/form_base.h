// The base of the module's forms: fonts per language and retranslation on the host's
// language changes.
#pragma once

#include "module/interfaces.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <map>
#include <vector>

// One widget's font in one language.
struct font_record {
    bool bold = false;
    uint8_t style = QFont::StyleNormal; // a QFont::Style value
    int32_t pixel_size = 0;
    int32_t letter_spacing = 0; // absolute, in pixels
    QString family;
    QPointer<QWidget> widget; // null once the widget is gone
};

// A form derives from a Qt widget class and from form_base_c. It registers its fonts
// with set_widget_font() while it is built and calls bind(module_ctrl_center()) at the
// end of its constructor. Its update() override retranslates its texts for the current
// language; fonts_applied() runs after every font change (to fit widths to new texts).
// Mind that this update() hides QWidget::update() in the form: repaint with
// QWidget::update() explicitly.
class form_base_c : public listener_i, public language_listener_i {
public:
    form_base_c() = default;
    form_base_c(const form_base_c&) = delete;
    form_base_c& operator=(const form_base_c&) = delete;

    // Answers interface_i (with the listener_i sub-object), listener_i and language_listener_i.
    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    // The form stops using a language manager that closes.
    void manager_closing(listener_mgr_i* manager) override;
    // The form's retranslation; empty here.
    void update() override {}

    // Own operations, in slot order.
    // Runs after the fonts of a language were applied; empty here.
    virtual void fonts_applied() {}
    // Leaves the language manager.
    virtual ~form_base_c();
    // Applies the fonts of the source's current language.
    void language_changed(language_source_i* source, void* ignored) override;

    // Registers the widget's font for every language (0..16): language 1 and 2 get their
    // own fixed families, every other language `family`. Takes effect at the next application.
    void set_widget_font(QWidget* widget, const QString& family, int32_t pixel_size,
                         int32_t letter_spacing, bool bold,
                         QFont::Style style = QFont::StyleNormal);
    // Listens to the host object's language changes (its listener_mgr_i) and applies the
    // fonts of its current language (its language source).
    void bind(interface_i* host_object);
    // Retranslates, sets the language's fonts and tool tips, then fonts_applied().
    void apply_fonts(int32_t language);

    // The family a widget gets in `language` when it was registered with `family`.
    static QString family_for_language(int32_t language, const QString& family);
    // The font a record describes.
    static QFont font_of(const font_record& record);

    listener_mgr_i* language_manager() const { return m_language_manager; }
    const std::map<int32_t, std::vector<font_record>>& font_table() const { return m_fonts; }

private:
    listener_mgr_i* m_language_manager = nullptr;
    std::map<int32_t, std::vector<font_record>> m_fonts;
};

// Fixed families of the languages that need their own script support.
inline constexpr const char* language_1_family = "WenQuanYi Micro Hei";
inline constexpr const char* language_2_family = "Noto Sans CJK TC";
// Languages 0..16 have font records.
inline constexpr int32_t last_font_language = 16;
