#pragma once

#include "core/catalogue.h"

namespace plintex::columns {

/// "Insert Into Column": one text inserted into every line of the band at a column.
FunctionBody insertIntoColumn();

} // namespace plintex::columns
