#include "linesrun.h"

using namespace Qt::StringLiterals;
using namespace plintex;
using plintex::testing::runOn;

namespace {

/// Rows "1" to "n", each on a line.
QString numbered(int n)
{
    QString text;
    for (int i = 1; i <= n; ++i)
        text += QString::number(i) + u'\n';
    return text;
}

const QString kRestraint = u"!Row restraint To position must\rbe greater than From position."_s;

} // namespace

/// Add Row, Delete Row, Remove Blank Lines, Delete Leading/Trailing Blanks.
class TestRows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
    void fieldsAndCaret();
};

void TestRows::runs_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<QString>("expected");
    const QString add = u"Add Row"_s;
    const QString del = u"Delete Row"_s;
    const QString blank = u"Remove Blank Lines"_s;
    const QString trim = u"Delete Leading/Trailing Blanks"_s;
    auto &row = QTest::newRow;

    row("add: six rows every 2, nothing after the last")
        << add << numbered(6) << QStringList{u"data=--"_s, u"every=2"_s} << 0LL << 0LL
        << u"1\n2\n--\n3\n4\n--\n5\n6\n"_s;
    row("add: seven rows every 2") << add << numbered(7) << QStringList{u"data=--"_s, u"every=2"_s}
                                   << 0LL << 0LL << u"1\n2\n--\n3\n4\n--\n5\n6\n--\n7\n"_s;
    row("add: every beyond the text adds nothing")
        << add << numbered(3) << QStringList{u"data=--"_s, u"every=9"_s} << 0LL << 0LL
        << numbered(3);
    row("add: band 3 to 8 on 10 rows, every 2: after rows 4 and 6 only")
        << add << numbered(10) << QStringList{u"data=--"_s, u"every=2"_s} << 3LL << 8LL
        << u"1\n2\n3\n4\n--\n5\n6\n--\n7\n8\n9\n10\n"_s;
    row("add: two-line block") << add << numbered(2) << QStringList{u"data=a\nb"_s} << 0LL << 0LL
                               << u"1\na\nb\n2\n"_s;
    row("add: block ending in a line break adds an empty row")
        << add << numbered(2) << QStringList{u"data=a\n"_s} << 0LL << 0LL << u"1\na\n\n2\n"_s;
    row("add: empty block adds an empty row")
        << add << numbered(3) << QStringList{} << 0LL << 0LL << u"1\n\n2\n\n3\n"_s;
    row("add: huge every adds nothing")
        << add << numbered(3) << QStringList{u"every=99999999999999999999"_s} << 0LL << 0LL
        << numbered(3);
    row("add: every 0 refused") << add << numbered(3) << QStringList{u"every=0"_s} << 0LL << 0LL
                                << u"!Zero start position is invalid."_s;
    row("add: one row refused by the band")
        << add << u"x\n"_s << QStringList{u"every=0"_s} << 0LL << 0LL << kRestraint;
    row("add: empty text refused") << add << QString() << QStringList{} << 0LL << 0LL << kRestraint;

    row("delete: nine rows from 3 every 3")
        << del << numbered(9) << QStringList{u"start=3"_s, u"every=3"_s} << 0LL << 0LL
        << u"1\n2\n4\n5\n7\n8\n"_s;
    row("delete: five rows from 1 every 2")
        << del << numbered(5) << QStringList{u"start=1"_s, u"every=2"_s} << 0LL << 0LL
        << u"2\n4\n"_s;
    row("delete: start beyond the text deletes nothing")
        << del << numbered(3) << QStringList{u"start=4"_s} << 0LL << 0LL << numbered(3);
    row("delete: band 2 to 3 makes two passes on twelve rows")
        << del << numbered(12) << QStringList{u"start=3"_s, u"every=3"_s} << 2LL << 3LL
        << u"1\n2\n4\n5\n7\n8\n9\n10\n11\n12\n"_s;
    row("delete: huge interval deletes the first row only")
        << del << numbered(4) << QStringList{u"start=2"_s, u"every=99999999999999999999"_s} << 0LL
        << 0LL << u"1\n3\n4\n"_s;
    row("delete: start 0 refused before the interval")
        << del << numbered(3) << QStringList{u"start=0"_s, u"every=1"_s} << 0LL << 0LL
        << u"!Zero start position is invalid."_s;
    row("delete: interval 1 refused before the band")
        << del << u"x\n"_s << QStringList{u"every=1"_s} << 0LL << 0LL
        << u"!0 or 1 increment is invalid."_s;
    row("delete: interval 0 refused") << del << numbered(3) << QStringList{u"every=0"_s} << 0LL
                                      << 0LL << u"!0 or 1 increment is invalid."_s;
    row("delete: one row refused by the band")
        << del << u"x\n"_s << QStringList{} << 0LL << 0LL << kRestraint;

    row("blank: blank and NUL rows go, tab rows stay")
        << blank << u"a\n \n\nb\n\t\n  \u0000 \nc\n"_s << QStringList{} << 0LL << 0LL
        << u"a\nb\n\t\nc\n"_s;
    row("blank: one row, no band needed")
        << blank << u" \n"_s << QStringList{} << 0LL << 0LL << QString();

    row("leading: control characters and blanks, inner blanks stay")
        << trim << u"   a b \n\t\u0001x\n\t\nok\n"_s << QStringList{u"button=leading"_s} << 0LL
        << 0LL << u"a b \nx\n\nok\n"_s;
    row("trailing: band 2 to 3 only")
        << trim << u"a \nb \nc\t\nd \n"_s << QStringList{u"button=trailing"_s} << 2LL << 3LL
        << u"a \nb\nc\nd \n"_s;
    row("trailing: single-row band refused")
        << trim << numbered(4) << QStringList{u"button=trailing"_s} << 2LL << 2LL << kRestraint;
}

void TestRows::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    QFETCH(QString, expected);
    QCOMPARE(runOn(function, text, params, from, to), expected);
}

// What the window is told besides the text: the band, a reset field, the caret.
void TestRows::fieldsAndCaret()
{
    RunResult r;
    runOn(u"Add Row"_s, numbered(6), {u"every=2"_s}, 2, 4, &r);
    QCOMPARE(r.caret.line, 3); // start of row "To:" of the new text
    QCOMPARE(r.fields.last().value, u"4"_s);
    runOn(u"Delete Row"_s, numbered(3), {u"every=1"_s}, 0, 0, &r);
    QCOMPARE(r.fields, (QList<FieldWrite>{{FieldWrite::Target::Param, u"every"_s, u"2"_s}}));
    QVERIFY(r.undoTaken);
    runOn(u"Remove Blank Lines"_s, numbered(3), {}, 0, 0, &r);
    QCOMPARE(r.caret.kind, CaretPlacement::Kind::Unchanged);
    QVERIFY(r.fields.isEmpty());
}

QTEST_GUILESS_MAIN(TestRows)
#include "tst_rows.moc"
