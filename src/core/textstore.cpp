#include "core/textstore.h"

#include <QThreadPool>

#include <cstring>

#include <algorithm>
#include <utility>

namespace plintex {

TextStore::TextStore() : m_rows{QString()} {}

QStringList TextStore::splitRows(QStringView text)
{
    QStringList rows;
    // One allocation for the list however many rows a large paste brings.
    rows.reserve(text.count(u'\n') + 1);
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\n' || c == u'\r') {
            rows.append(text.mid(start, i - start).toString());
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    rows.append(text.mid(start).toString());
    return rows;
}

QString TextStore::text() const
{
    return m_rows.join(u'\n');
}

void TextStore::setText(QStringView text)
{
    assignRows(splitRows(text));
}

qsizetype TextStore::length() const
{
    return offsetOfRow(m_rows.size() - 1) + m_rows.back().size();
}

namespace {

bool holdsLineBreak(const QString &row)
{
    // Every row of a large text passes here: one pass over words of four units looks for any
    // unit below U+000E, and only a row that has one (a tab will do) is searched exactly.
    constexpr quint64 high = 0x8000800080008000ULL;
    constexpr quint64 fourteen = 0x000E000E000E000EULL;
    const char16_t *data = reinterpret_cast<const char16_t *>(row.constData());
    const qsizetype n = row.size();
    quint64 low = 0;
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        quint64 v;
        std::memcpy(&v, data + i, sizeof v);
        low |= ~((v | high) - fourteen) & high;
    }
    for (; i < n; ++i)
        low |= quint64(data[i] < 0x0E);
    return low != 0 && (row.contains(u'\n') || row.contains(u'\r'));
}

} // namespace

void TextStore::setRows(QStringList rows)
{
    if (rows.isEmpty())
        rows.append(QString());
    // Rows must never hold a break, or every offset after them would be off. Callers rarely
    // hand such rows in, so look first and rebuild only when needed.
    const auto firstBad = std::find_if(rows.cbegin(), rows.cend(), holdsLineBreak);
    if (firstBad != rows.cend()) {
        QStringList split = rows.mid(0, firstBad - rows.cbegin());
        for (auto it = firstBad; it != rows.cend(); ++it) {
            if (holdsLineBreak(*it))
                split.append(splitRows(*it));
            else
                split.append(*it);
        }
        rows = std::move(split);
    }
    assignRows(std::move(rows));
}

void TextStore::assignRows(QStringList rows)
{
    QStringList old = std::exchange(m_rows, std::move(rows));
    // Letting go of a million rows scattered over the heap takes a tenth of a second: a large
    // text goes on another thread, so that the new one shows at once.
    constexpr qsizetype kLargeText = 1 << 16;
    if (old.size() >= kLargeText)
        QThreadPool::globalInstance()->start([old = std::move(old)]() mutable { old = {}; });
    m_rowStart.clear();
    m_validStarts = 0;
    m_longest = -1;
    m_longestCount = 0;
}

qsizetype TextStore::lineCount() const
{
    return m_rows.back().isEmpty() ? m_rows.size() - 1 : m_rows.size();
}

QStringList TextStore::lines() const
{
    if (!m_rows.back().isEmpty())
        return m_rows;
    // A copy keeps the room of the final row, so that the lines a run hands back take their
    // place without the list growing again.
    QStringList lines = m_rows;
    lines.removeLast();
    return lines;
}

void TextStore::setLines(QStringList lines)
{
    lines.append(QString());
    setRows(std::move(lines));
}

void TextStore::rowsChangedFrom(qsizetype row)
{
    // The start of `row` itself stays valid: only the rows after it move.
    m_validStarts = std::min(m_validStarts, row + 1);
}

void TextStore::ensureOffsets(qsizetype upToRow) const
{
    if (upToRow < m_validStarts)
        return;
    m_rowStart.resize(m_rows.size());
    qsizetype r = m_validStarts;
    qsizetype offset = r == 0 ? 0 : m_rowStart[r - 1] + m_rows.at(r - 1).size() + 1;
    for (; r <= upToRow; ++r) {
        m_rowStart[r] = offset;
        offset += m_rows.at(r).size() + 1;
    }
    m_validStarts = upToRow + 1;
}

qsizetype TextStore::offsetOfRow(qsizetype row) const
{
    row = std::clamp<qsizetype>(row, 0, m_rows.size() - 1);
    ensureOffsets(row);
    return m_rowStart[row];
}

qsizetype TextStore::rowOfOffset(qsizetype offset) const
{
    return positionOf(offset).row;
}

qsizetype TextStore::offsetOf(TextPosition position) const
{
    const TextPosition p = clamped(position);
    return offsetOfRow(p.row) + p.column;
}

