// The device tab's picture of the virtual mouse's lights and the person's answer to
// the next surface calibration. The picture reads the lighting bytes of the active
// profile from the mouse's memory with koral's own reader and plays the effect as
// the device would: what a person sees is what the memory holds, not what the
// module shows.
#pragma once

#include "module/lighting_interfaces.h"

#include <QColor>
#include <QElapsedTimer>
#include <QFrame>
#include <QTimer>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class virtual_mouse_c;

// The lighting of one profile as the device reads its settings bytes 19..30, with
// koral's own playback of the effect.
struct device_lights_t {
    bool on = false;
    int32_t effect = light_effect::fully_lighted; // clamped to 1..4
    int32_t speed = 2;                            // clamped to 1..3
    int32_t flow = 0;                             // 0..3; other values: no flow
    QColor top;                                   // logo
    QColor bottom;                                // light pipe

    // From a 33-byte settings record; out-of-range bytes read as the nearest valid value.
    static device_lights_t from_settings(const uint8_t* settings, int size);
    // Brightness 0..1 of the effect `ms` milliseconds into it.
    double brightness(qint64 ms) const;
    // The zone colours `ms` milliseconds in, before brightness.
    std::array<QColor, 2> colours(qint64 ms) const;
    // One breath, blink cycle or heartbeat, and the time one flow colour stays.
    int period_ms() const;
};

class mouse_lights_view_c : public QWidget {
    Q_OBJECT
public:
    explicit mouse_lights_view_c(QWidget* parent = nullptr);

    void set_lights(const device_lights_t& lights);
    const device_lights_t& lights() const { return m_lights; }
    // The colours drawn now (brightness applied), logo first.
    std::array<QColor, 2> shown_colours() const;
    // Freezes the playback `ms` into the effect (screenshots); negative runs it again.
    void freeze_at(qint64 ms);

    QSize sizeHint() const override { return QSize(150, 210); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qint64 now() const;

    device_lights_t m_lights;
    QTimer m_tick;
    QElapsedTimer m_clock;
    qint64 m_frozen = -1;
};

// The card: the picture, a line saying what it shows, and the calibration answer.
class device_lights_card_c : public QFrame {
    Q_OBJECT
public:
    using text_fn = std::function<QString(int32_t)>;
    device_lights_card_c(text_fn text, QWidget* parent = nullptr);

    // The mouse whose memory the picture reads and whose calibration answer is set.
    void set_mouse(virtual_mouse_c* mouse);
    // Reads the memory again (after the device stored a blob).
    void refresh();
    void retranslate();

    mouse_lights_view_c* view() const { return m_view; }
    QComboBox* outcome_box() const { return m_outcome; }
    QComboBox* delay_box() const { return m_delay; }
    // The delays a person can choose, in seconds.
    static constexpr int delays_s[] = {1, 2, 3, 5, 8, 12};
    QLabel* summary() const { return m_summary; }

private:
    void apply_answer();

    text_fn m_text;
    virtual_mouse_c* m_mouse = nullptr;
    QLabel* m_title;
    mouse_lights_view_c* m_view;
    QLabel* m_summary;
    QLabel* m_answer_caption;
    QComboBox* m_outcome;
    QComboBox* m_delay;
};
