#include "ui/textpane.h"

#include <QAccessible>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>

using namespace Qt::StringLiterals;
using plintex::TextPane;
using plintex::TextPosition;

Q_DECLARE_METATYPE(plintex::TextPosition)

namespace {

QFont fixedFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(11);
    return font;
}

qreal charWidth(const TextPane &pane)
{
    return QFontMetricsF(pane.font()).horizontalAdvance(u'x');
}

// The point in the viewport over the left part of a character cell.
QPoint pointAt(const TextPane &pane, qsizetype row, qsizetype column)
{
    const qreal x = TextPane::leftMargin + (qreal(column) + 0.3) * charWidth(pane);
    const int y =
        int(row - pane.verticalScrollBar()->value()) * pane.rowHeight() + pane.rowHeight() / 2;
    return QPoint(int(x), y);
}

void sendText(QWidget *target, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

// Notes what the pane held when the owner's filter saw each event.
class EventWatcher : public QObject {
public:
    explicit EventWatcher(TextPane *pane) : m_pane(pane) {}
    QString textAtPress;
    QString textAtRelease;
    int mouseReleases = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            textAtPress = m_pane->text();
        else if (event->type() == QEvent::KeyRelease)
            textAtRelease = m_pane->text();
        else if (event->type() == QEvent::MouseButtonRelease)
            ++mouseReleases;
        return false;
    }

private:
    TextPane *m_pane;
};

} // namespace

class TestTextPane : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void typingAndLineBreaks();
    void deletingKeys_data();
    void deletingKeys();
    void movementKeys_data();
    void movementKeys();
    void shiftExtendsTheSelection();
    void upDownKeepTheColumnAcrossAShorterRow();
    void pageKeysMoveByAScreen();
    void pasteTurnsEveryBreakIntoARow();
    void cutAndCopy();
    void undoRedo();
    void readOnlyRefusesEdits();
    void offsetsFollowTheLinesView();
    void signalsFollowChanges();
    void nonAsciiInput();
    void inputMethodCommitReplacesTheSelection();
    void mouseClickPlacesTheCaret();
    void dragPastTheBottomScrollsAndSelects();
    void rightClickOnlyAsksForAMenu();
    void ownerFilterSeesRawEvents();
    void tabStops_data();
    void tabStops();
    void tabStopsByDefaultEveryEightSpaces();
    void awkwardRowsPaint_data();
    void awkwardRowsPaint();
    void millionCharacterRowStaysEditable();
    void wheelScrolls();
    void accessibleText();

private:
    TextPane *m_pane = nullptr;
};

void TestTextPane::initTestCase()
{
    plintex::installTextPaneAccessibility();
}

void TestTextPane::init()
{
    m_pane = new TextPane;
    m_pane->setFont(fixedFont());
    m_pane->resize(400, 300);
    m_pane->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pane));
    m_pane->setFocus();
}

void TestTextPane::cleanup()
{
    delete m_pane;
    m_pane = nullptr;
}

