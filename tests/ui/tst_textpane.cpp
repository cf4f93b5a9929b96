#include "ui/textpane.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleHints>
#include <QTest>
#include <QTextCharFormat>
#include <QTimer>

using namespace Qt::StringLiterals;
using plintex::TextPane;
using plintex::TextPosition;

Q_DECLARE_METATYPE(plintex::TextPosition)

namespace {
// One mouse event over a text position; the delay is the time since the event before.
struct MouseStep {
    QEvent::Type type;
    TextPosition at;
    Qt::MouseButton button = Qt::LeftButton;
    int delay = 10;
    Qt::KeyboardModifiers modifiers = {};
};
} // namespace
Q_DECLARE_METATYPE(QList<MouseStep>)

namespace plintex {
char *toString(const TextPosition &p)
{
    return QTest::toString(u"(%1, %2)"_s.arg(p.row).arg(p.column));
}
} // namespace plintex

namespace {

QFont fixedFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(11);
    return font;
}

// The point in the viewport over the left part of a character cell.
QPoint pointAt(const TextPane &pane, qsizetype row, qsizetype column)
{
    const qreal width = QFontMetricsF(pane.font()).horizontalAdvance(u'x');
    const qsizetype y = (row - pane.verticalScrollBar()->value()) * pane.rowHeight();
    return QPoint(int(TextPane::leftMargin + (qreal(column) + 0.3) * width),
                  int(y) + pane.rowHeight() / 2);
}

// Positions written "row,column row,column ...".
QList<TextPosition> positions(const QString &text)
{
    QList<TextPosition> list;
    for (const QString &p : text.split(u' ', Qt::SkipEmptyParts))
        list.append({p.section(u',', 0, 0).toLongLong(), p.section(u',', 1).toLongLong()});
    return list;
}

// A row of the key table: the keys as a shortcut reads them and the caret expected after each,
// then the text and selection, and what the clipboard holds before and after.
void keysRow(const char *name, const QString &text, const char *caret, const char *keys,
             const char *trail, const QString &result, const QString &selected = {},
             const QString &clipboard = {}, const QString &clipboardAfter = {},
             bool readOnly = false)
{
    QTest::newRow(name) << text << QString::fromLatin1(caret) << QString::fromLatin1(keys)
                        << QString::fromLatin1(trail) << result << selected << clipboard
                        << clipboardAfter << readOnly;
}

QList<MouseStep> click(TextPosition at, int delay = 10, Qt::MouseButton button = Qt::LeftButton,
                       Qt::KeyboardModifiers modifiers = {})
{
    return {{QEvent::MouseButtonPress, at, button, delay, modifiers},
            {QEvent::MouseButtonRelease, at, button, 10, modifiers}};
}

// As Qt delivers it: the second press comes before the double click.
QList<MouseStep> doubleClick(TextPosition at)
{
    return click(at) + QList<MouseStep>{{QEvent::MouseButtonPress, at},
                                        {QEvent::MouseButtonDblClick, at},
                                        {QEvent::MouseButtonRelease, at}};
}

QList<MouseStep> pressAndDrag(QList<MouseStep> press, TextPosition to)
{
    press.removeLast(); // still held
    return press + QList<MouseStep>{{QEvent::MouseMove, to}, {QEvent::MouseButtonRelease, to}};
}

// Runs while the menu that an action opens is shown: notes its enabled entries, chooses one.
QStringList chooseFromMenu(const QString &choice, const std::function<void()> &open)
{
    QStringList enabled;
    QTimer timer; // dies unfired with this scope when no menu opens
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *a : menu->actions()) {
            const QString caption = a->text().section(u'\t', 0, 0).remove(u'&');
            if (!a->isEnabled() || a->isSeparator())
                continue;
            enabled.append(caption);
            if (caption == choice)
                a->trigger();
        }
        menu->close();
    });
    timer.start(0);
    open();
    return enabled;
}

QList<QAccessible::Event> accessibleEvents;
int longestAccessibleText = 0;

void noteAccessible(const QAccessibleEvent &event)
{
    accessibleEvents.append(event.type());
    if (event.type() == QAccessible::TextUpdated) {
        const auto &update = static_cast<const QAccessibleTextUpdateEvent &>(event);
        longestAccessibleText =
            std::max<int>({longestAccessibleText, int(update.textInserted().size()),
                           int(update.textRemoved().size())});
    }
}

// Notes what the pane held when the owner's filter last saw each kind of event.
struct EventWatcher : QObject {
    TextPane *pane = nullptr;
    QHash<QEvent::Type, QString> textAt;
    bool eventFilter(QObject *, QEvent *event) override
    {
        textAt[event->type()] = pane->text();
        return false;
    }
};

} // namespace

class TestTextPane : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { plintex::installTextPaneAccessibility(); }
    void init();
    void cleanup() { delete m_pane; }

    void keys_data();
    void keys();
    void replaceLinesWritesOnlyWhatChanged_data();
    void replaceLinesWritesOnlyWhatChanged();
    void signalsFollowChanges();
    void nonAsciiInput();
    void mouseSelection_data();
    void mouseSelection();
    void primarySelection();
    void dragAndDrop_data();
    void dragAndDrop();
    void editMenu_data();
    void editMenu();
    void scrollRange_data();
    void scrollRange();
    void largeEditKeepsHistory();
    void ownerFilterSeesRawEvents();
    void pageKeysAndWheelScroll();
    void tabStops_data();
    void tabStops();
    void tabsLandOnStops_data();
    void tabsLandOnStops();
    void awkwardRows_data();
    void awkwardRows();
    void accessibleText();

