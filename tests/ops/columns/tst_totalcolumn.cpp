#include "ops/columns/totalcolumn.h"
#include "runfunction.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::runFunction;

class TestTotalColumn : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void total_data();
    void total();
    void refusals_data();
    void refusals();
    void resultGoesToFieldAndReport();
    void stopShowsNoTotal();
};

void TestTotalColumn::total_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("total");
    const auto rows = [](std::initializer_list<QString> l) { return QStringList(l); };
    QTest::newRow("thousands separators skipped")
        << rows({u"1,234.50"_s, u"$2,000"_s}) << 1 << 20 << u"3234.5"_s;
    QTest::newRow("(12) 3 is -123") << rows({u"(12) 3"_s, u"0"_s}) << 1 << 20 << u"-123"_s;
    QTest::newRow("second pair of brackets only dropped")
        << rows({u"(1)(2)"_s, u"<3><4>"_s}) << 1 << 20 << u"-46"_s;
    QTest::newRow("rows without digits skipped")
        << rows({u"abc"_s, u"5"_s, QString()}) << 1 << 20 << u"5"_s;
    QTest::newRow("start 0 end 5 takes five characters")
        << rows({u"12345678"_s, u"00001000"_s}) << 0 << 5 << u"12346"_s;
    QTest::newRow("start 1 end 5 takes four characters")
        << rows({u"12345678"_s, u"00001000"_s}) << 1 << 5 << u"1234"_s;
    QTest::newRow("band past a short line") << rows({u"1"_s, u"1234567"_s}) << 5 << 7 << u"56"_s;
    QTest::newRow("trailing zeros dropped") << rows({u"1.10"_s, u"2.20"_s}) << 1 << 9 << u"3.3"_s;
    QTest::newRow("negative total") << rows({u"-1.5"_s, u".25"_s}) << 1 << 9 << u"-1.25"_s;
    QTest::newRow("zero total") << rows({u"1"_s, u"-1"_s}) << 1 << 9 << u"0"_s;
    QTest::newRow("15 significant digits, rounded")
        << rows({u"123456789012345678"_s, u"0"_s}) << 1 << 30 << u"1.23456789012346E17"_s;
    QTest::newRow("15 integer digits stay plain")
        << rows({u"999999999999999"_s, u"0"_s}) << 1 << 30 << u"999999999999999"_s;
    QTest::newRow("0.00001 stays plain") << rows({u"0.00001"_s, u"0"_s}) << 1 << 9 << u"0.00001"_s;
    QTest::newRow("below 0.00001 scientific")
        << rows({u"0.000001"_s, u"0.0000005"_s}) << 1 << 12 << u"1.5E-6"_s;
    QTest::newRow("beyond 36 digits, compensated")
        << rows({u"1"_s + QString(40, u'0'), u"1"_s}) << 1 << 50 << u"1E40"_s;
    // Adding 0.01 a million times in doubles gives 10000.0000001719.
    QTest::newRow("a million amounts of 0.01 are exact")
        << QStringList(1000000, u"0.01"_s) << 1 << 9 << u"10000"_s;
    QTest::newRow("a million amounts of 99999.99 are exact")
        << QStringList(1000000, u"  99,999.99"_s) << 1 << 12 << u"99999990000"_s;
}

void TestTotalColumn::total()
{
    QFETCH(QStringList, lines);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, total);
    const RunResult r =
        runFunction(u"Total a Specified Column", lines,
                    {{u"start"_s, QString::number(start)}, {u"end"_s, QString::number(end)}});
    QVERIFY2(r.done(), qPrintable(r.message));
    QCOMPARE(r.report, QStringList{total});
}

void TestTotalColumn::refusals_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("message");
    const QString columns = u"Column End position must\rbe greater than Start position."_s;
    QTest::newRow("one line: the row check comes first")
        << QStringList{u"1"_s} << 5 << 2
        << u"Row restraint To position must\rbe greater than From position."_s;
    QTest::newRow("columns at their defaults 0 and 0")
        << QStringList{u"1"_s, u"2"_s} << 0 << 0 << columns;
    QTest::newRow("end before start") << QStringList{u"1"_s, u"2"_s} << 5 << 4 << columns;
    QTest::newRow("a date") << QStringList{u"1"_s, u"2023-01-05"_s} << 1 << 20
                            << u"'2023-01-05' is not a valid floating point value"_s;
    QTest::newRow("two points") << QStringList{u"1.2.3"_s, u"1"_s} << 1 << 20
                                << u"'1.2.3' is not a valid floating point value"_s;
    QTest::newRow("minus after the digits") << QStringList{u"111-"_s, u"1"_s} << 1 << 20
                                            << u"'111-' is not a valid floating point value"_s;
    QTest::newRow("beyond a double's range")
        << QStringList{u"1"_s, u"9"_s.repeated(400)} << 1 << 500
        << u"'"_s + u"9"_s.repeated(400) + u"' is not a valid floating point value"_s;
    QTest::newRow("a lone minus") << QStringList{u"n/a - x"_s, u"1"_s} << 1 << 20
                                  << u"'-' is not a valid floating point value"_s;
}

void TestTotalColumn::refusals()
{
    QFETCH(QStringList, lines);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, message);
    const RunResult r =
        runFunction(u"Total a Specified Column", lines,
                    {{u"start"_s, QString::number(start)}, {u"end"_s, QString::number(end)}});
    QCOMPARE(r.outcome, RunResult::Outcome::Refused);
    QCOMPARE(r.message, message);
    QVERIFY(r.report.isEmpty() && !r.lines && !r.saveHistories);
}

void TestTotalColumn::resultGoesToFieldAndReport()
{
    const RunResult r = runFunction(u"Total a Specified Column", {u"a 1"_s, u"b 2"_s, u"c 4"_s},
                                    {{u"start"_s, u"3"_s}, {u"end"_s, u"4"_s}}, {2, 0, false});
    QVERIFY(!r.lines);
    QCOMPARE(r.fields, (QList<FieldWrite>{{FieldWrite::Target::RestraintFrom, {}, u"2"_s},
                                          {FieldWrite::Target::RestraintTo, {}, u"3"_s},
                                          {FieldWrite::Target::Param, u"total"_s, u"6"_s}}));
    QCOMPARE(r.report, QStringList{u"6"_s});
    QVERIFY(r.saveHistories);
}

void TestTotalColumn::stopShowsNoTotal()
{
    const FunctionSpec *f = catalogue().byName(u"Total a Specified Column");
    RunInput input{.lines = {u"1"_s, u"2"_s}, .params = ParamValues::defaults(f->params())};
    input.params.set(u"end"_s, u"5"_s);
    testing::StoppedMonitor monitor;
    const RunResult r = f->body.run(std::move(input), monitor);
    QCOMPARE(r.outcome, RunResult::Outcome::Stopped);
    QVERIFY(r.report.isEmpty() && !r.saveHistories);
}

QTEST_GUILESS_MAIN(TestTotalColumn)
#include "tst_totalcolumn.moc"
