#include "cli/reciperun.h"

#include "cli/output.h"
#include "cli/progressline.h"
#include "cli/recipestream.h"
#include "cli/textsource.h"
#include "command/recipe.h"
#include "settings/textfile.h"

#include <QTemporaryFile>

#include <cstdio>
#include <new>

using namespace Qt::StringLiterals;

namespace plintex::cli {
namespace {

void printError(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, bytes.size(), stderr);
}

int fail(int status, const QString &reason)
{
    printError(u"plintex-cli: " + reason + u'\n');
    return status;
}

int refuse(QString message)
{
    printError(message.replace(u'\r', u'\n') + u'\n');
    return Refused;
}

/// What the steps leave: their warnings on standard error, then their results shown outside the
/// text, which are the output instead of the text (a file rewritten in place stays as it was).
int finish(const QStringList &report, const QStringList &notices, bool inPlace, Output &output)
{
    for (QString notice : notices)
        printError(notice.replace(u'\r', u'\n') + u'\n');
    if (!report.isEmpty()) {
        if (inPlace) {
            output.discard();
            if (!output.open({}))
                return fail(FileError, output.error());
        }
        if (!output.write((report.join(u'\n') + u'\n').toLocal8Bit()))
            return fail(FileError, output.error());
    }
    if (!output.finish())
        return fail(FileError, output.error());
    return Done;
}

/// Every step on the lines in turn: the text decoded once, encoded once.
int runOnWholeText(const QList<command::RecipeStep> &steps, TextSource &source, Output &output,
                   bool inPlace, const std::function<QString(int)> &where)
{
    QString why;
    std::optional<QByteArray> bytes;
    QStringList report;
    QStringList notices;
    std::optional<QStringList> lines;
    TextFormat format;
    try {
        bytes = readWhole(source, wholeTextLimit(), &why);
        if (!bytes)
            return fail(FileError, why);
        format = detectFormat(*bytes);
        QStringList current = rowsToLines(decodeRows(*bytes, format, &format.mixedEnds));
        for (const command::RecipeStep &step : steps) {
            const command::Invocation &run = step.run;
            RunInput input{current, run.params, run.restraint, run.caret, run.runButton};
            SilentMonitor monitor;
            RunResult result = run.function->body.run(std::move(input), monitor);
            if (!result.done()) {
                output.discard();
                return refuse(where(step.line) + (result.message.isEmpty()
                                                      ? u"Processing stopped!"_s
                                                      : result.message));
            }
            if (result.lines) {
                current = std::move(*result.lines);
                lines = current;
            }
            report += result.report;
            notices += result.notices;
        }
        if (lines)
            bytes.reset();
    } catch (const std::bad_alloc &) {
        return fail(FileError, u"the text is too large to be held in memory"_s);
    }
    if (report.isEmpty()) {
        const auto write = [&](QByteArrayView piece) { return output.write(piece); };
        if (lines ? !writeRows(linesToRows(std::move(*lines)), format, write)
                  : !output.write(*bytes))
            return fail(FileError, output.error());
    }
    return finish(report, notices, inPlace, output);
}

} // namespace

int runRecipe(const RecipeCommand &command)
{
    auto read = command::readRecipe(command.recipePath);
    if (const auto *error = std::get_if<command::RecipeError>(&read))
        return fail(error->fileError ? FileError : UsageError, error->message);
    const QList<command::RecipeStep> steps = std::get<QList<command::RecipeStep>>(read);
    const QString name = command.recipePath;
    const auto where = [name](int line) -> QString {
        return name + u':' + QString::number(line) + u": ";
    };

    if (command.inPlace) {
        if (const QString why = inPlaceProblem(command.inputPath); !why.isEmpty())
            return fail(FileError, why);
    }
    FileSource source;
    if (!source.open(command.inputPath))
        return fail(FileError, source.error());
    Output output;
    // An empty recipe changes nothing: a file rewritten in place is left alone.
    if (steps.isEmpty() && command.inPlace)
        return Done;
    if (!output.open(command.outputPath, command.inputPath))
        return fail(FileError, output.error());

    QList<ChainStep> chain;
    for (const command::RecipeStep &s : steps) {
        const command::Invocation &r = s.run;
        chain.append(
            {r.function->body.rowPass, {r.params, r.runButton, r.restraint, r.caret}, s.line});
    }
    if (steps.isEmpty() || !chainable(chain))
        return runOnWholeText(steps, source, output, command.inPlace, where);

    // A step that measures the text reads it twice: it starts a chain of its own, on what the
    // steps before it wrote into a temporary file.
    QList<QList<ChainStep>> chains{{}};
    for (const ChainStep &step : std::as_const(chain)) {
        if (!chains.back().isEmpty() && measuresFirst(step))
            chains.append(QList<ChainStep>{});
        chains.back().append(step);
    }
    // A step that only reads (a total) has its results printed instead of the text.
    const bool textWanted = std::none_of(chain.cbegin(), chain.cend(), onlyReads);
    ProgressLine progress(source.size());
    StreamResult r;
    std::unique_ptr<QTemporaryFile> between;
    std::unique_ptr<FileSource> spooled;
    for (qsizetype c = 0; c < chains.size() && r.outcome == StreamResult::Outcome::Done; ++c) {
        TextSource &in = spooled ? *spooled : static_cast<TextSource &>(source);
        const bool last = c + 1 == chains.size();
        auto next = last ? nullptr : std::make_unique<QTemporaryFile>();
        if (next && !next->open())
            return fail(FileError, u"cannot make a temporary file: "_s + next->errorString());
        StreamResult part = streamPass(
            in, chainedPasses(chains[c], where, !last || textWanted), chains[c].front().request,
            [&](QByteArrayView bytes) {
                return last ? output.write(bytes)
                            : next->write(bytes.data(), bytes.size()) == bytes.size();
            },
            [&](qint64 done) {
                if (c == 0)
                    progress.update(done);
            });
        part.report = r.report + part.report;
        part.notices = r.notices + part.notices;
        r = std::move(part);
        if (!last && r.outcome == StreamResult::Outcome::WriteFailed)
            return fail(FileError, u"cannot write a temporary file: "_s + next->errorString());
        if (!last && r.outcome == StreamResult::Outcome::Done) {
            spooled = std::make_unique<FileSource>();
            if (!next->flush() || !spooled->open(next->fileName()))
                return fail(FileError, spooled->error());
            between = std::move(next);
        }
    }
    switch (r.outcome) {
    case StreamResult::Outcome::Refused:
        output.discard();
        return refuse(r.message);
    case StreamResult::Outcome::ReadFailed:
        output.discard();
        return fail(FileError, r.message);
    case StreamResult::Outcome::WriteFailed:
        return fail(FileError, output.error());
    case StreamResult::Outcome::Done:
        break;
    }
    return finish(r.report, r.notices, command.inPlace, output);
}

} // namespace plintex::cli