private:
    // Presses keys written as shortcuts read ("Ctrl+Home Down"); the caret after each.
    QList<TextPosition> press(const QString &keys)
    {
        QList<TextPosition> carets;
        for (const QString &key : keys.split(u' ', Qt::SkipEmptyParts)) {
            const QKeyCombination k = QKeySequence::fromString(key)[0];
            if (k.key() == Qt::Key_unknown)
                qFatal("no such key: %s", qPrintable(key));
            QTest::keyClick(m_pane, k.key(), k.keyboardModifiers());
            carets.append(m_pane->caret());
        }
        return carets;
    }

    TextPane *m_pane = nullptr;
};

void TestTextPane::init()
{
    m_pane = new TextPane;
    m_pane->setFont(fixedFont());
    m_pane->resize(400, 300);
    m_pane->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pane));
    m_pane->setFocus();
}

void TestTextPane::keys_data()
{
    for (const char *column :
         {"text", "caret", "keys", "trail", "result", "selected", "clipboard", "clipboardAfter"})
        QTest::addColumn<QString>(column);
    QTest::addColumn<bool>("readOnly");
    const QString words = u"alpha, beta  gamma\nnext row"_s;
    const QString hw = u"hello\nworld"_s;
    const QString steps = u"abcdefgh\nab\nabcdefgh"_s;
    const QString abc = u"abc"_s;
    const QString breaks = u"one\r\ntwo\rthree\n"_s;
    const QString hebrew = u"\u05D0\u05D1\u05D2"_s;
    keysRow("letters, Return, keypad Enter and Tab type; Ctrl+letter and Escape not", u""_s, "0,0",
            "A Return B Num+Enter Tab Ctrl+B Esc", "0,1 1,0 1,1 2,0 2,1 2,1 2,1", u"a\nb\n\t"_s);
    keysRow("arrows cross a break, Backspace and Delete join rows there but not at the ends",
            u"ab\ncd\nef"_s, "0,2",
            "Right Left Right Backspace End Del Ctrl+Home Backspace Ctrl+End Del",
            "1,0 0,2 1,0 0,2 0,4 0,4 0,0 0,0 0,6 0,6", u"abcdef"_s);
    keysRow("Ctrl+Backspace and Ctrl+Delete take words and spaces", u"one two  three four"_s, "0,9",
            "Ctrl+Backspace Ctrl+Del", "0,4 0,4", u"one four"_s);
    keysRow("Right and Backspace take a surrogate pair whole, Delete a letter with its mark",
            u"a\U0001F600be\u0301x"_s, "0,1", "Right Backspace Right Del", "0,3 0,1 0,2 0,2",
            u"abx"_s);
    keysRow("Return and Backspace replace the selection", hw, "0,1",
            "Shift+Down Return Shift+Right Backspace", "1,1 1,0 1,1 1,0", u"h\nrld"_s);
    keysRow("Ctrl+Right and Ctrl+Left by words, punctuation, spaces and the break", words, "0,0",
            "Ctrl+Right Ctrl+Right Ctrl+Right Ctrl+Right Ctrl+Right End Ctrl+Left Ctrl+Left "
            "Ctrl+Left Ctrl+Left Ctrl+Left Ctrl+Left Ctrl+Left",
            "0,5 0,7 0,13 0,18 1,0 1,8 1,5 1,0 0,18 0,13 0,7 0,5 0,0", words);
    keysRow("Home, End, Ctrl+End, Ctrl+Home; Up on the first row, Down on the last", words, "1,4",
            "Home End Up End Ctrl+End Ctrl+Home Up Right Down Down",
            "1,0 1,8 0,8 0,18 1,8 0,0 0,0 0,1 1,1 1,8", words);
    keysRow("Up and Down keep the column across a shorter row", steps, "0,6",
            "Down Down Up Up Left Down Down", "1,2 2,6 1,2 0,6 0,5 1,2 2,5", steps);
    keysRow("Shift extends from the anchor, over the break and back", hw, "0,1",
            "Shift+Right Shift+Down Shift+End Ctrl+Shift+Left Ctrl+Shift+Home",
            "0,2 1,2 1,5 1,0 0,0", hw, u"h"_s);
    keysRow("an arrow collapses a selection to its edge", hw, "0,3",
            "Shift+Left Shift+Left Right Shift+Right Shift+Right Left", "0,2 0,1 0,3 0,4 0,5 0,3",
            hw);
    keysRow("Ctrl+A selects everything", hw, "0,2", "Ctrl+A", "1,5", hw, hw);
    keysRow("Ctrl+X cuts across a break, Ctrl+V pastes twice", u"abc\ndef"_s, "0,1",
            "Shift+Down Ctrl+X Ctrl+V Ctrl+V", "1,1 0,1 1,1 2,1", u"abc\ndbc\ndef"_s, u""_s, u""_s,
            u"bc\nd"_s);
    keysRow("Ctrl+C and Ctrl+X with nothing selected", abc, "0,1", "Ctrl+C Ctrl+X", "0,1 0,1", abc,
            u""_s, u"kept"_s, u"kept"_s);
    keysRow("Ctrl+Insert copies, Shift+Insert pastes, Shift+Delete cuts", abc, "0,0",
            "Shift+Right Ctrl+Ins End Shift+Ins Shift+Left Shift+Left Shift+Del",
            "0,1 0,1 0,3 0,4 0,3 0,2 0,2", u"ab"_s, u""_s, u"kept"_s, u"ca"_s);
    keysRow("Ctrl+V turns CR LF, CR and LF into row breaks", u"[]"_s, "0,1", "Ctrl+V", "3,0",
            u"[one\ntwo\nthree\n]"_s, u""_s, breaks, breaks);
    keysRow("a typed run undoes as one step, a break as another", u"start"_s, "0,5",
            "Space A B Return D Ctrl+Z Ctrl+Z Ctrl+Z Ctrl+Z", "0,6 0,7 0,8 1,0 1,1 1,0 0,8 0,5 0,5",
            u"start"_s);
    keysRow("a run of Backspace undoes as one step, then a run of Delete", u"abcdef"_s, "0,3",
            "Backspace Backspace Del Del Ctrl+Z Ctrl+Z", "0,2 0,1 0,1 0,1 0,1 0,3", u"abcdef"_s);
    keysRow("in a right-to-left row Left goes on in the text, Right back", hebrew + u"\nx"_s, "0,0",
            "Left Left Right End Left", "0,1 0,2 0,1 0,3 1,0", hebrew + u"\nx"_s);
    keysRow("Right from the start of a right-to-left row goes to the row before", u"x\n"_s + hebrew,
            "1,0", "Right", "0,1", u"x\n"_s + hebrew);
    keysRow("Ctrl+Y and Ctrl+Shift+Z redo", u"s"_s, "0,1",
            "A Return Ctrl+Z Ctrl+Z Ctrl+Y Ctrl+Shift+Z", "0,2 1,0 0,2 0,1 0,2 1,0", u"sa\n"_s);
    keysRow("typing after moving the caret is a new undo step", u"ab"_s, "0,0", "X Right Y Ctrl+Z",
            "0,1 0,2 0,3 0,2", u"xab"_s);
    keysRow("undoing a paste over a selection selects the text again", u"start"_s, "0,0",
            "Shift+End Ctrl+V Ctrl+Z Ctrl+Y Ctrl+Z", "0,5 1,1 0,5 1,1 0,5", u"start"_s, u"start"_s,
            u"P\r\nQ"_s, u"P\r\nQ"_s);
    keysRow("read-only refuses edits but moves, selects and copies", hw, "0,0",
            "A Return Del Shift+End Ctrl+X Backspace Ctrl+V Ctrl+Z Ctrl+C Ctrl+End",
            "0,0 0,0 0,0 0,5 0,5 0,5 0,5 0,5 0,5 1,5", hw, u""_s, u"pasted"_s, u"hello"_s, true);
}

