#pragma once

#include "cli/streamrun.h"
#include "core/rowpass.h"

#include <QList>

#include <functional>

namespace plintex::cli {

/// One step of a recipe run as a row pass: its function's pass, what it was asked for, and the
/// recipe line that asked.
struct ChainStep {
    RowPassFactory factory;
    StreamRequest request;
    int line = 0;
};

/// Whether the steps can run as one pass over a stream: each is a row pass.
bool chainable(const QList<ChainStep> &steps);

/// Whether the step only reads the text (a total): its results are printed instead of the text.
bool onlyReads(const ChainStep &step);

/// Whether the step's pass reads the text twice, to measure it first: a chain can hold such a
/// step only as its first.
bool measuresFirst(const ChainStep &step);

/// The steps' passes as one: each row a step puts out goes on to the next step at once, and a
/// row no step rewrote goes out as it came. A step whose band needs the length of the text
/// before it holds only the rows that settle it. A refusal names the step's line through
/// `where`. The pass the streamed run is given its start for is the first step's. `writeText`
/// false puts out no text, only the steps' results.
RowPassFactory chainedPasses(QList<ChainStep> steps, std::function<QString(int line)> where,
                             bool writeText);

} // namespace plintex::cli
