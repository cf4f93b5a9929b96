#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Replace Data with Data List": the first row holding the search text takes the list's first
/// entry in place of it, the next such row the second entry, and so on, top down.
FunctionBody replaceDataWithDataList();

/// The function's pass, refusing a run whose replacements would need more than `budget` bytes
/// beyond the text as it was.
PassPlan replaceWithListPlan(const PassStart &start, qint64 budget);

} // namespace plintex::lines
