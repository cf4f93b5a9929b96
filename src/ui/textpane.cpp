#include "ui/textpane.h"

#include "ui/textpanelayouts.h"

#include <QAccessible>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleHints>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <unordered_map>

using namespace Qt::StringLiterals;

namespace plintex {

namespace {

// How much the edit history may hold, oldest steps going first; the newest step is always
// kept, however big, and a big one does not push out the steps before it unless they together
// pass the bound.
constexpr size_t kMaxUndoSteps = 1000;
constexpr qsizetype kMaxUndoBytes = qsizetype(512) * 1024 * 1024;
// Screen readers are told what changed, but not megabytes of it.
constexpr qsizetype kMaxAccessibleChars = 64 * 1024;

enum class CharClass { Space, Word, Other };

CharClass classOf(QChar c)
{
    if (c.isSpace())
        return CharClass::Space;
    if (c.isLetterOrNumber() || c == u'_' || c.isMark() || c.isSurrogate())
        return CharClass::Word;
    return CharClass::Other;
}

TextPane::AccessibleObserver accessibleObserver = nullptr;

bool accessibilityListening()
{
    return accessibleObserver || QAccessible::isActive();
}

void sendAccessible(QAccessibleEvent &event)
{
    if (accessibleObserver)
        accessibleObserver(event);
    QAccessible::updateAccessibility(&event);
}

qsizetype charsIn(const QStringList &rows)
{
    qsizetype n = rows.size() - 1;
    for (const QString &r : rows)
        n += r.size();
    return std::max<qsizetype>(0, n);
}

// The joined rows, cut short for screen readers.
QString accessibleText(const QStringList &rows)
{
    QString out;
    for (const QString &r : rows) {
        if (!out.isEmpty() || &r != &rows.front())
            out += u'\n';
        out += QStringView(r).left(kMaxAccessibleChars - out.size());
        if (out.size() >= kMaxAccessibleChars)
            break;
    }
    return out;
}

// Joins two texts held as rows: the last row of the first continues with the first of the second.
void appendRows(QStringList &rows, const QStringList &more)
{
    if (rows.isEmpty()) {
        rows = more;
        return;
    }
    rows.back() += more.front();
    rows.append(more.mid(1));
}

// Where a text held as rows ends when it starts at a position.
TextPosition endOf(TextPosition from, const QStringList &rows)
{
    if (rows.size() <= 1)
        return {from.row, from.column + (rows.isEmpty() ? 0 : rows.front().size())};
    return {from.row + rows.size() - 1, rows.back().size()};
}

} // namespace

qsizetype TextPane::EditStep::bytes() const
{
    // The characters and, for each row, a string header and the list's pointer.
    constexpr qsizetype rowCost = 48;
    return 2 * (charsIn(removed) + charsIn(inserted)) +
           rowCost * (removed.size() + inserted.size());
}

TextPane::TextPane(QWidget *parent)
    : QAbstractScrollArea(parent), m_layouts(std::make_unique<TextPaneLayouts>(m_store)),
      m_widths(std::make_unique<TextPaneWidths>())
{
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setAttribute(Qt::WA_InputMethodEnabled);
    // Keys must reach the pane itself, where the owner's event filter watches for them.
    viewport()->setFocusProxy(this);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    updateMetrics();
    relayoutAll();
}

void TextPane::setAccessibleObserver(AccessibleObserver observer)
{
    accessibleObserver = observer;
}

TextPane::~TextPane()
{
    keepPrimaryText(); // other programs may still ask for it
}

// ---- whole-text changes ----

void TextPane::setText(QStringView text)
{
    keepPrimaryText();
    const qsizetype old = accessibilityListening() ? m_store.length() : 0;
    m_store.setText(text);
    resetAfterTextSwap(old);
}

void TextPane::setLines(QStringList lines)
{
    keepPrimaryText();
    const qsizetype old = accessibilityListening() ? m_store.length() : 0;
    m_store.setLines(std::move(lines));
    resetAfterTextSwap(old);
}

void TextPane::replaceLines(QStringList lines)
{
    // As rows: every line ends with a break, so an empty row follows the last one.
    lines.append(QString());
    replaceChangedRows(lines, true);
    setCaret({});
}

void TextPane::replaceRows(const QStringList &rows)
{
    replaceChangedRows(rows, false);
}

void TextPane::replaceChangedRows(const QStringList &rows, bool splitting)
{
    if (rows.isEmpty())
        return;
    // Rows at either end that the run left as they were (a stopped run keeps most of the text)
    // are neither looked at again nor written: the edit, and its undo step, span only the rows
    // between them.
    const QStringList &old = m_store.rows();
    const qsizetype common = std::min(old.size(), rows.size());
    const auto same = [](const QString &a, const QString &b) {
        return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
    };
    qsizetype head = 0;
    while (head < common - 1 && same(old[head], rows[head]))
        ++head;
    if (!splitting && head == 0) {
        // Changed from the first row on: the new list replaces the whole text as it is, and
        // the step keeps the old one, neither copied row by row.
        editRows({}, m_store.endPosition(), rows, EditKind::Other);
        return;
    }
    qsizetype tail = 0;
    while (tail < common - head - 1 &&
           same(old[old.size() - 1 - tail], rows[rows.size() - 1 - tail]))
        ++tail;
    QStringList changed;
    changed.reserve(rows.size() - head - tail);
    for (qsizetype i = head; i < rows.size() - tail; ++i) {
        if (splitting && (rows[i].contains(u'\n') || rows[i].contains(u'\r')))
            changed.append(TextStore::splitRows(rows[i])); // a line that holds breaks is split
        else
            changed.append(rows[i]);
    }
    const qsizetype lastOld = old.size() - 1 - tail;
    editRows({head, 0}, {lastOld, old[lastOld].size()}, std::move(changed), EditKind::Other);
}

void TextPane::storeEdited()
{
    const TextPosition oldCaret = m_caret;
    const TextPosition oldAnchor = m_anchor;
    m_caret = snapped(m_store.clamped(m_caret));
    m_anchor = snapped(m_store.clamped(m_anchor));
    m_undo.clear();
    m_redo.clear();
    m_undoBytes = 0;
    m_typingOpen = false;
    ++m_editCount;
    m_layouts->setPreedit({});
    relayoutAll();
    ensureCaretVisible();
    if (accessibilityListening())
        notifyAccessibleChange(0, {},
                               accessibleText(m_store.rowsBetween({}, m_store.endPosition())));
    Q_EMIT textChanged();
    caretChanged(oldCaret, oldAnchor);
}

void TextPane::resetAfterTextSwap(qsizetype oldLength)
{
    const TextPosition oldCaret = m_caret;
    const TextPosition oldAnchor = m_anchor;
    m_caret = m_anchor = TextPosition{};
    m_preferredX = -1;
    ++m_editCount;
    m_layouts->setPreedit({});
    m_undo.clear();
    m_redo.clear();
    m_undoBytes = 0;
    m_typingOpen = false;
    m_layouts->clear();
    m_widths->reset(m_store.rowCount());
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    if (accessibilityListening()) {
        // The old text is gone; what screen readers need is its length and the new text's start.
        QAccessibleTextUpdateEvent event(
            this, 0, QString(std::min(oldLength, kMaxAccessibleChars), u' '),
            accessibleText(m_store.rowsBetween({}, m_store.positionOf(kMaxAccessibleChars))));
        sendAccessible(event);
    }
    Q_EMIT textChanged();
    caretChanged(oldCaret, oldAnchor);
}

// ---- caret and selection ----

qsizetype TextPane::selectionStart() const
{
    return m_store.offsetOf(std::min(m_anchor, m_caret));
}

qsizetype TextPane::selectionLength() const
{
    if (!hasSelection())
        return 0;
    return m_store.offsetOf(std::max(m_anchor, m_caret)) - selectionStart();
}

void TextPane::setCaret(TextPosition position, bool keepAnchor)
{
    moveCaret(position, keepAnchor);
}

void TextPane::setSelection(qsizetype startOffset, qsizetype length)
{
    selectRange(m_store.positionOf(startOffset), m_store.positionOf(startOffset + length));
}

void TextPane::moveCaretToOffset(qsizetype offset)
{
    moveCaret(m_store.positionOf(offset), false);
}

void TextPane::selectAll()
{
    selectRange({}, m_store.endPosition());
}

TextPosition TextPane::snapped(TextPosition p) const
{
    const QString &row = m_store.row(p.row);
    if (p.column > 0 && p.column < row.size() && row.at(p.column).isLowSurrogate() &&
        row.at(p.column - 1).isHighSurrogate())
        --p.column;
    return p;
}

void TextPane::moveCaret(TextPosition position, bool keepAnchor, bool keepPreferredX)
{
    const TextPosition oldCaret = m_caret;
    const TextPosition oldAnchor = m_anchor;
    m_caret = snapped(m_store.clamped(position));
    if (!keepAnchor)
        m_anchor = m_caret;
    if (!keepPreferredX)
        m_preferredX = -1;
    m_typingOpen = false;
    ensureCaretVisible();
    restartBlinking();
    if (m_caret != oldCaret || m_anchor != oldAnchor)
        viewport()->update();
    caretChanged(oldCaret, oldAnchor);
}

void TextPane::selectRange(TextPosition anchor, TextPosition caret)
{
    const TextPosition oldCaret = m_caret;
    const TextPosition oldAnchor = m_anchor;
    m_anchor = snapped(m_store.clamped(anchor));
    m_caret = snapped(m_store.clamped(caret));
    m_preferredX = -1;
    m_typingOpen = false;
    ensureCaretVisible();
    restartBlinking();
    viewport()->update();
    caretChanged(oldCaret, oldAnchor);
}

void TextPane::caretChanged(TextPosition oldCaret, TextPosition oldAnchor)
{
    if (m_caret == oldCaret && m_anchor == oldAnchor)
        return;
    if (accessibilityListening()) {
        if (hasSelection() || oldCaret != oldAnchor) {
            const qsizetype start = m_store.offsetOf(m_anchor);
            const qsizetype end = m_store.offsetOf(m_caret);
            QAccessibleTextSelectionEvent event(this, int(std::min(start, end)),
                                                int(std::max(start, end)));
            event.setCursorPosition(int(end));
            sendAccessible(event);
        }
        // Screen readers follow the caret by this event alone, selection or not.
        if (m_caret != oldCaret)
            notifyAccessibleCaret();
    }
    if (hasSelection() && !m_dragging)
        publishPrimary();
    if (m_layouts->preedit().isActive() && (m_layouts->preedit().row != m_caret.row ||
                                            m_layouts->preedit().column != m_caret.column)) {
        Preedit moved = m_layouts->preedit();
        moved.row = m_caret.row;
        moved.column = m_caret.column;
        m_layouts->setPreedit(std::move(moved));
    }
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
    Q_EMIT caretMoved();
}

void TextPane::notifyAccessibleCaret()
{
    QAccessibleTextCursorEvent event(this, int(m_store.offsetOf(m_caret)));
    sendAccessible(event);
}

void TextPane::ensureVisible(TextPosition position)
{
    position = m_store.clamped(position);
    const qsizetype rows = fullyVisibleRows();
    qsizetype top = firstVisibleRow();
    if (position.row < top)
        top = position.row;
    else if (position.row >= top + rows)
        top = position.row - rows + 1;
    const int caretWidth = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    const qreal x = xOf(position);
    updateScrollBars();
    verticalScrollBar()->setValue(int(top));

    // Jump a quarter of the view when the caret leaves it sideways, not one column at a time.
    const int width = viewport()->width();
    const int jump = width / 4;
    int scroll = horizontalScrollBar()->value();
    const qreal left = leftMargin + x - scroll;
    if (left < 0)
        scroll = int(std::floor(leftMargin + x)) - jump;
    else if (left + caretWidth > width)
        scroll = int(std::ceil(leftMargin + x + caretWidth)) - width + jump;
    horizontalScrollBar()->setValue(std::max(0, scroll));
}

// ---- editing ----

void TextPane::insertText(QStringView text)
{
    edit(std::min(m_anchor, m_caret), std::max(m_anchor, m_caret), text, EditKind::Other);
}

void TextPane::replaceRange(qsizetype startOffset, qsizetype endOffset, QStringView text)
{
    edit(m_store.positionOf(startOffset), m_store.positionOf(endOffset), text, EditKind::Other);
}

void TextPane::cut()
{
    if (m_readOnly || !hasSelection())
        return;
    copy();
    insertText(QStringView());
}

void TextPane::copy() const
{
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void TextPane::paste()
{
    if (m_readOnly)
        return;
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    insertText(text);
    Q_EMIT pasted();
}

void TextPane::deleteSelection()
{
    if (hasSelection())
        insertText(QStringView());
}

void TextPane::edit(TextPosition from, TextPosition to, QStringView text, EditKind kind)
{
    if (m_readOnly)
        return;
    // Splitting at CR LF, CR and LF also turns every break into the pane's own.
    editRows(from, to, TextStore::splitRows(text), kind);
}

void TextPane::editRows(TextPosition from, TextPosition to, QStringList rows, EditKind kind)
{
    if (m_readOnly)
        return;
    from = snapped(m_store.clamped(from));
    to = snapped(m_store.clamped(to));
    if (to < from)
        std::swap(from, to);
    if (from == to && charsIn(rows) == 0)
        return;

    const TextPosition oldCaret = m_caret;
    const TextPosition oldAnchor = m_anchor;
    EditStep step;
    step.from = from;
    step.removedEnd = to;
    step.removed = m_store.rowsBetween(from, to);
    step.caretBefore = m_caret;
    step.anchorBefore = m_anchor;
    step.kind = kind;
    if (kind == EditKind::Typing && rows.size() > 1)
        step.kind = EditKind::Other; // a break ends a typed run

    // The inserted text lives in the store alone until it is undone.
    applyReplace(from, to, step.removed, std::move(rows));
    step.insertedEnd = m_caret;
    if (!mergeIntoLast(step))
        pushUndo(std::move(step));
    m_redo.clear();
    m_typingOpen = kind != EditKind::Other;
    finishEdit();
    caretChanged(oldCaret, oldAnchor);
}

bool TextPane::mergeIntoLast(const EditStep &step)
{
    if (!m_typingOpen || m_undo.empty() || step.kind == EditKind::Other)
        return false;
    EditStep &last = m_undo.back();
    if (last.kind != step.kind)
        return false;
    m_undoBytes -= last.bytes();
    bool merged = false;
    switch (step.kind) {
    case EditKind::Typing:
        // Typed on at the end of the run, nothing selected.
        if (step.from == step.removedEnd && last.insertedEnd == step.from) {
            last.insertedEnd = step.insertedEnd;
            merged = true;
        }
        break;
    case EditKind::Backspace:
        // Each removal ends where the run's start now stands.
        if (step.removedEnd == last.from) {
            QStringList removed = step.removed;
            appendRows(removed, last.removed);
            last.removed = removed;
            last.from = step.from;
            last.insertedEnd = step.from;
            last.removedEnd = endOf(step.from, last.removed);
            merged = true;
        }
        break;
    case EditKind::Delete:
        if (step.from == last.from) {
            appendRows(last.removed, step.removed);
            last.removedEnd = endOf(last.from, last.removed);
            merged = true;
        }
        break;
    case EditKind::Other:
        break;
    }
    m_undoBytes += last.bytes();
    return merged;
}

void TextPane::applyReplace(TextPosition from, TextPosition to, const QStringList &removed,
                            QStringList inserted)
{
    keepPrimaryText();
    ++m_editCount;
    const bool oneRow = from.row == to.row && inserted.size() <= 1;
    const qsizetype insertedRows = std::max<qsizetype>(1, inserted.size());
    const bool listening = accessibilityListening();
    const qsizetype offset = listening ? m_store.offsetOf(from) : 0;
    const QString added = listening ? accessibleText(inserted) : QString();
    const TextPosition end = m_store.replaceRows(from, to, std::move(inserted));
    if (oneRow)
        m_layouts->rowEdited(from.row, from.column);
    else
        m_layouts->clear();
    m_widths->rowsReplaced(from.row, to.row - from.row + 1, insertedRows);
    if (listening)
        notifyAccessibleChange(offset, accessibleText(removed), added);
    m_caret = m_anchor = end;
    m_preferredX = -1;
}

void TextPane::notifyAccessibleChange(qsizetype offset, const QString &gone, const QString &added)
{
    if (gone.isEmpty() && added.isEmpty())
        return;
    if (gone.isEmpty()) {
        QAccessibleTextInsertEvent event(this, int(offset), added);
        sendAccessible(event);
    } else if (added.isEmpty()) {
        QAccessibleTextRemoveEvent event(this, int(offset), gone);
        sendAccessible(event);
    } else {
        QAccessibleTextUpdateEvent event(this, int(offset), gone, added);
        sendAccessible(event);
    }
}

void TextPane::pushUndo(EditStep step)
{
    m_undoBytes += step.bytes();
    m_undo.push_back(std::move(step));
    while (m_undo.size() > 1 && (m_undo.size() > kMaxUndoSteps || m_undoBytes > kMaxUndoBytes)) {
        m_undoBytes -= m_undo.front().bytes();
        m_undo.erase(m_undo.begin());
    }
}

void TextPane::finishEdit()
{
    updateScrollBars();
    ensureCaretVisible();
    restartBlinking();
    viewport()->update();
    Q_EMIT textChanged();
}

void TextPane::undo()
{
    if (m_readOnly || m_undo.empty())
        return;
    const TextPosition oldCaret = m_caret;
    const TextPosition oldAnchor = m_anchor;
    EditStep step = std::move(m_undo.back());
    m_undo.pop_back();
    m_undoBytes -= step.bytes();
    // The step now keeps what it had inserted, and the store what it had removed.
    step.inserted = m_store.rowsBetween(step.from, step.insertedEnd);
    applyReplace(step.from, step.insertedEnd, step.inserted, std::move(step.removed));
    step.removed.clear();
    m_caret = snapped(m_store.clamped(step.caretBefore));
    m_anchor = snapped(m_store.clamped(step.anchorBefore));
    m_redo.push_back(std::move(step));
    m_typingOpen = false;
    finishEdit();
    caretChanged(oldCaret, oldAnchor);
}

void TextPane::redo()
{
    if (m_readOnly || m_redo.empty())
        return;
    const TextPosition oldCaret = m_caret;
    const TextPosition oldAnchor = m_anchor;
    EditStep step = std::move(m_redo.back());
    m_redo.pop_back();
    step.removed = m_store.rowsBetween(step.from, step.removedEnd);
    applyReplace(step.from, step.removedEnd, step.removed, std::move(step.inserted));
    step.inserted.clear();
    m_undoBytes += step.bytes();
    m_undo.push_back(std::move(step));
    m_typingOpen = false;
    finishEdit();
    caretChanged(oldCaret, oldAnchor);
}

void TextPane::deleteBackward(bool byWord)
{
    if (hasSelection()) {
        insertText(QStringView());
        return;
    }
    TextPosition from = byWord ? previousWord(m_caret) : previousCharacter(m_caret);
    if (!byWord && from.row == m_caret.row) {
        // One code point back, so a mark typed after a letter goes on its own.
        const QString &row = m_store.row(m_caret.row);
        from.column = m_caret.column - 1;
        if (from.column > 0 && row.at(from.column).isLowSurrogate() &&
            row.at(from.column - 1).isHighSurrogate())
            --from.column;
    }
    edit(from, m_caret, QStringView(), byWord ? EditKind::Other : EditKind::Backspace);
}

void TextPane::deleteForward(bool byWord)
{
    if (hasSelection()) {
        insertText(QStringView());
        return;
    }
    edit(m_caret, byWord ? nextWord(m_caret) : nextCharacter(m_caret), QStringView(),
         byWord ? EditKind::Other : EditKind::Delete);
}

void TextPane::setReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
    m_layouts->setPreedit({});
    m_typingOpen = false;
    if (accessibilityListening()) {
        QAccessible::State changed;
        changed.readOnly = true;
        changed.editable = true;
        QAccessibleStateChangeEvent event(this, changed);
        sendAccessible(event);
    }
    viewport()->update();
}

// ---- movement ----

TextPosition TextPane::nextCharacter(TextPosition p) const
{
    const QString &row = m_store.row(p.row);
    if (p.column >= row.size())
        return p.row + 1 < m_store.rowCount() ? TextPosition{p.row + 1, 0} : p;
    const QStringView window = QStringView(row).mid(p.column, 64);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window);
    const qsizetype next = finder.toNextBoundary();
    return {p.row, p.column + std::max<qsizetype>(next, 1)};
}

