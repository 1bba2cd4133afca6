#include "host/components/call_journal.h"

#include <algorithm>

void call_journal_c::record(const QString& name, const QVariantList& args) {
    m_calls.append({name, args});
}

QStringList call_journal_c::names() const {
    QStringList names;
    names.reserve(m_calls.size());
    for (const call_t& call : m_calls)
        names.append(call.name);
    return names;
}

int call_journal_c::count(const QString& name) const {
    return int(std::count_if(m_calls.cbegin(), m_calls.cend(),
                             [&name](const call_t& call) { return call.name == name; }));
}

QVariantList call_journal_c::last_args(const QString& name) const {
    const auto found = std::find_if(m_calls.crbegin(), m_calls.crend(),
                                    [&name](const call_t& call) { return call.name == name; });
    return found == m_calls.crend() ? QVariantList() : found->args;
}

QString call_journal_c::describe() const {
    QStringList lines;
    for (const call_t& call : m_calls) {
        QStringList args;
        for (const QVariant& arg : call.args)
            args.append(arg.toString());
        lines.append(call.name + QLatin1Char('(') + args.join(QStringLiteral(", ")) +
                     QLatin1Char(')'));
    }
    return lines.join(QLatin1Char('\n'));
}
