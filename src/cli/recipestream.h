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

/// Whether the steps can run as one pass over a stream: each is a row pass that reads the text
/// once. (One that measures the text first needs it whole.)
bool chainable(const QList<ChainStep> &steps);

/// The steps' passes as one: each row a step puts out goes on to the next step at once, and a
/// row no step rewrote goes out as it came. A step whose band needs the length of the text
/// before it holds only the rows that settle it. A refusal names the step's line through
/// `where`. The pass the streamed run is given its start for is the first step's.
RowPassFactory chainedPasses(QList<ChainStep> steps, std::function<QString(int line)> where);

} // namespace plintex::cli
