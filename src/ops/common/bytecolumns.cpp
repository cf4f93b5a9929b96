#include "ops/common/bytecolumns.h"

#include "core/windows1252.h"

#include <algorithm>

namespace plintex::common {

qsizetype ByteColumns::edge(qint64 index)
{
    const qsizetype n = m_row.size();
    if (!m_utf8) {
        m_byte = std::max(m_byte, qsizetype(std::clamp<qint64>(index, 0, n)));
        return m_byte;
    }
    const auto *bytes = reinterpret_cast<const unsigned char *>(m_row.data());
    while (m_unit < index && m_byte < n) {
        if (index - m_unit >= 8 && n - m_byte >= 8) {
            quint64 block;
            std::memcpy(&block, bytes + m_byte, sizeof block);
            if ((block & 0x8080808080808080ULL) == 0) {
                m_byte += 8;
                m_unit += 8;
                continue;
            }
        }
        // The row is valid UTF-8: a lead byte tells its sequence's length.
        const unsigned char lead = bytes[m_byte];
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        m_byte += length;
        m_unit += length == 4 ? 2 : 1; // past the pair when `index` falls between its halves
    }
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
