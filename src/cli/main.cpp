#include "cli/arguments.h"
#include "cli/asciimap.h"
#include "cli/byterows.h"
#include "cli/byterun.h"
#include "cli/commandline.h"
#include "cli/output.h"
#include "cli/progressline.h"
#include "cli/reciperun.h"
#include "cli/streamrun.h"
#include "cli/textsource.h"
#include "core/hugepages.h"
#include "core/memorybudget.h"
#include "core/outputfile.h"
#include "settings/textfile.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <new>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

char **g_argv = nullptr; // for starting over with huge pages

void printTo(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, bytes.size(), stream);
}

int fail(int status, const QString &reason)
{
    printTo(stderr, u"plintex-cli: " + reason + u'\n');
    return status;
}

int refuse(QString message)
{
    printTo(stderr, message.replace(u'\r', u'\n') + u'\n');
    return cli::Refused;
}

/// Ends a run that did its work: the warnings it still gave, then the results shown outside
/// the text, which are the output instead of the text. Such a run only read the text, so
/// --in-place leaves the file as it is and the results go to standard output.
int finishRun(const QStringList &report, const QStringList &notices, bool inPlace,
              cli::Output &output)
{
    for (QString notice : notices)
        printTo(stderr, notice.replace(u'\r', u'\n') + u'\n');
    if (!report.isEmpty()) {
        if (inPlace) {
            output.discard();
            if (!output.open({}))
                return fail(cli::FileError, output.error());
        }
        if (!output.write((report.join(u'\n') + u'\n').toLocal8Bit()))
            return fail(cli::FileError, output.error());
    }
    if (!output.finish())
        return fail(cli::FileError, output.error());
    return cli::Done;
}

/// The run of a function that may only reorder the rows, when this one does: it writes each
/// row's own bytes in the new order. Nothing when the run needs the lines after all.
std::optional<RunResult> runReordering(const FunctionBody &body, const RunInput &run,
                                       const cli::ByteRows &rows, cli::Output &output,
                                       bool *written)
{
    SilentMonitor monitor;
    std::optional<RowOrder> order =
        body.rowOrder(run.params, run.runButton, rows.source(), monitor);
    if (!order)
        return std::nullopt;
    if (order->result.done())
        *written =
            rows.write(order->rows, [&](QByteArrayView piece) { return output.write(piece); });
    return std::move(order->result);
}

/// Runs a function that needs the whole text (or none), then writes what the run leaves: the
/// results shown outside the text when it has any, else the text in the input's encoding and
/// line ends.
int runWholeText(const cli::RunCommand &command, cli::TextSource *source, cli::Output &output)
{
    const FunctionBody &body = command.function->body;
    RunInput run;
    run.params = command.params;
    run.restraint = command.restraint;
    run.caret = command.caret;
    run.runButton = command.runButton;
    TextFormat format;
    QByteArray out;
    RunResult result;
    bool reordered = false;
    try {
        // A run that leaves the text as it was writes the input's bytes back as they came. A
        // regular file can be read again for that; a stream's bytes are kept meanwhile.
        std::optional<QByteArray> bytes;
        if (source) {
            QString why;
            bytes = cli::readWhole(*source, cli::wholeTextLimit(), &why);
            if (!bytes)
                return fail(cli::FileError, why);
            if (cli::runOnBytes(body, run.params, *bytes)) {
                if (!output.write(*bytes))
                    return fail(cli::FileError, output.error());
                return finishRun({}, {}, command.inPlace, output);
            }
            if (body.rowOrder) {
                const cli::ByteRows rows(*bytes);
                format = rows.format();
                bool written = true;
                if (auto order = runReordering(body, run, rows, output, &written)) {
                    if (!written)
                        return fail(cli::FileError, output.error());
                    result = std::move(*order);
                    reordered = true;
                }
            } else {
                format = detectFormat(*bytes);
            }
            if (!reordered) {
                run.lines = rowsToLines(decodeRows(*bytes, format, &format.mixedEnds));
                if (source->size() >= 0)
                    bytes.reset();
            }
        }
        if (!reordered) {
            SilentMonitor monitor;
            result = body.run(std::move(run), monitor);
        }
        if (result.done() && result.report.isEmpty() && source && !reordered) {
            if (result.lines) {
                bytes.reset();
                if (!writeRows(linesToRows(std::move(*result.lines)), format,
                               [&](QByteArrayView piece) { return output.write(piece); }))
                    return fail(cli::FileError, output.error());
            } else if (bytes) {
                out = std::move(*bytes);
            } else {
                QString why;
                std::optional<QByteArray> again;
                if (source->rewind())
                    again = cli::readWhole(*source, cli::wholeTextLimit(), &why);
                if (!again)
                    return fail(cli::FileError, why.isEmpty() ? source->error() : why);
                out = std::move(*again);
            }
        }
    } catch (const std::bad_alloc &) {
        return fail(cli::FileError, u"the text is too large to be held in memory"_s);
    }
    if (!result.done()) {
        output.discard();
        return refuse(result.message.isEmpty() ? u"Processing stopped!"_s : result.message);
    }
    if (!output.write(out))
        return fail(cli::FileError, output.error());
    return finishRun(result.report, result.notices, command.inPlace, output);
}