TextPosition TextStore::positionOf(qsizetype offset) const
{
    if (offset <= 0)
        return {};
    // Extend the cache only as far as the offset needs, then search it.
    qsizetype last = m_rows.size() - 1;
    if (m_validStarts == 0)
        ensureOffsets(0);
    while (m_validStarts <= last && m_rowStart[m_validStarts - 1] <= offset)
        ensureOffsets(std::min(last, m_validStarts * 2));
    const auto begin = m_rowStart.begin();
    const auto end = begin + m_validStarts;
    const auto it = std::upper_bound(begin, end, offset) - 1;
    const qsizetype row = it - begin;
    const qsizetype column = std::min(offset - *it, m_rows.at(row).size());
    return {row, column};
}

TextPosition TextStore::endPosition() const
{
    return {m_rows.size() - 1, m_rows.back().size()};
}

TextPosition TextStore::clamped(TextPosition p) const
{
    p.row = std::clamp<qsizetype>(p.row, 0, m_rows.size() - 1);
    p.column = std::clamp<qsizetype>(p.column, 0, m_rows.at(p.row).size());
    return p;
}

TextPosition TextStore::replace(TextPosition from, TextPosition to, QStringView text)
{
    return replaceRows(from, to, splitRows(text));
}

TextPosition TextStore::replaceRows(TextPosition from, TextPosition to, QStringList inserted)
{
    from = clamped(from);
    to = clamped(to);
    if (to < from)
        std::swap(from, to);
    if (inserted.isEmpty())
        inserted.append(QString());
    if (from == TextPosition{} && to == endPosition()) {
        // All of it: let go of the old rows rather than edit a list that may be shared.
        const TextPosition end{inserted.size() - 1, inserted.constLast().size()};
        assignRows(std::move(inserted));
        return end;
    }

    const QString head = m_rows.at(from.row).left(from.column);
    const QString tail = m_rows.at(to.row).mid(to.column);
    const TextPosition end{from.row + inserted.size() - 1,
                           (inserted.size() == 1 ? head.size() : 0) + inserted.back().size()};
    inserted.front().prepend(head);
    inserted.back().append(tail);

    if (m_longest >= 0) {
        for (qsizetype r = from.row; r <= to.row; ++r) {
            if (m_rows.at(r).size() == m_longest)
                --m_longestCount;
        }
        for (const QString &row : std::as_const(inserted)) {
            if (row.size() > m_longest) {
                m_longest = row.size();
                m_longestCount = 1;
            } else if (row.size() == m_longest) {
                ++m_longestCount;
            }
        }
        if (m_longestCount <= 0)
            m_longest = -1;
    }

    // Reuse the rows that are replaced one for one, then insert or remove the difference.
    const qsizetype removed = to.row - from.row + 1;
    const qsizetype common = std::min(removed, inserted.size());
    for (qsizetype i = 0; i < common; ++i)
        m_rows[from.row + i] = std::move(inserted[i]);
    if (removed > common)
        m_rows.remove(from.row + common, removed - common);
    else if (inserted.size() > common)
        m_rows.insert(from.row + common, inserted.size() - common, QString());
    for (qsizetype i = common; i < inserted.size(); ++i)
        m_rows[from.row + i] = std::move(inserted[i]);

    rowsChangedFrom(from.row);
    return end;
}

QString TextStore::textBetween(TextPosition from, TextPosition to) const
{
    from = clamped(from);
    to = clamped(to);
    if (to < from)
        std::swap(from, to);
    if (from.row == to.row)
        return m_rows.at(from.row).mid(from.column, to.column - from.column);
    QString out;
    out.reserve(offsetOf(to) - offsetOf(from)); // one allocation, however long
    out += QStringView(m_rows.at(from.row)).mid(from.column);
    for (qsizetype r = from.row + 1; r < to.row; ++r) {
        out += u'\n';
        out += m_rows.at(r);
    }
    out += u'\n';
    out += QStringView(m_rows.at(to.row)).left(to.column);
    return out;
}

QStringList TextStore::rowsBetween(TextPosition from, TextPosition to) const
{
    from = clamped(from);
    to = clamped(to);
    if (to < from)
        std::swap(from, to);
    if (from.row == to.row)
        return {m_rows.at(from.row).mid(from.column, to.column - from.column)};
    if (from == TextPosition{} && to == endPosition())
        return m_rows; // the whole text: the list itself is shared
    QStringList out = m_rows.mid(from.row, to.row - from.row + 1);
    out.front() = out.front().mid(from.column);
    out.back().truncate(to.column);
    return out;
}

qsizetype TextStore::longestRowLength() const
{
    if (m_longest < 0) {
        m_longest = 0;
        m_longestCount = 0;
        for (const QString &r : m_rows) {
            if (r.size() > m_longest) {
                m_longest = r.size();
                m_longestCount = 1;
            } else if (r.size() == m_longest) {
                ++m_longestCount;
            }
        }
    }
    return m_longest;
}

} // namespace plintex
