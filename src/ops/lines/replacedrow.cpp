#include "ops/lines/replacedrow.h"

namespace plintex::lines {
namespace {

/// Whether a cut at `at` would part a surrogate pair.
bool cutsPair(QStringView text, qsizetype at)
{
    return at > 0 && at < text.size() && text[at - 1].isHighSurrogate() &&
           text[at].isLowSurrogate();
}

} // namespace

ReplacedRow::ReplacedRow(Finder search) : m_search(std::move(search)) {}

bool ReplacedRow::start(const QString &row)
{
    m_windows.clear();
    m_occurrences = 0;
    if (m_search.isEmpty())
        return false;
    QList<qsizetype> matches = find(row, 0, row.size() - 1);
    if (matches.isEmpty())
        return false;
    m_original = row;
    m_pieces.assign(1, Piece{}); // the ring's start, linked to itself
    m_free.clear();
    m_livePieces = 0;
    const qsizetype whole = newPiece(m_original.constData(), m_original.size());
    linkAfter(0, whole);
    m_length = row.size();
    m_occurrences = matches.size();
    m_windows.push_back({whole, whole, row.size(), std::move(matches)});
    return true;
}

qint64 ReplacedRow::lengthAfter(QStringView entry) const
{
    return m_length + m_occurrences * (entry.size() - m_search.size());
}

qint64 ReplacedRow::bytesAfter(QStringView entry) const
{
    // Each occurrence leaves at most a piece before it and the entry's piece; each window may
    // split two pieces at its ends.
    const qint64 pieces = m_livePieces + 2 * m_occurrences + 2 * qint64(m_windows.size()) + 2;
    return lengthAfter(entry) * qint64(sizeof(QChar)) + pieces * qint64(sizeof(Piece));
}

bool ReplacedRow::replace(const QString &entry)
{
    if (entry == m_search.text())
        return true; // the row stays as it is, and so do its occurrences
    const qint64 length = lengthAfter(entry);
    std::vector<qsizetype> copies;
    copies.reserve(size_t(m_occurrences));
    for (const Window &window : m_windows)
        rebuild(window, entry, copies);
    m_length = length;
    findAround(copies);
    return m_occurrences > 0;
}

QString ReplacedRow::text() const
{
    QString out;
    out.reserve(m_length);
    for (qsizetype p = m_pieces[0].next; p != 0; p = m_pieces[p].next)
        out.append(m_pieces[p].data, m_pieces[p].size);
    return out;
}

qsizetype ReplacedRow::newPiece(const QChar *data, qsizetype size)
{
    ++m_livePieces;
    if (!m_free.empty()) {
        const qsizetype piece = m_free.back();
        m_free.pop_back();
        m_pieces[piece] = {data, size, 0, 0};
        return piece;
    }
    m_pieces.push_back({data, size, 0, 0});
    return qsizetype(m_pieces.size()) - 1;
}

void ReplacedRow::freePiece(qsizetype piece)
{
    --m_livePieces;
    m_free.push_back(piece);
}

void ReplacedRow::linkAfter(qsizetype at, qsizetype piece)
{
    const qsizetype next = m_pieces[at].next;
    m_pieces[piece].prev = at;
    m_pieces[piece].next = next;
    m_pieces[at].next = piece;
    m_pieces[next].prev = piece;
}

qsizetype ReplacedRow::splitTail(qsizetype piece, qsizetype tail)
{
    const qsizetype kept = m_pieces[piece].size - tail;
    const qsizetype rest = newPiece(m_pieces[piece].data + kept, tail);
    m_pieces[piece].size = kept;
    linkAfter(piece, rest);
    return rest;
}

QList<qsizetype> ReplacedRow::find(QStringView text, qsizetype lowest, qsizetype highest) const
{
    QList<qsizetype> found;
    const qsizetype n = m_search.size();
    for (qsizetype from = lowest; from <= highest;) {
        const qsizetype at = m_search.in(text, from);
        if (at < 0 || at > highest)
            break;
        if (cutsPair(text, at) || cutsPair(text, at + n)) {
            from = at + 1;
            continue;
        }
        found.append(at);
        from = at + n;
    }
    return found;
}

void ReplacedRow::rebuild(const Window &window, const QString &entry,
                          std::vector<qsizetype> &copies)
{
    std::vector<qsizetype> old;
    for (qsizetype p = window.first;; p = m_pieces[p].next) {
        old.push_back(p);
        if (p == window.last)
            break;
    }
    const qsizetype after = m_pieces[window.last].next;
    // The new pieces go in before the old ones, which are read through `old` and then dropped.
    qsizetype at = m_pieces[window.first].prev;
    size_t oldIndex = 0;
    qsizetype offset = 0;   // in old[oldIndex]
    qsizetype position = 0; // in the window
    const auto take = [&](qsizetype end, bool keep) {
        while (position < end) {
            const Piece piece = m_pieces[old[oldIndex]];
            const qsizetype count = std::min(piece.size - offset, end - position);
            if (keep && count > 0) {
                const qsizetype part = newPiece(piece.data + offset, count);
                linkAfter(at, part);
                at = part;
            }
            offset += count;
            position += count;
            if (offset == piece.size) {
                ++oldIndex;
                offset = 0;
            }
        }
    };
    for (const qsizetype match : window.matches) {
        take(match, true);
        const qsizetype copy = newPiece(entry.constData(), entry.size());
        linkAfter(at, copy);
        at = copy;
        copies.push_back(copy);
        take(match + m_search.size(), false);
    }
    take(window.length, true);
    m_pieces[at].next = after;
    m_pieces[after].prev = at;
    for (const qsizetype p : old)
        freePiece(p);
}

void ReplacedRow::findAround(const std::vector<qsizetype> &copies)
{
    m_windows.clear();
    m_occurrences = 0;
    // An occurrence that was not there before touches an entry's piece (or, for an empty entry,
    // spans the place it left): the text between the old occurrences held none. So each window
    // reaches the search text's length beyond the pieces of the entry, one character more than
    // an occurrence can, for the surrogate test at its ends; windows that would overlap are one.
    const qsizetype n = m_search.size();
    for (size_t j = 0; j < copies.size();) {
        qsizetype first = copies[j];
        qsizetype before = 0;
        for (qsizetype p = m_pieces[first].prev; p != 0 && before < n; p = m_pieces[first].prev) {
            const qsizetype size = m_pieces[p].size;
            first = size > n - before ? splitTail(p, n - before) : p;
            before += std::min(size, n - before);
        }
        qsizetype last = copies[j++];
        while (j < copies.size()) {
            qsizetype gap = 0;
            qsizetype p = m_pieces[last].next;
            while (p != copies[j] && gap < 2 * n) {
                gap += m_pieces[p].size;
                p = m_pieces[p].next;
            }
            if (p != copies[j] || gap >= 2 * n)
                break;
            last = copies[j++];
        }
        qsizetype after = 0;
        for (qsizetype p = m_pieces[last].next; p != 0 && after < n; p = m_pieces[last].next) {
            const qsizetype size = m_pieces[p].size;
            if (size > n - after)
                splitTail(p, size - (n - after));
            after += std::min(size, n - after);
            last = p;
        }
        m_buffer.resize(0);
        for (qsizetype p = first;; p = m_pieces[p].next) {
            m_buffer.append(m_pieces[p].data, m_pieces[p].size);
            if (p == last)
                break;
        }
        const qsizetype length = m_buffer.size();
        QList<qsizetype> matches =
            find(m_buffer, std::max<qsizetype>(before - n + 1, 0), length - after - 1);
        if (!matches.isEmpty()) {
            m_occurrences += matches.size();
            m_windows.push_back({first, last, length, std::move(matches)});
        }
    }
}

} // namespace plintex::lines
