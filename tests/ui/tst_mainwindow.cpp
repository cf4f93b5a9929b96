#include "fakedialogs.h"
#include "testfiles.h"

#include "ops/registry.h"
#include "ui/caretmenu.h"
#include "ui/controls/historycombobox.h"
#include "ui/controls/numberfield.h"
#include "ui/controls/piegauge.h"
#include "ui/documentactions.h"
#include "ui/functionbar.h"
#include "ui/mainwindow.h"
#include "ui/panel/parameterpanel.h"
#include "ui/restraintstrip.h"
#include "ui/runprogress.h"
#include "ui/statuspanels.h"
#include "ui/textpane.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

constexpr int kInsertIntoColumn = 10;
constexpr int kDeleteRetainColumn = 2;
constexpr int kCopyMove = 75;
constexpr int kSort = 28;

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithNothingSelected();
    void clickingTwiceSelectsThenDeselects();
    void dropDownAliasSelectsTheSameFunction();
    void dropDownKeepsItsOwnCaption();
    void functionNotBuiltHasAnEmptyPanel();
    void hoverNamesOnlyWhileNothingIsPressed();
    void runInsertsAndWritesTheBandBack();
    void refusalWritesTheBandBackAndKeepsTheText();
    void stopClickedWhileIdleStopsTheNextRun();
    void undoRestoresTheTextTwice();
    void undoBeforeAnyRunKeepsTheText();
    void firstChangeIsSwallowedLaterOnesMarkModified();
    void caretTrackingFollowsKeysAndMouse();
    void caretMenuFillsParameters();
    void caretMenuEntriesPerFunction();
    void noCaretMenuWithoutFunction();
    void historyRemembersRunsAndDeletes();
    void unwritableSystemFolderStillRuns();
    void numericFieldDoubleClickRestoresDefault();
    void restraintStripDoubleClickClears();
    void windowKeepsItsWidthForEveryPanel();
    void tabFollowsTheScreen();
    void statusShowsTheTrueCaretUncut();
    void hoverNameGoesWhenThePointerLeaves();
    void textActionsWaitForARun();

private:
    TextPane *pane() const { return m_window->workArea(); }
    void click(int functionNumber);
    void run(int functionNumber);
    void setLines(const QStringList &lines);
    CaretMenu *openCaretMenu(std::function<void(CaretMenu *)> whileOpen = {});

    QTemporaryDir m_home;
    FakeDialogs m_dialogs;
    MainWindow *m_window = nullptr;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("PLINTEX_HOME", m_home.path().toLocal8Bit());
    QVERIFY(testing::writeFile(m_home.filePath(u"prefs.plx"_s), "10\r\n8\r\n5\r\n"));
    QVERIFY(testing::writeFile(m_home.filePath(u"rmdat.plx"_s), "a;b\r\n"));
}

void TestMainWindow::init()
{
    m_dialogs.reset();
    m_window = new MainWindow(m_dialogs);
    QVERIFY(m_window->startUp());
    m_window->show();
    m_window->activated();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestMainWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
    QVERIFY2(m_dialogs.answers.empty(), "a queued answer was not used");
}

void TestMainWindow::click(int functionNumber)
{
    QTest::mouseClick(m_window->functionBar()->button(functionNumber), Qt::LeftButton);
}

void TestMainWindow::run(int functionNumber)
{
    QAbstractButton *button = m_window->panel(functionNumber)->runButton(u"run"_s);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestMainWindow::setLines(const QStringList &lines)
{
    pane()->setLines(lines);
}

CaretMenu *TestMainWindow::openCaretMenu(std::function<void(CaretMenu *)> whileOpen)
{
    CaretMenu *seen = nullptr;
    // A timer of this scope: when no menu opens, it dies unfired with the scope.
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [&] {
        seen = qobject_cast<CaretMenu *>(QApplication::activePopupWidget());
        if (seen) {
            if (whileOpen)
                whileOpen(seen);
            seen->close();
        }
    });
    timer.start(0);
    Q_EMIT pane()->contextMenuRequested(pane()->mapToGlobal(QPoint(20, 20)));
    return seen;
}

