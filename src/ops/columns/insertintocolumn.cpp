#include "ops/columns/insertintocolumn.h"

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

const QString kData = u"data"_s;
const QString kColumn = u"column"_s;

LineTransform transform(const ParamValues &params)
{
    return [data = params.text(kData), column = params.number(kColumn)](QString &line) {
        insertAtColumn(line, data, column);
    };
}

} // namespace

void insertAtColumn(QString &line, QStringView data, qint64 column)
{
    if (data.isEmpty())
        return;
    const qsizetype at = column <= 1 ? 0 : std::min<qint64>(column - 1, line.size());
    line.insert(at, data);
}

FunctionBody insertIntoColumn()
{
    return {
        .description = u"Inserts one text into every line of the row band at a column."_s,
        .panel =
            {
                runButton(),
                Parameter{.key = kData,
                          .label = u"Insert this data:"_s,
                          .kind = ParamKind::HistoryText,
                          .history = 5},
                numberField(kColumn, u"at column position:"_s, u"1"_s, u"1"_s),
            },
        .lineTransform = transform,
        .menuTargets = {{MenuEntry::BeginColumn, kColumn, CaretSource::Column}},
        .example = {.title = u"Insert into a column of data (inserted at column 7)"_s,
                    .before = u"1234567890\r\n"_s.repeated(6) + u"1234567890"_s,
                    .after =
                        u"123456INSERTED DATA7890\r\n"_s.repeated(6) + u"123456INSERTED DATA7890"_s,
                    .params = {{kData, u"INSERTED DATA"_s}, {kColumn, u"7"_s}}},
    };
}

} // namespace plintex::columns
