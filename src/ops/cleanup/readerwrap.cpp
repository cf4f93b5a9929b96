#include "ops/cleanup/readerwrap.h"

namespace plintex::cleanup {

bool wrapForReader(QStringList lines, QStringList &wrapped, RunMonitor &monitor)
{
    qsizetype width = 55;
    if (!lines.isEmpty() && lines.front().size() >= 55 && lines.front()[54] == u' ')
        width = 54;
    if (monitor.stopRequested())
        return false;
    const bool any = !lines.isEmpty();

    // The joined text S is buf[start..] followed by the lines not taken yet, each line with its
    // blank. Lines are taken (and let go of) only as the cuts reach them, so the text is never
    // held whole twice over.
    QString buf;
    qsizetype start = 0;
    qsizetype next = 0;
    qsizetype after = -1; // in buf: the first blank at or after an earlier place of width
    const auto take = [&] {
        buf += lines[next];
        buf += u' ';
        lines[next++] = QString();
    };
    for (qsizetype count = 1;; ++count) {
        while (buf.size() - start <= width && next < lines.size())
            take();
        if (buf.size() - start <= width)
            break;
        if (monitor.step(double(count)))
            return false;
        const qsizetype atWidth = start + width - 1;
        qsizetype before = atWidth;
        while (before >= start && buf[before] != u' ')
            --before;
        // Still ahead of this line's width, an earlier search's blank is this one's too. Every
        // line taken ends in a blank, so the search never runs past the buffer.
        if (after < atWidth) {
            after = atWidth;
            while (buf[after] != u' ')
                ++after;
        }
        const qsizetype j = before < start ? 0 : before - start + 1; // 0: none up to the width
        const qsizetype k = after - start + 1;
        const qsizetype cut = j > 0 && width - j < k - width ? j : k;
        wrapped.append(buf.sliced(start, cut));
        start += cut;
        if (start > 4096 && start > buf.size() / 2) {
            buf.remove(0, start);
            after -= start;
            start = 0;
        }
    }
    // A text of nothing but cleared lines leaves no line at all.
    if (any)
        wrapped.append(buf.sliced(start));
    return true;
}

} // namespace plintex::cleanup
