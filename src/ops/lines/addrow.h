#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Add Row": a block of text inserted after every N-th row of the text, where both rows
/// around the insertion point lie in the row band.
FunctionBody addRow();

/// The rows a block of a multi-line field adds: every line of it, a final line break adding
/// one empty row, an empty field adding one empty row.
QStringList blockRows(const QString &block);

} // namespace plintex::lines
