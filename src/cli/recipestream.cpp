#include "cli/recipestream.h"

#include <limits>
#include <memory>

using namespace Qt::StringLiterals;

namespace plintex::cli {
namespace {

/// The most of a step's text held while its band is settled, in characters.
constexpr qint64 kMostWaiting = 16 << 20;

/// The rows a step's band needs counted before it can start, as a streamed run counts them.
qint64 rowsToSettle(const RowRestraint &restraint)
{
    const RowRestraint reset = resetRowTo(restraint);
    const qint64 from = std::min(reset.from, std::numeric_limits<qint64>::max() / 2 - 1);
    return reset.to == 0 ? std::max(2 * from + 1, qint64(2)) : std::max(from + 1, reset.to);
}

PassStart startOf(const StreamRequest &request, qint64 count, bool countIsAll)
{
    PassStart start{request.params, request.runButton, checkBand(request.restraint, count),
                    request.caret};
    if (!countIsAll && resetRowTo(request.restraint).to == 0 &&
        count == rowsToSettle(request.restraint))
        start.band.band.to = PassStart::kToTheEnd;
    return start;
}

/// What a row handed on is: the stream's current row as it came or rewritten, or a row that
/// a step made (or held, or waited with) as text.
enum class RowKind { AsItCame, Rewritten, Own };

class TextRow final : public PassRow {
public:
    explicit TextRow(QString text) : m_text(std::move(text)) {}
    QString &text() override { return m_text; }

private:
    QString m_text;
};

class ChainPass;

/// Where a step puts its rows: on to the next step. A step that only reads puts nothing.
class StepOutput final : public PassOutput {
public:
    StepOutput(ChainPass &chain, qsizetype next) : m_chain(chain), m_next(next) {}
    void set(RowKind kind, PassRow *row)
    {
        m_kind = kind;
        m_row = row;
    }
    bool silent = false;

    void keep() override;
    void keepRewritten() override;
    void add(QStringView row) override;
    void hold() override
    {
        if (!silent)
            m_held = m_row->text();
    }
    void releaseHeld(bool keep) override;

private:
    ChainPass &m_chain;
    qsizetype m_next;
    RowKind m_kind = RowKind::AsItCame;
    PassRow *m_row = nullptr;
    std::optional<QString> m_held;
};

struct Stage {
    ChainStep step;
    qint64 settle = 0;
    bool started = false;
    PassPlan plan;
    QStringList waiting; ///< rows that came before the band could be settled
    qint64 waitingSize = 0;
    bool ended = false;
    bool passesThrough = false; ///< the step leaves the text as it was
    qint64 index = 0;
    std::unique_ptr<StepOutput> out;
};

class ChainPass final : public RowPass {
public:
    ChainPass(QList<ChainStep> steps, std::function<QString(int)> where, const PassStart &first)
        : m_where(std::move(where))
    {
        for (ChainStep &s : steps) {
            auto stage = std::make_unique<Stage>();
            stage->settle = rowsToSettle(s.request.restraint);
            stage->step = std::move(s);
            stage->out = std::make_unique<StepOutput>(*this, m_stages.size() + 1);
            m_stages.push_back(std::move(stage));
        }
        m_stages.front()->started = true;
        usePlan(0, m_stages.front()->step.factory(first));
    }

    /// The first step's refusal before any row, with its line.
    std::optional<QString> failure() const { return m_failure; }
    std::unique_ptr<RowPass> takeMeasure() { return std::move(m_stages.front()->plan.measure); }

    bool row(qint64, PassRow &row, PassOutput &out) override
    {
        m_out = &out;
        deliver(0, RowKind::AsItCame, row);
        return !m_stop;
    }

    void finish(PassOutput &out, RunResult &result) override
    {
        m_out = &out;
        QStringList report;
        QStringList notices;
        for (qsizetype s = 0; s < qsizetype(m_stages.size()) && !m_failure; ++s) {
            Stage &st = *m_stages[s];
            if (!st.started)
                start(s, true);
            if (m_failure)
                break;
            if (st.plan.pass)
                st.plan.pass->finish(*st.out, st.plan.result);
            if (!st.plan.result.done()) {
                fail(s, st.plan.result.outcome == RunResult::Outcome::Stopped
                            ? u"Processing stopped!"_s
                            : st.plan.result.message);
                break;
            }
            report += st.plan.result.report;
            notices += st.plan.result.notices;
        }
        if (m_failure) {
            result = RunResult::refused(*m_failure);
            return;
        }
        result.report = report;
        result.notices = notices;
    }

