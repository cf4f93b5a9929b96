#include "core/session.h"

namespace plintex {
namespace {

struct ProcessingScope {
    explicit ProcessingScope(bool &flag) : flag(flag) { flag = true; }
    ~ProcessingScope() { flag = false; }
    bool &flag;
};

} // namespace

RunResult Session::run(const FunctionSpec &function, const QStringList &lines, RunInput input,
                       RunMonitor &monitor)
{
    Q_ASSERT(function.isBuilt());
    undo.take(lines);
    input.lines = lines;
    ProcessingScope processing(flags.processing);
    return function.body.run(std::move(input), monitor);
}

} // namespace plintex
