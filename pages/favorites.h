// The favorites page: the boxes of every control the user marked as favourite.
#pragma once

#include "pages/zarek_page_base.h"

#include <QPointer>

class favorites_fm_c;

class favorites_c final : public zarek_page_base_c,
                          public product_function_page_i,
                          public favorites_function_page_i {
public:
    explicit favorites_c(product_kernel_i* kernel);
    ~favorites_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // product_function_page_i
    void init() override {}
    int32_t page_id() override { return page_type::favorites; }
    ctrl_funcs_i* ctrl_funcs(int32_t) override { return nullptr; }
    void set_parent_widget(QWidget* parent) override;
    void reset_all() override {}
    void reset_profile(int32_t, bool) override {}
    void reset_ctrl(ctrl_funcs_i*) override {}
    // An icon tab, 64 pixels wide, without a title.
    QPushButton* create_tab_button() override;
    void open_page() override;
    void close_page() override;

    // Refills an open form.
    void update() override;

    // favorites_function_page_i: a new favourite shows at the next refresh.
    void add_favorite(ctrl_funcs_i*) override {}
    void remove_favorite(ctrl_funcs_i* ctrl) override;

    // The open form, or null.
    favorites_fm_c* form() const;

private:
    QPointer<QWidget> m_parent;
    QPointer<favorites_fm_c> m_form;
};

// Width of the favorites tab.
inline constexpr int favorites_tab_width = 64;
