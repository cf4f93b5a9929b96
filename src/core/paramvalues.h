#pragma once

#include "core/panel.h"

#include <QHash>
#include <QStringList>

namespace plintex {

/// The values of a panel's parameters at the moment a run starts, keyed by Parameter::key.
/// Choices hold their choice's key, flags "1" or "0".
class ParamValues {
public:
    void set(const QString &key, const QString &value) { m_values.insert(key, value); }
    bool contains(const QString &key) const { return m_values.contains(key); }
    QString text(const QString &key) const { return m_values.value(key); }
    qint64 number(const QString &key) const;
    bool flag(const QString &key) const { return m_values.value(key) == u'1'; }
    /// A multi-line field's lines: split at line breaks, a final break starting no line.
    QStringList lines(const QString &key) const;
    /// Every value, in no particular order.
    QStringList all() const { return m_values.values(); }

    /// Every parameter at its default.
    static ParamValues defaults(const QList<Parameter> &params);

private:
    QHash<QString, QString> m_values;
};

} // namespace plintex
