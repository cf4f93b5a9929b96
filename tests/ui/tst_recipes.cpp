#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include "settings/textfile.h"
#include "ui/panestack.h"
#include "ui/windows/runslist.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QProcess>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

/// Runs a command line through bash, plintex-cli found on the PATH; standard output, or the
/// exit status and standard error when it fails.
QByteArray shell(const QString &command, const QByteArray &input, QString *failure)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"PATH"_s,
               QFileInfo(QStringLiteral(PLINTEX_CLI)).absolutePath() + u':' + env.value(u"PATH"_s));
    p.setProcessEnvironment(env);
    p.start(u"bash"_s, {u"-c"_s, command});
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        *failure =
            QString::number(p.exitCode()) + u' ' + QString::fromUtf8(p.readAllStandardError());
    return p.readAllStandardOutput();
}

QStringList linesOfBytes(const QByteArray &bytes)
{
    return rowsToLines(decodeRows(bytes, detectFormat(bytes)));
}

} // namespace

/// Runs as commands: a run copied as a command gives the window's result through the shell,
/// and runs saved as a recipe give it again in the window and on the command line.
class TestRecipes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(w.prepareHome()); }
    void init() { QVERIFY(w.open()); }
    void cleanup() { QVERIFY(w.close()); }

    void copiedCommandGivesTheWindowsResult_data();
    void copiedCommandGivesTheWindowsResult();
    void savedRunsRunAgainAsARecipe();

private:
    testing::WindowFixture w;
};

void TestRecipes::copiedCommandGivesTheWindowsResult_data()
{
    QTest::addColumn<QString>("function");
    for (const FunctionEntry &f : catalogue()) {
        if (f.isBuilt())
            QTest::newRow(qPrintable(f.slug())) << f.name;
    }
}

// The catalogue's example, run in the window, copied, and run again by bash: the file
// functions write their output file again, the others print the text or the result.
void TestRecipes::copiedCommandGivesTheWindowsResult()
{
    QFETCH(QString, function);
    const FunctionEntry &f = *catalogue().byName(function);
    const FunctionExample &example = f.body.example;
    const QString input = example.input.value_or(example.before);
    w.setText(input);
    if (f.body.ownPane)
        w.dialogs.answers.push_back(Dialogs::Answer::Yes);
    w.select(f.name);
    for (const auto &[key, value] : example.params)
        w.set(f, key, value);
    const QString in = w.home.filePath(u"in"_s), out = w.home.filePath(u"out"_s);
    QFile::remove(out);
    if (!f.body.readsText) {
        QVERIFY(testing::writeFile(in, input.toUtf8()));
        for (const Parameter &p : f.params()) {
            if (p.kind == ParamKind::FileName)
                w.set(f, p.key, p.saveDialog ? out : in);
        }
    }
    w.window->panes()->runTarget()->setCaret(example.caret);
    w.run(f, example.runButton);
    QVERIFY2(w.dialogs.warnings.isEmpty(), qPrintable(w.dialogs.warnings.join(u'|')));
    w.window->runs()->copyAction()->trigger();
    const QString command = QGuiApplication::clipboard()->text();
    QVERIFY2(command.startsWith(u"plintex-cli "_s + f.slug()), qPrintable(command));

    QString failure;
    if (!f.body.readsText) {
        const QByteArray written = testing::readFile(out);
        QVERIFY(QFile::remove(out));
        shell(command, {}, &failure);
        QVERIFY2(failure.isEmpty(), qPrintable(command + u'\n' + failure));
        QCOMPARE(testing::readFile(out), written);
        return;
    }
    const QStringList got = linesOfBytes(shell(command, input.toUtf8(), &failure));
    QVERIFY2(failure.isEmpty(), qPrintable(command + u'\n' + failure));
    // A result shown outside the text is printed instead of it.
    QStringList expected = w.window->panes()->runTarget()->lines();
    for (const Parameter &p : f.params()) {
        if (p.kind == ParamKind::Result)
            expected = {w.value(f, p.key)};
    }
    QCOMPARE(got, expected);
}

void TestRecipes::savedRunsRunAgainAsARecipe()
{
    const QString original = u"  one  \n  two  \n  three  \n  four  \n"_s;
    w.setText(original);
    const FunctionEntry &insert = w.select(u"insert-into-column");
    w.set(insert, u"data"_s, u"it's \"#\""_s);
    w.run(insert);
    const FunctionEntry &blanks = w.select(u"delete-leading-trailing-blanks");
    w.band(2, 3);
    w.run(blanks, u"trailing"_s);
    const FunctionEntry &add = w.select(u"add-row");
    w.set(add, u"data"_s, u"--\n=="_s);
    w.set(add, u"every"_s, u"2"_s);
    w.run(add);
    const QStringList done = w.window->workArea()->lines();

    RunsList &runs = *w.window->runs();
    QCOMPARE(runs.list()->count(), 3);
    runs.list()->selectAll();
    const QString recipe = w.home.filePath(u"three.txt"_s);
    w.dialogs.files.push_back({recipe, 0});
    runs.saveAsRecipe();

    // In the window: one run, one undo step.
    w.setText(original);
    w.dialogs.files.push_back({recipe, 0});
    runs.runRecipe();
    QCOMPARE(w.window->workArea()->lines(), done);
    w.window->undo();
    QCOMPARE(w.text(), original);

    // On the command line, from the file as saved.
    QString failure;
    const QByteArray printed =
        shell(u"plintex-cli --recipe="_s + recipe, original.toUtf8(), &failure);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(linesOfBytes(printed), done);

    // A step refused: its line named, the text as it was.
    QVERIFY(testing::writeFile(recipe, "# refused\ndelete-row --and-every=1\n"));
    w.dialogs.files.push_back({recipe, 0});
    runs.runRecipe();
    QCOMPARE(w.dialogs.warnings, QStringList{recipe + u":2: 0 or 1 increment is invalid."_s});
    QCOMPARE(w.text(), original);
}

QTEST_MAIN(TestRecipes)
#include "tst_recipes.moc"
