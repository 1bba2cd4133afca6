// What the virtual mouse itself needs of its memory: the device values it
// reports (message 8) and the profile settings its DPI button steps through
// (message 14), taken from koral's one reader of the memory (mouse_memory),
// never from the module's code.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

struct device_memory_t {
    static constexpr int settings_size = 33;
    // Profile settings: DPI step mask, five 16-bit DPI values, active step.
    static constexpr int dpi_mask_at = 6;
    static constexpr int dpi_values_at = 7;
    static constexpr int active_step_at = 17;
    static constexpr int dpi_steps = 5;

    QByteArray device_values;   // 4 bytes: two device values, current slot, slots in use
    QList<QByteArray> settings; // one 33-byte record per slot

    int current_slot() const { return device_values.size() == 4 ? uint8_t(device_values[2]) : 0; }
    int slots_in_use() const { return device_values.size() == 4 ? uint8_t(device_values[3]) : 0; }

    // Reads the memory; false with `error` set when it is not a readable set.
    static bool read(const QByteArray& blob, device_memory_t* memory, QString* error);

    // The step a press of the DPI button moves a settings record to: the next
    // switched-on step after the active one, round the end; -1 when no step is on.
    static int next_dpi_step(const QByteArray& settings);
    // The DPI value of a step in a settings record (0 out of range).
    static int dpi_of(const QByteArray& settings, int step);
};
