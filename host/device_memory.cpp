#include "host/device_memory.h"

#include "host/mouse_memory.h"

#include <QtEndian>

bool device_memory_t::read(const QByteArray& blob, device_memory_t* memory, QString* error) {
    static_assert(settings_size == mouse_memory::settings_size);
    mouse_memory::memory_t whole;
    if (!mouse_memory::read(blob, &whole, error))
        return false;
    device_memory_t read;
    read.device_values = QByteArray(reinterpret_cast<const char*>(whole.device_values.data()),
                                    int(whole.device_values.size()));
    for (const mouse_memory::profile_t& p : qAsConst(whole.profiles))
        read.settings.append(
            QByteArray(reinterpret_cast<const char*>(p.settings.data()), settings_size));
    *memory = read;
    return true;
}

int device_memory_t::next_dpi_step(const QByteArray& settings) {
    if (settings.size() < settings_size)
        return -1;
    const int mask = uint8_t(settings[dpi_mask_at]) & 0x1F;
    const int active = uint8_t(settings[active_step_at]);
    for (int i = 1; i <= dpi_steps; ++i) {
        const int step = (qMin(active, dpi_steps - 1) + i) % dpi_steps;
        if (mask & (1 << step))
            return step;
    }
    return -1;
}

int device_memory_t::dpi_of(const QByteArray& settings, int step) {
    if (step < 0 || step >= dpi_steps || settings.size() < settings_size)
        return 0;
    return qFromLittleEndian<quint16>(settings.constData() + dpi_values_at + 2 * step);
}
