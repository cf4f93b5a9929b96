#pragma once

#include "core/catalogue.h"

#include <string>

namespace plintex::columns {

/// "Total a Specified Column": adds up the numbers in a band of columns over the row band and
/// shows the total; the text is only read.
FunctionBody totalColumn();

/// The band text reduced to a number's characters: the first "<" with the first ">", and the
/// first "(" with the first ")", mark a negative amount; then only "-", "." and digits stay.
std::string cleanNumber(QStringView band);
void cleanNumberInto(QStringView band, std::string &cleaned);
/// The same on a band's bytes in UTF-8 or Windows-1252, whose bytes of characters beyond ASCII
/// are none of those characters.
void cleanNumberInto(QByteArrayView band, std::string &cleaned);

} // namespace plintex::columns
