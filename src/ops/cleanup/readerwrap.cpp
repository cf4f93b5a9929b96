#include "ops/cleanup/readerwrap.h"

namespace plintex::cleanup {

bool wrapForReader(const QStringList &lines, QStringList &wrapped, RunMonitor &monitor)
{
    qsizetype width = 55;
    if (!lines.isEmpty() && lines.front().size() >= 55 && lines.front()[54] == u' ')
        width = 54;
    if (monitor.stopRequested())
        return false;
    QString joined;
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 1;
    joined.reserve(size);
    for (const QString &line : lines) {
        joined += line;
        joined += u' ';
    }

    // The text still to cut is joined[start..]; a cut takes its characters 1 to `cut`.
    const QStringView s(joined);
    qsizetype start = 0;
    qsizetype after = -1; // the first blank at or after some earlier place of width; s.size(): none
    for (qsizetype count = 1; s.size() - start > width; ++count) {
        if (monitor.step(double(count)))
            return false;
        const qsizetype atWidth = start + width - 1;
        qsizetype before = atWidth;
        while (before >= start && s[before] != u' ')
            --before;
        // Still ahead of this line's width, an earlier search's blank is this one's too.
        if (after < atWidth) {
            after = atWidth;
            while (after < s.size() && s[after] != u' ')
                ++after;
        }
        const qsizetype j = before - start + 1; // 0: no blank up to the width
        const qsizetype k = after < s.size() ? after - start + 1 : s.size() - start;
        const qsizetype cut = j > 0 && width - j < k - width ? j : k;
        wrapped.append(s.sliced(start, cut).toString());
        start += cut;
    }
    // What a text of nothing but cleared lines leaves is no line at all.
    if (!s.isEmpty())
        wrapped.append(s.sliced(start).toString());
    return true;
}

} // namespace plintex::cleanup