/// Runs a function that streams a file named in its options to another: it holds no text, and
/// shows its progress on a terminal.
int runFileToFile(const cli::RunCommand &command)
{
    RunInput run;
    run.params = command.params;
    run.runButton = command.runButton;
    cli::ProgressMonitor monitor;
    const RunResult result = command.function->body.run(std::move(run), monitor);
    switch (result.outcome) {
    case RunResult::Outcome::Done:
        return cli::Done;
    case RunResult::Outcome::Failed:
        return fail(cli::FileError, result.message);
    case RunResult::Outcome::Refused:
        return refuse(result.message);
    case RunResult::Outcome::Stopped:
        return refuse(u"Processing stopped!"_s);
    }
    return cli::Done;
}

int runCommand(const cli::RunCommand &command)
{
    const FunctionBody &body = command.function->body;
    if (!body.readsText)
        return runFileToFile(command);
    // Before anything is read or written, so that starting over loses nothing.
    if (!body.rowPass)
        restartWithHugePages(g_argv);
    if (command.inPlace) {
        if (const QString why = cli::inPlaceProblem(command.inputPath); !why.isEmpty())
            return fail(cli::FileError, why);
    }
    cli::FileSource source;
    if (!source.open(command.inputPath))
        return fail(cli::FileError, source.error());
    // The output file replaces the old one only at the end, so even an --output naming the
    // input is read whole before it changes.
    cli::Output output;
    if (!output.open(command.outputPath, command.inputPath))
        return fail(cli::FileError, output.error());

    if (!body.rowPass)
        return runWholeText(command, &source, output);

    cli::ProgressLine progress(source.size());
    const std::optional<AsciiMap> map =
        body.asciiMap ? body.asciiMap(command.runButton, command.params) : std::nullopt;
    if (map) {
        switch (cli::mapAsciiBytes(
            source, *map, [&](QByteArrayView bytes) { return output.write(bytes); },
            [&](qint64 done) { progress.update(done); })) {
        case cli::MapOutcome::Done:
            return finishRun({}, {}, command.inPlace, output);
        case cli::MapOutcome::ReadFailed:
            output.discard();
            return fail(cli::FileError, source.error());
        case cli::MapOutcome::WriteFailed:
            return fail(cli::FileError, output.error());
        case cli::MapOutcome::NotApplicable:
            break;
        }
    }
    const cli::StreamResult r = cli::streamPass(
        source, body.rowPass, {command.params, command.runButton, command.restraint, command.caret},
        [&](QByteArrayView bytes) { return output.write(bytes); },
        [&](qint64 done) { progress.update(done); });
    switch (r.outcome) {
    case cli::StreamResult::Outcome::Refused:
        output.discard();
        return refuse(r.message);
    case cli::StreamResult::Outcome::ReadFailed:
        output.discard();
        return fail(cli::FileError, r.message);
    case cli::StreamResult::Outcome::WriteFailed:
        return fail(cli::FileError, output.error());
    case cli::StreamResult::Outcome::Done:
        break;
    }
    return finishRun(r.report, r.notices, command.inPlace, output);
}

int print(const QString &text)
{
    QString why;
    if (!cli::printToStandardOutput(text.toLocal8Bit(), &why))
        return fail(cli::FileError, why);
    return cli::Done;
}

} // namespace

int main(int argc, char *argv[])
{
    g_argv = argv;
    cli::guardStandardStreams();
    // A file size limit then fails the write with a message instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    const QStringList arguments = cli::decodeArguments(argc, argv);

    const cli::Command command = cli::parseCommandLine(arguments);
    if (const auto *run = std::get_if<cli::RunCommand>(&command))
        return runCommand(*run);
    if (const auto *recipe = std::get_if<cli::RecipeCommand>(&command))
        return cli::runRecipe(*recipe);
    if (std::holds_alternative<cli::ListCommand>(command))
        return print(cli::functionList());
    if (std::holds_alternative<cli::VersionCommand>(command))
        return print(cli::version());
    if (const auto *help = std::get_if<cli::HelpCommand>(&command))
        return print(help->function ? cli::functionHelp(*help->function) : cli::usage());
    if (const auto *error = std::get_if<cli::FileErrorCommand>(&command))
        return fail(cli::FileError, error->reason);
    return fail(cli::UsageError, std::get<cli::UsageErrorCommand>(command).reason);
}