void TestTextPane::keys()
{
    QFETCH(QString, text);
    QFETCH(QString, caret);
    QFETCH(QString, keys);
    QFETCH(QString, trail);
    QFETCH(QString, clipboard);
    QFETCH(bool, readOnly);
    m_pane->setText(text);
    m_pane->setCaret(positions(caret).value(0));
    m_pane->setReadOnly(readOnly);
    QGuiApplication::clipboard()->setText(clipboard);
    QCOMPARE(press(keys), positions(trail));
    QTEST(m_pane->text(), "result");
    QTEST(m_pane->selectedText(), "selected");
    QTEST(QGuiApplication::clipboard()->text(), "clipboardAfter");
    QVERIFY(m_pane->hasFocus()); // Tab types a TAB rather than moving the focus
}

void TestTextPane::signalsFollowChanges()
{
    QSignalSpy changed(m_pane, &TextPane::textChanged);
    QSignalSpy moved(m_pane, &TextPane::caretMoved);
    m_pane->setText(u"abc\ndef"_s);
    m_pane->setLines({u"abc"_s, u"def"_s});
    const auto counts = [&] { return QList<qsizetype>{changed.count(), moved.count()}; };
    QCOMPARE(counts(), (QList<qsizetype>{2, 0})); // the caret stayed at the start
    press(u"Right Shift+Right Ctrl+Home Home"_s); // the last moves nothing
    QCOMPARE(counts(), (QList<qsizetype>{2, 3}));
    QTest::keyClicks(m_pane, u"x"_s);
    m_pane->undo();
    QCOMPARE(counts(), (QList<qsizetype>{4, 5}));
    m_pane->selectAll();
    m_pane->cut();
    QCOMPARE(counts(), (QList<qsizetype>{5, 7}));
    QVERIFY(m_pane->isUndoAvailable());
    m_pane->setText(u"new"_s); // a new text starts a new history
    QVERIFY(!m_pane->isUndoAvailable());
}

