#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Remove Blank Lines": deletes every blank row of the text.
FunctionBody removeBlankLines();

/// "Delete Leading/Trailing Blanks": strips the characters of code 32 and below from the start
/// or the end of every row of the band.
FunctionBody deleteLeadingTrailingBlanks();

/// Empty, or nothing but blanks (code 32) and NULs; a tab makes a row not blank.
bool isBlankRow(QStringView row);

} // namespace plintex::lines
