#include "ops/lines/addrow.h"

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

const QString kData = u"data"_s;
const QString kEvery = u"every"_s;

RunResult run(RunInput input, RunMonitor &monitor)
{
    const BandCheck check = checkBand(input.restraint, input.lines.size());
    if (check.refusal)
        return *check.refusal;
    const qint64 every = input.params.number(kEvery);
    if (every == 0) {
        RunResult refused = RunResult::refused(u"Zero start position is invalid."_s);
        refused.writeBack(check.band);
        return refused;
    }

    // Rows are counted in the text as it was; the block goes after rows N, 2N, ... that have
    // a following row inside the band.
    QStringList &lines = input.lines;
    const qsizetype n = lines.size();
    const qsizetype top = n - n % every;
    const QStringList block = blockRows(input.params.text(kData));
    const qsizetype insertions = top / every; // at most; enough to reserve
    QStringList out;
    out.reserve(n + insertions * block.size());
    monitor.begin(double(top));
    for (qsizetype row = 1; row <= n; ++row) {
        if (row <= top && monitor.step(double(row))) {
            RunResult stopped = RunResult::stopped();
            stopped.writeBack(check.band);
            return stopped;
        }
        out.append(std::move(lines[row - 1]));
        if (row % every == 0 && row >= check.band.from && row < check.band.to)
            out.append(block);
    }
    RunResult result;
    result.writeBack(check.band);
    result.lines = std::move(out);
    result.caret = CaretPlacement::atLine(check.band.to - 1);
    return result;
}

} // namespace

QStringList blockRows(const QString &block)
{
    return TextStore::splitRows(block);
}

FunctionBody addRow()
{
    const QString row = u"aaaaaaaaaaaaa"_s;
    return {
        .description = u"Inserts a block of rows after every N-th row of the text, within the "
                       u"row band."_s,
        .panel =
            {
                runButton(),
                memoField(kData, u"Insert this data:"_s, Reset::Keep),
                numberField(kEvery, u"every:"_s, u"1"_s, u"1"_s),
                caption(u"row."_s),
            },
        .run = run,
        .example = {.title = u"Insert a row of data ('-- insert --' inserted every 2 rows)"_s,
                    .before = QString(row + u"\r\n"_s).repeated(5) + row,
                    .after = u"aaaaaaaaaaaaa\r\naaaaaaaaaaaaa\r\n-- insert --\r\naaaaaaaaaaaaa\r\n"
                             u"aaaaaaaaaaaaa\r\n-- insert --\r\naaaaaaaaaaaaa\r\naaaaaaaaaaaaa\r\n"
                             u"-- insert -- "_s,
                    .params = {{kData, u"-- insert --"_s}, {kEvery, u"2"_s}},
                    // Nothing follows the text's last row.
                    .expected = QString(row + u'\n').repeated(2) + u"-- insert --\n"_s +
                                QString(row + u'\n').repeated(2) + u"-- insert --\n"_s +
                                QString(row + u'\n').repeated(2)},
    };
}

} // namespace plintex::lines