void TestMainWindow::startsWithNothingSelected()
{
    QCOMPARE(m_window->windowTitle(), u"Plintex v7.08"_s);
    QVERIFY(!m_window->functionBar()->anyPressed());
    QVERIFY(!m_window->selectedFunction());
    QVERIFY(m_window->stopButton()->isHidden());
    QVERIFY(m_window->restraintStrip()->isHidden());
    QVERIFY(m_window->processingNotice()->isHidden());
    QVERIFY(m_window->gauge()->isHidden());
    QCOMPARE(m_window->functionDropDown()->count(), 36);
    const QStringList panels{u"Row = 1"_s, u"Col = 1"_s, u"Total Chr = ?"_s, u"Total Blk = ?"_s,
                             u"Total Chr to Cursor = ?"_s};
    for (int i = 0; i < panels.size(); ++i)
        QCOMPARE(m_window->statusPanels()->panelText(i + 1), panels[i]);
}

void TestMainWindow::clickingTwiceSelectsThenDeselects()
{
    click(kInsertIntoColumn);
    QCOMPARE(m_window->selectedFunction()->number, kInsertIntoColumn);
    QVERIFY(m_window->restraintStrip()->isVisible());
    QVERIFY(m_window->stopButton()->isVisible());
    QVERIFY(m_window->caretMenuEnabled());
    QCOMPARE(m_window->functionDropDown()->currentText(), u"Insert Into Column"_s);

    auto *column =
        static_cast<NumberField *>(m_window->panel(kInsertIntoColumn)->control(u"column"_s));
    column->setText(u"12"_s);
    m_window->restraintStrip()->setFrom(3);

    click(kInsertIntoColumn);
    QVERIFY(!m_window->selectedFunction());
    QVERIFY(m_window->stopButton()->isHidden());
    QVERIFY(m_window->restraintStrip()->isHidden());
    QVERIFY(!m_window->caretMenuEnabled());
    QCOMPARE(column->text(), u"1"_s); // back at its default
    QCOMPARE(m_window->restraintStrip()->fromField()->text(), u"0"_s);

    // Another function's button raises the first.
    click(kInsertIntoColumn);
    click(kDeleteRetainColumn);
    QVERIFY(!m_window->functionBar()->button(kInsertIntoColumn)->isChecked());
    QCOMPARE(m_window->selectedFunction()->number, kDeleteRetainColumn);
    auto *del = m_window->panel(kDeleteRetainColumn)->findChild<QRadioButton *>();
    QVERIFY(del->isChecked());
    QCOMPARE(del->text(), u"Delete"_s);
}

void TestMainWindow::dropDownAliasSelectsTheSameFunction()
{
    QComboBox *dropDown = m_window->functionDropDown();
    QCOMPARE(dropDown->itemText(29), u"Retain/Delete Column"_s);
    dropDown->setCurrentIndex(29);
    Q_EMIT dropDown->activated(29);
    QVERIFY(m_window->functionBar()->button(kDeleteRetainColumn)->isChecked());
    QCOMPARE(m_window->selectedFunction()->number, kDeleteRetainColumn);
    QCOMPARE(dropDown->currentText(), u"Delete/Retain Column"_s);
}

void TestMainWindow::dropDownKeepsItsOwnCaption()
{
    QComboBox *dropDown = m_window->functionDropDown();
    dropDown->setCurrentIndex(27);
    Q_EMIT dropDown->activated(27);
    QCOMPARE(dropDown->currentText(), u"Replace Line per Data"_s);
    QCOMPARE(m_window->selectedFunction()->name, u"Replace Line per Data"_s);
}

void TestMainWindow::functionNotBuiltHasAnEmptyPanel()
{
    click(kSort);
    ParameterPanel *panel = m_window->panel(kSort);
    QVERIFY(panel->isVisible());
    QVERIFY(panel->findChildren<QAbstractButton *>().isEmpty());
    QVERIFY(panel->findChildren<QLineEdit *>().isEmpty());
}

void TestMainWindow::hoverNamesOnlyWhileNothingIsPressed()
{
    QToolButton *button = m_window->functionBar()->button(kDeleteRetainColumn);
    QLineEdit *edit = m_window->functionDropDown()->lineEdit();
    const QPoint middle = button->rect().center();
    QTest::mouseMove(button, middle);
    QCOMPARE(edit->text(), u"Delete/Retain Column"_s);
    QTest::mouseMove(button, QPoint(3, middle.y())); // within 5 pixels of the edge
    QCOMPARE(edit->text(), QString());

    m_window->setHintsShown(false);
    QTest::mouseMove(button, middle);
    QCOMPARE(edit->text(), QString());
    m_window->setHintsShown(true);

    click(kInsertIntoColumn);
    QTest::mouseMove(button, middle);
    QCOMPARE(edit->text(), u"Insert Into Column"_s); // unchanged while a function is selected
}

