// Times the window on 1,000,000 lines of ~60 characters: pressing run on "Insert Into Column"
// and on each column and row function until the caret stands in the result, how soon a stop
// click ends a run, and the text pane's own editing (keystrokes, select-all, delete, paste).
// Prints figures; --read-me times "Read Me" alone, --print printing alone, --find-replace the
// "Find / Replace" window alone, --pane the text pane alone; run it with
// QT_QPA_PLATFORM=offscreen or under a display.
#include "core/hugepages.h"
#include "ops/registry.h"
#include "ui/controls/historycombobox.h"
#include "ui/controls/piegauge.h"
#include "ui/dialogs.h"
#include "ui/documentactions.h"
#include "ui/functionbar.h"
#include "ui/mainwindow.h"
#include "ui/panel/parameterpanel.h"
#include "ui/panestack.h"
#include "ui/printing/printparametersdialog.h"
#include "ui/textpane.h"
#include "ui/windows/examplespanel.h"
#include "ui/windows/findreplacewindow.h"
#include "ui/windows/scratchpad.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <sys/resource.h>
#include <vector>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

class SilentDialogs : public Dialogs {
public:
    void warning(QWidget *, const QString &text, std::optional<QPoint>) override
    {
        warnings.append(text);
    }
    bool confirm(QWidget *, const QString &, QPoint) override { return true; }
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
    // The first printout chooses the PDF file with "Printer...".
    bool runPrintParameters(PrintParametersDialog &dialog) override
    {
        if (!std::exchange(printerChosen, true))
            dialog.printerButton()->click();
        return true;
    }
    bool choosePrinter(QWidget *, QPrinter &printer) override
    {
        printer.setOutputFileName(printTo);
        return true;
    }
    void openUrl(const QUrl &) override {}
    QStringList warnings;
    QString printTo;
    bool printerChosen = false;
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

// One key press handled and the view painted, as a user would wait for it.
qint64 keyMicroseconds(TextPane &pane, int key, Qt::KeyboardModifiers mods = {},
                       const QString &text = {})
{
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(&pane, &press);
    pane.viewport()->repaint();
    return timer.nsecsElapsed() / 1000;
}

// The median of a few keystrokes, so one stray pause does not decide the figure.
double typingMs(TextPane &pane)
{
    std::vector<qint64> us;
    for (int i = 0; i < 15; ++i)
        us.push_back(keyMicroseconds(pane, Qt::Key_X, {}, u"x"_s));
    std::sort(us.begin(), us.end());
    return us[us.size() / 2] / 1000.0;
}

// The text pane alone, on the same lines.
void benchPane(const QStringList &lines)
{
    TextPane pane;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    pane.setFont(font);
    pane.resize(1000, 700);
    pane.show();
    pane.setFocus();
    QApplication::processEvents();

    pane.setLines(lines);
    pane.setCaret({500000, 30});
    QApplication::processEvents();
    std::printf("pane: keystroke at row 500,000:          %9.2f ms\n", typingMs(pane));

    // Select all, delete it and paste it back, a few times over: the median of each.
    const QString whole = pane.text();
    std::vector<qint64> selectAll, cleared, pasted;
    bool intact = true;
    for (int round = 0; round < 3; ++round) {
        selectAll.push_back(keyMicroseconds(pane, Qt::Key_A, Qt::ControlModifier));
        cleared.push_back(selectAll.back() + keyMicroseconds(pane, Qt::Key_Delete));
        intact = intact && pane.store().isEmpty();
        QApplication::clipboard()->setText(whole);
        pasted.push_back(keyMicroseconds(pane, Qt::Key_V, Qt::ControlModifier));
        intact = intact && pane.store().length() == whole.size();
        QApplication::clipboard()->clear();
    }
    const auto median = [](std::vector<qint64> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2] / 1000.0;
    };
    std::printf("pane: Ctrl+A:                            %9.2f ms\n", median(selectAll));
    std::printf("pane: select-all + Delete:               %9.2f ms\n", median(cleared));
    std::printf("pane: paste of %4.1f MB:                  %9.2f ms%s\n", whole.size() / 1e6,
                median(pasted), intact ? "" : "  (text differs)");

    pane.setText(QString(100000, u'w'));
    pane.setCaret({0, 50000});
    QApplication::processEvents();
    std::printf("pane: keystroke in a 100,000-char row:   %9.2f ms\n", typingMs(pane));
}

