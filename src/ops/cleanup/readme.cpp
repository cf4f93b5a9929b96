#include "ops/cleanup/readme.h"

#include "ops/cleanup/readerwrap.h"
#include "ops/cleanup/replacementlist.h"
#include "ops/cleanup/webaddresses.h"
#include "ops/cleanup/webtext.h"
#include "ops/common/params.h"
#include "ops/common/trim.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace plintex::cleanup {
namespace {

using namespace readme;

/// Empty, or nothing but blanks; a tab makes a line not blank.
bool onlyBlanks(QStringView line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' '; });
}

bool endsSentence(QStringView line)
{
    const QChar last = line.back();
    return last == u'.' || last == u'!' || last == u'?';
}

/// The work area as a run leaves it when it stops: changed when it was.
RunResult stoppedWith(const QStringList &area, bool changed)
{
    RunResult result = RunResult::stopped();
    if (changed)
        result.lines = area;
    return result;
}

/// The lines as the text they make, each followed by a line break.
QString textOf(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += u'\n';
    }
    return text;
}

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
        std::optional<QStringList> kept = deleteWebAddresses(area, monitor);
        if (!kept)
            return stoppedWith(area, changed);
        area = std::move(*kept);
        changed = true;
    }

    if (params.flag(kTabs)) {
        // From the last line up: a stop leaves the lines above the one reached as they were.
        QStringList kept;
        for (qsizetype i = area.size() - 1; i >= 0; --i) {
            if (monitor.step(double(i))) {
                std::reverse(kept.begin(), kept.end());
                const bool deleted = kept.size() < area.size() - 1 - i;
                return stoppedWith(area.first(i + 1) + kept, changed || deleted);
            }
            if (!area[i].startsWith(u'\t'))
                kept.append(area[i]);
        }
        std::reverse(kept.begin(), kept.end());
        area = std::move(kept);
        changed = true;
    }

    // Every line closes a sentence; empty and blank ones go. Worked on a copy: a stop leaves
    // the work area as it was.
    QStringList copy = area;
    for (qsizetype i = 0; i < copy.size(); ++i) {
        if (monitor.step(double(i)))
            return stoppedWith(area, changed);
        if (!copy[i].isEmpty() && !endsSentence(copy[i]))
            copy[i] += u".  "_s;
    }
    QStringList closed;
    for (qsizetype i = copy.size() - 1; i >= 0; --i) {
        if (monitor.step(double(i)))
            return stoppedWith(area, changed);
        if (!onlyBlanks(copy[i]))
            closed.append(std::move(copy[i]));
    }
    std::reverse(closed.begin(), closed.end());
    area = std::move(closed);
    changed = true;

    if (params.flag(kHtml)) {
        std::optional<QString> text = removeTags(area.join(u'\n'), monitor);
        if (!text)
            return stoppedWith(area, changed);
        removeQuoteEntities(*text);
        area = text->isEmpty() ? QStringList() : text->split(u'\n');
    }

    QStringList filled;
    for (qsizetype i = area.size() - 1; i >= 0; --i) {
        if (monitor.step(double(i)))
            return stoppedWith(area, changed);
        if (!onlyBlanks(area[i]))
            filled.append(area[i]);
    }
    std::reverse(filled.begin(), filled.end());
    area = std::move(filled);

    for (qsizetype i = 0; i < area.size(); ++i) {
        if (monitor.step(double(i)))
            return stoppedWith(area, changed);
        common::trimLeading(area[i]);
    }

    // The work area is emptied here and takes the wrapped lines one by one.
    QStringList wrapped;
    if (!wrapForReader(area, wrapped, monitor))
        return stoppedWith(wrapped, true);
    applyReplacements(wrapped, replacementsOf(params.lines(kList)));

    RunResult result;
    if (!wrapped.isEmpty())
        result.clipboard = textOf(wrapped);
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
