// The device tab of koral: the five profile slots of the shown kernel with the
// operations a person uses on them, what the virtual mouse holds, and the host
// messages a person can make the mouse send.
#pragma once

#include <QList>
#include <QPair>
#include <QVector>
#include <QWidget>
#include <cstdint>

class QDialog;
class QFileDialog;
class QFrame;
class QLabel;
class QPushButton;
class ctrl_center_c;
class kernel_session_c;
class profile_tile_c;

class profile_panel_c : public QWidget {
    Q_OBJECT
public:
    // Host messages the device tab lets a person send through the mouse.
    enum class device_message_t { reload, values, dpi_button, calibration_ok, calibration_failed };

    profile_panel_c(kernel_session_c* session, ctrl_center_c* centre, QWidget* parent = nullptr);

    // Off for screenshots and tests: nothing asks. Questions then count as
    // confirmed, and names and files come only from the arguments.
    void set_dialogs_enabled(bool on) { m_dialogs = on; }

    void refresh();
    void retranslate();

    // What the buttons do. `name` and `file` stand in for the dialogs' answers.
    void select_profile(int slot);
    void add_profile();
    void insert_profile();
    void delete_profile();
    void rename_profile(const QString& name = QString());
    // Into the first free slot while there is one; otherwise, after asking,
    // over the active profile.
    void import_profile(const QString& file = QString());
    void export_profile(const QString& file = QString());
    bool send_message(device_message_t message);

    // The outcome of the last profile operation, and of the last message sent;
    // each is cleared by the next thing a person does.
    QString message() const;
    QString device_message() const;

    // The dialogs the tab asks with, made for the present state and not shown,
    // by the file names of their screenshots.
    QList<QPair<QString, QDialog*>> screenshot_dialogs();

    // Adds a card below the profiles and the mouse, across the whole tab.
    void add_section(QWidget* section);
    // The tile of a slot (0..4), where the module's lighting preview of that slot lives.
    profile_tile_c* tile(int slot) const { return m_tiles.value(slot); }

private:
    QString text(int32_t id) const;
    QFrame* build_profiles();
    QFrame* build_mouse();
    void clear_messages();
    void show_outcome(bool ok, const QString& text);
    void show_device_outcome(bool ok, const QString& text);
    QString command_text(int code) const;
    QString profile_name(int slot) const;
    QFileDialog* file_dialog(bool save, int slot);
    QDialog* rename_dialog(int slot);
    QDialog* delete_question(int slot);
    QDialog* replace_question(int slot, const QString& file);

    kernel_session_c* m_session;
    ctrl_center_c* m_centre;
    bool m_dialogs = true;

    QLabel* m_profiles_title = nullptr;
    QLabel* m_count = nullptr;
    QVector<profile_tile_c*> m_tiles;
    QVector<QPushButton*> m_slots;
    QPushButton* m_add = nullptr;
    QPushButton* m_insert = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_import = nullptr;
    QPushButton* m_export = nullptr;
    QLabel* m_message = nullptr;

    QLabel* m_mouse_title = nullptr;
    struct fact_t {
        QLabel* key;
        QLabel* value;
    };
    fact_t m_edition{};
    fact_t m_memory{};
    fact_t m_checksum{};
    fact_t m_note{};
    fact_t m_last_command{};
    fact_t m_commits{};
    fact_t m_live{};
    fact_t m_file{};
    fact_t m_aside{};
    QLabel* m_messages_caption = nullptr;
    QLabel* m_messages_note = nullptr;
    QVector<QPushButton*> m_message_buttons;
    QLabel* m_device_message = nullptr;
};
