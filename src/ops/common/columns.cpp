#include "ops/common/columns.h"

#include "ops/common/bytecolumns.h"

#include <algorithm>

namespace plintex::common {

qsizetype wholeCharacterEdge(QStringView row, qsizetype index)
{
    if (index > 0 && index < row.size() && row[index - 1].isHighSurrogate() &&
        row[index].isLowSurrogate())
        return index + 1;
    return index;
}

qsizetype columnIndex(QStringView row, qint64 column)
{
    const qsizetype at = column <= 1 ? 0 : qsizetype(std::min<qint64>(column - 1, row.size()));
    return wholeCharacterEdge(row, at);
}

QStringView columnBand(QStringView row, qint64 start, qint64 end)
{
    const qint64 first = std::max<qint64>(start, 1) - 1;
    if (end <= start || first >= row.size())
        return {};
    const qsizetype from = wholeCharacterEdge(row, qsizetype(first));
    const qsizetype to =
        wholeCharacterEdge(row, qsizetype(std::min<qint64>(first + (end - start), row.size())));
    return row.sliced(from, std::max(from, to) - from);
}

void insertAtColumn(QString &row, QStringView data, qint64 column)
{
    if (!data.isEmpty())
        row.insert(columnIndex(row, column), data);
}

void insertAtColumn(RowBytes row, QByteArrayView data, qint64 column, QByteArray &out)
{
    const qsizetype at = data.isEmpty() ? 0 : byteColumnIndex(row, column);
    appendBytes(out, {row.bytes.first(at), data, row.bytes.sliced(at)});
}

ByteTransform insertingAt(QStringView data, qint64 column)
{
    EncodedText encoded(data);
    // Data in ASCII has the same bytes in either encoding: a guess at the row's needs no verdict.
    const bool ascii = encoded.utf8 && encoded.utf8 == encoded.windows1252;
    return [encoded = std::move(encoded), ascii, column](RowBytes row, QByteArray &out) {
        const QByteArray *bytes = encoded.in(ascii ? row.encoding : settledEncoding(row));
        if (bytes)
            insertAtColumn(row, *bytes, column, out);
        return bytes != nullptr;
    };
}

} // namespace plintex::common
