#pragma once

#include "core/catalogue.h"

namespace plintex::columns {

/// "Insert Into Column": one text inserted into every line of the band at a column.
FunctionBody insertIntoColumn();

/// Inserts `data` so that it starts at 1-based `column`; a column of 0 counts as 1, and a
/// column past the end of the line appends without padding.
void insertAtColumn(QString &line, QStringView data, qint64 column);

} // namespace plintex::columns