void TestMainWindow::runInsertsAndWritesTheBandBack()
{
    setLines({u"1234567890"_s, u"abc"_s, QString()});
    click(kInsertIntoColumn);
    ParameterPanel *panel = m_window->panel(kInsertIntoColumn);
    static_cast<HistoryComboBox *>(panel->control(u"data"_s))->setEditText(u"INSERTED DATA"_s);
    static_cast<NumberField *>(panel->control(u"column"_s))->setText(u"7"_s);
    m_window->restraintStrip()->setFrom(2);
    m_window->restraintStrip()->setTo(2); // cleared by "Auto reset"
    run(kInsertIntoColumn);

    QCOMPARE(m_dialogs.warnings, QStringList());
    QCOMPARE(pane()->lines(), (QStringList{u"123456INSERTED DATA7890"_s, u"abcINSERTED DATA"_s,
                                           u"INSERTED DATA"_s}));
    QCOMPARE(m_window->restraintStrip()->fromField()->text(), u"1"_s);
    QCOMPARE(m_window->restraintStrip()->toField()->text(), u"3"_s);
    QCOMPARE(pane()->selectionStart(), pane()->store().offsetOfRow(2)); // start of the last row
    QVERIFY(m_window->session().flags.modified);
    QVERIFY(!m_window->session().flags.processing);
    QVERIFY(m_window->processingNotice()->isHidden());
    QVERIFY(m_window->gauge()->isHidden());
    QCOMPARE(m_window->statusPanels()->panelText(3), u"Total Chr = ?"_s);

    // Without "Auto reset" the band holds.
    setLines({u"a"_s, u"b"_s, u"c"_s, u"d"_s});
    m_window->restraintStrip()->autoReset()->setChecked(false);
    m_window->restraintStrip()->setFrom(2);
    m_window->restraintStrip()->setTo(500);
    static_cast<HistoryComboBox *>(panel->control(u"data"_s))->setEditText(u"-"_s);
    static_cast<NumberField *>(panel->control(u"column"_s))->setText(u"1"_s);
    run(kInsertIntoColumn);
    QCOMPARE(pane()->lines(), (QStringList{u"a"_s, u"-b"_s, u"-c"_s, u"-d"_s}));
    QCOMPARE(m_window->restraintStrip()->toField()->text(), u"4"_s);
}

void TestMainWindow::refusalWritesTheBandBackAndKeepsTheText()
{
    setLines({u"only line"_s});
    click(kDeleteRetainColumn);
    run(kDeleteRetainColumn);
    QCOMPARE(m_dialogs.warnings,
             QStringList{u"Row restraint To position must\rbe greater than From position."_s});
    QCOMPARE(pane()->lines(), QStringList{u"only line"_s});
    QCOMPARE(m_window->restraintStrip()->fromField()->text(), u"1"_s);
    QCOMPARE(m_window->restraintStrip()->toField()->text(), u"1"_s);
    QCOMPARE(m_window->session().undo.lines(),
             std::optional<QStringList>(QStringList{u"only line"_s}));
    QVERIFY(!m_window->session().flags.processing);
}

void TestMainWindow::stopClickedWhileIdleStopsTheNextRun()
{
    setLines({u"abc"_s, u"def"_s});
    click(kInsertIntoColumn);
    static_cast<HistoryComboBox *>(m_window->panel(kInsertIntoColumn)->control(u"data"_s))
        ->setEditText(u"X"_s);
    QTest::mouseClick(m_window->stopButton(), Qt::LeftButton);
    run(kInsertIntoColumn);
    QCOMPARE(m_dialogs.warnings, QStringList{u"Processing stopped!"_s});
    QCOMPARE(pane()->lines(), (QStringList{u"abc"_s, u"def"_s}));
    QVERIFY(!m_window->session().stop.isSet());
    QVERIFY(m_window->processingNotice()->isHidden());
    QVERIFY(m_window->gauge()->isHidden());

    // The latch is spent: the next run goes through. The toolbar's stop works the same way.
    run(kInsertIntoColumn);
    QCOMPARE(pane()->lines(), (QStringList{u"Xabc"_s, u"Xdef"_s}));
    m_window->toolbarAction(ToolbarAction::Stop)->trigger();
    run(kInsertIntoColumn);
    QCOMPARE(m_dialogs.warnings.size(), 2);
    QCOMPARE(pane()->lines(), (QStringList{u"Xabc"_s, u"Xdef"_s}));
}

