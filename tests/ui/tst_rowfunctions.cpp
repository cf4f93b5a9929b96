#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include "ui/controls/historycombobox.h"

using namespace Qt::StringLiterals;
using namespace plintex;

/// The row functions in the window: each button pressed once on a small text.
class TestRowFunctions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(fx.prepareHome()); }
    void init() { QVERIFY(fx.open()); }
    void cleanup() { QVERIFY(fx.close()); }

    void addRowKeepsItsBlockOnReselect();
    void deleteRowResetsTheInterval();
    void removeBlankLines();
    void trailingBlanksInTheBand();
    void insertLinesPerDataTakesSeveralTexts();
    void deleteLinesPerDataRetains();
    void deleteRetainLineDataRefusesABadOffset();
    void insertDataPerData();
    void appendDataUnlocksItsSearchField();
    void replaceLinePerDataSavesHistories();

private:
    testing::WindowFixture fx;
};

void TestRowFunctions::addRowKeepsItsBlockOnReselect()
{
    const FunctionSpec &f = fx.select(u"Add Row");
    fx.setText(u"1\n2\n3\n4\n5"_s);
    fx.set(f, u"data"_s, u"--\n=="_s);
    fx.set(f, u"every"_s, u"2"_s);
    fx.run(f);
    QCOMPARE(fx.text(), u"1\n2\n--\n==\n3\n4\n--\n==\n5\n"_s);
    fx.select(u"Add Row"); // raised
    fx.select(u"Add Row");
    QCOMPARE(fx.value(f, u"data"_s), u"--\n=="_s);
    QCOMPARE(fx.value(f, u"every"_s), u"1"_s);
}

void TestRowFunctions::deleteRowResetsTheInterval()
{
    const FunctionSpec &f = fx.select(u"Delete Row");
    fx.setText(u"1\n2\n3\n"_s);
    fx.set(f, u"every"_s, u"1"_s);
    fx.run(f);
    QCOMPARE(fx.dialogs.warnings, QStringList{u"0 or 1 increment is invalid."_s});
    QCOMPARE(fx.value(f, u"every"_s), u"2"_s);
    QCOMPARE(fx.text(), u"1\n2\n3\n"_s);
}

void TestRowFunctions::removeBlankLines()
{
    const FunctionSpec &f = fx.select(u"Remove Blank Lines");
    fx.setText(u"a\n \n\t\n\nb\n"_s);
    fx.run(f);
    QCOMPARE(fx.text(), u"a\n\t\nb\n"_s);
}

void TestRowFunctions::trailingBlanksInTheBand()
{
    const FunctionSpec &f = fx.select(u"Delete Leading/Trailing Blanks");
    fx.setText(u"a \nb \nc \nd \n"_s);
    fx.band(2, 3);
    fx.run(f, u"trailing"_s);
    QCOMPARE(fx.text(), u"a \nb\nc\nd \n"_s);
}

void TestRowFunctions::insertLinesPerDataTakesSeveralTexts()
{
    const FunctionSpec &f = fx.select(u"Insert Lines Per Data");
    fx.setText(u"ab\ncd\nef\n"_s);
    fx.set(f, u"data"_s, u">>"_s);
    fx.set(f, u"search"_s, u"a\n\nf"_s);
    fx.run(f);
    QCOMPARE(fx.text(), u"ab\n>>\ncd\nef\n>>\n"_s);
}

void TestRowFunctions::deleteLinesPerDataRetains()
{
    const FunctionSpec &f = fx.select(u"Delete Lines Per Data");
    fx.setText(u"$$del$$1\n2bbb\n3\n"_s);
    fx.set(f, u"mode"_s, u"retain"_s);
    fx.set(f, u"which"_s, u"after"_s);
    fx.set(f, u"search"_s, u"bbb"_s);
    fx.run(f);
    QCOMPARE(fx.text(), u"3\n"_s);
}

void TestRowFunctions::deleteRetainLineDataRefusesABadOffset()
{
    const FunctionSpec &f = fx.select(u"Retain/Delete Line Data");
    QCOMPARE(f.name, u"Delete/Retain Line Data"_s);
    fx.setText(u"Line1 999 333\nLine2 222 999\n"_s);
    fx.set(f, u"search"_s, u"999"_s);
    fx.set(f, u"offset"_s, u"-"_s);
    fx.run(f);
    QCOMPARE(fx.dialogs.warnings,
             QStringList{u"+/- offset must be a whole number,\rsuch as -2, 0 or 5."_s});
    QCOMPARE(fx.panel(f).historyBoxes().front()->entries(), QStringList());
    fx.set(f, u"offset"_s, u"-1"_s);
    fx.set(f, u"mode"_s, u"retain"_s);
    fx.run(f);
    QCOMPARE(fx.text(), u"Line1\nLine2 222\n"_s);
    QCOMPARE(fx.panel(f).historyBoxes().front()->entries(), QStringList{u"999"_s});
}

void TestRowFunctions::insertDataPerData()
{
    const FunctionSpec &f = fx.select(u"Insert Data Per Data");
    fx.setText(u"Line1 999 333\nLine3 333 333\n"_s);
    fx.set(f, u"data"_s, u"XXX"_s);
    fx.set(f, u"search"_s, u"999"_s);
    fx.set(f, u"side"_s, u"after"_s);
    fx.run(f);
    QCOMPARE(fx.text(), u"Line1 999XXX 333\nLine3 333 333\n"_s);
}

void TestRowFunctions::appendDataUnlocksItsSearchField()
{
    const FunctionSpec &f = fx.select(u"Append Data");
    QWidget *search = fx.panel(f).control(u"search"_s);
    QVERIFY(!search->isEnabled());
    fx.set(f, u"containing"_s, u"1"_s);
    QVERIFY(search->isEnabled());
    fx.setText(u"Line1 dataA\nLine2 dataB\n"_s);
    fx.set(f, u"append"_s, u"append this"_s);
    fx.set(f, u"search"_s, u"dataB"_s);
    fx.set(f, u"blanks"_s, u"2"_s);
    fx.run(f);
    QCOMPARE(fx.text(), u"Line1 dataA\nLine2 dataB  append this\n"_s);
}

void TestRowFunctions::replaceLinePerDataSavesHistories()
{
    const FunctionSpec &f = fx.select(u"Replace Line per Data");
    fx.setText(u"a 999\nb\nc 999\n"_s);
    fx.band(1, 2);
    fx.set(f, u"search"_s, u"999"_s);
    fx.set(f, u"with"_s, u"new line"_s);
    fx.run(f);
    QCOMPARE(fx.text(), u"new line\nb\nc 999\n"_s);
    const QList<HistoryComboBox *> boxes = fx.panel(f).historyBoxes();
    QCOMPARE(boxes[0]->entries(), QStringList{u"999"_s});
    QCOMPARE(boxes[1]->entries(), QStringList{u"new line"_s});
}

QTEST_MAIN(TestRowFunctions)
#include "tst_rowfunctions.moc"
