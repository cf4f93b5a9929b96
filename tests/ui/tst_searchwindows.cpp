#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include "ui/panestack.h"
#include "ui/windows/findreplacewindow.h"
#include "ui/windows/replacespecialwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;
using namespace plintex;

/// The "Find / Replace" and "Replace Special" windows.
class TestSearchWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(fx.prepareHome()); }
    void init()
    {
        QVERIFY(fx.open());
        fr = fx.window->findChild<FindReplaceWindow *>();
        rs = fx.window->findChild<ReplaceSpecialWindow *>();
    }
    void cleanup() { QVERIFY2(fx.close(), "a queued answer was not used"); }

    void findWalksForwardWithoutWrapping();
    void replaceAndReplaceAll_data();
    void replaceAndReplaceAll();
    void openingAndClosing();
    void replaceSpecial_data();
    void replaceSpecial();

private:
    TextPane *work() const { return fx.window->workArea(); }
    void press(QWidget *button) { QTest::mouseClick(button, Qt::LeftButton); }
    void findFrom(const QString &text, TextPosition caret, const QString &find)
    {
        fx.setText(text);
        fr->start();
        work()->setCaret(caret);
        fr->findField()->setText(find);
    }

    testing::WindowFixture fx;
    FindReplaceWindow *fr = nullptr;
    ReplaceSpecialWindow *rs = nullptr;
};

void TestSearchWindows::findWalksForwardWithoutWrapping()
{
    findFrom(u"one Word\nword two\nthe WORD"_s, {}, u"word"_s);
    for (const TextPosition at : {TextPosition{0, 4}, TextPosition{1, 0}, TextPosition{2, 4}}) {
        press(fr->button(u"Find"_s));
        QCOMPARE(work()->anchor(), at);
        QCOMPARE(work()->selectedText(), work()->store().textBetween(at, {at.row, at.column + 4}));
    }
    fr->findNextAction()->trigger(); // F3
    QVERIFY(fr->notFoundLabel()->isVisibleTo(fr));
    QCOMPARE(work()->anchor(), (TextPosition{2, 4}));
    press(fr->topButton());
    QVERIFY(!fr->notFoundLabel()->isVisibleTo(fr));
    fr->matchCase()->setChecked(true);
    press(fr->button(u"Find"_s));
    QCOMPARE(work()->anchor(), (TextPosition{1, 0}));

    fr->findField()->setText(u"a\nb"_s);
    press(fr->button(u"Find"_s));
    QCOMPARE(fx.dialogs.warnings, QStringList{u"The text to find must be on one line."_s});
}

void TestSearchWindows::replaceAndReplaceAll_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<TextPosition>("anchor"); // the selection before the press
    QTest::addColumn<TextPosition>("caret");
    QTest::addColumn<QString>("result");
    QTest::addColumn<TextPosition>("selectedAfter");
    const QString text = u"a1 xy a2\nA3"_s;
    QTest::newRow("Replace: the selection, whatever it holds, then the next hit")
        << u"Replace"_s << TextPosition{0, 3} << TextPosition{0, 5} << u"a1 aa a2\nA3"_s
        << TextPosition{0, 6};
    QTest::newRow("Replace All: only after the caret")
        << u"Replace All"_s << TextPosition{0, 7} << TextPosition{0, 7} << u"a1 xy a2\naa3"_s
        << TextPosition{1, 2};
    QTest::newRow("Replace All: a replacement that holds the text ends")
        << u"Replace All"_s << TextPosition{} << TextPosition{} << u"aa1 xy aa2\naa3"_s
        << TextPosition{1, 2};
}

void TestSearchWindows::replaceAndReplaceAll()
{
    QFETCH(QString, button);
    QFETCH(TextPosition, anchor);
    QFETCH(TextPosition, caret);
    QFETCH(QString, result);
    QFETCH(TextPosition, selectedAfter);
    findFrom(u"a1 xy a2\nA3"_s, anchor, u"a"_s);
    work()->setCaret(caret, true);
    QVERIFY(!fr->button(button)->isEnabled());
    fr->replaceBox()->setChecked(true);
    fr->replaceField()->setText(u"aa"_s);
    press(fr->button(button));
    QCOMPARE(fx.text(), result);
    QCOMPARE(work()->anchor(), selectedAfter);
    QCOMPARE(fr->notFoundLabel()->isVisibleTo(fr), button == u"Replace All");
    // One Ctrl+Z takes the press back; the toolbar's Undo goes back to the opening.
    work()->undo();
    QCOMPARE(fx.text(), u"a1 xy a2\nA3"_s);
    fx.setText(u"other"_s);
    fx.window->toolbarAction(ToolbarAction::Undo)->trigger();
    QCOMPARE(fx.text(), u"a1 xy a2\nA3\n"_s);
}

