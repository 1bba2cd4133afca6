#include "pages/favorites.h"

#include "pages/favorites_fm.h"
#include "pages/tab_button.h"
#include "pages/tab_page_fm_base.h"

favorites_c::favorites_c(product_kernel_i* kernel)
    : zarek_page_base_c(kernel) {}

favorites_c::~favorites_c() {
    close_page();
}

interface_i* favorites_c::query_interface(const GUID& iid) {
    if (iid == iid_product_function_page_i)
        return static_cast<product_function_page_i*>(this);
    if (iid == iid_favorites_function_page_i)
        return static_cast<favorites_function_page_i*>(this);
    return zarek_page_base_c::query_interface(iid);
}

void favorites_c::release() {
    zarek_page_base_c::release();
}

favorites_fm_c* favorites_c::form() const {
    return m_form;
}

void favorites_c::set_parent_widget(QWidget* parent) {
    if (parent)
        m_parent = parent;
}

QPushButton* favorites_c::create_tab_button() {
    const tab_images images{QStringLiteral("favorite_normal"), QStringLiteral("favorite_over"),
                            QStringLiteral("favorite_down")};
    QPushButton* button = create_tab_button_with(QString(), images);
    button->setFixedWidth(favorites_tab_width);
    return button;
}

void favorites_c::open_page() {
    // A page is shown inside the host's window only.
    if (!m_parent)
        return;
    if (!m_form)
        m_form = new favorites_fm_c(kernel(), m_parent);
    m_form->fill();
    m_form->shadow_panels();
    m_form->show();
}

void favorites_c::close_page() {
    close_form(m_form);
}

void favorites_c::update() {
    if (!m_form)
        return;
    m_form->fill();
    // A favourite marked since the page opened gets the same shadow as the others.
    m_form->shadow_panels();
}

void favorites_c::remove_favorite(ctrl_funcs_i* ctrl) {
    if (m_form)
        m_form->remove(ctrl);
}
