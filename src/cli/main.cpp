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

/// The input's bytes: a regular file is mapped rather than read, which spares copying a large
/// text into fresh memory; standard input and other streams are read.
class Input {
public:
    bool open(const QString &path)
    {
        const bool fromStdin = path.isEmpty() || path == u"-"_s;
        m_name = fromStdin ? u"standard input"_s : path;
        if (fromStdin ? !m_file.open(stdin, QIODevice::ReadOnly)
                      : (m_file.setFileName(path), !m_file.open(QIODevice::ReadOnly)))
            return false;
        if (!fromStdin && !m_file.isSequential() && m_file.size() > 0) {
            if (uchar *mapped = m_file.map(0, m_file.size())) {
                m_bytes = QByteArrayView(mapped, m_file.size());
                return true;
            }
        }
        m_owned = m_file.readAll();
        m_bytes = m_owned;
        return m_file.error() == QFileDevice::NoError;
    }
    QByteArrayView bytes() const { return m_bytes; }
    QString error() const { return u"cannot read " + m_name + u": " + m_file.errorString(); }
    void release()
    {
        m_bytes = {};
        m_owned = QByteArray();
        m_file.close();
    }

private:
    QFile m_file;
    QString m_name;
    QByteArray m_owned;
    QByteArrayView m_bytes;
};

/// Prints what a run leaves: the results shown outside the text when it has any, else the
/// text (as the run left it) in the input's encoding and line ends.
int printResult(RunResult &result, const TextFormat &format, const RunInput &unchanged,
                bool readsText)
{
    if (!result.done())
        return refuse(result.message.isEmpty() ? u"Processing stopped!"_s : result.message);
    for (QString notice : std::as_const(result.notices))
        printTo(stderr, notice.replace(u'\r', u'\n') + u'\n');
    if (!result.report.isEmpty()) {
        printTo(stdout, result.report.join(u'\n') + u'\n');
    } else if (readsText) {
        const QStringList &lines = result.lines ? *result.lines : unchanged.lines;
        if (!writeOut(encodeRows(linesToRows(lines), format)))
            return fail(cli::FileError, u"cannot write standard output"_s);
    }
    if (std::fflush(stdout) != 0)
        return fail(cli::FileError, u"cannot write standard output"_s);
    return cli::Done;
}

int runCommand(const cli::RunCommand &command)
{
    const FunctionBody &body = command.function->body;
    RunInput run;
    run.params = command.params;
    run.restraint = command.restraint;
    run.caret = command.caret;
    run.runButton = command.runButton;

    TextFormat format;
    if (body.readsText) {
        Input input;
        if (!input.open(command.inputPath))
            return fail(cli::FileError, input.error());
        const QByteArrayView bytes = input.bytes();
        if (body.lineTransform)
            return streamCommand(command, bytes, body.lineTransform(command.params));
        format = detectFormat(bytes);
        run.lines = rowsToLines(decodeRows(bytes, format));
    } // the decoded lines are all that is needed from here on

    SilentMonitor monitor;
    const RunInput unchanged{.lines = run.lines};
    RunResult result = body.run(std::move(run), monitor);
    return printResult(result, format, unchanged, body.readsText);
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
