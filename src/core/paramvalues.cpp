#include "core/paramvalues.h"

#include "core/number.h"
#include "core/textstore.h"

namespace plintex {

qint64 ParamValues::number(const QString &key) const
{
    return numberFieldValue(m_values.value(key));
}

QStringList ParamValues::lines(const QString &key) const
{
    QStringList rows = TextStore::splitRows(m_values.value(key));
    // The text-list convention: a final line break starts no further line.
    if (!rows.isEmpty() && rows.back().isEmpty())
        rows.removeLast();
    return rows;
}

ParamValues ParamValues::defaults(const QList<Parameter> &params)
{
    ParamValues values;
    for (const Parameter &p : params)
        values.set(p.key, p.defaultValue);
    return values;
}

ParamKindTraits traitsOf(ParamKind kind)
{
    ParamKindTraits t;
    switch (kind) {
    case ParamKind::Number:
        t.takesValue = t.isNumber = true;
        break;
    case ParamKind::SignedNumber:
        t.takesValue = t.isNumber = t.isSigned = true;
        break;
    case ParamKind::Text:
    case ParamKind::HistoryText:
        t.takesValue = t.isText = t.fileForm = true;
        break;
    case ParamKind::MultiLineText:
        t.takesValue = t.isText = t.fileForm = t.multiLine = true;
        break;
    case ParamKind::FileName:
        t.takesValue = t.isText = t.namesFile = true;
        break;
    case ParamKind::FixedList:
        t.takesValue = t.isText = true;
        break;
    case ParamKind::Choice:
    case ParamKind::Flag:
        break;
    case ParamKind::Result:
        t.writtenByRun = true;
        break;
    }
    return t;
}

} // namespace plintex
