#include "ops/cleanup/readme.h"

#include "ops/cleanup/readerwrap.h"
#include "ops/cleanup/replacementlist.h"
#include "ops/cleanup/tagremoval.h"
#include "ops/cleanup/webaddresses.h"
#include "ops/cleanup/webtext.h"
#include "ops/common/params.h"
#include "ops/common/trim.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace plintex::cleanup {
namespace {

using namespace readme;

/// Empty, or nothing but blanks; a tab makes a line not blank.
bool onlyBlanks(const QString &line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' '; });
}

bool endsSentence(QStringView line)
{
    const QChar last = line.back();
    return last == u'.' || last == u'!' || last == u'?';
}

/// The work area as a run leaves it when it stops: changed when it was.
RunResult stoppedWith(QStringList area, bool changed)
{
    RunResult result = RunResult::stopped();
    if (changed)
        result.lines = std::move(area);
    return result;
}

/// Asks about a stop once for each line of a step that works on a copy of the text: a stop
/// leaves the work area as it was, so the step itself can then work in place.
bool stopBefore(qsizetype lines, RunMonitor &monitor)
{
    for (qsizetype i = 0; i < lines; ++i) {
        if (monitor.step(double(i)))
            return true;
    }
    return false;
}

template <typename Predicate> void removeLines(QStringList &lines, qsizetype from, Predicate remove)
{
    lines.erase(std::remove_if(lines.begin() + from, lines.end(), remove), lines.end());
}

// The text is held about twice at most: each step works in place or lets go of what it has
// read before it builds the next form.
RunResult run(RunInput input, RunMonitor &monitor)
{
    const ParamValues &params = input.params;
    QStringList area = std::move(input.lines);
    bool changed = false;
    monitor.begin(double(std::max<qsizetype>(area.size(), 1)));
    if (input.runButton == kPasteRun) {
        for (QString &line : area)
            removeDashBlanks(line);
        changed = true;
    }

    if (params.flag(kWeb) && holdsAddressEnding(area)) {
        // A stop leaves the work area as it was; only text changed before must be given back.
        QStringList before = changed ? area : QStringList();
        if (!deleteWebAddresses(area, monitor))
            return stoppedWith(std::move(before), changed);
        changed = true;
    }

    const auto startsWithTab = [](const QString &line) { return line.startsWith(u'\t'); };
    if (params.flag(kTabs)) {
        // From the last line up: a stop leaves the lines down to the one reached as they were.
        for (qsizetype i = area.size() - 1; i >= 0; --i) {
            if (monitor.step(double(i))) {
                const qsizetype before = area.size();
                removeLines(area, i + 1, startsWithTab);
                const bool deleted = area.size() < before;
                return stoppedWith(std::move(area), changed || deleted);
            }
        }
        removeLines(area, 0, startsWithTab);
        changed = true;
    }

    // Every line closes a sentence, then the empty and blank ones go.
    if (stopBefore(2 * area.size(), monitor))
        return stoppedWith(std::move(area), changed);
    for (QString &line : area) {
        if (!line.isEmpty() && !endsSentence(line)) {
            line.reserve(line.size() + 3); // appending alone would double its room
            line += u".  "_s;
        }
    }
    removeLines(area, 0, onlyBlanks);
    changed = true;

    if (params.flag(kHtml)) {
        // The tags as "Special Routines" deletes them; a stop leaves the text as it was, so
        // the text is kept aside only while a stop can come.
        RunInput tagged;
        tagged.lines = monitor.canStop() ? area : std::exchange(area, {});
        RunResult untagged = runRowPass(
            [](const PassStart &) {
                PassPlan plan;
                plan.pass = std::make_unique<TagRemoval>();
                return plan;
            },
            std::move(tagged), monitor);
        if (!untagged.done())
            return stoppedWith(std::move(area), changed);
        if (untagged.lines)
            area = std::move(*untagged.lines);
        for (QString &line : area)
            removeQuoteEntities(line); // it has no line break to span
    }

    if (stopBefore(area.size(), monitor))
        return stoppedWith(std::move(area), changed);
    removeLines(area, 0, onlyBlanks);

    for (qsizetype i = 0; i < area.size(); ++i) {
        if (monitor.step(double(i)))
            return stoppedWith(std::move(area), changed);
        common::trimLeading(area[i]);
    }

    // The work area is emptied here and takes the wrapped lines one by one.
    QStringList wrapped;
    if (!wrapForReader(std::move(area), wrapped, monitor))
        return stoppedWith(std::move(wrapped), true);
    applyReplacements(wrapped, replacementsOf(params.lines(kList)));

    RunResult result;
    result.copyText = !wrapped.isEmpty();
    result.lines = std::move(wrapped);
    result.caret = CaretPlacement::atEnd();
    result.beep = true;
    result.saveHistories = false;
    return result;
}

} // namespace

FunctionBody readMe()
{
    using common::tickBox;
    Parameter list = memoField(kList, u"Format for ReadMe: (change this;to this)"_s, Reset::Keep);
    list.lockedBy = kLock;
    list.option = u"replacement-list"_s;
    list.defaultFile = u"rmdat.plx"_s;
    list.keptByClear = true;
    Parameter lock = tickBox(kLock, u"Lock"_s, Reset::Keep, true);
    lock.windowOnly = true;
    Parameter autoStart = tickBox(kAutoStart, u"Auto start upon paste."_s, Reset::Keep, true);
    autoStart.windowOnly = true;
    return {
        .description = u"Reshapes prose pasted from a web page for a text-to-speech reader: web "
                       u"addresses, tab-started lines, blank lines and (when asked) tags go, "
                       u"every line ends as a sentence, the text is wrapped again at about 55 "
                       u"columns and the replacement list is applied."_s,
        .panel = {runButton(), list, lock, action(PanelAction::SaveList, u"Save List"_s),
                  action(PanelAction::DeleteSelection, u"Delete"_s, u"Delete the selected text"_s),
                  rowBreak(), autoStart,
                  tickBox(kTabs, u"Delete tabed lines."_s, Reset::Keep, true),
                  tickBox(kWeb, u"Delete web addresses."_s, Reset::Keep, true),
                  tickBox(kHtml, u"Delete all HTML tags."_s, Reset::Keep),
                  action(PanelAction::ToTop, u"To Top"_s, u"To Top"_s)},
        .run = run,
        .example = {.title = u"Format for text reader"_s,
                    .before = {},
                    .after = u"Take out special characters that are pronounced.\r\n"
                             u"Take out or replace any word."_s,
                    .params = {{kHtml, u"1"_s}, {kList, u"&;and"_s}},
                    .input = u"Visit www.example.com today\n\n\tmenu\nRead <b>this</b> & that!\n"_s,
                    .expected = u"Visit  today.   Read this and that! \n"_s},
    };
}

} // namespace plintex::cleanup
