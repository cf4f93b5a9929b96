#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Append Data": a text appended, after a run of blanks, to every row of the band or only to
/// the rows holding a search text.
FunctionBody appendData();

/// "Replace Line per Data": every row of the band holding a search text becomes a fixed line.
FunctionBody replaceLinePerData();

/// The most blanks a separator holds: enough for any layout, few enough that a separator on
/// every row of a large text cannot exhaust memory.
constexpr qint64 kMaxSeparator = 10000;

} // namespace plintex::lines
