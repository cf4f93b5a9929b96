#include "ui/textpane.h"

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

// Rows up to this length are laid out whole; longer ones in pieces of about kChunkChars, so a
// row of a million characters costs no more to paint or edit than its visible part (plus, once,
// measuring the pieces to the left of the view).
constexpr qsizetype kWholeRowChars = 2048;
constexpr qsizetype kChunkChars = 1024;
constexpr qreal kLineWidth = 1e6; // no wrapping anyway; kept well inside QFixed's range
constexpr int kMaxTabStops = 10000;

// How much the edit history may hold: the newest step is always kept, however big.
constexpr size_t kMaxUndoSteps = 1000;
constexpr qsizetype kMaxUndoChars = 32 * 1024 * 1024;

enum class CharClass { Space, Word, Other };

CharClass classOf(QChar c)
{
    if (c.isSpace())
        return CharClass::Space;
    if (c.isLetterOrNumber() || c == u'_' || c.isMark() || c.isSurrogate())
        return CharClass::Word;
    return CharClass::Other;
}

QString normalizedBreaks(QStringView text)
{
    QString out = text.toString();
    if (out.contains(u'\r')) {
        out.replace(u"\r\n"_s, u"\n"_s);
        out.replace(u'\r', u'\n');
    }
    return out;
}

} // namespace

/// Laid-out rows near the view, each as one or more pieces placed side by side.
class TextPaneLayouts {
public:
    explicit TextPaneLayouts(const TextStore &store) : m_store(store) {}

    void setup(const QFont &font, QPaintDevice *device, const QList<qreal> &tabStops)
    {
        m_rows.clear();
        m_font = font;
        m_device = device;
        const QFontMetricsF metrics(font, device);
        m_maxCharWidth = std::max({metrics.maxWidth(), metrics.averageCharWidth(), 1.0});
        m_stops = tabStops;
        m_interval = 8 * std::max(metrics.horizontalAdvance(u' '), 1.0);
        m_widestGap = m_interval;
        if (!m_stops.isEmpty()) {
            const qreal last = m_stops.last();
            const qreal before = m_stops.size() > 1 ? m_stops.at(m_stops.size() - 2) : 0;
            if (last - before > 0)
                m_interval = last - before;
            m_widestGap = m_interval;
            qreal previous = 0;
            for (qreal stop : std::as_const(m_stops)) {
                m_widestGap = std::max(m_widestGap, stop - previous);
                previous = stop;
            }
        }
    }

    void clear() { m_rows.clear(); }

    /// The text of one row changed from a column on, and no row came or went.
    void rowEdited(qsizetype row, qsizetype column)
    {
        const auto it = m_rows.find(row);
        if (it == m_rows.end())
            return;
        auto &chunks = it->second.chunks;
        // Pieces wholly before the edit keep their text and so their place and width.
        const auto firstChanged = std::find_if(
            chunks.begin(), chunks.end(), [column](const Chunk &c) { return c.end >= column; });
        chunks.erase(firstChanged, chunks.end());
        if (chunks.empty())
            m_rows.erase(it);
    }

    qreal xOf(qsizetype row, qsizetype column)
    {
        const QString &text = m_store.row(row);
        Row &entry = rowEntry(row);
        Chunk &chunk = entry.chunks[chunkForColumn(entry, text, column)];
        return chunk.x + layoutOf(chunk, text).lineAt(0).cursorToX(int(column - chunk.start));
    }

    qsizetype columnAt(qsizetype row, qreal x)
    {
        const QString &text = m_store.row(row);
        Row &entry = rowEntry(row);
        Chunk &chunk = entry.chunks[chunkForX(entry, text, x)];
        const QTextLine line = layoutOf(chunk, text).lineAt(0);
        return chunk.start + line.xToCursor(x - chunk.x, QTextLine::CursorBetweenCharacters);
    }

