// The button list of an assignment box: one row per button on the standard and the
// Alter-Key[+] layer. A row shows the function its button carries and opens the function
// catalogue's menu; a chosen entry is written into the current profile (with its side
// records, the double-block copy and the twin rule) and the row is relabelled.
#pragma once

#include "button_sets/btn_set_owner.h"
#include "buttons/function_catalogue.h"
#include "module/button_set_interfaces.h"
#include "module/component_interfaces.h"
#include "module/kernel_host_interfaces.h"
#include "module/kernel_interfaces.h"
#include "module/macro_interfaces.h"
#include "module/page_interfaces.h"
#include "pages/form_base.h"

#include <QFont>
#include <QHash>
#include <QMap>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QVector>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class row_button_c;
class zarek_data_c;
struct btn_entry;
namespace Ui {
class btn_list_fm;
}

enum class btn_box_kind { side, top };

class btn_list_fm_c : public QWidget,
                      public form_base_c,
                      public menu_item_client_i,
                      public menu_button_item_client_i,
                      public edit_timer_fm_client_i,
                      public btn_jigsaw_listener_i,
                      public btn_assignment_listener_i,
                      public product_kernel_listener_i,
                      public ctrl_center_listener_i,
                      public menu_listener_i,
                      public product_profile_listener_i,
                      public relay_fx_kernel_listener_i,
                      public macro_listener_i,
                      public timer_listener_i,
                      public dpi_switcher_ctrl_funcs_listener_i {
    Q_OBJECT

public:
    btn_list_fm_c(btn_set_owner_i* owner, btn_box_kind kind, QWidget* parent = nullptr);
    ~btn_list_fm_c() override;

    // Rows (row_position is 0-based; the label shows row_position + 1). Adding a row also
    // gives the index its allowed-code list from the catalogue's rules.
    void add_standard_row(int row_position, int button_index, bool assignable);
    void add_alter_row(int row_position, int button_index, bool assignable);
    void allow_code(int button_index, int code);
    void disallow_code(int button_index, int code);
    void set_assignable(int button_index, bool assignable);
    void set_show_all_positions(bool show_all);
    // Relabels every row from the current profile and updates enabled states.
    void reload();
    // The box that wants menu feedback (the side box highlights the editor block, the top box
    // switches its marker image): told when a row's catalogue menu is shown and closed.
    // Null = nobody. The list keeps the button index of the current row.
    void set_menu_feedback(main_menu_listener_i* listener);
    int current_button_index()
        const; // -1 when no row is current (set by a click, cleared when its menu closes)
    // The page is closing: close any host dialog the list opened, drop listeners.
    void manager_closing();

    // --- Beyond the box forms' contract: what tests, benchmarks and the page may ask ---
    btn_box_kind kind() const { return m_kind; }
    // The row button of an index (either layer), or null.
    QPushButton* row_button(int button_index) const;
    QLabel* row_number(int button_index) const;
    bool is_assignable(int button_index) const;
    bool show_all_positions() const { return m_show_all; }
    // The codes the index may be offered, ascending.
    QVector<int> allowed_codes(int button_index) const;
    bool is_allowed(int button_index, int code) const;
    // The text a row shows for its button now (the label rules).
    QString row_label(int button_index) const;
    // The catalogue of functions the rows offer.
    function_catalogue_c* catalogue() const { return m_catalogue.get(); }
    // The catalogue's menu in the host, made when a row first needs it (a page opened only
    // to look makes none); null when the host has no menus.
    menu_i* host_menu();
    // What a row click does: the row becomes current and the open-menu timer starts (20 ms).
    void click_row(int button_index);
    // Runs what choosing a catalogue entry with this code and parameter does for the
    // button, as if its row's menu had offered it (tests and the page's keyboard paths).
    void choose(int button_index, int code, int32_t parameter);
    // Rebuilds the catalogue and relabels every row (language and library changes).
    void rebuild_catalogue();
    QTimer* language_timer() { return &m_language_timer; }
    QTimer* open_menu_timer() { return &m_open_menu_timer; }

    // --- interface_i, listener_i, form_base_c ---
    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    void manager_closing(listener_mgr_i* manager) override;
    void update() override;
    void language_changed(language_source_i* source, void* ignored) override;

    // menu_item_client_i / menu_button_item_client_i
    void entry_hovered(menu_entry_i* entry) override;
    void entry_chosen(menu_entry_i* entry) override;
    // edit_timer_fm_client_i
    bool timer_in_use(uint32_t identifier) override;
    // btn_jigsaw_listener_i
    void on_button_fitted(int32_t button_index, bool fitted) override;
    void on_pair_kind(int32_t first_button_index, bool is_double) override;
    void on_undo_redo_state(bool, bool) override {}
    // btn_assignment_listener_i
    void on_layout_record(const btn_layout_rec& record) override;
    // product_kernel_listener_i
    void current_profile_changed() override;
    void data_changed() override;
    void everything_reset() override;
    // ctrl_center_listener_i
    void product_event(int32_t) override {}
    void current_kernel_changed(product_kernel_i*) override {}
    void ctrl_center_notice(int32_t) override {}
    // menu_listener_i
    void menu_shown(menu_i* menu) override;
    void menu_closed(menu_i* menu) override;
    // product_profile_listener_i
    void host_profile_changed(product_kernel_i*) override;
    void name_changed(product_kernel_i*, uint8_t, const QString&) override;
    void profile_appended(product_kernel_i*) override;
    void profile_inserted(product_kernel_i*, uint8_t) override;
    void profile_deleted(product_kernel_i*, uint8_t) override;
    void byte_106_changed(product_kernel_i*, uint8_t, uint8_t) override {}
    void profile_replaced(product_kernel_i*, uint8_t) override;
    void picture_changed(product_kernel_i*, uint8_t) override {}
    // relay_fx_kernel_listener_i
    void talk_device_added(uint16_t identifier, uint16_t product_id, const QString& name) override;
    void talk_device_removed(uint16_t identifier) override;
    // macro_listener_i
    bool on_macros_changed(const QList<library_item>& items) override;
    // timer_listener_i
    void timers_changed() override;
    // dpi_switcher_ctrl_funcs_listener_i
    void step_enabled_changed(int32_t step, bool on) override;
    void step_dpi_changed(int32_t step, int32_t dpi) override;
    void active_step_changed(int32_t) override {}

    // How a path for the open functions (15, 137, 138) is asked for; empty = cancelled.
    // A file dialog by default.
    void set_file_chooser(std::function<QString(int code)> chooser) {
        m_file_chooser = std::move(chooser);
    }

signals:
    // A chosen function was stored for the button (its double partner and twin may have
    // changed with it).
    void button_changed(int button_index);

public slots:
    // The 20 ms timer after a row click: opens the catalogue for the current row.
    void open_menu_timer_trigger();

private:
    struct row_rec {
        QLabel* number = nullptr;
        row_button_c* button = nullptr;
        int button_index = -1;
        // What the box asked for, and what the row is after the twin rule.
        bool base_assignable = true;
        bool assignable = true;
        bool alter = false;
    };
    struct dpi_step {
        bool enabled = true;
        int dpi = 200;
    };

    listener_i* self();
    void add_row(bool alter, int row_position, int button_index, bool assignable);
    row_rec* row(int button_index);
    const row_rec* row(int button_index) const;
    void relabel(int button_index);
    void relabel_all();
    void apply_row_style(row_rec& r);
    void set_greyed(row_rec& r, bool greyed);
    bool position_fitted(int button_index) const;
    bool first_of_double(int button_index) const;
    bool twin_locked(int button_index) const;
    zarek_data_c* data() const;
    int current_slot() const;
    uint8_t* entry_of(int button_index) const;
    btn_entry entry(int button_index) const;
    void set_entry(int button_index, const btn_entry& value);
    void store_chosen(int button_index);
    void apply_twin_rule(int button_index);
    void attach_listeners();
    void detach_listeners();
    void set_current_index(int button_index);
    void make_available_for(int button_index);
    void run_choice(int button_index, int code, int32_t parameter, uint32_t identifier);
    bool run_hotkey(int button_index);
    QString run_file_dialog(int code);
    bool run_open_path(int button_index, int code);
    bool run_web_address(int button_index);
    bool assign_macro(int button_index, int32_t parameter);
    bool assign_timer(int button_index, uint32_t identifier);
    bool run_new_timer(int button_index);
    void run_timer_manager();
    void run_new_macro();
    bool run_code_253(int button_index);
    bool assign_talk(int button_index, int code, uint16_t device);
    bool run_value_slider(int button_index);
    template <class T>
    T* create_dialog(int32_t class_id);
    function_catalogue_inputs catalogue_inputs() const;
    interface_i* catalogue_service() const;
    macro_library_i* library() const;
    QVector<function_catalogue_timer> timer_views() const;
    QVector<function_catalogue_dpi> dpi_views() const;
    void read_dpi_from_profile();
    void refresh_profiles();
    QString timer_name(uint32_t identifier) const;
    void log_unknown(int button_index, int code) const;

    btn_set_owner_i* m_owner;
    btn_box_kind m_kind;
    std::unique_ptr<Ui::btn_list_fm> m_ui;
    std::unique_ptr<function_catalogue_c> m_catalogue;
    QMap<int, row_rec> m_standard_rows;
    QMap<int, row_rec> m_alter_rows;
    QMap<int, QVector<int>> m_allowed;
    int m_current_index = -1;
    int m_menu_index = -1;
    bool m_show_all = false;
    bool m_vista_or_7 = false;
    bool m_data_gone = false;
    bool m_closing = false;
    bool m_host_menu_tried = false;
    main_menu_listener_i* m_feedback = nullptr;
    QTimer m_open_menu_timer;
    QTimer m_language_timer;
    product_kernel_i* m_kernel = nullptr;
    interface_i* m_catalogue_service = nullptr;
    hub_i* m_hub = nullptr;
    interface_i* m_dpi_switcher = nullptr;
    QPointer<QWidget> m_editor;
    dpi_step m_dpi[5];
    // What the layout editor reported last, by side position, until the profile's record
    // is read again.
    QHash<int, bool> m_fitted_hint;
    QHash<uint16_t, QString> m_talk_devices;
    mutable QSet<int> m_logged_unknown;
    std::function<QString(int)> m_file_chooser;
    QFont m_row_font;
};
