#include "linesrun.h"

#include "ops/lines/appendreplace.h"
#include "ops/lines/dataperdata.h"
#include "ops/lines/matcher.h"

using namespace Qt::StringLiterals;
using namespace plintex;
using plintex::testing::runOn;

namespace {

const QString kExample = u"Line1 999 333\nLine2 222 999\nLine3 333 333\n"_s;
const QString kRestraint = u"!Row restraint To position must\rbe greater than From position."_s;

} // namespace

/// The functions that find rows or places in rows by a search text.
class TestPerData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchTexts_data();
    void searchTexts();
    void runs_data();
    void runs();
    void cutAtData_data();
    void cutAtData();
    void insertAtData_data();
    void insertAtData();
    void offset_data();
    void offset();
    void retainKeepsEveryRowWhole();
};

void TestPerData::searchTexts_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("row");
    QTest::addColumn<bool>("found");
    QTest::newRow("one text") << QStringList{u"bbb"_s} << u"3333bbb33"_s << true;
    QTest::newRow("case differs") << QStringList{u"bbb"_s} << u"3333BBB33"_s << false;
    QTest::newRow("no texts") << QStringList{} << u"abc"_s << false;
    QTest::newRow("only empty lines") << QStringList{u""_s, u""_s} << u"abc"_s << false;
    QTest::newRow("trailing blank is part of the text")
        << QStringList{u"ab "_s} << u"xab"_s << false;
    QTest::newRow("second of several")
        << QStringList{u"zz"_s, u"q"_s, u"bc"_s} << u"abcd"_s << true;
    QTest::newRow("one-character text at the end")
        << QStringList{u"zz"_s, u"d"_s} << u"abcd"_s << true;
    QTest::newRow("several texts, first two characters shared, none whole")
        << QStringList{u"PAID1"_s, u"PAID2"_s, u"PAx"_s} << u"PAID3 PAI"_s << false;
    QTest::newRow("several texts, text at the very end")
        << QStringList{u"PAID1"_s, u"PAID2"_s} << u"xx PAID2"_s << true;
    QTest::newRow("several texts, characters outside Latin-1")
        << QStringList{u"\u20AC1"_s, u"\u2192"_s} << u"a\u20AC1"_s << true;
}

void TestPerData::searchTexts()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, row);
    QFETCH(bool, found);
    QCOMPARE(lines::SearchTexts(texts).foundIn(row), found);
}

