// Times the window on 1,000,000 lines of ~60 characters: pressing run on "Insert Into Column"
// and on each row function until the caret stands in the result, and how soon a stop click
// ends a run. Prints figures;
// run it with QT_QPA_PLATFORM=offscreen or under a display.
#include "ops/registry.h"
#include "ui/controls/historycombobox.h"
#include "ui/dialogs.h"
#include "ui/documentactions.h"
#include "ui/functionbar.h"
#include "ui/mainwindow.h"
#include "ui/panel/parameterpanel.h"
#include "ui/textpane.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

class SilentDialogs : public Dialogs {
public:
    void warning(QWidget *, const QString &text) override { warnings.append(text); }
    Answer question(QWidget *, const QString &, bool, std::optional<QPoint>) override
    {
        return Answer::No;
    }
    std::optional<FileChoice> chooseFileToOpen(QWidget *, const QString &, const QStringList &,
                                               int) override
    {
        return next;
    }
    std::optional<FileChoice> chooseFileToSave(QWidget *, const QString &, const QStringList &,
                                               int) override
    {
        return next;
    }
    std::optional<FileChoice> next;
    bool runPreferences(PreferencesDialog &) override { return false; }
    QAction *popUp(QMenu &, const QPoint &) override { return nullptr; }
    QStringList warnings;
};