    /// Draws the part of a row between two x positions of the text, selecting the columns
    /// selStart..selEnd; returns the width of the whole row when known, else -1.
    qreal draw(QPainter *painter, qsizetype row, QPointF origin, qreal left, qreal right,
               qsizetype selStart, qsizetype selEnd, const QTextCharFormat &selection)
    {
        const QString &text = m_store.row(row);
        Row &entry = rowEntry(row);
        for (size_t i = chunkForX(entry, text, left); i < entry.chunks.size(); ++i) {
            Chunk &chunk = entry.chunks[i];
            if (chunk.x > right)
                break;
            QTextLayout &layout = layoutOf(chunk, text);
            QList<QTextLayout::FormatRange> ranges;
            const qsizetype from = std::max(selStart, chunk.start);
            const qsizetype to = std::min(selEnd, chunk.end);
            if (from < to)
                ranges.append({int(from - chunk.start), int(to - from), selection});
            layout.draw(painter, origin + QPointF(chunk.x, 0), ranges);
            if (i + 1 == entry.chunks.size())
                extend(entry, text);
        }
        Chunk &last = entry.chunks.back();
        if (last.end < text.size() || !last.layout)
            return -1;
        return last.x + widthOf(last, text); // cheap now that the piece is laid out
    }

    /// Forgets rows away from the view, and pieces of long rows away from it sideways.
    void prune(qsizetype firstRow, qsizetype lastRow, qsizetype keptRow, qreal left, qreal right)
    {
        for (auto it = m_rows.begin(); it != m_rows.end();) {
            if ((it->first < firstRow - 1 || it->first > lastRow + 1) && it->first != keptRow) {
                it = m_rows.erase(it);
                continue;
            }
            auto &chunks = it->second.chunks;
            if (chunks.size() > 1) {
                for (Chunk &c : chunks) {
                    if (c.width >= 0 && (c.x + c.width < left || c.x > right))
                        c.layout.reset();
                }
            }
            ++it;
        }
    }

private:
    struct Chunk {
        qsizetype start = 0;
        qsizetype end = 0;
        qreal x = 0;
        qreal width = -1; // -1: not measured yet
        std::unique_ptr<QTextLayout> layout;
    };
    struct Row {
        std::vector<Chunk> chunks; // never empty; the last ends at the row's end once all known
    };

    Row &rowEntry(qsizetype row)
    {
        Row &entry = m_rows[row];
        if (entry.chunks.empty()) {
            Chunk first;
            first.end = chunkEnd(m_store.row(row), 0);
            entry.chunks.push_back(std::move(first));
        }
        return entry;
    }

    qsizetype chunkEnd(const QString &text, qsizetype start) const
    {
        const qsizetype length = text.size();
        if (length - start <= kWholeRowChars)
            return length;
        // Never cut a surrogate pair, and try not to part a character from its marks.
        qsizetype end = start + kChunkChars;
        for (int guard = 0; guard < 32 && end < length; ++guard, ++end) {
            const QChar c = text.at(end);
            if (!c.isLowSurrogate() && !c.isMark() && text.at(end - 1) != QChar(0x200D))
                break;
        }
        while (end < length && text.at(end).isLowSurrogate())
            ++end;
        return end;
    }

    // Adds the piece after the last known one; false when the row is complete.
    bool extend(Row &entry, const QString &text)
    {
        Chunk &last = entry.chunks.back();
        if (last.end >= text.size())
            return false;
        Chunk next;
        next.start = last.end;
        next.end = chunkEnd(text, next.start);
        next.x = last.x + widthOf(last, text);
        entry.chunks.push_back(std::move(next));
        return true;
    }

    size_t chunkForColumn(Row &entry, const QString &text, qsizetype column)
    {
        while (column >= entry.chunks.back().end && extend(entry, text)) {
        }
        const auto it = std::upper_bound(entry.chunks.begin(), entry.chunks.end(), column,
                                         [](qsizetype c, const Chunk &k) { return c < k.start; });
        return std::max<size_t>(1, size_t(it - entry.chunks.begin())) - 1;
    }

    size_t chunkForX(Row &entry, const QString &text, qreal x)
    {
        // A complete row needs no width here: its last piece takes every x beyond.
        while (entry.chunks.back().end < text.size() &&
               x >= entry.chunks.back().x + widthOf(entry.chunks.back(), text)) {
            extend(entry, text);
        }
        const auto it = std::upper_bound(entry.chunks.begin(), entry.chunks.end(), x,
                                         [](qreal v, const Chunk &k) { return v < k.x; });
        return std::max<size_t>(1, size_t(it - entry.chunks.begin())) - 1;
    }

