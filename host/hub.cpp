#include "host/hub.h"

#include "host/host_log.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const char* const setting_keys[hub_c::byte_count] = {
    "pointer/precision", "pointer/snap",       "scroll/by_page", "scroll/vertical",
    "scroll/horizontal", "double_click/speed", "pointer/speed",
};

QString folder_file(const QString& folder, const QString& name) {
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name);
}

} // namespace

hub_c::bytes_t hub_c::default_bytes() {
    bytes_t bytes{};
    bytes[pointer_precision] = 1;
    bytes[pointer_snap] = 0;
    bytes[scroll_by_page] = 0;
    bytes[vertical_scroll] = 3;
    bytes[horizontal_scroll] = 3;
    bytes[double_click_speed] = 5;
    bytes[pointer_speed] = 0;
    return bytes;
}

int hub_c::minimum(int index) {
    switch (index) {
    case vertical_scroll:
    case horizontal_scroll:
    case double_click_speed:
        return 1;
    case pointer_speed:
        return -5;
    default:
        return 0;
    }
}

int hub_c::maximum(int index) {
    switch (index) {
    case vertical_scroll:
    case horizontal_scroll:
    case double_click_speed:
        return 10;
    case pointer_speed:
        return 5;
    default:
        return 1;
    }
}

int hub_c::stored(int index, int value) {
    // The pointer speed is kept as a signed byte (two's complement).
    return index == pointer_speed ? int(uint8_t(int8_t(value))) : value;
}

hub_c::hub_c(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_folder(folder)
    , m_bytes(default_bytes())
    , m_library(folder_file(folder, QStringLiteral("macro_library.dat"))) {
    load();
    m_library.load();
    connect(&m_library, &macro_library_c::macros_changed, this,
            [this](const QList<library_item>& items) { notify_macros_changed(items); });
}

hub_c::~hub_c() {
    const QVector<listener_i*> remaining = m_listeners;
    m_listeners.clear();
    for (listener_i* listener : remaining)
        listener->manager_closing(this);
}

interface_i* hub_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value)
        return static_cast<hub_i*>(this);
    if (iid == iid_of<listener_mgr_i>::value)
        return static_cast<listener_mgr_i*>(this);
    if (iid == iid_of<listener_i>::value)
        return static_cast<listener_i*>(this);
    if (iid == iid_of<value_ctrl_funcs_listener_i>::value)
        return static_cast<value_ctrl_funcs_listener_i*>(this);
    return nullptr;
}

int hub_c::value(int index) const {
    if (index < 0 || index >= byte_count)
        return 0;
    return index == pointer_speed ? int(int8_t(m_bytes[index])) : int(m_bytes[index]);
}

bool hub_c::set_value(int index, int value) {
    if (index < 0 || index >= byte_count)
        return false;
    const auto byte = uint8_t(stored(index, qBound(minimum(index), value, maximum(index))));
    if (m_bytes[index] != byte) {
        m_bytes[index] = byte;
        save();
        emit bytes_changed();
    }
    return true;
}

void hub_c::set_pointer_options(bool precision, bool snap) {
    set_value(pointer_precision, precision ? 1 : 0);
    set_value(pointer_snap, snap ? 1 : 0);
}

void hub_c::set_vertical_scroll(int lines, bool by_page) {
    set_value(vertical_scroll, lines);
    set_value(scroll_by_page, by_page ? 1 : 0);
}

void hub_c::reset_hub_setting(int32_t type) {
    m_reset_calls.append(type);
    const bytes_t defaults = default_bytes();
    QVector<int> indexes;
    switch (type) {
    case pointer_type:
        indexes = {pointer_speed, pointer_precision, pointer_snap};
        break;
    case vertical_scroll_type:
        indexes = {vertical_scroll, scroll_by_page};
        break;
    case horizontal_scroll_type:
        indexes = {horizontal_scroll};
        break;
    case double_click_type:
        indexes = {double_click_speed};
        break;
    default:
        qCDebug(lc_koral) << "Hub: no setting of type" << type << "to reset";
        return;
    }
    bool changed = false;
    for (int index : qAsConst(indexes)) {
        changed = changed || m_bytes[index] != defaults[index];
        m_bytes[index] = defaults[index];
    }
    if (changed) {
        save();
        emit bytes_changed();
    }
}

void hub_c::value_changed(int32_t type, int32_t value) {
    switch (type) {
    case pointer_type:
        set_value(pointer_speed, value);
        break;
    case vertical_scroll_type:
        set_value(vertical_scroll, value);
        break;
    case horizontal_scroll_type:
        set_value(horizontal_scroll, value);
        break;
    case double_click_type:
        set_value(double_click_speed, value);
        break;
    default:
        break;
    }
}

void hub_c::add_listener(listener_i* listener) {
    if (listener && !m_listeners.contains(listener))
        m_listeners.append(listener);
}

void hub_c::remove_listener(listener_i* listener) {
    m_listeners.removeOne(listener);
}

bool hub_c::notify_macros_changed(const QList<library_item>& items) {
    bool matched = false;
    // A listener may leave while it is being told; it is not called afterwards.
    const QVector<listener_i*> round = m_listeners;
    for (listener_i* listener : round) {
        if (!m_listeners.contains(listener))
            continue;
        if (auto* macros = query<macro_listener_i>(listener))
            matched = macros->on_macros_changed(items) || matched;
    }
    return matched;
}

QString hub_c::settings_file() const {
    return folder_file(m_folder, QStringLiteral("hub.ini"));
}

void hub_c::load() {
    const QString file = settings_file();
    if (file.isEmpty() || !QFile::exists(file))
        return;
    // Seven small values; a file this large was not written by the hub.
    if (QFileInfo(file).size() > max_settings_bytes) {
        qCWarning(lc_koral).noquote() << "Hub:" << file << "is" << QFileInfo(file).size()
                                      << "bytes, too large to be ours; defaults are used";
        return;
    }
    QSettings settings(file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        qCWarning(lc_koral).noquote() << "Hub: cannot read" << file << "; defaults are used";
        return;
    }
    for (int index = 0; index < byte_count; ++index) {
        const QVariant stored_value = settings.value(QLatin1String(setting_keys[index]));
        if (!stored_value.isValid())
            continue;
        bool ok = false;
        const int v = stored_value.toInt(&ok);
        if (!ok || v < minimum(index) || v > maximum(index)) {
            qCWarning(lc_koral).noquote()
                << "Hub:" << setting_keys[index] << "in" << file << "holds"
                << stored_value.toString().left(40) << "- the default is used";
            continue;
        }
        m_bytes[index] = uint8_t(stored(index, v));
    }
}

void hub_c::save() const {
    const QString file = settings_file();
    if (file.isEmpty())
        return;
    QDir().mkpath(m_folder);
    QSettings settings(file, QSettings::IniFormat);
    for (int index = 0; index < byte_count; ++index)
        settings.setValue(QLatin1String(setting_keys[index]), value(index));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCWarning(lc_koral).noquote() << "Hub: cannot write" << file;
}
