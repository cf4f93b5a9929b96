#pragma once

#include "ops/registry.h"

namespace plintex::testing {

/// Runs a function of the catalogue as the window would: its defaults, then `values`.
inline RunResult runFunction(QStringView name, QStringList lines,
                             const QList<std::pair<QString, QString>> &values,
                             RowRestraint restraint = {}, RunMonitor *monitor = nullptr)
{
    const FunctionSpec *f = catalogue().byName(name);
    Q_ASSERT(f && f->isBuilt());
    RunInput input;
    input.lines = std::move(lines);
    input.params = ParamValues::defaults(f->params());
    for (const auto &[key, value] : values)
        input.params.set(key, value);
    input.restraint = restraint;
    SilentMonitor silent;
    return f->body.run(std::move(input), monitor ? *monitor : silent);
}

/// A monitor that lets `steps` steps go by, then reports a stop.
class StoppedMonitor final : public RunMonitor {
public:
    explicit StoppedMonitor(int steps = 0) : m_steps(steps) {}
    void begin(double, Gauge) override {}
    void advance(double) override {}
    bool stopRequested() override { return m_steps-- <= 0; }

private:
    int m_steps;
};

} // namespace plintex::testing
