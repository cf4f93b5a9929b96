#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Mark Duplicate Lines": puts a group number and "-->" before every row whose trimmed text
/// occurs more than once, or takes such markers off again.
FunctionBody markDuplicateLines();

} // namespace plintex::lines
