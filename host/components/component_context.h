// What the host's components share: the control centre they take their texts
// from, the language switch they follow, and the way settings that only the
// host keeps (the hub's option bytes) leave a component.
#pragma once

#include <QObject>
#include <cstdint>

class ctrl_center_i;
class timer_list_c;

class component_context_c : public QObject {
    Q_OBJECT
public:
    explicit component_context_c(ctrl_center_i* centre = nullptr, QObject* parent = nullptr);

    ctrl_center_i* centre() const { return m_centre; }
    void set_centre(ctrl_center_i* centre) { m_centre = centre; }

    // The host text in the current language; empty without a text provider.
    QString text(int32_t id) const;

    // The host's timers, which the timer dialogs edit; null: none.
    timer_list_c* timers() const { return m_timers; }
    void set_timers(timer_list_c* timers) { m_timers = timers; }

    // Components tell the host through these (they emit the signals below).
    void report_hub_option(int index, int value) { emit hub_option_changed(index, value); }
    void report_user_change() { emit user_changed(); }

signals:
    // The host switched its language; components set their texts again.
    void language_changed();
    // A component changed one of the hub's option bytes (pointer precision,
    // snap, scroll by page); the host stores it.
    void hub_option_changed(int index, int value);
    // The user changed something through a component (a value, an option, a
    // slider, a reset); the module may have new data to commit.
    void user_changed();

private:
    ctrl_center_i* m_centre;
    timer_list_c* m_timers = nullptr;
};
