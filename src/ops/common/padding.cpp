#include "ops/common/padding.h"

#include <algorithm>

namespace plintex::common {

QString separatorBlanks(qint64 count)
{
    return QString(qsizetype(std::clamp<qint64>(count, 0, kMaxSeparatorBlanks)), u' ');
}

void padTo(QString &text, qsizetype width)
{
    if (text.size() < width)
        text.resize(width, u' ');
}

QStringList symmetrical(QStringList entries)
{
    qsizetype width = 0;
    for (const QString &entry : std::as_const(entries))
        width = std::max(width, entry.size());
    for (QString &entry : entries)
        padTo(entry, width);
    return entries;
}

} // namespace plintex::common
