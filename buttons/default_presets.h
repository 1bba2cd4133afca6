// The default button-set presets compiled into the module, and the test whether a layout
// record already is one of the presets.
#pragma once

#include "kernel/records.h"

#include <QList>
#include <QString>

class zarek_data_c;

inline constexpr const char* default_presets_path = "://config/QuilDefaultButtons.dat";

// The presets of an INI file, one per group except "LOAD DEFAULT", ordered by identifier.
// The file is outside bytes: a missing, oversized or malformed file gives no presets, a
// group whose SETTING is no hexadecimal number is skipped, a repeated identifier is skipped
// after its first use, the list stops at the preset limit; each of them is logged.
QList<btn_layout_rec>
read_default_presets(const QString& path = QString::fromLatin1(default_presets_path));

// Replaces the profile set's saved layout list with the default presets; null does nothing.
void load_default_presets(zarek_data_c* data,
                          const QString& path = QString::fromLatin1(default_presets_path));

// True when a preset of the list matches the candidate by the preset match rule.
bool is_default_preset(const QList<btn_layout_rec>& presets, const btn_layout_rec& candidate);

// The side panel's factory preset for a profile slot: "Button Preset", identifier 3,
// twelve singles.
btn_layout_rec side_default_preset(uint8_t slot);