    qreal widthOf(Chunk &chunk, const QString &text)
    {
        if (chunk.width < 0) {
            // Measure without keeping the layout: pieces far off to the left are measured
            // once and then only their width is needed.
            std::unique_ptr<QTextLayout> measured;
            QTextLayout *layout = chunk.layout.get();
            if (!layout) {
                measured = makeLayout(text, chunk);
                layout = measured.get();
            }
            chunk.width = layout->lineAt(0).cursorToX(int(chunk.end - chunk.start));
        }
        return chunk.width;
    }

    QTextLayout &layoutOf(Chunk &chunk, const QString &text)
    {
        if (!chunk.layout)
            chunk.layout = makeLayout(text, chunk);
        return *chunk.layout;
    }

    std::unique_ptr<QTextLayout> makeLayout(const QString &text, const Chunk &chunk) const
    {
        const bool whole = chunk.start == 0 && chunk.end == text.size();
        const QString piece = whole ? text : text.mid(chunk.start, chunk.end - chunk.start);
        auto layout = std::make_unique<QTextLayout>(piece, m_font, m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setTextDirection(Qt::LeftToRight);
        option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        option.setTabStopDistance(m_interval);
        if (const qsizetype tabs = piece.count(u'\t'))
            option.setTabs(tabArray(chunk.x, piece.size(), tabs));
        layout->setTextOption(option);
        layout->setCacheEnabled(true);
        layout->beginLayout();
        QTextLine line = layout->createLine();
        line.setLineWidth(kLineWidth);
        line.setPosition(QPointF(0, 0));
        layout->endLayout();
        return layout;
    }

    // The stops a piece starting at x0 may reach, relative to x0: QTextLayout knows only stops
    // it is given plus a fixed distance from its own start, not "the last interval again".
    QList<QTextOption::Tab> tabArray(qreal x0, qsizetype chars, qsizetype tabs) const
    {
        const qreal limit = x0 + qreal(chars) * m_maxCharWidth + qreal(tabs + 1) * m_widestGap;
        QList<QTextOption::Tab> out;
        for (qreal stop : m_stops) {
            if (stop > x0 && stop <= limit)
                out.append(QTextOption::Tab(stop - x0, QTextOption::LeftTab));
        }
        const qreal base = m_stops.isEmpty() ? 0 : m_stops.last();
        qreal k = std::max(1.0, std::floor((x0 - base) / m_interval) + 1);
        for (qreal stop = base + k * m_interval; stop <= limit && out.size() < kMaxTabStops;
             stop = base + ++k * m_interval)
            out.append(QTextOption::Tab(stop - x0, QTextOption::LeftTab));
        return out;
    }

    const TextStore &m_store;
    QFont m_font;
    QPaintDevice *m_device = nullptr;
    qreal m_maxCharWidth = 1;
    QList<qreal> m_stops;
    qreal m_interval = 64;
    qreal m_widestGap = 64;
    std::unordered_map<qsizetype, Row> m_rows;
};

TextPane::TextPane(QWidget *parent)
    : QAbstractScrollArea(parent), m_layouts(std::make_unique<TextPaneLayouts>(m_store))
{
    setFocusPolicy(Qt::StrongFocus);
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

TextPane::~TextPane() = default;

// ---- whole-text changes ----

void TextPane::setText(QStringView text)
{
    const QString old = QAccessible::isActive() ? m_store.text() : QString();
    m_store.setText(text);
    resetAfterTextSwap(old);
}

void TextPane::setLines(QStringList lines)
{
    const QString old = QAccessible::isActive() ? m_store.text() : QString();
    m_store.setLines(std::move(lines));
    resetAfterTextSwap(old);
}

void TextPane::storeEdited()
{
    const TextPosition oldCaret = m_caret;
    const TextPosition oldAnchor = m_anchor;
    m_caret = snapped(m_store.clamped(m_caret));
    m_anchor = snapped(m_store.clamped(m_anchor));
    m_undo.clear();
    m_redo.clear();
    m_undoChars = 0;
    m_typingOpen = false;
    relayoutAll();
    ensureCaretVisible();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, QString(), m_store.text());
        QAccessible::updateAccessibility(&event);
    }
    Q_EMIT textChanged();
    caretChanged(oldCaret, oldAnchor);
}

