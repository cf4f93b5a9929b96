#pragma once

#include "core/catalogue.h"

namespace plintex {

/// The catalogue with every built function's body bound to its entry.
const Catalogue &catalogue();

} // namespace plintex
