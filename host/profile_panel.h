// The device tab of koral: the five profile slots of the shown kernel with the
// operations a person uses on them, and what the virtual mouse holds.
#pragma once

#include <QVector>
#include <QWidget>
#include <cstdint>

class QFrame;
class QGridLayout;
class QLabel;
class QPushButton;
class ctrl_center_c;
class kernel_session_c;
class profile_tile_c;

class profile_panel_c : public QWidget {
    Q_OBJECT
public:
    profile_panel_c(kernel_session_c* session, ctrl_center_c* centre, QWidget* parent = nullptr);

    // Off for screenshots and tests: rename, import and export then ask nothing
    // (and do nothing without their answer).
    void set_dialogs_enabled(bool on) { m_dialogs = on; }

    void refresh();
    void retranslate();

    // What the buttons do. `name` and `file` stand in for the dialogs' answers.
    void add_profile();
    void insert_profile();
    void delete_profile();
    void rename_profile(const QString& name = QString());
    void import_profile(const QString& file = QString());
    void export_profile(const QString& file = QString());

    QString message() const;
    // The tile of a slot (0..4), where the module's lighting preview of that slot lives.
    profile_tile_c* tile(int slot) const { return m_tiles.value(slot); }

private:
    QString text(int32_t id) const;
    QFrame* build_profiles();
    QFrame* build_mouse();
    void show_outcome(bool ok, const QString& done, const QString& error);
    QString command_text(int code) const;

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
};
