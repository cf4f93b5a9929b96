#include "ops/columns/deleteretaincolumn.h"

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

const QString kStart = u"start"_s;
const QString kEnd = u"end"_s;
const QString kMode = u"mode"_s;
const QString kDelete = u"delete"_s;
const QString kRetain = u"retain"_s;

LineTransform transform(const ParamValues &params)
{
    const qint64 start = params.number(kStart);
    const qint64 end = params.number(kEnd);
    if (params.text(kMode) == kRetain)
        return [=](QString &line) { retainColumns(line, start, end); };
    return [=](QString &line) { deleteColumns(line, start, end); };
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
    const QString rows = u"111 222 333 444 555\n"_s.repeated(5);
    return {
        .description =
            u"Cuts a band of columns out of every line of the row band, or keeps only it."_s,
        .panel =
            {
                runButton(),
                numberField(kStart, u"column starting at position:"_s, u"1"_s, u"1"_s),
                numberField(kEnd, u"and ending at column position:"_s, u"1"_s, u"1"_s),
                Parameter{.key = kMode,
                          .kind = ParamKind::Choice,
                          .defaultValue = kDelete,
                          .choices = {{kDelete, u"Delete"_s}, {kRetain, u"Retain"_s}}},
            },
        .lineTransform = transform,
        .menuTargets = {{MenuEntry::BeginColumn, kStart, CaretSource::Column},
                        {MenuEntry::EndColumn, kEnd, CaretSource::Column}},
        .example =
            {.title = u"Delete/Retain Column"_s,
             .before =
                 u"\r\n111 222 333 444 555\r\n111 222 333 444 555\r\n111 222 333 444 555\r\n111 222 333 444 555\r\n111 222 333 444 555 "_s,
             .after =
                 u"(column 444 deleted)\r\n111 222 333 555\r\n111 222 333 555\r\n111 222 333 555\r\n111 222 333 555\r\n111 222 333 555"_s,
             .params = {{kStart, u"13"_s}, {kEnd, u"17"_s}},
             .input = rows,
             .expected = u"111 222 333 555\n"_s.repeated(5)},
    };
}

} // namespace plintex::columns