void TestMainWindow::undoRestoresTheTextTwice()
{
    setLines({u"abc"_s, u"def"_s});
    click(kDeleteRetainColumn);
    static_cast<NumberField *>(m_window->panel(kDeleteRetainColumn)->control(u"end"_s))
        ->setText(u"3"_s);
    run(kDeleteRetainColumn);
    QCOMPARE(pane()->lines(), (QStringList{u"c"_s, u"f"_s}));
    m_window->toolbarAction(ToolbarAction::Undo)->trigger();
    QCOMPARE(pane()->lines(), (QStringList{u"abc"_s, u"def"_s}));
    QCOMPARE(pane()->selectionStart(), 0);
    pane()->setLines({u"typed over"_s});
    m_window->toolbarAction(ToolbarAction::Undo)->trigger();
    QCOMPARE(pane()->lines(), (QStringList{u"abc"_s, u"def"_s}));
}

void TestMainWindow::undoBeforeAnyRunKeepsTheText()
{
    pane()->setText(u"pasted text\nstill here"_s);
    m_window->toolbarAction(ToolbarAction::Undo)->trigger();
    QCOMPARE(pane()->text(), u"pasted text\nstill here"_s);
}

void TestMainWindow::firstChangeIsSwallowedLaterOnesMarkModified()
{
    // Creating the window already gave the pane its first change.
    QVERIFY(m_window->session().flags.firstChange);
    QVERIFY(!m_window->session().flags.modified);
    pane()->setFocus();
    QTest::keyClicks(pane(), u"x"_s);
    QVERIFY(m_window->session().flags.modified);
}

void TestMainWindow::caretTrackingFollowsKeysAndMouse()
{
    pane()->setLines({u"first"_s, u"second line of twelve"_s.left(12), QString()});
    pane()->setFocus();
    pane()->moveCaretToOffset(pane()->store().offsetOf({1, 12}));
    QTest::keyClick(pane(), Qt::Key_Shift); // a key event tracks the caret
    QCOMPARE(m_window->statusPanels()->panelText(1), u"Row = 2"_s);
    QCOMPARE(m_window->statusPanels()->panelText(2), u"Col = 13"_s);
    QTest::keyClick(pane(), Qt::Key_Up);
    QCOMPARE(m_window->statusPanels()->panelText(1), u"Row = 1"_s);
    QCOMPARE(m_window->session().caret.row, 0);

    pane()->setText(QString());
    QTest::mouseClick(pane()->viewport(), Qt::LeftButton, {}, QPoint(30, 5));
    QCOMPARE(m_window->statusPanels()->panelText(1), u"Row = 1"_s);
    QCOMPARE(m_window->statusPanels()->panelText(2), u"Col = 1"_s);
    QCOMPARE(m_window->statusPanels()->panelText(5), u"Total Chr to Cursor = ?"_s);
}

void TestMainWindow::caretMenuFillsParameters()
{
    QStringList lines;
    for (int i = 0; i < 6; ++i)
        lines += u"0123456789abcdef"_s;
    pane()->setLines(lines);
    click(kInsertIntoColumn);
    pane()->setFocus();
    pane()->moveCaretToOffset(pane()->store().offsetOf({3, 8}));
    QTest::keyClick(pane(), Qt::Key_Shift);

    for (const MenuEntry entry : {MenuEntry::BeginColumn, MenuEntry::BeginRow, MenuEntry::EndRow}) {
        const CaretMenu *menu =
            openCaretMenu([entry](CaretMenu *m) { m->entryAction(entry)->trigger(); });
        QVERIFY(menu);
    }
    QCOMPARE(static_cast<NumberField *>(m_window->panel(kInsertIntoColumn)->control(u"column"_s))
                 ->text(),
             u"9"_s);
    QCOMPARE(m_window->restraintStrip()->fromField()->text(), u"4"_s);
    QCOMPARE(m_window->restraintStrip()->toField()->text(), u"4"_s);
}

