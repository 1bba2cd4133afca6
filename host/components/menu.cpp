#include "host/components/menu.h"

#include "host/components/menu_style.h"
#include "host/host_log.h"

#include <QAction>
#include <QFile>
#include <QHash>
#include <QMenu>
#include <QSet>

namespace {

// Every pointer the host handed out for a menu or an entry, so that a pointer
// the module passes back can be recognised without calling through it.
QHash<interface_i*, menu_node_c*>& registry() {
    static QHash<interface_i*, menu_node_c*> faces;
    return faces;
}

// Paths whose image is missing are logged once each.
QIcon icon_from(const QString (&paths)[3]) {
    static QSet<QString> missing;
    // The catalogue asks for the same few icons on every entry of every menu it builds, and
    // a page builds its menus each time it opens: decode each set once.
    static QHash<QString, QIcon> made;
    const QString key = paths[0] + QLatin1Char('\n') + paths[1] + QLatin1Char('\n') + paths[2];
    const auto known = made.constFind(key);
    if (known != made.constEnd())
        return known.value();
    static constexpr QIcon::Mode modes[] = {QIcon::Normal, QIcon::Active, QIcon::Selected};
    QIcon icon;
    for (int i = 0; i < 3; ++i) {
        const QString& path = paths[i];
        if (path.isEmpty())
            continue;
        if (!QFile::exists(path)) {
            if (!missing.contains(path)) {
                missing.insert(path);
                qCWarning(lc_koral).noquote() << "A menu icon does not exist:" << path;
            }
            continue;
        }
        icon.addFile(path, QSize(), modes[i]);
    }
    made.insert(key, icon);
    return icon;
}

QMenu* make_menu() {
    auto* menu = new QMenu;
    menu->setStyle(menu_style_c::instance());
    menu->setAttribute(Qt::WA_TranslucentBackground);
    menu->setWindowFlags(menu->windowFlags() | Qt::FramelessWindowHint |
                         Qt::NoDropShadowWindowHint);
    menu->setSeparatorsCollapsible(true);
    return menu;
}

} // namespace

// ---------------------------------------------------------------------------
// menu_node_c

int menu_node_c::s_delivering = 0;

menu_node_c::menu_node_c() = default;

menu_node_c::~menu_node_c() {
    for (interface_i* face : qAsConst(m_faces))
        registry().remove(face);
}

menu_node_c* menu_node_c::from(interface_i* object) {
    return object ? registry().value(object) : nullptr;
}

void menu_node_c::register_faces(std::initializer_list<interface_i*> faces) {
    for (interface_i* face : faces) {
        m_faces.append(face);
        registry().insert(face, this);
    }
}

bool menu_node_c::delivering() {
    return s_delivering > 0;
}

void menu_node_c::destroy() {
    if (m_parent)
        m_parent->take_child(this);
    if (delivering()) {
        if (QAction* a = action())
            a->setVisible(false);
        deleteLater();
        return;
    }
    delete this;
}

// ---------------------------------------------------------------------------
// menu_entry_c

menu_entry_c::menu_entry_c()
    : m_action(new QAction(this)) {
    register_faces({static_cast<menu_entry_i*>(this), static_cast<menu_entry_code_i*>(this)});
    // A chosen entry is handed over after the menu has closed and the click
    // has ended: the client may then open a dialog or rebuild every menu.
    connect(m_action, &QAction::triggered, this, [this] {
        QMetaObject::invokeMethod(this, &menu_entry_c::deliver, Qt::QueuedConnection);
    });
    connect(m_action, &QAction::hovered, this, &menu_entry_c::hovered);
}

menu_entry_c::~menu_entry_c() = default;

interface_i* menu_entry_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<menu_entry_i>::value)
        return static_cast<menu_entry_i*>(this);
    if (iid == iid_of<menu_entry_code_i>::value)
        return static_cast<menu_entry_code_i*>(this);
    return nullptr;
}

void menu_entry_c::release() {
    m_journal.record(QStringLiteral("release"));
    destroy();
}

void menu_entry_c::set_label(const QString& text) {
    m_journal.record(QStringLiteral("set_label"), {text});
    m_label = text;
    m_action->setText(menu_style_c::item_text(text, QString()));
}

void menu_entry_c::set_client(menu_item_client_i* client) {
    m_journal.record(QStringLiteral("set_client"), {client != nullptr});
    m_client = client;
}

void menu_entry_c::set_second_client(interface_i* client) {
    m_journal.record(QStringLiteral("set_second_client"), {client != nullptr});
    m_second_client = client;
}

