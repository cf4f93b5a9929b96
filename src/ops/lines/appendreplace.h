#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Append Data": a text appended, after a run of blanks, to every row of the band or only to
/// the rows holding a search text.
FunctionBody appendData();

/// "Replace Line per Data": every row of the band holding a search text becomes a fixed line.
FunctionBody replaceLinePerData();

} // namespace plintex::lines
