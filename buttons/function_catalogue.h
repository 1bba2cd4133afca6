// The function catalogue behind every button row: the tree of categories and entries a row's
// menu offers (fixed entries and those made from live data: macro groups, timers, profiles,
// sensitivity steps, DPI steps and the other devices that can talk), the codes each button
// may take, the twin rule and the texts of the fixed entries. The tree is kept as a model
// and mirrored into the host's menus when a host is there.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class interface_i;
class menu_i;
class menu_entry_i;
class menu_item_client_i;
class module_host_i;

namespace catalogue {

// Button indices: 0..7 top, 8..19 side, 20..39 their Alter-Key[+] twins.
inline constexpr int button_count = 40;
inline constexpr int twin_offset = 20;
// The code whose offer depends on the operating system.
inline constexpr int os_dependent_code = 71;
// Host text numbers the list uses beyond the tree.
inline constexpr int text_unfitted = 388;
inline constexpr int text_dpi = 155;
inline constexpr int text_dpi_step = 156;
inline constexpr int text_sensitivity_step = 529;

// The codes button `button_index` may be offered, ascending; none for an index outside
// 0..39 and for the fixed top rows 0 and 1.
QVector<int> allowed_codes(int button_index, bool vista_or_7);
// The Alter-Key[+] twin of a standard index and back; -1 outside 0..39.
int twin_of(int button_index);
// Whether giving a button this code disables and locks its twin.
bool locks_twin(int code);
// Rows created without a menu: top 0 and 1, Alter-Key[+] top 25.
bool fixed_row(int button_index);
// The side position 0..11 of a side index on either layer, -1 for a top index.
int side_position(int button_index);

// Texts of the functions whose labels the module writes itself.
QString open_prefix(int code); // "Open app: " ... "Open website: "; empty for other codes
QString talk_label(int code, const QString& device_name);
QString talk_menu_title(const QString& device_name);
QString dpi_value_label(const QString& dpi_text, int dpi); // "<DPI> 1200 DPI"
QString dpi_step_label(const QString& dpi_text, const QString& step_text, int dpi);

} // namespace catalogue

// One node of the tree: a menu (category or submenu) or a selectable entry.
struct catalogue_node {
    enum class kind { menu, entry };
    // What made a generated menu; the fixed ones have none.
    enum class role { none, macros, macro_group, timers, profiles, steps, dpi, talk, device };

    kind type = kind::entry;
    role generated = role::none;
    QString label;
    QString description;
    int icon_flag = 0;
    QString icon_base;
    int code = -1; // entries: 0..256
    int32_t parameter = 0;
    uint32_t identifier = 0;
    // Macro entries: the library record's first option word (the product must accept it).
    uint16_t macro_kind = 0;
    // Entries: whether the entry can be chosen now (what the host was last told).
    bool enabled = true;
    std::vector<std::unique_ptr<catalogue_node>> children;
    catalogue_node* parent = nullptr;
    // The host's object for the node: a menu_i or a menu_entry_i; null without a host.
    menu_i* host_menu = nullptr;
    menu_entry_i* host_entry = nullptr;

    QString icon(const char* state) const;
};

class function_catalogue_c {
public:
    using text_fn = std::function<QString(int32_t)>;

    struct macro_view {
        QString name;
        uint16_t kind = 0;
    };
    struct group_view {
        QString name;
        QVector<macro_view> macros;
    };
    struct timer_view {
        uint32_t identifier = 0;
        QString name;
    };
    struct dpi_view {
        int step = 0;
        int dpi = 0;
    };
    struct device_view {
        uint16_t identifier = 0;
        QString name;
    };
    // What the generated entries are made from.
    struct inputs {
        QVector<group_view> macro_groups;
        QVector<timer_view> timers;
        QStringList profiles;
        QVector<dpi_view> dpi_steps; // the enabled ones
        QVector<device_view> devices;
    };

    explicit function_catalogue_c(text_fn texts);
    ~function_catalogue_c();
    function_catalogue_c(const function_catalogue_c&) = delete;
    function_catalogue_c& operator=(const function_catalogue_c&) = delete;

    // Makes the whole tree anew (the host's menus too, when attached).
    void build(const inputs& in);
    // From now on the tree lives in the host's menus as well: a root "ROOT" attached to
    // `parent`, every entry with `client`. False (and a log line) when the host has no menus.
    bool attach_host(module_host_i* host, QWidget* parent, menu_item_client_i* client);
    // Releases the host's menus; the model stays.
    void detach_host();

    // The generated parts, each refilled in place.
    void set_timers(const QVector<timer_view>& timers);
    void set_profiles(const QStringList& profiles);
    void set_dpi_steps(const QVector<dpi_view>& steps);
    // A capable device joins or leaves: its submenu is appended to "TALK" or released.
    void add_device(const device_view& device);
    void remove_device(uint16_t identifier);

    const catalogue_node& root() const { return *m_root; }
    menu_i* root_menu() const { return m_root->host_menu; }
    // Every entry, in the order the tree lists them.
    QVector<const catalogue_node*> entries() const;
    int entry_count() const;
    // The label of the first entry with this code; empty when none has it.
    QString first_label(int code) const;
    // The generated menu of a role (the first one for device submenus), or null.
    const catalogue_node* find_menu(catalogue_node::role role) const;
    const catalogue_node* device_menu(uint16_t identifier) const;

    // Makes every entry available or not; only entries whose state changes reach the host.
    void set_available(const std::function<bool(const catalogue_node&)>& available);

private:
    catalogue_node* add_menu(catalogue_node* parent, int label, int description,
                             const char* icon_base = nullptr,
                             catalogue_node::role role = catalogue_node::role::none);
    catalogue_node* add_entry(catalogue_node* parent, int code, int label,
                              const char* icon_base = nullptr);
    catalogue_node* add_entry_text(catalogue_node* parent, int code, const QString& label);
    catalogue_node* add_menu_text(catalogue_node* parent, const QString& label,
                                  catalogue_node::role role);
    void build_tree(const inputs& in);
    void materialise_children(catalogue_node* node);
    void fill_macros(const QVector<group_view>& groups);
    void fill_timers(const QVector<timer_view>& timers);
    void fill_profiles(const QStringList& profiles);
    void fill_steps();
    void fill_dpi(const QVector<dpi_view>& steps);
    void fill_device(const device_view& device);
    catalogue_node* menu_of(catalogue_node::role role) const;
    void clear_children(catalogue_node* menu);
    void release_node(std::unique_ptr<catalogue_node>& node);
    // Mirrors a node (and everything under it) into the host and appends it to its
    // parent's host menu.
    void materialise(catalogue_node* node);
    void release_host_objects(catalogue_node* node);
    void relabel_index();

    text_fn m_texts;
    std::unique_ptr<catalogue_node> m_root;
    QHash<int, QString> m_first_labels;
    module_host_i* m_host = nullptr;
    QWidget* m_parent = nullptr;
    menu_item_client_i* m_client = nullptr;
};

using function_catalogue_inputs = function_catalogue_c::inputs;
using function_catalogue_timer = function_catalogue_c::timer_view;
using function_catalogue_dpi = function_catalogue_c::dpi_view;
