// The host's hotkey dialog (class 0x801): the person presses a key or a
// combination, sees it as key caps, and accepts it for the button.
#pragma once

#include "host/components/dialog_frame.h"
#include "host/components/hid_keys.h"
#include "module/component_interfaces.h"

#include <QFrame>
#include <QPointer>

class component_context_c;

// Takes every key while it has the focus (Tab, Escape and Enter included:
// they are keys a button may send) and shows the combination held.
class hotkey_field_c : public QFrame {
    Q_OBJECT
public:
    hotkey_field_c(const hid_keys::text_source& text, QWidget* parent = nullptr);

    // Modifiers beyond `offered` (a hotkey_modifier mask) are not taken.
    void set_offered(uint8_t offered) { m_offered = offered; }
    void set_scheme(hid_keys::scan_scheme scheme) { m_scheme = scheme; }
    void set_combination(uint8_t modifiers, uint8_t usage);
    void clear() { set_combination(0, 0); }
    uint8_t modifiers() const { return m_modifiers; }
    uint8_t usage() const { return m_usage; }
    bool has_combination() const { return m_modifiers != 0 || m_usage != 0; }
    QString combination_text() const;
    void set_placeholder(const QString& text);

signals:
    void combination_changed();
    // A key the mouse cannot send was pressed; the combination stays.
    void key_refused();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    uint8_t modifier_bit(const QKeyEvent& event, uint8_t usage) const;

    hid_keys::text_source m_text;
    hid_keys::scan_scheme m_scheme;
    QString m_placeholder;
    uint8_t m_offered = hotkey_modifier::all;
    uint8_t m_modifiers = 0;
    uint8_t m_usage = 0;
    // Modifier keys held now, and whether this round of presses took a key.
    uint8_t m_held = 0;
    int m_keys_down = 0;
    bool m_round_has_key = false;
};

class hotkey_dialog_fm_c : public dialog_frame_c {
    Q_OBJECT
public:
    explicit hotkey_dialog_fm_c(component_context_c* context, QWidget* parent = nullptr);
    hotkey_field_c* field() const { return m_field; }

private:
    void retranslate();
    void update_state();

    hotkey_field_c* m_field;
    QLabel* m_prompt;
    QLabel* m_hint;
    QPushButton* m_clear;
};

class hotkey_dialog_c : public dialog_component_c, public hotkey_dialog_i {
    Q_OBJECT
public:
    explicit hotkey_dialog_c(component_context_c* context = nullptr);

    interface_i* query_interface(const GUID& iid) override;
    void release() override { release_component(); }
    int32_t run(uint8_t* entry, int32_t code, int32_t mode) override;

    // The host's side: the dialog while run() is open.
    hotkey_dialog_fm_c* dialog() const { return static_cast<hotkey_dialog_fm_c*>(open_dialog()); }
};
