#pragma once

#include "core/catalogue.h"

namespace plintex::restructure {

/// "Replace Byte in File": a file copied to another with every byte of one value replaced by
/// another, streamed in fixed blocks.
FunctionBody replaceByteInFile();

} // namespace plintex::restructure
