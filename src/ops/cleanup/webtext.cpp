#include "ops/cleanup/webtext.h"

using namespace Qt::StringLiterals;

namespace plintex::cleanup {
namespace {

/// Removes `dash` followed by a blank until none is left, in one pass: a blank right after a
/// dash that is kept takes the dash away with it, the way a removal joins what was around it.
void removeBefore(QString &text, char16_t dash)
{
    if (!text.contains(dash))
        return;
    QChar *d = text.data();
    qsizetype w = 0;
    for (qsizetype r = 0; r < text.size(); ++r) {
        if (d[r] == u' ' && w > 0 && d[w - 1] == dash)
            --w;
        else
            d[w++] = d[r];
    }
    text.truncate(w);
}

} // namespace

void removeDashBlanks(QString &text)
{
    removeBefore(text, u'\u2014');
    removeBefore(text, u'\u2013');
}

std::optional<QString> removeTags(QStringView text, RunMonitor &monitor)
{
    QString out;
    qsizetype p = 0;
    while (true) {
        const qsizetype a = text.indexOf(u'<', p);
        const qsizetype b = a < 0 ? -1 : text.indexOf(u'>', p);
        if (a < 0 || b < 0 || a >= b)
            break;
        if (monitor.stopRequested())
            return std::nullopt;
        if (out.isEmpty())
            out.reserve(text.size());
        out += text.sliced(p, a - p);
        p = b + 1;
    }
    if (p == 0)
        return text.toString();
    out += text.sliced(p);
    return out;
}

void removeQuoteEntities(QString &text)
{
    text.remove(u"&#034;"_s);
}

} // namespace plintex::cleanup
