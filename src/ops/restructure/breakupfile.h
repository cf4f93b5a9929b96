#pragma once

#include "core/catalogue.h"

namespace plintex::restructure {

/// "Break Up File": a file copied to another with CR LF after every L bytes, streamed in fixed
/// blocks whatever L and the file's size.
FunctionBody breakUpFile();

} // namespace plintex::restructure
