#include "ops/lines/addrow.h"

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

const QString kData = u"data"_s;
const QString kEvery = u"every"_s;

PassPlan plan(const PassStart &start)
{
    if (start.band.refusal)
        return PassPlan::without(*start.band.refusal);
    const RowRestraint &band = start.band.band;
    const qint64 every = start.params.number(kEvery);
    if (every == 0) {
        RunResult refused = RunResult::refused(u"Zero start position is invalid."_s);
        refused.writeBack(band);
        return PassPlan::without(refused);
    }

    // Rows are counted in the text as it was; the block goes after rows N, 2N, ... that have
    // a following row inside the band, so it is put out when that row comes.
    RunResult result;
    result.writeBack(band);
    result.caret = CaretPlacement::atLine(band.to - 1);
    PassPlan plan = planOf(
        [block = blockRows(start.params.text(kData)), every, band](qint64 index, PassRow &,
                                                                   PassOutput &out) {
            if (index > 0 && index % every == 0 && index >= band.from && index < band.to) {
                for (const QString &row : block)
                    out.add(row);
            }
            out.keep();
            return true;
        },
        std::move(result));
    plan.outputTexts = {start.params.text(kData)};
    return plan;
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
        .rowPass = plan,
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