TextPosition TextPane::previousCharacter(TextPosition p) const
{
    if (p.column <= 0)
        return p.row > 0 ? TextPosition{p.row - 1, m_store.row(p.row - 1).size()} : p;
    const qsizetype start = std::max<qsizetype>(0, p.column - 64);
    const QStringView window = QStringView(m_store.row(p.row)).mid(start, p.column - start);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window);
    finder.toEnd();
    const qsizetype previous = finder.toPreviousBoundary();
    return {p.row, std::min(p.column - 1, start + std::max<qsizetype>(previous, 0))};
}

TextPosition TextPane::nextWord(TextPosition p) const
{
    const QString &row = m_store.row(p.row);
    if (p.column >= row.size())
        return nextCharacter(p);
    qsizetype i = p.column;
    const CharClass kind = classOf(row.at(i));
    if (kind != CharClass::Space) {
        while (i < row.size() && classOf(row.at(i)) == kind)
            ++i;
    }
    while (i < row.size() && classOf(row.at(i)) == CharClass::Space)
        ++i;
    return {p.row, i};
}

TextPosition TextPane::previousWord(TextPosition p) const
{
    if (p.column <= 0)
        return previousCharacter(p);
    const QString &row = m_store.row(p.row);
    qsizetype i = p.column;
    while (i > 0 && classOf(row.at(i - 1)) == CharClass::Space)
        --i;
    if (i > 0) {
        const CharClass kind = classOf(row.at(i - 1));
        while (i > 0 && classOf(row.at(i - 1)) == kind)
            --i;
    }
    return {p.row, i};
}

