#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include "ui/caretmenu.h"
#include "ui/controls/historycombobox.h"
#include "ui/controls/numberfield.h"
#include "ui/controls/piegauge.h"
#include "ui/documentactions.h"
#include "ui/panel/paramcontrol.h"
#include "ui/panestack.h"
#include "ui/runprogress.h"
#include "ui/statuspanels.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidgetAction>

using namespace Qt::StringLiterals;
using namespace plintex;

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(fx.prepareHome()); }
    void init() { QVERIFY(fx.open()); }
    void cleanup() { QVERIFY2(fx.close(), "a queued answer was not used"); }

    void startsWithNothingSelectedAndSwallowsTheFirstChange();
    void clickingTwiceSelectsThenDeselects();
    void dropDown_data();
    void dropDown();
    void hoverNamesOnlyWhileNothingIsPressedAndGoOnLeaving();
    void runInsertsAndWritesTheBandBack();
    void refusalWritesTheBandBackAndKeepsTheText();
    void stopClickedWhileIdleStopsTheNextRun();
    void undoKeepsTheTextBeforeAnyRunThenRestoresItTwice();
    void paneUndoTakesARunBackAsOneStep();
    void statusShowsTheTrueCaretUncutFollowingKeysAndMouse();
    void caretMenuFillsParameters();
    void caretMenuEntriesPerFunctionNoneWithout();
    void caretMenuWorksFromTheKeyboard();
    void historyRemembersRunsAndDeletes();
    void historyBoxIsNamedByItsLabelWhateverItHolds();
    void unwritableSystemFolderStillRuns();
    void doubleClickRestoresDefaults();
    void offsetFieldTakesDigitsAndALeadingMinusOnly();
    void everyPanelFitsTheWindow();
    void tabFollowsTheScreen();
    void blockFieldTabsOnAndSelectsAllOnDoubleClick();
    void textActionsWaitForARun();

private:
    MainWindow *win() const { return fx.window; }
    TextPane *pane() const { return fx.window->workArea(); }
    RestraintStrip *strip() const { return fx.window->restraintStrip(); }
    QString status(int panel) const { return fx.window->statusPanels()->panelText(panel); }
    QStringList band() const { return {strip()->fromField()->text(), strip()->toField()->text()}; }
    const FunctionEntry &insert() { return fx.select(u"Insert Into Column"); }
    CaretMenu *openCaretMenu(std::function<void(CaretMenu *)> whileOpen = {});

    testing::WindowFixture fx;
};

CaretMenu *TestMainWindow::openCaretMenu(std::function<void(CaretMenu *)> whileOpen)
{
    CaretMenu *seen = nullptr;
    // A timer of this scope: when no menu opens, it dies unfired with the scope.
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [&] {
        auto *menu = qobject_cast<CaretMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        // A menu of the pane's editing actions alone is no caret menu.
        for (MenuEntry e : {MenuEntry::BeginColumn, MenuEntry::EndColumn, MenuEntry::BeginRow,
                            MenuEntry::EndRow}) {
            if (menu->entryAction(e))
                seen = menu;
        }
        if (seen && whileOpen)
            whileOpen(seen);
        menu->close();
    });
    timer.start(0);
    Q_EMIT pane()->contextMenuRequested(pane()->mapToGlobal(QPoint(20, 20)));
    return seen;
}

void TestMainWindow::startsWithNothingSelectedAndSwallowsTheFirstChange()
{
    QVERIFY(!win()->functionBar()->anyPressed() && !win()->selectedFunction());
    QVERIFY(win()->stopButton()->isHidden() && strip()->isHidden());
    QVERIFY(win()->processingNotice()->isHidden() && win()->gauge()->isHidden());
    QCOMPARE(win()->functionDropDown()->count(), 36);
    const QStringList panels{u"Row = 1"_s, u"Col = 1"_s, u"Total Chr = ?"_s, u"Total Blk = ?"_s,
                             u"Total Chr to Cursor = ?"_s};
    for (int i = 0; i < panels.size(); ++i)
        QCOMPARE(status(i + 1), panels[i]);
    // Creating the window already gave the pane its first change.
    QVERIFY(win()->session().flags.firstChange && !win()->session().flags.modified);
    pane()->setFocus();
    QTest::keyClicks(pane(), u"x"_s);
    QVERIFY(win()->session().flags.modified);
}

