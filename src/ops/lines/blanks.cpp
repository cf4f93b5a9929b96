#include "ops/lines/blanks.h"

#include "ops/common/trim.h"

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

const QString kLeading = u"leading"_s;
const QString kTrailing = u"trailing"_s;

PassPlan removeBlanks(const PassStart &)
{
    PassPlan plan = planOf([](qint64, PassRow &row, PassOutput &out) {
        if (!isBlankRow(row.text()))
            out.keep();
        return true;
    });
    plan.rowsApart = true;
    return plan;
}

PassPlan trimBlanks(const PassStart &start)
{
    // The trimmable characters are ASCII, and no other character has a byte below 128.
    const bool trailing = start.runButton == kTrailing;
    return bandPass(trailing ? common::trimTrailing : common::trimLeading, start, {},
                    [trailing](RowBytes row, QByteArray &out) {
                        appendBytes(out, trailing ? common::trimmedEnd(row.bytes)
                                                  : common::trimmedStart(row.bytes));
                        return true;
                    });
}

} // namespace

bool isBlankRow(QStringView row)
{
    for (const QChar c : row) {
        if (c != u' ' && c != QChar(0))
            return false;
    }
    return true;
}

FunctionBody removeBlankLines()
{
    const QString row = u"aaaaaaaaaaaaa"_s;
    return {
        .description = u"Deletes every row of the text that is empty or holds only blanks."_s,
        .panel = {runButton(), caption(u"Take out blank lines."_s)},
        .rowPass = removeBlanks,
        .example = {.title = u"Remove blank lines"_s,
                    .before =
                        row + u"\r\n \r\n"_s + row + u"\r\n"_s + row + u"\r\n \r\n \r\n"_s + row,
                    .after = QString(row + u"\r\n"_s).repeated(3) + row},
    };
}

FunctionBody deleteLeadingTrailingBlanks()
{
    const QString row = u"aaaaaaaaa"_s;
    return {
        .description = u"Strips blanks, tabs and other control characters from the start or the "
                       u"end of every row of the band."_s,
        .panel = {runButton(kLeading, u"Take out leading blanks."_s),
                  runButton(kTrailing, u"Take out trailing blanks."_s)},
        .rowPass = trimBlanks,
        .example = {.title = u"Delete leading / trailing blanks"_s,
                    .before = row + u"\r\n   "_s + row + u"\r\n"_s + row + u"\r\n "_s + row +
                              u"\r\n   "_s + row + u"\r\n        "_s + row + u"\r\n"_s + row,
                    .after = QString(row + u"\r\n"_s).repeated(7) + row + u' ',
                    .runButton = kLeading,
                    // The panel shows one row more than the text has.
                    .expected = QString(row + u'\n').repeated(7)},
    };
}

} // namespace plintex::lines