void TextPane::wordBounds(TextPosition p, TextPosition &from, TextPosition &to) const
{
    p = m_store.clamped(p);
    from = to = p;
    const QString &row = m_store.row(p.row);
    if (row.isEmpty())
        return;
    // The run of letters, of blanks or of other signs under the position.
    const qsizetype at = std::min(p.column, row.size() - 1);
    const CharClass kind = classOf(row.at(at));
    from.column = at;
    to.column = at + 1;
    while (from.column > 0 && classOf(row.at(from.column - 1)) == kind)
        --from.column;
    while (to.column < row.size() && classOf(row.at(to.column)) == kind)
        ++to.column;
}

void TextPane::rowBounds(TextPosition p, TextPosition &from, TextPosition &to) const
{
    p = m_store.clamped(p);
    from = {p.row, 0};
    // The row with its line break, as far as it has one.
    to = p.row + 1 < m_store.rowCount() ? TextPosition{p.row + 1, 0}
                                        : TextPosition{p.row, m_store.row(p.row).size()};
}

void TextPane::selectWordAt(TextPosition p)
{
    TextPosition from;
    TextPosition to;
    wordBounds(p, from, to);
    selectRange(from, to);
}

bool TextPane::hasRightToLeftText(qsizetype row) const
{
    const QString &text = m_store.row(row);
    if (text.size() > 2048)
        return false; // long rows move logically
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        if (c.unicode() < 0x0590)
            return false;
        const QChar::Direction d = c.direction();
        return d == QChar::DirR || d == QChar::DirAL || d == QChar::DirRLE || d == QChar::DirRLO ||
               d == QChar::DirRLI;
    });
}

