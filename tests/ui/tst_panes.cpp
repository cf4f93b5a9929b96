#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include "ui/caretmenu.h"
#include "ui/documentactions.h"
#include "ui/panestack.h"
#include "ui/statuspanels.h"
#include "ui/viewsettings.h"
#include "ui/windows/examplespanel.h"
#include "ui/windows/scratchpad.h"
#include "ui/windows/viewbuttons.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace plintex;

/// The panes that take the work area's place, and the buttons that act on whichever shows.
class TestPanes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(fx.prepareHome()); }
    void init() { QVERIFY(fx.open()); }
    void cleanup() { QVERIFY2(fx.close(), "a queued answer was not used"); }

    void actionsActOnTheirPane_data();
    void actionsActOnTheirPane();
    void scratchPadKeepsTheParameters();
    void delimiterAsksThenHandsTheTextOverAndBack();
    void delimiterHandsAMillionLinesBothWays();
    void examplesFollowTheSelection();
    void clearEmptiesThePanelsMultiLineFields();
    void backgroundCyclesEveryFieldAndIsStored();
    void copyOfAnEmptyPaneLeavesTheClipboard();

private:
    MainWindow *win() const { return fx.window; }
    TextPane *pane(PaneStack::Page page) const { return win()->panes()->pane(page); }
    TextPane *work() const { return win()->workArea(); }
    QAction *view(ViewButtons::Button b) const { return win()->viewButtons()->action(b); }
    const FunctionEntry &delimiter(Dialogs::Answer answer = Dialogs::Answer::Yes)
    {
        fx.dialogs.answers = {answer};
        return fx.select(u"Insert Spread Sheet Delimiter");
    }
    void rightClickChoosesBeginColumn(TextPane *on);

    testing::WindowFixture fx;
};

void TestPanes::rightClickChoosesBeginColumn(TextPane *on)
{
    bool seen = false;
    QTimer timer; // dies unfired with the scope when no menu opens
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [&] {
        auto *menu = qobject_cast<CaretMenu *>(QApplication::activePopupWidget());
        QAction *entry = menu ? menu->entryAction(MenuEntry::BeginColumn) : nullptr;
        if (!entry)
            entry = menu ? menu->entryAction(MenuEntry::BeginRow) : nullptr;
        if (entry) {
            seen = true;
            entry->trigger();
        }
        if (menu)
            menu->close();
    });
    timer.start(0);
    Q_EMIT on->contextMenuRequested(on->mapToGlobal(QPoint(20, 20)));
    QVERIFY(seen);
}

// Which pane a run, Undo, To Bottom, the caret record and menu, Clear, and the clipboard and
// font buttons act on. No function runs on the scratch pad: only the last three act on it.
void TestPanes::actionsActOnTheirPane_data()
{
    QTest::addColumn<int>("page");
    QTest::newRow("work area") << int(PaneStack::Page::WorkArea);
    QTest::newRow("delimiter pane") << int(PaneStack::Page::Delimiter);
    QTest::newRow("scratch pad") << int(PaneStack::Page::ScratchPad);
}

