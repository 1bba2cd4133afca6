// The host's macro editor for a new macro: a group, a name and the keys,
// recorded from the keyboard with their pauses. The function catalogue opens
// it through the host's service (new macro), the macros tab through its New
// button; what it saves goes into the macro library, whose listeners hear of it.
#pragma once

#include "host/components/dialog_frame.h"
#include "host/components/hid_keys.h"
#include "module/macro_interfaces.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QVector>

class QComboBox;
class QLineEdit;
class QTreeWidget;
class macro_library_c;

// Takes key presses and releases while recording and keeps them with the
// pause after each (a = 1 press, 2 release; b = HID usage; d = pause in ms).
class macro_recorder_c : public QFrame {
    Q_OBJECT
public:
    // The device plays at most this many key events of a macro.
    static constexpr int max_events = 480;
    static constexpr uint32_t last_pause_ms = 50;

    explicit macro_recorder_c(QWidget* parent = nullptr);
    void set_recording(bool on);
    bool recording() const { return m_recording; }
    // Adds one event as if it had been typed `pause_ms` after the previous one.
    bool add(uint8_t action, uint8_t usage, uint32_t pause_ms);
    void remove(int index);
    void clear();
    QVector<library_key> keys() const { return m_keys; }
    void set_scheme(hid_keys::scan_scheme scheme) { m_scheme = scheme; }
    // What the recorder says while it waits or records.
    void set_hint(const QString& text);

signals:
    void keys_changed();
    void recording_changed(bool on);
    void key_refused();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void take(QKeyEvent* event, uint8_t action);

    QVector<library_key> m_keys;
    QElapsedTimer m_clock;
    QString m_hint;
    hid_keys::scan_scheme m_scheme;
    bool m_recording = false;
};

class macro_editor_c : public dialog_frame_c {
    Q_OBJECT
public:
    macro_editor_c(component_context_c* context, macro_library_c* library,
                   QWidget* parent = nullptr);

    // Preselects a group by index (-1: the first, or a new "My Macros").
    void select_group(int group);
    QComboBox* group_box() const { return m_group; }
    QLineEdit* name_edit() const { return m_name; }
    macro_recorder_c* recorder() const { return m_recorder; }
    // Puts the macro into the library; false (and a message) when it cannot.
    bool save();
    // After save(): where the macro went.
    int saved_group() const { return m_saved_group; }
    int saved_macro() const { return m_saved_macro; }

protected:
    void done(int result) override;

private:
    void retranslate();
    void refill_events();
    void check();

    macro_library_c* m_library;
    QLabel* m_group_caption = nullptr;
    QLabel* m_name_caption = nullptr;
    QLabel* m_events_caption = nullptr;
    QComboBox* m_group = nullptr;
    QLineEdit* m_name = nullptr;
    macro_recorder_c* m_recorder = nullptr;
    QTreeWidget* m_events = nullptr;
    QLabel* m_count = nullptr;
    QPushButton* m_record = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_clear = nullptr;
    int m_saved_group = -1;
    int m_saved_macro = -1;
};