void TextPane::moveVisually(bool left, bool extend)
{
    const TextPosition start = std::min(m_anchor, m_caret);
    const TextPosition end = std::max(m_anchor, m_caret);
    if (!extend && hasSelection()) {
        // Without Shift, an arrow first collapses a selection to its edge.
        const bool rtl = m_layouts->isRightToLeft(m_caret.row);
        moveCaret(left != rtl ? start : end, false);
        return;
    }
    if (!hasRightToLeftText(m_caret.row)) {
        moveCaret(left ? previousCharacter(m_caret) : nextCharacter(m_caret), extend);
        return;
    }
    const qsizetype column = m_layouts->visualStep(m_caret.row, m_caret.column, left);
    if (column >= 0) {
        moveCaret({m_caret.row, column}, extend);
        return;
    }
    // At the edge of the row on screen: on to the next or previous row in reading order.
    const bool rtl = m_layouts->isRightToLeft(m_caret.row);
    if (left != rtl) {
        const TextPosition p = previousCharacter({m_caret.row, 0});
        moveCaret(p, extend);
    } else {
        const TextPosition p = nextCharacter({m_caret.row, m_store.row(m_caret.row).size()});
        moveCaret(p, extend);
    }
}

TextPosition TextPane::verticalMove(TextPosition p, qsizetype rows)
{
    if (m_preferredX < 0)
        m_preferredX = xOf(p);
    const qsizetype target = p.row + rows;
    if (target < 0)
        return {};
    if (target >= m_store.rowCount())
        return m_store.endPosition();
    return snapped({target, m_layouts->columnAt(target, m_preferredX)});
}

