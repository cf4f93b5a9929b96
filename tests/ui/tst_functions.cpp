#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include "cli/streamrun.h"
#include "ui/controls/piegauge.h"
#include "ui/documentactions.h"
#include "ui/panel/paramcontrol.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;
using namespace plintex;

/// The functions in the window: each one's button pressed, its panel filled, its run button
/// pressed once on a small text; and a run then Save gives, line ends included, the bytes
/// plintex-cli writes.
class TestFunctions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(w.prepareHome()); }
    void init() { QVERIFY(w.open()); }
    void cleanup() { QVERIFY(w.close()); }

    void runs_data();
    void runs();
    void totalShowsInItsFieldAndHistory();
    void addRowKeepsItsBlockOnReselect();
    void appendDataUnlocksItsSearchField();
    void replicateTakesAnUndoSnapshot();
    void replaceLengthIsClearedOnSelect();
    void fileFunctions_data();
    void fileFunctions();
    void fileNameFieldsTakeOnlyBrowsedNames();
    void windowSavesWhatTheCommandLineWrites_data();
    void windowSavesWhatTheCommandLineWrites();

private:
    testing::WindowFixture w;
};

void TestFunctions::runs_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("params"); // the panel's, "band=F..T", "caret=R..C", "button="
    QTest::addColumn<QString>("expected");   // a refusal: "!" and its box, or "~" and its note
    const auto row = [](const char *function, const QString &text, const QStringList &params,
                        const QString &expected) {
        QTest::newRow(function) << QString::fromUtf8(function) << text << params << expected;
    };
    row("Insert a Column", u"Line1 333\nLine2 999\n"_s,
        {u"block=9 \n22 \n3"_s, u"column=7"_s, u"symmetrical=1"_s},
        u"Line1 9  333\nLine2 22 999\n3  \n"_s);
    row("Copy/Move a Column", u"Line1 999 333\nLine2 222 999\n"_s,
        {u"start=10"_s, u"end=14"_s, u"to=6"_s}, u"Line1 333 999 333\nLine2 999 222 999\n"_s);
    row("Replace in Column", u"Line1 999 111\nLine4 999 999\n"_s,
        {u"search=999"_s, u"replacement=000"_s, u"start=7"_s, u"end=10"_s},
        u"Line1 000 111\nLine4 000 999\n"_s);
    row("Align Data into Columns", u"  a   bbb \ncc d\n"_s, {u"right=1"_s},
        u"  a bbb\n cc   d\n"_s);
    row("Delete/Strip Out Data", u"a<B\nc>d<e>f\n"_s, {u"start=<"_s, u"end=>"_s, u"lineByLine=1"_s},
        u"adf\n"_s);
    row("Add Row", u"1\n2\n3\n4\n5"_s, {u"data=--\n=="_s, u"every=2"_s},
        u"1\n2\n--\n==\n3\n4\n--\n==\n5\n"_s);
    row("Delete Row", u"1\n2\n3\n"_s, {u"every=1"_s}, u"!0 or 1 increment is invalid."_s);
    row("Remove Blank Lines", u"a\n \n\t\n\nb\n"_s, {}, u"a\n\t\nb\n"_s);
    row("Delete Leading/Trailing Blanks", u"a \nb \nc \nd \n"_s,
        {u"band=2..3"_s, u"button=trailing"_s}, u"a \nb\nc\nd \n"_s);
    row("Insert Lines Per Data", u"ab\ncd\nef\n"_s, {u"data=>>"_s, u"search=a\n\nf"_s},
        u"ab\n>>\ncd\nef\n>>\n"_s);
    row("Delete Lines Per Data", u"$$del$$1\n2bbb\n3\n"_s,
        {u"mode=retain"_s, u"which=after"_s, u"search=bbb"_s}, u"3\n"_s);
    row("Retain/Delete Line Data", u"Line1 999 333\nLine2 222 999\n"_s,
        {u"search=999"_s, u"offset=-1"_s, u"mode=retain"_s}, u"Line1\nLine2 222\n"_s);
    row("Insert Data Per Data", u"Line1 999 333\nLine3 333 333\n"_s,
        {u"data=XXX"_s, u"search=999"_s, u"side=after"_s}, u"Line1 999XXX 333\nLine3 333 333\n"_s);
    row("Append Data", u"Line1 dataA\nLine2 dataB\n"_s,
        {u"containing=1"_s, u"append=append this"_s, u"search=dataB"_s, u"blanks=2"_s},
        u"Line1 dataA\nLine2 dataB  append this\n"_s);
    row("Replace Line per Data", u"a 999\nb\nc 999\n"_s,
        {u"band=1..2"_s, u"search=999"_s, u"with=new line"_s}, u"new line\nb\nc 999\n"_s);
    row("Sort Ascending/Descending", u"b\nA\n \nc\n"_s, {u"button=descending"_s}, u"c\nb\nA\n"_s);
    row("Shuffle Data", u"1\n2\n"_s, {}, u"~Begin row count must be greater than one."_s);
    row("Replicate Data", u"a\nb"_s, {u"copies=2"_s}, u"a\nb\na\nb\n"_s);
    row("Vertical Concatenation", u"a\nb\nc\n"_s, {u"lower=2"_s, u"separator=1"_s},
        u"a b\n---concat---\nb c\nc \n"_s);
    row("Horizontal Concatenation", u"a\nbb\nc\n"_s,
        {u"rows=3"_s, u"symmetrical=1"_s, u"right=1"_s}, u" abb c\n"_s);
    row("Insert Incrementing Numbers", u"ab\ncd\nef\n"_s,
        {u"column=2"_s, u"replace=1"_s, u"length=1"_s, u"step=2"_s}, u"a1\ncd\ne2\n"_s);
    row("Insert Incrementing Letters", u"1\n2\n3\n"_s, {u"capitals=1"_s, u"band=2..3"_s},
        u"1\nA2\nB3\n"_s);
    row("Insert CR", u"ab cd\n"_s, {u"caret=1..4"_s}, u"ab \ncd\n"_s);
    row("Mark Duplicate Lines", u"a  b\na b\nc\n"_s, {u"ignoreBlanks=1"_s, u"button=mark"_s},
        u"1-->a b\n1-->a b\nc\n"_s);
    row("Replace Data with Data List", u"L1 222\nL2 222\nL3 222\n"_s,
        {u"search=222"_s, u"list=v\nw"_s}, u"L1 v\nL2 w\nL3 222\n"_s);
    row("Special Routines", u"one. two  three\n"_s, {u"button=capitalise"_s, u"each=sentence"_s},
        u"one. Two  Three\n"_s);
    row("Html Realign", u"abc\n x\n"_s, {}, u"!Data has been overlayed!"_s);
}

