#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Shuffle Data": interleaves the rows from row 1 on with the rows from a lower row K on.
FunctionBody shuffleData();

} // namespace plintex::lines
