#include "ops/lines/dataperdata.h"

#include "ops/common/columns.h"
#include "ops/common/params.h"

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

using common::historyField;
using common::kAfter;
using common::kBefore;
using common::kData;
using common::kMode;
using common::kRetain;
using common::kSearch;
using common::wholeCharacterEdge;
const QString kSide = u"side"_s;
const QString kOffset = u"offset"_s;

constexpr qint64 kOffsetBound = qint64(1) << 50;

/// Removes `count` characters from 1-based position `at`; nothing when `at` is outside the row
/// or `count` is not positive. Neither end splits a character.
void removeAt(QString &row, qint64 at, qint64 count)
{
    if (at < 1 || at > row.size() || count <= 0)
        return;
    const qsizetype from = wholeCharacterEdge(row, at - 1);
    const qsizetype to = wholeCharacterEdge(row, std::min<qint64>(at - 1 + count, row.size()));
    row.remove(from, std::max(from, to) - from);
}

/// Removes everything from 1-based position `at` on, however long the row, when `at` lies in
/// it.
void removeFrom(QString &row, qint64 at)
{
    if (at >= 1 && at <= row.size())
        row.truncate(wholeCharacterEdge(row, at - 1));
}

Parameter offsetField()
{
    return Parameter{.key = kOffset,
                     .label = u"+/- offset:"_s,
                     .kind = ParamKind::SignedNumber,
                     .defaultValue = u"0"_s,
                     .doubleClickValue = u"0"_s,
                     .hint = u"Double click for default"_s,
                     .resetOnSelect = false};
}

Parameter sideChoice(QString label)
{
    return common::beforeAfterChoice(kSide, std::move(label), kBefore);
}

/// Checks the band, then the offset, then edits each row of the band; `written` holds the texts
/// of its own an edit may put into a row.
template <typename Edit>
PassPlan planWithOffset(const PassStart &start, QStringList written, Edit edit)
{
    if (start.band.refusal)
        return PassPlan::without(*start.band.refusal);
    const std::optional<qint64> offset = parseOffset(start.params.text(kOffset));
    if (!offset) {
        RunResult refused =
            RunResult::refused(u"+/- offset must be a whole number,\rsuch as -2, 0 or 5."_s);
        refused.writeBack(start.band.band);
        return PassPlan::without(refused);
    }
    const Side side = start.params.text(kSide) == kAfter ? Side::After : Side::Before;
    // A row without the search text stays as it is: it is kept undecoded.
    const RowFinder search(start.params.text(kSearch));
    PassPlan plan = bandPass([=](QString &row) { edit(row, side, *offset); }, start,
                             [search](PassRow &row) { return search.foundIn(row); });
    plan.outputTexts = std::move(written);
    plan.keepsRowsWithout = search.inBlocks();
    return plan;
}

PassPlan deleteRetainPlan(const PassStart &start)
{
    return planWithOffset(
        start, {},
        [search = Finder(start.params.text(kSearch)),
         retain = start.params.text(kMode) == kRetain](QString &row, Side side, qint64 offset) {
            cutAtData(row, search, side, retain, offset);
        });
}

PassPlan insertPlan(const PassStart &start)
{
    const QString data = start.params.text(kData);
    return planWithOffset(start, {data},
                          [search = Finder(start.params.text(kSearch)),
                           data](QString &row, Side side, qint64 offset) {
                              insertAtData(row, data, search, side, offset);
                          });
}

const QString kExampleBefore =
    u"Line1 999 333\r\nLine2 222 999\r\nLine3 333 333\r\nLine4 999 444\r\n"
    u"Line5 999 555"_s;

} // namespace

std::optional<qint64> parseOffset(QStringView text)
{
    if (text.isEmpty())
        return 0;
    const bool negative = text.front() == u'-';
    const QStringView digits = text.sliced(negative ? 1 : 0);
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min(kOffsetBound, value * 10 + (c.unicode() - u'0'));
    }
    return negative ? -value : value;
}

bool cutAtData(QString &row, const Finder &search, Side side, bool retain, qint64 offset)
{
    const qsizetype found = search.in(row);
    if (found < 0)
        return false;
    const qint64 p = found + 1;
    const qint64 l = search.size();
    if (!retain && side == Side::Before)
        removeAt(row, 1, p - 1 + offset);
    else if (!retain)
        removeFrom(row, p + l + offset);
    else if (side == Side::Before)
        removeFrom(row, p + offset);
    else
        removeAt(row, 1, p + l - 1 + offset);
    return true;
}

bool insertAtData(QString &row, QStringView data, const Finder &search, Side side, qint64 offset)
{
    const qsizetype found = search.in(row);
    if (found < 0)
        return false;
    const qint64 at = found + 1 + (side == Side::After ? search.size() : 0) + offset;
    // Built at its final size: the row is usually shared with the text as it was.
    const qsizetype i = wholeCharacterEdge(row, std::clamp<qint64>(at, 1, row.size() + 1) - 1);
    const QStringView whole(row);
    row = whole.first(i) + data + whole.sliced(i);
    return true;
}

FunctionBody deleteRetainLineData()
{
    return {
        .description = u"Cuts every row of the band before or after the first occurrence of a "
                       u"search text, keeping the part before or after the cut."_s,
        .panel =
            {
                runButton(),
                common::deleteRetainChoice(),
                sideChoice(u"data within line:"_s),
                historyField(kSearch, u"this data:"_s, 13),
                offsetField(),
            },
        .rowPass = deleteRetainPlan,
        .example = {.title = u"Retain / Delete starting at specified data within a line (line "
                             u"deleted before data: 999)"_s,
                    .before = kExampleBefore,
                    .after = u"999 333\r\n999\r\nLine3 333 333\r\n999 444\r\n999 555"_s,
                    .params = {{kSearch, u"999"_s}}},
    };
}

FunctionBody insertDataPerData()
{
    return {
        .description = u"Inserts a text just before or just after the first occurrence of a "
                       u"search text in every row of the band."_s,
        .panel =
            {
                runButton(),
                historyField(kData, u"Insert this data:"_s, 8),
                sideChoice(u"within each line:"_s),
                historyField(kSearch, u"this data:"_s, 9),
                offsetField(),
            },
        .rowPass = insertPlan,
        .example = {.title = u"Insert data within line Before / After specified data (XXX inserted "
                             u"before data: 999)"_s,
                    .before = kExampleBefore,
                    .after = u"Line1 XXX999 333\r\nLine2 222 XXX999\r\nLine3 333 333\r\n"
                             u"Line4 XXX999 444\r\nLine5 XXX999 555"_s,
                    .params = {{kData, u"XXX"_s}, {kSearch, u"999"_s}}},
    };
}

} // namespace plintex::lines
