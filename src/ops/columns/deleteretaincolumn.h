#pragma once

#include "core/catalogue.h"

namespace plintex::columns {

/// "Delete/Retain Column": cuts positions start to end - 1 out of every line of the band, or
/// keeps only them.
FunctionBody deleteRetainColumn();

/// Removes positions start to end - 1 (1-based); nothing when end <= start or start is 0.
void deleteColumns(QString &line, qint64 start, qint64 end);

/// Keeps positions start to end - 1 (1-based) and drops the rest of the line.
void retainColumns(QString &line, qint64 start, qint64 end);

/// The same edits on a row's bytes, the row's columns counted as its characters count them:
/// the edited row appended to `out`.
void deleteColumns(RowBytes line, qint64 start, qint64 end, QByteArray &out);
void retainColumns(RowBytes line, qint64 start, qint64 end, QByteArray &out);

} // namespace plintex::columns
