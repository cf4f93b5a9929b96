#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include "ui/controls/piegauge.h"
#include "ui/panel/paramcontrol.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>

using namespace Qt::StringLiterals;
using namespace plintex;

/// The functions in the window: each one's button pressed, its panel filled, its run button
/// pressed once on a small text.
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
    void fileFunctions_data();
    void fileFunctions();
    void fileNameFieldsTakeOnlyBrowsedNames();

private:
    testing::WindowFixture w;
};

void TestFunctions::runs_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("params"); // the panel's, "band=F..T", "caret=R..C", "button="
    QTest::addColumn<QString>("expected");   // "!" and the warning for a refusal
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
    row("Vertical Concatenation", u"a\nb\nc\n"_s, {u"lower=2"_s, u"separator=1"_s},
        u"a b\n---concat---\nb c\nc \n"_s);
    row("Horizontal Concatenation", u"a\nbb\nc\n"_s,
        {u"rows=3"_s, u"symmetrical=1"_s, u"right=1"_s}, u" abb c\n"_s);
    row("Insert Incrementing Numbers", u"ab\ncd\nef\n"_s,
        {u"column=2"_s, u"replace=1"_s, u"length=1"_s, u"step=2"_s}, u"a1\ncd\ne2\n"_s);
    row("Insert Incrementing Letters", u"1\n2\n3\n"_s, {u"capitals=1"_s, u"band=2..3"_s},
        u"1\nA2\nB3\n"_s);
    row("Insert CR", u"ab cd\n"_s, {u"caret=1..4"_s}, u"ab \ncd\n"_s);
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
    QTEST(w.dialogs.warnings.isEmpty() ? w.text() : u'!' + w.dialogs.warnings.join(u'|'),
          "expected");
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

QTEST_MAIN(TestFunctions)
#include "tst_functions.moc"
