#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include "cli/streamrun.h"
#include "ui/documentactions.h"

#include <QRandomGenerator>

using namespace Qt::StringLiterals;
using namespace plintex;

/// A run in the window then Save gives, line ends included, the bytes plintex-cli writes.
class TestLineEnds : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(fx.prepareHome()); }
    void init() { QVERIFY(fx.open()); }
    void cleanup() { QVERIFY(fx.close()); }

    void windowSavesWhatTheCommandLineWrites_data();
    void windowSavesWhatTheCommandLineWrites();

private:
    testing::WindowFixture fx;
};

void TestLineEnds::windowSavesWhatTheCommandLineWrites_data()
{
    QTest::addColumn<QString>("function");
    for (const FunctionEntry &f : catalogue()) {
        if (f.body.rowPass)
            QTest::newRow(qPrintable(f.slug())) << f.name;
    }
}

// Rows drawn from the function's example, so that its search texts match, ending at random in
// LF, CR LF or CR: a kept row keeps its own break, a row of the run's own gets the text's first.
void TestLineEnds::windowSavesWhatTheCommandLineWrites()
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
        const QString in = fx.home.filePath(u"%1-in%2.txt"_s.arg(f.slug()).arg(round));
        const QString out = fx.home.filePath(u"%1-out%2.txt"_s.arg(f.slug()).arg(round));
        QVERIFY(testing::writeFile(in, text));

        cli::FileSource source;
        QVERIFY(source.open(in));
        QByteArray written;
        const cli::StreamResult cli =
            cli::streamPass(source, f.body.rowPass, {params, f.body.example.runButton, {}},
                            [&](QByteArrayView bytes) { return written += bytes, true; });

        QVERIFY(fx.window->documents()->openPath(in));
        fx.select(f.name);
        for (const auto &[key, value] : f.body.example.params)
            fx.set(f, key, value);
        fx.run(f, f.body.example.runButton);
        if (cli.outcome == cli::StreamResult::Outcome::Refused) {
            QCOMPARE(fx.dialogs.warnings.join(u'|'), cli.message);
            fx.dialogs.warnings.clear();
            continue;
        }
        QVERIFY2(fx.dialogs.warnings.isEmpty(), qPrintable(fx.dialogs.warnings.join(u'|')));
        if (!cli.report.isEmpty())
            continue; // the command line prints a total instead of the text
        fx.dialogs.files.push_back({out, 1});
        QVERIFY(fx.window->documents()->save());
        QVERIFY2(testing::readFile(out) == written,
                 qPrintable(u"%1\nwindow: %2\ncli:    %3"_s.arg(
                     QString::fromUtf8(text.toPercentEncoding()),
                     QString::fromUtf8(testing::readFile(out).toPercentEncoding()),
                     QString::fromUtf8(written.toPercentEncoding()))));
        // Undo puts the breaks back with the rows.
        if (text.endsWith('\n') || text.endsWith('\r')) {
            fx.window->undo();
            const QString undone = fx.home.filePath(u"%1-undone%2.txt"_s.arg(f.slug()).arg(round));
            fx.dialogs.files.push_back({undone, 1});
            QVERIFY(fx.window->documents()->save());
            QCOMPARE(testing::readFile(undone), text);
        }
    }
}

QTEST_MAIN(TestLineEnds)
#include "tst_lineends.moc"
