#include "ui/textpanelayouts.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plintex {

namespace {

constexpr qsizetype kWholeRowChars = 2048;
constexpr qsizetype kChunkChars = 1024;
constexpr qreal kLineWidth = 1e6; // no wrapping anyway; kept well inside QFixed's range
constexpr int kMaxTabStops = 10000;
constexpr float kUnknown = std::numeric_limits<float>::quiet_NaN();

// Whether every character lies in U+0020..U+007E, eight (or four) at a time: this runs over
// every row of a text after it is loaded, pasted or replaced.
bool isPrintableAscii(const char16_t *data, qsizetype n)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    // Less the blank, a printable unit is at most 0x5E: saturated, that much less is zero.
    const __m128i blank = _mm_set1_epi16(0x20);
    const __m128i span = _mm_set1_epi16(0x5E);
    __m128i over = _mm_setzero_si128();
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        over = _mm_or_si128(over, _mm_subs_epu16(_mm_sub_epi16(v, blank), span));
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(over, _mm_setzero_si128())) != 0xFFFF)
        return false;
#endif
    constexpr quint64 high = 0x8000800080008000ULL;
    constexpr quint64 space = 0x0020002000200020ULL;
    constexpr quint64 aboveTilde = 0x7f817f817f817f81ULL; // 0x7F + this reaches the high bit
    quint64 bad = 0;
    for (; i + 4 <= n; i += 4) {
        quint64 v;
        std::memcpy(&v, data + i, sizeof v);
        bad |= v & high;                          // U+8000 and above
        bad |= ~((v | high) - space) & high;      // below U+0020
        bad |= ((v & ~high) + aboveTilde) & high; // above U+007E
    }
    for (; i < n; ++i)
        bad |= quint64(data[i] < 0x20 || data[i] > 0x7e);
    return bad == 0;
}

} // namespace

TextPaneLayouts::~TextPaneLayouts() = default;

