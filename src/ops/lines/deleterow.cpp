#include "ops/lines/deleterow.h"

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

const QString kStart = u"start"_s;
const QString kEvery = u"every"_s;

RunResult run(RunInput input, RunMonitor &monitor)
{
    const qint64 start = input.params.number(kStart);
    if (start == 0)
        return RunResult::refused(u"Zero start position is invalid."_s);
    const qint64 every = input.params.number(kEvery);
    if (every < 2) {
        RunResult refused = RunResult::refused(u"0 or 1 increment is invalid."_s);
        refused.fields.append({FieldWrite::Target::Param, kEvery, u"2"_s});
        return refused;
    }
    const BandCheck check = checkBand(input.restraint, input.lines.size());
    if (check.refusal)
        return *check.refusal;

    // One pass per row of the band, each deleting the next of rows S, S+N, ... while one is
    // left: the kept rows move down in place.
    QStringList &lines = input.lines;
    const qsizetype n = lines.size();
    qsizetype kept = 0;
    qsizetype next = 0; // first row (from 0) not yet moved
    qint64 target = start;
    monitor.begin(double(check.band.to));
    for (qint64 pass = check.band.from - 1; pass <= check.band.to - 1; ++pass) {
        if (monitor.step(double(pass))) {
            RunResult stopped = RunResult::stopped();
            stopped.writeBack(check.band);
            return stopped;
        }
        if (target > n)
            continue;
        for (; next < target - 1; ++next)
            lines[kept++] = std::move(lines[next]);
        next = target; // skips the deleted row
        target = target > n - every ? n + 1 : target + every;
    }
    for (; next < n; ++next)
        lines[kept++] = std::move(lines[next]);
    lines.resize(kept);

    RunResult result;
    result.writeBack(check.band);
    result.lines = std::move(lines);
    result.caret = CaretPlacement::atLine(check.band.to - 1);
    return result;
}

} // namespace

FunctionBody deleteRow()
{
    const QString row = u"aaaaaaaaaaaaa"_s;
    const QString kept = row + u"\r\n"_s + row;
    return {
        .description = u"Deletes one row and every N-th row after it."_s,
        .panel =
            {
                runButton(),
                numberField(kStart, u"Delete row:"_s, u"1"_s, u"1"_s),
                numberField(kEvery, u"and every:"_s, u"2"_s, u"2"_s),
                caption(u"row thereafter."_s),
            },
        .run = run,
        .example = {.title = u"Delete a row of data (every 3rd row deleted)"_s,
                    .before = kept + u"\r\n-- delete --\r\n"_s + kept + u"\r\n-- delete --\r\n"_s +
                              kept + u"\r\n-- delete -- "_s,
                    .after = QString(row + u"\r\n"_s).repeated(5) + row,
                    .params = {{kStart, u"3"_s}, {kEvery, u"3"_s}}},
    };
}

} // namespace plintex::lines
