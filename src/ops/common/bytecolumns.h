#pragma once

#include "core/rowpass.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace plintex::common {

/// A row's bytes walked by its columns, which count UTF-16 units as the row's characters do: in
/// UTF-8 a character beyond U+FFFF is two columns, and an edge that would split it moves past
/// it (as wholeCharacterEdge does); in Windows-1252 a column is a byte. A row whose encoding is
/// a guess has it settled only when an edge lies beyond a byte that is not ASCII.
class ByteColumns {
public:
    explicit ByteColumns(RowBytes row)
        : m_row(row.bytes), m_utf8(row.encoding == RowEncoding::Utf8), m_guess(row)
    {
    }

    /// The byte where the character at UTF-16 index `index` begins, the row's end for an index
    /// at or past it. The indexes asked for must not decrease.
    qsizetype edge(qint64 index);
    /// Whether an index asked for fell between the halves of a character of two units, which
    /// its edge moved past.
    bool splitPair() const { return m_splitPair; }

private:
    QByteArrayView m_row;
    bool m_utf8;
    RowBytes m_guess;
    qsizetype m_byte = 0;
    qint64 m_unit = 0;
    bool m_splitPair = false;
};

/// The byte offset of 1-based `column`, as columnIndex gives it for the row's characters.
qsizetype byteColumnIndex(RowBytes row, qint64 column);

/// The bytes of the column band columnBand gives for the row's characters.
QByteArrayView byteColumnBand(RowBytes row, qint64 start, qint64 end);

/// A text of the pass's own, encoded as each row encoding holds it: nothing for Windows-1252
/// when it cannot hold every character, nor for UTF-8 when the text has a lone surrogate half.
struct EncodedText {
    explicit EncodedText(QStringView text);
    const QByteArray *in(RowEncoding encoding) const
    {
        const std::optional<QByteArray> &bytes = encoding == RowEncoding::Utf8 ? utf8 : windows1252;
        return bytes ? &*bytes : nullptr;
    }

    std::optional<QByteArray> utf8;
    std::optional<QByteArray> windows1252;
};

} // namespace plintex::common
