#include "cli/commandline.h"
#include "cli/streamrun.h"
#include "ops/registry.h"
#include "randomtext.h"
#include "settings/textfile.h"
#include "testfiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

struct Outcome {
    int status;
    QByteArray out;
    QByteArray err;
};

Outcome runCli(const QStringList &arguments, const QByteArray &input = {},
               const QString &script = {})
{
    QProcess p;
    if (script.isEmpty()) {
        p.start(QStringLiteral(PLINTEX_CLI), arguments);
    } else {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"CLI"_s, QStringLiteral(PLINTEX_CLI));
        p.setProcessEnvironment(env);
        p.start(u"/bin/sh"_s, {u"-c"_s, script});
    }
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

/// Runs a shell script with $CLI naming the program: for what QProcess cannot set up (raw
/// argument bytes, closed or full streams, limits).
Outcome runShell(const QString &script, const QByteArray &input = {})
{
    return runCli({}, input, script);
}

qsizetype lineCount(const QByteArray &text)
{
    return rowsToLines(decodeRows(text, detectFormat(text))).size();
}

QString usageReason(const QStringList &arguments)
{
    const cli::Command c = cli::parseCommandLine(arguments);
    const auto *error = std::get_if<cli::UsageErrorCommand>(&c);
    return error ? error->reason : QString();
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parsesOptions_data();
    void parsesOptions();
    void rejectsBadUsage_data();
    void rejectsBadUsage();
    void listShowsOnlyFunctionsThatRun();
    void insertKeepsEncodingAndLineEnds_data();
    void insertKeepsEncodingAndLineEnds();
    void deleteRetainFromFile();
    void refusalGoesToStandardError();
    void exitStatuses_data();
    void exitStatuses();
    void valueFromFile();
    void streamMatchesRunRoutine_data();
    void streamMatchesRunRoutine();
    void runThatChangesNothingKeepsBytes();
    void failuresAreReported_data();
    void failuresAreReported();
    void writesInPlaceAndToAFile();
    void argumentsInTheLocalesEncoding_data();
    void argumentsInTheLocalesEncoding();
    void fileThatShrinksWhileRead();
    void wholeTextHasALimit();
    void functionsEndToEnd_data();
    void functionsEndToEnd();
};

void TestCli::parsesOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("full name with =")
        << QStringList{u"insert-into-column"_s, u"--at-column-position=7"_s} << u"column"_s
        << u"7"_s;
    QTest::newRow("prefix, value as next argument")
        << QStringList{u"insert-into-column"_s, u"--at"_s, u"12"_s} << u"column"_s << u"12"_s;
    QTest::newRow("prefix of NAME and NAME-file means NAME")
        << QStringList{u"Insert Into Column"_s, u"--insert=a b"_s} << u"data"_s << u"a b"_s;
    QTest::newRow("value with leading blanks kept")
        << QStringList{u"insert-into-column"_s, u"--insert-this-data=  x"_s} << u"data"_s
        << u"  x"_s;
    QTest::newRow("radio button flag")
        << QStringList{u"retain-delete-column"_s, u"--retain"_s} << u"mode"_s << u"retain"_s;
    QTest::newRow("default radio")
        << QStringList{u"delete-retain-column"_s} << u"mode"_s << u"delete"_s;
}

void TestCli::parsesOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const cli::Command c = cli::parseCommandLine(arguments);
    const auto *run = std::get_if<cli::RunCommand>(&c);
    QVERIFY(run);
    QCOMPARE(run->params.text(key), value);
}

void TestCli::rejectsBadUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unknown function")
        << QStringList{u"frobnicate"_s} << u"unknown function \"frobnicate\""_s;
    QTest::newRow("function not built")
        << QStringList{u"sort-ascending-descending"_s} << u"not available"_s;
    QTest::newRow("not a number") << QStringList{u"insert-into-column"_s, u"--at=x"_s}
                                  << u"whole number"_s;
    QTest::newRow("negative number")
        << QStringList{u"insert-into-column"_s, u"--at=-1"_s} << u"whole number"_s;
    QTest::newRow("fraction") << QStringList{u"delete-retain-column"_s, u"--column=1.5"_s}
                              << u"whole number"_s;
    QTest::newRow("row not a number")
        << QStringList{u"insert-into-column"_s, u"--from-row=one"_s} << u"whole number"_s;
    QTest::newRow("unknown option")
        << QStringList{u"insert-into-column"_s, u"--bogus"_s} << u"unknown option --bogus"_s;
    QTest::newRow("both radio buttons")
        << QStringList{u"delete-retain-column"_s, u"--delete"_s, u"--retain"_s}
        << u"exclude each other"_s;
    QTest::newRow("value missing")
        << QStringList{u"insert-into-column"_s, u"--at"_s} << u"needs a value"_s;
    QTest::newRow("line break in a one-line field")
        << QStringList{u"insert-into-column"_s, u"--insert-this-data=a\nb"_s} << u"one line"_s;
    QTest::newRow("two input files")
        << QStringList{u"insert-into-column"_s, u"a"_s, u"b"_s} << u"more than one input file"_s;
}

