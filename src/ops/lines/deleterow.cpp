#include "ops/lines/deleterow.h"

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

const QString kStart = u"start"_s;
const QString kEvery = u"every"_s;

PassPlan plan(const PassStart &start)
{
    const qint64 first = start.params.number(kStart);
    if (first == 0)
        return PassPlan::without(RunResult::refused(u"Zero start position is invalid."_s));
    const qint64 every = start.params.number(kEvery);
    if (every < 2) {
        RunResult refused = RunResult::refused(u"0 or 1 increment is invalid."_s);
        refused.fields.append({FieldWrite::Target::Param, kEvery, u"2"_s});
        return PassPlan::without(refused);
    }
    if (start.band.refusal)
        return PassPlan::without(*start.band.refusal);

    // Rows S, S+N, ... of the text as it was, one per pass of the band: at most To - From + 1.
    const RowRestraint &band = start.band.band;
    qint64 left = band.to == PassStart::kToTheEnd ? band.to : band.to - band.from + 1;
    qint64 next = first - 1; // index of the next row to delete
    RunResult result;
    result.writeBack(band);
    result.caret = CaretPlacement::atLine(band.to - 1);
    // One step of the gauge, and one stop check, a pass.
    PassPlan plan = planOf(
        [=](qint64 index, PassRow &, PassOutput &out) mutable {
            if (index == next && left > 0) {
                --left;
                if (__builtin_add_overflow(next, every, &next))
                    left = 0; // the next lies beyond any text
            } else {
                out.keep();
            }
            return true;
        },
        std::move(result));
    plan.gauge = band;
    return plan;
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
        .rowPass = plan,
        .example = {.title = u"Delete a row of data (every 3rd row deleted)"_s,
                    .before = kept + u"\r\n-- delete --\r\n"_s + kept + u"\r\n-- delete --\r\n"_s +
                              kept + u"\r\n-- delete -- "_s,
                    .after = QString(row + u"\r\n"_s).repeated(5) + row,
                    .params = {{kStart, u"3"_s}, {kEvery, u"3"_s}}},
    };
}

} // namespace plintex::lines
