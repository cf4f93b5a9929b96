#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Delete Row": deletes row S and every N-th row after it, as numbered before the run; the
/// row band sets how many rows at most (To - From + 1).
FunctionBody deleteRow();

} // namespace plintex::lines
