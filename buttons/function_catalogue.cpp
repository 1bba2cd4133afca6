#include "buttons/function_catalogue.h"

#include "common/log.h"
#include "module/component_interfaces.h"

#include <algorithm>
#include <utility>

namespace catalogue {

namespace {

void add_range(QVector<int>& codes, int first, int last) {
    for (int c = first; c <= last; ++c)
        codes.append(c);
}

// The wheel-like top buttons take no DPI steps, no talk, no layer switches.
void remove_wheel_codes(QVector<int>& codes) {
    auto drop = [](int c) {
        return c == 65 || (c >= 51 && c <= 55) || c == 124 || (c >= 66 && c <= 70) ||
               (c >= 81 && c <= 84) || c == 188 || c == 189 || c == 190;
    };
    codes.erase(std::remove_if(codes.begin(), codes.end(), drop), codes.end());
}

} // namespace

QVector<int> allowed_codes(int button_index, bool vista_or_7) {
    QVector<int> codes;
    const int i = button_index;
    if (i >= 2 && i <= 7) {
        add_range(codes, 0, 70);
        if (vista_or_7)
            codes.append(71);
        add_range(codes, 81, 189);
        if (i <= 4)
            codes.append(190);
        add_range(codes, 191, 207);
        add_range(codes, 252, 256);
        if (i == 3 || i == 4)
            remove_wheel_codes(codes);
    } else if (i >= 8 && i <= 19) {
        add_range(codes, 0, 70);
        if (vista_or_7)
            codes.append(71);
        add_range(codes, 81, 207);
        add_range(codes, 252, 256);
    } else if (i >= 20 && i <= 27) {
        add_range(codes, 0, 55);
        add_range(codes, 66, 70);
        if (vista_or_7)
            codes.append(71);
        add_range(codes, 85, 189);
        if (i <= 24)
            codes.append(190);
        add_range(codes, 191, 207);
        add_range(codes, 252, 256);
        if (i == 23 || i == 24)
            remove_wheel_codes(codes);
    } else if (i >= 28 && i <= 39) {
        add_range(codes, 0, 55);
        add_range(codes, 66, 70);
        if (vista_or_7)
            codes.append(71);
        add_range(codes, 85, 207);
        add_range(codes, 252, 256);
    }
    return codes;
}

int twin_of(int button_index) {
    if (button_index < 0 || button_index >= button_count)
        return -1;
    return button_index < twin_offset ? button_index + twin_offset : button_index - twin_offset;
}

bool locks_twin(int code) {
    return code == 65 || (code >= 81 && code <= 84);
}

bool fixed_row(int button_index) {
    return button_index == 0 || button_index == 1 || button_index == 25;
}

int side_position(int button_index) {
    if (button_index >= 8 && button_index <= 19)
        return button_index - 8;
    if (button_index >= 28 && button_index <= 39)
        return button_index - 28;
    return -1;
}

QString open_prefix(int code) {
    switch (code) {
    case 15:
        return QStringLiteral("Open app: ");
    case 137:
        return QStringLiteral("Open document: ");
    case 138:
        return QStringLiteral("Open folder: ");
    case 139:
        return QStringLiteral("Open website: ");
    default:
        return QString();
    }
}

QString talk_label(int code, const QString& device_name) {
    if (code == 81)
        return QStringLiteral("Alter-Key[+]™ %1%2").arg(device_name, QString());
    if (code == 82)
        return device_name + QStringLiteral(" Lock/Unlock");
    return QString();
}

QString talk_menu_title(const QString& device_name) {
    return QStringLiteral("Vantor Talk: %1").arg(device_name);
}

QString dpi_value_label(const QString& dpi_text, int dpi) {
    return dpi_text + QLatin1Char(' ') + QString::number(dpi) + QStringLiteral(" DPI");
}

QString dpi_step_label(const QString& dpi_text, const QString& step_text, int dpi) {
    return dpi_text + QStringLiteral(" %1 ").arg(dpi) + step_text;
}

} // namespace catalogue

