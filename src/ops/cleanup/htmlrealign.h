#pragma once

#include "core/catalogue.h"

namespace plintex::cleanup {

/// "Html Realign": overlays each staircase of indented lines (a table row pasted from a web
/// page, one cell a line) into one row, and appends those rows below the text.
FunctionBody htmlRealign();

} // namespace plintex::cleanup
