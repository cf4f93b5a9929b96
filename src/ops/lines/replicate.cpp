#include "ops/lines/replicate.h"

#include "core/memorybudget.h"

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

const QString kCopies = u"copies"_s;
constexpr qsizetype kRowsPerStep = 4096; // rows copied between two stop tests

RunResult run(RunInput input, RunMonitor &monitor)
{
    const qint64 copies = input.params.number(kCopies);
    QStringList &lines = input.lines;
    RunResult result;
    if (copies <= 1 || lines.isEmpty())
        return result; // the text as it was
    qint64 characters = 0;
    for (const QString &line : std::as_const(lines))
        characters += line.size();
    // Half of what is free: the window or the command line still has to show or write it.
    if (!replicaFits(lines.size(), characters, copies, availableMemory() / 2))
        return RunResult::refused(u"Replicating the text that often would need more memory\r"
                                  u"than is free. Enter a smaller count."_s);
    // Built once: the copies share the rows' text until one of them is edited.
    const qsizetype n = lines.size();
    QStringList out;
    out.reserve(n * copies);
    monitor.begin(double(n) * double(copies));
    for (qint64 copy = 0; copy < copies; ++copy) {
        for (qsizetype i = 0; i < n; ++i) {
            if (i % kRowsPerStep == 0 && monitor.step(double(out.size())))
                return RunResult::stopped();
            out.append(lines[i]);
        }
    }
    result.lines = std::move(out);
    return result;
}

} // namespace

bool replicaFits(qint64 lines, qint64 characters, qint64 copies, qint64 memory)
{
    // A line's place: its entry in the list and the header and rounding of its own block.
    constexpr qint64 kLineCost = 64;
    const qint64 perCopy = 2 * characters + kLineCost * lines;
    return perCopy == 0 || copies <= memory / perCopy;
}

FunctionBody replicateData()
{
    return {
        .description = u"Appends copies of the whole text to itself, so that it holds the given "
                       u"number of copies."_s,
        .panel =
            {
                runButton(),
                numberField(kCopies, u"Replicate data:"_s, u"1"_s, u"1"_s, Reset::Keep),
            },
        .run = run,
        .example = {.title = u"Replicate Data per each click"_s,
                    .before = u"123\r\n123"_s,
                    .after = u"123\r\n123\r\n\r\n123\r\n123"_s,
                    .params = {{kCopies, u"2"_s}},
                    // Each copy starts on the row after the last: no empty row between them.
                    .expected = u"123\n123\n123\n123\n"_s},
    };
}

} // namespace plintex::lines
