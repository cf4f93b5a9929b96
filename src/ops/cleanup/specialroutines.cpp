#include "ops/cleanup/specialroutines.h"

#include "ops/cleanup/charroutines.h"
#include "ops/cleanup/tagremoval.h"
#include "ops/cleanup/textcounts.h"
#include "ops/common/params.h"
#include "ops/common/trim.h"

#include <memory>

using namespace Qt::StringLiterals;

namespace plintex::cleanup {
namespace {

// The run buttons, in the panel's order.
const QString kCapitals = u"capitals"_s;
const QString kSmall = u"small"_s;
const QString kCapitalise = u"capitalise"_s;
const QString kLetters = u"letters"_s;
const QString kDigits = u"digits"_s;
const QString kSpecial = u"special"_s;
const QString kTags = u"tags"_s;
const QString kBlanks = u"blanks"_s;
const QString kCount = u"count"_s;
// The radio buttons of "Capitalize first letter of each:".
const QString kEach = u"each"_s;
const QString kWord = u"word"_s;
const QString kSentence = u"sentence"_s;

/// A row rewritten on its own; false when it stays as it was.
using RowEdit = bool (*)(QString &row);

template <void (*edit)(QString &)> bool whenChanged(QString &row)
{
    const QString before = row; // shares the row: a row without work is never copied
    edit(row);
    return !row.isSharedWith(before);
}

template <bool (*drop)(char16_t)> bool removing(QString &row)
{
    const qsizetype size = row.size();
    removeCharacters(row, drop);
    return row.size() != size;
}

bool capitaliseWords(QString &row)
{
    toSmallLetters(row);
    capitaliseWordStarts(row, 0, row.size());
    return true;
}

bool isLetter(char16_t c)
{
    return isSmallLetter(c) || isCapitalLetter(c);
}

RowEdit rowEdit(const PassStart &start)
{
    const QString &button = start.runButton;
    if (button == kCapitals)
        return whenChanged<toCapitals>;
    if (button == kSmall)
        return whenChanged<toSmallLetters>;
    if (button == kCapitalise)
        return capitaliseWords;
    if (button == kLetters)
        return removing<isLetter>;
    if (button == kDigits)
        return removing<isDigit>;
    if (button == kSpecial)
        return removing<isSpecialCharacter>;
    return common::collapseBlankRuns;
}

std::optional<AsciiMap> caseMap(const QString &runButton, const ParamValues &)
{
    if (runButton != kCapitals && runButton != kSmall)
        return std::nullopt;
    AsciiMap map;
    for (int c = 0; c < 128; ++c) {
        QString one(1, QChar(c));
        runButton == kCapitals ? toCapitals(one) : toSmallLetters(one);
        map[c] = char(one.front().unicode());
    }
    return map;
}

PassPlan countPlan(TextPosition caret)
{
    auto counts = std::make_shared<TextCounts>();
    RunResult result;
    result.undoTaken = false;
    PassPlan plan = planOf(
        [=](qint64 index, PassRow &row, PassOutput &) {
            counts->addCharacters(index, row.text(), caret);
            counts->addBlanks(row.text());
            return true;
        },
        std::move(result),
        [=](PassOutput &, RunResult &result) { result.report = statusTexts(*counts); });
    plan.rewritesText = false;
    return plan;
}

/// Each routine as one pass over the rows: the command line streams any text through it, and
/// the window runs those that end a stopped run with the text as it was.
PassPlan plan(const PassStart &start)
{
    if (start.runButton == kCount)
        return countPlan(start.caret);
    PassPlan plan;
    if (start.runButton == kTags) {
        plan.pass = std::make_unique<TagRemoval>();
        return plan;
    }
    if (start.runButton == kCapitalise && start.params.text(kEach) == kSentence) {
        plan.pass =
            passOf([capitals = SentenceCapitals()](qint64, PassRow &row, PassOutput &out) mutable {
                const QString before = row.text();
                capitals(row.text());
                row.text().isSharedWith(before) ? out.keep() : out.keepRewritten();
                return true;
            });
        return plan;
    }
    plan.pass = passOf([edit = rowEdit(start)](qint64, PassRow &row, PassOutput &out) {
        edit(row.text()) ? out.keepRewritten() : out.keep();
        return true;
    });
    // The deleting routines rebuild the text and leave the caret at its end.
    const QString &b = start.runButton;
    if (b == kLetters || b == kDigits || b == kSpecial)
        plan.result.caret = CaretPlacement::atEnd();
    plan.rowsApart = true;
    return plan;
}

/// Shows a run's progress on a gauge of its own choice against a maximum of its own, and keeps
/// a routine that cannot be stopped from ever hearing of a stop.
class ShownAs final : public RunMonitor {
public:
    ShownAs(RunMonitor &inner, Gauge gauge, double maximum, bool stoppable)
        : m_inner(inner), m_gauge(gauge), m_maximum(maximum), m_stoppable(stoppable)
    {
    }
    void begin(double maximum, Gauge) override
    {
        m_scale = maximum > 0 ? m_maximum / maximum : 0;
        m_inner.begin(m_maximum, m_gauge);
    }
    void advance(double position) override { m_inner.advance(position * m_scale); }
    bool stopRequested() override { return m_stoppable && m_inner.stopRequested(); }

private:
    RunMonitor &m_inner;
    Gauge m_gauge;
    double m_maximum;
    bool m_stoppable;
    double m_scale = 0;
};

qint64 textLength(const QStringList &lines)
{
    qint64 length = lines.isEmpty() ? 0 : lines.size() - 1; // the line breaks between them
    for (const QString &line : lines)
        length += line.size();
    return length;
}

/// "word": the whole text in small letters first; a stop then keeps the capitals made so far.
RunResult capitaliseWordsRun(QStringList lines, RunMonitor &monitor)
{
    // A stop is asked about every few thousand characters, so that one long row ends quickly.
    constexpr qsizetype kPiece = 4096;
    monitor.begin(double(textLength(lines)));
    for (QString &line : lines)
        toSmallLetters(line);
    qint64 done = 0;
    for (QString &line : lines) {
        for (qsizetype at = 0; at == 0 || at < line.size(); at += kPiece) {
            if (monitor.step(double(done + at))) {
                RunResult stopped = RunResult::stopped();
                stopped.lines = std::move(lines);
                return stopped;
            }
            capitaliseWordStarts(line, at, std::min(at + kPiece, line.size()));
        }
        done += line.size() + 1;
    }
    RunResult result;
    result.lines = std::move(lines);
    return result;
}

/// Counting: the characters first, then the blanks. A stop during the blanks still shows the
/// characters counted.
RunResult countRun(const RunInput &input, RunMonitor &monitor)
{
    const QStringList &lines = input.lines;
    TextCounts counts;
    monitor.begin(double(lines.size()), RunMonitor::Gauge::None);
    RunResult stopped = RunResult::stopped();
    stopped.undoTaken = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (monitor.stopRequested())
            return stopped;
        counts.addCharacters(i, lines[i], input.caret);
    }
    for (const QString &line : lines) {
        if (monitor.stopRequested()) {
            stopped.statusTexts = {charactersText(counts.characters)};
            return stopped;
        }
        counts.addBlanks(line);
    }
    RunResult result;
    result.undoTaken = false;
    result.statusTexts = statusTexts(counts);
    result.report = result.statusTexts;
    return result;
}

RunResult run(RunInput input, RunMonitor &monitor)
{
    const QString button = input.runButton;
    if (button == kCount)
        return countRun(input, monitor);
    if (button == kCapitalise && input.params.text(kEach) == kWord)
        return capitaliseWordsRun(std::move(input.lines), monitor);

    using G = RunMonitor::Gauge;
    ShownAs shown = button == kLetters   ? ShownAs(monitor, G::Pie, 25, true)
                    : button == kDigits  ? ShownAs(monitor, G::Pie, 9, true)
                    : button == kSpecial ? ShownAs(monitor, G::Pie, 32, true)
                    : button == kTags
                        ? ShownAs(monitor, G::Panel, double(textLength(input.lines)), true)
                        : ShownAs(monitor, G::None, 0, false);
    // The strip stays hidden and the routines cover the whole text; only the caret row of
    // "Truncate multiple blanks." comes from the strip's To, whatever an earlier run left there.
    const qint64 to = input.restraint.to;
    input.restraint = {};
    RunResult result = runRowPass(plan, std::move(input), shown);
    if (button == kBlanks && result.lines) {
        const qint64 last = std::max<qint64>(result.lines->size() - 1, 0);
        result.caret = CaretPlacement::atLine(std::clamp<qint64>(to - 1, 0, last));
    }
    return result;
}

} // namespace

