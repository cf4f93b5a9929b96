#pragma once

#include "core/roworder.h"

#include <optional>
#include <vector>

namespace plintex::lines {

/// The rows of `rows` that are not blank (nothing but characters of code 32 and below), in
/// ascending order of their text from 1-based `column` on (column 0 counting as 1), under the
/// user's collation with letter case ignored (common::rowCollator). Rows with equal keys are
/// ordered by their whole text, and rows equal in that too keep their order in the text, so
/// the order is the same on every run. Spread over every core; the gauge goes up to four times
/// the row count. Nothing when a stop ended it.
std::optional<std::vector<qsizetype>> sortedRows(const RowSource &rows, qint64 column,
                                                 RunMonitor &monitor);

} // namespace plintex::lines
