#pragma once

#include "core/catalogue.h"
#include "core/workarea.h"

namespace plintex {

/// The state a run shares with the work area for the life of the main window, and the steps
/// every run takes around its function's own routine.
class Session {
public:
    WorkAreaFlags flags;
    StopLatch stop;
    UndoSnapshot undo;
    CaretRecord caret;

    /// Runs a function on the work area's lines: sets the processing flag for the routine's
    /// duration (cleared on every way out), puts the lines as the run found them into the undo
    /// snapshot when the routine says it took one, and returns the result for the window to
    /// apply.
    RunResult run(const FunctionEntry &function, RunInput input, RunMonitor &monitor);
};

} // namespace plintex
