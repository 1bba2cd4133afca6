#include "buttons/default_presets.h"

#include "button_sets/side_layout.h"
#include "common/log.h"
#include "kernel/zarek_data.h"

#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <algorithm>

namespace {

// The shipped file is a few hundred bytes; anything near this is not a preset file.
constexpr qint64 max_file_size = 64 * 1024;
const QString skipped_group = QStringLiteral("LOAD DEFAULT");

void log_presets(const QString& path, const QString& what) {
    write_log(QStringLiteral("Default presets %1: %2").arg(path, what));
}

// The reader hands group names over byte for byte (each byte one character); the names
// are UTF-8. A name that is not valid UTF-8 keeps its bytes as Latin-1 characters.
QString preset_name(const QString& group, bool* valid) {
    *valid = true;
    for (const QChar c : group) {
        if (c.unicode() > 0xFF)
            return group; // already characters (a %U escape)
    }
    const QByteArray bytes = group.toLatin1();
    const QString decoded = QString::fromUtf8(bytes);
    if (decoded.toUtf8() == bytes)
        return decoded;
    *valid = false;
    return group;
}

btn_layout_rec preset_record(const QString& name, uint16_t id, uint32_t layout, uint8_t slot) {
    btn_layout_rec r;
    r.set_head(slot);
    r.set_name(side_layout::utf8_prefix(name));
    r.set_preset_id(id);
    r.set_layout_value(layout & 0xFFFFFF);
    return r;
}

} // namespace

QList<btn_layout_rec> read_default_presets(const QString& path) {
    QList<btn_layout_rec> presets;
    const QFileInfo info(path);
    if (!info.exists()) {
        log_presets(path, QStringLiteral("missing"));
        return presets;
    }
    if (info.size() > max_file_size) {
        log_presets(path, QStringLiteral("%1 bytes, refused").arg(info.size()));
        return presets;
    }
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        log_presets(path, QStringLiteral("unreadable or malformed"));
        return presets;
    }

    QSet<uint16_t> ids;
    const QStringList groups = ini.childGroups();
    for (const QString& group : groups) {
        if (group == skipped_group)
            continue;
        if (presets.size() == side_layout::max_presets) {
            log_presets(path, QStringLiteral("more than %1 presets; the rest is ignored")
                                  .arg(side_layout::max_presets));
            break;
        }
        ini.beginGroup(group);
        const QString setting = ini.value(QStringLiteral("SETTING")).toString();
        const QVariant id_value = ini.value(QStringLiteral("ID"));
        ini.endGroup();

        bool ok = false;
        const uint32_t layout = setting.toUInt(&ok, 16);
        if (!ok) {
            log_presets(path, QStringLiteral("preset \"%1\" has no valid SETTING \"%2\"; skipped")
                                  .arg(group, setting.left(40)));
            continue;
        }
        bool id_ok = false;
        const uint id = id_value.toUInt(&id_ok);
        if (id_value.isValid() && !id_ok)
            log_presets(path, QStringLiteral("preset \"%1\" has no valid ID; 0 used").arg(group));
        if (ids.contains(uint16_t(id))) {
            log_presets(path, QStringLiteral("preset \"%1\" repeats identifier %2; skipped")
                                  .arg(group)
                                  .arg(uint16_t(id)));
            continue;
        }
        bool valid = true;
        const QString name = preset_name(group, &valid);
        if (!valid)
            log_presets(path, QStringLiteral("preset name \"%1\" is not valid UTF-8").arg(name));
        ids.insert(uint16_t(id));
        presets.append(preset_record(name, uint16_t(id), layout, 0));
    }
    // The reader enumerates groups by name; presets are known by their identifier.
    std::stable_sort(presets.begin(), presets.end(),
                     [](const btn_layout_rec& a, const btn_layout_rec& b) {
                         return a.preset_id() < b.preset_id();
                     });
    return presets;
}

void load_default_presets(zarek_data_c* data, const QString& path) {
    if (!data)
        return;
    data->saved_layouts() = read_default_presets(path);
}

bool is_default_preset(const QList<btn_layout_rec>& presets, const btn_layout_rec& candidate) {
    return std::any_of(presets.begin(), presets.end(),
                       [&](const btn_layout_rec& p) { return p.matches(candidate); });
}

btn_layout_rec side_default_preset(uint8_t slot) {
    return preset_record(QStringLiteral("Button Preset"), 3, side_layout::all_singles, slot);
}
