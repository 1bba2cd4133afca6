// What a host component was asked to do, in order, so tests can check the
// calls the module made on it.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

class call_journal_c {
public:
    struct call_t {
        QString name;
        QVariantList args;
    };

    void record(const QString& name, const QVariantList& args = {});
    void clear() { m_calls.clear(); }

    const QVector<call_t>& calls() const { return m_calls; }
    // The names of all calls, in order.
    QStringList names() const;
    int count(const QString& name) const;
    bool contains(const QString& name) const { return count(name) > 0; }
    // The arguments of the latest call of that name; empty when there was none.
    QVariantList last_args(const QString& name) const;
    // One line per call, "name(arg, arg)", for failure messages.
    QString describe() const;

private:
    QVector<call_t> m_calls;
};
