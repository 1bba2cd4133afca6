#include "kernel/records.h"

QString read_utf16(const uint8_t* at, std::size_t units) {
    QString text;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = qFromLittleEndian<quint16>(at + 2 * i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

void write_utf16(uint8_t* at, std::size_t units, const QString& text) {
    std::memset(at, 0, 2 * units);
    if (units == 0)
        return;
    // One unit stays free for the terminating zero.
    const std::size_t n = std::min<std::size_t>(units - 1, std::size_t(text.size()));
    for (std::size_t i = 0; i < n; ++i)
        qToLittleEndian<quint16>(text.at(int(i)).unicode(), at + 2 * i);
}

QByteArray read_text8(const uint8_t* at, std::size_t size) {
    const auto* end = std::find(at, at + size, uint8_t(0));
    return QByteArray(reinterpret_cast<const char*>(at), int(end - at));
}

void btn_layout_rec::set_name(const QByteArray& n) {
    std::memset(b.data() + 3, 0, name_size);
    std::memcpy(b.data() + 3, n.constData(),
                std::min<std::size_t>(name_size, std::size_t(n.size())));
}

bool btn_layout_rec::matches(const btn_layout_rec& other) const {
    return layout_value() == other.layout_value() &&
           QString::fromUtf8(name()).left(3) == QString::fromUtf8(other.name()).left(3);
}

profile_name_rec default_name_rec() {
    profile_name_rec r;
    r.volume() = 50;
    return r;
}

profile_aux_rec default_aux_rec() {
    profile_aux_rec r;
    r.single_sensitivity() = 6;
    r.adv_sensitivity_x() = 6;
    r.adv_sensitivity_y() = 6;
    return r;
}

btn_assign_rec default_btn_assign_rec() {
    btn_assign_rec r;
    r.set_head(0);
    return r;
}

profile_settings_rec default_settings_rec() {
    profile_settings_rec r;
    r.set_head(0);
    return r;
}

btn_layout_rec default_layout_rec() {
    btn_layout_rec r;
    r.set_head(0);
    return r;
}

macro_rec default_macro_rec() {
    macro_rec r;
    r.set_kind();
    return r;
}

device_settings_block device_settings_block::defaults() {
    device_settings_block d;
    const uint8_t head[] = {5, 4, 0, 1, 1, 15, 6, 0, 0, 0, 0, 22, 16};
    std::memcpy(d.data(), head, sizeof head);
    d.set_host_profile(-1);
    return d;
}
