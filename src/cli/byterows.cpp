#include "cli/byterows.h"

#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace plintex::cli {

ByteRows::ByteRows(QByteArrayView bytes)
{
    const bool evenLength = bytes.size() % 2 == 0;
    const bool utf16Mark = evenLength && (bytes.startsWith(QByteArrayView("\xFF\xFE", 2)) ||
                                          bytes.startsWith(QByteArrayView("\xFE\xFF", 2)));
    m_body = bytes;
    bool ascii = false;
    const bool lfOnly = !utf16Mark && cutAtLineFeeds(&ascii);
    // The cut has seen every byte: a text of plain ASCII is UTF-8 without a second look.
    m_format = ascii ? detectFormatFromStart(bytes, true, evenLength) : detectFormat(bytes);
    const QByteArrayView bom = byteOrderMark(m_format.encoding);
    if (lfOnly && bom.isEmpty()) {
        m_starts.push_back(m_body.size());
        return;
    }
    m_body = bytes.sliced(bom.size());
    m_starts.clear();
    if (lfOnly) { // after a UTF-8 byte-order mark
        cutAtLineFeeds(nullptr);
        m_starts.push_back(m_body.size());
        return;
    }
    const bool utf16 = isUtf16(m_format.encoding);
    // The breaks are kept one by one only when they differ, as decoding the rows keeps them.
    QList<LineEnd> &ends = m_format.mixedEnds;
    ends.clear();
    std::optional<LineEnd> first;
    qsizetype breaks = 0;
    for (qsizetype at = 0; at < m_body.size();) {
        const LineSpan line =
            utf16 ? lineAt(m_body, at, m_format.encoding) : lineAt(m_body, at, true);
        m_starts.push_back(at);
        m_breaks.push_back(quint8(line.next - line.end));
        if (line.end < line.next) {
            const LineEnd end =
                lineEndOf(m_body.sliced(line.end, line.next - line.end), m_format.encoding);
            if (!first)
                first = end;
            if (ends.isEmpty() && end != *first)
                ends.fill(*first, breaks);
            if (!ends.isEmpty() || end != *first)
                ends.append(end);
        }
        breaks += line.end < line.next;
        at = line.next;
    }
    m_starts.push_back(m_body.size());
}

bool ByteRows::cutAtLineFeeds(bool *ascii)
{
    // A row is some sixty bytes: looking for its end sixteen bytes at a time beats a call to
    // memchr for each, and sees a CR on the way.
    const char *p = m_body.data();
    const qsizetype n = m_body.size();
    m_starts.reserve(size_t(n / 32 + 2));
    qsizetype begin = 0;
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    __m128i all = _mm_setzero_si128();
    for (; i + 64 <= n; i += 64) {
        quint64 lfs = 0;
        __m128i crs = _mm_setzero_si128();
        for (int k = 0; k < 4; ++k) {
            const __m128i block =
                _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 16 * k));
            lfs |= quint64(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)))) << (16 * k);
            crs = _mm_or_si128(crs, _mm_cmpeq_epi8(block, cr));
            all = _mm_or_si128(all, block);
        }
        if (_mm_movemask_epi8(crs))
            return false;
        for (; lfs; lfs &= lfs - 1) {
            m_starts.push_back(begin);
            begin = i + std::countr_zero(lfs) + 1;
        }
    }
    bool high = _mm_movemask_epi8(all) != 0;
#else
    bool high = false;
#endif
    for (; i < n; ++i) {
        high = high || (p[i] & 0x80);
        if (p[i] == '\r')
            return false;
        if (p[i] == '\n') {
            m_starts.push_back(begin);
            begin = i + 1;
        }
    }
    if (begin < n)
        m_starts.push_back(begin);
    if (ascii)
        *ascii = !high;
    return true;
}

QByteArrayView ByteRows::line(qsizetype row) const
{
    const qsizetype begin = m_starts[row];
    const qsizetype next = m_starts[row + 1];
    if (!m_breaks.empty())
        return m_body.sliced(begin, next - begin - m_breaks[row]);
    // Every break is an LF; the last line may have none.
    return m_body.sliced(begin, next - begin - (m_body[next - 1] == '\n'));
}

RowSource ByteRows::source() const
{
    return {count(), [this](qsizetype row, QString &buffer) {
                decodeLineInto(buffer, line(row), m_format.encoding);
                return QStringView(buffer);
            }};
}

bool ByteRows::write(const std::vector<qsizetype> &order,
                     const std::function<bool(QByteArrayView)> &write) const
{
    constexpr qsizetype kPiece = 1 << 20;
    const QByteArrayView eol = lineEndBytes(m_format.lineEnd, m_format.encoding);
    const QList<LineEnd> &ends = m_format.mixedEnds;
    QByteArray piece(kPiece, Qt::Uninitialized);
    qsizetype used = 0;
    const auto put = [&](QByteArrayView bytes) {
        if (bytes.isEmpty()) // an empty view may hold no address at all, which memcpy refuses
            return true;
        if (used + bytes.size() > kPiece) {
            if (!write(QByteArrayView(piece).first(used)))
                return false;
            used = 0;
            if (bytes.size() > kPiece)
                return write(bytes);
        }
        std::memcpy(piece.data() + used, bytes.data(), size_t(bytes.size()));
        used += bytes.size();
        return true;
    };
    if (!put(byteOrderMark(m_format.encoding)))
        return false;
    for (size_t j = 0; j < order.size(); ++j) {
        if (!put(line(order[j])) ||
            !put(qsizetype(j) < ends.size() ? lineEndBytes(ends[j], m_format.encoding) : eol))
            return false;
    }
    return write(QByteArrayView(piece).first(used));
}

} // namespace plintex::cli
