#pragma once

#include "core/catalogue.h"

namespace plintex::columns {

/// "Insert a Column": a block of lines inserted as a column, its line i into line i of the text.
FunctionBody insertColumn();

/// Every block line padded with blanks to the longest, so the text right of it stays aligned.
QStringList symmetrical(QStringList block);

} // namespace plintex::columns