void TestCli::rejectsBadUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    const QString got = usageReason(arguments);
    QVERIFY2(got.contains(reason), qPrintable(got));
}

void TestCli::listShowsOnlyFunctionsThatRun()
{
    const Outcome o = runCli({u"--list"_s});
    QCOMPARE(o.status, 0);
    QVERIFY(o.out.contains("insert-into-column"));
    QVERIFY(o.out.contains("delete-retain-column"));
    QVERIFY(!o.out.contains("sort-ascending-descending"));
}

void TestCli::insertKeepsEncodingAndLineEnds_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("crlf") << QByteArray("1234567890\r\n1234567890\r\n")
                          << QByteArray("123456INSERTED DATA7890\r\n123456INSERTED DATA7890\r\n");
    QTest::newRow("lf, no final break")
        << QByteArray("1234567890\n12") << QByteArray("123456INSERTED DATA7890\n12INSERTED DATA\n");
    QTest::newRow("windows-1252 stays windows-1252")
        << QByteArray("caf\xE9 au lait\r\nna\xEFve\r\n")
        << QByteArray("caf\xE9 aINSERTED DATAu lait\r\nna\xEFveINSERTED DATA\r\n");
    QTest::newRow("binary bytes survive")
        << QByteArray("\0\x01\xFF\xFE\x80\n\x7F\x00\x90", 9)
        << QByteArray("\0\x01\xFF\xFE\x80INSERTED DATA\n\x7F\x00\x90INSERTED DATA\n", 36);
}

void TestCli::insertKeepsEncodingAndLineEnds()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    const Outcome o = runCli({u"insert-into-column"_s, u"--insert-this-data=INSERTED DATA"_s,
                              u"--at-column-position=7"_s},
                             input);
    QCOMPARE(o.err, QByteArray());
    QCOMPARE(o.status, 0);
    QCOMPARE(o.out, output);
}

void TestCli::deleteRetainFromFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"in.txt"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("111 222 333 444 555\n111 222 333 444 555\n111 222 333 444 555\n");
    f.close();
    Outcome o = runCli({u"delete-retain-column"_s, u"--col=13"_s, u"--and=17"_s, path});
    QCOMPARE(o.out, QByteArray("111 222 333 555\n111 222 333 555\n111 222 333 555\n"));
    o = runCli({u"Retain/Delete Column"_s, u"--col=13"_s, u"--and=17"_s, u"--retain"_s,
                u"--from-row=2"_s, path});
    QCOMPARE(o.out, QByteArray("111 222 333 444 555\n444 \n444 \n"));
}

void TestCli::refusalGoesToStandardError()
{
    const Outcome o =
        runCli({u"insert-into-column"_s, u"--insert-this-data=x"_s}, QByteArray("one line\n"));
    QCOMPARE(o.status, 1);
    QCOMPARE(o.out, QByteArray());
    QCOMPARE(o.err, QByteArray("Row restraint To position must\nbe greater than From position.\n"));
}

void TestCli::exitStatuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::newRow("usage") << QStringList{u"insert-into-column"_s, u"--at=seven"_s} << 2;
    QTest::newRow("unknown function") << QStringList{u"nope"_s} << 2;
    QTest::newRow("unreadable input")
        << QStringList{u"insert-into-column"_s, u"/nonexistent/input.txt"_s} << 3;
    QTest::newRow("unreadable value file")
        << QStringList{u"insert-into-column"_s, u"--insert-this-data-file=/nonexistent"_s} << 3;
    QTest::newRow("help") << QStringList{u"delete-retain-column"_s, u"--help"_s} << 0;
}

