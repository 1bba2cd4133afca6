// The host's drop-down menus (class 0x1801) and menu entries (class 0x1901):
// real pop-up menus with icons, two-line category items, greyed entries and
// submenus. A chosen entry reaches its client once the menu has closed.
#pragma once

#include "host/components/call_journal.h"
#include "host/components/listener_list.h"
#include "module/component_interfaces.h"

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QVector>

class menu_c;

// An entry or a submenu: what a menu holds, in order.
class menu_node_c : public QObject {
    Q_OBJECT
public:
    // The host object a pointer handed to the module stands for, or null when
    // the pointer is none of ours (a module's object or another host's).
    static menu_node_c* from(interface_i* object);

    menu_c* parent_menu() const { return m_parent; }
    // The action that stands for the node in its parent's menu.
    virtual QAction* action() const = 0;
    const call_journal_c& journal() const { return m_journal; }

protected:
    menu_node_c();
    ~menu_node_c() override;
    // Remembers the pointers handed out for this node.
    void register_faces(std::initializer_list<interface_i*> faces);
    // Takes the node out of its parent and destroys it, later when a choice
    // is being delivered (the client may release menus while it handles one).
    void destroy();
    static bool delivering();

    call_journal_c m_journal;

private:
    friend class menu_c;
    friend class menu_entry_c;
    QPointer<menu_c> m_parent;
    QVector<interface_i*> m_faces;
    static int s_delivering;
};

class menu_entry_c : public menu_node_c, public menu_entry_i, public menu_entry_code_i {
    Q_OBJECT
public:
    menu_entry_c();
    ~menu_entry_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // menu_entry_i
    void set_label(const QString& text) override;
    void set_client(menu_item_client_i* client) override;
    void set_second_client(interface_i* client) override;
    void set_icon_flag(int32_t flag) override;
    void set_icons(const QString& normal, const QString& over, const QString& active) override;
    uint32_t identifier() override { return m_identifier; }
    void set_identifier(uint32_t identifier) override;
    void set_enabled(bool on) override;
    bool is_enabled() override;
    QString label() override { return m_label; }

    // menu_entry_code_i
    void set_code(int32_t code) override;
    void set_parameter(int32_t parameter) override;
    int32_t code() override { return m_code; }
    int32_t parameter() override { return m_parameter; }

    // The host's side.
    QAction* action() const override { return m_action; }
    // What a person's click does: the entry is chosen (a disabled one is not).
    void choose();

private:
    void deliver();
    void hovered();
    void apply_icon();

    QAction* m_action;
    QString m_label;
    menu_item_client_i* m_client = nullptr;
    interface_i* m_second_client = nullptr;
    int32_t m_icon_flag = 0;
    QString m_icons[3];
    uint32_t m_identifier = 0;
    int32_t m_code = 0;
    int32_t m_parameter = 0;
};

class menu_c : public menu_node_c, public menu_i, public listener_mgr_i {
    Q_OBJECT
public:
    menu_c();
    ~menu_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;

    // menu_i
    void add_child(interface_i* child) override;
    void set_label(const QString& text) override;
    void set_description(const QString& text) override;
    void set_icon_flag(int32_t flag) override;
    void set_icons(const QString& normal, const QString& over, const QString& active) override;
    void attach(QWidget* parent) override;
    void set_name(const QString& name) override;
    void popup(const QPoint& global_position) override;
    void close_menu() override;
    void set_enabled(bool on) override;
    void remove_all() override;
    int32_t child_count() override { return m_children.size(); }

    // listener_mgr_i: listeners of the tree's opening and closing.
    void add_listener(listener_i* listener) override;
    void remove_listener(listener_i* listener) override;

    // The host's side.
    QMenu* menu() const { return m_menu; }
    QAction* action() const override;
    QString label() const { return m_label; }
    QString description() const { return m_description; }
    QString name() const { return m_name; }
    QWidget* attached_to() const { return m_attached; }
    QVector<menu_node_c*> children() const { return m_children; }
    QVector<listener_i*> listeners() const { return m_listeners.all(); }
    // The top of the tree this menu belongs to.
    menu_c* root();
    // Every entry of the tree, depth first in menu order.
    QVector<menu_entry_c*> entries();
    // The first entry of the tree whose label is `label`, or null.
    menu_entry_c* find_entry(const QString& label);
    // The first submenu of the tree whose label is `label`, or null.
    menu_c* find_menu(const QString& label);

private:
    friend class menu_node_c;
    void take_child(menu_node_c* child);
    void apply_text();
    void apply_icon();
    void shown();
    void hidden();

    QPointer<QMenu> m_menu;
    QString m_label;
    QString m_description;
    QString m_name;
    int32_t m_icon_flag = 0;
    QString m_icons[3];
    QPointer<QWidget> m_attached;
    QVector<menu_node_c*> m_children;
    listener_list_c m_listeners;
};
