#include "ops/columns/copycolumn.h"

#include "ops/common/bytecolumns.h"
#include "ops/common/columns.h"
#include "ops/common/params.h"

#include <QVarLengthArray>

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

using common::kEnd;
using common::kStart;
const QString kTo = u"to"_s;

PassPlan plan(const PassStart &start)
{
    const qint64 from = start.params.number(kStart);
    const qint64 end = start.params.number(kEnd);
    const qint64 to = start.params.number(kTo);
    if (from == 0 || end == 0 || to == 0)
        return PassPlan::without(RunResult::refused(u"Column parameters can not equal 0."_s));
    if (end <= from)
        return PassPlan::without(
            RunResult::refused(u"Column End position must\rbe greater than Start position."_s));
    const ByteTransform bytes = [=](RowBytes line, QByteArray &out) {
        copyBand(line, from, end, to, out);
        return true;
    };
    PassPlan plan = planOf([=](qint64, PassRow &row, PassOutput &out) {
        if (!out.keepRewritten(bytes)) {
            copyBand(row.text(), from, end, to);
            out.keepRewritten();
        }
        return true;
    });
    plan.rowsApart = true;
    return plan;
}

} // namespace

void copyBand(QString &line, qint64 start, qint64 end, qint64 to)
{
    if (start < 1 || line.size() < start || end <= start)
        return;
    const qsizetype from = common::wholeCharacterEdge(line, start - 1);
    const qsizetype width =
        std::max(from, common::wholeCharacterEdge(line, std::min<qint64>(end - 1, line.size()))) -
        from;
    const qsizetype at = common::columnIndex(line, to);
    if (!line.isDetached() || line.capacity() < line.size() + width) {
        // A row shared (with the undo snapshot) or too small is built anew in one allocation.
        QString copied;
        copied.reserve(line.size() + width);
        copied.append(QStringView(line).first(at));
        copied.append(QStringView(line).sliced(from, width));
        copied.append(QStringView(line).sliced(at));
        line = std::move(copied);
        return;
    }
    // In place, keeping the row's storage: the copy is taken aside first, as the insertion
    // moves what it was taken from.
    const QVarLengthArray<QChar, 256> copied(line.cbegin() + from, line.cbegin() + from + width);
    line.insert(at, copied.constData(), copied.size());
}

void copyBand(RowBytes line, qint64 start, qint64 end, qint64 to, QByteArray &out)
{
    qsizetype from = 0;
    qsizetype width = 0;
    if (start >= 1 && end > start) {
        // A row shorter than start leaves both edges at its end: the copy is empty.
        common::ByteColumns band(line);
        from = band.edge(start - 1);
        width = band.edge(end - 1) - from;
    }
    const qsizetype at = width > 0 ? common::byteColumnIndex(line, to) : 0;
    appendBytes(out, {line.bytes.first(at), line.bytes.sliced(from, width), line.bytes.sliced(at)});
}

FunctionBody copyColumn()
{
    return {
        .description = u"Copies a band of columns of every line and inserts the copy at another "
                       u"column of the same line."_s,
        .panel =
            {
                runButton(),
                common::columnField(kStart, u"Copy column starting at position:"_s),
                common::columnField(kEnd, u"and ending at column position:"_s),
                common::columnField(kTo, u"to position:"_s),
            },
        .rowPass = plan,
        .menuTargets = {{MenuEntry::BeginColumn, kStart, CaretSource::Column},
                        {MenuEntry::EndColumn, kEnd, CaretSource::Column},
                        {MenuEntry::BeginRow, kTo, CaretSource::Column}},
        .example = {.title = u"Copy a column of data (3rd column copied and inserted between 1st "
                             u"two columns)"_s,
                    .before = u"Line1 999 333\r\nLine2 222 999\r\nLine3 333 333\r\nLine4 999 "
                              u"444\r\nLine5 999 555"_s,
                    .after = u"Line1 333 999 333\r\nLine2 999 222 999\r\nLine3 333 333 "
                             u"333\r\nLine4 444 999 444\r\nLine5 555 999 555 "_s,
                    .params = {{kStart, u"10"_s}, {kEnd, u"14"_s}, {kTo, u"6"_s}},
                    .expected = u"Line1 333 999 333\nLine2 999 222 999\nLine3 333 333 "
                                u"333\nLine4 444 999 444\nLine5 555 999 555"_s},
    };
}

} // namespace plintex::columns