void TestCli::exitStatuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    const Outcome o = runCli(arguments, QByteArray("a\nb\n"));
    QCOMPARE(o.status, status);
    if (status == 2 || status == 3)
        QCOMPARE(o.err.count('\n'), 1); // one line of reason
}

void TestCli::valueFromFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"value.txt"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\xE9t\xE9\r\n"); // Windows-1252, final line break dropped for a one-line field
    f.close();
    const Outcome o = runCli({u"insert-into-column"_s, u"--insert-this-data-file="_s + path},
                             QByteArray("ab\ncd\n"));
    QCOMPARE(o.status, 0);
    QCOMPARE(o.out, QByteArray("\xC3\xA9t\xC3\xA9"
                               "ab\n\xC3\xA9t\xC3\xA9"
                               "cd\n"));
}

// Every function that streams gives what its run routine gives, on inputs that are hard to
// stream: the example's parameters, with a text the input's encoding cannot hold.
void TestCli::streamMatchesRunRoutine_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    const QList<std::tuple<const char *, QByteArray, int, int>> inputs = {
        {"lf with final break", QByteArray("abc\ndefgh\n"), 0, 0},
        {"no final break", QByteArray("abc\ndefgh"), 0, 0},
        {"mixed line ends kept", QByteArray("a\r\nb\rc\nd"), 0, 0},
        {"lone cr at the very end", QByteArray("a\rb\r"), 0, 0},
        {"band in the middle", QByteArray("1\n2\n3\n4\n5\n"), 2, 4},
        {"windows-1252", QByteArray("caf\xE9\n\x80uro\nlast\n"), 2, 3},
        {"utf-8 with bom", QByteArray("\xEF\xBB\xBFx\r\ny\r\n"), 0, 0},
        {"utf-16le crlf",
         QByteArray("\xFF\xFE"
                    "a\0b\0\r\0\n\0c\0\r\0\n\0",
                    16),
         0, 0},
        {"empty lines", QByteArray("\n\n\n"), 0, 0},
        {"long lines", QByteArray(5000, 'x') + "\n" + QByteArray(70, 'y'), 0, 0},
    };
    for (const FunctionSpec &f : catalogue()) {
        if (!f.body.lineTransform)
            continue;
        for (const auto &[name, input, from, to] : inputs)
            QTest::addRow("%s: %s", qPrintable(f.slug()), name) << f.name << input << from << to;
    }
}

void TestCli::streamMatchesRunRoutine()
{
    QFETCH(QString, function);
    QFETCH(QByteArray, input);
    QFETCH(int, from);
    QFETCH(int, to);
    const FunctionSpec *f = catalogue().byName(function);
    ParamValues params = ParamValues::defaults(f->params());
    for (const auto &[key, value] : f->body.example.params)
        params.set(key, f->param(key)->kind == ParamKind::Number ? value : value + u"\u2192");
    const RowRestraint restraint{from, to, from == 0 && to == 0};

    TextFormat format = detectFormat(input);
    RunInput run;
    run.lines = rowsToLines(decodeRows(input, format, &format.mixedEnds));
    run.params = params;
    run.restraint = restraint;
    SilentMonitor monitor;
    RunResult r = f->body.run(run, monitor);
    QVERIFY(r.done());
    const QByteArray expected = encodeRows(linesToRows(r.lines.value()), format);

    // A file and a stream, read in pieces of 3 bytes so that breaks fall across them.
    for (const bool rereadable : {true, false}) {
        cli::MemorySource source(input, rereadable, 3);
        QByteArray streamed;
        const cli::StreamResult s = cli::streamLines(
            source, f->body.lineTransform(params), params.all(), restraint, [&](QByteArrayView b) {
                streamed += b;
                return true;
            });
        QCOMPARE(s.outcome, cli::StreamResult::Outcome::Done);
        QCOMPARE(streamed, expected);
    }
}