// Prose as pasted from a web page: lines of common words, now and then an address, a tag, a
// tab-started line or an empty one.
QStringList webProse(qsizetype bytes)
{
    static const char16_t *words[] = {u"the",  u"of",  u"and", u"to",   u"in",  u"is",
                                      u"that", u"for", u"it",  u"as",   u"was", u"with",
                                      u"be",   u"by",  u"on",  u"not",  u"he",  u"this",
                                      u"are",  u"or",  u"his", u"from", u"at",  u"which"};
    QRandomGenerator rng(23);
    QStringList lines;
    for (qsizetype size = 0; size < bytes;) {
        QString line;
        for (int k = int(rng.bounded(16)) + 4; k > 0; --k) {
            QString word = QString::fromUtf16(words[rng.bounded(int(std::size(words)))]);
            const int r = int(rng.bounded(100));
            if (r < 2)
                word = u"www.site"_s + QString::number(rng.bounded(1000)) + u".com/page"_s;
            else if (r < 3)
                word = u"http://example.org/"_s + word + u".html"_s;
            else if (r < 8)
                word = u"<b>"_s + word + u"</b>"_s;
            line += (line.isEmpty() ? QString() : u" "_s) + word;
        }
        if (rng.bounded(10) == 0)
            line.prepend(u'\t');
        size += line.size() + 1;
        line.squeeze(); // as tight as a line read from a file
        lines.append(line);
        if (rng.bounded(10) == 0)
            lines.append(QString());
    }
    return lines;
}