void TestFunctions::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    const FunctionEntry &f = w.select(function);
    w.setText(text);
    QString button = u"run"_s;
    for (const QString &p : params) {
        const QString key = p.section(u'=', 0, 0), value = p.mid(p.indexOf(u'=') + 1);
        const QStringList band = value.split(QStringLiteral(".."));
        if (key == u"band")
            w.band(band.front().toLongLong(), band.back().toLongLong());
        else if (key == u"caret")
            w.window->workArea()->setCaret(
                {band.front().toLongLong() - 1, band.back().toLongLong() - 1});
        else if (key == u"button")
            button = value;
        else
            w.set(f, key, value);
    }
    w.run(f, button);
    QString got = w.text();
    if (!w.dialogs.warnings.isEmpty())
        got = u'!' + w.dialogs.warnings.join(u'|');
    if (!w.dialogs.inPlace.isEmpty()) // said beside the pointer, which stays
        got = u'~' + w.dialogs.inPlace.join(u'|');
    QTEST(got, "expected");
}

void TestFunctions::totalShowsInItsFieldAndHistory()
{
    const QString text = u"a  (1,000.50)\nb      <0.25>\nc         30\n"_s;
    w.setText(text);
    const FunctionEntry &f = w.select(u"Total a Specified Column");
    w.set(f, u"start"_s, u"3"_s);
    w.set(f, u"end"_s, u"14"_s);
    w.run(f);
    QCOMPARE(w.value(f, u"total"_s), u"-970.75"_s);
    QFile history(w.home.filePath(u"system/combo14.plx"_s));
    QVERIFY(history.open(QIODevice::ReadOnly));
    QCOMPARE(history.readAll(), "-970.75\r\n");
    QCOMPARE(w.text(), text);
}

void TestFunctions::addRowKeepsItsBlockOnReselect()
{
    const FunctionEntry &f = w.select(u"Add Row");
    w.set(f, u"data"_s, u"--\n=="_s);
    w.set(f, u"every"_s, u"2"_s);
    w.select(u"Add Row"); // raised
    w.select(u"Add Row");
    QCOMPARE(w.value(f, u"data"_s), u"--\n=="_s);
    QCOMPARE(w.value(f, u"every"_s), u"1"_s);
}

