#include "ops/columns/deleteretaincolumn.h"

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

const QString kStart = u"start"_s;
const QString kEnd = u"end"_s;
const QString kMode = u"mode"_s;
const QString kDelete = u"Delete"_s;
const QString kRetain = u"Retain"_s;

LineTransform transform(const ParamValues &params)
{
    const qint64 start = params.number(kStart);
    const qint64 end = params.number(kEnd);
    if (params.text(kMode) == kRetain)
        return [=](QString &line) { retainColumns(line, start, end); };
    return [=](QString &line) { deleteColumns(line, start, end); };
}

RunResult run(RunInput input, RunMonitor &monitor)
{
    const LineTransform t = transform(input.params);
    return runOverBand(std::move(input), monitor, t);
}

} // namespace

void deleteColumns(QString &line, qint64 start, qint64 end)
{
    if (end <= start || start == 0 || line.size() < start)
        return;
    line.remove(start - 1, std::min<qint64>(end - start, line.size() - (start - 1)));
}

void retainColumns(QString &line, qint64 start, qint64 end)
{
    // Everything from `end` on goes, then everything before `start`. (The older program removed
    // at most 500 characters after the span and so left the far end of long lines behind it.)
    if (end >= 1 && end - 1 < line.size())
        line.truncate(end - 1);
    if (start > 1)
        line.remove(0, std::min<qint64>(start - 1, line.size()));
}

FunctionBody deleteRetainColumn()
{
    FunctionBody body;
    body.params = {
        {kStart,
         u"column starting at position:"_s,
         ParamKind::Number,
         u"1"_s,
         u"1"_s,
         0,
         {},
         u"Double click for default"_s},
        {kEnd,
         u"and ending at column position:"_s,
         ParamKind::Number,
         u"1"_s,
         u"1"_s,
         0,
         {},
         u"Double click for default"_s},
        {kMode, {}, ParamKind::Choice, kDelete, {}, 0, {kDelete, kRetain}, {}},
    };
    body.runButtons = {{u"run"_s, {}}};
    body.run = run;
    body.lineTransform = transform;
    body.menuTargets = {{MenuEntry::BeginColumn, kStart, CaretSource::Column},
                        {MenuEntry::EndColumn, kEnd, CaretSource::Column}};
    return body;
}

} // namespace plintex::columns
