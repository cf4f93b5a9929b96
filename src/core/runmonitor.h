#pragma once

namespace plintex {

/// How a run shows its progress and learns of a stop. The window implements it with the
/// "Processing..." notice, the gauge, the event pump and the stop latch; the command line and
/// the tests implement it without a screen.
class RunMonitor {
public:
    virtual ~RunMonitor() = default;

    /// Shows the notice and the gauge with this maximum and lets them be painted.
    virtual void begin(double maximum) = 0;

    /// Called before each line is transformed, with the gauge's new position. Returns true when
    /// a stop was requested: the run then ends and leaves the text as it was.
    virtual bool stopRequested(double position) = 0;
};

/// A monitor that shows nothing and never stops.
class SilentMonitor final : public RunMonitor {
public:
    void begin(double) override {}
    bool stopRequested(double) override { return false; }
};

} // namespace plintex