void TestMainWindow::clickingTwiceSelectsThenDeselects()
{
    const FunctionEntry &f = insert();
    QCOMPARE(win()->selectedFunction(), &f);
    QVERIFY(strip()->isVisible() && win()->stopButton()->isVisible());
    QVERIFY(win()->caretMenuEnabled());
    QCOMPARE(win()->functionDropDown()->currentText(), u"Insert Into Column"_s);
    fx.set(f, u"column"_s, u"12"_s);
    strip()->setFrom(3);

    insert();
    QVERIFY(!win()->selectedFunction() && !win()->caretMenuEnabled());
    QVERIFY(win()->stopButton()->isHidden() && strip()->isHidden());
    QCOMPARE(fx.value(f, u"column"_s), u"1"_s); // back at its default
    QCOMPARE(strip()->fromField()->text(), u"0"_s);

    // Another function's button raises the first.
    insert();
    const FunctionEntry &del = fx.select(u"Delete/Retain Column");
    QVERIFY(!win()->functionBar()->button(f.number)->isChecked());
    QCOMPARE(win()->selectedFunction(), &del);
    auto *radio = fx.panel(del).findChild<QRadioButton *>();
    QVERIFY(radio->isChecked());
    QCOMPARE(radio->text(), u"Delete"_s);
}

void TestMainWindow::dropDown_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("shown"); // the selected function's own caption
    QTest::newRow("an alias selects the same function")
        << 29 << u"Retain/Delete Column"_s << u"Delete/Retain Column"_s;
    QTest::newRow("a function keeps its own caption")
        << 27 << u"Replace Line per Data"_s << u"Replace Line per Data"_s;
}

void TestMainWindow::dropDown()
{
    QFETCH(int, index);
    QFETCH(QString, shown);
    QComboBox *dropDown = win()->functionDropDown();
    QTEST(dropDown->itemText(index), "item");
    dropDown->setCurrentIndex(index);
    Q_EMIT dropDown->activated(index);
    QCOMPARE(dropDown->currentText(), shown);
    QCOMPARE(win()->selectedFunction()->name, shown);
    QVERIFY(win()->functionBar()->button(win()->selectedFunction()->number)->isChecked());
}

void TestMainWindow::hoverNamesOnlyWhileNothingIsPressedAndGoOnLeaving()
{
    QToolButton *button =
        win()->functionBar()->button(catalogue().byName(u"Delete/Retain Column")->number);
    QLineEdit *edit = win()->functionDropDown()->lineEdit();
    const QPoint middle = button->rect().center();
    QTest::mouseMove(button, middle);
    QCOMPARE(edit->text(), u"Delete/Retain Column"_s);
    QTest::mouseMove(button, QPoint(3, middle.y())); // within 5 pixels of the edge
    QCOMPARE(edit->text(), QString());

    QTest::mouseMove(button, middle); // the name goes when the pointer leaves
    QCOMPARE(edit->text(), u"Delete/Retain Column"_s);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    QCOMPARE(edit->text(), QString());

    win()->setHintsShown(false);
    QTest::mouseMove(button, QPoint(2, 2));
    QTest::mouseMove(button, middle);
    QCOMPARE(edit->text(), QString());
    win()->setHintsShown(true);

    insert();
    QTest::mouseMove(button, middle);
    QCOMPARE(edit->text(), u"Insert Into Column"_s); // unchanged while a function is selected
}

