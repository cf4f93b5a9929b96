#pragma once

#include "core/catalogue.h"

namespace plintex::columns {

/// "Delete/Strip Out Data": every stretch from a start text to an end text, both included,
/// removed from the text, across line breaks; letter case is ignored.
FunctionBody stripOut();

} // namespace plintex::columns
