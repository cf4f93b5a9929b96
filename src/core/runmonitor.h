#pragma once

namespace plintex {

/// How a run shows its progress and learns of a stop. The window implements it with the
/// "Processing..." notice, the gauge, the event pump and the stop latch; the command line and
/// the tests implement it without a screen.
class RunMonitor {
public:
    /// The pie of the text functions, the bar of the functions that stream a file, the plain
    /// progress bar of the function's own panel, or the notice alone.
    enum class Gauge { Pie, Bar, Panel, None };

    virtual ~RunMonitor() = default;

    /// Shows the notice and the gauge with this maximum and lets them be painted.
    virtual void begin(double maximum, Gauge gauge = Gauge::Pie) = 0;
    /// Moves the gauge.
    virtual void advance(double position) = 0;
    /// True when a stop was requested. Runs ask before each line (or block) they process.
    virtual bool stopRequested() = 0;
    /// False when no stop can ever come: a run need not keep aside what a stop would give back.
    virtual bool canStop() const { return true; }

    /// The per-line step of most runs: move the gauge, then ask about a stop.
    bool step(double position)
    {
        advance(position);
        return stopRequested();
    }
};

/// A monitor that shows nothing and never stops.
class SilentMonitor final : public RunMonitor {
public:
    void begin(double, Gauge) override {}
    void advance(double) override {}
    bool stopRequested() override { return false; }
    bool canStop() const override { return false; }
};

} // namespace plintex