void TestTextPane::nonAsciiInput()
{
    for (const QString &typed : {u"é"_s, u"€"_s, u"\U0001F600"_s, u"ж"_s})
        QTest::sendKeyEvent(QTest::Click, m_pane, Qt::Key_unknown, typed, Qt::NoModifier);
    QCOMPARE(m_pane->text(), u"é€\U0001F600ж"_s);
    QCOMPARE(m_pane->caret(), (TextPosition{0, 5}));
    m_pane->undo(); // typed together, undone together
    QCOMPARE(m_pane->text(), QString());
    m_pane->setText(u"abcd"_s);
    m_pane->setSelection(1, 2);
    // The text being composed sits in the row: what follows moves right, the input method's
    // caret stands within it.
    const int dBefore = m_pane->positionRect({0, 3}).left();
    const qreal k = QFontMetricsF(m_pane->font()).horizontalAdvance(u'k');
    QTextCharFormat underlined;
    underlined.setFontUnderline(true);
    QInputMethodEvent preedit(u"ka"_s, {{QInputMethodEvent::Cursor, 1, 1, {}},
                                        {QInputMethodEvent::TextFormat, 0, 2, underlined}});
    QCoreApplication::sendEvent(m_pane, &preedit);
    QCOMPARE(m_pane->text(), u"abcd"_s); // composing text is not yet part of the text
    QVERIFY(std::abs(m_pane->positionRect({0, 3}).left() - dBefore - 2 * k) <= 1);
    const int imCaret = m_pane->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() -
                        m_pane->viewport()->geometry().left();
    QVERIFY(std::abs(imCaret - dBefore - k) <= 1);
    QInputMethodEvent commit;
    commit.setCommitString(u"日本"_s);
    QCoreApplication::sendEvent(m_pane, &commit);
    QCOMPARE(m_pane->text(), u"a日本d"_s);
    QCOMPARE(m_pane->inputMethodQuery(Qt::ImSurroundingText).toString(), u"a日本d"_s);
    QCOMPARE(m_pane->inputMethodQuery(Qt::ImCursorPosition).toInt(), 3);
    const QRect caret = m_pane->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QVERIFY(m_pane->rect().contains(caret.center()));
    QInputMethodEvent replace; // counted from the caret
    replace.setCommitString(u"ガ"_s, -1, 1);
    QCoreApplication::sendEvent(m_pane, &replace);
    QCOMPARE(m_pane->text(), u"a日ガd"_s);
    QCOMPARE(m_pane->caret(), (TextPosition{0, 3}));
}

void TestTextPane::mouseSelection_data()
{
    QTest::addColumn<QList<MouseStep>>("steps");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<TextPosition>("caret");
    const QList<MouseStep> triple = doubleClick({1, 2}) + click({1, 2});
    QTest::newRow("a click places the caret") << click({1, 3}) << u""_s << TextPosition{1, 3};
    QTest::newRow("Shift+click selects from the caret")
        << click({1, 3}) + click({0, 6}, 10, Qt::LeftButton, Qt::ShiftModifier) << u"o\nthr"_s
        << TextPosition{0, 6};
    QTest::newRow("past the end of a row: its end")
        << click({0, 40}) << u""_s << TextPosition{0, 7};
    QTest::newRow("below the text: the last row") << click({9, 2}) << u""_s << TextPosition{2, 2};
    QTest::newRow("a right click moves nothing")
        << click({0, 2}) + click({2, 0}, 2000, Qt::RightButton) << u""_s << TextPosition{0, 2};
    QTest::newRow("dragging selects")
        << pressAndDrag(click({0, 2}), {1, 4}) << u"e two\nthre"_s << TextPosition{1, 4};
    QTest::newRow("double click: a word")
        << doubleClick({1, 8}) << u"four"_s << TextPosition{1, 10};
    QTest::newRow("triple click: the row and its break")
        << triple << u"three four\n"_s << TextPosition{2, 0};
    QTest::newRow("triple click on the last row: to its end")
        << doubleClick({2, 1}) + click({2, 1}) << u"five"_s << TextPosition{2, 4};
    QTest::newRow("a slow third click, in the word: only places the caret")
        << doubleClick({1, 2}) + click({1, 2}, 2000) << u""_s << TextPosition{1, 2};
    QTest::newRow("double click, drag forward: by words")
        << pressAndDrag(doubleClick({0, 5}), {1, 2}) << u"two\nthree"_s << TextPosition{1, 5};
    QTest::newRow("double click, drag back: the first word stays")
        << pressAndDrag(doubleClick({1, 8}), {0, 1}) << u"one two\nthree four"_s
        << TextPosition{0, 0};
    QTest::newRow("triple click, drag: by rows")
        << pressAndDrag(triple, {2, 1}) << u"three four\nfive"_s << TextPosition{2, 4};
}

