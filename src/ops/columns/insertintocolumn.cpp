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

RunResult run(RunInput input, RunMonitor &monitor)
{
    const LineTransform t = transform(input.params);
    return runOverBand(std::move(input), monitor, t);
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
    FunctionBody body;
    body.params = {
        {kData, u"Insert this data:"_s, ParamKind::HistoryText, {}, {}, 5, {}, {}},
        {kColumn,
         u"at column position:"_s,
         ParamKind::Number,
         u"1"_s,
         u"1"_s,
         0,
         {},
         u"Double click for default"_s},
    };
    body.runButtons = {{u"run"_s, {}}};
    body.run = run;
    body.lineTransform = transform;
    body.menuTargets = {{MenuEntry::BeginColumn, kColumn, CaretSource::Column}};
    return body;
}

} // namespace plintex::columns