void TestFunctions::appendDataUnlocksItsSearchField()
{
    const FunctionEntry &f = w.select(u"Append Data");
    QWidget *search = w.panel(f).control(u"search"_s);
    QVERIFY(!search->isEnabled());
    w.set(f, u"containing"_s, u"1"_s);
    QVERIFY(search->isEnabled());
}

// Undo after a replication brings back the text as it stood, hand edits included.
void TestFunctions::replicateTakesAnUndoSnapshot()
{
    w.setText(u"b\na\n"_s);
    w.run(w.select(u"Sort Ascending/Descending"), u"ascending"_s);
    w.setText(u"edited\n"_s);
    const FunctionEntry &f = w.select(u"Replicate Data");
    w.set(f, u"copies"_s, u"3"_s);
    w.run(f);
    QCOMPARE(w.text(), u"edited\nedited\nedited\n"_s);
    w.window->undo();
    QCOMPARE(w.text(), u"edited\n"_s);
}

void TestFunctions::replaceLengthIsClearedOnSelect()
{
    const FunctionEntry &f = w.select(u"Insert Incrementing Numbers");
    QWidget *length = w.panel(f).control(u"length"_s);
    QCOMPARE(length->accessibleName(), u"Replace (length):"_s);
    QVERIFY(!length->isEnabled());
    w.set(f, u"replace"_s, u"1"_s);
    w.set(f, u"length"_s, u"3"_s);
    w.set(f, u"symmetrical"_s, u"1"_s);
    QVERIFY(length->isEnabled());
    w.select(u"Insert Incrementing Numbers"); // raised
    w.select(u"Insert Incrementing Numbers");
    QVERIFY(!length->isEnabled());
    QCOMPARE(w.value(f, u"length"_s), u"0"_s);
    QCOMPARE(w.value(f, u"symmetrical"_s), u"1"_s);
}

namespace {

void browse(testing::WindowFixture &w, const FunctionEntry &f, const QString &key)
{
    QTest::mouseClick(
        qobject_cast<QAbstractButton *>(w.panel(f).paramControl(key)->widgets().back()),
        Qt::LeftButton);
}

} // namespace

// The file functions stream a browsed file into another and leave the work area alone.
void TestFunctions::fileFunctions_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Break Up File") << u"Break Up File"_s << "1234567890"_ba
                                   << QStringList{u"length=5"_s} << "12345\r\n67890\r\n"_ba;
    QTest::newRow("Replace Byte in File")
        << u"Replace Byte in File"_s << "a\tb"_ba
        << QStringList{u"find={TAB}"_s, u"replace={Hex 20}"_s} << "a b"_ba;
}

void TestFunctions::fileFunctions()
{
    QFETCH(QString, function);
    QFETCH(QStringList, params);
    QFETCH(QByteArray, input);
    QTemporaryDir dir;
    QVERIFY(testing::writeFile(dir.filePath(u"in"_s), input));
    w.setText(u"work area\n"_s);
    const FunctionEntry &f = w.select(function);
    w.dialogs.files = {{dir.filePath(u"in"_s), 0}, {dir.filePath(u"out"_s), 0}};
    browse(w, f, u"input"_s);
    browse(w, f, u"output"_s);
    for (const QString &p : params)
        w.set(f, p.section(u'=', 0, 0), p.section(u'=', 1));
    w.run(f);
    QCOMPARE(w.dialogs.warnings, QStringList());
    QTEST(testing::readFile(dir.filePath(u"out"_s)), "expected");
    QCOMPARE(w.text(), u"work area\n"_s);
    QVERIFY(w.panel(f).barGauge()->isHidden());
}

