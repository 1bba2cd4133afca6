// The host's timer dialogs over its timer list: a new timer (class 0xA01)
// and the timer manager (class 0xB01).
#pragma once

#include "host/components/dialog_frame.h"
#include "module/component_interfaces.h"

class QLineEdit;
class QTimeEdit;
class QTreeWidget;
class timer_list_c;

// The name and the duration of a timer, checked against the list as typed.
class new_timer_fm_c : public dialog_frame_c {
    Q_OBJECT
public:
    new_timer_fm_c(component_context_c* context, timer_list_c* timers, QWidget* parent = nullptr);
    QLineEdit* name_edit() const { return m_name; }
    QTimeEdit* duration_edit() const { return m_duration; }
    QString timer_name() const;
    uint32_t duration_ms() const;

private:
    void retranslate();
    void check();

    timer_list_c* m_timers;
    QLabel* m_name_caption = nullptr;
    QLabel* m_duration_caption = nullptr;
    QLineEdit* m_name = nullptr;
    QTimeEdit* m_duration = nullptr;
};

class new_timer_dialog_c : public dialog_component_c, public new_timer_dialog_i {
    Q_OBJECT
public:
    explicit new_timer_dialog_c(component_context_c* context = nullptr);

    interface_i* query_interface(const GUID& iid) override;
    void release() override { release_component(); }
    int32_t run() override;
    bool store(uint32_t identifier) override;
    QString timer_name() override { return m_name; }

    new_timer_fm_c* dialog() const { return static_cast<new_timer_fm_c*>(open_dialog()); }

private:
    QString m_name;
    uint32_t m_duration_ms = 0;
    bool m_accepted = false;
};

// The timers as a list with the selected one's name and duration beneath;
// edits go to the host's list at once.
class timer_manager_fm_c : public dialog_frame_c {
    Q_OBJECT
public:
    timer_manager_fm_c(component_context_c* context, timer_list_c* timers,
                       edit_timer_fm_client_i* client, QWidget* parent = nullptr);

    QTreeWidget* list() const { return m_list; }
    QLineEdit* name_edit() const { return m_name; }
    QTimeEdit* duration_edit() const { return m_duration; }
    bool changed() const { return m_changed; }
    // What the buttons do; `confirm` stands for the person's answer when the
    // timer is in use (null asks).
    bool add_timer();
    bool delete_selected(const bool* confirm = nullptr);
    void select(uint32_t identifier);
    uint32_t selected() const;

private:
    void retranslate();
    void refill();
    void show_selected();
    void commit_name();
    void commit_duration();

    timer_list_c* m_timers;
    edit_timer_fm_client_i* m_client;
    QTreeWidget* m_list = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_name_caption = nullptr;
    QLabel* m_duration_caption = nullptr;
    QLineEdit* m_name = nullptr;
    QTimeEdit* m_duration = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_delete = nullptr;
    bool m_changed = false;
    bool m_filling = false;
};

class timer_manager_dialog_c : public dialog_component_c, public timer_manager_dialog_i {
    Q_OBJECT
public:
    explicit timer_manager_dialog_c(component_context_c* context = nullptr);

    interface_i* query_interface(const GUID& iid) override;
    void release() override { release_component(); }
    void set_client(edit_timer_fm_client_i* client) override;
    int32_t run() override;

    timer_manager_fm_c* dialog() const { return static_cast<timer_manager_fm_c*>(open_dialog()); }

private:
    edit_timer_fm_client_i* m_client = nullptr;
};

namespace timer_text {
// "1:30" for 90 s, "1:00:00" for an hour.
QString duration(uint32_t ms);
} // namespace timer_text