void TestTextPane::typingAndLineBreaks()
{
    QTest::keyClicks(m_pane, u"ab"_s);
    QTest::keyClick(m_pane, Qt::Key_Return);
    QTest::keyClicks(m_pane, u"cd"_s);
    QTest::keyClick(m_pane, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(m_pane, Qt::Key_Tab);
    QCOMPARE(m_pane->text(), u"ab\ncd\n\t"_s);
    QCOMPARE(m_pane->caret(), (TextPosition{2, 1}));
    QVERIFY(m_pane->hasFocus()); // Tab typed a TAB rather than moving the focus
    // Control characters from keys are dropped; Ctrl+letter types nothing.
    sendText(m_pane, u"\x01"_s);
    QTest::keyClick(m_pane, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(m_pane->text(), u"ab\ncd\n\t"_s);
}

void TestTextPane::deletingKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextPosition>("caret");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("result");
    QTest::addColumn<TextPosition>("caretAfter");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Backspace at a row start joins it to the one above")
        << u"ab\ncd"_s << TextPosition{1, 0} << int(Qt::Key_Backspace) << none << u"abcd"_s
        << TextPosition{0, 2};
    QTest::newRow("Delete at a row end joins the next row")
        << u"ab\ncd"_s << TextPosition{0, 2} << int(Qt::Key_Delete) << none << u"abcd"_s
        << TextPosition{0, 2};
    QTest::newRow("Backspace inside a row")
        << u"abc"_s << TextPosition{0, 2} << int(Qt::Key_Backspace) << none << u"ac"_s
        << TextPosition{0, 1};
    QTest::newRow("Backspace at the text start")
        << u"ab"_s << TextPosition{0, 0} << int(Qt::Key_Backspace) << none << u"ab"_s
        << TextPosition{0, 0};
    QTest::newRow("Delete at the text end")
        << u"ab\n"_s << TextPosition{1, 0} << int(Qt::Key_Delete) << none << u"ab\n"_s
        << TextPosition{1, 0};
    QTest::newRow("Ctrl+Backspace takes the word before")
        << u"one two  three"_s << TextPosition{0, 9} << int(Qt::Key_Backspace) << ctrl
        << u"one three"_s << TextPosition{0, 4};
    QTest::newRow("Ctrl+Delete takes the word and its spaces")
        << u"one two  three"_s << TextPosition{0, 4} << int(Qt::Key_Delete) << ctrl
        << u"one three"_s << TextPosition{0, 4};
    QTest::newRow("Backspace takes a surrogate pair whole")
        << u"a\U0001F600b"_s << TextPosition{0, 3} << int(Qt::Key_Backspace) << none << u"ab"_s
        << TextPosition{0, 1};
    QTest::newRow("Delete takes a letter with its combining mark")
        << u"ae\u0301x"_s << TextPosition{0, 1} << int(Qt::Key_Delete) << none << u"ax"_s
        << TextPosition{0, 1};
}

void TestTextPane::deletingKeys()
{
    QFETCH(QString, text);
    QFETCH(TextPosition, caret);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, result);
    QFETCH(TextPosition, caretAfter);
    m_pane->setText(text);
    m_pane->setCaret(caret);
    QTest::keyClick(m_pane, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_pane->text(), result);
    QCOMPARE(m_pane->caret(), caretAfter);
    QVERIFY(!m_pane->hasSelection());
}

void TestTextPane::movementKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextPosition>("caret");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<TextPosition>("caretAfter");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    const QString words = u"alpha, beta  gamma\nnext row"_s;
    QTest::newRow("Left over a line break")
        << u"ab\ncd"_s << TextPosition{1, 0} << int(Qt::Key_Left) << none << TextPosition{0, 2};
    QTest::newRow("Right over a line break")
        << u"ab\ncd"_s << TextPosition{0, 2} << int(Qt::Key_Right) << none << TextPosition{1, 0};
    QTest::newRow("Right over a surrogate pair")
        << u"\U0001F600x"_s << TextPosition{0, 0} << int(Qt::Key_Right) << none
        << TextPosition{0, 2};
    QTest::newRow("Ctrl+Right from a word start")
        << words << TextPosition{0, 0} << int(Qt::Key_Right) << ctrl << TextPosition{0, 5};
    QTest::newRow("Ctrl+Right from punctuation")
        << words << TextPosition{0, 5} << int(Qt::Key_Right) << ctrl << TextPosition{0, 7};
    QTest::newRow("Ctrl+Right over two spaces")
        << words << TextPosition{0, 7} << int(Qt::Key_Right) << ctrl << TextPosition{0, 13};
    QTest::newRow("Ctrl+Right at a row end")
        << words << TextPosition{0, 18} << int(Qt::Key_Right) << ctrl << TextPosition{1, 0};
    QTest::newRow("Ctrl+Left from inside a word")
        << words << TextPosition{0, 15} << int(Qt::Key_Left) << ctrl << TextPosition{0, 13};
    QTest::newRow("Ctrl+Left over spaces")
        << words << TextPosition{0, 13} << int(Qt::Key_Left) << ctrl << TextPosition{0, 7};
    QTest::newRow("Ctrl+Left at a row start")
        << words << TextPosition{1, 0} << int(Qt::Key_Left) << ctrl << TextPosition{0, 18};
    QTest::newRow("Home") << words << TextPosition{1, 4} << int(Qt::Key_Home) << none
                          << TextPosition{1, 0};
    QTest::newRow("End") << words << TextPosition{0, 3} << int(Qt::Key_End) << none
                         << TextPosition{0, 18};
    QTest::newRow("Ctrl+Home") << words << TextPosition{1, 4} << int(Qt::Key_Home) << ctrl
                               << TextPosition{0, 0};
    QTest::newRow("Ctrl+End") << words << TextPosition{0, 3} << int(Qt::Key_End) << ctrl
                              << TextPosition{1, 8};
    QTest::newRow("Up on the first row")
        << words << TextPosition{0, 3} << int(Qt::Key_Up) << none << TextPosition{0, 0};
    QTest::newRow("Down on the last row")
        << words << TextPosition{1, 3} << int(Qt::Key_Down) << none << TextPosition{1, 8};
}

