#include "core/rowpass.h"
#include "core/session.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

/// Stops before the line with the given index (never when -1) and records what it saw.
class ScriptedMonitor : public RunMonitor {
public:
    explicit ScriptedMonitor(qsizetype stopAt = -1) : m_stopAt(stopAt) {}
    void begin(double maximum, Gauge) override { this->maximum = maximum; }
    void advance(double position) override { positions.append(position); }
    bool stopRequested() override
    {
        return qsizetype(positions.value(positions.size() - 1, -2)) == m_stopAt;
    }
    double maximum = -1;
    QList<double> positions;

private:
    qsizetype m_stopAt;
};

QStringList numbered(int n)
{
    QStringList lines;
    for (int i = 1; i <= n; ++i)
        lines += u"line "_s + QString::number(i);
    return lines;
}

RunResult markBand(QStringList lines, RowRestraint restraint, RunMonitor &monitor)
{
    RunInput input;
    input.lines = std::move(lines);
    input.restraint = restraint;
    return runRowPass(
        [](const PassStart &start) { return bandPass([](QString &line) { line += u'*'; }, start); },
        std::move(input), monitor);
}

} // namespace

class TestRunFramework : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resolvesTheBand_data();
    void resolvesTheBand();
    void runsOverTheBand();
    void sessionTakesSnapshotAndClearsProcessing_data();
    void sessionTakesSnapshotAndClearsProcessing();
    void changeHandlerFlags();
};

void TestRunFramework::resolvesTheBand_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("autoReset");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("resolvedFrom");
    QTest::addColumn<int>("resolvedTo");
    QTest::addColumn<bool>("valid");
    QTest::newRow("auto reset ignores the fields") << 3 << 5 << true << 10 << 1 << 10 << true;
    QTest::newRow("3..3 is refused") << 3 << 3 << false << 10 << 3 << 3 << false;
    QTest::newRow("To past the end is lowered") << 2 << 500 << false << 10 << 2 << 10 << true;
    QTest::newRow("one line is refused") << 0 << 0 << true << 1 << 1 << 1 << false;
    QTest::newRow("empty text is refused") << 0 << 0 << true << 0 << 1 << 0 << false;
    QTest::newRow("From past the end is refused") << 20 << 0 << false << 10 << 20 << 10 << false;
    QTest::newRow("To 0 means the last line") << 4 << 0 << false << 9 << 4 << 9 << true;
}

void TestRunFramework::resolvesTheBand()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, autoReset);
    QFETCH(int, lines);
    const RowRestraint r = resolveRestraint({from, to, autoReset}, lines);
    QTEST(int(r.from), "resolvedFrom");
    QTEST(int(r.to), "resolvedTo");
    QTEST(isValidBand(r), "valid");
}

void TestRunFramework::runsOverTheBand()
{
    ScriptedMonitor refusing;
    RunResult r = markBand({u"only"_s}, {}, refusing);
    QCOMPARE(r.message, u"Row restraint To position must\rbe greater than From position."_s);
    QCOMPARE(r.fields, (QList<FieldWrite>{{FieldWrite::Target::RestraintFrom, {}, u"1"_s},
                                          {FieldWrite::Target::RestraintTo, {}, u"1"_s}}));
    QCOMPARE(refusing.maximum, -1.0); // nothing shown for a refused run
    ScriptedMonitor monitor;
    r = markBand(numbered(6), {2, 4, false}, monitor);
    QVERIFY(r.done());
    QCOMPARE(r.lines, (QStringList{u"line 1"_s, u"line 2*"_s, u"line 3*"_s, u"line 4*"_s,
                                   u"line 5"_s, u"line 6"_s}));
    QCOMPARE(r.caret.line, 3);
    QCOMPARE(monitor.maximum, 4.0);
    QCOMPARE(monitor.positions, (QList<double>{1, 2, 3}));
    // A stop before the first line changes nothing.
    ScriptedMonitor stopping(0);
    QCOMPARE(markBand(numbered(3), {}, stopping).lines, std::nullopt);
    QCOMPARE(stopping.positions, QList<double>{0});
}

void TestRunFramework::sessionTakesSnapshotAndClearsProcessing_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("stopAt");
    QTest::addColumn<bool>("takesSnapshot");
    QTest::addColumn<int>("outcome");
    QTest::newRow("done") << numbered(3) << -1 << true << int(RunResult::Outcome::Done);
    QTest::newRow("refused") << numbered(1) << -1 << true << int(RunResult::Outcome::Refused);
    QTest::newRow("stopped") << numbered(3) << 1 << true << int(RunResult::Outcome::Stopped);
    QTest::newRow("a routine that takes none")
        << numbered(3) << -1 << false << int(RunResult::Outcome::Done);
}

void TestRunFramework::sessionTakesSnapshotAndClearsProcessing()
{
    QFETCH(QStringList, lines);
    QFETCH(int, stopAt);
    QFETCH(bool, takesSnapshot);
    Session session;
    FunctionEntry function;
    bool processingWhileRunning = false;
    function.body.run = [&](RunInput input, RunMonitor &monitor) {
        processingWhileRunning = session.flags.processing;
        RunResult r = markBand(std::move(input.lines), input.restraint, monitor);
        r.undoTaken = takesSnapshot;
        return r;
    };
    ScriptedMonitor monitor(stopAt);
    const RunResult r = session.run(function, RunInput{.lines = lines}, monitor);
    QTEST(int(r.outcome), "outcome");
    QVERIFY(processingWhileRunning);
    QCOMPARE(session.undo.lines(),
             takesSnapshot ? std::optional<QStringList>(lines) : std::nullopt);
    QVERIFY(!session.flags.processing);
}

void TestRunFramework::changeHandlerFlags()
{
    WorkAreaFlags flags;
    QVERIFY(!flags.noteTextChange()); // the first notification only sets its flag
    QVERIFY(flags.firstChange);
    QVERIFY(!flags.modified);
    flags.processing = true;
    QVERIFY(!flags.noteTextChange()); // a run's own rewriting leaves the flag alone
    QVERIFY(!flags.modified);
    flags.processing = false;
    QVERIFY(flags.noteTextChange());
    QVERIFY(flags.modified);
}

QTEST_GUILESS_MAIN(TestRunFramework)
#include "tst_runframework.moc"
