#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include <QFile>

using namespace Qt::StringLiterals;
using namespace plintex;

/// The column functions in the window: each one's panel filled, its run button pressed.
class TestColumnFunctions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(w.prepareHome()); }
    void init() { QVERIFY(w.open()); }
    void cleanup() { QVERIFY(w.close()); }

    void totalShowsInItsFieldAndHistory();
    void insertColumnAddsTheBlock();
    void copyColumnCopiesTheBand();
    void copyColumnRefusesColumnZero();
    void replaceInColumnKeepsItsHistories();
    void alignRightJustifies();
    void stripOutRemovesStretches();

private:
    QString history(int n) const
    {
        QFile f(w.home.filePath(u"system/combo%1.plx"_s.arg(n)));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    testing::WindowFixture w;
};

void TestColumnFunctions::totalShowsInItsFieldAndHistory()
{
    const QString text = u"a  (1,000.50)\nb      <0.25>\nc         30\n"_s;
    w.setText(text);
    const FunctionSpec &f = w.select(u"Total a Specified Column");
    w.set(f, u"start"_s, u"3"_s);
    w.set(f, u"end"_s, u"14"_s);
    w.run(f);
    QCOMPARE(w.value(f, u"total"_s), u"-970.75"_s);
    QCOMPARE(history(14), u"-970.75\r\n"_s);
    QCOMPARE(w.text(), text);
    QVERIFY(w.dialogs.warnings.isEmpty());
}

void TestColumnFunctions::insertColumnAddsTheBlock()
{
    w.setText(u"Line1 333\nLine2 999\n"_s);
    const FunctionSpec &f = w.select(u"Insert a Column");
    w.set(f, u"block"_s, u"9 \n22 \n3"_s);
    w.set(f, u"column"_s, u"7"_s);
    w.set(f, u"symmetrical"_s, u"1"_s);
    w.run(f);
    QCOMPARE(w.text(), u"Line1 9  333\nLine2 22 999\n3  \n"_s);
}

void TestColumnFunctions::copyColumnCopiesTheBand()
{
    w.setText(u"Line1 999 333\nLine2 222 999\n"_s);
    const FunctionSpec &f = w.select(u"Copy/Move a Column");
    w.set(f, u"start"_s, u"10"_s);
    w.set(f, u"end"_s, u"14"_s);
    w.set(f, u"to"_s, u"6"_s);
    w.run(f);
    QCOMPARE(w.text(), u"Line1 333 999 333\nLine2 999 222 999\n"_s);
}

void TestColumnFunctions::copyColumnRefusesColumnZero()
{
    w.setText(u"abc\n"_s);
    const FunctionSpec &f = w.select(u"Copy/Move a Column");
    w.set(f, u"to"_s, u"0"_s);
    w.run(f);
    QCOMPARE(w.dialogs.warnings, QStringList{u"Column parameters can not equal 0."_s});
    QCOMPARE(w.text(), u"abc\n"_s);
}

void TestColumnFunctions::replaceInColumnKeepsItsHistories()
{
    w.setText(u"Line1 999 111\nLine4 999 999\n"_s);
    const FunctionSpec &f = w.select(u"Replace in Column");
    w.set(f, u"search"_s, u"999"_s);
    w.set(f, u"replacement"_s, u"000"_s);
    w.set(f, u"start"_s, u"7"_s);
    w.set(f, u"end"_s, u"10"_s);
    w.run(f);
    QCOMPARE(w.text(), u"Line1 000 111\nLine4 000 999\n"_s);
    QCOMPARE(history(6), u"999\r\n"_s);
    QCOMPARE(history(7), u"000\r\n"_s);
}

void TestColumnFunctions::alignRightJustifies()
{
    w.setText(u"  a   bbb \ncc d\n"_s);
    const FunctionSpec &f = w.select(u"Align Data into Columns");
    w.set(f, u"right"_s, u"1"_s);
    w.run(f);
    QCOMPARE(w.text(), u"  a bbb\n cc   d\n"_s);
}

void TestColumnFunctions::stripOutRemovesStretches()
{
    w.setText(u"a<B\nc>d<e>f\n"_s);
    const FunctionSpec &f = w.select(u"Delete/Strip Out Data");
    w.set(f, u"start"_s, u"<"_s);
    w.set(f, u"end"_s, u">"_s);
    w.set(f, u"lineByLine"_s, u"1"_s);
    w.run(f);
    QCOMPARE(w.text(), u"adf\n"_s);
    QCOMPARE(history(1), u"<\r\n"_s);
}

QTEST_MAIN(TestColumnFunctions)
#include "tst_columnfunctions.moc"
