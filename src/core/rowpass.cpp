#include "core/rowpass.h"

namespace plintex {
namespace {

/// The work area's lines as a pass sees them: each row moves into the output when kept.
class ListRows final : public PassRow, public PassOutput {
public:
    ListRows(QStringList &lines, bool trace) : m_lines(lines), m_trace(trace)
    {
        m_out.reserve(lines.size() + 1); // the work area adds its final empty row
        if (trace)
            m_origins.reserve(lines.size());
    }

    void moveTo(qsizetype index) { m_index = index; }
    QStringList take() { return std::move(m_out); }
    std::optional<QList<qsizetype>> takeOrigins()
    {
        return m_trace ? std::optional(std::move(m_origins)) : std::nullopt;
    }

    QString &text() override { return m_lines[m_index]; }
    void keep() override
    {
        m_out.append(std::move(m_lines[m_index]));
        trace(m_index);
    }
    void keepRewritten() override { keep(); }
    void add(QStringView row) override
    {
        m_out.append(row.toString());
        trace(-1);
    }
    void hold() override
    {
        m_held = std::move(m_lines[m_index]);
        m_heldIndex = m_index;
    }
    void releaseHeld(bool keep) override
    {
        if (keep && m_held) {
            m_out.append(std::move(*m_held));
            trace(m_heldIndex);
        }
        m_held.reset();
    }

private:
    void trace(qsizetype origin)
    {
        if (m_trace)
            m_origins.append(origin);
    }

    QStringList &m_lines;
    QStringList m_out;
    std::optional<QString> m_held;
    qsizetype m_index = 0;
    qsizetype m_heldIndex = 0;
    bool m_trace;
    QList<qsizetype> m_origins;
};

/// A line transform applied to the rows of the band.
class TransformPass final : public RowPass {
public:
    TransformPass(LineTransform transform, const RowRestraint &band, RowFilter touches,
                  ByteTransform bytes)
        : m_transform(std::move(transform)), m_touches(std::move(touches)),
          m_bytes(std::move(bytes)), m_first(band.from - 1), m_last(band.to - 1)
    {
    }

    bool row(qint64 index, PassRow &row, PassOutput &out) override
    {
        if (index < m_first || index > m_last || (m_touches && !m_touches(row))) {
            out.keep();
        } else if (!m_bytes || !out.keepRewritten(m_bytes)) {
            m_transform(row.text());
            out.keepRewritten();
        }
        return true;
    }

private:
    LineTransform m_transform;
    RowFilter m_touches;
    ByteTransform m_bytes;
    qint64 m_first;
    qint64 m_last;
};

} // namespace

RunResult runRowPass(RowPassFactory factory, RunInput input, RunMonitor &monitor)
{
    PassPlan plan = factory({input.params, input.runButton,
                             checkBand(input.restraint, input.lines.size()), input.caret});
    if (!plan.pass)
        return plan.result;
    const auto stopped = [&plan] {
        RunResult result = RunResult::stopped();
        result.fields = plan.result.fields;
        return result;
    };
    ListRows rows(input.lines, input.traceRows);
    const qsizetype n = input.lines.size();
    const qsizetype measured = plan.measure ? n : 0;
    const qint64 first = plan.gauge ? plan.gauge->from - 1 : 0;
    const qint64 last = plan.gauge ? plan.gauge->to - 1 : n - 1;
    monitor.begin(double(measured + (plan.gauge ? plan.gauge->to : n)));
    for (qsizetype i = 0; i < measured; ++i) {
        if (monitor.step(double(i)))
            return stopped();
        rows.moveTo(i);
        plan.measure->row(i, rows, rows);
    }
    for (qsizetype i = 0; i < n; ++i) {
        if (i >= first && i <= last && monitor.step(double(measured + i)))
            return stopped();
        rows.moveTo(i);
        if (!plan.pass->row(i, rows, rows))
            break;
    }
    plan.pass->finish(rows, plan.result);
    if (plan.result.done() && plan.rewritesText) {
        plan.result.lines = rows.take();
        plan.result.rowOrigins = rows.takeOrigins();
    }
    return plan.result;
}

PassPlan bandPass(LineTransform transform, const PassStart &start, RowFilter touches,
                  ByteTransform bytes)
{
    if (start.band.refusal)
        return PassPlan::without(*start.band.refusal);
    PassPlan plan;
    plan.pass = std::make_unique<TransformPass>(std::move(transform), start.band.band,
                                                std::move(touches), std::move(bytes));
    plan.outputTexts = start.params.all();
    plan.result.writeBack(start.band.band);
    plan.result.caret = CaretPlacement::atLine(start.band.band.to - 1);
    plan.gauge = start.band.band;
    plan.rowsApart = start.band.band.from == 1 && start.band.band.to == PassStart::kToTheEnd;
    return plan;
}

} // namespace plintex