QString catalogue_node::icon(const char* state) const {
    return QStringLiteral("://graphics/button_assignment/icons/%1.png")
        .arg(icon_base + QLatin1Char('_') + QLatin1String(state));
}

// ---------------------------------------------------------------------------

using role = catalogue_node::role;

function_catalogue_c::function_catalogue_c(text_fn texts)
    : m_texts(std::move(texts))
    , m_root(std::make_unique<catalogue_node>()) {
    m_root->type = catalogue_node::kind::menu;
    m_root->label = QStringLiteral("ROOT");
}

function_catalogue_c::~function_catalogue_c() {
    detach_host();
}

catalogue_node* function_catalogue_c::add_menu_text(catalogue_node* parent, const QString& label,
                                                    role generated) {
    auto node = std::make_unique<catalogue_node>();
    node->type = catalogue_node::kind::menu;
    node->generated = generated;
    node->label = label;
    node->parent = parent;
    catalogue_node* raw = node.get();
    parent->children.push_back(std::move(node));
    materialise(raw);
    return raw;
}

catalogue_node* function_catalogue_c::add_menu(catalogue_node* parent, int label, int description,
                                               const char* icon_base, role generated) {
    auto node = std::make_unique<catalogue_node>();
    node->type = catalogue_node::kind::menu;
    node->generated = generated;
    node->label = m_texts(label);
    if (description >= 0)
        node->description = m_texts(description);
    if (icon_base) {
        node->icon_flag = 1;
        node->icon_base = QLatin1String(icon_base);
    }
    node->parent = parent;
    catalogue_node* raw = node.get();
    parent->children.push_back(std::move(node));
    materialise(raw);
    return raw;
}

catalogue_node* function_catalogue_c::add_entry_text(catalogue_node* parent, int code,
                                                     const QString& label) {
    auto node = std::make_unique<catalogue_node>();
    node->code = code;
    node->label = label;
    node->parent = parent;
    catalogue_node* raw = node.get();
    parent->children.push_back(std::move(node));
    if (!m_first_labels.contains(code))
        m_first_labels.insert(code, label);
    return raw;
}

catalogue_node* function_catalogue_c::add_entry(catalogue_node* parent, int code, int label,
                                                const char* icon_base) {
    catalogue_node* node = add_entry_text(parent, code, m_texts(label));
    if (icon_base) {
        node->icon_flag = 1;
        node->icon_base = QLatin1String(icon_base);
    }
    materialise(node);
    return node;
}

namespace {

// Same menus and entries in the same places, doing the same: only texts may differ.
bool same_shape(const catalogue_node& a, const catalogue_node& b) {
    if (a.type != b.type || a.generated != b.generated || a.code != b.code ||
        a.parameter != b.parameter || a.identifier != b.identifier ||
        a.macro_kind != b.macro_kind || a.icon_flag != b.icon_flag || a.icon_base != b.icon_base ||
        a.children.size() != b.children.size())
        return false;
    for (std::size_t i = 0; i < a.children.size(); ++i) {
        if (!same_shape(*a.children[i], *b.children[i]))
            return false;
    }
    return true;
}

// Takes the new texts into the tree the host shows; only changed texts reach the host.
void adopt_texts(catalogue_node& shown, const catalogue_node& fresh) {
    if (shown.label != fresh.label) {
        shown.label = fresh.label;
        if (shown.host_menu)
            shown.host_menu->set_label(fresh.label);
        if (shown.host_entry)
            shown.host_entry->set_label(fresh.label);
    }
    if (shown.description != fresh.description) {
        shown.description = fresh.description;
        if (shown.host_menu)
            shown.host_menu->set_description(fresh.description);
    }
    for (std::size_t i = 0; i < shown.children.size(); ++i)
        adopt_texts(*shown.children[i], *fresh.children[i]);
}

} // namespace