void TestTextPane::movementKeys()
{
    QFETCH(QString, text);
    QFETCH(TextPosition, caret);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(TextPosition, caretAfter);
    m_pane->setText(text);
    m_pane->setCaret(caret);
    QTest::keyClick(m_pane, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_pane->caret(), caretAfter);
    QVERIFY(!m_pane->hasSelection());
    QCOMPARE(m_pane->text(), text);
}

void TestTextPane::shiftExtendsTheSelection()
{
    m_pane->setText(u"hello\nworld"_s);
    m_pane->setCaret({0, 1});
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(m_pane, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(m_pane->selectedText(), u"ell"_s);
    QTest::keyClick(m_pane, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(m_pane->selectedText(), u"ello\nworl"_s);
    QCOMPARE(m_pane->anchor(), (TextPosition{0, 1}));
    QTest::keyClick(m_pane, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(m_pane->selectedText(), u"ello\nworld"_s);
    QTest::keyClick(m_pane, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_pane->selectedText(), u"ello\n"_s);
    QTest::keyClick(m_pane, Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_pane->selectedText(), u"h"_s);
    // Without Shift, an arrow collapses the selection to its edge.
    QTest::keyClick(m_pane, Qt::Key_Right);
    QCOMPARE(m_pane->caret(), (TextPosition{0, 1}));
    QVERIFY(!m_pane->hasSelection());
    QTest::keyClick(m_pane, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_pane->selectedText(), u"hello\nworld"_s);
}

void TestTextPane::upDownKeepTheColumnAcrossAShorterRow()
{
    m_pane->setText(u"abcdefgh\nab\nabcdefgh"_s);
    m_pane->setCaret({0, 6});
    QTest::keyClick(m_pane, Qt::Key_Down);
    QCOMPARE(m_pane->caret(), (TextPosition{1, 2}));
    QTest::keyClick(m_pane, Qt::Key_Down);
    QCOMPARE(m_pane->caret(), (TextPosition{2, 6}));
    QTest::keyClick(m_pane, Qt::Key_Up);
    QTest::keyClick(m_pane, Qt::Key_Up);
    QCOMPARE(m_pane->caret(), (TextPosition{0, 6}));
    // A sideways move sets a new column to keep.
    QTest::keyClick(m_pane, Qt::Key_Left);
    QTest::keyClick(m_pane, Qt::Key_Down);
    QTest::keyClick(m_pane, Qt::Key_Down);
    QCOMPARE(m_pane->caret(), (TextPosition{2, 5}));
}

void TestTextPane::pageKeysMoveByAScreen()
{
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines.append(u"row %1"_s.arg(i));
    m_pane->setLines(lines);
    const int page = m_pane->viewport()->height() / m_pane->rowHeight();
    QTest::keyClick(m_pane, Qt::Key_PageDown);
    QCOMPARE(m_pane->caret().row, page);
    QCOMPARE(m_pane->verticalScrollBar()->value(), page);
    QTest::keyClick(m_pane, Qt::Key_PageDown, Qt::ShiftModifier);
    QCOMPARE(m_pane->caret().row, 2 * page);
    QCOMPARE(m_pane->anchor().row, page);
    QTest::keyClick(m_pane, Qt::Key_PageUp);
    QCOMPARE(m_pane->caret().row, page);
    QVERIFY(!m_pane->hasSelection());
    QTest::keyClick(m_pane, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_pane->caret(), (TextPosition{200, 0}));
    const int top = m_pane->verticalScrollBar()->value();
    QVERIFY(top <= 200 && 200 < top + page);
}

void TestTextPane::pasteTurnsEveryBreakIntoARow()
{
    m_pane->setText(u"[]"_s);
    m_pane->setCaret({0, 1});
    QGuiApplication::clipboard()->setText(u"one\r\ntwo\rthree\n"_s);
    QTest::keyClick(m_pane, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_pane->text(), u"[one\ntwo\nthree\n]"_s);
    QCOMPARE(m_pane->store().rowCount(), 4);
    QCOMPARE(m_pane->caret(), (TextPosition{3, 0}));
    QGuiApplication::clipboard()->setText(u"x\r\n"_s);
    QTest::keyClick(m_pane, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(m_pane->text(), u"[one\ntwo\nthree\nx\n]"_s);
}

void TestTextPane::cutAndCopy()
{
    m_pane->setText(u"abc\ndef"_s);
    m_pane->setSelection(1, 4);
    QTest::keyClick(m_pane, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"bc\nd"_s);
    QCOMPARE(m_pane->text(), u"abc\ndef"_s);
    m_pane->setSelection(0, 1);
    QTest::keyClick(m_pane, Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"a"_s);

    m_pane->setSelection(1, 4);
    QTest::keyClick(m_pane, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"bc\nd"_s);
    QCOMPARE(m_pane->text(), u"aef"_s);
    QCOMPARE(m_pane->caret(), (TextPosition{0, 1}));
    m_pane->setSelection(2, 1);
    QTest::keyClick(m_pane, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"f"_s);
    QCOMPARE(m_pane->text(), u"ae"_s);

    // With nothing selected, cutting and copying leave the clipboard alone.
    QTest::keyClick(m_pane, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(m_pane, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"f"_s);
    QCOMPARE(m_pane->text(), u"ae"_s);
}

void TestTextPane::undoRedo()
{
    m_pane->setText(u"start"_s);
    QVERIFY(!m_pane->isUndoAvailable());
    QTest::keyClick(m_pane, Qt::Key_End);
    QTest::keyClicks(m_pane, u" abc"_s);
    QTest::keyClick(m_pane, Qt::Key_Return);
    QTest::keyClicks(m_pane, u"de"_s);
    QCOMPARE(m_pane->text(), u"start abc\nde"_s);

    QTest::keyClick(m_pane, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_pane->text(), u"start abc\n"_s);
    QTest::keyClick(m_pane, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_pane->text(), u"start abc"_s);
    QTest::keyClick(m_pane, Qt::Key_Z, Qt::ControlModifier); // the typed run goes as one
    QCOMPARE(m_pane->text(), u"start"_s);
    QCOMPARE(m_pane->caret(), (TextPosition{0, 5}));
    QVERIFY(!m_pane->isUndoAvailable());

    QTest::keyClick(m_pane, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(m_pane->text(), u"start abc"_s);
    QTest::keyClick(m_pane, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(m_pane, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(m_pane->text(), u"start abc\nde"_s);
    QCOMPARE(m_pane->caret(), (TextPosition{1, 2}));

    // Paste over a selection comes back as the selection it replaced.
    m_pane->setSelection(0, 5);
    QGuiApplication::clipboard()->setText(u"P\r\nQ"_s);
    QTest::keyClick(m_pane, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_pane->text(), u"P\nQ abc\nde"_s);
    m_pane->undo();
    QCOMPARE(m_pane->text(), u"start abc\nde"_s);
    QCOMPARE(m_pane->selectedText(), u"start"_s);
    m_pane->redo();
    QCOMPARE(m_pane->text(), u"P\nQ abc\nde"_s);

    // Typing after moving the caret starts a new step.
    m_pane->setCaret({1, 0});
    QTest::keyClicks(m_pane, u"x"_s);
    m_pane->setCaret({0, 0});
    QTest::keyClicks(m_pane, u"y"_s);
    m_pane->undo();
    QCOMPARE(m_pane->text(), u"P\nxQ abc\nde"_s);

    m_pane->setText(u"new"_s);
    QVERIFY(!m_pane->isUndoAvailable());
    m_pane->undo();
    QCOMPARE(m_pane->text(), u"new"_s);
}

void TestTextPane::readOnlyRefusesEdits()
{
    m_pane->setText(u"fixed\ntext"_s);
    m_pane->setReadOnly(true);
    QSignalSpy changed(m_pane, &TextPane::textChanged);
    QGuiApplication::clipboard()->setText(u"pasted"_s);
    QTest::keyClicks(m_pane, u"abc"_s);
    QTest::keyClick(m_pane, Qt::Key_Return);
    QTest::keyClick(m_pane, Qt::Key_Delete);
    QTest::keyClick(m_pane, Qt::Key_V, Qt::ControlModifier);
    m_pane->insertText(u"inserted"_s);
    m_pane->setSelection(0, 5);
    QTest::keyClick(m_pane, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(m_pane, Qt::Key_Backspace);
    QCOMPARE(m_pane->text(), u"fixed\ntext"_s);
    QCOMPARE(changed.count(), 0);

    // Copying and moving still work.
    QTest::keyClick(m_pane, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"fixed"_s);
    QTest::keyClick(m_pane, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_pane->caret(), (TextPosition{1, 4}));

    m_pane->setReadOnly(false);
    QTest::keyClicks(m_pane, u"!"_s);
    QCOMPARE(m_pane->text(), u"fixed\ntext!"_s);
}

void TestTextPane::offsetsFollowTheLinesView()
{
    m_pane->setLines({u"ab"_s, u"cde"_s, u""_s});
    QCOMPARE(m_pane->text(), u"ab\ncde\n\n"_s);
    QCOMPARE(m_pane->lines(), (QStringList{u"ab"_s, u"cde"_s, u""_s}));
    QCOMPARE(m_pane->caret(), (TextPosition{0, 0}));
    m_pane->moveCaretToOffset(4);
    QCOMPARE(m_pane->caret(), (TextPosition{1, 1}));
    QCOMPARE(m_pane->selectionStart(), 4);
    m_pane->moveCaretToOffset(7);
    QCOMPARE(m_pane->caret(), (TextPosition{2, 0}));
    m_pane->moveCaretToOffset(999);
    QCOMPARE(m_pane->caret(), (TextPosition{3, 0}));
    m_pane->setSelection(1, 3);
    QCOMPARE(m_pane->selectedText(), u"b\nc"_s);
    QCOMPARE(m_pane->selectionStart(), 1);
    QCOMPARE(m_pane->selectionLength(), 3);
    QCOMPARE(m_pane->anchor(), (TextPosition{0, 1}));
    QCOMPARE(m_pane->caret(), (TextPosition{1, 1}));
    // A selection made backwards starts where its start is.
    m_pane->setCaret({0, 1}, true);
    m_pane->setCaret({2, 0}, false);
    m_pane->setCaret({1, 2}, true);
    QCOMPARE(m_pane->selectionStart(), 5);
    QCOMPARE(m_pane->selectedText(), u"e\n"_s);
}

void TestTextPane::signalsFollowChanges()
{
    QSignalSpy changed(m_pane, &TextPane::textChanged);
    QSignalSpy moved(m_pane, &TextPane::caretMoved);
    m_pane->setText(u"abc\ndef"_s);
    QCOMPARE(changed.count(), 1);
    m_pane->setLines({u"abc"_s, u"def"_s});
    QCOMPARE(changed.count(), 2);
    QCOMPARE(moved.count(), 0); // the caret stayed at the start

    QTest::keyClick(m_pane, Qt::Key_Right);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(changed.count(), 2);
    QTest::keyClick(m_pane, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(moved.count(), 2);
    QTest::keyClick(m_pane, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(m_pane, Qt::Key_Home); // already there: nothing moves
    QCOMPARE(moved.count(), 3);

    QTest::keyClicks(m_pane, u"x"_s);
    QCOMPARE(changed.count(), 3);
    QCOMPARE(moved.count(), 4);
    m_pane->undo();
    QCOMPARE(changed.count(), 4);
    QCOMPARE(moved.count(), 5);
    QGuiApplication::clipboard()->setText(u"p"_s);
    m_pane->paste();
    QCOMPARE(changed.count(), 5);
    m_pane->selectAll();
    QCOMPARE(moved.count(), 7);
    m_pane->cut();
    QCOMPARE(changed.count(), 6);
    QCOMPARE(moved.count(), 8);
}

void TestTextPane::nonAsciiInput()
{
    sendText(m_pane, u"é"_s);
    sendText(m_pane, u"€"_s);
    sendText(m_pane, u"\U0001F600"_s);
    sendText(m_pane, u"ж"_s);
    QCOMPARE(m_pane->text(), u"é€\U0001F600ж"_s);
    QCOMPARE(m_pane->caret(), (TextPosition{0, 5}));
    m_pane->undo(); // typed together, undone together
    QCOMPARE(m_pane->text(), QString());

    QInputMethodEvent commit;
    commit.setCommitString(u"日本語"_s);
    QCoreApplication::sendEvent(m_pane, &commit);
    QCOMPARE(m_pane->text(), u"日本語"_s);
    QCOMPARE(m_pane->caret(), (TextPosition{0, 3}));
    QCOMPARE(m_pane->inputMethodQuery(Qt::ImSurroundingText).toString(), u"日本語"_s);
    QCOMPARE(m_pane->inputMethodQuery(Qt::ImCursorPosition).toInt(), 3);
    const QRect caret = m_pane->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QVERIFY(m_pane->rect().contains(caret.center()));
}

void TestTextPane::inputMethodCommitReplacesTheSelection()
{
    m_pane->setText(u"abcd"_s);
    m_pane->setSelection(1, 2);
    QInputMethodEvent preedit(u"ka"_s, {});
    QCoreApplication::sendEvent(m_pane, &preedit);
    QCOMPARE(m_pane->text(), u"abcd"_s); // composing text is not yet part of the text
    QInputMethodEvent commit;
    commit.setCommitString(u"か"_s);
    QCoreApplication::sendEvent(m_pane, &commit);
    QCOMPARE(m_pane->text(), u"aかd"_s);
    // A replacement counted from the caret.
    QInputMethodEvent replace;
    replace.setCommitString(u"ガ"_s, -1, 1);
    QCoreApplication::sendEvent(m_pane, &replace);
    QCOMPARE(m_pane->text(), u"aガd"_s);
    QCOMPARE(m_pane->caret(), (TextPosition{0, 2}));
}

void TestTextPane::mouseClickPlacesTheCaret()
{
    m_pane->setText(u"first row\nsecond row\n\nlast"_s);
    QWidget *view = m_pane->viewport();
    QTest::mouseClick(view, Qt::LeftButton, {}, pointAt(*m_pane, 1, 3));
    QCOMPARE(m_pane->caret(), (TextPosition{1, 3}));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, pointAt(*m_pane, 0, 6));
    QCOMPARE(m_pane->selectedText(), u"row\nsec"_s);
    QTest::mouseClick(view, Qt::LeftButton, {}, pointAt(*m_pane, 0, 40)); // past the row end
    QCOMPARE(m_pane->caret(), (TextPosition{0, 9}));
    QVERIFY(!m_pane->hasSelection());
    QTest::mouseClick(view, Qt::LeftButton, {}, pointAt(*m_pane, 9, 2)); // below the text
    QCOMPARE(m_pane->caret(), (TextPosition{3, 2}));
    QTest::mouseDClick(view, Qt::LeftButton, {}, pointAt(*m_pane, 1, 8));
    QCOMPARE(m_pane->selectedText(), u"row"_s);

    // Dragging selects.
    QTest::mousePress(view, Qt::LeftButton, {}, pointAt(*m_pane, 0, 2));
    QMouseEvent move(QEvent::MouseMove, pointAt(*m_pane, 1, 4),
                     view->mapToGlobal(pointAt(*m_pane, 1, 4)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, pointAt(*m_pane, 1, 4));
    QCOMPARE(m_pane->selectedText(), u"rst row\nseco"_s);

    // A bigger font keeps clicks on target.
    QFont big = m_pane->font();
    big.setPointSize(20);
    const int smallRows = m_pane->rowHeight();
    m_pane->setFont(big);
    QVERIFY(m_pane->rowHeight() > smallRows);
    QTest::mouseClick(view, Qt::LeftButton, {}, pointAt(*m_pane, 1, 5));
    QCOMPARE(m_pane->caret(), (TextPosition{1, 5}));
}

void TestTextPane::dragPastTheBottomScrollsAndSelects()
{
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines.append(u"line %1"_s.arg(i));
    m_pane->setLines(lines);
    QWidget *view = m_pane->viewport();
    QTest::mousePress(view, Qt::LeftButton, {}, pointAt(*m_pane, 1, 0));
    const QPoint below(20, view->height() + 30);
    QMouseEvent move(QEvent::MouseMove, below, view->mapToGlobal(below), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
    QTRY_VERIFY(m_pane->verticalScrollBar()->value() > 3);
    QTest::mouseRelease(view, Qt::LeftButton, {}, below);
    const int top = m_pane->verticalScrollBar()->value();
    QCOMPARE(m_pane->anchor(), (TextPosition{1, 0}));
    QVERIFY(m_pane->caret().row >= top + 3);
    QTest::qWait(100); // released: no more scrolling
    QCOMPARE(m_pane->verticalScrollBar()->value(), top);
}

void TestTextPane::rightClickOnlyAsksForAMenu()
{
    m_pane->setText(u"abc\ndef"_s);
    m_pane->setSelection(1, 2);
    QSignalSpy menu(m_pane, &TextPane::contextMenuRequested);
    QSignalSpy moved(m_pane, &TextPane::caretMoved);
    const QPoint at = pointAt(*m_pane, 1, 2);
    QTest::mouseClick(m_pane->viewport(), Qt::RightButton, {}, at);
    QCOMPARE(menu.count(), 1);
    QCOMPARE(menu.first().first().toPoint(), m_pane->viewport()->mapToGlobal(at));
    QCOMPARE(moved.count(), 0);
    QCOMPARE(m_pane->selectedText(), u"bc"_s);
    QCOMPARE(m_pane->text(), u"abc\ndef"_s);
}

void TestTextPane::ownerFilterSeesRawEvents()
{
    EventWatcher watcher(m_pane);
    m_pane->installEventFilter(&watcher);
    m_pane->viewport()->installEventFilter(&watcher);
    // Sent to the window, as the window system does, to reach whichever widget has the focus.
    QTest::keyClick(m_pane->windowHandle(), Qt::Key_Q);
    QCOMPARE(watcher.textAtPress, QString());
    QCOMPARE(watcher.textAtRelease, u"q"_s);
    QCOMPARE(QApplication::focusWidget(), m_pane);
    QTest::mouseClick(m_pane->viewport(), Qt::LeftButton, {}, pointAt(*m_pane, 0, 0));
    QCOMPARE(watcher.mouseReleases, 1);
}

void TestTextPane::tabStops_data()
{
    QTest::addColumn<QList<qreal>>("stops");
    QTest::addColumn<QString>("row");
    QTest::addColumn<qreal>("x"); // where the row's last character starts
    QTest::newRow("first stop") << QList<qreal>{40, 100} << u"\tx"_s << 40.0;
    QTest::newRow("second stop") << QList<qreal>{40, 100} << u"\t\tx"_s << 100.0;
    QTest::newRow("beyond the last stop, the last interval again")
        << QList<qreal>{40, 100} << u"\t\t\t\tx"_s << 220.0;
    QTest::newRow("text past a stop goes to the next")
        << QList<qreal>{40, 100} << u"abcdefghijklmn\tx"_s << 160.0;
    QTest::newRow("one stop repeats from the start") << QList<qreal>{30} << u"\t\t\tx"_s << 90.0;
}

void TestTextPane::tabStops()
{
    QFETCH(QList<qreal>, stops);
    QFETCH(QString, row);
    QFETCH(qreal, x);
    m_pane->setTabStops(stops);
    m_pane->setText(row);
    const QRect r = m_pane->positionRect({0, row.size() - 1});
    QCOMPARE(r.left() - TextPane::leftMargin, int(x));
}

void TestTextPane::tabStopsByDefaultEveryEightSpaces()
{
    TextPane pane; // with the font it starts with
    pane.setText(u"\tx\nabc\tx"_s);
    const int eight = int(8 * QFontMetricsF(pane.font()).horizontalAdvance(u' '));
    QCOMPARE(pane.positionRect({0, 1}).left() - TextPane::leftMargin, eight);
    QCOMPARE(pane.positionRect({1, 4}).left() - TextPane::leftMargin, eight);
}

void TestTextPane::awkwardRowsPaint_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("NUL and other C0 controls") << u"a\0b\x01\x1b\x7f"_s;
    QTest::newRow("lone surrogates") << QString(QChar(0xD800)) + u"x"_s + QChar(0xDC00);
    QTest::newRow("right to left") << u"abc \u05D0\u05D1\u05D2 \u0627\u0644\u0639 def"_s;
    QTest::newRow("combining marks") << u"e\u0301\u0302\u0303 a\u0308"_s;
    QTest::newRow("tabs") << u"\ta\t\tb\t"_s;
    QTest::newRow("row longer than one piece") << QString(5000, u'w') + u"\tend"_s;
}

void TestTextPane::awkwardRowsPaint()
{
    QFETCH(QString, text);
    m_pane->setText(QString(text + u'\n' + text));
    m_pane->selectAll();
    QVERIFY(!m_pane->viewport()->grab().isNull());
    // Walk the caret over every position of the row, and back with the mouse.
    m_pane->setCaret({});
    qsizetype steps = 0;
    while (m_pane->caret().row == 0 && steps++ < text.size() + 1)
        QTest::keyClick(m_pane, Qt::Key_Right);
    QCOMPARE(m_pane->caret(), (TextPosition{1, 0}));
    QTest::keyClick(m_pane, Qt::Key_End);
    QCOMPARE(m_pane->caret(), (TextPosition{1, text.size()}));
    const TextPosition hit = m_pane->positionAt(m_pane->positionRect({1, 1}).center());
    QVERIFY(hit.row == 1 && hit.column >= 0 && hit.column <= text.size());
    QVERIFY(!m_pane->viewport()->grab().isNull());
}

void TestTextPane::millionCharacterRowStaysEditable()
{
    QString row(1'000'000, u'm');
    row[500'000] = u'\t';
    m_pane->setText(QString(u"top\n"_s + row));
    QTest::keyClick(m_pane, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_pane->caret(), (TextPosition{1, 1'000'000}));
    QVERIFY(m_pane->horizontalScrollBar()->value() > 0);
    QVERIFY(!m_pane->viewport()->grab().isNull());
    QTest::keyClicks(m_pane, u"!"_s);
    QTest::keyClick(m_pane, Qt::Key_Left);
    QTest::keyClick(m_pane, Qt::Key_Left);
    QCOMPARE(m_pane->caret(), (TextPosition{1, 999'999}));
    // A click lands on the column under the pointer, far along the row.
    const QRect r = m_pane->positionRect({1, 999'990});
    QCOMPARE(m_pane->positionAt(r.center() - QPoint(r.width() / 4, 0)), (TextPosition{1, 999'990}));
    QTest::keyClick(m_pane, Qt::Key_Home);
    QCOMPARE(m_pane->horizontalScrollBar()->value(), 0);
    QTest::keyClicks(m_pane, u"?"_s);
    QCOMPARE(m_pane->store().row(1).size(), 1'000'002);
    QVERIFY(m_pane->store().row(1).startsWith(u"?m"_s));
    QVERIFY(m_pane->store().row(1).endsWith(u"m!"_s));
    QVERIFY(!m_pane->viewport()->grab().isNull());
}

void TestTextPane::wheelScrolls()
{
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines.append(QString(200, u'a'));
    m_pane->setLines(lines);
    const QPoint at = m_pane->viewport()->rect().center();
    QWheelEvent down(at, m_pane->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m_pane->viewport(), &down);
    QCOMPARE(m_pane->verticalScrollBar()->value(),
             QGuiApplication::styleHints()->wheelScrollLines());
    QCOMPARE(m_pane->horizontalScrollBar()->value(), 0);
    QWheelEvent sideways(at, m_pane->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m_pane->viewport(), &sideways);
    QVERIFY(m_pane->horizontalScrollBar()->value() > 0);
    QCOMPARE(m_pane->caret(), (TextPosition{0, 0})); // scrolling leaves the caret alone
}

void TestTextPane::accessibleText()
{
    m_pane->setAccessibleName(u"Work area"_s);
    m_pane->setText(u"first line\nsecond words here\nthird"_s);
    m_pane->setCaret({1, 7});
    QAccessibleInterface *pane = QAccessible::queryAccessibleInterface(m_pane);
    QVERIFY(pane);
    QCOMPARE(pane->role(), QAccessible::EditableText);
    QCOMPARE(pane->text(QAccessible::Name), u"Work area"_s);
    QVERIFY(pane->state().editable && pane->state().multiLine);
    QAccessibleTextInterface *text = pane->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), m_pane->text().size());
    QCOMPARE(text->text(0, text->characterCount()), m_pane->text());
    QCOMPARE(text->text(11, 17), u"second"_s);
    QCOMPARE(text->cursorPosition(), 18);

    int start = 0;
    int end = 0;
    QCOMPARE(text->textAtOffset(-2, QAccessible::WordBoundary, &start, &end), u"words"_s);
    QCOMPARE(start, 18);
    QCOMPARE(end, 23);
    const QString line = text->textAtOffset(20, QAccessible::LineBoundary, &start, &end);
    QCOMPARE(line.trimmed(), u"second words here"_s);
    QCOMPARE(start, 11);

    text->setSelection(0, 6, 10);
    QCOMPARE(m_pane->selectedText(), u"line"_s);
    text->setCursorPosition(29);
    QCOMPARE(m_pane->caret(), (TextPosition{2, 0}));

    QAccessibleEditableTextInterface *editable = pane->editableTextInterface();
    QVERIFY(editable);
    editable->replaceText(0, 5, u"1st"_s);
    editable->insertText(3, u"!"_s);
    QCOMPARE(m_pane->text(), u"1st! line\nsecond words here\nthird"_s);
    m_pane->undo();
    QCOMPARE(m_pane->text(), u"1st line\nsecond words here\nthird"_s);
    m_pane->setReadOnly(true);
    editable->deleteText(0, 3);
    QCOMPARE(m_pane->text(), u"1st line\nsecond words here\nthird"_s);
    QVERIFY(pane->state().readOnly);
}

QTEST_MAIN(TestTextPane)
#include "tst_textpane.moc"
