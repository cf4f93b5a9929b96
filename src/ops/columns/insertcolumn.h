#pragma once

#include "core/catalogue.h"

namespace plintex::columns {

/// "Insert a Column": a block of lines inserted as a column, its line i into line i of the text.
FunctionBody insertColumn();

} // namespace plintex::columns
