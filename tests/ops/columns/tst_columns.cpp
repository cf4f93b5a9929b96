#include "ops/columns/deleteretaincolumn.h"
#include "ops/columns/insertintocolumn.h"
#include "ops/registry.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

RunResult runFunction(const QString &slug, QStringList lines,
                      const QList<std::pair<QString, QString>> &values, RowRestraint restraint = {})
{
    const FunctionSpec *f = catalogue().byName(slug);
    RunInput input;
    input.lines = std::move(lines);
    input.params = ParamValues::defaults(f->params());
    for (const auto &[key, value] : values)
        input.params.set(key, value);
    input.restraint = restraint;
    SilentMonitor monitor;
    return f->body.run(std::move(input), monitor);
}

} // namespace

class TestColumns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void insertAtColumn_data();
    void insertAtColumn();
    void deleteColumns_data();
    void deleteColumns();
    void retainColumns_data();
    void retainColumns();
    void deleteRetainRun();
};

void TestColumns::insertAtColumn_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("data");
    QTest::addColumn<qint64>("column");
    QTest::addColumn<QString>("result");
    QTest::newRow("worked example")
        << u"1234567890"_s << u"INSERTED DATA"_s << qint64(7) << u"123456INSERTED DATA7890"_s;
    QTest::newRow("column 1 prefixes") << u"abc"_s << u">"_s << qint64(1) << u">abc"_s;
    QTest::newRow("column 0 prefixes as 1") << u"abc"_s << u">"_s << qint64(0) << u">abc"_s;
    QTest::newRow("last character") << u"abc"_s << u">"_s << qint64(3) << u"ab>c"_s;
    QTest::newRow("just past the end appends") << u"abc"_s << u">"_s << qint64(4) << u"abc>"_s;
    QTest::newRow("column 10 on 3 characters appends, no padding")
        << u"abc"_s << u"X"_s << qint64(10) << u"abcX"_s;
    QTest::newRow("empty line becomes the data")
        << QString() << u"data"_s << qint64(5) << u"data"_s;
    QTest::newRow("blanks kept") << u"ab"_s << u"  x  "_s << qint64(2) << u"a  x  b"_s;
    QTest::newRow("empty data changes nothing") << u"abc"_s << QString() << qint64(2) << u"abc"_s;
    QTest::newRow("huge column appends")
        << u"abc"_s << u"!"_s << std::numeric_limits<qint64>::max() << u"abc!"_s;
}

void TestColumns::insertAtColumn()
{
    QFETCH(QString, line);
    QFETCH(QString, data);
    QFETCH(qint64, column);
    QFETCH(QString, result);
    columns::insertAtColumn(line, data, column);
    QCOMPARE(line, result);
}

void TestColumns::deleteColumns_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<QString>("result");
    QTest::newRow("worked example")
        << u"111 222 333 444 555"_s << qint64(13) << qint64(17) << u"111 222 333 555"_s;
    QTest::newRow("1 and 1 change nothing") << u"abcdef"_s << qint64(1) << qint64(1) << u"abcdef"_s;
    QTest::newRow("start after end changes nothing")
        << u"abcdef"_s << qint64(5) << qint64(2) << u"abcdef"_s;
    QTest::newRow("start 0 changes nothing")
        << u"abcdef"_s << qint64(0) << qint64(3) << u"abcdef"_s;
    QTest::newRow("line shorter than start") << u"abc"_s << qint64(5) << qint64(8) << u"abc"_s;
    QTest::newRow("span past the end cuts at start - 1")
        << u"abcdef"_s << qint64(4) << qint64(100) << u"abc"_s;
    QTest::newRow("start at the last character") << u"abc"_s << qint64(3) << qint64(4) << u"ab"_s;
    QTest::newRow("huge end") << u"abcdef"_s << qint64(2) << std::numeric_limits<qint64>::max()
                              << u"a"_s;
}

void TestColumns::deleteColumns()
{
    QFETCH(QString, line);
    QFETCH(qint64, start);
    QFETCH(qint64, end);
    QFETCH(QString, result);
    columns::deleteColumns(line, start, end);
    QCOMPARE(line, result);
}

void TestColumns::retainColumns_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<QString>("result");
    QTest::newRow("worked example")
        << u"111 222 333 444 555"_s << qint64(13) << qint64(17) << u"444 "_s;
    QTest::newRow("1 and 1 empty the line") << u"abcdef"_s << qint64(1) << qint64(1) << QString();
    QTest::newRow("5..10 on 7 characters keeps 5 to 7")
        << u"abcdefg"_s << qint64(5) << qint64(10) << u"efg"_s;
    QTest::newRow("line shorter than start becomes empty")
        << u"abc"_s << qint64(5) << qint64(10) << QString();
    QTest::newRow("start 0 keeps from the first")
        << u"abcdef"_s << qint64(0) << qint64(3) << u"ab"_s;
    QTest::newRow("end 0 keeps the tail from start")
        << u"abcdef"_s << qint64(3) << qint64(0) << u"cdef"_s;
    // The older program removed only 500 characters after the span.
    QTest::newRow("1..3 on 600 characters keeps exactly 2")
        << QString(600, u'x').replace(0, 2, u"ab"_s) << qint64(1) << qint64(3) << u"ab"_s;
}

void TestColumns::retainColumns()
{
    QFETCH(QString, line);
    QFETCH(qint64, start);
    QFETCH(qint64, end);
    QFETCH(QString, result);
    columns::retainColumns(line, start, end);
    QCOMPARE(line, result);
}

void TestColumns::deleteRetainRun()
{
    const RunResult retained =
        runFunction(u"delete-retain-column"_s, QStringList(2, u"111 222 333 444 555"_s),
                    {{u"start"_s, u"13"_s}, {u"end"_s, u"17"_s}, {u"mode"_s, u"retain"_s}});
    QCOMPARE(retained.lines, QStringList(2, u"444 "_s));
}

QTEST_GUILESS_MAIN(TestColumns)
#include "tst_columns.moc"