void function_catalogue_c::build(const inputs& in) {
    if (!m_root->host_menu || m_root->children.empty()) {
        clear_children(m_root.get());
        m_first_labels.clear();
        build_tree(in);
        return;
    }
    // The host shows a tree already: make the new one as a model first. When only its
    // texts differ (a language change), the host's menus take the new texts in place;
    // otherwise they are released and made again.
    std::unique_ptr<catalogue_node> shown = std::move(m_root);
    m_root = std::make_unique<catalogue_node>();
    m_root->type = catalogue_node::kind::menu;
    m_root->label = shown->label;
    module_host_i* host = std::exchange(m_host, nullptr);
    m_first_labels.clear();
    build_tree(in);
    m_host = host;
    if (same_shape(*shown, *m_root)) {
        // The first labels were indexed while the fresh tree was made, in the same order.
        adopt_texts(*shown, *m_root);
        m_root = std::move(shown);
        return;
    }
    clear_children(shown.get());
    m_root->host_menu = shown->host_menu;
    materialise_children(m_root.get());
}

void function_catalogue_c::materialise_children(catalogue_node* node) {
    for (auto& child : node->children) {
        materialise(child.get());
        if (child->type == catalogue_node::kind::menu)
            materialise_children(child.get());
    }
}

void function_catalogue_c::build_tree(const inputs& in) {
    catalogue_node* root = m_root.get();

    catalogue_node* macros = add_menu(root, 73, 74, "Assign_a_Macro", role::macros);
    add_entry(macros, 252, 75, "add");
    fill_macros(in.macro_groups);

    catalogue_node* hotkey = add_menu(root, 76, 77, "Assign_a_Hotkey");
    add_entry(hotkey, 5, 78, "add");

    catalogue_node* timer = add_menu(root, 79, 80, "Assign_a_Timer");
    add_entry(timer, 255, 81, "add");
    add_entry(timer, 254, 82);
    add_entry(timer, 50, 83);
    add_menu(timer, 84, 84, nullptr, role::timers);
    fill_timers(in.timers);

    catalogue_node* defaults = add_menu(root, 85, 86, "Default_functions");
    for (auto [code, text] : {std::pair{1, 87},
                              {4, 434},
                              {2, 88},
                              {13, 89},
                              {14, 90},
                              {9, 91},
                              {10, 92},
                              {98, 93},
                              {99, 94},
                              {100, 95},
                              {101, 96},
                              {3, 100}})
        add_entry(defaults, code, text);

    catalogue_node* advanced = add_menu(root, 101, 102, "Advanced_functions");
    for (auto [code, text] :
         {std::pair{20, 103}, {21, 104}, {22, 105}, {16, 106}, {17, 107}, {18, 108}})
        add_entry(advanced, code, text);
    add_menu(advanced, 109, 109, nullptr, role::profiles);
    fill_profiles(in.profiles);
    for (auto [code, text] : {std::pair{23, 525}, {24, 526}, {25, 527}})
        add_entry(advanced, code, text);
    add_menu(advanced, 528, 528, nullptr, role::steps);
    fill_steps();

    catalogue_node* internet = add_menu(root, 110, 111, "Internet_functions");
    for (auto [code, text] : {std::pair{8, 113},
                              {7, 114},
                              {128, 115},
                              {129, 116},
                              {130, 117},
                              {131, 118},
                              {132, 119},
                              {133, 120}})
        add_entry(internet, code, text);

    catalogue_node* media = add_menu(root, 121, 122, "Multimedia_functions");
    for (auto [code, text] : {std::pair{37, 123},
                              {38, 124},
                              {39, 125},
                              {140, 126},
                              {34, 127},
                              {33, 128},
                              {35, 129},
                              {36, 510}})
        add_entry(media, code, text);

    catalogue_node* open = add_menu(root, 130, 131, "Open");
    for (auto [code, text] : {std::pair{27, 132}, {15, 133}, {137, 134}, {138, 135}, {139, 136}})
        add_entry(open, code, text);
    catalogue_node* open_more = add_menu(open, 137, -1);
    add_entry(open_more, 134, 138);
    for (int k = 0; k < 10; ++k)
        add_entry(open_more, 141 + k, 139 + k);
    catalogue_node* open_media = add_menu(open, 149, -1);
    add_entry(open_media, 135, 150);
    add_entry(open_media, 136, 151);

    catalogue_node* talk = add_menu(root, 152, 153, "TALK", role::talk);
    add_menu(talk, 154, 154, nullptr, role::dpi);
    fill_dpi(in.dpi_steps);
    catalogue_node* layers = add_menu(talk, 158, -1);
    for (auto [code, text] : {std::pair{66, 530},
                              {67, 159},
                              {68, 160},
                              {69, 161},
                              {70, 162},
                              {71, 163},
                              {65, 164},
                              {83, 165},
                              {84, 166}})
        add_entry(layers, code, text);
    for (const device_view& device : in.devices)
        fill_device(device);

    catalogue_node* system = add_menu(root, 167, 168, "System_and_OS");
    for (auto [code, text] : {std::pair{167, 169},
                              {168, 170},
                              {169, 171},
                              {170, 172},
                              {188, 173},
                              {189, 174},
                              {190, 175}})
        add_entry(system, code, text);
    catalogue_node* system_more = add_menu(system, 176, -1);
    for (int k = 0; k <= 16; ++k)
        add_entry(system_more, 171 + k, 177 + k);

    add_entry(root, 0, 194, "Disable");
    add_entry(root, 256, 340, "Reset");
}