void TestCli::runThatChangesNothingKeepsBytes()
{
    // Random texts of every encoding with mixed line ends, through a run that changes nothing:
    // in process from files and streams read in small pieces, then through the program itself.
    QRandomGenerator rng(7);
    const FunctionSpec *f = catalogue().byName(u"insert-into-column");
    const ParamValues params = ParamValues::defaults(f->params());
    for (int sample = 0; sample < 2000; ++sample) {
        // Two lines at least: a run over one line is refused (To must be past From).
        const QByteArray text = testing::randomText(rng, true, 2);
        cli::MemorySource source(text, sample % 2 == 0, 1 + rng.bounded(9));
        QByteArray out;
        const cli::StreamResult r =
            cli::streamLines(source, f->body.lineTransform(params), {}, {}, [&](QByteArrayView b) {
                out += b;
                return true;
            });
        if (r.outcome == cli::StreamResult::Outcome::Refused) {
            QVERIFY(lineCount(text) < 2); // a CR, an empty line and a LF make one CR LF
            continue;
        }
        QCOMPARE(out.toHex(' '), text.toHex(' '));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(u"in.txt"_s);
    for (int sample = 0; sample < 40; ++sample) {
        const QByteArray text = testing::randomText(rng, true, 2);
        QVERIFY(testing::writeFile(path, text));
        const Outcome o = sample % 2 ? runCli({u"insert-into-column"_s, path})
                                     : runCli({u"insert-into-column"_s, u"-"_s}, text);
        QCOMPARE(o.status, lineCount(text) < 2 ? 1 : 0);
        if (o.status == 0)
            QCOMPARE(o.out.toHex(' '), text.toHex(' '));
    }
}

void TestCli::failuresAreReported_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason");
    QTest::newRow("--list to a full disk")
        << u"\"$CLI\" --list >/dev/full"_s << 3 << u"No space left on device"_s;
    QTest::newRow("--help to a full disk")
        << u"\"$CLI\" --help >/dev/full"_s << 3 << u"No space left on device"_s;
    QTest::newRow("closed standard input")
        << u"\"$CLI\" insert-into-column --insert-this-data=x <&-"_s << 3
        << u"standard input: it is closed"_s;
    QTest::newRow("closed standard output")
        << u"printf 'a\\nb\\n' | \"$CLI\" insert-into-column --insert-this-data=x >&-"_s << 3
        << u"standard output: it is closed"_s;
    QTest::newRow("/dev/zero as input")
        << u"\"$CLI\" insert-into-column --insert-this-data=x /dev/zero"_s << 3 << u"too long"_s;
    QTest::newRow("/dev/zero through a pipe")
        << u"head -c 30000000 /dev/zero | \"$CLI\" insert-into-column --insert-this-data=x"_s << 3
        << u"too long"_s;
    QTest::newRow("endless pipe gives output as it goes")
        << u"yes abc | \"$CLI\" insert-into-column --insert-this-data=x | head -2 | "
           u"grep -cx xabc | grep -qx 2"_s
        << 0 << QString();
    QTest::newRow("/dev/zero as a --NAME-file value")
        << u"\"$CLI\" insert-into-column --insert-this-data-file=/dev/zero </dev/null"_s << 3
        << u"larger than 16 MiB"_s;
    QTest::newRow("--from-row past 64 bits")
        << u"echo a | \"$CLI\" insert-into-column --insert-this-data=x "
           u"--from-row=99999999999999999999"_s
        << 1 << u"Row restraint"_s;
    QTest::newRow("--in-place on a read-only file, left untouched")
        << u"printf 'a\\n' >f && chmod 444 f && \"$CLI\" insert-into-column --insert-this-data=x "
           u"--in-place f; s=$?; [ \"$(cat f)\" = a ] || s=99; exit $s"_s
        << 3 << u"read-only"_s;
    QTest::newRow("--in-place on a full disk, left untouched")
        << u"seq 1000 >f && [ $(wc -c <f) = 3893 ] && ulimit -f 2 && \"$CLI\" "
           u"insert-into-column --insert-this-data=x --in-place f; s=$?; "
           u"[ $(wc -c <f) = 3893 ] || s=99; exit $s"_s
        << 3 << u"File too large"_s;
    QTest::newRow("--in-place on standard input")
        << u"echo a | \"$CLI\" insert-into-column --in-place -"_s << 2 << u"input file"_s;
}

void TestCli::failuresAreReported()
{
    QFETCH(QString, script);
    QFETCH(int, status);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const Outcome o = runShell(u"cd '"_s + dir.path() + u"' && "_s + script);
    QVERIFY2(QString::fromLocal8Bit(o.err).contains(reason), o.err.constData());
    QCOMPARE(o.status, status);
}