void TestTextPane::mouseSelection()
{
    QFETCH(QList<MouseStep>, steps);
    m_pane->setText(u"one two\nthree four\nfive"_s);
    QSignalSpy menu(m_pane, &TextPane::contextMenuRequested); // the owner's, not shown here
    static quint64 clock = 0;
    clock += 100000; // far from any click of an earlier row
    QWidget *view = m_pane->viewport();
    for (const MouseStep &step : steps) {
        clock += step.delay;
        const QPoint at = pointAt(*m_pane, step.at.row, step.at.column);
        const bool held = step.type != QEvent::MouseButtonRelease;
        QMouseEvent event(step.type, at, view->mapToGlobal(at),
                          step.type == QEvent::MouseMove ? Qt::NoButton : step.button,
                          held ? Qt::MouseButtons(step.button) : Qt::NoButton, step.modifiers);
        event.setTimestamp(clock);
        QCoreApplication::sendEvent(view, &event);
    }
    QTEST(m_pane->selectedText(), "selected");
    QTEST(m_pane->caret(), "caret");
}

void TestTextPane::primarySelection()
{
    m_pane->setText(u"alpha beta\ngamma"_s);
    QVERIFY(!m_pane->primarySelection());
    m_pane->setSelection(6, 4);
    QCOMPARE(m_pane->primarySelection()->text(), u"beta"_s);
    QTest::keyClick(m_pane, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(m_pane->primarySelection()->text(), u"beta\n"_s);
    // The text changes under it: what was selected is still offered.
    QTest::keyClick(m_pane, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClicks(m_pane, u"X"_s);
    QCOMPARE(m_pane->primarySelection()->text(), u"beta\n"_s);
    QClipboard *clipboard = QGuiApplication::clipboard();
    QTest::mouseClick(m_pane->viewport(), Qt::MiddleButton, {}, pointAt(*m_pane, 1, 0));
    if (clipboard->supportsSelection()) {
        QCOMPARE(clipboard->text(QClipboard::Selection), u"beta\n"_s);
        QCOMPARE(m_pane->text(), u"Xalpha beta\nbeta\ngamma"_s);
    } else {
        QCOMPARE(m_pane->text(), u"Xalpha beta\ngamma"_s); // no primary selection to paste
    }
    QTest::keyClick(m_pane, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_pane->primarySelection()->text(), m_pane->text());
}

void TestTextPane::dragAndDrop_data()
{
    QTest::addColumn<QPoint>("selection"); // start offset, length
    QTest::addColumn<QString>("dropped");  // "own", a text, or a file:// URL
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("at"); // drop column
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("selected");
    const QString text = u"one two three"_s;
    const Qt::KeyboardModifiers none;
    QTest::newRow("own selection dragged forward moves")
        << QPoint(0, 4) << u"own"_s << none << 13 << u"two threeone "_s << u"one "_s;
    QTest::newRow("own selection dragged back moves")
        << QPoint(8, 5) << u"own"_s << none << 0 << u"threeone two "_s << u"three"_s;
    QTest::newRow("with Ctrl it is copied")
        << QPoint(4, 3) << u"own"_s << Qt::KeyboardModifiers(Qt::ControlModifier) << 0
        << u"twoone two three"_s << u"two"_s;
    QTest::newRow("dropped onto itself: nothing changes")
        << QPoint(4, 3) << u"own"_s << none << 5 << text << u"two"_s;
    QTest::newRow("text from another program goes in at the drop point")
        << QPoint(0, 0) << u"X\r\nY"_s << none << 3 << u"oneX\nY two three"_s << u"X\nY"_s;
    QTest::newRow("a file is opened, not inserted")
        << QPoint(0, 0) << QUrl::fromLocalFile(u"/tmp/list.txt"_s).toString() << none << 3 << text
        << u""_s;
}

void TestTextPane::dragAndDrop()
{
    QFETCH(QPoint, selection);
    QFETCH(QString, dropped);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, at);
    const QString text = u"one two three"_s;
    m_pane->setText(text);
    m_pane->setSelection(selection.x(), selection.y());
    QMimeData external;
    const QUrl url(dropped);
    if (url.isLocalFile())
        external.setUrls({url});
    else
        external.setText(dropped);
    const QMimeData *mime = dropped == u"own"_s ? m_pane->primarySelection() : &external;
    QSignalSpy files(m_pane, &TextPane::fileDropped);
    const QPoint point = pointAt(*m_pane, 0, at) - QPoint(4, 0); // between two characters
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(point, actions, mime, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(m_pane->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(point, actions, mime, Qt::LeftButton, modifiers);
    drop.setDropAction(modifiers & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction);
    QCoreApplication::sendEvent(m_pane->viewport(), &drop);
    QTEST(m_pane->text(), "result");
    QTEST(m_pane->selectedText(), "selected");
    QCOMPARE(files.count(), url.isLocalFile() ? 1 : 0);
    m_pane->undo(); // one step, whatever the drop did
    QCOMPARE(m_pane->text(), text);
}

void TestTextPane::editMenu_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("result");
    QTest::newRow("right click, a selection: Delete")
        << u"right click"_s << false << u"x"_s
        << QStringList{u"Undo"_s, u"Cut"_s, u"Copy"_s, u"Paste"_s, u"Delete"_s, u"Select All"_s}
        << u"Delete"_s << u"ab  def"_s;
    QTest::newRow("Shift+F10, empty clipboard: Undo")
        << u"Shift+F10"_s << false << u""_s
        << QStringList{u"Undo"_s, u"Cut"_s, u"Copy"_s, u"Delete"_s, u"Select All"_s} << u"Undo"_s
        << u"abc def"_s;
    QTest::newRow("Menu key, read-only: Copy and Select All only")
        << u"Menu key"_s << true << u"x"_s << QStringList{u"Copy"_s, u"Select All"_s}
        << u"Select All"_s << u"ab Y def"_s;
}

void TestTextPane::editMenu()
{
    QFETCH(QString, opener);
    QFETCH(bool, readOnly);
    QFETCH(QString, clipboard);
    QFETCH(QString, choice);
    m_pane->setText(u"abc def"_s);
    m_pane->setSelection(2, 1);
    QTest::keyClicks(m_pane, u" Y"_s); // something to undo
    m_pane->setSelection(3, 1);
    m_pane->setReadOnly(readOnly);
    QGuiApplication::clipboard()->setText(clipboard);
    QWidget *view = m_pane->viewport();
    const QStringList enabled = chooseFromMenu(choice, [&] {
        if (opener == u"right click"_s) {
            QTest::mouseClick(view, Qt::RightButton, {}, pointAt(*m_pane, 0, 1));
        } else if (opener == u"Shift+F10"_s) {
            QTest::keyClick(m_pane, Qt::Key_F10, Qt::ShiftModifier);
        } else {
            QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                      m_pane->mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(m_pane, &menuKey);
        }
    });
    QTEST(enabled, "enabled");
    QTEST(m_pane->text(), "result");
    if (choice == u"Select All"_s)
        QCOMPARE(m_pane->selectedText(), m_pane->text());
}

void TestTextPane::scrollRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("keys");
    const QString longLatin(3000, u'm');
    QTest::newRow("a long Latin row") << u"x\n"_s + longLatin << QString();
    QTest::newRow("a long CJK row") << QString(3000, QChar(0x4E2D)) << QString();
    QTest::newRow("a long row of tabs and words") << u"ab\t"_s.repeated(1000) << QString();
    QTest::newRow("a long right-to-left row") << u"\u05D0\u05D1 "_s.repeated(600) << QString();
    QTest::newRow("shrinks when the widest row gets shorter")
        << u"short\n"_s + longLatin + u"\nmiddle row"_s << u"Ctrl+Home Down Shift+End Del"_s;
    QTest::newRow("shrinks when the widest row goes")
        << u"short\n"_s + longLatin << u"Ctrl+End Shift+Home Backspace Backspace"_s;
}

void TestTextPane::scrollRange()
{
    QFETCH(QString, text);
    QFETCH(QString, keys);
    m_pane->setText(text);
    press(keys);
    QScrollBar *bar = m_pane->horizontalScrollBar();
    const auto widthOf = [&](qsizetype row) {
        const qsizetype length = m_pane->store().row(row).size();
        // Right to left, the start of the row is its right edge.
        return std::max(m_pane->positionRect({row, 0}).left(),
                        m_pane->positionRect({row, length}).left()) -
               TextPane::leftMargin + bar->value();
    };
    int widest = 0;
    for (qsizetype row = 0; row < m_pane->store().rowCount(); ++row)
        widest = std::max(widest, widthOf(row));
    const int caret = m_pane->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, m_pane);
    const int expected =
        std::max(0, widest + 2 * TextPane::leftMargin + caret - m_pane->viewport()->width());
    QVERIFY2(std::abs(bar->maximum() - expected) <= 2,
             qPrintable(u"range %1, widest row needs %2"_s.arg(bar->maximum()).arg(expected)));
}

