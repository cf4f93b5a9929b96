#include "ops/lines/blanks.h"

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

const QString kLeading = u"leading"_s;
const QString kTrailing = u"trailing"_s;

bool isStrippable(QChar c)
{
    return c.unicode() <= 32;
}

RunResult removeBlanks(RunInput input, RunMonitor &monitor)
{
    QStringList &lines = input.lines;
    const qsizetype n = lines.size();
    monitor.begin(double(n));
    qsizetype kept = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (monitor.step(double(i + 1)))
            return RunResult::stopped();
        if (!isBlankRow(lines[i]))
            lines[kept++] = std::move(lines[i]);
    }
    lines.resize(kept);
    RunResult result;
    result.lines = std::move(lines);
    return result;
}

RunResult trimBlanks(RunInput input, RunMonitor &monitor)
{
    if (input.runButton == kTrailing)
        return runOverBand(std::move(input), monitor, trimTrailing);
    return runOverBand(std::move(input), monitor, trimLeading);
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

void trimLeading(QString &row)
{
    qsizetype i = 0;
    while (i < row.size() && isStrippable(row[i]))
        ++i;
    if (i > 0)
        row.remove(0, i);
}

void trimTrailing(QString &row)
{
    qsizetype end = row.size();
    while (end > 0 && isStrippable(row[end - 1]))
        --end;
    if (end < row.size())
        row.truncate(end);
}

FunctionBody removeBlankLines()
{
    const QString row = u"aaaaaaaaaaaaa"_s;
    return {
        .description = u"Deletes every row of the text that is empty or holds only blanks."_s,
        .panel = {runButton(), caption(u"Take out blank lines."_s)},
        .run = removeBlanks,
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
        .run = trimBlanks,
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
