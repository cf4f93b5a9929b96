#pragma once

#include "core/catalogue.h"

namespace plintex::columns {

/// "Replace in Column": a search text replaced by another only inside columns start to end - 1
/// of every line.
FunctionBody replaceInColumn();

/// Replaces `search` inside the band start to end - 1 (1-based) of the line; false when the
/// band does not hold it. The replacement is repeated on its own results only while each pass
/// shortens the band (two blanks to one collapses a run), which always ends; otherwise one
/// pass is made.
bool replaceInBand(QString &line, QStringView search, QStringView replacement, qint64 start,
                   qint64 end);

} // namespace plintex::columns