// ---- geometry ----

qreal TextPane::xOf(TextPosition p) const
{
    p = m_store.clamped(p);
    return m_layouts->xOf(p.row, p.column);
}

qsizetype TextPane::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

qsizetype TextPane::fullyVisibleRows() const
{
    return std::max(1, viewport()->height() / m_rowHeight);
}

qreal TextPane::contentWidth() const
{
    qreal widest = m_widths->widest(m_store, *m_layouts);
    if (m_layouts->preedit().isActive())
        widest = std::max(widest, m_layouts->rowWidth(m_layouts->preedit().row));
    return widest;
}

QRect TextPane::positionRect(TextPosition p) const
{
    p = m_store.clamped(p);
    const qreal x = leftMargin - horizontalScrollBar()->value() + xOf(p);
    const int y = int(p.row - firstVisibleRow()) * m_rowHeight;
    qreal width = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    if (p.column < m_store.row(p.row).size())
        width = std::max(width, std::abs(xOf(nextCharacter(p)) + leftMargin -
                                         horizontalScrollBar()->value() - x));
    return QRect(int(std::floor(x)), y, std::max(1, int(std::ceil(width))), m_rowHeight);
}

TextPosition TextPane::positionAt(const QPoint &viewportPoint) const
{
    const qsizetype row = std::clamp<qsizetype>(
        firstVisibleRow() + qsizetype(std::floor(qreal(viewportPoint.y()) / m_rowHeight)), 0,
        m_store.rowCount() - 1);
    const qreal x = viewportPoint.x() - leftMargin + horizontalScrollBar()->value();
    return snapped(m_store.clamped({row, m_layouts->columnAt(row, x)}));
}