void TestMainWindow::caretMenuEntriesPerFunction()
{
    click(kInsertIntoColumn);
    openCaretMenu([](CaretMenu *m) {
        QVERIFY(m->entryAction(MenuEntry::BeginColumn)->isEnabled());
        QVERIFY(!m->entryAction(MenuEntry::EndColumn)->isEnabled());
        QCOMPARE(m->entryAction(MenuEntry::EndRow)->text(), u"End    Row"_s);
    });
    click(kCopyMove);
    openCaretMenu([](CaretMenu *m) {
        QCOMPARE(m->entryAction(MenuEntry::BeginRow)->text(), u"To Column"_s);
        QVERIFY(!m->entryAction(MenuEntry::EndRow));
    });
    click(kSort);
    openCaretMenu([](CaretMenu *m) {
        QVERIFY(m->entryAction(MenuEntry::BeginColumn));
        QVERIFY(!m->entryAction(MenuEntry::EndColumn));
        QVERIFY(!m->entryAction(MenuEntry::BeginRow));
    });
}

void TestMainWindow::noCaretMenuWithoutFunction()
{
    QVERIFY(!openCaretMenu());
    click(kInsertIntoColumn);
    click(kInsertIntoColumn);
    QVERIFY(!openCaretMenu());
}

void TestMainWindow::historyRemembersRunsAndDeletes()
{
    const QString file = m_home.filePath(u"system/combo5.plx"_s);
    QFile::remove(file);
    setLines({u"a"_s, u"b"_s});
    click(kInsertIntoColumn);
    QVERIFY(QFile::exists(file)); // created empty when the function is selected
    auto *box =
        static_cast<HistoryComboBox *>(m_window->panel(kInsertIntoColumn)->control(u"data"_s));
    for (const QString &text : {u"one"_s, u"two"_s, u"one"_s}) {
        box->setEditText(text);
        run(kInsertIntoColumn);
    }
    QCOMPARE(box->entries(), (QStringList{u"two"_s, u"one"_s}));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("two\r\none\r\n"));
    f.close();

    // Reselecting loads the file again.
    click(kInsertIntoColumn);
    click(kInsertIntoColumn);
    QCOMPARE(box->entries(), (QStringList{u"two"_s, u"one"_s}));
    QCOMPARE(box->currentText(), QString());

    box->setEditText(u"two"_s);
    QCOMPARE(box->chosenIndex(), 0);
    Q_EMIT box->deleteFromListRequested();
    QCOMPARE(box->entries(), QStringList{u"one"_s});
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("one\r\n"));
}

void TestMainWindow::unwritableSystemFolderStillRuns()
{
    QTemporaryDir home;
    QFile blocker(home.filePath(u"system"_s)); // a file where the folder should be
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("PLINTEX_HOME", home.path().toLocal8Bit());
    FakeDialogs dialogs;
    MainWindow window(dialogs);
    qputenv("PLINTEX_HOME", m_home.path().toLocal8Bit());
    window.workArea()->setLines({u"a"_s, u"b"_s});
    QTest::mouseClick(window.functionBar()->button(kInsertIntoColumn), Qt::LeftButton);
    static_cast<HistoryComboBox *>(window.panel(kInsertIntoColumn)->control(u"data"_s))
        ->setEditText(u">"_s);
    QTest::mouseClick(window.panel(kInsertIntoColumn)->runButton(u"run"_s), Qt::LeftButton);
    QTest::mouseClick(window.panel(kInsertIntoColumn)->runButton(u"run"_s), Qt::LeftButton);
    QCOMPARE(window.workArea()->lines(), (QStringList{u">>a"_s, u">>b"_s}));
    // Told once for the session, naming the folder; the runs still work.
    QCOMPARE(dialogs.warnings.size(), 1);
    QVERIFY2(dialogs.warnings.front().startsWith(u"Settings cannot be saved in "_s + home.path()),
             qPrintable(dialogs.warnings.front()));
}

void TestMainWindow::numericFieldDoubleClickRestoresDefault()
{
    click(kDeleteRetainColumn);
    auto *start =
        static_cast<NumberField *>(m_window->panel(kDeleteRetainColumn)->control(u"start"_s));
    start->setText(u"42"_s);
    QTest::mouseDClick(start, Qt::LeftButton);
    QCOMPARE(start->text(), u"1"_s);
    start->clear();
    QCOMPARE(start->value(), 0);
    QTest::keyClicks(start, u"a1b2"_s);
    QCOMPARE(start->text(), u"12"_s);
}

