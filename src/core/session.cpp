#include "core/session.h"

namespace plintex {
namespace {

struct ProcessingScope {
    explicit ProcessingScope(bool &flag) : flag(flag) { flag = true; }
    ~ProcessingScope() { flag = false; }
    bool &flag;
};

} // namespace

RunResult Session::run(const FunctionEntry &function, RunInput input, RunMonitor &monitor)
{
    Q_ASSERT(function.isBuilt());
    QStringList before = input.lines; // shares the rows until the routine changes them
    ProcessingScope processing(flags.processing);
    RunResult result = function.body.run(std::move(input), monitor);
    if (result.undoTaken)
        undo.take(std::move(before));
    return result;
}

} // namespace plintex
