// The lighting control as its page and its listeners see it, the client of the
// effect tool, and what the lighting bytes of a profile mean (the host reads
// them from the device's memory too).
#pragma once

#include "module/interfaces.h"

#include <array>
#include <cstdint>

// The lighting control (control type 13). The page fills it through the setters,
// which only cache and show a value: they neither write the profile nor notify.
class lighting_ctrl_funcs_i : public interface_i {
public:
    virtual bool is_lighting_on() = 0;                // 2
    virtual int32_t effect() = 0;                     // 3
    virtual int32_t effect_speed() = 0;               // 4
    virtual int32_t color_flow() = 0;                 // 5
    virtual void set_lighting_on(bool on) = 0;        // 6
    virtual void set_effect(int32_t effect) = 0;      // 7
    virtual void set_effect_speed(int32_t speed) = 0; // 8
    virtual void set_color_flow(int32_t flow) = 0;    // 9
    // 10: the open form takes both zone colours from the current profile again.
    virtual void refresh_colors() = 0;

protected:
    ~lighting_ctrl_funcs_i() = default;
};

// What the lighting control tells its listeners after it wrote a user's change.
class lighting_ctrl_funcs_listener_i : public interface_i {
public:
    virtual void lighting_on_changed() = 0;                // 2
    virtual void effect_changed(int32_t old_effect) = 0;   // 3
    virtual void speed_changed(int32_t old_speed) = 0;     // 4
    virtual void color_flow_changed(int32_t old_flow) = 0; // 5
    virtual void colors_changed() = 0;                     // 6

protected:
    ~lighting_ctrl_funcs_listener_i() = default;
};

// Told the two zone colours of every animation frame (1 = top zone, 2 = bottom zone).
class led_effect_tool_client_i : public interface_i {
public:
    virtual void show_led_colors(uint8_t r1, uint8_t g1, uint8_t b1, uint8_t a1, uint8_t r2,
                                 uint8_t g2, uint8_t b2, uint8_t a2) = 0; // 2

protected:
    ~led_effect_tool_client_i() = default;
};

// Offsets of the lighting bytes in a profile's 33-byte settings record.
namespace lighting_byte {
inline constexpr int flags = 19;
inline constexpr int color_flow = 20;
inline constexpr int effect = 21;
inline constexpr int speed = 22;
inline constexpr int top_index = 23;
inline constexpr int top_rgb = 24; // red, green, blue
inline constexpr int bottom_index = 27;
inline constexpr int bottom_rgb = 28; // red, green, blue
} // namespace lighting_byte

// Bits of the flags byte. The control sets or clears both lit bits together;
// either one counts as lights on.
namespace lighting_flag {
inline constexpr uint8_t top_lit = 0x01;
inline constexpr uint8_t bottom_lit = 0x02;
inline constexpr uint8_t lit = top_lit | bottom_lit;
// The zone shows its own RGB triple instead of a standard colour.
inline constexpr uint8_t top_rgb = 0x10;
inline constexpr uint8_t bottom_rgb = 0x20;
} // namespace lighting_flag

namespace light_effect {
inline constexpr int32_t fully_lighted = 1;
inline constexpr int32_t blinking = 2;
inline constexpr int32_t breathing = 3;
inline constexpr int32_t heartbeat = 4;
} // namespace light_effect

// Colour flow: 0 none (each zone keeps its colour), 1 both zones through the standard
// colours together, 2 with the bottom zone one colour ahead (the colours climb up the
// mouse), 3 with the top zone one colour ahead (they run down).
inline constexpr int32_t color_flow_count = 4;
inline constexpr int32_t effect_speed_min = 1;
inline constexpr int32_t effect_speed_max = 3;

// The palette's 30 standard colours come first; the 12 custom colours of the
// device block follow as palette entries 30..41, four bytes each (red, green,
// blue, filled: 255 holds a colour, 0 is empty).
inline constexpr int32_t standard_color_count = 30;
inline constexpr int32_t custom_color_count = 12;
inline constexpr int32_t first_custom_color = standard_color_count;

struct rgb_triple {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};

// What a palette index means to the device: standard colour k, k = 0..29.
inline constexpr std::array<rgb_triple, standard_color_count> standard_colors = {{
    {179, 0, 0},    {255, 0, 0},    {255, 71, 0},    {255, 106, 0},  {255, 157, 71}, {248, 232, 0},
    {246, 255, 78}, {201, 255, 78}, {165, 255, 78},  {132, 255, 78}, {0, 255, 0},    {0, 207, 55},
    {0, 166, 44},   {0, 207, 124},  {0, 207, 158},   {0, 203, 207},  {41, 197, 255}, {37, 162, 233},
    {99, 158, 239}, {37, 132, 233}, {0, 72, 255},    {15, 15, 255},  {15, 15, 188},  {89, 7, 255},
    {121, 12, 255}, {161, 12, 255}, {170, 108, 232}, {181, 10, 216}, {205, 10, 217}, {217, 10, 125},
}};