void TestTextPane::largeEditKeepsHistory()
{
    QTest::keyClicks(m_pane, u"ab"_s);
    QTest::keyClick(m_pane, Qt::Key_Return);
    // Larger than the history once held in all: it used to push out every step before it.
    m_pane->insertText(QString(QString(100'000, u'x') + u'\n').repeated(330));
    m_pane->undo();
    m_pane->undo();
    QCOMPARE(m_pane->text(), u"ab"_s);
    m_pane->undo();
    QCOMPARE(m_pane->text(), QString());
}

void TestTextPane::ownerFilterSeesRawEvents()
{
    EventWatcher watcher;
    watcher.pane = m_pane;
    m_pane->installEventFilter(&watcher);
    m_pane->viewport()->installEventFilter(&watcher);
    // Sent to the window, as the window system does, to reach whichever widget has the focus.
    QTest::keyClick(m_pane->windowHandle(), Qt::Key_Q);
    QCOMPARE(watcher.textAt.value(QEvent::KeyPress, u"not seen"_s), QString());
    QCOMPARE(watcher.textAt.value(QEvent::KeyRelease), u"q"_s);
    QTest::mouseClick(m_pane->viewport(), Qt::LeftButton, {}, pointAt(*m_pane, 0, 0));
    QVERIFY(watcher.textAt.contains(QEvent::MouseButtonRelease));
}

void TestTextPane::pageKeysAndWheelScroll()
{
    m_pane->setText(QString(QString(100, u'r') + u'\n').repeated(200));
    QScrollBar *vertical = m_pane->verticalScrollBar();
    const int page = m_pane->viewport()->height() / m_pane->rowHeight();
    press(u"PgDown"_s);
    QCOMPARE(m_pane->caret().row, page);
    QCOMPARE(vertical->value(), page);
    press(u"Shift+PgDown"_s);
    QCOMPARE(m_pane->caret().row, 2 * page);
    QCOMPARE(m_pane->anchor().row, page);
    press(u"PgUp"_s);
    QCOMPARE(m_pane->caret().row, page);
    QVERIFY(!m_pane->hasSelection());
    // The wheel scrolls by the system's number of rows, or sideways with Shift.
    QWidget *view = m_pane->viewport();
    const QPoint at = view->rect().center();
    for (const auto modifiers : {Qt::NoModifier, Qt::ShiftModifier}) {
        QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view, &wheel);
    }
    QCOMPARE(vertical->value(), page + QGuiApplication::styleHints()->wheelScrollLines());
    QVERIFY(m_pane->horizontalScrollBar()->value() > 0);
    QCOMPARE(m_pane->caret(), (TextPosition{page, 0})); // scrolling leaves the caret alone
}

void TestTextPane::tabStops_data()
{
    QTest::addColumn<QList<qreal>>("stops");
    QTest::addColumn<QString>("row");
    QTest::addColumn<qreal>("x"); // where the row's last character starts
    const QList<qreal> two{40, 100};
    const qreal eightSpaces = 8 * QFontMetricsF(fixedFont()).horizontalAdvance(u' ');
    QTest::newRow("first stop") << two << u"\tx"_s << 40.0;
    QTest::newRow("past the last stop, its interval again") << two << u"\t\t\t\tx"_s << 220.0;
    QTest::newRow("text past a stop goes to the next") << two << u"abcdefghijklmn\tx"_s << 160.0;
    QTest::newRow("one stop repeats from the start") << QList<qreal>{30} << u"\t\t\tx"_s << 90.0;
    QTest::newRow("none set: every eight spaces") << QList<qreal>{} << u"\tx"_s << eightSpaces;
    QTest::newRow("none set, after text") << QList<qreal>{} << u"abc\tx"_s << eightSpaces;
}

void TestTextPane::tabStops()
{
    QFETCH(QList<qreal>, stops);
    QFETCH(QString, row);
    QFETCH(qreal, x);
    if (!stops.isEmpty())
        m_pane->setTabStops(stops);
    m_pane->setText(row);
    QCOMPARE(m_pane->positionRect({0, row.size() - 1}).left() - TextPane::leftMargin, int(x));
}

void TestTextPane::tabsLandOnStops_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<int>("spacing"); // stops every spacing x 8 pixels, as the preferences set them
    for (int size : {8, 10, 12, 14, 18, 24})
        for (int spacing : {1, 2, 3, 5})
            QTest::addRow("font %d, spacing %d", size, spacing) << size << spacing;
}

void TestTextPane::tabsLandOnStops()
{
    QFETCH(int, pointSize);
    QFETCH(int, spacing);
    QFont font = fixedFont();
    font.setPointSize(pointSize);
    m_pane->setFont(font);
    const qreal step = spacing * 8.0;
    QList<qreal> stops;
    for (int k = 1; k <= 64; ++k)
        stops.append(k * step);
    m_pane->setTabStops(stops);
    const QString row = u"Tab\tstops\there\tand\t\tmore"_s;
    m_pane->setText(row);
    const auto x = [&](qsizetype column) {
        return m_pane->positionRect({0, column}).left() - TextPane::leftMargin;
    };
    for (qsizetype tab = row.indexOf(u'\t'); tab >= 0; tab = row.indexOf(u'\t', tab + 1)) {
        const int after = x(tab + 1);
        // At least half a blank wide, or the columns would run together.
        QVERIFY2(after - x(tab) >= QFontMetricsF(font).horizontalAdvance(u' ') / 2 - 1,
                 qPrintable(u"tab at %1 has no width"_s.arg(tab)));
        QVERIFY2(std::abs(after / step - std::round(after / step)) * step <= 1.0,
                 qPrintable(u"tab at %1 ends at %2, off the stops"_s.arg(tab).arg(after)));
    }
}

void TestTextPane::awkwardRows_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("NUL and other C0 controls") << u"a\0b\x01\x1b\x7f"_s;
    QTest::newRow("lone surrogates") << QString(QChar(0xD800)) + u"x"_s + QChar(0xDC00);
    QTest::newRow("right to left") << u"abc \u05D0\u05D1\u05D2 \u0627\u0644\u0639 def"_s;
    QTest::newRow("combining marks") << u"e\u0301\u0302\u0303 a\u0308"_s;
    QTest::newRow("a million characters, a TAB halfway")
        << QString(500'000, u'm') + u'\t' + QString(499'999, u'm');
}