FunctionBody specialRoutines()
{
    return {
        .description = u"Converts the whole text to capitals or small letters, capitalises each "
                       u"word or sentence, deletes every letter, digit, special character or "
                       u"HTML tag, collapses runs of blanks, or counts characters and blanks."_s,
        .panel =
            {
                runButton(kCapitals, u"All capital letters."_s),
                runButton(kSmall, u"All small letters."_s),
                runButton(kCapitalise, u"Capitalize first letter of each:"_s),
                common::choiceOf(kEach, {}, {{kWord, u"word"_s}, {kSentence, u"sentence."_s}},
                                 kWord),
                runButton(kLetters, u"Delete all letters."_s),
                rowBreak(),
                runButton(kDigits, u"Delete all numerics."_s),
                runButton(kSpecial, u"Delete all special characters."_s),
                runButton(kTags, u"Delete HTML tags."_s),
                progressBar(),
                runButton(kBlanks, u"Truncate multiple blanks."_s),
                runButton(kCount, u"Total characters and blanks."_s),
            },
        .run = run,
        .rowPass = plan,
        .asciiMap = caseMap,
        .example = {.title = u"Capitalize first character of each word or sentence, or convert "
                             u"to all upper / lower case"_s,
                    .before = u"any and all words"_s,
                    .after = u"(all upper):  ANY AND ALL WORDS\r\n(all lower):  any and all "
                             u"words\r\n(1st letter): Any And All Words"_s,
                    .runButton = kCapitalise,
                    .expected = u"Any And All Words"_s},
        .readsCaret = true,
        .readsStripTo = true,
    };
}

} // namespace plintex::cleanup
