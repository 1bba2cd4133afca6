// The rules koral follows for profile names and slots, so that a person's
// profiles stay apart and nothing is overwritten unasked.
#pragma once

#include <QString>
#include <QStringList>

namespace profile_names {

// The longest name a profile record keeps (UTF-16 code units, zero after).
inline constexpr int max_units = 49;

// `name` cut to fit a profile record; `cut` tells whether anything was
// dropped. A cut never splits a character made of two code units.
QString fit(const QString& name, bool* cut = nullptr);

// `base` when no name in `taken` equals it, otherwise the first free of
// "base (2)", "base (3)" …, each cut to fit. A base that already ends in such
// a number counts on from its stem.
QString distinct(const QString& base, const QStringList& taken);

// Where an imported profile goes without asking: the first free slot while
// there is one; -1 when every slot is in use (the person picks one to replace).
int free_slot(int slots_in_use, int slot_count);

} // namespace profile_names
