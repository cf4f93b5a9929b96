#pragma once

#include "core/run.h"

#include <functional>
#include <optional>
#include <vector>

namespace plintex {

/// The rows of a text as a function that only reorders them reads them: how many there are,
/// and any one's text on demand. `text` may be called from several threads at once, each with
/// a buffer of its own into which the row is decoded when it has to be; the view it gives stays
/// valid until that buffer changes.
struct RowSource {
    qsizetype count = 0;
    std::function<QStringView(qsizetype row, QString &buffer)> text = {};
};

/// What a reordering run leaves: the result as a run routine gives it, without lines, and when
/// it is done the rows of the new text, as indexes into the old one, in their new order.
struct RowOrder {
    RunResult result = {};
    std::vector<qsizetype> rows = {};
};

/// A run that puts the rows in another order (leaving some out) without changing any: the
/// command line then writes each row's own bytes in the new order and decodes only the rows the
/// function reads. Nothing when this run, with these values, is not such a reordering: the
/// function's run routine does it then.
using RowOrderRoutine =
    std::function<std::optional<RowOrder>(const ParamValues &params, const QString &runButton,
                                          const RowSource &rows, RunMonitor &monitor)>;

} // namespace plintex
