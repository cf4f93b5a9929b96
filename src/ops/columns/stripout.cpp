#include "ops/columns/stripout.h"

#include "ops/common/params.h"
#include "ops/lines/matcher.h"

#include <cstring>

using namespace Qt::StringLiterals;

namespace plintex::columns {
namespace {

using common::kEnd;
using common::kStart;
const QString kLineByLine = u"lineByLine"_s;

/// A place in the text: a line and a character of it (its length: the line break after it).
struct Place {
    qsizetype line = 0;
    qsizetype at = 0;
    auto operator<=>(const Place &) const = default;
};

/// Deletes each stretch in turn, as the text's own search finds them. Works over the lines
/// without joining them, since the texts hold no line break: no match crosses one. The kept
/// text is written back over the lines already passed.
class Stripper {
public:
    Stripper(QStringList &lines, const QString &start, const QString &end)
        : m_lines(lines), m_start(start), m_end(end)
    {
    }

    /// One stretch; false when the deletion loop ends here.
    bool next()
    {
        const std::optional<Place> a = find(m_start, m_cursor);
        if (!a)
            return false;
        const std::optional<Place> b = find(m_end, m_cursor);
        if (!b)
            return false;
        // The stretch runs from the start text to the last character of the first end text
        // found; an end text that ends at or before the start text ends the loop.
        const Place last{b->line, b->at + m_end.size() - 1};
        if (!(*a < last))
            return false;
        keep(*a);
        m_cursor = {last.line, last.at + 1};
        return true;
    }

    qsizetype line() const { return m_cursor.line; }

    /// Keeps the rest of the text and leaves the result in the lines.
    void finish()
    {
        keep({m_lines.size(), 0});
        m_lines.resize(m_written);
    }

private:
    /// The lines before the cursor are rewritten as the result; those searched are at or after
    /// it, so a line folded for a search stays as it was.
    std::optional<Place> find(lines::CaselessFinder &text, Place from)
    {
        for (qsizetype line = from.line; line < m_lines.size(); ++line, from.at = 0) {
            const qsizetype at = text.in(m_lines, line, from.at);
            if (at >= 0)
                return Place{line, at};
        }
        return std::nullopt;
    }

    /// Copies the text from the cursor up to `to` into the result.
    void keep(Place to)
    {
        Place &c = m_cursor;
        if (c.line == to.line) {
            if (c.line >= m_lines.size())
                return;
            m_current.append(QStringView(m_lines[c.line]).sliced(c.at, to.at - c.at));
            c = to;
            return;
        }
        if (c.line < m_lines.size()) {
            if (c.at == 0 && m_current.isEmpty())
                m_current = m_lines[c.line];
            else
                m_current.append(QStringView(m_lines[c.line]).sliced(c.at));
            m_lines[m_written++] = std::exchange(m_current, QString());
        }
        for (qsizetype line = c.line + 1; line < to.line; ++line, ++m_written) {
            if (m_written != line)
                m_lines[m_written] = std::move(m_lines[line]);
        }
        if (to.line < m_lines.size())
            m_current.append(QStringView(m_lines[to.line]).first(to.at));
        c = to;
    }

    QStringList &m_lines;
    lines::CaselessFinder m_start;
    lines::CaselessFinder m_end;
    Place m_cursor;
    QString m_current;       ///< the result line being built
    qsizetype m_written = 0; ///< result lines written so far
};

bool unfit(const QString &text)
{
    return text.isEmpty() || text.contains(u'\n') || text.contains(u'\r');
}

/// The same deletions made on the bytes, in place: the texts hold no line break, so a stretch
/// never starts or ends inside one, and the bytes between stretches are kept as they are. What
/// is kept moves towards the front, never past where the searches go on.
bool runOnBytes(QByteArray &bytes, qsizetype from, RowEncoding encoding, const ParamValues &params)
{
    const QString start = params.text(kStart);
    const QString end = params.text(kEnd);
    if (unfit(start) || unfit(end))
        return false;
    char *data = bytes.data() + from;
    const QByteArrayView text(data, bytes.size() - from);
    const std::optional<lines::CaselessBytes> first =
        lines::CaselessBytes::of(start, text, encoding);
    const std::optional<lines::CaselessBytes> last = lines::CaselessBytes::of(end, text, encoding);
    if (!first || !last)
        return false;
    const QByteArray folded =
        first->folds() || last->folds() ? lines::foldBytes(text, encoding) : QByteArray();
    qsizetype kept = 0;
    const auto keep = [&](qsizetype begin, qsizetype until) {
        std::memmove(data + kept, data + begin, size_t(until - begin));
        kept += until - begin;
    };
    qsizetype cursor = 0;
    for (;;) {
        const qsizetype a = first->in(text, folded, cursor);
        const qsizetype b = a < 0 ? -1 : last->in(text, folded, cursor);
        // As Stripper::next: an end text whose last character is not after the start ends it.
        if (b < 0 || !(a < b + last->lastUnit()))
            break;
        keep(cursor, a);
        cursor = b + last->size();
    }
    keep(cursor, text.size());
    bytes.resize(from + kept);
    return true;
}

RunResult run(RunInput input, RunMonitor &monitor)
{
    const QString start = input.params.text(kStart);
    const QString end = input.params.text(kEnd);
    if (unfit(start) || unfit(end))
        return RunResult::refused(
            u"Enter the data to strip out and the data that ends it,\reach on one line."_s, false);

    const bool lineByLine = input.params.flag(kLineByLine);
    QStringList &lines = input.lines;
    Stripper stripper(lines, start, end);
    monitor.begin(double(lines.size()));
    for (;;) {
        if (monitor.step(double(stripper.line()))) {
            if (lineByLine)
                return RunResult::stopped();
            // The deletions made so far stay.
            stripper.finish();
            RunResult stopped = RunResult::stopped();
            stopped.lines = std::move(lines);
            return stopped;
        }
        if (!stripper.next())
            break;
    }
    stripper.finish();
    RunResult result;
    result.lines = std::move(lines);
    if (lineByLine)
        result.caret = CaretPlacement::atEnd();
    return result;
}

} // namespace

FunctionBody stripOut()
{
    return {
        .description = u"Removes every stretch of text from a start text to an end text, both "
                       u"included, even across line breaks; letter case is ignored."_s,
        .panel =
            {
                runButton(),
                common::historyField(kStart, u"Delete (strip out) this data:"_s, 1),
                common::historyField(kEnd, u"to this data:"_s, 2),
                common::tickBox(kLineByLine, u"Line by line."_s),
            },
        .run = run,
        .byteRun = runOnBytes,
        .example = {.title = u"Delete/Strip Out Data (strip out 4 to 6)"_s,
                    .before = u"1234567890\r\n1234567890\r\n12345abc60\r\n1423ab7869"_s,
                    .after = u"1237890\r\n1237890\r\n1230\r\n19"_s,
                    .params = {{kStart, u"4"_s}, {kEnd, u"6"_s}}},
    };
}

} // namespace plintex::columns
