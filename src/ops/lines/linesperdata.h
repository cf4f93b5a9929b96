#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Insert Lines Per Data": a block of rows before or after every row holding a search text.
FunctionBody insertLinesPerData();

/// "Delete Lines Per Data": deletes, or keeps only, the rows holding a search text, or the
/// rows just before or just after them.
FunctionBody deleteLinesPerData();

} // namespace plintex::lines
