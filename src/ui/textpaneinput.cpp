// The pane's keyboard, mouse and input-method handling.
#include "ui/textpane.h"

#include "ui/textpanelayouts.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextCharFormat>

#include <algorithm>
#include <cmath>

namespace plintex {

namespace {

constexpr int kAutoScrollMs = 50;
constexpr qsizetype kInputMethodWindow = 512; // characters each side of the caret

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

} // namespace

enum class TextPane::KeyAction {
    None,
    SelectAll,
    Copy,
    Cut,
    Paste,
    Undo,
    Redo,
    Left,
    Right,
    WordLeft,
    WordRight,
    Up,
    Down,
    Home,
    End,
    TextStart,
    TextEnd,
    PageUp,
    PageDown,
    Backspace,
    WordBackspace,
    Delete,
    WordDelete,
    NewLine,
    Tab,
    Type,
    ContextMenu,
};

TextPane::KeyAction TextPane::keyAction(const QKeyEvent *event) const
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const bool alt = mods & Qt::AltModifier;
    const bool meta = mods & Qt::MetaModifier;
    const bool ctrlOnly = ctrl && !alt && !meta; // Shift allowed
    const bool plain = !ctrl && !alt && !meta;   // Shift allowed
    switch (event->key()) {
    case Qt::Key_A:
        if (ctrlOnly && !shift)
            return KeyAction::SelectAll;
        break;
    case Qt::Key_C:
        if (ctrlOnly && !shift)
            return KeyAction::Copy;
        break;
    case Qt::Key_X:
        if (ctrlOnly && !shift)
            return KeyAction::Cut;
        break;
    case Qt::Key_V:
        if (ctrlOnly && !shift)
            return KeyAction::Paste;
        break;
    case Qt::Key_Z:
        if (ctrlOnly)
            return shift ? KeyAction::Redo : KeyAction::Undo;
        break;
    case Qt::Key_Y:
        if (ctrlOnly && !shift)
            return KeyAction::Redo;
        break;
    case Qt::Key_Insert:
        if (ctrlOnly && !shift)
            return KeyAction::Copy;
        if (plain && shift)
            return KeyAction::Paste;
        return KeyAction::None;
    case Qt::Key_Left:
        if (plain || ctrlOnly)
            return ctrl ? KeyAction::WordLeft : KeyAction::Left;
        return KeyAction::None;
    case Qt::Key_Right:
        if (plain || ctrlOnly)
            return ctrl ? KeyAction::WordRight : KeyAction::Right;
        return KeyAction::None;
    case Qt::Key_Up:
        return plain ? KeyAction::Up : KeyAction::None;
    case Qt::Key_Down:
        return plain ? KeyAction::Down : KeyAction::None;
    case Qt::Key_Home:
        if (plain || ctrlOnly)
            return ctrl ? KeyAction::TextStart : KeyAction::Home;
        return KeyAction::None;
    case Qt::Key_End:
        if (plain || ctrlOnly)
            return ctrl ? KeyAction::TextEnd : KeyAction::End;
        return KeyAction::None;
    case Qt::Key_PageUp:
        return plain ? KeyAction::PageUp : KeyAction::None;
    case Qt::Key_PageDown:
        return plain ? KeyAction::PageDown : KeyAction::None;
    case Qt::Key_Backspace:
        if (plain || ctrlOnly)
            return ctrl ? KeyAction::WordBackspace : KeyAction::Backspace;
        return KeyAction::None;
    case Qt::Key_Delete:
        if (plain && shift)
            return KeyAction::Cut;
        if (plain || ctrlOnly)
            return ctrl ? KeyAction::WordDelete : KeyAction::Delete;
        return KeyAction::None;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return plain ? KeyAction::NewLine : KeyAction::None;
    case Qt::Key_Tab:
        return plain && !shift ? KeyAction::Tab : KeyAction::None;
    case Qt::Key_Backtab:
        return KeyAction::None;
    case Qt::Key_F10:
        return mods == Qt::ShiftModifier ? KeyAction::ContextMenu : KeyAction::None;
    default:
        break;
    }
    // Platforms may bind the standard actions to other keys as well.
    if (event->matches(QKeySequence::SelectAll))
        return KeyAction::SelectAll;
    if (event->matches(QKeySequence::Copy))
        return KeyAction::Copy;
    if (event->matches(QKeySequence::Cut))
        return KeyAction::Cut;
    if (event->matches(QKeySequence::Paste))
        return KeyAction::Paste;
    if (event->matches(QKeySequence::Undo))
        return KeyAction::Undo;
    if (event->matches(QKeySequence::Redo))
        return KeyAction::Redo;