void TestPanes::actionsActOnTheirPane()
{
    QFETCH(int, page);
    work()->setLines({u"abc"_s, u"def"_s});
    TextPane *target = pane(PaneStack::Page(page));
    const FunctionEntry *f = nullptr;
    if (page == int(PaneStack::Page::WorkArea)) {
        f = &fx.select(u"Insert Into Column");
        fx.set(*f, u"data"_s, u">"_s);
    } else if (page == int(PaneStack::Page::Delimiter)) {
        f = &delimiter();
        fx.set(*f, u"divider"_s, u">"_s);
    } else {
        target->setLines({u"pad"_s});
        QTest::mouseClick(win()->scratchPad()->toggle(), Qt::LeftButton);
    }
    QCOMPARE(win()->panes()->visiblePane(), target);

    if (f) {
        QCOMPARE(win()->panes()->runTarget(), target);
        fx.run(*f);
        QCOMPARE(target->lines(), (QStringList{u">abc"_s, u">def"_s}));
        win()->toolbarAction(ToolbarAction::Undo)->trigger();
        QCOMPARE(target->lines(), (QStringList{u"abc"_s, u"def"_s}));
        win()->toolbarAction(ToolbarAction::ToBottom)->trigger();
        QCOMPARE(target->selectionStart(), target->store().length());
        QCOMPARE(QApplication::focusWidget(), target);

        target->moveCaretToOffset(target->store().offsetOf({1, 2}));
        QTest::mouseClick(target->viewport(), Qt::LeftButton, {},
                          target->positionRect({1, 2}).center());
        QCOMPARE(win()->statusPanels()->panelText(2), u"Col = 3"_s);
        rightClickChoosesBeginColumn(target);
        QCOMPARE(fx.value(*f, u"column"_s), u"3"_s);

        fx.dialogs.answers = {Dialogs::Answer::Yes};
        win()->documents()->clear();
        QVERIFY(target->store().isEmpty());
        win()->toolbarAction(ToolbarAction::Undo)->trigger();
    } else {
        QCOMPARE(win()->selectedFunction(), nullptr); // nothing to run on the pad
    }

    view(ViewButtons::Button::Copy)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), target->text());
    QCOMPARE(target->selectedText(), target->text());
    QGuiApplication::clipboard()->setText(u"P"_s);
    target->setSelection(0, 1);
    view(ViewButtons::Button::Paste)->trigger();
    QCOMPARE(target->store().row(0).left(1), u"P"_s);
    const int size = target->font().pointSize();
    target->setFont(QFont(u"Serif"_s, 31));
    view(ViewButtons::Button::CourierFont)->trigger();
    QCOMPARE(target->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    QCOMPARE(target->font().pointSize(), size);
    // The work area keeps its own text whichever pane the buttons acted on.
    if (target != work())
        QCOMPARE(work()->lines(), (QStringList{u"abc"_s, u"def"_s}));
}

void TestPanes::scratchPadKeepsTheParameters()
{
    QToolButton *toggle = win()->scratchPad()->toggle();
    const FunctionEntry &addRow = fx.select(u"Add Row");
    const FunctionEntry &deleteRow = *catalogue().byName(u"Delete Row");
    fx.set(addRow, u"data"_s, u"--"_s);
    fx.set(addRow, u"every"_s, u"4"_s);
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(!win()->functionBar()->button(addRow.number)->isChecked());
    QVERIFY(win()->scratchPad()->strip()->isVisible());
    QVERIFY(fx.panel(addRow).isHidden() && win()->restraintStrip()->isHidden());
    QTest::keyClicks(pane(PaneStack::Page::ScratchPad), u"kept aside"_s);
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(fx.panel(addRow).isVisible() && win()->restraintStrip()->isVisible());
    QVERIFY(win()->functionBar()->button(addRow.number)->isChecked());
    QCOMPARE(fx.value(addRow, u"data"_s) + fx.value(addRow, u"every"_s), u"--4"_s);
    QCOMPARE(win()->panes()->visiblePane(), work());

    // A function pressed while the pad shows keeps its own parameters too, and takes the pad's
    // place; every select routine after it resets again.
    fx.select(u"Delete Row");
    fx.set(deleteRow, u"every"_s, u"7"_s);
    QTest::mouseClick(toggle, Qt::LeftButton);
    fx.select(u"Add Row");
    QVERIFY(!toggle->isChecked() && !win()->scratchPad()->strip()->isVisible());
    QCOMPARE(win()->panes()->visiblePane(), work());
    QCOMPARE(fx.value(addRow, u"every"_s), u"4"_s);
    fx.select(u"Delete Row");
    QCOMPARE(fx.value(deleteRow, u"every"_s), u"2"_s);

    work()->setLines({u"a"_s, u"b"_s});
    win()->scratchPad()->appendAction()->trigger();
    win()->scratchPad()->appendAction()->trigger();
    QCOMPARE(pane(PaneStack::Page::ScratchPad)->lines(),
             (QStringList{u"kept aside"_s, u"a"_s, u"b"_s, u"a"_s, u"b"_s}));
    QTest::mouseClick(toggle, Qt::LeftButton);
    QTest::mouseClick(win()->scratchPad()->strip()->findChild<QPushButton *>(), Qt::LeftButton);
    QVERIFY(pane(PaneStack::Page::ScratchPad)->store().isEmpty());
}

