#pragma once

#include "core/catalogue.h"
#include "ops/lines/matcher.h"

#include <optional>

namespace plintex::lines {

/// "Delete/Retain Line Data": cuts each row of the band before or after the first occurrence of
/// a search text, shifted by a signed offset, keeping one side.
FunctionBody deleteRetainLineData();

/// "Insert Data Per Data": inserts a text before or after the first occurrence of a search text
/// in each row of the band, shifted by a signed offset.
FunctionBody insertDataPerData();

/// The offset field's value: an optional minus sign and digits; an empty field reads 0. Values
/// beyond any row's length are held at a bound far past it.
std::optional<qint64> parseOffset(QStringView text);

enum class Side { Before, After };

/// Cuts the row at the search text's first occurrence moved by `offset`; `retain` keeps the part
/// on `side` of the cut instead of removing it. Returns false when the text does not occur.
bool cutAtData(QString &row, const Finder &search, Side side, bool retain, qint64 offset);

/// Inserts `data` before or after the search text's first occurrence, moved by `offset` and
/// held within the row. Returns false when the text does not occur.
bool insertAtData(QString &row, QStringView data, const Finder &search, Side side, qint64 offset);

} // namespace plintex::lines
