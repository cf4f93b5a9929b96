#include "core/params.h"

#include "core/number.h"

namespace plintex {

qint64 ParamValues::number(const QString &key) const
{
    return numberFieldValue(m_values.value(key));
}

ParamValues ParamValues::defaults(const QList<ParamSpec> &params)
{
    ParamValues values;
    for (const ParamSpec &p : params)
        values.set(p.key, p.defaultValue);
    return values;
}

} // namespace plintex
