#pragma once

#include "core/catalogue.h"

namespace plintex::columns {

/// "Copy/Move a Column": columns start to end - 1 of every line copied to another column of
/// the same line.
FunctionBody copyColumn();

/// The band start to end - 1 (1-based) of the line as it was, inserted before column `to`;
/// a line shorter than start gets nothing, one shorter than to - 1 gets the band at its end.
void copyBand(QString &line, qint64 start, qint64 end, qint64 to);
/// The same on a row's bytes, its columns counted as its characters count them: the row
/// appended to `out`.
void copyBand(RowBytes line, qint64 start, qint64 end, qint64 to, QByteArray &out);

} // namespace plintex::columns