void TextPane::resetAfterTextSwap(const QString &oldTextForAccessibility)
{
    const TextPosition oldCaret = m_caret;
    const TextPosition oldAnchor = m_anchor;
    m_caret = m_anchor = TextPosition{};
    m_preferredX = -1;
    m_undo.clear();
    m_redo.clear();
    m_undoChars = 0;
    m_typingOpen = false;
    m_widestSeen = 0;
    m_layouts->clear();
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, oldTextForAccessibility, m_store.text());
        QAccessible::updateAccessibility(&event);
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
    if (QAccessible::isActive()) {
        if (hasSelection() || oldCaret != oldAnchor) {
            const qsizetype start = m_store.offsetOf(m_anchor);
            const qsizetype end = m_store.offsetOf(m_caret);
            QAccessibleTextSelectionEvent event(this, int(std::min(start, end)),
                                                int(std::max(start, end)));
            event.setCursorPosition(int(end));
            QAccessible::updateAccessibility(&event);
        } else {
            notifyAccessibleCaret();
        }
    }
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
    Q_EMIT caretMoved();
}

void TextPane::notifyAccessibleCaret()
{
    QAccessibleTextCursorEvent event(this, int(m_store.offsetOf(m_caret)));
    QAccessible::updateAccessibility(&event);
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
    if (x + caretWidth > m_widestSeen)
        m_widestSeen = x + caretWidth;
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
    if (!text.isEmpty())
        insertText(text);
}

void TextPane::edit(TextPosition from, TextPosition to, QStringView text, EditKind kind)
{
    if (m_readOnly)
        return;
    from = snapped(m_store.clamped(from));
    to = snapped(m_store.clamped(to));
    if (to < from)
        std::swap(from, to);
    if (from == to && text.isEmpty())
        return;

    const TextPosition oldCaret = m_caret;
    const TextPosition oldAnchor = m_anchor;
    const QString inserted = normalizedBreaks(text);
    const bool oneRow = !inserted.contains(u'\n');
    EditStep step;
    step.from = from;
    step.removedEnd = to;
    step.removed = m_store.textBetween(from, to);
    step.caretBefore = m_caret;
    step.anchorBefore = m_anchor;
    step.typing = kind == EditKind::Typing && oneRow;

    const bool merge = step.typing && m_typingOpen && !m_undo.empty() && m_undo.back().typing &&
                       from == to && m_undo.back().insertedEnd == from;
    applyReplace(from, to, step.removed, inserted);
    const TextPosition after = m_caret;
    if (merge) {
        EditStep &last = m_undo.back();
        last.inserted += inserted;
        last.insertedEnd = after;
        m_undoChars += inserted.size();
    } else {
        step.inserted = inserted;
        step.insertedEnd = after;
        pushUndo(std::move(step));
    }
    m_redo.clear();
    m_typingOpen = kind == EditKind::Typing;
    finishEdit();
    caretChanged(oldCaret, oldAnchor);
}

void TextPane::applyReplace(TextPosition from, TextPosition to, QStringView removed,
                            QStringView inserted)
{
    const bool oneRow = from.row == to.row && !inserted.contains(u'\n');
    const TextPosition end = m_store.replace(from, to, inserted);
    if (oneRow)
        m_layouts->rowEdited(from.row, from.column);
    else
        m_layouts->clear();
    if (QAccessible::isActive()) {
        const int offset = int(m_store.offsetOf(from));
        if (removed.isEmpty()) {
            QAccessibleTextInsertEvent event(this, offset, inserted.toString());
            QAccessible::updateAccessibility(&event);
        } else if (inserted.isEmpty()) {
            QAccessibleTextRemoveEvent event(this, offset, removed.toString());
            QAccessible::updateAccessibility(&event);
        } else {
            QAccessibleTextUpdateEvent event(this, offset, removed.toString(), inserted.toString());
            QAccessible::updateAccessibility(&event);
        }
    }
    m_caret = m_anchor = end;
    m_preferredX = -1;
}