void TestPanes::delimiterAsksThenHandsTheTextOverAndBack()
{
    work()->setLines({u"Line1 999"_s, u"Line2 222"_s});
    work()->moveCaretToOffset(3);
    const FunctionEntry &f = delimiter(Dialogs::Answer::No);
    QCOMPARE(fx.dialogs.questions, QStringList{f.body.confirmation});
    QCOMPARE(fx.dialogs.confirmPointer, warningPointerPosition() - QPoint(25, 0));
    QVERIFY(!win()->functionBar()->anyPressed() && fx.panel(f).isHidden());
    QVERIFY(win()->stopButton()->isHidden());
    QCOMPARE(win()->panes()->visiblePane(), work());

    delimiter();
    TextPane *own = pane(PaneStack::Page::Delimiter);
    QCOMPARE(win()->panes()->visiblePane(), own);
    QCOMPARE(own->lines(), work()->lines());
    QCOMPARE(own->selectionStart(), 3);
    QCOMPARE(QApplication::focusWidget(), own);
    QCOMPARE(own->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    for (QAction *a :
         {win()->toolbarAction(ToolbarAction::Open), win()->toolbarAction(ToolbarAction::Save),
          win()->scratchPad()->appendAction(), win()->findChild<QAction *>(u"Print"_s)})
        QVERIFY(!a->isEnabled());
    QVERIFY(!win()->scratchPad()->toggle()->isEnabled());

    QTest::keyClick(own, Qt::Key_Tab); // types a TAB, the focus stays
    own->moveCaretToOffset(own->store().length());
    QTest::keyClicks(own, u"typed"_s);
    fx.select(u"Add Row"); // any other selection hands the text back
    QCOMPARE(work()->lines(), (QStringList{u"Lin\te1 999"_s, u"Line2 222"_s, u"typed"_s}));
    QCOMPARE(work()->selectionStart(), work()->store().length());
    QVERIFY(win()->toolbarAction(ToolbarAction::Open)->isEnabled());
    QVERIFY(win()->findChild<QAction *>(u"Print"_s)->isEnabled());
    QVERIFY(win()->scratchPad()->toggle()->isEnabled());
}

// The pane holds any text: nothing is cut, whatever the question warns.
void TestPanes::delimiterHandsAMillionLinesBothWays()
{
    QStringList lines(1000000, u"0123456789 abcdefghij"_s);
    lines.back() = u"last"_s;
    work()->setLines(lines);
    const FunctionEntry &f = delimiter();
    QCOMPARE(pane(PaneStack::Page::Delimiter)->store().lineCount(), 1000000);
    fx.set(f, u"column"_s, u"11"_s);
    fx.run(f);
    QCOMPARE(pane(PaneStack::Page::Delimiter)->store().row(999998), u"0123456789\t abcdefghij"_s);
    fx.select(f.name);
    QCOMPARE(work()->store().lineCount(), 1000000);
    QCOMPARE(work()->store().row(0), u"0123456789\t abcdefghij"_s);
    QCOMPARE(work()->store().row(999999), u"last\t"_s);
}

void TestPanes::examplesFollowTheSelection()
{
    ExamplesPanel *panel = win()->examples();
    QAction *toggle = panel->toggle();
    fx.select(u"Html Realign");
    toggle->trigger();
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->title()->text(), catalogue().byName(u"Html Realign")->body.example.title);
    QCOMPARE(panel->beforePane()->document()->blockCount(), 9);
    QCOMPARE(panel->afterPane()->document()->blockCount(), 3);
    const QRect close(panel->closeButton()->mapToGlobal(QPoint(0, 0)),
                      panel->closeButton()->size());
    QVERIFY(close.contains(QCursor::pos()));

    QCursor::setPos(1, 1);
    fx.select(u"Sort Ascending/Descending");
    QCOMPARE(panel->title()->text(),
             catalogue().byName(u"Sort Ascending/Descending")->body.example.title);
    QCOMPARE(QCursor::pos(), QPoint(1, 1));
    fx.select(u"Replace Byte in File");
    QVERIFY(panel->beforePane()->toPlainText().isEmpty());
    QVERIFY(panel->afterPane()->toPlainText().isEmpty());

    fx.select(u"Replace Byte in File"); // deselected: the panel closes
    QVERIFY(panel->isHidden() && !toggle->isChecked());
    win()->functionDropDown()->setEditText(u"Add Row"_s); // a name shown by hovering
    toggle->trigger();
    QCOMPARE(fx.dialogs.warnings, QStringList{u"Click on a button to display an example."_s});
    QVERIFY(panel->isHidden() && !toggle->isChecked());

    fx.select(u"Add Row");
    toggle->trigger();
    QTest::mouseClick(panel->closeButton(), Qt::LeftButton);
    QVERIFY(panel->isHidden() && !toggle->isChecked());
}