void TestCli::writesInPlaceAndToAFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"in.txt"_s);
    const QString copy = dir.filePath(u"out.txt"_s);
    const QByteArray text("caf\xE9\r\nna\xEFve\n");
    const QByteArray once("-caf\xE9\r\n-na\xEFve\n");
    QVERIFY(testing::writeFile(path, text));
    const QStringList insert{u"insert-into-column"_s, u"--insert-this-data=-"_s};
    Outcome o = runCli(insert + QStringList{u"--output="_s + copy, path});
    QCOMPARE(o.status, 0);
    QCOMPARE(o.out, QByteArray());
    QCOMPARE(testing::readFile(copy), once);
    QCOMPARE(testing::readFile(path), text);
    o = runCli(insert + QStringList{u"--in-place"_s, path});
    QCOMPARE(o.status, 0);
    QCOMPARE(testing::readFile(path), once); // in its own encoding and line ends
    // --output naming the input: read whole before the file is replaced.
    o = runCli(insert + QStringList{u"--output"_s, path, path});
    QCOMPARE(o.status, 0);
    QCOMPARE(testing::readFile(path), QByteArray("--caf\xE9\r\n--na\xEFve\n"));
    // A refused run leaves the file as it was.
    o = runCli(insert + QStringList{u"--from-row=5"_s, u"--in-place"_s, path});
    QCOMPARE(o.status, 1);
    QCOMPARE(testing::readFile(path), QByteArray("--caf\xE9\r\n--na\xEFve\n"));
    QCOMPARE(runCli({u"--version"_s}).out, QByteArray("plintex-cli 7.08\n"));
}

void TestCli::argumentsInTheLocalesEncoding_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    // \351 is e acute typed on a Latin-1 terminal: Windows-1252 input holds it, so it stays so.
    QTest::newRow("latin-1 byte, UTF-8 locale, windows-1252 input")
        << u"C.UTF-8"_s << QByteArray("caf\xE9\nb\n")
        << QByteArray("\xE9"
                      "caf\xE9\n\xE9"
                      "b\n");
    QTest::newRow("latin-1 byte, C locale, windows-1252 input")
        << u"C"_s << QByteArray("caf\xE9\nb\n")
        << QByteArray("\xE9"
                      "caf\xE9\n\xE9"
                      "b\n");
    QTest::newRow("latin-1 byte, UTF-8 input") << u"C.UTF-8"_s << QByteArray("\xC3\xA9\nb\n")
                                               << QByteArray("\xC3\xA9\xC3\xA9\n\xC3\xA9"
                                                             "b\n");
}

void TestCli::argumentsInTheLocalesEncoding()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    const Outcome o = runShell(u"LC_ALL="_s + locale +
                                   u" exec \"$CLI\" insert-into-column "
                                   u"--insert-this-data=\"$(printf '\\351')\""_s,
                               input);
    QCOMPARE(o.err, QByteArray());
    QCOMPARE(o.out, output);
}

void TestCli::fileThatShrinksWhileRead()
{
    // Held up by a full output pipe, the program meets the file cut short under it (a log
    // rotated in place): a message and exit 3, never a signal.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"log.txt"_s);
    QByteArray line(99, 'x');
    line += '\n';
    QVERIFY(testing::writeFile(path, line.repeated(300000)));
    QProcess p;
    p.start(QStringLiteral(PLINTEX_CLI),
            {u"insert-into-column"_s, u"--insert-this-data=x"_s, path});
    QVERIFY(p.waitForStarted());
    QThread::msleep(500);
    QVERIFY(QFile::resize(path, 1000));
    QByteArray err;
    while (!p.waitForFinished(50)) {
        p.readAllStandardOutput();
        err += p.readAllStandardError();
    }
    err += p.readAllStandardError();
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 3);
    QVERIFY2(err.contains("changed size while it was read"), err.constData());
}

void TestCli::wholeTextHasALimit()
{
    cli::MemorySource source(QByteArray(5 << 20, 'a'), false);
    QString why;
    QCOMPARE(cli::readWhole(source, 2 << 20, &why), std::nullopt);
    QVERIFY2(why.contains(u"too large to be held in memory"_s), qPrintable(why));
}

