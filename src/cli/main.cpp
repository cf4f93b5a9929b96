#include "cli/commandline.h"
#include "cli/streamrun.h"
#include "settings/textfile.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

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

bool writeOut(QByteArrayView bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == size_t(bytes.size());
}

int refuse(QString message)
{
    printTo(stderr, message.replace(u'\r', u'\n') + u'\n');
    return cli::Refused;
}

int streamCommand(const cli::RunCommand &command, QByteArrayView input,
                  const LineTransform &transform)
{
    const cli::StreamResult r =
        cli::streamLines(input, transform, command.params.all(), command.restraint, writeOut);
    if (r.outcome == cli::StreamResult::Outcome::Refused)
        return refuse(r.message);
    if (r.outcome == cli::StreamResult::Outcome::WriteFailed || std::fflush(stdout) != 0)
        return fail(cli::FileError, u"cannot write standard output"_s);
    return cli::Done;
}

int runCommand(const cli::RunCommand &command)
{
    QFile input;
    const bool fromStdin = command.inputPath.isEmpty() || command.inputPath == u"-"_s;
    if (fromStdin ? !input.open(stdin, QIODevice::ReadOnly)
                  : (input.setFileName(command.inputPath), !input.open(QIODevice::ReadOnly)))
        return fail(cli::FileError, u"cannot read " +
                                        (fromStdin ? u"standard input"_s : command.inputPath) +
                                        u": " + input.errorString());
    QByteArray bytes = input.readAll();
    if (input.error() != QFileDevice::NoError)
        return fail(cli::FileError,
                    u"cannot read " + command.inputPath + u": " + input.errorString());
    input.close();

    if (const LineTransformFactory factory = command.function->body.lineTransform)
        return streamCommand(command, bytes, factory(command.params));

    const TextFormat format = detectFormat(bytes);
    RunInput run;
    run.lines = rowsToLines(decodeRows(bytes, format));
    bytes = QByteArray(); // the decoded lines are all that is needed from here on
    run.params = command.params;
    run.restraint = command.restraint;
    run.caret = command.caret;
    run.runButton = command.runButton;

    SilentMonitor monitor;
    RunResult result = command.function->body.run(std::move(run), monitor);
    if (!result.done())
        return refuse(result.message.isEmpty() ? u"Processing stopped!"_s : result.message);
    for (QString notice : std::as_const(result.notices))
        printTo(stderr, notice.replace(u'\r', u'\n') + u'\n');
    if (!result.output.isEmpty())
        printTo(stdout, result.output + u'\n');

    const QByteArray out = encodeRows(linesToRows(std::move(result.lines)), format);
    if (!writeOut(out) || std::fflush(stdout) != 0)
        return fail(cli::FileError, u"cannot write standard output"_s);
    return cli::Done;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();

    const cli::Command command = cli::parseCommandLine(arguments);
    if (const auto *run = std::get_if<cli::RunCommand>(&command))
        return runCommand(*run);
    if (std::holds_alternative<cli::ListCommand>(command)) {
        printTo(stdout, cli::functionList());
        return cli::Done;
    }
    if (const auto *help = std::get_if<cli::HelpCommand>(&command)) {
        printTo(stdout, help->function ? cli::functionHelp(*help->function) : cli::usage());
        return cli::Done;
    }
    if (const auto *error = std::get_if<cli::FileErrorCommand>(&command))
        return fail(cli::FileError, error->reason);
    return fail(cli::UsageError, std::get<cli::UsageErrorCommand>(command).reason);
}
