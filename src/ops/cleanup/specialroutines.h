#pragma once

#include "core/catalogue.h"

namespace plintex::cleanup {

/// "Special Routines": nine whole-text routines, one run button each: letter case, word or
/// sentence capitals, deleting letters, digits, special characters or HTML tags, collapsing
/// blank runs, and counting characters and blanks into the status bar.
FunctionBody specialRoutines();

} // namespace plintex::cleanup