void TextPaneLayouts::setup(const QFont &font, QPaintDevice *device, const QList<qreal> &tabStops)
{
    m_rows.clear();
    m_font = font;
    m_device = device;
    const QFontMetricsF metrics(font, device);
    m_advances.assign(0x10000, kUnknown);
    m_wideAdvances.clear();
    m_stops = tabStops;
    m_interval = 8 * std::max(metrics.horizontalAdvance(u' '), 1.0);
    m_minTabWidth = std::max(1.0, metrics.horizontalAdvance(u' ') / 2);
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

void TextPaneLayouts::rowEdited(qsizetype row, qsizetype column)
{
    const auto it = m_rows.find(row);
    if (it == m_rows.end())
        return;
    if (row >= m_store.rowCount()) {
        m_rows.erase(it);
        return;
    }
    auto &chunks = it->second.chunks;
    // Pieces wholly before the edit keep their text and so their place and width; the direction
    // of the row may change with its first letters.
    const auto firstChanged = std::find_if(chunks.begin(), chunks.end(),
                                           [column](const Chunk &c) { return c.end >= column; });
    chunks.erase(firstChanged, chunks.end());
    if (chunks.empty() || it->second.rightToLeft != QStringView(m_store.row(row)).isRightToLeft())
        m_rows.erase(it);
}

void TextPaneLayouts::setPreedit(Preedit preedit)
{
    if (m_preedit.isActive())
        rowEdited(m_preedit.row, m_preedit.column);
    m_preedit = std::move(preedit);
    if (m_preedit.isActive())
        rowEdited(m_preedit.row, m_preedit.column);
}

qreal TextPaneLayouts::xOf(qsizetype row, qsizetype column)
{
    const QString &text = m_store.row(row);
    Row &entry = rowEntry(row);
    Chunk &chunk = entry.chunks[chunkForColumn(entry, text, column)];
    return chunk.x +
           layoutOf(entry, chunk, text).lineAt(0).cursorToX(toLayout(row, text, chunk, column));
}

qreal TextPaneLayouts::preeditCaretX()
{
    const QString &text = m_store.row(m_preedit.row);
    Row &entry = rowEntry(m_preedit.row);
    Chunk &chunk = entry.chunks[chunkForColumn(entry, text, m_preedit.column)];
    const int at = int(m_preedit.column - chunk.start) + std::max(0, m_preedit.cursor);
    return chunk.x + layoutOf(entry, chunk, text).lineAt(0).cursorToX(at);
}

qsizetype TextPaneLayouts::columnAt(qsizetype row, qreal x)
{
    const QString &text = m_store.row(row);
    Row &entry = rowEntry(row);
    Chunk &chunk = entry.chunks[chunkForX(entry, text, x)];
    const QTextLine line = layoutOf(entry, chunk, text).lineAt(0);
    return fromLayout(row, text, chunk,
                      line.xToCursor(x - chunk.x, QTextLine::CursorBetweenCharacters));
}

qsizetype TextPaneLayouts::visualStep(qsizetype row, qsizetype column, bool left)
{
    const QString &text = m_store.row(row);
    Row &entry = rowEntry(row);
    Chunk &chunk = entry.chunks[chunkForColumn(entry, text, column)];
    QTextLayout &layout = layoutOf(entry, chunk, text);
    const int from = toLayout(row, text, chunk, column);
    const int to = left ? layout.leftCursorPosition(from) : layout.rightCursorPosition(from);
    if (to == from)
        return -1;
    return fromLayout(row, text, chunk, to);
}

bool TextPaneLayouts::isRightToLeft(qsizetype row)
{
    return rowEntry(row).rightToLeft;
}

qreal TextPaneLayouts::rowWidth(qsizetype row)
{
    const QString &text = m_store.row(row);
    Row &entry = rowEntry(row);
    while (extend(entry, text)) {
    }
    return entry.chunks.back().x + widthOf(entry, entry.chunks.back(), text);
}

qreal TextPaneLayouts::draw(QPainter *painter, qsizetype row, QPointF origin, qreal left,
                            qreal right, qsizetype selStart, qsizetype selEnd,
                            const QTextCharFormat &selection)
{
    const QString &text = m_store.row(row);
    Row &entry = rowEntry(row);
    for (size_t i = chunkForX(entry, text, left); i < entry.chunks.size(); ++i) {
        Chunk &chunk = entry.chunks[i];
        if (chunk.x > right)
            break;
        QTextLayout &layout = layoutOf(entry, chunk, text);
        QList<QTextLayout::FormatRange> ranges;
        const qsizetype from = std::max(selStart, chunk.start);
        const qsizetype to = std::min(selEnd, chunk.end);
        if (from < to) {
            const int a = toLayout(row, text, chunk, from);
            ranges.append({a, toLayout(row, text, chunk, to) - a, selection});
        }
        layout.draw(painter, origin + QPointF(chunk.x, 0), ranges);
        if (i + 1 == entry.chunks.size())
            extend(entry, text);
    }
    Chunk &last = entry.chunks.back();
    if (last.end < text.size() || !last.layout)
        return -1;
    return last.x + widthOf(entry, last, text); // cheap now that the piece is laid out
}

void TextPaneLayouts::prune(qsizetype firstRow, qsizetype lastRow, qsizetype keptRow, qreal left,
                            qreal right)
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

qreal TextPaneLayouts::stopAfter(qreal x) const
{
    for (qreal stop : m_stops) {
        if (stop > x)
            return stop;
    }
    const qreal base = m_stops.isEmpty() ? 0 : m_stops.last();
    return base + (std::floor((x - base) / m_interval) + 1) * m_interval;
}

qreal TextPaneLayouts::nextTabStop(qreal x, QList<qreal> *skippedStops) const
{
    qreal stop = stopAfter(x);
    while (stop - x < m_minTabWidth) {
        if (skippedStops)
            skippedStops->append(stop);
        stop = stopAfter(stop);
    }
    return stop;
}

TextPaneLayouts::Row &TextPaneLayouts::rowEntry(qsizetype row)
{
    Row &entry = m_rows[row];
    if (entry.chunks.empty()) {
        const QString &text = m_store.row(row);
        // A row whose first strong letter is Hebrew or Arabic reads from the right.
        entry.rightToLeft = QStringView(text).isRightToLeft();
        entry.index = row;
        Chunk first;
        first.end = chunkEnd(text, 0);
        entry.chunks.push_back(std::move(first));
    }
    return entry;
}

qsizetype TextPaneLayouts::chunkEnd(const QString &text, qsizetype start) const
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

bool TextPaneLayouts::extend(Row &entry, const QString &text)
{
    Chunk &last = entry.chunks.back();
    if (last.end >= text.size())
        return false;
    Chunk next;
    next.start = last.end;
    next.end = chunkEnd(text, next.start);
    next.x = last.x + widthOf(entry, last, text);
    entry.chunks.push_back(std::move(next));
    return true;
}

size_t TextPaneLayouts::chunkForColumn(Row &entry, const QString &text, qsizetype column)
{
    while (column >= entry.chunks.back().end && extend(entry, text)) {
    }
    const auto it = std::upper_bound(entry.chunks.begin(), entry.chunks.end(), column,
                                     [](qsizetype c, const Chunk &k) { return c < k.start; });
    return std::max<size_t>(1, size_t(it - entry.chunks.begin())) - 1;
}

size_t TextPaneLayouts::chunkForX(Row &entry, const QString &text, qreal x)
{
    // A complete row needs no width here: its last piece takes every x beyond.
    while (entry.chunks.back().end < text.size() &&
           x >= entry.chunks.back().x + widthOf(entry, entry.chunks.back(), text)) {
        extend(entry, text);
    }
    const auto it = std::upper_bound(entry.chunks.begin(), entry.chunks.end(), x,
                                     [](qreal v, const Chunk &k) { return v < k.x; });
    return std::max<size_t>(1, size_t(it - entry.chunks.begin())) - 1;
}

qreal TextPaneLayouts::widthOf(Row &entry, Chunk &chunk, const QString &text)
{
    if (chunk.width < 0) {
        // Measure without keeping the layout: pieces far off to the left are measured once and
        // then only their width is needed.
        std::unique_ptr<QTextLayout> measured;
        QTextLayout *layout = chunk.layout.get();
        if (!layout) {
            measured = makeLayout(entry, text, chunk);
            layout = measured.get();
        }
        // Right to left, the piece's start is its right edge.
        const QTextLine line = layout->lineAt(0);
        chunk.width = std::max(line.cursorToX(0), line.cursorToX(int(layout->text().size())));
    }
    return chunk.width;
}

QTextLayout &TextPaneLayouts::layoutOf(Row &entry, Chunk &chunk, const QString &text)
{
    if (!chunk.layout)
        chunk.layout = makeLayout(entry, text, chunk);
    return *chunk.layout;
}

std::unique_ptr<QTextLayout> TextPaneLayouts::makeLayout(const Row &entry, const QString &text,
                                                         const Chunk &chunk) const
{
    const bool whole = chunk.start == 0 && chunk.end == text.size();
    const QString piece = whole ? text : text.mid(chunk.start, chunk.end - chunk.start);
    auto layout = std::make_unique<QTextLayout>(piece, m_font, m_device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(entry.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTabStopDistance(m_interval);
    const qsizetype at = preeditIn(entry.index, text, chunk);
    if (piece.contains(u'\t')) {
        // A tab that would reach its stop within a hair of where the text ends looks like no tab
        // at all: it goes on to the next stop. The stops passed over so are left out of the
        // list, which affects no other tab: those before end short of them, those after start
        // beyond them.
        QList<qreal> skipped;
        qreal end = chunk.x;
        if (!entry.rightToLeft) {
            const QStringView before = QStringView(piece).left(at >= 0 ? at : piece.size());
            end = estimatedEnd(before, end, &skipped);
            if (at >= 0) {
                end = estimatedEnd(m_preedit.text, end, &skipped);
                end = estimatedEnd(QStringView(piece).mid(at), end, &skipped);
            }
        } else {
            end = estimatedEnd(piece, end);
        }
        option.setTabs(tabArray(chunk.x, end, skipped));
    }
    layout->setTextOption(option);
    if (at >= 0) {
        layout->setPreeditArea(int(at), m_preedit.text);
        QList<QTextLayout::FormatRange> formats = m_preedit.formats;
        for (QTextLayout::FormatRange &f : formats)
            f.start += int(at);
        layout->setFormats(formats);
    }
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setLineWidth(kLineWidth);
    line.setPosition(QPointF(0, 0));
    layout->endLayout();
    return layout;
}

// The stops a piece starting at x0 may reach, relative to x0: QTextLayout knows only stops it is
// given plus a fixed distance from its own start, not "the last interval again".
QList<QTextOption::Tab> TextPaneLayouts::tabArray(qreal x0, qreal x1,
                                                  const QList<qreal> &skipped) const
{
    // Estimates may fall short: a few stops more than the piece seems to need.
    const qreal limit = x1 + 4 * m_widestGap;
    const auto add = [&](QList<QTextOption::Tab> &out, qreal stop) {
        const bool skip = std::any_of(skipped.begin(), skipped.end(),
                                      [stop](qreal s) { return std::abs(s - stop) < 0.01; });
        if (!skip)
            out.append(QTextOption::Tab(stop - x0, QTextOption::LeftTab));
    };
    QList<QTextOption::Tab> out;
    for (qreal stop : m_stops) {
        if (stop > x0 && stop <= limit)
            add(out, stop);
    }
    const qreal base = m_stops.isEmpty() ? 0 : m_stops.last();
    qreal k = std::max(1.0, std::floor((x0 - base) / m_interval) + 1);
    for (qreal stop = base + k * m_interval; stop <= limit && out.size() < kMaxTabStops;
         stop = base + ++k * m_interval)
        add(out, stop);
    return out;
}

qreal TextPaneLayouts::estimatedEnd(QStringView text, qreal x, QList<qreal> *skippedStops) const
{
    const char16_t *data = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = data[i];
        if (c == u'\t') {
            x = nextTabStop(x, skippedStops);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(data[i + 1]))
            c = QChar::surrogateToUcs4(char16_t(c), data[++i]);
        x += advance(c);
    }
    return x;
}

float TextPaneLayouts::advance(char32_t c) const
{
    if (c < 0x10000) {
        float &w = m_advances[c];
        if (std::isnan(w))
            w = float(QFontMetricsF(m_font, m_device).horizontalAdvance(QChar(char16_t(c))));
        return w;
    }
    const auto it = m_wideAdvances.find(c);
    if (it != m_wideAdvances.end())
        return it->second;
    const char32_t one[] = {c};
    const float w =
        float(QFontMetricsF(m_font, m_device).horizontalAdvance(QString::fromUcs4(one, 1)));
    m_wideAdvances.emplace(c, w);
    return w;
}

qsizetype TextPaneLayouts::preeditIn(qsizetype row, const QString &text, const Chunk &chunk) const
{
    if (!m_preedit.isActive() || row != m_preedit.row)
        return -1;
    const qsizetype column = m_preedit.column;
    const bool inside = column >= chunk.start &&
                        (column < chunk.end || (column == chunk.end && chunk.end == text.size()));
    return inside ? column - chunk.start : -1;
}

int TextPaneLayouts::toLayout(qsizetype row, const QString &text, const Chunk &chunk,
                              qsizetype column) const
{
    // The character at the preedit's column follows the preedit.
    const qsizetype local = column - chunk.start;
    const qsizetype at = preeditIn(row, text, chunk);
    return int(at >= 0 && local >= at ? local + m_preedit.text.size() : local);
}

qsizetype TextPaneLayouts::fromLayout(qsizetype row, const QString &text, const Chunk &chunk,
                                      int pos) const
{
    const qsizetype at = preeditIn(row, text, chunk);
    qsizetype local = pos;
    if (at >= 0 && local >= at)
        local = std::max(at, local - m_preedit.text.size());
    return chunk.start + local;
}

// ---- widths ----

void TextPaneWidths::setup(const QFont &font, QPaintDevice *device, const TextPaneLayouts *layouts)
{
    m_layouts = layouts;
    const QFontMetricsF metrics(font, device);
    m_asciiAdvance = float(metrics.horizontalAdvance(u' '));
    for (char16_t c = 0x21; c < 0x7f; ++c) {
        if (metrics.horizontalAdvance(QChar(c)) != m_asciiAdvance) {
            m_asciiAdvance = 0;
            break;
        }
    }
    reset(qsizetype(m_widths.size()));
}

void TextPaneWidths::reset(qsizetype rowCount)
{
    m_widths.assign(size_t(rowCount), kUnknown);
    m_unknown.clear();
    m_scan = true;
    m_widestLost = false;
    m_widest = 0;
    m_widestRow = -1;
    m_widestCount = 0;
}

void TextPaneWidths::forget(qsizetype row)
{
    const float w = std::abs(m_widths[size_t(row)]);
    if (w == m_widest && --m_widestCount <= 0)
        m_widestLost = true; // unless a changed row is as wide, look again
}

void TextPaneWidths::rowsReplaced(qsizetype first, qsizetype removed, qsizetype inserted)
{
    if (first < 0 || first + removed > qsizetype(m_widths.size())) {
        m_widths.clear(); // out of step with the text: measured again from scratch
        return;
    }
    for (qsizetype r = first; r < first + removed; ++r)
        forget(r);
    const auto at = m_widths.begin() + first;
    if (removed > inserted)
        m_widths.erase(at + inserted, at + removed);
    else if (inserted > removed)
        m_widths.insert(at + removed, size_t(inserted - removed), kUnknown);
    std::fill(m_widths.begin() + first, m_widths.begin() + first + inserted, kUnknown);
    if (m_widestRow >= first + removed)
        m_widestRow += inserted - removed;
    else if (m_widestRow >= first)
        m_widestRow = -1;
    if (inserted > 64)
        m_scan = true;
    else if (!m_scan)
        for (qsizetype r = first; r < first + inserted; ++r)
            m_unknown.push_back(r);
}

void TextPaneWidths::take(qsizetype row, float width)
{
    m_widths[size_t(row)] = width;
    const float w = std::abs(width);
    if (w > m_widest || (m_widestLost && w == m_widest)) {
        m_widest = w;
        m_widestRow = row;
        m_widestCount = 1;
        m_widestLost = false;
    } else if (w == m_widest) {
        ++m_widestCount;
        if (m_widestRow < 0 || width < 0)
            m_widestRow = row; // an estimate first, to be made exact
    }
}

bool TextPaneWidths::setExact(qsizetype row, qreal width)
{
    if (row < 0 || size_t(row) >= m_widths.size())
        return false;
    const float w = float(width);
    const float old = m_widths[size_t(row)];
    if (std::isnan(old) || old == w)
        return false;
    forget(row);
    take(row, w);
    return true;
}

qreal TextPaneWidths::widest(const TextStore &store, TextPaneLayouts &layouts)
{
    if (qsizetype(m_widths.size()) != store.rowCount())
        reset(store.rowCount());
    for (int round = 0; round < 8; ++round) {
        if (!m_scan) {
            for (qsizetype r : m_unknown) {
                if (size_t(r) < m_widths.size() && std::isnan(m_widths[size_t(r)]))
                    take(r, measure(store.row(r)));
            }
            m_unknown.clear();
            m_scan = m_widestLost; // the widest went and no changed row took its place
        }
        if (m_scan) {
            m_scan = false;
            m_widestLost = false;
            m_unknown.clear();
            m_widest = 0;
            m_widestRow = -1;
            m_widestCount = 0;
            for (size_t r = 0; r < m_widths.size(); ++r) {
                float &w = m_widths[r];
                if (std::isnan(w))
                    w = measure(store.row(qsizetype(r)));
                take(qsizetype(r), w);
            }
        }
        if (m_widestRow < 0 || m_widths[size_t(m_widestRow)] >= 0)
            break;
        // The widest is only an estimate: lay that row out and look again.
        const qsizetype row = m_widestRow;
        forget(row);
        m_widths[size_t(row)] = float(layouts.rowWidth(row));
        if (!m_scan)
            take(row, m_widths[size_t(row)]);
    }
    return m_widest;
}

float TextPaneWidths::measure(const QString &row) const
{
    const char16_t *data = reinterpret_cast<const char16_t *>(row.constData());
    const qsizetype n = row.size();
    if (m_asciiAdvance > 0 && isPrintableAscii(data, n))
        return float(n) * m_asciiAdvance;
    return -float(m_layouts->estimatedEnd(row, 0));
}

} // namespace plintex
