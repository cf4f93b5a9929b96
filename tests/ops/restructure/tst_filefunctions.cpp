#include "ops/common/specialcharacters.h"
#include "ops/registry.h"
#include "ops/restructure/filestream.h"
#include "ops/runfunction.h"
#include "testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::readFile;
using testing::writeFile;

namespace {

constexpr qsizetype kBlock = restructure::kFileBlockSize;

bool shell(const QString &dir, const QString &script)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(u"/bin/sh"_s, {u"-c"_s, script});
    return p.waitForFinished() && p.exitCode() == 0;
}

/// Runs a file function with "key=value" parameters, names relative to `dir`.
RunResult runIn(const QDir &dir, const QString &function, const QStringList &params,
                RunMonitor &monitor)
{
    const FunctionEntry &f = *catalogue().byName(function);
    RunInput input;
    input.params = ParamValues::defaults(f.params());
    for (const QString &p : params) {
        const QString key = p.section(u'=', 0, 0), value = p.mid(p.indexOf(u'=') + 1);
        if (!f.param(key))
            qFatal("%s has no parameter %s", qPrintable(function), qPrintable(key));
        const bool isFile = f.param(key)->kind == ParamKind::FileName && !value.isEmpty();
        input.params.set(key, isFile && !value.startsWith(u'/') ? dir.filePath(value) : value);
    }
    input.runButton = u"run"_s;
    return f.body.run(std::move(input), monitor);
}

RunResult runIn(const QDir &dir, const QString &function, const QStringList &params)
{
    SilentMonitor silent;
    return runIn(dir, function, params, silent);
}

/// The names in a folder: a run leaves no temporary file behind.
QStringList namesIn(const QDir &dir)
{
    return dir.entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

QByteArray records(qsizetype count, qsizetype length)
{
    return QByteArray(length, 'x').append("\r\n").repeated(count);
}

} // namespace

class TestFileFunctions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
    void byteOfText_data();
    void byteOfText();
    void refusals_data();
    void refusals();
    void failures_data();
    void failures();
    void stopKeepsTheBlocksWritten();
    void fifoWithoutWriterReadsEmpty();
};

// Each row runs one function from "in" to "out": the input stays, no other file is left.
void TestFileFunctions::runs_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("params"); // "length=N" breaks up, "find=F;replace=R" replaces
    QTest::addColumn<QByteArray>("expected");
    const auto row = [](const char *name, const QByteArray &in, const QString &params,
                        const QByteArray &out) {
        QTest::newRow(name) << in << params.split(u';') << out;
    };
    row("10 bytes, L 5", "1234567890", u"length=5"_s, "12345\r\n67890\r\n");
    row("CR LF in the input is data", "ab\r\ncd!", u"length=3"_s, "ab\r\r\n\ncd\r\n!");
    row("break up empty input", {}, u"length=5"_s, {});
    row("L 1", "abc", u"length=1"_s, "a\r\nb\r\nc\r\n");
    row("L longer than the file", "abc", u"length=4"_s, "abc");
    row("L 2000000000: no block of that size", "abc", u"length=2000000000"_s, "abc");
    row("L beyond every number", "abc", u"length=99999999999999999999999"_s, "abc");
    row("records across blocks", QByteArray(3 * kBlock, 'x'), u"length=1000"_s,
        records(3 * kBlock / 1000, 1000) + QByteArray(3 * kBlock % 1000, 'x'));
    row("a record longer than a block", QByteArray(2 * kBlock + 5, 'x'),
        u"length="_s + QString::number(kBlock + 7),
        records(1, kBlock + 7) + QByteArray(kBlock - 2, 'x'));
    row("the same byte: an exact copy", "a\tb", u"find={TAB};replace={TAB}"_s, "a\tb");
    row("{CarriageReturn} by {Hex 20}", "a\r\nb\r\n", u"find={CarriageReturn};replace={Hex 20}"_s,
        "a \nb \n");
    row("a byte found nowhere", "abc", u"find={Escape};replace=x"_s, "abc");
    row("replace in empty input", {}, u"find={TAB};replace={Hex 20}"_s, {});
    row("{Hex 00} by a typed blank", QByteArray("a\0b\0", 4), u"find={Hex 00};replace= "_s, "a b ");
    row("{hex ff} by {EndOfFile}", "\xff\x41\xff", u"find={hex ff};replace={EndOfFile}"_s,
        "\x1a\x41\x1a");
    row("typed A by typed é (byte E9)", "ABA", u"find=A;replace=é"_s,
        "\xe9"
        "B\xe9");
    row("many blocks", QByteArray(3 * kBlock + 1, 'A'), u"find=A;replace=B"_s,
        QByteArray(3 * kBlock + 1, 'B'));
}