    // Ctrl+Alt is AltGr on some keyboards, which types characters.
    if ((ctrl && !alt) || meta)
        return KeyAction::None;
    const QString text = event->text();
    const bool printable =
        std::any_of(text.cbegin(), text.cend(), [](QChar c) { return !isControl(c); });
    return printable ? KeyAction::Type : KeyAction::None;
}

bool TextPane::isEditAction(KeyAction action) const
{
    switch (action) {
    case KeyAction::Cut:
    case KeyAction::Paste:
    case KeyAction::Undo:
    case KeyAction::Redo:
    case KeyAction::Backspace:
    case KeyAction::WordBackspace:
    case KeyAction::Delete:
    case KeyAction::WordDelete:
    case KeyAction::NewLine:
    case KeyAction::Tab:
    case KeyAction::Type:
        return true;
    default:
        return false;
    }
}

bool TextPane::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the pane acts on win over the window's shortcuts while it has the focus.
        auto *key = static_cast<QKeyEvent *>(event);
        const KeyAction action = keyAction(key);
        if (action != KeyAction::None && !(m_readOnly && isEditAction(action))) {
            key->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool TextPane::focusNextPrevChild(bool next)
{
    // Tab types a TAB while the text can be edited.
    if (!m_readOnly)
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void TextPane::keyPressEvent(QKeyEvent *event)
{
    const KeyAction action = keyAction(event);
    if (action == KeyAction::None || (m_readOnly && isEditAction(action))) {
        event->ignore();
        return;
    }
    event->accept();
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const TextPosition start = std::min(m_anchor, m_caret);
    const TextPosition end = std::max(m_anchor, m_caret);
    const QString &row = m_store.row(m_caret.row);
    switch (action) {
    case KeyAction::None:
        break;
    case KeyAction::SelectAll:
        selectAll();
        break;
    case KeyAction::Copy:
        copy();
        break;
    case KeyAction::Cut:
        cut();
        break;
    case KeyAction::Paste:
        paste();
        break;
    case KeyAction::Undo:
        undo();
        break;
    case KeyAction::Redo:
        redo();
        break;
    case KeyAction::Left:
    case KeyAction::Right:
        moveVisually(action == KeyAction::Left, extend);
        break;
    case KeyAction::WordLeft:
        moveCaret(previousWord(m_caret), extend);
        break;
    case KeyAction::WordRight:
        moveCaret(nextWord(m_caret), extend);
        break;
    case KeyAction::Up:
        moveCaret(verticalMove(m_caret, -1), extend, true);
        break;
    case KeyAction::Down:
        moveCaret(verticalMove(m_caret, 1), extend, true);
        break;
    case KeyAction::Home:
        moveCaret({m_caret.row, 0}, extend);
        break;
    case KeyAction::End:
        moveCaret({m_caret.row, row.size()}, extend);
        break;
    case KeyAction::TextStart:
        moveCaret({}, extend);
        break;
    case KeyAction::TextEnd:
        moveCaret(m_store.endPosition(), extend);
        break;
    case KeyAction::PageUp:
    case KeyAction::PageDown: {
        const qsizetype rows = fullyVisibleRows() * (action == KeyAction::PageUp ? -1 : 1);
        verticalScrollBar()->setValue(int(firstVisibleRow() + rows));
        moveCaret(verticalMove(m_caret, rows), extend, true);
        break;
    }
    case KeyAction::Backspace:
    case KeyAction::WordBackspace:
        deleteBackward(action == KeyAction::WordBackspace);
        break;
    case KeyAction::Delete:
    case KeyAction::WordDelete:
        deleteForward(action == KeyAction::WordDelete);
        break;
    case KeyAction::NewLine:
        edit(start, end, u"\n", EditKind::Typing);
        break;
    case KeyAction::Tab:
        edit(start, end, u"\t", EditKind::Typing);
        break;
    case KeyAction::Type: {
        QString typed = event->text();
        typed.removeIf([](QChar c) { return isControl(c) && c != u'\t'; });
        edit(start, end, typed, EditKind::Typing);
        break;
    }
    case KeyAction::ContextMenu:
        requestContextMenu(viewport()->mapToGlobal(positionRect(m_caret).bottomLeft()));
        break;
    }
}

void TextPane::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    const QPoint point = event->position().toPoint();
    if (m_layouts->preedit().isActive())
        QGuiApplication::inputMethod()->commit();
    if (event->button() == Qt::RightButton) {
        // The menu is about the pane as it stands: the caret stays where it is.
        requestContextMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::MiddleButton) {
        pastePrimaryAt(positionAt(point));
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const TextPosition at = positionAt(point);
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const QStyleHints *hints = QGuiApplication::styleHints();
    const bool tripleClick =
        m_doubleClickTime != 0 &&
        event->timestamp() - m_doubleClickTime < quint64(hints->mouseDoubleClickInterval()) &&
        (point - m_doubleClickPoint).manhattanLength() < hints->startDragDistance();
    m_doubleClickTime = 0;
    if (tripleClick && !shift) {
        m_clickUnit = ClickUnit::Row;
        rowBounds(at, m_unitFrom, m_unitTo);
        selectRange(m_unitFrom, m_unitTo);
        m_dragging = true;
        m_dragPoint = point;
        return;
    }
    const TextPosition start = std::min(m_anchor, m_caret);
    const TextPosition end = std::max(m_anchor, m_caret);
    if (!shift && hasSelection() && at >= start && at < end) {
        // Perhaps the start of dragging the selection; a plain click places the caret on release.
        m_pressInSelection = true;
        m_pressPoint = point;
        return;
    }
    m_clickUnit = ClickUnit::Character;
    m_dragging = true;
    m_dragPoint = point;
    moveCaret(at, shift);
}

void TextPane::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_pressInSelection && (event->buttons() & Qt::LeftButton)) {
        if ((point - m_pressPoint).manhattanLength() >=
            QGuiApplication::styleHints()->startDragDistance()) {
            m_pressInSelection = false;
            startDrag();
        }
        return;
    }
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    m_dragPoint = point;
    extendByUnit(positionAt(m_dragPoint));
    if (viewport()->rect().contains(m_dragPoint))
        m_dragTimer.stop();
    else if (!m_dragTimer.isActive())
        m_dragTimer.start(kAutoScrollMs, this);
}