void function_catalogue_c::fill_macros(const QVector<group_view>& groups) {
    catalogue_node* macros = menu_of(role::macros);
    for (int g = 0; g < groups.size(); ++g) {
        catalogue_node* group = add_menu_text(macros, groups[g].name, role::macro_group);
        for (int m = 0; m < groups[g].macros.size(); ++m) {
            const macro_view& macro = groups[g].macros[m];
            catalogue_node* entry = add_entry_text(group, 48, macro.name);
            // Group and index travel in one parameter: 65536 per group.
            entry->parameter = int32_t(uint32_t(g) << 16 | uint32_t(m & 0xFFFF));
            entry->identifier = uint32_t(g);
            entry->macro_kind = macro.kind;
            materialise(entry);
        }
    }
}

void function_catalogue_c::fill_timers(const QVector<timer_view>& timers) {
    catalogue_node* menu = menu_of(role::timers);
    for (const timer_view& timer : timers) {
        catalogue_node* entry = add_entry_text(menu, 49, timer.name);
        entry->identifier = timer.identifier;
        entry->parameter = int32_t(timer.identifier);
        materialise(entry);
    }
}

void function_catalogue_c::fill_profiles(const QStringList& profiles) {
    catalogue_node* menu = menu_of(role::profiles);
    for (int slot = 0; slot < std::min(int(profiles.size()), 5); ++slot)
        materialise(add_entry_text(menu, 191 + slot, profiles[slot]));
}

void function_catalogue_c::fill_steps() {
    catalogue_node* menu = menu_of(role::steps);
    const QString text = m_texts(catalogue::text_sensitivity_step);
    for (int v = -5; v <= 5; ++v)
        materialise(add_entry_text(menu, 118 + v, text + QString::number(v)));
}

void function_catalogue_c::fill_dpi(const QVector<dpi_view>& steps) {
    catalogue_node* menu = menu_of(role::dpi);
    const QString dpi = m_texts(catalogue::text_dpi);
    const QString step = m_texts(catalogue::text_dpi_step);
    materialise(add_entry_text(menu, 208, dpi + QStringLiteral(" 200 DPI")));
    for (const dpi_view& s : steps) {
        if (s.step < 0 || s.step > 4)
            continue;
        materialise(add_entry_text(menu, 51 + s.step, catalogue::dpi_step_label(dpi, step, s.dpi)));
    }
    materialise(add_entry_text(menu, 124, m_texts(157)));
}