void TestFunctions::fileNameFieldsTakeOnlyBrowsedNames()
{
    const FunctionEntry &f = w.select(u"Replace Byte in File");
    auto *byteList = qobject_cast<QComboBox *>(w.panel(f).control(u"find"_s));
    QCOMPARE(byteList->count(), 264);
    QCOMPARE(byteList->itemText(8 + 0xAB), u"{Hex AB}"_s);
    QVERIFY(byteList->isEditable());
    auto *input = qobject_cast<QLineEdit *>(w.panel(f).control(u"input"_s));
    w.set(f, u"input"_s, u"/etc/hostname"_s);
    QTest::keyClicks(input, u"abc"_s);
    QCOMPARE(input->text(), u"/etc/hostname"_s);
    w.dialogs.files = {{QString(), 0}}; // cancelled
    browse(w, f, u"input"_s);
    QCOMPARE(input->text(), QString());

    // A file that cannot be written: the system's reason in a box.
    QTemporaryDir dir;
    QVERIFY(testing::writeFile(dir.filePath(u"in"_s), "a"));
    w.set(f, u"input"_s, dir.filePath(u"in"_s));
    w.set(f, u"output"_s, u"/dev/full"_s);
    w.set(f, u"find"_s, u"a"_s);
    w.set(f, u"replace"_s, u"{hex 41}"_s);
    w.run(f);
    QCOMPARE(w.dialogs.warnings, QStringList{u"Cannot write /dev/full: No space left on device"_s});
}

void TestFunctions::windowSavesWhatTheCommandLineWrites_data()
{
    QTest::addColumn<QString>("function");
    for (const FunctionEntry &f : catalogue()) {
        if (f.body.rowPass)
            QTest::newRow(qPrintable(f.slug())) << f.name;
    }
}

// Rows drawn from the function's example, so that its search texts match, ending at random in
// LF, CR LF or CR: a kept row keeps its own break, a row of the run's own gets the text's first.
void TestFunctions::windowSavesWhatTheCommandLineWrites()
{
    QFETCH(QString, function);
    const FunctionEntry &f = *catalogue().byName(function);
    const QStringList pool = f.body.example.before.split(u"\r\n"_s) + QStringList{QString()};
    ParamValues params = ParamValues::defaults(f.params());
    for (const auto &[key, value] : f.body.example.params)
        params.set(key, value);
    QRandomGenerator rng(quint32(qHash(function)));
    for (int round = 0; round < 12; ++round) {
        QByteArray text;
        const int rows = 2 + rng.bounded(10);
        for (int i = 0; i < rows; ++i) {
            text += pool[rng.bounded(int(pool.size()))].toUtf8();
            if (i < rows - 1 || rng.bounded(2))
                text += std::array{"\n", "\r\n", "\r"}[rng.bounded(3)];
        }
        const QString in = w.home.filePath(u"%1-in%2.txt"_s.arg(f.slug()).arg(round));
        const QString out = w.home.filePath(u"%1-out%2.txt"_s.arg(f.slug()).arg(round));
        QVERIFY(testing::writeFile(in, text));

        cli::FileSource source;
        QVERIFY(source.open(in));
        QByteArray written;
        const cli::StreamResult cli =
            cli::streamPass(source, f.body.rowPass, {params, f.body.example.runButton, {}},
                            [&](QByteArrayView bytes) { return written += bytes, true; });

        QVERIFY(w.window->documents()->openPath(in));
        w.select(f.name);
        for (const auto &[key, value] : f.body.example.params)
            w.set(f, key, value);
        w.run(f, f.body.example.runButton);
        if (cli.outcome == cli::StreamResult::Outcome::Refused) {
            QCOMPARE(w.dialogs.warnings.join(u'|'), cli.message);
            w.dialogs.warnings.clear();
            continue;
        }
        QVERIFY2(w.dialogs.warnings.isEmpty(), qPrintable(w.dialogs.warnings.join(u'|')));
        if (!cli.report.isEmpty())
            continue; // the command line prints a total instead of the text
        w.dialogs.files.push_back({out, 1});
        QVERIFY(w.window->documents()->save());
        QVERIFY2(testing::readFile(out) == written,
                 qPrintable(u"%1\nwindow: %2\ncli:    %3"_s.arg(
                     QString::fromUtf8(text.toPercentEncoding()),
                     QString::fromUtf8(testing::readFile(out).toPercentEncoding()),
                     QString::fromUtf8(written.toPercentEncoding()))));
        // Undo puts the breaks back with the rows.
        if (text.endsWith('\n') || text.endsWith('\r')) {
            w.window->undo();
            const QString undone = w.home.filePath(u"%1-undone%2.txt"_s.arg(f.slug()).arg(round));
            w.dialogs.files.push_back({undone, 1});
            QVERIFY(w.window->documents()->save());
            QCOMPARE(testing::readFile(undone), text);
        }
    }
}

QTEST_MAIN(TestFunctions)
#include "tst_functions.moc"
