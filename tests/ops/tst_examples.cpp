#include "ops/runfunction.h"

#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::linesOf;

/// Every built function's own example, as the examples panel shows it, holds when it runs.
class TestExamples : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exampleHolds_data();
    void exampleHolds();
};

void TestExamples::exampleHolds_data()
{
    QTest::addColumn<QString>("function");
    for (const FunctionEntry &f : catalogue()) {
        if (f.isBuilt())
            QTest::newRow(qPrintable(f.body.example.title)) << f.name;
    }
}

void TestExamples::exampleHolds()
{
    QFETCH(QString, function);
    const FunctionEntry &f = *catalogue().byName(function);
    const FunctionExample &example = f.body.example;
    RunInput input;
    input.lines = linesOf(example.input.value_or(example.before));
    input.params = ParamValues::defaults(f.params());
    for (const auto &[key, value] : example.params) {
        QVERIFY2(f.param(key), qPrintable(key));
        input.params.set(key, value);
    }
    input.runButton = example.runButton;
    input.caret = example.caret;
    // A function that streams files runs on the example written to a file.
    QTemporaryDir dir;
    if (!f.body.readsText) {
        QFile in(dir.filePath(u"in"_s));
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write(example.input.value_or(example.before).toUtf8());
        for (const Parameter &p : f.params()) {
            if (p.kind == ParamKind::FileName)
                input.params.set(p.key, dir.filePath(p.saveDialog ? u"out"_s : u"in"_s));
        }
    }
    SilentMonitor monitor;
    RunResult result = f.body.run(std::move(input), monitor);
    QVERIFY2(result.done(), qPrintable(result.message));
    if (!f.body.readsText) {
        QFile out(dir.filePath(u"out"_s));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), example.expected.value_or(example.after).toUtf8());
        return;
    }
    const QStringList expected = linesOf(example.expected.value_or(example.after));
    QCOMPARE(result.report.isEmpty() ? result.lines.value_or(QStringList()) : result.report,
             expected);
}

QTEST_GUILESS_MAIN(TestExamples)
#include "tst_examples.moc"
