#pragma once

#include "core/catalogue.h"

namespace plintex::restructure {

/// "Insert CR": every line wider than the caret's column broken into lines of at most that
/// width.
FunctionBody insertCr();

} // namespace plintex::restructure
