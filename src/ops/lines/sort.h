#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Sort Ascending/Descending": sorts the rows of the whole text by their text from a start
/// column on, or reverses their order from that column on.
FunctionBody sortAscendingDescending();

} // namespace plintex::lines