void TestMainWindow::runInsertsAndWritesTheBandBack()
{
    pane()->setLines({u"1234567890"_s, u"abc"_s, QString()});
    const FunctionEntry &f = insert();
    fx.set(f, u"data"_s, u"INSERTED DATA"_s);
    fx.set(f, u"column"_s, u"7"_s);
    strip()->setFrom(2);
    strip()->setTo(2); // cleared by "Auto reset"
    fx.run(f);
    QCOMPARE(fx.dialogs.warnings, QStringList());
    QCOMPARE(pane()->lines(), (QStringList{u"123456INSERTED DATA7890"_s, u"abcINSERTED DATA"_s,
                                           u"INSERTED DATA"_s}));
    QCOMPARE(band(), (QStringList{u"1"_s, u"3"_s}));
    QCOMPARE(pane()->selectionStart(), pane()->store().offsetOfRow(2)); // start of the last row
    QVERIFY(win()->session().flags.modified && !win()->session().flags.processing);
    QVERIFY(win()->processingNotice()->isHidden() && win()->gauge()->isHidden());
    QCOMPARE(status(3), u"Total Chr = ?"_s);

    // Without "Auto reset" the band holds.
    pane()->setLines({u"a"_s, u"b"_s, u"c"_s, u"d"_s});
    fx.band(2, 500);
    fx.set(f, u"data"_s, u"-"_s);
    fx.set(f, u"column"_s, u"1"_s);
    fx.run(f);
    QCOMPARE(pane()->lines(), (QStringList{u"a"_s, u"-b"_s, u"-c"_s, u"-d"_s}));
    QCOMPARE(strip()->toField()->text(), u"4"_s);
}

void TestMainWindow::refusalWritesTheBandBackAndKeepsTheText()
{
    pane()->setLines({u"only line"_s});
    fx.run(fx.select(u"Delete/Retain Column"));
    QCOMPARE(fx.dialogs.warnings,
             QStringList{u"Row restraint To position must\rbe greater than From position."_s});
    QCOMPARE(pane()->lines(), QStringList{u"only line"_s});
    QCOMPARE(band(), (QStringList{u"1"_s, u"1"_s}));
    QCOMPARE(win()->session().undo.lines(), std::optional(QStringList{u"only line"_s}));
    QVERIFY(!win()->session().flags.processing);
}

void TestMainWindow::stopClickedWhileIdleStopsTheNextRun()
{
    pane()->setLines({u"abc"_s, u"def"_s});
    const FunctionEntry &f = insert();
    fx.set(f, u"data"_s, u"X"_s);
    QTest::mouseClick(win()->stopButton(), Qt::LeftButton);
    fx.run(f);
    QCOMPARE(fx.dialogs.warnings, QStringList{u"Processing stopped!"_s});
    QCOMPARE(pane()->lines(), (QStringList{u"abc"_s, u"def"_s}));
    QVERIFY(!win()->session().stop.isSet());
    QVERIFY(win()->processingNotice()->isHidden() && win()->gauge()->isHidden());

    // The latch is spent: the next run goes through. The toolbar's stop works the same way.
    fx.run(f);
    QCOMPARE(pane()->lines(), (QStringList{u"Xabc"_s, u"Xdef"_s}));
    win()->toolbarAction(ToolbarAction::Stop)->trigger();
    fx.run(f);
    QCOMPARE(fx.dialogs.warnings.size(), 2);
    QCOMPARE(pane()->lines(), (QStringList{u"Xabc"_s, u"Xdef"_s}));
}

void TestMainWindow::undoKeepsTheTextBeforeAnyRunThenRestoresItTwice()
{
    pane()->setText(u"abc\ndef"_s);
    win()->toolbarAction(ToolbarAction::Undo)->trigger();
    QCOMPARE(pane()->text(), u"abc\ndef"_s);
    const FunctionEntry &f = fx.select(u"Delete/Retain Column");
    fx.set(f, u"end"_s, u"3"_s);
    fx.run(f);
    QCOMPARE(pane()->lines(), (QStringList{u"c"_s, u"f"_s}));
    win()->toolbarAction(ToolbarAction::Undo)->trigger();
    QCOMPARE(pane()->lines(), (QStringList{u"abc"_s, u"def"_s}));
    QCOMPARE(pane()->selectionStart(), 0);
    pane()->setLines({u"typed over"_s});
    win()->toolbarAction(ToolbarAction::Undo)->trigger();
    QCOMPARE(pane()->lines(), (QStringList{u"abc"_s, u"def"_s}));
}

