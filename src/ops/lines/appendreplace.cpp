#include "ops/lines/appendreplace.h"

#include "ops/common/bytecolumns.h"
#include "ops/common/padding.h"
#include "ops/common/params.h"
#include "ops/lines/matcher.h"

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

using common::historyField;
using common::kSearch;
const QString kAppend = u"append"_s;
const QString kContaining = u"containing"_s;
const QString kBlanks = u"blanks"_s;
const QString kWith = u"with"_s;

/// Appends in place to a row of its own (a streamed line's buffer); a row shared with the text
/// as it was is built anew at its final size rather than copied and then grown.
void appendTo(QString &row, const QString &tail)
{
    if (row.isDetached())
        row += tail;
    else
        row = row + tail;
}

/// A row made of its own bytes (with `keepRow`) and a text of the pass's own, in the row's
/// encoding, when that encoding holds the text.
ByteTransform bytesWith(const QString &text, bool keepRow)
{
    return [encoded = common::EncodedText(text), keepRow](RowBytes row, QByteArray &out) {
        const QByteArray *bytes = encoded.in(row.encoding);
        if (bytes)
            appendBytes(out, {keepRow ? row.bytes : QByteArrayView(), *bytes});
        return bytes != nullptr;
    };
}

PassPlan appendPlan(const PassStart &start)
{
    const ParamValues &params = start.params;
    const QString tail = common::separatorBlanks(params.number(kBlanks)) + params.text(kAppend);
    // Only the rows holding the text are decoded and rewritten.
    const RowFinder search(params.text(kSearch));
    const auto append = [tail](QString &row) { appendTo(row, tail); };
    PassPlan plan = params.flag(kContaining)
                        ? bandPass(
                              append, start, [search](PassRow &row) { return search.foundIn(row); },
                              bytesWith(tail, true))
                        : bandPass(append, start, {}, bytesWith(tail, true));
    plan.outputTexts = {tail};
    if (params.flag(kContaining))
        plan.keepsRowsWithout = search.inBlocks();
    return plan;
}

PassPlan replacePlan(const PassStart &start)
{
    const QString with = start.params.text(kWith);
    const RowFinder search(start.params.text(kSearch));
    PassPlan plan =
        bandPass([with](QString &row) { row = with; }, start,
                 [search](PassRow &row) { return search.foundIn(row); }, bytesWith(with, false));
    plan.outputTexts = {with};
    plan.keepsRowsWithout = search.inBlocks();
    return plan;
}

} // namespace

FunctionBody appendData()
{
    const QString before =
        u"Line1 dataA\r\nLine2 dataB\r\nLine3 dataA\r\nLine4 dataA\r\nLine5 dataB"_s;
    return {
        .description = u"Appends a text, after a run of blanks, to every row of the band or to "
                       u"the rows that hold a search text."_s,
        .panel =
            {
                runButton(),
                historyField(kAppend, u"Append this data:"_s, 3),
                // The box's caption reads on into the field it unlocks: "to every line
                // containing this data:".
                common::tickBox(kContaining, u"to every line"_s),
                historyField(kSearch, u"containing this data:"_s, 4, Reset::Keep, kContaining),
                numberField(kBlanks, u"separated by:"_s, u"1"_s, u"1"_s, Reset::Keep),
                caption(u"blanks."_s),
            },
        .rowPass = appendPlan,
        .example = {.title = u"Append lines per data ('append this' appended to lines containing "
                             u"dataB)"_s,
                    .before = before + u' ',
                    .after = u"Line1 dataA\r\nLine2 dataB  append this\r\nLine3 dataA\r\n"
                             u"Line4 dataA\r\nLine5 dataB  append this"_s,
                    .params = {{kAppend, u"append this"_s},
                               {kContaining, u"1"_s},
                               {kSearch, u"dataB"_s},
                               {kBlanks, u"2"_s}},
                    // The panel's last row ends in a blank that the result does not show.
                    .input = before},
    };
}

FunctionBody replaceLinePerData()
{
    return {
        .description = u"Replaces every row of the band that holds a search text by a fixed "
                       u"line."_s,
        .panel =
            {
                runButton(),
                historyField(kSearch, u"Replace lines containing this data:"_s, 10),
                historyField(kWith, u"with this line:"_s, 11),
            },
        .rowPass = replacePlan,
        .example =
            {.title = u"Replace line per data (lines containing 999 changed to 'new line')"_s,
             .before = u"Line1 999 111\r\nLine2 222 999\r\nLine3 333 333\r\nLine4 999 999\r\n"
                       u"Line5 555 555"_s,
             .after = u"new line\r\nnew line\r\nLine3 333 333\r\nnew line\r\nLine5 555 555"_s,
             .params = {{kSearch, u"999"_s}, {kWith, u"new line"_s}}},
    };
}

} // namespace plintex::lines
