#include "ops/columns/deleteretaincolumn.h"

#include "ops/common/bytecolumns.h"
#include "ops/common/columns.h"
#include "ops/common/params.h"

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

using common::kEnd;
using common::kMode;
using common::kRetain;
using common::kStart;
using common::wholeCharacterEdge;

LineTransform transform(const ParamValues &params)
{
    const qint64 start = params.number(kStart);
    const qint64 end = params.number(kEnd);
    if (params.text(kMode) == kRetain)
        return [=](QString &line) { retainColumns(line, start, end); };
    return [=](QString &line) { deleteColumns(line, start, end); };
}

ByteTransform byteTransform(const ParamValues &params)
{
    const qint64 start = params.number(kStart);
    const qint64 end = params.number(kEnd);
    if (params.text(kMode) == kRetain) {
        return [=](RowBytes line, QByteArray &out) {
            retainColumns(line, start, end, out);
            return true;
        };
    }
    return [=](RowBytes line, QByteArray &out) {
        deleteColumns(line, start, end, out);
        return true;
    };
}

} // namespace

void deleteColumns(QString &line, qint64 start, qint64 end)
{
    if (end <= start || start == 0 || line.size() < start)
        return;
    const qsizetype from = wholeCharacterEdge(line, start - 1);
    const qsizetype to = wholeCharacterEdge(line, std::min<qint64>(end - 1, line.size()));
    line.remove(from, std::max(from, to) - from);
}

void retainColumns(QString &line, qint64 start, qint64 end)
{
    // Everything from `end` on goes, however long the line, then everything before `start`.
    const qsizetype from =
        start > 1 ? wholeCharacterEdge(line, std::min<qint64>(start - 1, line.size())) : 0;
    if (end >= 1 && end - 1 < line.size())
        line.truncate(wholeCharacterEdge(line, end - 1));
    line.remove(0, std::min(from, line.size()));
}

void deleteColumns(RowBytes line, qint64 start, qint64 end, QByteArray &out)
{
    if (end <= start || start == 0) {
        appendBytes(out, line.bytes);
        return;
    }
    // A row shorter than start leaves both edges at its end: nothing goes.
    common::ByteColumns columns(line);
    const qsizetype from = columns.edge(start - 1);
    appendBytes(out, {line.bytes.first(from), line.bytes.sliced(columns.edge(end - 1))});
}

void retainColumns(RowBytes line, qint64 start, qint64 end, QByteArray &out)
{
    // An end before start leaves the second edge where the first one is: nothing stays.
    common::ByteColumns columns(line);
    const qsizetype from = start > 1 ? columns.edge(start - 1) : 0;
    const qsizetype to = end >= 1 ? columns.edge(end - 1) : line.bytes.size();
    appendBytes(out, line.bytes.sliced(from, to - from));
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
                common::deleteRetainChoice(Reset::OnSelect),
            },
        .lineTransform = transform,
        .byteTransform = byteTransform,
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