// Ctrl+Z takes a run back as one step after the typing before it, Redo brings it back; the
// toolbar's Undo still restores the text the run found.
void TestMainWindow::paneUndoTakesARunBackAsOneStep()
{
    pane()->setLines({u"a"_s, u"b"_s});
    const FunctionEntry &f = insert();
    fx.set(f, u"data"_s, u">"_s);
    pane()->setFocus();
    QTest::keyClicks(pane(), u"x"_s);
    fx.run(f);
    const QStringList ran{u">xa"_s, u">b"_s};
    QCOMPARE(pane()->lines(), ran);
    QTest::keyClick(pane(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(pane()->lines(), (QStringList{u"xa"_s, u"b"_s}));
    QTest::keyClick(pane(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(pane()->lines(), (QStringList{u"a"_s, u"b"_s}));
    QTest::keyClick(pane(), Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(pane(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(pane()->lines(), ran);
    win()->toolbarAction(ToolbarAction::Undo)->trigger();
    QCOMPARE(pane()->lines(), (QStringList{u"xa"_s, u"b"_s}));
}

void TestMainWindow::statusShowsTheTrueCaretUncutFollowingKeysAndMouse()
{
    pane()->setLines({u"first"_s, u"second line "_s, QString()});
    pane()->setFocus();
    pane()->moveCaretToOffset(pane()->store().offsetOf({1, 12}));
    QTest::keyClick(pane(), Qt::Key_Shift); // a key event tracks the caret
    QCOMPARE(QStringList({status(1), status(2)}), (QStringList{u"Row = 2"_s, u"Col = 13"_s}));
    QTest::keyClick(pane(), Qt::Key_Up);
    QCOMPARE(status(1), u"Row = 1"_s);
    QCOMPARE(win()->session().caret.row, 0);

    pane()->setText(QString());
    QTest::mouseClick(pane()->viewport(), Qt::LeftButton, {}, QPoint(30, 5));
    QCOMPARE(QStringList({status(1), status(2), status(5)}),
             (QStringList{u"Row = 1"_s, u"Col = 1"_s, u"Total Chr to Cursor = ?"_s}));
    pane()->setLines({u"a"_s, u"b"_s, u"c"_s});
    fx.run(insert());
    QCOMPARE(status(1), u"Row = 3"_s);
    win()->panes()->toTop();
    QCOMPARE(status(1), u"Row = 1"_s);
    win()->panes()->toBottom(); // past the final line break
    QCOMPARE(status(1), u"Row = 4"_s);

    win()->statusPanels()->setCaret(1234566, 0);
    QCoreApplication::processEvents();
    for (const QLabel *label : win()->statusPanels()->findChildren<QLabel *>()) {
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        QVERIFY2(label->contentsRect().width() >= needed, qPrintable(label->text()));
    }
}

void TestMainWindow::caretMenuFillsParameters()
{
    pane()->setLines(QStringList(6, u"0123456789abcdef"_s));
    const FunctionEntry &f = insert();
    pane()->setFocus();
    pane()->moveCaretToOffset(pane()->store().offsetOf({3, 8}));
    QTest::keyClick(pane(), Qt::Key_Shift);
    for (const MenuEntry entry : {MenuEntry::BeginColumn, MenuEntry::BeginRow, MenuEntry::EndRow})
        QVERIFY(openCaretMenu([entry](CaretMenu *m) { m->entryAction(entry)->trigger(); }));
    QCOMPARE(fx.value(f, u"column"_s), u"9"_s);
    QCOMPARE(band(), (QStringList{u"4"_s, u"4"_s}));
}

void TestMainWindow::caretMenuEntriesPerFunctionNoneWithout()
{
    QVERIFY(!openCaretMenu());
    insert();
    openCaretMenu([](CaretMenu *m) {
        QVERIFY(m->entryAction(MenuEntry::BeginColumn)->isEnabled());
        QVERIFY(!m->entryAction(MenuEntry::EndColumn)->isEnabled());
        // The pane's editing actions follow the caret entries, the runs as commands last.
        const QList<QAction *> actions = m->actions();
        QVERIFY(!actions.first()->text().startsWith(u"&Undo"_s));
        QVERIFY(actions[actions.size() - 5]->text().startsWith(u"Select &All"_s));
        QCOMPARE(actions.last()->text(), u"Run Recipe..."_s);
        QCOMPARE(m->entryAction(MenuEntry::EndRow)->text(), u"End    Row"_s);
    });
    fx.select(u"Copy/Move a Column");
    openCaretMenu([](CaretMenu *m) {
        QCOMPARE(m->entryAction(MenuEntry::BeginRow)->text(), u"To Column"_s);
        QVERIFY(!m->entryAction(MenuEntry::EndRow));
    });
    fx.select(u"Sort Ascending/Descending");
    openCaretMenu([](CaretMenu *m) {
        QVERIFY(m->entryAction(MenuEntry::BeginColumn));
        QVERIFY(!m->entryAction(MenuEntry::EndColumn) && !m->entryAction(MenuEntry::BeginRow));
    });
    fx.select(u"Sort Ascending/Descending");
    QVERIFY(!openCaretMenu());
}

// Down and Tab walk the two columns, then the menu's own items; Up comes back; Enter chooses.
void TestMainWindow::caretMenuWorksFromTheKeyboard()
{
    pane()->setLines(QStringList(6, u"0123456789abcdef"_s));
    const FunctionEntry &f = fx.select(u"Total a Specified Column");
    pane()->setFocus();
    pane()->moveCaretToOffset(pane()->store().offsetOf({3, 8}));
    QTest::keyClick(pane(), Qt::Key_Shift);
    const struct {
        QList<Qt::Key> keys;
        QString key;
        QString value;
    } walks[] = {
        {{Qt::Key_Down, Qt::Key_Return}, u"start"_s, u"9"_s},
        {{Qt::Key_Down, Qt::Key_Tab, Qt::Key_Enter}, u"end"_s, u"9"_s},
        {{Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Return},
         u"to"_s,
         u"4"_s},
    };
    for (const auto &walk : walks) {
        fx.set(f, u"start"_s, u"0"_s);
        fx.set(f, u"end"_s, u"0"_s);
        strip()->clearRows();
        QVERIFY(openCaretMenu([&](CaretMenu *m) {
            for (Qt::Key key : walk.keys)
                QTest::keyClick(m, key);
        }));
        const QString got =
            walk.key == u"to"_s ? strip()->toField()->text() : fx.value(f, walk.key);
        QCOMPARE(got, walk.value);
    }
    // Past the last entry the menu's editing actions take the keys.
    openCaretMenu([](CaretMenu *m) {
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(m, Qt::Key_Down);
        QVERIFY(m->activeAction() && !m->activeAction()->text().isEmpty());
        QVERIFY(!qobject_cast<QWidgetAction *>(m->activeAction()));
    });
}

void TestMainWindow::historyRemembersRunsAndDeletes()
{
    const QString file = fx.home.filePath(u"system/combo5.plx"_s);
    QFile::remove(file);
    pane()->setLines({u"a"_s, u"b"_s});
    const FunctionEntry &f = insert();
    QVERIFY(QFile::exists(file)); // created empty when the function is selected
    auto *box = static_cast<HistoryComboBox *>(fx.panel(f).control(u"data"_s));
    for (const QString &text : {u"one"_s, u"two"_s, u"one"_s}) {
        box->setEditText(text);
        fx.run(f);
    }
    QCOMPARE(box->entries(), (QStringList{u"two"_s, u"one"_s}));
    QCOMPARE(testing::readFile(file), QByteArray("two\r\none\r\n"));

    // Reselecting loads the file again.
    insert();
    insert();
    QCOMPARE(box->entries(), (QStringList{u"two"_s, u"one"_s}));
    QCOMPARE(box->currentText(), QString());

    box->setEditText(u"two"_s);
    QCOMPARE(box->chosenIndex(), 0);
    Q_EMIT box->deleteFromListRequested();
    QCOMPARE(box->entries(), QStringList{u"one"_s});
    QCOMPARE(testing::readFile(file), QByteArray("one\r\n"));
}

void TestMainWindow::historyBoxIsNamedByItsLabelWhateverItHolds()
{
    for (const FunctionEntry &f : catalogue()) {
        for (const PanelItem &item : f.body.panel) {
            const auto *p = std::get_if<Parameter>(&item);
            if (!p || !fx.panel(f).paramControl(p->key)->historyBox())
                continue;
            auto *box = fx.panel(f).paramControl(p->key)->historyBox();
            box->setEditText(u"999"_s);
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(box);
            QCOMPARE(a->text(QAccessible::Name), p->label);
            QCOMPARE(a->text(QAccessible::Value), u"999"_s);
        }
    }
}

void TestMainWindow::unwritableSystemFolderStillRuns()
{
    QTemporaryDir home;
    QVERIFY(testing::writeFile(home.filePath(u"system"_s), "")); // a file where the folder goes
    qputenv("PLINTEX_HOME", home.path().toLocal8Bit());
    FakeDialogs dialogs;
    MainWindow window(dialogs);
    qputenv("PLINTEX_HOME", fx.home.path().toLocal8Bit());
    window.workArea()->setLines({u"a"_s, u"b"_s});
    const FunctionEntry &f = *catalogue().byName(u"Insert Into Column");
    QTest::mouseClick(window.functionBar()->button(f.number), Qt::LeftButton);
    window.panel(f.number)->setValue(u"data"_s, u">"_s);
    QTest::mouseClick(window.panel(f.number)->runButton(u"run"_s), Qt::LeftButton);
    QTest::mouseClick(window.panel(f.number)->runButton(u"run"_s), Qt::LeftButton);
    QCOMPARE(window.workArea()->lines(), (QStringList{u">>a"_s, u">>b"_s}));
    // Told once for the session, naming the folder; the runs still work.
    QCOMPARE(dialogs.warnings.size(), 1);
    QVERIFY2(dialogs.warnings.front().startsWith(u"Settings cannot be saved in "_s + home.path()),
             qPrintable(dialogs.warnings.front()));
}

void TestMainWindow::doubleClickRestoresDefaults()
{
    const FunctionEntry &f = fx.select(u"Delete/Retain Column");
    auto *start = static_cast<NumberField *>(fx.panel(f).control(u"start"_s));
    start->setText(u"42"_s);
    QTest::mouseDClick(start, Qt::LeftButton);
    QCOMPARE(start->text(), u"1"_s);
    start->clear();
    QCOMPARE(start->value(), 0);
    QTest::keyClicks(start, u"a1b2"_s);
    QCOMPARE(start->text(), u"12"_s);

    // The restraint strip clears both fields; its reset button too.
    strip()->setFrom(4);
    strip()->setTo(9);
    QTest::mouseDClick(strip(), Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(band(), (QStringList{u"0"_s, u"0"_s}));
    strip()->setFrom(4);
    QTest::mouseClick(strip()->resetButton(), Qt::LeftButton);
    QCOMPARE(strip()->fromField()->text(), u"0"_s);
}

void TestMainWindow::offsetFieldTakesDigitsAndALeadingMinusOnly()
{
    for (const QString &name : {u"Delete/Retain Line Data"_s, u"Insert Data Per Data"_s}) {
        auto *offset = static_cast<QLineEdit *>(fx.panel(fx.select(name)).control(u"offset"_s));
        offset->setText(u"12"_s);
        offset->setCursorPosition(2);
        QTest::keyClicks(offset, u"-a.3"_s);
        QCOMPARE(offset->text(), u"123"_s);
        offset->setCursorPosition(0);
        QTest::keyClick(offset, Qt::Key_Minus);
        QCOMPARE(offset->text(), u"-123"_s);
        offset->setText(u"0"_s);
        offset->end(false);
        QTest::keyClick(offset, Qt::Key_Backspace);
        QCOMPARE(offset->text(), u"0"_s);
        fx.select(name);
    }
}

// Every control of every panel, and of the row restraint strip beside it, is in full view at
// the window's default width, without scrolling and without widening the window.
void TestMainWindow::everyPanelFitsTheWindow()
{
    const int width = win()->width();
    QCOMPARE(width, 800);
    const auto inView = [this](QWidget *w) {
        const QRect r(w->mapTo(win(), QPoint(0, 0)), w->size());
        for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
            if (!QRect(p->mapTo(win(), QPoint(0, 0)), p->size()).contains(r))
                return false;
        }
        const QRect panes(win()->panes()->mapTo(win(), QPoint(0, 0)), win()->panes()->size());
        return !r.intersects(panes);
    };
    for (const FunctionEntry &f : catalogue()) {
        if (f.body.ownPane)
            fx.dialogs.answers = {Dialogs::Answer::Yes};
        fx.select(f.name);
        QCoreApplication::processEvents();
        QCOMPARE(win()->width(), width);
        QList<QWidget *> controls = fx.panel(f).findChildren<QWidget *>();
        if (f.restraint)
            controls += strip()->findChildren<QWidget *>();
        for (QWidget *w : std::as_const(controls)) {
            if (w->isVisible() && !w->isWindow())
                QVERIFY2(inView(w), qPrintable(f.name + u": "_s + w->metaObject()->className() +
                                               u' ' + w->accessibleName()));
        }
    }
}

void TestMainWindow::tabFollowsTheScreen()
{
    ParameterPanel &panel = fx.panel(insert());
    QWidget *w = panel.runButton(u"run"_s);
    for (QWidget *next : std::initializer_list<QWidget *>{
             panel.control(u"data"_s), panel.control(u"column"_s), strip()->fromField(),
             strip()->toField(), strip()->resetButton(), strip()->autoReset(), pane()}) {
        do {
            w = w->nextInFocusChain();
        } while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled() ||
                 w->focusProxy());
        QCOMPARE(w, next);
    }
}

void TestMainWindow::blockFieldTabsOnAndSelectsAllOnDoubleClick()
{
    const FunctionEntry &f = fx.select(u"Insert a Column");
    auto *block = static_cast<TextPane *>(fx.panel(f).control(u"block"_s));
    fx.set(f, u"block"_s, u"one\ntwo"_s);
    QTest::mouseDClick(block->viewport(), Qt::LeftButton, {}, QPoint(8, 4));
    QCOMPARE(block->selectedText(), u"one\ntwo"_s);
    block->setFocus();
    QTest::keyClick(block, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), fx.panel(f).control(u"column"_s));
    QCOMPARE(fx.value(f, u"block"_s), u"one\ntwo"_s);
}

// Clear answered while a run rewrites the text would be overwritten by the run's result: it is
// refused with a message instead, and the toolbar's text actions are greyed out meanwhile.
void TestMainWindow::textActionsWaitForARun()
{
    pane()->setLines(QStringList(200000, u"row"_s));
    const FunctionEntry &f = insert();
    bool clearEnabled = true;
    QTimer::singleShot(0, this, [&] {
        clearEnabled = win()->toolbarAction(ToolbarAction::Clear)->isEnabled();
        win()->documents()->clear();
        // Nor may the selection change: the result must reach the pane the run started on.
        fx.select(u"Delete Row");
        win()->functionDropDown()->activated(0);
    });
    fx.set(f, u"data"_s, u">"_s);
    fx.run(f);
    QVERIFY(!clearEnabled);
    QCOMPARE(fx.dialogs.warnings,
             QStringList(3, u"Processing... Stop it or wait until it ends."_s));
    QCOMPARE(win()->selectedFunction(), &f);
    QVERIFY(win()->functionBar()->button(f.number)->isChecked());
    QVERIFY(!win()->functionBar()->button(catalogue().byName(u"Delete Row")->number)->isChecked());
    QCOMPARE(win()->functionDropDown()->currentText(), f.name);
    QCOMPARE(pane()->store().row(0), u">row"_s);
    QVERIFY(win()->toolbarAction(ToolbarAction::Clear)->isEnabled());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