QStringList benchLines()
{
    QStringList lines;
    lines.reserve(1000000);
    for (int i = 1; i <= 1000000; ++i)
        lines += QStringLiteral("%1 item%2 %3 note-%4 %5")
                     .arg(i, 8, 10, QChar(u'0'))
                     .arg(i % 997, -8)
                     .arg(double(i % 99991) * 1.37, 10, 'f', 2)
                     .arg(i * 7 % 100000, -15)
                     .arg(i % 100000, 6);
    return lines;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("PLINTEX_HOME", home.path().toLocal8Bit());

    SilentDialogs dialogs;
    MainWindow window(dialogs);
    window.show();
    QApplication::processEvents();

    const QStringList lines = benchLines();
    std::printf("lines: %lld, characters per line: %lld\n", qint64(lines.size()),
                qint64(lines.front().size()));

    QElapsedTimer timer;
    timer.start();
    window.workArea()->setLines(lines);
    QApplication::processEvents();
    std::printf("load into the work area:                 %6lld ms\n", timer.elapsed());

    QToolButton *button = window.functionBar()->button(10);
    button->click();
    ParameterPanel *panel = window.panel(10);
    static_cast<HistoryComboBox *>(panel->control(u"data"_s))->setEditText(u"INSERTED "_s);
    QAbstractButton *run = panel->runButton(u"run"_s);

    for (int round = 1; round <= 3; ++round) {
        timer.start();
        run->click();
        QApplication::processEvents();
        const qint64 ms = timer.elapsed();
        const bool caretInResult = window.workArea()->caret().row == lines.size() - 1 &&
                                   window.workArea()->store().row(0).startsWith(u"INSERTED "_s);
        std::printf("run \"Insert Into Column\" (round %d):      %6lld ms%s\n", round, ms,
                    caretInResult ? "" : "  (caret NOT in the result)");
        window.undo();
    }

    // The row functions: one run each on the whole text, then a stop click 20 ms into a run.
    const struct {
        const char16_t *name;
        QList<std::pair<QString, QString>> params;
        QString button;
    } rowRuns[] = {
        {u"Add Row", {{u"data"_s, u"----"_s}, {u"every"_s, u"3"_s}}, u"run"_s},
        {u"Delete Row", {{u"start"_s, u"3"_s}, {u"every"_s, u"3"_s}}, u"run"_s},
        {u"Remove Blank Lines", {}, u"run"_s},
        {u"Delete Leading/Trailing Blanks", {}, u"trailing"_s},
        {u"Insert Lines Per Data", {{u"data"_s, u"^^^^"_s}, {u"search"_s, u"item7 "_s}}, u"run"_s},
        {u"Delete Lines Per Data", {{u"search"_s, u"item7 \nnote-1"_s}}, u"run"_s},
        {u"Delete/Retain Line Data", {{u"search"_s, u"note-"_s}, {u"offset"_s, u"-1"_s}}, u"run"_s},
        {u"Insert Data Per Data", {{u"data"_s, u"XX"_s}, {u"search"_s, u"note-"_s}}, u"run"_s},
        {u"Append Data", {{u"append"_s, u"CHECKED"_s}, {u"search"_s, u"item7 "_s}}, u"run"_s},
        {u"Replace Line per Data", {{u"search"_s, u"item7 "_s}, {u"with"_s, u"--"_s}}, u"run"_s},
    };
    for (const auto &r : rowRuns) {
        const FunctionSpec *f = catalogue().byName(QStringView(r.name));
        if (window.panel(f->number)->isHidden())
            window.functionBar()->button(f->number)->click();
        ParameterPanel *p = window.panel(f->number);
        for (const auto &[key, value] : r.params)
            p->setValue(key, value);
        timer.start();
        p->runButton(r.button)->click();
        QApplication::processEvents();
        const qint64 ms = timer.elapsed();
        const qsizetype rows = window.workArea()->store().lineCount();
        window.undo();
        qint64 clickedAt = -1;
        timer.start();
        QTimer::singleShot(20, [&] {
            clickedAt = timer.elapsed();
            window.session().stop.request();
        });
        p->runButton(r.button)->click();
        const qint64 endedAt = timer.elapsed();
        while (clickedAt < 0)
            QApplication::processEvents();
        const bool stopped = dialogs.warnings.contains(u"Processing stopped!"_s);
        dialogs.warnings.clear();
        if (!stopped) { // the run ended before the click: no stop may wait for the next run
            window.session().stop.clear();
            window.undo();
        }
        QApplication::processEvents();
        if (stopped)
            std::printf("run %-34s %6lld ms, %7lld rows; a stop ended it %lld ms after the click\n",
                        qPrintable(u'"' + f->name + u'"'), ms, qint64(rows), endedAt - clickedAt);
        else
            std::printf("run %-34s %6lld ms, %7lld rows; it ended before a stop at 20 ms\n",
                        qPrintable(u'"' + f->name + u'"'), ms, qint64(rows));
    }

    // Documents: save and open the whole text as plain text and as RTF.
    const struct {
        const char *label;
        const char16_t *name;
        int type;
    } documents[] = {{"plain", u"bench.txt", 1}, {"rich (RTF)", u"bench.doc", 0}};
    for (const auto &d : documents) {
        const QString path = home.filePath(QString::fromUtf16(d.name));
        dialogs.next = FileChoice{path, d.type};
        timer.start();
        window.documents()->save();
        const qint64 saved = timer.elapsed();
        window.workArea()->setText(u"x"_s);
        window.session().flags.modified = false;
        timer.start();
        window.documents()->open();
        QApplication::processEvents();
        const qint64 opened = timer.elapsed();
        std::printf("%-10s document, %5.1f MB: save %6lld ms, open %6lld ms%s\n", d.label,
                    QFileInfo(path).size() / 1e6, saved, opened,
                    window.workArea()->store().lineCount() == lines.size() ? ""
                                                                           : "  (text differs)");
    }
    dialogs.next.reset();

    // The column functions: a run on the whole text (Insert a Column with a block of 1,000
    // lines), and a stop click into a second run.
    const struct {
        int number;
        const char *name;
        QList<std::pair<QString, QString>> params;
    } columnRuns[] = {
        {63, "Total a Specified Column", {{u"start"_s, u"23"_s}, {u"end"_s, u"33"_s}}},
        {74, "Insert a Column", {{u"block"_s, u"x\n"_s.repeated(1000)}, {u"column"_s, u"10"_s}}},
        {75, "Copy/Move a Column", {{u"start"_s, u"10"_s}, {u"end"_s, u"22"_s}, {u"to"_s, u"1"_s}}},
        {61,
         "Replace in Column",
         {{u"search"_s, u"item"_s},
          {u"replacement"_s, u"ITEM"_s},
          {u"start"_s, u"10"_s},
          {u"end"_s, u"22"_s}}},
        {32, "Align Data into Columns", {{u"right"_s, u"1"_s}}},
        {108, "Delete/Strip Out Data", {{u"start"_s, u"item"_s}, {u"end"_s, u"note"_s}}},
    };
    for (const auto &c : columnRuns) {
        window.functionBar()->button(c.number)->click();
        ParameterPanel *p = window.panel(c.number);
        for (const auto &[key, value] : c.params)
            p->setValue(key, value);
        QAbstractButton *go = p->runButton(u"run"_s);
        timer.start();
        go->click();
        QApplication::processEvents();
        const qint64 ms = timer.elapsed();
        const bool refused = !dialogs.warnings.isEmpty();
        window.undo();
        dialogs.warnings.clear();
        qint64 clickedAt = -1;
        timer.start();
        // The click comes a third into a run as long as the one just timed.
        QTimer::singleShot(std::max<qint64>(ms / 3, 1), [&] {
            clickedAt = timer.elapsed();
            window.session().stop.request();
        });
        go->click();
        const qint64 endedAt = timer.elapsed();
        while (clickedAt < 0)
            QApplication::processEvents();
        const bool stopped = dialogs.warnings.contains(u"Processing stopped!"_s);
        const QString stop = clickedAt > endedAt ? u"came after the run ended"_s
                                                 : u"ended the run %1 ms after the click%2"_s
                                                       .arg(endedAt - clickedAt)
                                                       .arg(stopped ? u""_s : u" (not stopped)"_s);
        std::printf("run %-26s %6lld ms%s; stop %s\n", c.name, ms, refused ? " (refused)" : "",
                    qPrintable(stop));
        if (!stopped)
            window.undo();
        window.session().stop.clear();
        dialogs.warnings.clear();
        QApplication::processEvents();
    }

    // A stop click, delivered by a timer through the run's own event pump.
    for (int delay : {50, 150, 300}) {
        qint64 clickedAt = -1;
        timer.start();
        QTimer::singleShot(delay, [&] {
            clickedAt = timer.elapsed();
            window.session().stop.request();
        });
        run->click();
        const qint64 endedAt = timer.elapsed();
        if (clickedAt < 0)
            std::printf("stop after %3d ms: the run ended first (%lld ms)\n", delay, endedAt);
        else
            std::printf("stop after %3d ms: run ended %6lld ms after the click%s\n", delay,
                        endedAt - clickedAt,
                        dialogs.warnings.contains(u"Processing stopped!"_s) ? ""
                                                                            : " (not stopped)");
        dialogs.warnings.clear();
        QApplication::processEvents();
    }
    return 0;
}