void TestFileFunctions::runs()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, params);
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QVERIFY(writeFile(dir.filePath(u"in"_s), input));
    const bool breakUp = params.first().startsWith(u"length="_s);
    const RunResult r = runIn(dir, breakUp ? u"Break Up File"_s : u"Replace Byte in File"_s,
                              QStringList{u"input=in"_s, u"output=out"_s} + params);
    QVERIFY2(r.done(), qPrintable(r.message));
    QVERIFY(!r.lines && !r.undoTaken);
    QTEST(readFile(dir.filePath(u"out"_s)), "expected");
    QCOMPARE(readFile(dir.filePath(u"in"_s)), input);
    QCOMPARE(namesIn(dir), (QStringList{u"in"_s, u"out"_s}));
}

void TestFileFunctions::byteOfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("byte"); // -1: refused
    QTest::newRow("{TAB}") << u"{TAB}"_s << 9;
    QTest::newRow("{tab}") << u"{tab}"_s << 9;
    QTest::newRow("{Hex 41}") << u"{Hex 41}"_s << 0x41;
    QTest::newRow("{hex 41}") << u"{hex 41}"_s << 0x41;
    QTest::newRow("one character") << u"{"_s << int('{');
    QTest::newRow("a blank") << u" "_s << 32;
    QTest::newRow("€ is byte 80") << u"€"_s << 0x80;
    QTest::newRow("a character with no byte") << u"ж"_s << -1;
    QTest::newRow("TAB without braces") << u"TAB"_s << -1;
    QTest::newRow("{Hex 4}") << u"{Hex 4}"_s << -1;
    QTest::newRow("{Hex 41} with a blank after") << u"{Hex 41} "_s << -1;
}

void TestFileFunctions::byteOfText()
{
    QFETCH(QString, text);
    const std::optional<unsigned char> byte = common::byteOfText(text);
    QTEST(byte ? int(*byte) : -1, "byte");
}

// Refused runs open nothing: no output is made and the input stays as it was.
void TestFileFunctions::refusals_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<QString>("message");
    const QString breakUp = u"Break Up File"_s, replace = u"Replace Byte in File"_s;
    const QString same = u"Input/Output file names are identical."_s;
    const QStringList bytes{u"find={TAB}"_s, u"replace=x"_s};
    QTest::newRow("identical names")
        << u""_s << breakUp << QStringList{u"input=in"_s, u"output=in"_s, u"length=0"_s} << same;
    QTest::newRow("a symbolic link to the input")
        << u"ln -s in link"_s << replace << QStringList{u"input=in"_s, u"output=link"_s} + bytes
        << same;
    QTest::newRow("a hard link to the input")
        << u"ln in hard"_s << breakUp << QStringList{u"input=hard"_s, u"output=in"_s, u"length=5"_s}
        << same;
    QTest::newRow("no output name") << u""_s << breakUp << QStringList{u"input=in"_s, u"length=5"_s}
                                    << u"Enter Input/Output file names."_s;
    QTest::newRow("no names, find empty")
        << u""_s << replace << QStringList{} << u"Enter Input/Output file names."_s;
    QTest::newRow("record length 0")
        << u""_s << breakUp << QStringList{u"input=in"_s, u"output=out"_s, u"length=0"_s}
        << u"New CR terminated record length can not be 0."_s;
    QTest::newRow("replacement empty")
        << u""_s << replace << QStringList{u"input=in"_s, u"output=out"_s, u"find={TAB}"_s}
        << u"Enter Find/Replace parameters."_s;
    QTest::newRow("find TAB without braces")
        << u""_s << replace
        << QStringList{u"input=in"_s, u"output=out"_s, u"find=TAB"_s, u"replace=x"_s}
        << u"Find: \"TAB\" is no byte of the list.\rChoose an entry, or type one character or "
           u"a name such as {Hex 41}."_s;
    QTest::newRow("replacement with no byte")
        << u""_s << replace
        << QStringList{u"input=in"_s, u"output=out"_s, u"find=a"_s, u"replace=ж"_s}
        << u"Replace with: \"ж\" is no byte of the list.\rChoose an entry, or type one "
           u"character or a name such as {Hex 41}."_s;
}

void TestFileFunctions::refusals()
{
    QFETCH(QString, setup);
    QFETCH(QString, function);
    QFETCH(QStringList, params);
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QVERIFY(writeFile(dir.filePath(u"in"_s), "a\tb"));
    QVERIFY(setup.isEmpty() || shell(dir.path(), setup));
    const QStringList before = namesIn(dir);
    const RunResult r = runIn(dir, function, params);
    QCOMPARE(int(r.outcome), int(RunResult::Outcome::Refused));
    QTEST(r.message, "message");
    QVERIFY(!r.undoTaken && !r.saveHistories);
    QCOMPARE(readFile(dir.filePath(u"in"_s)), "a\tb");
    QCOMPARE(namesIn(dir), before);
}