void TextPane::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    if (m_pressInSelection) {
        m_pressInSelection = false;
        moveCaret(positionAt(event->position().toPoint()), false);
    }
    const bool wasDragging = m_dragging;
    m_dragging = false;
    m_dragTimer.stop();
    if (wasDragging && hasSelection())
        publishPrimary(); // held back while the selection was still being drawn
}

void TextPane::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    m_pressInSelection = false;
    m_clickUnit = ClickUnit::Word;
    wordBounds(positionAt(point), m_unitFrom, m_unitTo);
    m_dragging = true; // a drag from here extends by words
    m_dragPoint = point;
    selectRange(m_unitFrom, m_unitTo);
    m_doubleClickTime = event->timestamp();
    m_doubleClickPoint = point;
}

void TextPane::extendByUnit(TextPosition position)
{
    TextPosition from = position;
    TextPosition to = position;
    switch (m_clickUnit) {
    case ClickUnit::Character:
        moveCaret(position, true);
        return;
    case ClickUnit::Word:
        wordBounds(position, from, to);
        break;
    case ClickUnit::Row:
        rowBounds(position, from, to);
        break;
    }
    // The word or row first clicked stays selected; the selection grows away from it.
    if (from < m_unitFrom)
        selectRange(m_unitTo, from);
    else
        selectRange(m_unitFrom, std::max(to, m_unitTo));
}

