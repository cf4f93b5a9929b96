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
    switch (kind) {
    case ParamKind::Number:
    case ParamKind::SignedNumber:
        return {.takesValue = true,
                .isText = false,
                .isNumber = true,
                .isSigned = kind == ParamKind::SignedNumber,
                .multiLine = false,
                .writtenByRun = false};
    case ParamKind::Text:
    case ParamKind::HistoryText:
    case ParamKind::FileName:
        return {.takesValue = true,
                .isText = true,
                .isNumber = false,
                .isSigned = false,
                .multiLine = false,
                .writtenByRun = false};
    case ParamKind::MultiLineText:
        return {.takesValue = true,
                .isText = true,
                .isNumber = false,
                .isSigned = false,
                .multiLine = true,
                .writtenByRun = false};
    case ParamKind::Choice:
    case ParamKind::Flag:
        return {.takesValue = false,
                .isText = false,
                .isNumber = false,
                .isSigned = false,
                .multiLine = false,
                .writtenByRun = false};
    case ParamKind::Result:
        return {.takesValue = false,
                .isText = false,
                .isNumber = false,
                .isSigned = false,
                .multiLine = false,
                .writtenByRun = true};
    }
    return {};
}

} // namespace plintex