void TestMainWindow::restraintStripDoubleClickClears()
{
    click(kInsertIntoColumn);
    RestraintStrip *strip = m_window->restraintStrip();
    strip->setFrom(4);
    strip->setTo(9);
    QTest::mouseDClick(strip, Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(strip->fromField()->text(), u"0"_s);
    QCOMPARE(strip->toField()->text(), u"0"_s);
    strip->setFrom(4);
    QTest::mouseClick(strip->resetButton(), Qt::LeftButton);
    QCOMPARE(strip->fromField()->text(), u"0"_s);
}

void TestMainWindow::windowKeepsItsWidthForEveryPanel()
{
    const int width = m_window->width();
    for (const FunctionSpec &f : catalogue()) {
        click(f.number);
        QCoreApplication::processEvents();
        QVERIFY2(m_window->width() == width, qPrintable(f.name));
    }
}

namespace {

QWidget *nextTabStop(QWidget *w)
{
    do {
        w = w->nextInFocusChain();
    } while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled() ||
             w->focusProxy());
    return w;
}

} // namespace

void TestMainWindow::tabFollowsTheScreen()
{
    click(kInsertIntoColumn);
    ParameterPanel *panel = m_window->panel(kInsertIntoColumn);
    RestraintStrip *strip = m_window->restraintStrip();
    QWidget *w = panel->runButton(u"run"_s);
    const QList<QWidget *> expected{panel->control(u"data"_s),
                                    panel->control(u"column"_s),
                                    strip->fromField(),
                                    strip->toField(),
                                    strip->resetButton(),
                                    strip->autoReset(),
                                    pane()};
    for (QWidget *next : expected) {
        w = nextTabStop(w);
        QCOMPARE(w, next);
    }
}

void TestMainWindow::statusShowsTheTrueCaretUncut()
{
    setLines({u"a"_s, u"b"_s, u"c"_s});
    click(kInsertIntoColumn);
    run(kInsertIntoColumn);
    QCOMPARE(m_window->statusPanels()->panelText(1), u"Row = 3"_s);
    m_window->toTop();
    QCOMPARE(m_window->statusPanels()->panelText(1), u"Row = 1"_s);
    m_window->toBottom(); // past the final line break
    QCOMPARE(m_window->statusPanels()->panelText(1), u"Row = 4"_s);

    m_window->statusPanels()->setCaret(1234566, 0);
    QCoreApplication::processEvents();
    for (const QLabel *label : m_window->statusPanels()->findChildren<QLabel *>()) {
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        QVERIFY2(label->contentsRect().width() >= needed, qPrintable(label->text()));
    }
}

void TestMainWindow::hoverNameGoesWhenThePointerLeaves()
{
    QToolButton *button = m_window->functionBar()->button(kDeleteRetainColumn);
    QTest::mouseMove(button, QPoint(2, 2));
    QTest::mouseMove(button, button->rect().center());
    QCOMPARE(m_window->functionDropDown()->currentText(), u"Delete/Retain Column"_s);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    QCOMPARE(m_window->functionDropDown()->currentText(), QString());
}

// Clear answered while a run rewrites the text would be overwritten by the run's result: it is
// refused with a message instead, and the toolbar's text actions are greyed out meanwhile.
void TestMainWindow::textActionsWaitForARun()
{
    setLines(QStringList(200000, u"row"_s));
    click(kInsertIntoColumn);
    bool clearEnabled = true;
    QTimer::singleShot(0, this, [&] {
        clearEnabled = m_window->toolbarAction(ToolbarAction::Clear)->isEnabled();
        m_window->documents()->clear();
    });
    m_window->panel(kInsertIntoColumn)->setValue(u"data"_s, u">"_s);
    run(kInsertIntoColumn);
    QVERIFY(!clearEnabled);
    QCOMPARE(m_dialogs.warnings, QStringList{u"Processing... Stop it or wait until it ends."_s});
    QCOMPARE(pane()->store().row(0), u">row"_s);
    QVERIFY(m_window->toolbarAction(ToolbarAction::Clear)->isEnabled());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