void menu_entry_c::set_icon_flag(int32_t flag) {
    m_journal.record(QStringLiteral("set_icon_flag"), {flag});
    m_icon_flag = flag;
    apply_icon();
}

void menu_entry_c::set_icons(const QString& normal, const QString& over, const QString& active) {
    m_journal.record(QStringLiteral("set_icons"), {normal, over, active});
    m_icons[0] = normal;
    m_icons[1] = over;
    m_icons[2] = active;
    apply_icon();
}

void menu_entry_c::apply_icon() {
    m_action->setIcon(m_icon_flag == 1 ? icon_from(m_icons) : QIcon());
}

void menu_entry_c::set_identifier(uint32_t identifier) {
    m_journal.record(QStringLiteral("set_identifier"), {identifier});
    m_identifier = identifier;
}

void menu_entry_c::set_enabled(bool on) {
    m_journal.record(QStringLiteral("set_enabled"), {on});
    m_action->setEnabled(on);
}

bool menu_entry_c::is_enabled() {
    return m_action->isEnabled();
}

void menu_entry_c::set_code(int32_t code) {
    m_journal.record(QStringLiteral("set_code"), {code});
    m_code = code;
}

void menu_entry_c::set_parameter(int32_t parameter) {
    m_journal.record(QStringLiteral("set_parameter"), {parameter});
    m_parameter = parameter;
}

void menu_entry_c::choose() {
    if (m_action->isEnabled() && m_action->isVisible())
        m_action->trigger();
}

void menu_entry_c::hovered() {
    if (m_client)
        m_client->entry_hovered(this);
}

void menu_entry_c::deliver() {
    if (!m_action->isEnabled() || !m_action->isVisible())
        return;
    m_journal.record(QStringLiteral("chosen"), {m_code, m_parameter});
    interface_i* clients[] = {m_client, m_second_client};
    ++s_delivering;
    for (interface_i* client : clients) {
        if (!client)
            continue;
        if (auto* chooser = query<menu_button_item_client_i>(client))
            chooser->entry_chosen(this);
        else
            qCWarning(lc_koral, "A menu entry's client does not take chosen entries");
    }
    --s_delivering;
}

// ---------------------------------------------------------------------------
// menu_c

menu_c::menu_c()
    : m_menu(make_menu()) {
    register_faces({static_cast<menu_i*>(this), static_cast<listener_mgr_i*>(this)});
    connect(m_menu, &QMenu::aboutToShow, this, &menu_c::shown);
    connect(m_menu, &QMenu::aboutToHide, this, &menu_c::hidden);
}

menu_c::~menu_c() {
    // A tree that goes tells its listeners nothing more.
    if (m_menu)
        disconnect(m_menu, nullptr, this, nullptr);
    const QVector<menu_node_c*> children = m_children;
    m_children.clear();
    for (menu_node_c* child : children) {
        child->m_parent = nullptr;
        delete child;
    }
    m_listeners.close(this);
    delete m_menu.data();
}

interface_i* menu_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<menu_i>::value)
        return static_cast<menu_i*>(this);
    if (iid == iid_of<listener_mgr_i>::value)
        return static_cast<listener_mgr_i*>(this);
    return nullptr;
}

void menu_c::release() {
    m_journal.record(QStringLiteral("release"));
    if (m_menu)
        m_menu->hide();
    destroy();
}

QAction* menu_c::action() const {
    return m_menu ? m_menu->menuAction() : nullptr;
}

menu_c* menu_c::root() {
    menu_c* top = this;
    while (top->m_parent)
        top = top->m_parent;
    return top;
}

void menu_c::add_child(interface_i* child) {
    menu_node_c* node = from(child);
    QString what;
    if (auto* sub = qobject_cast<menu_c*>(node))
        what = QStringLiteral("menu:") + sub->label();
    else if (auto* entry = qobject_cast<menu_entry_c*>(node))
        what = QStringLiteral("entry:") + entry->label();
    m_journal.record(QStringLiteral("add_child"), {what});
    if (!node) {
        qCWarning(lc_koral, "A menu was given a child the host did not make; it is ignored");
        return;
    }
    if (node->m_parent) {
        qCWarning(lc_koral, "A menu was given a child that is already in a menu; it is ignored");
        return;
    }
    // A menu cannot hold itself or one of the menus it lies in.
    for (menu_c* up = this; up; up = up->m_parent) {
        if (up == node) {
            qCWarning(lc_koral, "A menu was given itself or a menu above it; it is ignored");
            return;
        }
    }
    node->m_parent = this;
    m_children.append(node);
    if (m_menu && node->action())
        m_menu->addAction(node->action());
}