void TextPane::updateMetrics()
{
    const QFontMetricsF metrics(font(), viewport());
    m_rowHeight = std::max(1, int(std::ceil(metrics.lineSpacing())));
    m_charWidth = std::max(1.0, metrics.averageCharWidth());
}

void TextPane::relayoutAll()
{
    m_layouts->setup(font(), viewport(), m_tabStops);
    m_widths->setup(font(), viewport(), m_layouts.get());
    m_widths->reset(m_store.rowCount());
    updateScrollBars();
    viewport()->update();
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImQueryAll);
}

void TextPane::updateScrollBars()
{
    m_scrollBarsPending = false;
    const int page = int(fullyVisibleRows());
    verticalScrollBar()->setRange(0, int(std::max<qsizetype>(0, m_store.rowCount() - page)));
    verticalScrollBar()->setPageStep(page);
    const int width = viewport()->width();
    const int caretWidth = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    const qreal content = contentWidth() + 2 * leftMargin + caretWidth;
    horizontalScrollBar()->setRange(0, std::max(0, int(std::ceil(content)) - width));
    horizontalScrollBar()->setPageStep(width);
    horizontalScrollBar()->setSingleStep(std::max(1, int(std::round(2 * m_charWidth))));
}

void TextPane::setTabStops(const QList<qreal> &pixelPositions)
{
    QList<qreal> stops;
    for (qreal p : pixelPositions) {
        if (p > 0)
            stops.append(p);
    }
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
    m_tabStops = stops;
    relayoutAll();
}

