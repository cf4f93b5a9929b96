#include "ops/lines/markduplicates.h"

#include "ops/common/params.h"
#include "ops/common/trim.h"
#include "ops/lines/texttable.h"

#include <memory>

using namespace Qt::StringLiterals;

namespace plintex::lines {
namespace {

const QString kMark = u"mark"_s;
const QString kRemove = u"remove"_s;
const QString kIgnoreBlanks = u"ignoreBlanks"_s;
constexpr QStringView kMarker = u"-->";

// What the table keeps for a trimmed row: seen once, seen more often, or (negative) the number
// of its group once its first row has been marked.
constexpr qint64 kOnce = 1;
constexpr qint64 kMore = 2;

/// The rows grouped by their trimmed text. The groups are those of the rows as they stand, so a
/// row already marked by an earlier run is grouped by its marked text and marked once more only
/// as a member of such a group, never twice in one run.
struct Groups {
    TextTable table;
    QStringList firstRows; ///< the text of each group's first row, by group number - 1
};

PassPlan markPlan(const PassStart &start)
{
    const bool ignoreBlanks = start.params.flag(kIgnoreBlanks);
    auto groups = std::make_shared<Groups>();
    PassPlan plan = planOf([groups, ignoreBlanks](qint64, PassRow &row, PassOutput &out) {
        QString &text = row.text();
        const bool reduced = ignoreBlanks && reduceBlankRuns(text);
        const QStringView key = common::trimmed(text);
        qint64 *seen = key.isEmpty() ? nullptr : groups->table.find(key);
        if (!seen || *seen == kOnce) {
            if (reduced)
                out.keepRewritten();
            else
                out.keep();
            return true;
        }
        if (*seen == kMore) {
            groups->firstRows.append(text);
            *seen = -groups->firstRows.size();
        }
        const qint64 group = -*seen;
        text = QString::number(group) + kMarker + groups->firstRows[group - 1];
        out.keepRewritten();
        return true;
    });
    plan.measure = passOf(
        [groups, ignoreBlanks, scratch = QString()](qint64, PassRow &row, PassOutput &) mutable {
            QStringView text = row.text();
            if (ignoreBlanks && text.contains(u"  ")) {
                scratch.resize(0); // the row itself is only read here
                scratch.append(text);
                reduceBlankRuns(scratch);
                text = scratch;
            }
            const QStringView key = common::trimmed(text);
            if (!key.isEmpty()) {
                qint64 &seen = groups->table[key];
                seen = seen == 0 ? kOnce : kMore;
            }
            return true;
        });
    plan.outputTexts = {kMarker.toString()};
    return plan;
}

PassPlan removeMarkersPlan(const PassStart &)
{
    return planOf([](qint64, PassRow &row, PassOutput &out) {
        QString &text = row.text();
        const qsizetype at = QStringView(text).indexOf(kMarker);
        if (at < 0) {
            out.keep();
        } else {
            text.remove(0, at + kMarker.size());
            out.keepRewritten();
        }
        return true;
    });
}

PassPlan plan(const PassStart &start)
{
    return start.runButton == kRemove ? removeMarkersPlan(start) : markPlan(start);
}

} // namespace

bool reduceBlankRuns(QString &row)
{
    qsizetype from = QStringView(row).indexOf(u"  ");
    if (from < 0)
        return false;
    QChar *data = row.data();
    qsizetype to = from + 1;
    for (qsizetype i = from + 1; i < row.size(); ++i) {
        if (data[i] != u' ' || data[to - 1] != u' ')
            data[to++] = data[i];
    }
    row.truncate(to);
    return true;
}

FunctionBody markDuplicateLines()
{
    const QString before =
        u"Line1 111\r\nLine2 222\r\nLine3 333\r\nLine2 222\r\nLine1 111\r\nLine2 222\r\nLine4 444"_s;
    const QString after = u"1-->Line1 111\r\n2-->Line2 222\r\nLine3 333\r\n2-->Line2 222\r\n"
                          u"1-->Line1 111\r\n2-->Line2 222\r\nLine4 444"_s;
    return {
        .description = u"Puts a group number and \"-->\" before every row whose text, blanks "
                       u"at its ends aside, occurs more than once, or takes such markers off."_s,
        .panel =
            {
                runButton(kMark, u"Mark duplicate lines."_s),
                common::tickBox(kIgnoreBlanks, u"Ignore multiple blanks."_s),
                runButton(kRemove, u"Remove markers."_s),
            },
        .rowPass = plan,
        .example = {.title = u"Mark duplicate lines"_s,
                    .before = before,
                    .after = after + u' ',
                    .runButton = kMark,
                    // The panel's last row ends in a blank that the result does not show.
                    .expected = after},
    };
}

} // namespace plintex::lines
