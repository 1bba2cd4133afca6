// The macros tab of koral: the host's macro library as a person sees it, with
// the operations that reach every device through the hub's listeners.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class ctrl_center_c;
class macro_library_c;

class macro_panel_c : public QWidget {
    Q_OBJECT
public:
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
    bool new_macro(const QString& name = QString(), const QString& keys = QString());
    bool rename_selected(const QString& name = QString());
    bool delete_selected();
    // Selects a group (macro -1) or one of its macros.
    void select(int group, int macro = -1);
    int selected_group() const;
    int selected_macro() const;
    QString message() const;

private:
    QString text(int32_t id) const;
    QString ask(int32_t prompt, const QString& value, bool* ok);
    void show_refusal(bool refused);
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
    QPushButton* m_rename = nullptr;
    QPushButton* m_delete = nullptr;
    QLabel* m_message = nullptr;
};
