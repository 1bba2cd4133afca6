// The base of every page: what a page is told by the host's control centre and by
// its kernel, and the page's tab button.
#pragma once

#include "module/kernel_host_interfaces.h"
#include "module/page_interfaces.h"

#include <QPointer>
#include <QPushButton>

struct tab_images;

// A concrete page derives from this class and from product_function_page_i (and its
// listener interfaces). It must override query_interface (answering its own interfaces,
// then deferring to zarek_page_base_c::query_interface) and release (deferring to
// zarek_page_base_c::release), since its further bases declare both again.
// It overrides update() with its refresh and language_changed() to set the tab
// button's new title before calling the base, which fits the width.
class zarek_data_c;

class zarek_page_base_c : public listener_i,
                          public language_listener_i,
                          public ctrl_center_listener_i,
                          public product_kernel_listener_i {
public:
    // Keeps the kernel and listens to it and to the host's control centre.
    explicit zarek_page_base_c(product_kernel_i* kernel);
    zarek_page_base_c(const zarek_page_base_c&) = delete;
    zarek_page_base_c& operator=(const zarek_page_base_c&) = delete;

    // Answers interface_i (with the listener_i sub-object), listener_i,
    // language_listener_i, ctrl_center_listener_i and product_kernel_listener_i.
    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // listener_i: a closing manager is ignored; update() is the concrete page's refresh.
    void manager_closing(listener_mgr_i* manager) override;
    void update() override;

    // Stops listening to the kernel and the control centre.
    virtual ~zarek_page_base_c();

    // Own operations, in slot order; the secondary interfaces land here.
    // Fits the tab button's width to its (already translated) title.
    void language_changed(language_source_i* source, void* ignored) override;
    void product_event(int32_t product_type) override;
    // Forgets the tab button unless the host now shows this page's kernel.
    void current_kernel_changed(product_kernel_i* kernel) override;
    void ctrl_center_notice(int32_t value) override;
    // Kernel notifications: kind 1 and kind 0 refresh the page, kind 2 is ignored.
    void current_profile_changed() override;
    void data_changed() override;
    void everything_reset() override;

    product_kernel_i* kernel() const { return m_kernel; }
    // The kernel's profile set, which pages read and write directly; null without one.
    zarek_data_c* profile_set() const;
    // The tab button the page handed out, or null (also once the host destroyed it).
    QPushButton* tab_button() const { return m_tab_button; }

    // A host text by number from the control centre's text provider; empty without one.
    static QString host_text(int32_t text_id);
    // The profile slot the host shows; 0 when it reports none (0xFF) or there is no host.
    static uint8_t current_profile_slot();

protected:
    // Builds the tab button titled with host text `text_id` ("tab_" images), keeps it and
    // returns it for create_tab_button().
    QPushButton* create_text_tab_button(int32_t text_id);
    // Builds a tab button with the given title and images, keeps it and returns it.
    QPushButton* create_tab_button_with(const QString& title, const tab_images& images);

private:
    product_kernel_i* m_kernel;
    // The host owns the button once it has it; the guard notices when it is destroyed.
    QPointer<QPushButton> m_tab_button;
};