void TestPanes::clearEmptiesThePanelsMultiLineFields()
{
    QAction *clearFields = win()->examples()->clearFieldsAction();
    QAction *clearText = win()->toolbarAction(ToolbarAction::Clear);
    QCOMPARE(clearFields->text(), clearText->text());
    QVERIFY(clearFields->toolTip() != clearText->toolTip());
    const FunctionEntry &f = fx.select(u"Insert Lines Per Data");
    fx.set(f, u"data"_s, u"x"_s);
    fx.set(f, u"search"_s, u"y"_s);
    work()->setText(u"kept"_s);
    clearFields->trigger();
    QCOMPARE(fx.value(f, u"data"_s) + fx.value(f, u"search"_s), QString());
    QCOMPARE(work()->text(), u"kept"_s);
    // The replacement list of "Read Me" is the user's own: it stays.
    const FunctionEntry &readMe = fx.select(u"Read Me");
    const QString list = fx.value(readMe, u"list"_s);
    clearFields->trigger();
    QCOMPARE(fx.value(readMe, u"list"_s), list);
}

void TestPanes::backgroundCyclesEveryFieldAndIsStored()
{
    QLineEdit *hiddenField = fx.panel(*catalogue().byName(u"Add Row")).findChild<QLineEdit *>();
    QVERIFY(hiddenField && !hiddenField->isVisible());
    const QList<QColor> cycle{QColor(255, 255, 208), QColor(240, 248, 184), QColor(240, 232, 168),
                              QColor(255, 255, 255)};
    for (const QColor &colour : cycle) {
        view(ViewButtons::Button::Background)->trigger();
        QCOMPARE(pane(PaneStack::Page::Delimiter)->backgroundColor(), colour);
        QCOMPARE(hiddenField->palette().color(QPalette::Base), colour);
        QCOMPARE(win()->examples()->beforePane()->palette().color(QPalette::Base), colour);
    }
    view(ViewButtons::Button::Background)->trigger();
    win()->acceptPreferences();
    QCOMPARE(testing::readFile(fx.home.filePath(u"prefs.plx"_s)).at(1), '1');
}

void TestPanes::copyOfAnEmptyPaneLeavesTheClipboard()
{
    QGuiApplication::clipboard()->setText(u"before"_s);
    work()->setText(QString());
    view(ViewButtons::Button::Copy)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), u"before"_s);
}

QTEST_MAIN(TestPanes)
#include "tst_panes.moc"