void menu_c::take_child(menu_node_c* child) {
    m_children.removeOne(child);
    if (m_menu && child->action())
        m_menu->removeAction(child->action());
    child->m_parent = nullptr;
}

void menu_c::set_label(const QString& text) {
    m_journal.record(QStringLiteral("set_label"), {text});
    m_label = text;
    apply_text();
}

void menu_c::set_description(const QString& text) {
    m_journal.record(QStringLiteral("set_description"), {text});
    m_description = text;
    apply_text();
}

void menu_c::apply_text() {
    if (m_menu)
        m_menu->setTitle(menu_style_c::item_text(m_label, m_description));
}

void menu_c::set_icon_flag(int32_t flag) {
    m_journal.record(QStringLiteral("set_icon_flag"), {flag});
    m_icon_flag = flag;
    apply_icon();
}

void menu_c::set_icons(const QString& normal, const QString& over, const QString& active) {
    m_journal.record(QStringLiteral("set_icons"), {normal, over, active});
    m_icons[0] = normal;
    m_icons[1] = over;
    m_icons[2] = active;
    apply_icon();
}

void menu_c::apply_icon() {
    if (m_menu)
        m_menu->setIcon(m_icon_flag == 1 ? icon_from(m_icons) : QIcon());
}

void menu_c::attach(QWidget* parent) {
    m_journal.record(QStringLiteral("attach"),
                     {parent ? parent->objectName() : QStringLiteral("null")});
    // The menu stays a window of its own: the page's style sheets are not the menu's.
    m_attached = parent;
}

void menu_c::set_name(const QString& name) {
    m_journal.record(QStringLiteral("set_name"), {name});
    m_name = name;
    setObjectName(name);
    if (m_menu)
        m_menu->setObjectName(name);
}

void menu_c::popup(const QPoint& global_position) {
    m_journal.record(QStringLiteral("popup"), {global_position});
    if (!m_menu)
        return;
    if (m_menu->actions().isEmpty())
        qCInfo(lc_koral, "An empty menu was asked to open");
    m_menu->popup(global_position);
}

void menu_c::close_menu() {
    m_journal.record(QStringLiteral("close_menu"));
    if (m_menu)
        m_menu->hide();
}

void menu_c::set_enabled(bool on) {
    m_journal.record(QStringLiteral("set_enabled"), {on});
    if (!m_menu)
        return;
    if (m_parent)
        m_menu->menuAction()->setEnabled(on);
    else
        m_menu->setEnabled(on);
}

void menu_c::remove_all() {
    m_journal.record(QStringLiteral("remove_all"));
    const QVector<menu_node_c*> children = m_children;
    for (menu_node_c* child : children)
        child->destroy();
}

void menu_c::add_listener(listener_i* listener) {
    m_listeners.add(listener);
}

void menu_c::remove_listener(listener_i* listener) {
    m_listeners.remove(listener);
}

void menu_c::shown() {
    menu_c* top = root();
    menu_i* self = this;
    top->m_listeners.notify<menu_listener_i>([self](menu_listener_i* l) { l->menu_shown(self); });
    if (top == this)
        m_listeners.notify<main_menu_listener_i>(
            [self](main_menu_listener_i* l) { l->main_menu_shown(self); });
}

void menu_c::hidden() {
    menu_c* top = root();
    menu_i* self = this;
    top->m_listeners.notify<menu_listener_i>([self](menu_listener_i* l) { l->menu_closed(self); });
    if (top == this)
        m_listeners.notify<main_menu_listener_i>(
            [self](main_menu_listener_i* l) { l->main_menu_closed(self); });
}

QVector<menu_entry_c*> menu_c::entries() {
    QVector<menu_entry_c*> found;
    for (menu_node_c* child : qAsConst(m_children)) {
        if (auto* entry = qobject_cast<menu_entry_c*>(child))
            found.append(entry);
        else if (auto* sub = qobject_cast<menu_c*>(child))
            found += sub->entries();
    }
    return found;
}

menu_entry_c* menu_c::find_entry(const QString& label) {
    for (menu_entry_c* entry : entries()) {
        if (entry->label() == label)
            return entry;
    }
    return nullptr;
}

menu_c* menu_c::find_menu(const QString& label) {
    for (menu_node_c* child : qAsConst(m_children)) {
        auto* sub = qobject_cast<menu_c*>(child);
        if (!sub)
            continue;
        if (sub->label() == label)
            return sub;
        if (menu_c* deeper = sub->find_menu(label))
            return deeper;
    }
    return nullptr;
}
