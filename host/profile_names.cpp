#include "host/profile_names.h"

#include <QRegularExpression>

namespace {

// At most `units` code units of `text`, never half of a two-unit character.
QString cut_to(const QString& text, int units) {
    QString kept = text.left(units);
    if (kept.size() < text.size() && !kept.isEmpty() && kept.at(kept.size() - 1).isHighSurrogate())
        kept.chop(1);
    return kept;
}

} // namespace

namespace profile_names {

QString fit(const QString& name, bool* cut) {
    const QString kept = cut_to(name, max_units);
    if (cut)
        *cut = kept.size() < name.size();
    return kept;
}

QString distinct(const QString& base, const QStringList& taken) {
    const QString whole = fit(base);
    if (!taken.contains(whole))
        return whole;
    static const QRegularExpression numbered(QStringLiteral("^(.*) \\((\\d+)\\)$"));
    QString stem = whole;
    int number = 2;
    const QRegularExpressionMatch match = numbered.match(whole);
    if (match.hasMatch()) {
        stem = match.captured(1);
        number = qMax(2, match.captured(2).toInt() + 1);
    }
    for (;; ++number) {
        const QString suffix = QStringLiteral(" (%1)").arg(number);
        const QString candidate = cut_to(stem, max_units - suffix.size()) + suffix;
        if (!taken.contains(candidate))
            return candidate;
    }
}

int free_slot(int slots_in_use, int slot_count) {
    return slots_in_use >= 0 && slots_in_use < slot_count ? slots_in_use : -1;
}

} // namespace profile_names