void TextPane::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_blinkTimer.timerId()) {
        m_caretShown = !m_caretShown;
        repaintCaret();
    } else if (event->timerId() == m_dragTimer.timerId()) {
        autoScroll();
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

void TextPane::autoScroll()
{
    const QRect area = viewport()->rect();
    if (!m_dragging || area.contains(m_dragPoint)) {
        m_dragTimer.stop();
        return;
    }
    // Faster the further the pointer is outside.
    if (m_dragPoint.y() < area.top())
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 1 -
                                      (area.top() - m_dragPoint.y()) / m_rowHeight);
    else if (m_dragPoint.y() > area.bottom())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + 1 +
                                      (m_dragPoint.y() - area.bottom()) / m_rowHeight);
    if (m_dragPoint.x() < area.left())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - 8 -
                                        (area.left() - m_dragPoint.x()));
    else if (m_dragPoint.x() > area.right())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + 8 +
                                        (m_dragPoint.x() - area.right()));
    const QPoint inside(std::clamp(m_dragPoint.x(), area.left(), area.right()),
                        std::clamp(m_dragPoint.y(), area.top(), area.bottom()));
    extendByUnit(positionAt(inside));
}

void TextPane::wheelEvent(QWheelEvent *event)
{
    const QPoint angle = event->angleDelta();
    const QPoint pixels = event->pixelDelta();
    const bool sideways =
        (event->modifiers() & Qt::ShiftModifier) || std::abs(angle.x()) > std::abs(angle.y());
    if (sideways) {
        const int degrees = angle.x() != 0 ? angle.x() : angle.y();
        const int pixelStep = pixels.x() != 0 ? pixels.x() : pixels.y();
        const int step =
            pixelStep != 0 ? pixelStep : degrees * horizontalScrollBar()->singleStep() * 3 / 120;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - step);
    } else {
        m_wheelRows += qreal(angle.y()) * QGuiApplication::styleHints()->wheelScrollLines() / 120.0;
        const int rows = int(m_wheelRows);
        m_wheelRows -= rows;
        verticalScrollBar()->setValue(verticalScrollBar()->value() - rows);
    }
    event->accept();
}

void TextPane::contextMenuEvent(QContextMenuEvent *event)
{
    // The right button press has asked already; only the Menu key is left to answer. Accepted
    // either way, so that no parent shows a menu of its own.
    if (event->reason() != QContextMenuEvent::Mouse)
        requestContextMenu(viewport()->mapToGlobal(positionRect(m_caret).bottomLeft()));
    event->accept();
}

void TextPane::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartBlinking();
    viewport()->update();
}

void TextPane::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_blinkTimer.stop();
    m_caretShown = false;
    m_dragging = false;
    m_pressInSelection = false;
    m_dragTimer.stop();
    viewport()->update();
}

// ---- input methods ----

