#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Mark Duplicate Lines": puts a group number and "-->" before every row whose trimmed text
/// occurs more than once, or takes such markers off again.
FunctionBody markDuplicateLines();

/// Reduces every run of two or more blanks (code 32) in `row` to one; false when there was none.
bool reduceBlankRuns(QString &row);

} // namespace plintex::lines