void TextPane::setBackgroundColor(const QColor &color)
{
    m_background = color;
    viewport()->update();
}

QColor TextPane::backgroundColor() const
{
    return m_background.isValid() ? m_background : palette().color(QPalette::Base);
}

void TextPane::restartBlinking()
{
    m_caretShown = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0)
        m_blinkTimer.start(flash / 2, this);
    else
        m_blinkTimer.stop();
    repaintCaret();
}

void TextPane::repaintCaret()
{
    const int y = int(m_caret.row - firstVisibleRow()) * m_rowHeight;
    if (y + m_rowHeight >= 0 && y < viewport()->height())
        viewport()->update(0, y, viewport()->width(), m_rowHeight);
}

void TextPane::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TextPane::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateMetrics();
        relayoutAll();
    } else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::EnabledChange) {
        viewport()->update();
    }
}

void TextPane::scrollContentsBy(int, int)
{
    viewport()->update();
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void TextPane::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, backgroundColor());

    const QPalette &colours = palette();
    const qsizetype top = firstVisibleRow();
    const qsizetype firstRow = top + area.top() / m_rowHeight;
    const qsizetype lastRow =
        std::min(m_store.rowCount() - 1, top + (area.bottom() + 1) / m_rowHeight);
    const int scroll = horizontalScrollBar()->value();
    const qreal originX = leftMargin - scroll;
    const qreal left = area.left() - originX;
    const qreal right = area.right() + 1 - originX;

    const TextPosition selFrom = std::min(m_anchor, m_caret);
    const TextPosition selTo = std::max(m_anchor, m_caret);
    QTextCharFormat selection;
    selection.setBackground(colours.brush(QPalette::Highlight));
    selection.setForeground(colours.brush(QPalette::HighlightedText));
    const qreal breakWidth = QFontMetricsF(font(), viewport()).horizontalAdvance(u' ');

    painter.setPen(colours.color(QPalette::Text));
    bool widthsChanged = false;
    for (qsizetype row = firstRow; row <= lastRow; ++row) {
        const qreal y = qreal(row - top) * m_rowHeight;
        qsizetype selStart = -1;
        qsizetype selEnd = -1;
        const bool selected = hasSelection() && row >= selFrom.row && row <= selTo.row;
        if (selected) {
            selStart = row == selFrom.row ? selFrom.column : 0;
            selEnd = row == selTo.row ? selTo.column : m_store.row(row).size();
        }
        const qreal width = m_layouts->draw(&painter, row, QPointF(originX, y), left, right,
                                            selStart, selEnd, selection);
        if (width >= 0 && row != m_layouts->preedit().row)
            widthsChanged = m_widths->setExact(row, width) || widthsChanged;
        if (selected && row < selTo.row) {
            // Show that the line break is selected too.
            const qreal x = originX + m_layouts->xOf(row, m_store.row(row).size());
            painter.fillRect(QRectF(x, y, breakWidth, m_rowHeight),
                             colours.brush(QPalette::Highlight));
        }
    }

    const bool caretInView = m_caret.row >= firstRow && m_caret.row <= lastRow;
    const qreal caretY = qreal(m_caret.row - top) * m_rowHeight;
    const bool composing = m_layouts->preedit().isActive();
    const qreal caretX =
        !caretInView ? 0 : originX + (composing ? m_layouts->preeditCaretX() : xOf(m_caret));
    const int caretWidth = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    const bool caretHidden = composing && m_layouts->preedit().cursor < 0;
    if (caretInView && m_caretShown && hasFocus() && !caretHidden) {
        painter.fillRect(QRectF(caretX, caretY, caretWidth, m_rowHeight),
                         colours.color(QPalette::Text));
    }
    if (m_dropCaretShown && m_dropCaret.row >= firstRow && m_dropCaret.row <= lastRow) {
        // Where a drop would land.
        const qreal x = originX + xOf(m_dropCaret);
        painter.fillRect(
            QRectF(x, qreal(m_dropCaret.row - top) * m_rowHeight, caretWidth, m_rowHeight),
            colours.color(QPalette::Text));
    }

    const int width = viewport()->width();
    m_layouts->prune(top, top + fullyVisibleRows(), m_caret.row, scroll - width,
                     scroll + 2 * width);
    if (widthsChanged && !m_scrollBarsPending) {
        // Rows measured while painting correct the scroll range, but not from inside painting.
        m_scrollBarsPending = true;
        QMetaObject::invokeMethod(
            this, [this] { updateScrollBars(); }, Qt::QueuedConnection);
    }
}

} // namespace plintex