void TestTextPane::awkwardRows()
{
    QFETCH(QString, text);
    m_pane->setText(QString(text + u'\n' + text));
    m_pane->selectAll();
    QVERIFY(!m_pane->viewport()->grab().isNull());
    // Walk the caret over the last positions of the row into the next one.
    m_pane->setCaret({0, std::max<qsizetype>(0, text.size() - 30)});
    for (int steps = 0; m_pane->caret().row == 0 && steps <= 31; ++steps)
        QTest::keyClick(m_pane, Qt::Key_Right);
    QCOMPARE(m_pane->caret(), (TextPosition{1, 0}));
    // The end of the row is scrolled into view and a click there lands on it.
    QTest::keyClick(m_pane, Qt::Key_End);
    const TextPosition end{1, text.size()};
    const QRect atEnd = m_pane->positionRect(end);
    QVERIFY(m_pane->viewport()->rect().contains(atEnd.center()));
    QCOMPARE(m_pane->positionAt(atEnd.center()), end);
    QTest::keyClick(m_pane, Qt::Key_Home);
    QCOMPARE(m_pane->horizontalScrollBar()->value(), 0);
}

void TestTextPane::accessibleText()
{
    m_pane->setAccessibleName(u"Work area"_s);
    m_pane->setText(u"first line\nsecond words here\nthird"_s);
    // Every caret move is told, with a selection or without; a large text is not sent whole.
    TextPane::setAccessibleObserver(noteAccessible);
    accessibleEvents.clear();
    press(u"Shift+Right Shift+Right Left Down"_s);
    QCOMPARE(accessibleEvents.count(QAccessible::TextCaretMoved), 4);
    const QString before = m_pane->text();
    m_pane->setText(QString(1'000'000, u'w'));
    QVERIFY(longestAccessibleText > 0 && longestAccessibleText <= 65536);
    TextPane::setAccessibleObserver(nullptr);
    m_pane->setText(before);
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
    QCOMPARE(text->cursorPosition(), 18);
    int start = 0;
    int end = 0;
    QCOMPARE(text->textAtOffset(-2, QAccessible::WordBoundary, &start, &end), u"words"_s);
    QCOMPARE(std::pair(start, end), std::pair(18, 23));
    const QString line = text->textAtOffset(20, QAccessible::LineBoundary, &start, &end);
    QCOMPARE(line.trimmed(), u"second words here"_s);
    QCOMPARE(start, 11);
    text->setSelection(0, 6, 13);
    QCOMPARE(m_pane->selectedText(), u"line\nse"_s);
    QCOMPARE(m_pane->anchor(), (TextPosition{0, 6}));
    text->setCursorPosition(29);
    QCOMPARE(m_pane->caret(), (TextPosition{2, 0}));
    text->setCursorPosition(999);
    QCOMPARE(m_pane->caret(), (TextPosition{2, 5}));
    m_pane->setCaret({1, 2}, true); // selected backwards: the selection starts at the caret
    text->selection(0, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(13, 34));
    QAccessibleEditableTextInterface *editable = pane->editableTextInterface();
    QVERIFY(editable);
    editable->replaceText(0, 5, u"1st"_s);
    editable->insertText(3, u"!"_s);
    QCOMPARE(m_pane->text(), u"1st! line\nsecond words here\nthird"_s);
    m_pane->undo();
    const QString undone = u"1st line\nsecond words here\nthird"_s;
    QCOMPARE(m_pane->text(), undone);
    m_pane->setReadOnly(true);
    editable->deleteText(0, 3);
    QCOMPARE(m_pane->text(), undone);
    QVERIFY(pane->state().readOnly);
}