void TestSearchWindows::openingAndClosing()
{
    const FunctionEntry &f = fx.select(u"Add Row");
    fx.band(2, 3);
    QGuiApplication::clipboard()->setText(u"first line\nsecond"_s);
    fx.setText(u"text"_s);
    work()->moveCaretToOffset(3);
    QAction *special = rs->openAction();
    QTest::keyClick(fx.window, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(fr->isVisible() && fx.panel(f).isHidden());
    QCOMPARE(fx.window->restraintStrip()->restraint().to, 0);
    QCOMPARE(work()->caret(), TextPosition{});
    QCOMPARE(fr->findField()->text(), u"first line"_s);
    QCOMPARE(fr->findField()->selectedText(), u"first line"_s);
    QVERIFY(fx.window->stopButton()->isVisible() && !special->isEnabled());
    press(fr->button(u"Close"_s));
    QVERIFY(!fx.window->stopButton()->isVisible() && special->isEnabled());
    // "Replace with Special Character" opens nothing when the delimiter's question is declined.
    fx.dialogs.answers = {Dialogs::Answer::No};
    special->trigger();
    QVERIFY(!rs->isVisible() && fx.window->panes()->page() == PaneStack::Page::WorkArea);

    // Nothing happens on an empty text.
    fx.setText(QString());
    fr->start();
    press(fr->button(u"Find"_s));
    QVERIFY(fx.dialogs.warnings.isEmpty() && !fr->notFoundLabel()->isVisibleTo(fr));

    // Selecting "Insert Spread Sheet Delimiter" closes the window and disables its button.
    fx.dialogs.answers = {Dialogs::Answer::Yes};
    fx.select(u"Insert Spread Sheet Delimiter");
    QVERIFY(!fr->isVisible() && !fr->openAction()->isEnabled());
    QVERIFY(fx.window->stopButton()->isVisible()); // the function's own
}

void TestSearchWindows::replaceSpecial_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("character"); // empty: none chosen
    QTest::addColumn<int>("quantity");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("warning");
    const QString text = u"a,b\nc\td,"_s;
    QTest::newRow("empty pane") << QString() << u","_s << u"{TAB}"_s << 1 << false << u"Replace"_s
                                << QString() << u"Could not find any further occurrences."_s;
    QTest::newRow("comma to three TABs, once each")
        << text << u","_s << u"{TAB}"_s << 3 << false << u"Replace All"_s
        << u"a\t\t\tb\nc\td\t\t\t"_s << QString();
    QTest::newRow("reverse TAB, quantity ignored")
        << text << u","_s << u"{TAB}"_s << 3 << true << u"Replace All"_s << u"a,b\nc,d,"_s
        << QString();
    QTest::newRow("reverse line feed joins") << text << u"+"_s << u"{LineFeed}"_s << 1 << true
                                             << u"Replace All"_s << u"a,b+c\td,"_s << QString();
    QTest::newRow("Hex 41 is A") << text << u","_s << u"{Hex 41}"_s << 1 << false << u"Replace"_s
                                 << u"aAb\nc\td,"_s << QString();
    QTest::newRow("none left") << text << u";"_s << u"{TAB}"_s << 1 << false << u"Replace"_s << text
                               << u"Could not find any further occurrences."_s;
    QTest::newRow("no character chosen")
        << text << u","_s << QString() << 1 << false << u"Replace All"_s << text
        << u"No replace character selected."_s;
}

void TestSearchWindows::replaceSpecial()
{
    QFETCH(QString, text);
    QFETCH(QString, typed);
    QFETCH(QString, character);
    QFETCH(int, quantity);
    QFETCH(bool, reverse);
    QFETCH(QString, button);
    QFETCH(QString, result);
    QFETCH(QString, warning);
    fx.setText(text);
    fx.dialogs.answers = {Dialogs::Answer::Yes};
    rs->openAction()->trigger();
    QVERIFY(rs->isVisible());
    TextPane *pane = fx.window->panes()->runTarget();
    rs->typedField()->setText(typed);
    rs->characterList()->setCurrentIndex(rs->characterList()->findText(character));
    rs->quantity()->setValue(quantity);
    rs->reverse()->setChecked(reverse);
    QCOMPARE(rs->quantity()->isEnabled(), !reverse);
    for (QPushButton *b : rs->findChildren<QPushButton *>()) {
        if (b->text() == button)
            press(b);
    }
    QCOMPARE(pane->text(), result);
    QCOMPARE(fx.dialogs.warnings.join(u'|'), warning);
    if (warning.isEmpty()) {
        pane->undo(); // Ctrl+Z: one step
        QCOMPARE(pane->text(), text);
    }
    // Selecting another function closes the window and gives the text back.
    fx.select(u"Add Row");
    QVERIFY(!rs->isVisible());
}

QTEST_MAIN(TestSearchWindows)
#include "tst_searchwindows.moc"
