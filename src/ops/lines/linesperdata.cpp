#include "ops/lines/linesperdata.h"

#include "ops/common/params.h"
#include "ops/lines/addrow.h"
#include "ops/lines/matcher.h"

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

using common::kAfter;
using common::kBefore;
using common::kData;
using common::kMode;
using common::kRetain;
using common::kSearch;
const QString kWhere = u"where"_s;
const QString kWhich = u"which"_s;
const QString kSame = u"same"_s;

Parameter searchField()
{
    return memoField(kSearch, u"every line containing this data:"_s, Reset::Keep);
}

PassPlan insertPlan(const PassStart &start)
{
    // A row holding several of the texts gets the block once.
    const SearchTexts texts(start.params.lines(kSearch));
    PassPlan plan = planOf(
        [texts, block = blockRows(start.params.text(kData)),
         before = start.params.text(kWhere) == kBefore](qint64, PassRow &row, PassOutput &out) {
            const bool found = texts.foundIn(row);
            if (found && before) {
                for (const QString &line : block)
                    out.add(line);
            }
            out.keep();
            if (found && !before) {
                for (const QString &line : block)
                    out.add(line);
            }
            return true;
        });
    plan.outputTexts = {start.params.text(kData)};
    plan.keepsRowsWithout = texts.inBlocks();
    return plan;
}

/// A row is marked when it holds one of the texts (Same), or when the row after it (Before) or
/// before it (After) does; Delete drops the marked rows, Retain keeps only them. The marks
/// are kept beside the rows, so that the rows' own text never reads as a mark.
PassPlan deletePlan(const PassStart &start)
{
    const QString which = start.params.text(kWhich);
    const bool retain = start.params.text(kMode) == kRetain;
    RunResult result;
    if (retain)
        result.caret = CaretPlacement::atEnd();
    const SearchTexts texts(start.params.lines(kSearch));
    if (which == kBefore) {
        // A row's fate waits for the next row.
        return planOf(
            [texts, retain, holding = false](qint64, PassRow &row, PassOutput &out) mutable {
                const bool found = texts.foundIn(row);
                if (holding)
                    out.releaseHeld(found == retain);
                out.hold();
                holding = true;
                return true;
            },
            std::move(result),
            [retain](PassOutput &out, RunResult &) { out.releaseHeld(!retain); });
    }
    const bool after = which == kAfter;
    PassPlan plan = planOf(
        [texts, retain, after, previous = false](qint64, PassRow &row, PassOutput &out) mutable {
            const bool found = texts.foundIn(row);
            if ((after ? previous : found) == retain)
                out.keep();
            previous = found;
            return true;
        },
        std::move(result));
    // Deleting the rows that hold a text keeps the others as they came, whatever came before.
    if (!after && !retain)
        plan.keepsRowsWithout = texts.inBlocks();
    return plan;
}

} // namespace

FunctionBody insertLinesPerData()
{
    return {
        .description = u"Inserts a block of rows before or after every row that holds one of the "
                       u"search texts."_s,
        .panel =
            {
                runButton(),
                memoField(kData, u"Insert this data:"_s, Reset::Keep),
                common::beforeAfterChoice(kWhere, {}, kAfter, Reset::OnSelect),
                searchField(),
            },
        .rowPass = insertPlan,
        .example = {.title =
                        u"Insert lines (before/after) per data ('INSERTED DATA' inserted below "
                        u"lines containing bbb)"_s,
                    .before = u"111BBB11111111\r\n22222222222222\r\n33333333BBB333\r\n"
                              u"44444444444444\r\n55555555555555\r\n66666666666666"_s,
                    .after = u"111BBB11111111\r\nINSERTED DATA\r\n22222222222222\r\n33333333BBB333"
                             u"\r\nINSERTED DATA\r\n44444444444444\r\n55555555555555\r\n"
                             u"66666666666666"_s,
                    .params = {{kData, u"INSERTED DATA"_s}, {kSearch, u"BBB"_s}}},
    };
}

FunctionBody deleteLinesPerData()
{
    return {
        .description =
            u"Deletes, or keeps only, the rows that hold one of the search texts, or the "
            u"rows just before or after them."_s,
        .panel =
            {
                runButton(),
                common::deleteRetainChoice(),
                Parameter{
                    .key = kWhich,
                    .label = u"every line:"_s,
                    .kind = ParamKind::Choice,
                    .defaultValue = kSame,
                    .choices = {{kSame, u"Same"_s}, {kBefore, u"Before"_s}, {kAfter, u"After"_s}}},
                searchField(),
            },
        .rowPass = deletePlan,
        .example = {.title = u"Retain / Delete lines per data (lines containing bbb deleted)"_s,
                    .before =
                        u"1111111111111\r\n2222222222222\r\n3333333bbb333\r\n4444444444444\r\n"
                        u"5555555bbb555\r\n6666666666666\r\n7777777777777"_s,
                    .after = u"1111111111111\r\n2222222222222\r\n4444444444444\r\n6666666666666\r\n"
                             u"7777777777777"_s,
                    .params = {{kSearch, u"bbb"_s}}},
    };
}

} // namespace plintex::lines