/// A line of /proc/self/status in MB ("VmRSS", "VmHWM"), 0 where there is none.
double statusMb(const char *field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

/// Starts the peak ("VmHWM") again from what the process holds now.
void resetPeakMemory()
{
    QFile refs(u"/proc/self/clear_refs"_s);
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

/// A stop click `delay` ms into the run that `go` starts: how long after the click the run
/// ended (-1 when it ended first) and whether it said so. The click is waited for either way.
struct StopTiming {
    qint64 afterClick = -1;
    bool stopped = false;
    QString text() const
    {
        return afterClick < 0 ? u"came after the run ended"_s
                              : u"ended the run %1 ms after the click%2"_s.arg(afterClick)
                                    .arg(stopped ? u""_s : u" (not stopped)"_s);
    }
};

StopTiming stopDuring(MainWindow &window, const SilentDialogs &dialogs, QAbstractButton *go,
                      qint64 delay)
{
    QElapsedTimer timer;
    qint64 clickedAt = -1;
    timer.start();
    QTimer::singleShot(delay, [&] {
        clickedAt = timer.elapsed();
        window.session().stop.request();
    });
    go->click();
    const qint64 endedAt = timer.elapsed();
    while (clickedAt < 0)
        QApplication::processEvents();
    return {clickedAt > endedAt ? -1 : endedAt - clickedAt,
            dialogs.warnings.contains(u"Processing stopped!"_s)};
}

// "Read Me" on 20 MB of web prose, its automatic start on a 100 KB paste, and a stop click
// into a run. The memory figure is the run's peak above the text the window holds, beside
// what holding that text costs (the undo snapshot keeps it, the clipboard takes the result).
void benchReadMe(MainWindow &window, SilentDialogs &dialogs)
{
    const QStringList prose = webProse(20000000);
    const FunctionEntry *f = catalogue().byName(u"read-me");
    if (window.panel(f->number)->isHidden())
        window.functionBar()->button(f->number)->click();
    ParameterPanel *p = window.panel(f->number);
    p->setValue(u"html"_s, u"1"_s);
    QAbstractButton *go = p->runButton(u"run"_s);
    TextPane *area = window.workArea();
    QElapsedTimer timer;

    // The processor time beside the wall time: on a busy machine the wall time says little.
    const auto cpuMs = [] { return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC; };
    // The heap in use tells what the text costs without the garbage of making it.
    const auto heapMb = [] { return double(mallinfo2().uordblks) / (1 << 20); };
    const double heapBefore = heapMb();
    area->setLines(webProse(20000000)); // the pane's own copy, as a loaded file would be
    QApplication::processEvents();
    const double loaded = heapMb() - heapBefore;
    const double before = statusMb("VmRSS");
    resetPeakMemory();
    qint64 cpu = cpuMs();
    timer.start();
    go->click();
    QApplication::processEvents();
    std::printf("run \"Read Me\" on 20 MB of web prose:    %6lld ms (cpu %lld ms), %lld rows%s\n",
                timer.elapsed(), cpuMs() - cpu, qint64(area->store().lineCount()),
                QApplication::clipboard()->text().size() == area->store().length()
                    ? ""
                    : "  (clipboard differs)");
    const double peak = statusMb("VmHWM") - before;
    std::printf("  memory: the text held in %.0f MB, the run's peak above it %.0f MB (%.1fx)\n",
                loaded, peak, peak / loaded);

    QString paste;
    for (qsizetype i = 0; paste.size() < 100000; ++i)
        paste += prose[i] + u'\n';
    area->setText(QString());
    QApplication::clipboard()->setText(paste);
    QApplication::processEvents();
    QThreadPool::globalInstance()->waitForDone(); // the 20 MB text let go of in the background
    cpu = cpuMs();
    timer.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(area, &press);
    QApplication::processEvents();
    std::printf("automatic start on a %lld KB paste:       %6lld ms (cpu %lld ms)%s\n",
                qint64(paste.size() / 1000), timer.elapsed(), cpuMs() - cpu,
                area->text() != paste ? "" : "  (NOT started)");

    area->setLines(prose);
    QApplication::processEvents();
    std::printf("run \"Read Me\", stop at 300 ms: %s\n",
                qPrintable(stopDuring(window, dialogs, go, 300).text()));
    window.session().stop.clear();
    dialogs.warnings.clear();
    QApplication::processEvents();
}

// Three timings of wall and processor time: the first, and their medians. On a busy machine
// the processor time says more than the wall time.
struct Timing {
    qint64 wall;
    qint64 cpu;
};
struct Timings {
    Timing first;
    Timing median;
};
template <typename F> Timings threeTimings(F &&timed)
{
    std::vector<Timing> t;
    for (int round = 0; round < 3; ++round)
        t.push_back(timed());
    Timings result{t.front(), {}};
    std::sort(t.begin(), t.end(), [](Timing a, Timing b) { return a.wall < b.wall; });
    result.median.wall = t[1].wall;
    std::sort(t.begin(), t.end(), [](Timing a, Timing b) { return a.cpu < b.cpu; });
    result.median.cpu = t[1].cpu;
    return result;
}

// Processor time used so far, in ms: this process's, or that of its children that ended.
qint64 usedCpuMs(bool children = false)
{
    rusage use{};
    getrusage(children ? RUSAGE_CHILDREN : RUSAGE_SELF, &use);
    return (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1000 +
           (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1000;
}

// "Find / Replace": Replace All of a word on every line beside sed on the same text, in the
// same run, and Find from the top to the one hit at the end of the text.
void benchFindReplace(MainWindow &window, const QStringList &lines, const QTemporaryDir &home)
{
    auto *fr = window.findChild<FindReplaceWindow *>();
    TextPane *area = window.workArea();
    QStringList paid;
    paid.reserve(lines.size());
    QByteArray file;
    for (const QString &line : lines) {
        paid.append(line.left(30) + u"PAID "_s + line.mid(30));
        file += paid.back().toUtf8() + '\n';
    }
    const QString path = home.filePath(u"paid.txt"_s);
    if (QFile f(path); f.open(QIODevice::WriteOnly))
        f.write(file);
    std::printf("text: %lld lines, %.1f MB\n", qint64(paid.size()), file.size() / 1e6);

    const Timing sed = threeTimings([&] {
                           QProcess p;
                           QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                           env.insert(u"LC_ALL"_s, u"C"_s); // sed at its fastest
                           // and on the allocator's pages a shell gives it, not on those this
                           // process started itself over with
                           env.remove(u"GLIBC_TUNABLES"_s);
                           p.setProcessEnvironment(env);
                           p.setStandardOutputFile(QProcess::nullDevice());
                           const qint64 cpu = usedCpuMs(true);
                           // Timed from sed's start: starting a process from this large
                           // one costs more than from a shell, and is not sed's.
                           p.start(u"sed"_s, {u"s/PAID/paid/g"_s, path});
                           p.waitForStarted(-1);
                           QElapsedTimer t;
                           t.start();
                           p.waitForFinished(-1);
                           return Timing{t.elapsed(), usedCpuMs(true) - cpu};
                       }).median;
    fr->start();
    fr->findField()->setText(u"PAID"_s);
    fr->replaceBox()->setChecked(true);
    fr->replaceField()->setText(u"paid"_s);
    double peak = 0;
    for (bool matchCase : {false, true}) {
        fr->matchCase()->setChecked(matchCase);
        bool replaced = true;
        const Timings ms = threeTimings([&] {
            area->setLines(paid);
            QApplication::processEvents();
            // The text before is let go of on another thread, as a user would wait for it.
            QThreadPool::globalInstance()->waitForDone();
            const double before = statusMb("VmRSS");
            resetPeakMemory();
            const qint64 cpu = usedCpuMs();
            QElapsedTimer t;
            t.start();
            fr->replaceAll();
            QApplication::processEvents();
            const Timing took{t.elapsed(), usedCpuMs() - cpu};
            peak = std::max(peak, statusMb("VmHWM") - before);
            replaced = replaced && area->store().row(999999).contains(u"paid"_s) &&
                       !area->store().row(0).contains(u"PAID"_s);
            return took;
        });
        // The first press in a process also pays for fresh memory for the new rows.
        std::printf("Replace All PAID -> paid%s: first %5lld ms (cpu %lld), median %5lld ms "
                    "(cpu %lld); sed 's/PAID/paid/g' (LC_ALL=C) median %5lld ms (cpu %lld); "
                    "ratio %.2f (cpu %.2f), first %.2f (cpu %.2f)%s\n",
                    matchCase ? " (Match Case)" : "", ms.first.wall, ms.first.cpu, ms.median.wall,
                    ms.median.cpu, sed.wall, sed.cpu, double(ms.median.wall) / sed.wall,
                    double(ms.median.cpu) / sed.cpu, double(ms.first.wall) / sed.wall,
                    double(ms.first.cpu) / sed.cpu, replaced ? "" : "  (NOT replaced)");
    }

    std::printf("  memory: the run's peak above the text it found %.0f MB\n", peak);

    QStringList ending = lines;
    ending.last() += u" ZEBRA"_s;
    area->setLines(ending);
    fr->findField()->setText(u"zebra"_s);
    for (bool matchCase : {false, true}) {
        fr->matchCase()->setChecked(matchCase);
        fr->findField()->setText(matchCase ? u"ZEBRA"_s : u"zebra"_s);
        bool found = true;
        const qint64 ms = threeTimings([&] {
                              area->moveCaretToOffset(0);
                              QElapsedTimer t;
                              t.start();
                              fr->find();
                              const qint64 elapsed = t.elapsed();
                              found = found && area->caret().row == lines.size() - 1;
                              return Timing{elapsed, 0};
                          }).median.wall;
        std::printf("Find from the top to the hit at the end of %.0f MB%s: %4lld ms%s\n",
                    area->store().length() / 1e6, matchCase ? " (Match Case)" : "", ms,
                    found ? "" : "  (NOT found)");
    }
    fr->close();
}

} // namespace

// "Print" to a PDF file: 10,000 lines whole, then 1,000,000 lines cancelled after a second,
// as the progress box's "Cancel" would; a cancelled printout leaves no file.
void benchPrint(MainWindow &window, SilentDialogs &dialogs, const QStringList &lines)
{
    QTemporaryDir folder;
    dialogs.printTo = folder.filePath(u"out.pdf"_s);
    QAction *print = window.findChild<QAction *>(u"Print"_s);
    QElapsedTimer timer;
    for (const qsizetype count : {qsizetype(10000), lines.size()}) {
        window.workArea()->setLines(lines.mid(0, count));
        QFile::remove(dialogs.printTo);
        bool progressShown = false;
        qint64 cancelledAt = -1;
        QTimer poll;
        // The box appears after half a second; a large printout is cancelled once it shows.
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *box = window.findChild<QProgressDialog *>();
            if (!box || !box->isVisible() || cancelledAt >= 0)
                return;
            progressShown = true;
            if (count > 10000 && timer.elapsed() > 1000) {
                cancelledAt = timer.elapsed();
                box->cancel();
            }
        });
        poll.start(5);
        timer.start();
        print->trigger();
        const qint64 ms = timer.elapsed();
        poll.stop();
        if (cancelledAt < 0)
            std::printf("print %7lld lines to PDF:        %6lld ms, %lld KiB%s\n", qint64(count),
                        ms, QFileInfo(dialogs.printTo).size() / 1024,
                        progressShown ? ", progress shown" : "");
        else
            std::printf(
                "print %7lld lines to PDF: progress %s, cancelled at %lld ms, ended %lld ms "
                "after; %s\n",
                qint64(count), progressShown ? "shown" : "NOT shown", cancelledAt, ms - cancelledAt,
                QFile::exists(dialogs.printTo) ? "a file WAS left" : "no file left");
    }
}

int main(int argc, char *argv[])
{
    restartWithHugePages(argv); // as the program does
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("PLINTEX_HOME", home.path().toLocal8Bit());

    const QStringList lines = benchLines();
    if (app.arguments().contains(u"--pane"_s)) { // the text pane's rows alone
        benchPane(lines);
        return 0;
    }

    SilentDialogs dialogs;
    MainWindow window(dialogs);
    window.show();
    QApplication::processEvents();

    if (app.arguments().contains(u"--find-replace"_s)) {
        benchFindReplace(window, lines, home);
        return 0;
    }
    if (app.arguments().contains(u"--read-me"_s)) { // "Read Me" alone
        benchReadMe(window, dialogs);
        return 0;
    }
    if (app.arguments().contains(u"--print"_s)) { // printing alone
        benchPrint(window, dialogs, lines);
        return 0;
    }
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

    // A run of a panel's button on the whole text, timed, then a stop click 20 ms into a second
    // run; the text is put back after each, and a click that came after its run is let go of.
    const auto timeRunAndStop = [&](ParameterPanel &p, const QString &button, const QString &label,
                                    int width) {
        timer.start();
        p.runButton(button)->click();
        QApplication::processEvents();
        const qint64 ms = timer.elapsed();
        const qsizetype rows = window.workArea()->store().lineCount();
        window.undo();
        const StopTiming stop = stopDuring(window, dialogs, p.runButton(button), 20);
        dialogs.warnings.clear();
        window.session().stop.clear();
        window.undo(); // a stop may keep what the run did
        QApplication::processEvents();
        if (stop.stopped)
            std::printf("run %-*s %6lld ms, %7lld rows; a stop ended it %lld ms after the click\n",
                        width, qPrintable(label), ms, qint64(rows), stop.afterClick);
        else
            std::printf("run %-*s %6lld ms, %7lld rows; it ended before a stop at 20 ms\n", width,
                        qPrintable(label), ms, qint64(rows));
    };

    // The row functions: one run each on the whole text, then a stop click 20 ms into a run.
    QString entries; // Replace Data with Data List's: 100,000 of them
    for (int i = 1; i <= 100000; ++i)
        entries += u"ITEM-%1\n"_s.arg(i);
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
        {u"Sort Ascending/Descending", {}, u"ascending"_s},
        {u"Sort Ascending/Descending", {{u"column"_s, u"13"_s}}, u"descending"_s},
        {u"Sort Ascending/Descending", {{u"column"_s, u"1"_s}}, u"reverse"_s},
        {u"Sort Ascending/Descending", {{u"column"_s, u"13"_s}}, u"reverse"_s},
        {u"Shuffle Data", {{u"lowerRow"_s, u"500001"_s}}, u"run"_s},
        {u"Replicate Data", {{u"copies"_s, u"2"_s}}, u"run"_s},
        {u"Mark Duplicate Lines", {}, u"mark"_s},
        {u"Mark Duplicate Lines", {{u"ignoreBlanks"_s, u"1"_s}}, u"mark"_s},
        {u"Mark Duplicate Lines", {}, u"remove"_s},
        {u"Replace Data with Data List",
         {{u"search"_s, u"item"_s}, {u"list"_s, entries}},
         u"run"_s},
        {u"Vertical Concatenation",
         {{u"lower"_s, u"500001"_s}, {u"separator"_s, u"2"_s}},
         u"run"_s},
        {u"Horizontal Concatenation",
         {{u"rows"_s, u"3"_s}, {u"separator"_s, u"1"_s}, {u"symmetrical"_s, u"1"_s}},
         u"run"_s},
        {u"Insert Incrementing Numbers", {{u"symmetrical"_s, u"1"_s}}, u"run"_s},
        {u"Insert Incrementing Letters", {{u"step"_s, u"50"_s}}, u"run"_s},
    };
    // "--only=NAME" times the row functions whose name holds NAME and nothing else, for a quick
    // look at one function on a quiet machine.
    const QString only = app.arguments().filter(u"--only="_s).value(0).mid(7);
    for (const auto &r : rowRuns) {
        if (!QStringView(r.name).contains(only))
            continue;
        const FunctionEntry *f = catalogue().byName(QStringView(r.name));
        if (window.panel(f->number)->isHidden())
            window.functionBar()->button(f->number)->click();
        ParameterPanel *p = window.panel(f->number);
        for (const auto &[key, value] : r.params)
            p->setValue(key, value);
        timeRunAndStop(*p, r.button,
                       u'"' + f->name + u'"' + (r.button == u"run" ? QString() : u' ' + r.button),
                       46);
    }
    if (!only.isEmpty())
        return 0;

    // Insert CR takes its width from the caret and has no stop test: one run, lines broken at 40.
    {
        const FunctionEntry *f = catalogue().byName(u"Insert CR");
        window.functionBar()->button(f->number)->click();
        window.workArea()->setCaret({0, 39});
        timer.start();
        window.panel(f->number)->runButton(u"run"_s)->click();
        QApplication::processEvents();
        std::printf("run %-34s %6lld ms, %7lld rows\n", "\"Insert CR\"", timer.elapsed(),
                    qint64(window.workArea()->store().lineCount()));
        window.undo();
    }

    // The clean-up functions: each routine of "Special Routines" and "Html Realign" on the whole
    // text, then a stop click 20 ms into a run of it (some routines cannot be stopped).
    const struct {
        const char16_t *name;
        QString button;
        QString each;
    } cleanupRuns[] = {
        {u"Special Routines", u"capitals"_s, u"word"_s},
        {u"Special Routines", u"small"_s, u"word"_s},
        {u"Special Routines", u"capitalise"_s, u"word"_s},
        {u"Special Routines", u"capitalise"_s, u"sentence"_s},
        {u"Special Routines", u"letters"_s, u"word"_s},
        {u"Special Routines", u"digits"_s, u"word"_s},
        {u"Special Routines", u"special"_s, u"word"_s},
        {u"Special Routines", u"tags"_s, u"word"_s},
        {u"Special Routines", u"blanks"_s, u"word"_s},
        {u"Special Routines", u"count"_s, u"word"_s},
        {u"Html Realign", u"run"_s, {}},
    };
    for (const auto &r : cleanupRuns) {
        const FunctionEntry *f = catalogue().byName(QStringView(r.name));
        if (window.panel(f->number)->isHidden())
            window.functionBar()->button(f->number)->click();
        ParameterPanel *p = window.panel(f->number);
        if (f->param(u"each"_s))
            p->setValue(u"each"_s, r.each);
        const QString label = u'"' + f->name + u"\" "_s + r.button +
                              (r.button == u"capitalise"_s ? u' ' + r.each : QString());
        timeRunAndStop(*p, r.button, label, 38);
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
        // A block as long as the text: reading its field must cost no more than its text.
        {74,
         "Insert a Column, 1,000,000-line block",
         {{u"block"_s, u"x\n"_s.repeated(1000000)}, {u"column"_s, u"10"_s}}},
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
        QApplication::processEvents(); // the fields are filled before the click, as by a user
        QAbstractButton *go = p->runButton(u"run"_s);
        timer.start();
        go->click();
        QApplication::processEvents();
        const qint64 ms = timer.elapsed();
        const bool refused = !dialogs.warnings.isEmpty();
        window.undo();
        dialogs.warnings.clear();
        // The click comes a third into a run as long as the one just timed.
        const StopTiming stop = stopDuring(window, dialogs, go, std::max<qint64>(ms / 3, 1));
        std::printf("run %-26s %6lld ms%s; stop %s\n", c.name, ms, refused ? " (refused)" : "",
                    qPrintable(stop.text()));
        if (!stop.stopped)
            window.undo();
        window.session().stop.clear();
        dialogs.warnings.clear();
        QApplication::processEvents();
    }

    // The file functions on a 200 MB file: the run's time, how often the bar moved while it
    // went (the window kept answering), and a stop click 50 ms into a second run.
    const QString record = home.filePath(u"record.bin"_s), records = home.filePath(u"out.bin"_s);
    if (QFile file(record); file.open(QIODevice::WriteOnly)) {
        const QByteArray chunk =
            "The quick brown fox jumps over the lazy dog. A 0123456789 "_ba.repeated(1 << 14);
        while (file.size() < 200'000'000)
            file.write(chunk);
    }
    const struct {
        const char16_t *name;
        QList<std::pair<QString, QString>> params;
    } fileRuns[] = {
        {u"Break Up File", {{u"length"_s, u"80"_s}}},
        {u"Replace Byte in File", {{u"find"_s, u"A"_s}, {u"replace"_s, u"B"_s}}},
    };
    for (const auto &r : fileRuns) {
        const FunctionEntry *f = catalogue().byName(QStringView(r.name));
        window.functionBar()->button(f->number)->click();
        ParameterPanel *p = window.panel(f->number);
        p->setValue(u"input"_s, record);
        p->setValue(u"output"_s, records);
        for (const auto &[key, value] : r.params)
            p->setValue(key, value);
        int moves = 0;
        double last = -1;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const double at = p->barGauge()->position();
            moves += at != last;
            last = at;
        });
        watch.start(10);
        timer.start();
        p->runButton(u"run"_s)->click();
        const qint64 ms = timer.elapsed();
        watch.stop();
        qint64 clickedAt = -1;
        timer.start();
        QTimer::singleShot(50, [&] {
            clickedAt = timer.elapsed();
            window.session().stop.request();
        });
        p->runButton(u"run"_s)->click();
        const qint64 endedAt = timer.elapsed();
        const bool stopped = dialogs.warnings.contains(u"Processing stopped!"_s);
        std::printf("run %-26s %6lld ms for %.0f MB, the bar moved %d times; stop %s %lld ms "
                    "after the click%s\n",
                    qPrintable(f->name), ms, QFileInfo(record).size() / 1e6, moves, "ended the run",
                    clickedAt < 0 ? -1 : endedAt - clickedAt, stopped ? "" : " (not stopped)");
        window.session().stop.clear();
        dialogs.warnings.clear();
        QApplication::processEvents();
    }
    QFile::remove(record);
    QFile::remove(records);

    // The panes that take the work area's place, opened and closed with the whole text in the
    // work area; then a delimiter run on its pane and a stop click 30 ms into a second run.
    {
        const auto timed = [&timer](const auto &action) {
            timer.start();
            action();
            QApplication::processEvents();
            return timer.elapsed();
        };
        QToolButton *pad = window.scratchPad()->toggle();
        const qint64 padOpen = timed([&] { pad->click(); });
        const qint64 padClose = timed([&] { pad->click(); });
        std::printf("scratch pad: open %6lld ms, close %6lld ms\n", padOpen, padClose);
        window.functionBar()->button(10)->click();
        QAction *examples = window.examples()->toggle();
        const qint64 examplesOpen = timed([&] { examples->trigger(); });
        const qint64 examplesClose = timed([&] { examples->trigger(); });
        std::printf("examples panel: open %6lld ms, close %6lld ms\n", examplesOpen, examplesClose);

        QToolButton *sheet = window.functionBar()->button(79);
        const qint64 handOver = timed([&] { sheet->click(); });
        TextPane *own = window.panes()->runTarget();
        ParameterPanel *p = window.panel(79);
        p->setValue(u"column"_s, u"13"_s);
        QAbstractButton *go = p->runButton(u"run"_s);
        const qint64 ms = timed([&] { go->click(); });
        const bool inserted = own->store().row(0).at(12) == u'\t';
        window.undo();
        const StopTiming stop = stopDuring(window, dialogs, go, 30);
        window.undo();
        window.session().stop.clear();
        dialogs.warnings.clear();
        const qint64 handBack = timed([&] { sheet->click(); });
        std::printf("run \"Insert Spread Sheet Delimiter\"     %6lld ms%s; stop %s\n", ms,
                    inserted ? "" : "  (NOT inserted)", qPrintable(stop.text()));
        std::printf("delimiter pane: open %6lld ms, close %6lld ms, %lld lines back\n", handOver,
                    handBack, qint64(window.workArea()->store().lineCount()));
        window.functionBar()->button(10)->click();
    }

    // A stop click, delivered by a timer through the run's own event pump. Selecting the
    // function again above reset its field.
    static_cast<HistoryComboBox *>(panel->control(u"data"_s))->setEditText(u"INSERTED "_s);
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

    // A click whose run ended first stays latched, as the stop button's does; it is not meant
    // for the next run.
    QApplication::processEvents();
    QThread::msleep(300);
    QApplication::processEvents();
    window.session().stop.clear();
    benchFindReplace(window, lines, home);
    benchReadMe(window, dialogs);
    benchPrint(window, dialogs, lines);
    benchPane(lines);
    return 0;
}