// A run's result replaces the text; the rows it left alone at either end are spared, and one
// undo gives the text back whatever part changed.
void TestTextPane::replaceLinesWritesOnlyWhatChanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("result");
    const QStringList abc{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("first row") << u"a\nb\nc\n"_s << QStringList{u"X"_s, u"b"_s, u"c"_s}
                               << u"X\nb\nc\n"_s;
    QTest::newRow("last row") << u"a\nb\nc\n"_s << QStringList{u"a"_s, u"b"_s, u"X"_s}
                              << u"a\nb\nX\n"_s;
    QTest::newRow("rows added in the middle")
        << u"a\nb\nc\n"_s << QStringList{u"a"_s, u"x"_s, u"y"_s, u"b"_s, u"c"_s}
        << u"a\nx\ny\nb\nc\n"_s;
    QTest::newRow("rows removed") << u"a\nb\nc\n"_s << QStringList{u"c"_s} << u"c\n"_s;
    QTest::newRow("nothing changed") << u"a\nb\nc\n"_s << abc << u"a\nb\nc\n"_s;
    QTest::newRow("no final break before") << u"a\nb\nc"_s << abc << u"a\nb\nc\n"_s;
    QTest::newRow("a line holding breaks is split")
        << u"a\nb\nc\n"_s << QStringList{u"a"_s, u"1\r\n2"_s, u"c"_s} << u"a\n1\n2\nc\n"_s;
    QTest::newRow("everything gone") << u"a\nb\n"_s << QStringList{} << QString();
    QTest::newRow("into an empty text") << QString() << QStringList{u"a"_s} << u"a\n"_s;
}

void TestTextPane::replaceLinesWritesOnlyWhatChanged()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    m_pane->setText(text);
    m_pane->replaceLines(lines);
    QTEST(m_pane->text(), "result");
    m_pane->undo();
    QCOMPARE(m_pane->text(), text);
}

QTEST_MAIN(TestTextPane)
#include "tst_textpane.moc"
