#pragma once

#include "core/catalogue.h"

namespace plintex::restructure {

/// "Vertical Concatenation": line 1 joined with the lower row R, line 2 with row R + 1, and so
/// on, and a marker line where the lower block begins.
FunctionBody verticalConcatenation();

/// "Horizontal Concatenation": every group of N consecutive lines joined into one.
FunctionBody horizontalConcatenation();

} // namespace plintex::restructure
