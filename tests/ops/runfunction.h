#pragma once

#include "ops/registry.h"

#include <QTest>

namespace plintex::testing {

/// A text as the functions see it: its lines, a final line break starting none.
inline QStringList linesOf(const QString &text)
{
    QStringList rows = TextStore::splitRows(text);
    if (!rows.isEmpty() && rows.back().isEmpty())
        rows.removeLast();
    return rows;
}

/// A monitor that lets `steps` steps go by, then reports a stop.
class StoppedMonitor final : public RunMonitor {
public:
    explicit StoppedMonitor(int steps) : m_steps(steps) {}
    void begin(double, Gauge) override {}
    void advance(double) override {}
    bool stopRequested() override { return m_steps-- <= 0; }

private:
    int m_steps;
};

/// Runs a function by name as the window would: its defaults, then the "key=value" parameters
/// ("button=" picks the run button, "band=F..T" clears "Auto reset" and sets From and To,
/// "caret=R..C" puts the caret at row R, column C (1-based), "stop=N" stops after N steps; any
/// other key must name a parameter of the function, or the row fails). Gives the resulting text
/// (a report such as a total instead, when there is one), followed by "warning: " and each
/// warning of a run that still did its work; "!" and the message for a refusal ("!no undo: "
/// when it kept the undo snapshot); "stopped" for a stop, with ": " and the text when it keeps
/// what it did.
inline QString runOn(const QString &function, const QString &text, const QStringList &params,
                     RunResult *full = nullptr)
{
    const FunctionEntry *f = catalogue().byName(function);
    RunInput input;
    input.lines = linesOf(text);
    input.params = ParamValues::defaults(f->params());
    int stopAfter = -1;
    for (const QString &p : params) {
        const qsizetype eq = p.indexOf(u'=');
        const QStringList band = p.sliced(eq + 1).split(QStringLiteral(".."));
        if (p.first(eq) == u"button")
            input.runButton = p.sliced(eq + 1);
        else if (p.first(eq) == u"band")
            input.restraint = {band.front().toLongLong(), band.back().toLongLong(), false};
        else if (p.first(eq) == u"stop")
            stopAfter = p.sliced(eq + 1).toInt();
        else if (p.first(eq) == u"caret")
            input.caret = {band.front().toLongLong() - 1, band.back().toLongLong() - 1};
        else if (f->param(p.first(eq)))
            input.params.set(p.first(eq), p.sliced(eq + 1));
        else
            return QStringLiteral("!no such parameter: ") + p.first(eq);
    }
    if (input.runButton.isEmpty())
        input.runButton = f->runButtons().front().key;
    SilentMonitor silent;
    StoppedMonitor stopping(stopAfter);
    const RunResult r =
        f->body.run(std::move(input), stopAfter < 0 ? static_cast<RunMonitor &>(silent) : stopping);
    if (full)
        *full = r;
    QString out;
    for (const QString &line : r.lines.value_or(linesOf(text)))
        out += line + u'\n';
    // A run that did not finish neither changes the text nor saves histories, unless a stop
    // keeps the work done so far.
    const bool refused = r.outcome == RunResult::Outcome::Refused;
    if (!r.done() && (r.saveHistories || !r.report.isEmpty() || (refused && r.lines)))
        return QStringLiteral("!broken: histories, report or text kept");
    if (refused)
        return (r.undoTaken ? QStringLiteral("!") : QStringLiteral("!no undo: ")) + r.message;
    if (r.outcome == RunResult::Outcome::Stopped)
        return r.lines ? QStringLiteral("stopped: ") + out : QStringLiteral("stopped");
    if (!r.report.isEmpty())
        return r.lines ? QStringLiteral("!broken: report and text") : r.report.join(u'\n');
    for (const QString &notice : r.notices)
        out += QStringLiteral("warning: ") + notice + u'\n';
    return out;
}

/// The columns of a table of runs (function, text, "key=value" parameters, what runOn gives) and
/// a function that adds one row to it.
inline auto runTable()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<QString>("expected");
    return [](const char *name, const QString &function, const QString &text,
              const QStringList &params, const QString &expected) {
        QTest::newRow(name) << function << text << params << expected;
    };
}

} // namespace plintex::testing
