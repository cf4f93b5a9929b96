#pragma once

#include "core/catalogue.h"
#include "ops/lines/matcher.h"

namespace plintex::columns {

/// "Replace in Column": a search text replaced by another only inside columns start to end - 1
/// of every line.
FunctionBody replaceInColumn();

/// Replaces `search` inside the band start to end - 1 (1-based) of the line; false when the
/// band does not hold it. A pass replaces each occurrence left to right; passes are repeated on
/// their own results only while each shortens the band (two blanks to one collapses a run),
/// which always ends; otherwise one pass is made. The time is linear in the line for a search
/// text of bounded length, however many passes there are.
bool replaceInBand(QString &line, const lines::Finder &search, QStringView replacement,
                   qint64 start, qint64 end);

} // namespace plintex::columns