// The functions that hold the whole text, through the binary: results, reports and refusals.
void TestCli::functionsEndToEnd_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("output"); // standard output, or standard error when refused
    QTest::newRow("total prints the total alone")
        << QStringList{u"total-a-specified-column"_s, u"--in-column=3"_s, u"--to=12"_s}
        << QByteArray("a 1,000.25\r\nb (0.5)\r\n") << 0 << QByteArray("999.75\n");
    QTest::newRow("total of a date is refused")
        << QStringList{u"total-a-specified-column"_s, u"--in=1"_s, u"--to=20"_s}
        << QByteArray("1\n2023-01-05\n") << 1
        << QByteArray("'2023-01-05' is not a valid floating point value\n");
    QTest::newRow("replace in a band, crlf kept")
        << QStringList{u"replace-in-column"_s, u"--replace=9"_s, u"--with=0"_s, u"--in=3"_s,
                       u"--to=5"_s}
        << QByteArray("99999\r\n9\r\n") << 0 << QByteArray("99009\r\n9\r\n");
    QTest::newRow("copy with a zero column is refused")
        << QStringList{u"copy-move-a-column"_s, u"--to-position=0"_s} << QByteArray("a\n") << 1
        << QByteArray("Column parameters can not equal 0.\n");
    QTest::newRow("strip across lines")
        << QStringList{u"delete-strip-out-data"_s, u"--delete=<"_s, u"--to-this-data=>"_s}
        << QByteArray("a<b\nc>d\n") << 0 << QByteArray("ad\n");
    QTest::newRow("align right justified")
        << QStringList{u"align-data-into-columns"_s, u"--right-justify"_s}
        << QByteArray("a bbb\ncc d\n") << 0 << QByteArray("  a bbb\n cc   d\n");
    QTest::newRow("insert a column, block longer than the text")
        << QStringList{u"insert-a-column"_s, u"--insert-this-column-of-data=1\n2\n3"_s, u"--at=2"_s}
        << QByteArray("ab\ncd\n") << 0 << QByteArray("a1b\nc2d\n3\n");
    QTest::newRow("add-row: block with a literal line break, crlf kept")
        << QStringList{u"add-row"_s, u"--insert-this-data=-\n="_s, u"--every=1"_s}
        << QByteArray("a\r\nb\r\n") << 0 << QByteArray("a\r\n-\r\n=\r\nb\r\n");
    QTest::newRow("insert-lines-per-data: search texts from a file, one a line")
        << QStringList{u"insert-lines-per-data"_s, u"--insert-this-data=>"_s,
                       u"--every-line-containing-this-data-file=TEXTS"_s}
        << QByteArray("ab\ncd\nef\n") << 0 << QByteArray("ab\n>\ncd\nef\n>\n");
    QTest::newRow("append-data: the search text ticks its box")
        << QStringList{u"append-data"_s, u"--append-this-data=X"_s, u"--containing=b"_s}
        << QByteArray("a\nb\n") << 0 << QByteArray("a\nb X\n");
    QTest::newRow("delete-retain-line-data: offset not a number refused")
        << QStringList{u"Retain/Delete Line Data"_s, u"--this-data=b"_s, u"--offset=1x"_s}
        << QByteArray("ab\nb\n") << 1
        << QByteArray("+/- offset must be a whole number,\nsuch as -2, 0 or 5.\n");
    QTest::newRow("delete-row: interval 1 refused")
        << QStringList{u"delete-row"_s, u"--and-every=1"_s} << QByteArray("a\nb\n") << 1
        << QByteArray("0 or 1 increment is invalid.\n");
    QTest::newRow("delete-leading-trailing-blanks: negative band bound is no number")
        << QStringList{u"delete-leading-trailing-blanks"_s, u"--take-out-leading-blanks"_s,
                       u"--from-row=-1"_s}
        << QByteArray(" a\n b\n") << 2 << QByteArray();
}

void TestCli::functionsEndToEnd()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QByteArray, output);
    QTemporaryDir dir;
    const QString texts = dir.filePath(u"texts.txt"_s);
    QVERIFY(testing::writeFile(texts, "zz\na\n\nf\n"));
    arguments.replaceInStrings(u"TEXTS"_s, texts);
    const Outcome o = runCli(arguments, input);
    QCOMPARE(o.status, status);
    if (status != 2) {
        QCOMPARE(status == 0 ? o.out : o.err, output);
        QCOMPARE(status == 0 ? o.err : o.out, QByteArray());
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
