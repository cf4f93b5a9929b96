#include "ops/columns/replaceincolumn.h"

#include "ops/common/params.h"

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

using common::kEnd;
using common::kSearch;
using common::kStart;
const QString kReplacement = u"replacement"_s;

PassPlan plan(const PassStart &start)
{
    const qint64 from = start.params.number(kStart);
    const qint64 end = start.params.number(kEnd);
    if (from == 0 || end == 0)
        return PassPlan::without(RunResult::refused(u"Column parameters incorrectly set."_s));
    if (end <= from)
        return PassPlan::without(
            RunResult::refused(u"Column End position must\rbe greater than Start position."_s));
    const QString search = start.params.text(kSearch);
    if (search.isEmpty() || search.contains(u'\n') || search.contains(u'\r')) {
        // Nothing that a band can hold: the text stays, and no history remembers the search.
        RunResult result;
        result.saveHistories = false;
        return PassPlan::without(result);
    }
    PassPlan plan = planOf(
        [=, replacement = start.params.text(kReplacement)](qint64, PassRow &row, PassOutput &out) {
            if (replaceInBand(row.text(), search, replacement, from, end))
                out.keepRewritten();
            else
                out.keep();
            return true;
        });
    plan.outputTexts = {start.params.text(kReplacement)};
    return plan;
}

} // namespace

bool replaceInBand(QString &line, QStringView search, QStringView replacement, qint64 start,
                   qint64 end)
{
    if (search.isEmpty() || start < 1 || end <= start || line.size() < start)
        return false;
    const qsizetype from = start - 1;
    qsizetype width = std::min<qint64>(end - start, line.size() - from);
    const auto band = [&] { return QStringView(line).sliced(from, width); };
    qsizetype found = band().indexOf(search);
    if (found < 0)
        return false;
    // A shorter replacement is made again until the search text is gone (two blanks to one
    // collapses a run); any other gets one pass, so that every run ends.
    const bool repeat = replacement.size() < search.size();
    do {
        // One pass, left to right: the search goes on after each replacement, as it would in
        // the band as it was. The row is edited in place, keeping its storage.
        for (; found >= 0; found = band().indexOf(search, found + replacement.size())) {
            line.replace(from + found, search.size(), replacement.data(), replacement.size());
            width += replacement.size() - search.size();
        }
        found = repeat ? band().indexOf(search) : -1;
    } while (found >= 0);
    return true;
}

FunctionBody replaceInColumn()
{
    return {
        .description = u"Replaces a text by another only inside a band of columns of every "
                       u"line."_s,
        .panel =
            {
                runButton(),
                common::historyField(kSearch, u"Replace this data:"_s, 6),
                common::historyField(kReplacement, u"with this data:"_s, 7),
                common::columnField(kStart, u"in column:"_s),
                common::columnField(kEnd, u"to"_s),
            },
        .rowPass = plan,
        .menuTargets = {{MenuEntry::BeginColumn, kStart, CaretSource::Column},
                        {MenuEntry::EndColumn, kEnd, CaretSource::Column}},
        .example = {.title = u"Replace data within a specified column (999 changed to 000 in "
                             u"column 2)"_s,
                    .before = u"Line1 999 111\r\nLine2 222 222\r\nLine3 333 333\r\nLine4 999 "
                              u"999\r\nLine5 555 555"_s,
                    .after = u"Line1 000 111\r\nLine2 222 222\r\nLine3 333 333\r\nLine4 000 "
                             u"999\r\nLine5 555 555"_s,
                    .params = {{kSearch, u"999"_s},
                               {kReplacement, u"000"_s},
                               {kStart, u"7"_s},
                               {kEnd, u"10"_s}}},
    };
}

} // namespace plintex::columns