// A file that cannot be read or written fails the run with the system's reason; an earlier
// output stays as it was and no partial file is left.
void TestFileFunctions::failures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("needsNonRoot"); // the permission bits do not bind root
    QTest::addColumn<QString>("message");
    QTest::newRow("missing input") << u""_s << u"none"_s << u"out"_s << false
                                   << u"Cannot read %1/none: No such file or directory"_s;
    QTest::newRow("unreadable input") << u"chmod 000 in"_s << u"in"_s << u"out"_s << true
                                      << u"Cannot read %1/in: Permission denied"_s;
    // Opened, then failing at its first read: what was begun is dropped.
    QTest::newRow("input failing while read")
        << u""_s << u"/proc/self/mem"_s << u"out"_s << false
        << u"Cannot read /proc/self/mem: Input/output error"_s;
    QTest::newRow("a folder as input")
        << u"mkdir f"_s << u"f"_s << u"out"_s << false << u"Cannot read %1/f: Is a directory"_s;
    QTest::newRow("output folder missing")
        << u""_s << u"in"_s << u"no/out"_s << false
        << u"Cannot write %1/no/out: No such file or directory"_s;
    QTest::newRow("read-only output folder")
        << u"mkdir ro && chmod 555 ro"_s << u"in"_s << u"ro/out"_s << true
        << u"Cannot write %1/ro/out: Permission denied"_s;
    QTest::newRow("read-only output file") << u"chmod 444 out"_s << u"in"_s << u"out"_s << false
                                           << u"Cannot write %1/out: it is read-only"_s;
    QTest::newRow("full disk") << u""_s << u"in"_s << u"/dev/full"_s << false
                               << u"Cannot write /dev/full: No space left on device"_s;
}

void TestFileFunctions::failures()
{
    QFETCH(QString, setup);
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QString, message);
    QFETCH(bool, needsNonRoot);
    if (needsNonRoot && ::geteuid() == 0)
        QSKIP("root reads and writes whatever the permission bits say");
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QVERIFY(writeFile(dir.filePath(u"in"_s), QByteArray(kBlock + 10, 'A')));
    QVERIFY(writeFile(dir.filePath(u"out"_s), "earlier"));
    QVERIFY(setup.isEmpty() || shell(dir.path(), setup));
    const QStringList before = namesIn(dir);
    const QStringList names{u"input="_s + input, u"output="_s + output};
    for (const auto &[function, own] :
         {std::pair{u"Break Up File"_s, QStringList{u"length=5"_s}},
          std::pair{u"Replace Byte in File"_s, QStringList{u"find=A"_s, u"replace=B"_s}}}) {
        const RunResult r = runIn(dir, function, names + own);
        QCOMPARE(int(r.outcome), int(RunResult::Outcome::Failed));
        QCOMPARE(r.message, QString(message).replace(u"%1"_s, dir.path()));
        QVERIFY(!r.undoTaken);
        QCOMPARE(readFile(dir.filePath(u"out"_s)), "earlier");
        QCOMPARE(namesIn(dir), before);
    }
    shell(dir.path(), u"chmod -R u+rwx ."_s);
}

// A stop keeps the blocks written before it, in the output file under its own name.
void TestFileFunctions::stopKeepsTheBlocksWritten()
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QVERIFY(writeFile(dir.filePath(u"in"_s), QByteArray(3 * kBlock, 'A')));
    QVERIFY(writeFile(dir.filePath(u"out"_s), "earlier"));
    testing::StoppedMonitor stopping(2);
    const RunResult r =
        runIn(dir, u"Replace Byte in File"_s,
              {u"input=in"_s, u"output=out"_s, u"find=A"_s, u"replace=B"_s}, stopping);
    QCOMPARE(int(r.outcome), int(RunResult::Outcome::Stopped));
    QVERIFY(!r.undoTaken);
    QCOMPARE(readFile(dir.filePath(u"out"_s)), QByteArray(2 * kBlock, 'B'));
    QCOMPARE(namesIn(dir), (QStringList{u"in"_s, u"out"_s}));
}

// Opening a FIFO would wait for a writer that may never come: the window would hang.
void TestFileFunctions::fifoWithoutWriterReadsEmpty()
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QVERIFY(shell(dir.path(), u"mkfifo in"_s));
    const RunResult r =
        runIn(dir, u"Break Up File"_s, {u"input=in"_s, u"output=out"_s, u"length=5"_s});
    QVERIFY2(r.done(), qPrintable(r.message));
    QCOMPARE(readFile(dir.filePath(u"out"_s)), QByteArray());
}

QTEST_GUILESS_MAIN(TestFileFunctions)
#include "tst_filefunctions.moc"