void TestPerData::runs_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<QString>("expected");
    const QString ins = u"Insert Lines Per Data"_s;
    const QString del = u"Delete Lines Per Data"_s;
    const QString cut = u"Delete/Retain Line Data"_s;
    const QString put = u"Insert Data Per Data"_s;
    const QString app = u"Append Data"_s;
    const QString rep = u"Replace Line per Data"_s;
    auto &row = QTest::newRow;
    const QString seven = u"1\n2\n3bbb\n4\n5bbb\n6\n7\n"_s;
    const QString wide(lines::kMaxSeparator, u' ');

    row("insert after: BBB does not match bbb")
        << ins << u"abbb\nBBB\n"_s << QStringList{u"data=NEW"_s, u"search=bbb"_s} << 0LL << 0LL
        << u"abbb\nNEW\nBBB\n"_s;
    row("insert before, two texts in one row: one block")
        << ins << u"a\nxy\n"_s << QStringList{u"data=N1\nN2"_s, u"search=x\ny"_s, u"where=before"_s}
        << 0LL << 0LL << u"a\nN1\nN2\nxy\n"_s;
    row("insert, empty block: an empty row")
        << ins << u"a\nb\n"_s << QStringList{u"search=a"_s} << 0LL << 0LL << u"a\n\nb\n"_s;
    row("insert, empty search field: unchanged, one row is enough")
        << ins << u"a\n"_s << QStringList{u"data=x"_s} << 0LL << 0LL << u"a\n"_s;

    row("delete same: rows 3 and 5")
        << del << seven << QStringList{u"search=bbb"_s} << 0LL << 0LL << u"1\n2\n4\n6\n7\n"_s;
    row("delete before, first row matching marks nothing")
        << del << u"bbb\n2\n3bbb\n"_s << QStringList{u"search=bbb"_s, u"which=before"_s} << 0LL
        << 0LL << u"bbb\n3bbb\n"_s;
    row("delete after, two matches in a row, last row matching marks nothing")
        << del << u"1\nk\nk\n4\nk\n"_s << QStringList{u"search=k"_s, u"which=after"_s} << 0LL << 0LL
        << u"1\nk\nk\n"_s;
    row("retain same: only matching rows")
        << del << seven << QStringList{u"search=bbb"_s, u"mode=retain"_s} << 0LL << 0LL
        << u"3bbb\n5bbb\n"_s;
    row("delete: a row starting with the old marker is not marked")
        << del << u"$$del$$x\nbbb\ny\n"_s << QStringList{u"search=bbb"_s} << 0LL << 0LL
        << u"$$del$$x\ny\n"_s;
    row("retain: a row starting with the old marker is kept whole only when it matches")
        << del << u"$$del$$x\nbbb\n$$del$$bbb\n"_s << QStringList{u"search=bbb"_s, u"mode=retain"_s}
        << 0LL << 0LL << u"bbb\n$$del$$bbb\n"_s;
    row("delete after, a text inside the old marker does not cascade")
        << del << u"del\n2\n3\n4\n"_s << QStringList{u"search=del"_s, u"which=after"_s} << 0LL
        << 0LL << u"del\n3\n4\n"_s;
    row("delete, empty search field: unchanged")
        << del << seven << QStringList{} << 0LL << 0LL << seven;

    row("cut: delete before 999") << cut << kExample << QStringList{u"search=999"_s} << 0LL << 0LL
                                  << u"999 333\n999\nLine3 333 333\n"_s;
    row("cut: retain after 999, offset 1, band 1 to 2")
        << cut << kExample + u"999 x\n"_s
        << QStringList{u"search=999"_s, u"mode=retain"_s, u"side=after"_s, u"offset=1"_s} << 1LL
        << 2LL << u"333\n\nLine3 333 333\n999 x\n"_s;
    row("cut: offset not a number refused after the band")
        << cut << kExample << QStringList{u"search=999"_s, u"offset=-"_s} << 0LL << 0LL
        << u"!+/- offset must be a whole number,\rsuch as -2, 0 or 5."_s;
    row("cut: one row refused by the band first")
        << cut << u"x\n"_s << QStringList{u"offset=x"_s} << 0LL << 0LL << kRestraint;
    row("cut: empty search changes nothing")
        << cut << kExample << QStringList{} << 0LL << 0LL << kExample;

    row("put: XXX before the first 999 only")
        << put << u"999 999\nab\n"_s << QStringList{u"data=XXX"_s, u"search=999"_s} << 0LL << 0LL
        << u"XXX999 999\nab\n"_s;
    row("put: offset with blanks refused")
        << put << kExample << QStringList{u"data=X"_s, u"search=9"_s, u"offset= 1"_s} << 0LL << 0LL
        << u"!+/- offset must be a whole number,\rsuch as -2, 0 or 5."_s;

    row("append, ticked: only rows with dataB, 2 blanks")
        << app << u"Line1 dataA\nLine2 dataB\n"_s
        << QStringList{u"append=app"_s, u"containing=1"_s, u"search=dataB"_s, u"blanks=2"_s} << 0LL
        << 0LL << u"Line1 dataA\nLine2 dataB  app\n"_s;
    row("append, unticked, 0 blanks: every row, empty ones too")
        << app << u"a\n\nb\n"_s << QStringList{u"append=T"_s, u"blanks=0"_s, u"search=zz"_s} << 0LL
        << 0LL << u"aT\nT\nbT\n"_s;
    row("append, 500 blanks: exactly 500")
        << app << u"a\nb\n"_s << QStringList{u"append=T"_s, u"blanks=500"_s} << 0LL << 0LL
        << u"a"_s + QString(500, u' ') + u"T\nb"_s + QString(500, u' ') + u"T\n"_s;
    row("append, 99999 blanks: held at the separator's bound")
        << app << u"a\nb\n"_s << QStringList{u"blanks=99999"_s} << 0LL << 0LL
        << u"a"_s + wide + u"\nb"_s + wide + u"\n"_s;
    row("append, ticked, empty search: nothing")
        << app << u"a\nb\n"_s << QStringList{u"append=T"_s, u"containing=1"_s} << 0LL << 0LL
        << u"a\nb\n"_s;
    row("append: single-row band refused")
        << app << u"a\nb\n"_s << QStringList{} << 2LL << 2LL << kRestraint;

    row("replace: band 1 to 2, empty line")
        << rep << u"999\nx999\n999\n"_s << QStringList{u"search=999"_s} << 1LL << 2LL
        << u"\n\n999\n"_s;
    row("replace: 999 by new line")
        << rep << kExample << QStringList{u"search=999"_s, u"with=new line"_s} << 0LL << 0LL
        << u"new line\nnew line\nLine3 333 333\n"_s;
}

