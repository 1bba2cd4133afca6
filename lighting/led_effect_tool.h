// The engine of the lighting previews: reads one profile's lighting bytes and, on
// every tick of the effect's timer, hands the two zone colours with their alpha to
// its client, the way the mouse shows them (steady, blinking, breathing or
// heartbeat, in the zone colours or flowing through the standard colours).
#pragma once

#include "module/lighting_interfaces.h"

#include <QColor>
#include <QObject>
#include <QTimer>
#include <QVector>
#include <array>

class product_kernel_i;

class led_effect_tool_c : public QObject {
    Q_OBJECT

public:
    explicit led_effect_tool_c(QObject* parent = nullptr);

    // The kernel whose profile set is read, the profile slot and who is told.
    void set_context(product_kernel_i* source, uint8_t profile_slot,
                     led_effect_tool_client_i* client);
    // A used override replaces that zone's colour (not its alpha) in every frame; the
    // client sees the change at once, with the alphas of the last frame.
    void set_top_override(bool use, const QColor& colour);
    void set_bottom_override(bool use, const QColor& colour);
    // Stops every timer and starts the effect anew from the profile's bytes.
    void restart();

    // The timer period of an effect at a speed; 0 for a speed other than 1..3 (and for an
    // effect other than 1..4).
    static int period(int effect, int speed);
    // The colours the flow runs through: the standard colours, opaque, built once.
    static const QVector<QColor>& flow_table();

    uint8_t profile_slot() const { return m_slot; }
    uint8_t top_position() const { return m_top_position; }
    uint8_t bottom_position() const { return m_bottom_position; }
    bool blink_phase() const { return m_blink_on; }
    bool breathing_rising() const { return m_breath_rising; }
    uint8_t breathing_level() const { return m_breath_level; }
    bool heartbeat_phase() const { return m_heart_phase; }
    int heartbeat_level() const { return m_heart_level; }
    // The effect whose timer runs (1..4), 0 when none does.
    int running_effect() const;
    const QTimer* timer(int effect) const;

private slots:
    void refresh_fully_light();
    void refresh_blinking();
    void refresh_breathing();
    void refresh_heartbeat();

private:
    struct frame_t {
        QColor top;
        QColor bottom;
    };

    // The slot's settings record; null without a profile set or when the slot is not in use.
    const uint8_t* lighting_record() const;
    // The two zone colours of this moment with the lit zones' alpha 255; false when
    // there is no frame (no data).
    bool compute_frame(frame_t& frame) const;
    // Scales each zone's frame alpha by `level` (0..255) and tells the client.
    void send(const frame_t& frame, int top_level, int bottom_level);
    void advance_flow();
    void show_last_frame();
    void complain(int kind, int value, const QString& message);

    product_kernel_i* m_source = nullptr;
    led_effect_tool_client_i* m_client = nullptr;
    uint8_t m_slot = 0xFF;
    uint8_t m_top_position = 0;
    uint8_t m_bottom_position = 0;
    bool m_blink_on = false;
    bool m_breath_rising = true;
    uint8_t m_breath_level = 0;
    bool m_heart_phase = false;
    int m_heart_level = 140;
    QColor m_top_override;
    QColor m_bottom_override;
    bool m_use_top_override = false;
    bool m_use_bottom_override = false;
    QTimer m_fully_lighted;
    QTimer m_blinking;
    QTimer m_breathing;
    QTimer m_heartbeat;
    // The levels of the last frame sent, so an override can be shown at once.
    int m_last_top_level = 0;
    int m_last_bottom_level = 0;
    bool m_sent_any = false;
    // Stored values already logged as out of range, so each is written once.
    std::array<int, 3> m_complained{{-1, -1, -1}};
};
