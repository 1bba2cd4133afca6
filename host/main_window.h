// The koral window: header with edition and language, a row of page tabs over
// the page area, and a status line.
#pragma once

#include <QMainWindow>
#include <cstdint>

class QButtonGroup;
class device_lights_card_c;
class QComboBox;
class QDialog;
class QImage;
class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QTreeWidget;
class QVBoxLayout;
class button_view_c;
class ctrl_center_c;
class device_list_c;
class timer_list_c;
class host_catalogue_c;
class hub_c;
class kernel_session_c;
class macro_panel_c;
class module_host_c;
class profile_panel_c;

class main_window_c : public QMainWindow {
    Q_OBJECT
public:
    // With a hub, the window also shows its macro library; with the timer and
    // device lists, the device tab shows the mouse's buttons and the other devices.
    main_window_c(module_host_c* host, ctrl_center_c* centre, const host_catalogue_c* catalogue,
                  hub_c* hub = nullptr, timer_list_c* timers = nullptr,
                  device_list_c* devices = nullptr, QWidget* parent = nullptr);
    // Releases the kernel while its pages' parent still exists.
    ~main_window_c() override;

    // What the status line says about the module file.
    void set_module_state(const QString& file, bool loaded, const QString& error);
    // Shows the edition of product type 8 (black) or 9 (white).
    void select_edition(int32_t product_type);
    int32_t edition() const { return m_edition; }

    // Renders every tab off screen to PNG files in `folder` (created when
    // missing): the host's own by name, each of the module's pages whole as
    // page_<type>_<name>.png, the dialogs over their tab as dialog_<what>.png
    // and the open edition list. False with `error` set when a file cannot be
    // written.
    bool render_screenshots(const QString& folder, QString* error);

    // The shown device: kernel, virtual mouse and profile slots.
    kernel_session_c* session() const { return m_session; }
    profile_panel_c* profile_panel() const { return m_profile_panel; }
    macro_panel_c* macro_panel() const { return m_macro_panel; }
    button_view_c* button_view() const { return m_button_view; }
    device_lights_card_c* lights_card() const { return m_lights_card; }

    // Opens the macro editor for a new macro in a group (-1: the first);
    // 1 when a macro was added to the library.
    int32_t open_macro_editor(int group = -1);

protected:
    // Whatever is pending reaches the device before the window goes.
    void closeEvent(QCloseEvent* event) override;

signals:
    void edition_selected(int product_type);

private:
    QString text(int32_t id) const;
    QWidget* build_header();
    QWidget* build_tab_bar();
    QWidget* build_overview();
    QWidget* build_status_line();
    QPushButton* add_tab(const QString& object_name, QWidget* page);
    void fill_languages();
    void fill_catalogue();
    void refresh_classes();
    void refresh_status();
    void refresh_centre();
    void retranslate();
    QString class_name(int32_t class_id) const;
    void rebuild_page_tabs();
    bool save_dialog_shot(QDialog* dialog, const QImage& backdrop, const QString& file);
    bool save_dropdown_shot(QComboBox* box, const QString& file);
    // The device tab's picture of the mouse's lights and its calibration answer.
    void add_lights_card();
    void add_button_cards(timer_list_c* timers, device_list_c* devices);

    module_host_c* m_host;
    ctrl_center_c* m_centre;
    const host_catalogue_c* m_catalogue;
    int32_t m_edition = 8;
    bool m_module_loaded = false;
    QString m_module_error;

    QLabel* m_brand = nullptr;
    QLabel* m_product = nullptr;
    QLabel* m_product_sub = nullptr;
    QLabel* m_swatch = nullptr;
    QLabel* m_edition_caption = nullptr;
    QComboBox* m_edition_box = nullptr;
    QLabel* m_language_caption = nullptr;
    QComboBox* m_language_box = nullptr;
    QFrame* m_tab_bar = nullptr;
    QButtonGroup* m_tabs = nullptr;
    QPushButton* m_overview_tab = nullptr;
    QStackedWidget* m_pages = nullptr;
    QLabel* m_module_title = nullptr;
    QLabel* m_module_file_caption = nullptr;
    QLabel* m_module_file_label = nullptr;
    QLabel* m_classes_caption = nullptr;
    QTreeWidget* m_classes = nullptr;
    QLabel* m_pages_note = nullptr;
    QLabel* m_centre_caption = nullptr;
    QLabel* m_language_key = nullptr;
    QLabel* m_language_value = nullptr;
    QLabel* m_listeners_key = nullptr;
    QLabel* m_listeners_value = nullptr;
    QLabel* m_slot_key = nullptr;
    QLabel* m_slot_value = nullptr;
    QLabel* m_commands_key = nullptr;
    QLabel* m_commands_value = nullptr;
    QLabel* m_catalogue_title = nullptr;
    QLabel* m_catalogue_summary = nullptr;
    QLabel* m_products_caption = nullptr;
    QTreeWidget* m_products = nullptr;
    QLabel* m_languages_caption = nullptr;
    QTreeWidget* m_languages = nullptr;
    QLabel* m_status_dot = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_catalogue_status = nullptr;
    kernel_session_c* m_session = nullptr;
    profile_panel_c* m_profile_panel = nullptr;
    QPushButton* m_device_tab = nullptr;
    macro_panel_c* m_macro_panel = nullptr;
    hub_c* m_hub = nullptr;
    button_view_c* m_button_view = nullptr;
    device_lights_card_c* m_lights_card = nullptr;
    timer_list_c* m_timers = nullptr;
    QPushButton* m_macros_tab = nullptr;
    // Where the kernel's pages open, and the tab buttons the pages gave the host.
    QScrollArea* m_page_scroll = nullptr;
    QWidget* m_page_area = nullptr;
    QList<QPushButton*> m_page_tabs;
    // The page type shown when the kernel went, shown again by the next one.
    int m_restore_page = -1;
};