void TextPane::pushUndo(EditStep step)
{
    m_undoChars += step.removed.size() + step.inserted.size();
    m_undo.push_back(std::move(step));
    while (m_undo.size() > 1 && (m_undo.size() > kMaxUndoSteps || m_undoChars > kMaxUndoChars)) {
        m_undoChars -= m_undo.front().removed.size() + m_undo.front().inserted.size();
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
    m_undoChars -= step.removed.size() + step.inserted.size();
    applyReplace(step.from, step.insertedEnd, step.inserted, step.removed);
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
    applyReplace(step.from, step.removedEnd, step.removed, step.inserted);
    m_undoChars += step.removed.size() + step.inserted.size();
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
    edit(from, m_caret, QStringView(), EditKind::Other);
}

void TextPane::deleteForward(bool byWord)
{
    if (hasSelection()) {
        insertText(QStringView());
        return;
    }
    edit(m_caret, byWord ? nextWord(m_caret) : nextCharacter(m_caret), QStringView(),
         EditKind::Other);
}

void TextPane::setReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
    m_preedit.clear();
    m_typingOpen = false;
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.readOnly = true;
        changed.editable = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
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

void TextPane::selectWordAt(TextPosition p)
{
    p = m_store.clamped(p);
    const QString &row = m_store.row(p.row);
    if (row.isEmpty()) {
        moveCaret(p, false);
        return;
    }
    // The run of letters, of blanks or of other signs under the position.
    const qsizetype at = std::min(p.column, row.size() - 1);
    const CharClass kind = classOf(row.at(at));
    qsizetype from = at;
    qsizetype to = at + 1;
    while (from > 0 && classOf(row.at(from - 1)) == kind)
        --from;
    while (to < row.size() && classOf(row.at(to)) == kind)
        ++to;
    selectRange({p.row, from}, {p.row, to});
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
    return std::max(qreal(m_store.longestRowLength()) * m_charWidth, m_widestSeen);
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
    m_widestSeen = 0;
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
    qreal widest = m_widestSeen;
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
        widest = std::max(widest, width);
        if (selected && row < selTo.row) {
            // Show that the line break is selected too.
            const qreal x = originX + m_layouts->xOf(row, m_store.row(row).size());
            painter.fillRect(QRectF(x, y, breakWidth, m_rowHeight),
                             colours.brush(QPalette::Highlight));
        }
    }

    const bool caretInView = m_caret.row >= firstRow && m_caret.row <= lastRow;
    const qreal caretY = qreal(m_caret.row - top) * m_rowHeight;
    qreal caretX = caretInView ? originX + xOf(m_caret) : 0;
    if (!m_preedit.isEmpty() && caretInView) {
        // The text being composed, drawn over what follows the caret until it is committed.
        const QFontMetricsF metrics(font(), viewport());
        const QRectF box(caretX, caretY, metrics.horizontalAdvance(m_preedit), m_rowHeight);
        painter.fillRect(box, backgroundColor());
        painter.setFont(font());
        painter.drawText(QPointF(caretX, caretY + metrics.ascent()), m_preedit);
        painter.drawLine(QPointF(box.left(), box.bottom() - 1),
                         QPointF(box.right(), box.bottom() - 1));
        caretX = box.right();
    }
    if (caretInView && m_caretShown && hasFocus()) {
        const int caretWidth = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
        painter.fillRect(QRectF(caretX, caretY, caretWidth, m_rowHeight),
                         colours.color(QPalette::Text));
    }

    const int width = viewport()->width();
    m_layouts->prune(top, top + fullyVisibleRows(), m_caret.row, scroll - width,
                     scroll + 2 * width);
    if (widest > m_widestSeen && !m_scrollBarsPending) {
        // Rows wider than the estimate widen the scroll range, but not from inside painting.
        m_widestSeen = widest;
        m_scrollBarsPending = true;
        QMetaObject::invokeMethod(
            this, [this] { updateScrollBars(); }, Qt::QueuedConnection);
    }
}

} // namespace plintex
