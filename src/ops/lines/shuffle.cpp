#include "ops/lines/shuffle.h"

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

const QString kLowerRow = u"lowerRow"_s;

RunResult run(RunInput input, RunMonitor &monitor)
{
    const qint64 lower = input.params.number(kLowerRow);
    if (lower < 2) {
        RunResult refused = RunResult::refused(u"Begin row count must be greater than one."_s,
                                               /*undoTaken=*/false);
        refused.movesPointer = false;
        return refused;
    }
    const QStringList &lines = input.lines;
    const qsizetype n = lines.size();
    monitor.begin(double(n));
    // Pairs (1, K), (2, K + 1), ... until the lower run passes the last row.
    QStringList out;
    if (lower <= n)
        out.reserve(2 * (n - lower + 1));
    for (qint64 u = 0, l = lower - 1; l < n; ++u, ++l) {
        if (monitor.step(double(l)))
            return RunResult::stopped();
        out.append(lines[u]);
        out.append(lines[l]);
    }
    RunResult result;
    result.lines = std::move(out);
    return result;
}

} // namespace

FunctionBody shuffleData()
{
    QString before, after, expected;
    for (int i = 1; i <= 8; ++i) {
        const QString row = u"Line%1 %2 %2"_s.arg(i).arg(QString(3, QChar(u'0' + i)));
        before += (i > 1 ? u"\r\n"_s : QString()) + row;
    }
    for (int i = 1; i <= 4; ++i) {
        for (const int r : {i, i + 4}) {
            const QString row = u"Line%1 %2 %2"_s.arg(r).arg(QString(3, QChar(u'0' + r)));
            after += (after.isEmpty() ? QString() : u"\r\n"_s) + row;
            expected += row + u'\n';
        }
    }
    return {
        .description = u"Interleaves the rows from row 1 on with the rows from a lower row on: "
                       u"row 1, the lower row, row 2, the row after it, and so on, until the "
                       u"lower run reaches the last row."_s,
        .panel =
            {
                runButton(),
                numberField(kLowerRow,
                            u"Shuffle lines starting at row 1 with beginning lower row:"_s, u"1"_s,
                            u"1"_s, Reset::Keep),
            },
        .run = run,
        .menuTargets = {{MenuEntry::BeginRow, kLowerRow, CaretSource::Row}},
        .example = {.title = u"Shuffle date (shuffle lines starting at line 5)"_s,
                    .before = before,
                    .after = after + u' ',
                    .params = {{kLowerRow, u"5"_s}},
                    // The panel's After text ends in a blank the run does not write.
                    .expected = expected},
    };
}

} // namespace plintex::lines