void TextPane::inputMethodEvent(QInputMethodEvent *event)
{
    if (m_readOnly) {
        event->ignore();
        return;
    }
    const QString commit = event->commitString();
    if (!commit.isEmpty() || event->replacementLength() > 0) {
        TextPosition from = std::min(m_anchor, m_caret);
        TextPosition to = std::max(m_anchor, m_caret);
        if (event->replacementLength() > 0 || event->replacementStart() != 0) {
            // The replacement counts from the caret, within its row.
            const qsizetype length = m_store.row(m_caret.row).size();
            from = {m_caret.row,
                    std::clamp<qsizetype>(m_caret.column + event->replacementStart(), 0, length)};
            to = {m_caret.row,
                  std::clamp<qsizetype>(from.column + event->replacementLength(), 0, length)};
        }
        edit(from, to, commit, EditKind::Typing);
    }
    updatePreedit(event);
    event->accept();
}

void TextPane::updatePreedit(const QInputMethodEvent *event)
{
    Preedit preedit;
    preedit.text = event->preeditString();
    if (!preedit.text.isEmpty()) {
        preedit.row = m_caret.row;
        preedit.column = m_caret.column;
        preedit.cursor = int(preedit.text.size());
    }
    for (const QInputMethodEvent::Attribute &a : event->attributes()) {
        if (a.type == QInputMethodEvent::Cursor) {
            preedit.cursor = a.length > 0 ? a.start : -1; // no length: the caret is hidden
        } else if (a.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format = a.value.value<QTextFormat>().toCharFormat();
            if (format.isValid() && a.length > 0)
                preedit.formats.append({a.start, a.length, format});
        }
    }
    if (preedit.formats.isEmpty() && !preedit.text.isEmpty()) {
        QTextCharFormat underlined;
        underlined.setFontUnderline(true);
        preedit.formats.append({0, int(preedit.text.size()), underlined});
    }
    const bool wasActive = m_layouts->preedit().isActive();
    if (!wasActive && !preedit.isActive())
        return;
    m_layouts->setPreedit(std::move(preedit));
    updateScrollBars();
    if (m_layouts->preedit().isActive())
        ensureVisible(m_caret);
    repaintCaret();
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

QVariant TextPane::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // Input methods see a window of the caret's row: rows may be very long.
    const QString &row = m_store.row(m_caret.row);
    const qsizetype windowStart = std::max<qsizetype>(0, m_caret.column - kInputMethodWindow);
    const qsizetype windowEnd = std::min(row.size(), m_caret.column + kInputMethodWindow);
    const auto inWindow = [&](qsizetype column) {
        return int(std::clamp(column, windowStart, windowEnd) - windowStart);
    };
    switch (query) {
    case Qt::ImEnabled:
        return !m_readOnly;
    case Qt::ImReadOnly:
        return m_readOnly;
    case Qt::ImHints:
        return int(Qt::ImhMultiLine);
    case Qt::ImFont:
        return font();
    case Qt::ImCursorRectangle: {
        QRect r = positionRect(m_caret);
        if (m_layouts->preedit().isActive()) {
            const int x = int(std::floor(TextPane::leftMargin - horizontalScrollBar()->value() +
                                         m_layouts->preeditCaretX()));
            r = QRect(x, r.y(), 1, r.height());
        }
        return r.translated(viewport()->geometry().topLeft());
    }
    case Qt::ImAnchorRectangle:
        return positionRect(m_anchor).translated(viewport()->geometry().topLeft());
    case Qt::ImCursorPosition:
        return inWindow(m_caret.column);
    case Qt::ImAnchorPosition:
        return inWindow(m_anchor.row == m_caret.row ? m_anchor.column : m_caret.column);
    case Qt::ImSurroundingText:
        return row.mid(windowStart, windowEnd - windowStart);
    case Qt::ImTextBeforeCursor:
        return row.mid(windowStart, m_caret.column - windowStart);
    case Qt::ImTextAfterCursor:
        return row.mid(m_caret.column, windowEnd - m_caret.column);
    case Qt::ImCurrentSelection:
        return m_anchor.row == m_caret.row ? selectedText() : QString();
    case Qt::ImMaximumTextLength:
        return QVariant();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

} // namespace plintex