void TestPerData::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    QFETCH(QString, expected);
    QCOMPARE(runOn(function, text, params, from, to), expected);
}

void TestPerData::cutAtData_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<bool>("retain");
    QTest::addColumn<bool>("after");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<QString>("result");
    const QString l1 = u"Line1 999 333"_s;
    QTest::newRow("delete after") << l1 << false << true << 0LL << u"Line1 999"_s;
    QTest::newRow("retain before, -1 takes the blank") << l1 << true << false << -1LL << u"Line1"_s;
    QTest::newRow("retain after, +1") << l1 << true << true << 1LL << u"333"_s;
    QTest::newRow("delete before, -3") << l1 << false << false << -3LL << u"e1 999 333"_s;
    QTest::newRow("retain before at position 1: empty")
        << u"999 x"_s << true << false << 0LL << QString();
    QTest::newRow("retain before at position 1, -1: whole")
        << u"999 x"_s << true << false << -1LL << u"999 x"_s;
    QTest::newRow("delete after, offset past the end: whole") << l1 << false << true << 50LL << l1;
    QTest::newRow("delete before, offset before the start: whole")
        << l1 << false << false << -50LL << l1;
    QTest::newRow("retain after, offset past the end: empty")
        << l1 << true << true << 99LL << QString();
    QTest::newRow("delete after on a long row cuts to its end")
        << u"a999"_s + QString(20000, u'x') << false << true << 0LL << u"a999"_s;
}

void TestPerData::cutAtData()
{
    QFETCH(QString, row);
    QFETCH(bool, retain);
    QFETCH(bool, after);
    QFETCH(qint64, offset);
    QFETCH(QString, result);
    QVERIFY(lines::cutAtData(row, u"999", after ? lines::Side::After : lines::Side::Before, retain,
                             offset));
    QCOMPARE(row, result);
}

void TestPerData::insertAtData_data()
{
    QTest::addColumn<bool>("after");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<QString>("result");
    QTest::newRow("before") << false << 0LL << u"Line2 222 XXX999"_s;
    QTest::newRow("after") << true << 0LL << u"Line2 222 999XXX"_s;
    QTest::newRow("after, large offset: at the end") << true << 1000LL << u"Line2 222 999XXX"_s;
    QTest::newRow("before, -2") << false << -2LL << u"Line2 22XXX2 999"_s;
    QTest::newRow("before, far negative: at the front")
        << false << -1000LL << u"XXXLine2 222 999"_s;
    QTest::newRow("before, offset at its bound")
        << false << -(qint64(1) << 50) << u"XXXLine2 222 999"_s;
}

void TestPerData::insertAtData()
{
    QFETCH(bool, after);
    QFETCH(qint64, offset);
    QFETCH(QString, result);
    QString row = u"Line2 222 999"_s;
    QVERIFY(lines::insertAtData(row, u"XXX", u"999",
                                after ? lines::Side::After : lines::Side::Before, offset));
    QCOMPARE(row, result);
}

void TestPerData::offset_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value"); // -1: refused
    QTest::newRow("empty reads 0") << QString() << 0LL;
    QTest::newRow("negative") << u"-12"_s << -12LL;
    QTest::newRow("huge is held at a bound") << u"99999999999999999999999"_s << (qint64(1) << 50);
    QTest::newRow("lone minus") << u"-"_s << -1LL;
    QTest::newRow("plus sign") << u"+3"_s << -1LL;
    QTest::newRow("minus inside") << u"3-"_s << -1LL;
}

void TestPerData::offset()
{
    QFETCH(QString, text);
    QFETCH(qint64, value);
    const std::optional<qint64> parsed = lines::parseOffset(text);
    QCOMPARE(parsed.value_or(-1), value);
}

// The whole of a long matching row survives "Retain", "Same" (once cut to 3000 characters).
void TestPerData::retainKeepsEveryRowWhole()
{
    const QString longRow = u"bbb"_s + QString(3010, u'x');
    QCOMPARE(
        runOn(u"Delete Lines Per Data"_s, u"a\n"_s + longRow, {u"search=bbb"_s, u"mode=retain"_s}),
        longRow + u'\n');
    RunResult r;
    runOn(u"Delete Lines Per Data"_s, u"a\n"_s, {u"mode=retain"_s}, 0, 0, &r);
    QCOMPARE(r.caret.kind, CaretPlacement::Kind::End);
}

QTEST_GUILESS_MAIN(TestPerData)
#include "tst_perdata.moc"