void function_catalogue_c::fill_device(const device_view& device) {
    catalogue_node* talk = menu_of(role::talk);
    if (!talk)
        return;
    catalogue_node* menu =
        add_menu_text(talk, catalogue::talk_menu_title(device.name), role::device);
    menu->identifier = device.identifier;
    for (int code : {81, 82}) {
        catalogue_node* entry =
            add_entry_text(menu, code, catalogue::talk_label(code, device.name));
        entry->identifier = device.identifier;
        entry->parameter = device.identifier;
        materialise(entry);
    }
}

catalogue_node* function_catalogue_c::menu_of(role r) const {
    // Generated menus lie at most two levels down.
    for (const auto& category : m_root->children) {
        if (category->generated == r)
            return category.get();
        for (const auto& child : category->children) {
            if (child->type == catalogue_node::kind::menu && child->generated == r)
                return child.get();
        }
    }
    return nullptr;
}

const catalogue_node* function_catalogue_c::find_menu(role r) const {
    return menu_of(r);
}

const catalogue_node* function_catalogue_c::device_menu(uint16_t identifier) const {
    const catalogue_node* talk = menu_of(role::talk);
    if (!talk)
        return nullptr;
    for (const auto& child : talk->children) {
        if (child->generated == role::device && child->identifier == identifier)
            return child.get();
    }
    return nullptr;
}

void function_catalogue_c::clear_children(catalogue_node* menu) {
    if (!menu)
        return;
    for (auto& child : menu->children)
        release_node(child);
    menu->children.clear();
}

void function_catalogue_c::release_node(std::unique_ptr<catalogue_node>& node) {
    // A child released in the host leaves its menu and takes its own children along.
    if (node->host_menu)
        node->host_menu->release();
    else if (node->host_entry)
        node->host_entry->release();
    node->host_menu = nullptr;
    node->host_entry = nullptr;
    release_host_objects(node.get());
}

void function_catalogue_c::release_host_objects(catalogue_node* node) {
    // Everything under a released host menu went with it; forget the pointers only.
    node->host_menu = nullptr;
    node->host_entry = nullptr;
    for (auto& child : node->children)
        release_host_objects(child.get());
}

void function_catalogue_c::relabel_index() {
    m_first_labels.clear();
    for (const catalogue_node* entry : entries()) {
        if (!m_first_labels.contains(entry->code))
            m_first_labels.insert(entry->code, entry->label);
    }
}

void function_catalogue_c::set_timers(const QVector<timer_view>& timers) {
    if (!menu_of(role::timers))
        return;
    clear_children(menu_of(role::timers));
    fill_timers(timers);
    relabel_index();
}

void function_catalogue_c::set_profiles(const QStringList& profiles) {
    if (!menu_of(role::profiles))
        return;
    clear_children(menu_of(role::profiles));
    fill_profiles(profiles);
    relabel_index();
}

void function_catalogue_c::set_dpi_steps(const QVector<dpi_view>& steps) {
    if (!menu_of(role::dpi))
        return;
    clear_children(menu_of(role::dpi));
    fill_dpi(steps);
    relabel_index();
}

void function_catalogue_c::add_device(const device_view& device) {
    if (device_menu(device.identifier)) {
        write_log(QStringLiteral("Talk device %1 is listed already; its submenu stays.")
                      .arg(device.identifier));
        return;
    }
    fill_device(device);
    relabel_index();
}

void function_catalogue_c::remove_device(uint16_t identifier) {
    catalogue_node* talk = menu_of(role::talk);
    if (!talk)
        return;
    auto& children = talk->children;
    for (auto it = children.begin(); it != children.end(); ++it) {
        if ((*it)->generated == role::device && (*it)->identifier == identifier) {
            release_node(*it);
            children.erase(it);
            relabel_index();
            return;
        }
    }
}

