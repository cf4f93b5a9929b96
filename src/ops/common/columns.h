#pragma once

#include "core/rowpass.h"

#include <QString>

namespace plintex::common {

/// Where 1-based `column` begins in the row, as an index: 0 for columns 0 and 1, the row's end
/// for a column past it. An edge that would fall between the two halves of a surrogate pair (a
/// character beyond U+FFFF) moves past the pair, so that no edit ever splits a character.
qsizetype columnIndex(QStringView row, qint64 column);

/// `index` moved past the low half of a surrogate pair when it falls between the halves.
qsizetype wholeCharacterEdge(QStringView row, qsizetype index);

/// The column band of a row: from column `start` (column 1 when 0), `end` - `start` characters,
/// that is up to, not including, column `end`; cut to the row, and empty when the row is shorter
/// than `start` or `end` is not past `start`.
QStringView columnBand(QStringView row, qint64 start, qint64 end);

/// Inserts `data` so that it starts at column `column`: in front for columns 0 and 1,
/// appended without padding when the row is shorter.
void insertAtColumn(QString &row, QStringView data, qint64 column);
/// The same on a row's bytes, `data` in the row's encoding: the row appended to `out`.
void insertAtColumn(RowBytes row, QByteArrayView data, qint64 column, QByteArray &out);
/// Inserting `data` at `column` into a row's bytes; a row whose encoding cannot hold it is
/// declined, for its characters to take it.
ByteTransform insertingAt(QStringView data, qint64 column);

} // namespace plintex::common