    void deliver(qsizetype s, RowKind kind, PassRow &row)
    {
        if (s == qsizetype(m_stages.size())) {
            switch (kind) {
            case RowKind::AsItCame:
                m_out->keep();
                break;
            case RowKind::Rewritten:
                m_out->keepRewritten();
                break;
            case RowKind::Own:
                m_out->add(row.text());
                break;
            }
            return;
        }
        Stage &st = *m_stages[s];
        if (!st.started) {
            st.waiting.append(row.text());
            st.waitingSize += st.waiting.back().size();
            // As a single run finds its band within the first 16 MiB of standard input.
            if (st.waitingSize > kMostWaiting)
                return fail(s, u"the rows of this step's band are not within the first 16 MiB of "
                               u"the text it gets; give it a recipe of its own"_s);
            if (st.waiting.size() >= st.settle)
                start(s, false);
            return;
        }
        feed(s, kind, row);
    }

private:
    void fail(qsizetype s, const QString &message)
    {
        m_failure = m_where(m_stages[s]->step.line) + message;
        m_stop = true;
    }

    void usePlan(qsizetype s, PassPlan plan)
    {
        Stage &st = *m_stages[s];
        st.plan = std::move(plan);
        if (!st.plan.pass && !st.plan.result.done())
            fail(s, st.plan.result.message);
        st.passesThrough = !st.plan.pass || !st.plan.rewritesText;
        st.out->silent = st.passesThrough;
    }

    void start(qsizetype s, bool atEnd)
    {
        Stage &st = *m_stages[s];
        st.started = true;
        usePlan(s, st.step.factory(startOf(st.step.request, st.waiting.size(), atEnd)));
        // A step that measures first starts a chain of its own, unless the whole text it gets
        // is waiting here already (a short one).
        if (st.plan.measure && !m_failure) {
            if (!atEnd)
                return fail(s, u"this step reads the text twice: give it a recipe of its own"_s);
            StepOutput sink(*this, s + 1);
            sink.silent = true;
            qint64 index = 0;
            for (const QString &text : std::as_const(st.waiting)) {
                TextRow row(text);
                sink.set(RowKind::Own, &row);
                if (!st.plan.measure->row(index++, row, sink))
                    break;
            }
        }
        const QStringList waiting = std::exchange(st.waiting, {});
        for (const QString &text : waiting) {
            if (m_stop)
                break;
            TextRow row(text);
            feed(s, RowKind::Own, row);
        }
    }

    void feed(qsizetype s, RowKind kind, PassRow &row)
    {
        Stage &st = *m_stages[s];
        if (!st.ended && st.plan.pass) {
            st.out->set(kind, &row);
            if (!st.plan.pass->row(st.index++, row, *st.out)) {
                st.ended = true;
                // A pass that only reads may have seen enough; one that writes ends the run.
                m_stop = m_stop || !st.passesThrough;
            }
        }
        if (st.passesThrough)
            deliver(s + 1, kind, row);
    }

    std::vector<std::unique_ptr<Stage>> m_stages;
    std::function<QString(int)> m_where;
    PassOutput *m_out = nullptr;
    bool m_stop = false;
    std::optional<QString> m_failure;
};

void StepOutput::keep()
{
    if (!silent)
        m_chain.deliver(m_next, m_kind, *m_row);
}

void StepOutput::keepRewritten()
{
    if (!silent)
        m_chain.deliver(m_next, m_kind == RowKind::Own ? RowKind::Own : RowKind::Rewritten, *m_row);
}

void StepOutput::add(QStringView text)
{
    if (silent)
        return;
    TextRow row(text.toString());
    m_chain.deliver(m_next, RowKind::Own, row);
}

void StepOutput::releaseHeld(bool keep)
{
    if (keep && m_held) {
        TextRow row(std::move(*m_held));
        m_chain.deliver(m_next, RowKind::Own, row);
    }
    m_held.reset();
}

/// A step's plan for a text of which only the rows that settle its band are known, to learn
/// what it would write and whether it measures first.
PassPlan probe(const ChainStep &step)
{
    const qint64 settle = rowsToSettle(step.request.restraint);
    return step.factory(startOf(step.request, settle, false));
}

} // namespace

bool chainable(const QList<ChainStep> &steps)
{
    return std::all_of(steps.cbegin(), steps.cend(),
                       [](const ChainStep &s) { return bool(s.factory); });
}

bool measuresFirst(const ChainStep &step)
{
    return bool(probe(step).measure);
}

bool onlyReads(const ChainStep &step)
{
    const PassPlan plan = probe(step);
    return plan.pass && !plan.rewritesText;
}

RowPassFactory chainedPasses(QList<ChainStep> steps, std::function<QString(int line)> where,
                             bool writeText)
{
    return [steps = std::move(steps), where = std::move(where), writeText](const PassStart &first) {
        auto chain = std::make_unique<ChainPass>(steps, where, first);
        if (std::optional<QString> failure = chain->failure())
            return PassPlan::without(RunResult::refused(*failure));
        PassPlan plan;
        plan.rewritesText = writeText;
        for (const ChainStep &s : steps)
            plan.outputTexts += probe(s).outputTexts;
        // The first step's measuring pass reads the text before the chain does.
        plan.measure = chain->takeMeasure();
        plan.pass = std::move(chain);
        return plan;
    };
}

} // namespace plintex::cli
