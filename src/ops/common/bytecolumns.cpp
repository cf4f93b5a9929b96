#include "ops/common/bytecolumns.h"

#include "core/windows1252.h"

#include <QtEndian>

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plintex::common {

namespace {

/// How many of the bytes at `bytes` (of which `size` may be read) are ASCII before the first
/// that is not, counting up to `want`.
qsizetype asciiRun(const unsigned char *bytes, qsizetype size, qsizetype want)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    for (; i < want && i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
        if (const int high = _mm_movemask_epi8(block))
            return std::min(i + std::countr_zero(unsigned(high)), want);
    }
#endif
    for (; i < want && i + 8 <= size; i += 8) {
        if (const quint64 high = qFromLittleEndian<quint64>(bytes + i) & 0x8080808080808080ULL)
            return std::min(i + std::countr_zero(high) / 8, want);
    }
    while (i < want && i < size && bytes[i] < 0x80)
        ++i;
    return std::min(i, want);
}

} // namespace

qsizetype ByteColumns::edge(qint64 index)
{
    const qsizetype n = m_row.size();
    const auto *bytes = reinterpret_cast<const unsigned char *>(m_row.data());
    while (m_utf8 && m_unit < index && m_byte < n) {
        // A run of ASCII bytes is a run of columns.
        const qsizetype ascii =
            asciiRun(bytes + m_byte, n - m_byte, qsizetype(std::min<qint64>(index - m_unit, n)));
        m_byte += ascii;
        m_unit += ascii;
        if (m_unit >= index || m_byte >= n)
            break;
        if (m_guess.guess && settledEncoding(m_guess) != RowEncoding::Utf8) {
            m_utf8 = false; // the bytes walked so far are ASCII: each was a column either way
            break;
        }
        // The row is valid UTF-8: a lead byte tells its sequence's length.
        const unsigned char lead = bytes[m_byte];
        const int length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        m_byte += length;
        m_unit += length == 4 ? 2 : 1; // past the pair when `index` falls between its halves
    }
    m_splitPair = m_splitPair || (m_utf8 && m_unit > index);
    if (!m_utf8)
        m_byte = std::max(m_byte, qsizetype(std::clamp<qint64>(index, 0, n)));
    m_byte = std::min(m_byte, n);
    return m_byte;
}

qsizetype byteColumnIndex(RowBytes row, qint64 column)
{
    return column <= 1 ? 0 : ByteColumns(row).edge(column - 1);
}

QByteArrayView byteColumnBand(RowBytes row, qint64 start, qint64 end)
{
    if (end <= start)
        return {};
    const qint64 first = std::max<qint64>(start, 1) - 1;
    ByteColumns columns(row);
    const qsizetype from = columns.edge(first);
    return row.bytes.sliced(from, columns.edge(first + (end - start)) - from);
}

EncodedText::EncodedText(QStringView text)
{
    if (text.isValidUtf16())
        utf8 = text.toUtf8();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = windows1252::fromUnicode(text[i].unicode());
        if (b < 0)
            return;
        bytes[i] = char(b);
    }
    windows1252 = std::move(bytes);
}

} // namespace plintex::common
