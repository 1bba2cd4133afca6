// The macros tab of koral: the host's macro library as a person sees it, with
// the operations that reach every device through the hub's listeners.
#pragma once

#include <QList>
#include <QPair>
#include <QWidget>
#include <cstdint>
#include <functional>

class QDialog;
class QLabel;
class QPushButton;
class QTreeWidget;
class ctrl_center_c;
class macro_library_c;

class macro_panel_c : public QWidget {
    Q_OBJECT
public:
    // The longest group name the dialog takes.
    static constexpr int max_group_chars = 64;

    macro_panel_c(macro_library_c* library, ctrl_center_c* centre, QWidget* parent = nullptr);

    // Off for screenshots and tests: nothing asks, and nothing happens without
    // the answers passed in.
    void set_dialogs_enabled(bool on) { m_dialogs = on; }
    // The host's macro editor for a new macro in a group; without one, New
    // asks for a name and the keys to type.
    void set_editor(std::function<int32_t(int group)> editor) { m_editor = std::move(editor); }

    void refresh();
    void retranslate();

    // What the buttons do; the arguments stand in for the dialogs' answers.
    bool new_group(const QString& name = QString());
    // Keys a macro cannot type are refused with a note naming them.
    bool new_macro(const QString& name = QString(), const QString& keys = QString());
    bool rename_selected(const QString& name = QString());
    // The selected macro's name and keys; a null `keys` asks.
    bool edit_selected(const QString& name = QString(), const QString& keys = QString());
    bool delete_selected();
    // Selects a group (macro -1) or one of its macros.
    void select(int group, int macro = -1);
    int selected_group() const;
    int selected_macro() const;
    QString message() const;
    QString summary() const;

    // The dialogs the tab asks with, made for the present state and not shown,
    // by the file names of their screenshots.
    QList<QPair<QString, QDialog*>> screenshot_dialogs();

private:
    QString text(int32_t id) const;
    QDialog* group_dialog(const QString& title, const QString& value, int except);
    QDialog* macro_dialog(int group, int macro);
    // Asks for a macro's name and keys (macro -1: a new one); false when not answered.
    bool ask_macro(int group, int macro, QString* name, QString* keys);
    // Names, in the tab's message, what `keys` holds that a macro cannot type.
    bool refuse_untypeable(const QString& keys);
    void show_message(const QString& text, bool refused);
    void update_buttons();

    macro_library_c* m_library;
    ctrl_center_c* m_centre;
    bool m_dialogs = true;
    std::function<int32_t(int group)> m_editor;
    QLabel* m_title = nullptr;
    QLabel* m_summary = nullptr;
    QTreeWidget* m_tree = nullptr;
    QPushButton* m_new_group = nullptr;
    QPushButton* m_new_macro = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_delete = nullptr;
    QLabel* m_message = nullptr;
};
