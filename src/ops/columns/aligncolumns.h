#pragma once

#include "core/catalogue.h"

namespace plintex::columns {

/// "Align Data into Columns": every line split into fields at blanks, every field padded to the
/// widest field of the text, the fields joined with one blank, left or right justified.
FunctionBody alignColumns();

} // namespace plintex::columns
