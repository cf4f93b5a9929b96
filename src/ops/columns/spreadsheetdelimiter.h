#pragma once

#include "core/catalogue.h"

namespace plintex::columns {

/// "Insert Spread Sheet Delimiter": a column divider inserted at a column of every line.
FunctionBody spreadSheetDelimiter();

} // namespace plintex::columns