QVector<const catalogue_node*> function_catalogue_c::entries() const {
    QVector<const catalogue_node*> found;
    std::function<void(const catalogue_node*)> walk = [&](const catalogue_node* node) {
        for (const auto& child : node->children) {
            if (child->type == catalogue_node::kind::entry)
                found.append(child.get());
            else
                walk(child.get());
        }
    };
    walk(m_root.get());
    return found;
}

int function_catalogue_c::entry_count() const {
    return entries().size();
}

QString function_catalogue_c::first_label(int code) const {
    return m_first_labels.value(code);
}

void function_catalogue_c::set_available(
    const std::function<bool(const catalogue_node&)>& available) {
    std::function<void(catalogue_node*)> walk = [&](catalogue_node* node) {
        for (auto& child : node->children) {
            if (child->type == catalogue_node::kind::menu) {
                walk(child.get());
                continue;
            }
            const bool on = available(*child);
            if (on == child->enabled)
                continue;
            child->enabled = on;
            if (child->host_entry)
                child->host_entry->set_enabled(on);
        }
    };
    walk(m_root.get());
}

// ---------------------------------------------------------------------------
// The host's menus

bool function_catalogue_c::attach_host(module_host_i* host, QWidget* parent,
                                       menu_item_client_i* client) {
    detach_host();
    if (!host)
        return false;
    auto* root = query<menu_i>(host->create_instance(class_id::menu, iid_menu_i));
    if (!root) {
        write_log(QStringLiteral("The host has no menus; button rows open no catalogue."));
        return false;
    }
    m_host = host;
    m_parent = parent;
    m_client = client;
    m_root->host_menu = root;
    root->set_name(QStringLiteral("ROOT"));
    root->attach(parent);
    materialise_children(m_root.get());
    return true;
}

void function_catalogue_c::detach_host() {
    if (m_root->host_menu)
        m_root->host_menu->release();
    release_host_objects(m_root.get());
    m_host = nullptr;
    m_parent = nullptr;
    m_client = nullptr;
}

void function_catalogue_c::materialise(catalogue_node* node) {
    // Only nodes whose parent already lives in the host; attach_host walks the rest.
    if (!m_host || !node->parent || !node->parent->host_menu)
        return;
    menu_i* parent = node->parent->host_menu;
    if (node->type == catalogue_node::kind::menu) {
        auto* menu = query<menu_i>(m_host->create_instance(class_id::menu, iid_menu_i));
        if (!menu) {
            write_log(QStringLiteral("The host made no submenu for \"%1\".").arg(node->label));
            return;
        }
        menu->set_label(node->label);
        menu->set_description(node->description);
        menu->set_icon_flag(node->icon_flag);
        if (node->icon_flag)
            menu->set_icons(node->icon("normal"), node->icon("over"), node->icon("active"));
        parent->add_child(menu);
        node->host_menu = menu;
        return;
    }
    auto* entry =
        query<menu_entry_i>(m_host->create_instance(class_id::menu_entry, iid_menu_entry_i));
    if (!entry) {
        write_log(QStringLiteral("The host made no menu entry for \"%1\".").arg(node->label));
        return;
    }
    entry->set_label(node->label);
    entry->set_client(m_client);
    entry->set_second_client(nullptr);
    entry->set_icon_flag(node->icon_flag);
    if (node->icon_flag)
        entry->set_icons(node->icon("normal"), node->icon("over"), node->icon("active"));
    if (node->identifier)
        entry->set_identifier(node->identifier);
    if (auto* code = query<menu_entry_code_i>(entry)) {
        code->set_code(node->code);
        code->set_parameter(node->parameter);
    }
    if (!node->enabled)
        entry->set_enabled(false);
    parent->add_child(entry);
    node->host_entry = entry;
}
