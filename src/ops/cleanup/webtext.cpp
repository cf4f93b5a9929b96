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

void removeQuoteEntities(QString &text)
{
    text.remove(u"&#034;"_s);
}

} // namespace plintex::cleanup
