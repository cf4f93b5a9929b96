#include "ops/common/trim.h"

namespace plintex::common {

namespace {

bool isTrimmableByte(char c)
{
    return isTrimmable(QChar(uchar(c)));
}

} // namespace

QByteArrayView trimmedStart(QByteArrayView row)
{
    while (!row.isEmpty() && isTrimmableByte(row.front()))
        row = row.sliced(1);
    return row;
}

QByteArrayView trimmedEnd(QByteArrayView row)
{
    while (!row.isEmpty() && isTrimmableByte(row.back()))
        row.chop(1);
    return row;
}

QByteArrayView trimmed(QByteArrayView row)
{
    return trimmedEnd(trimmedStart(row));
}

QStringView trimmed(QStringView row)
{
    qsizetype begin = 0;
    qsizetype end = row.size();
    while (begin < end && isTrimmable(row[begin]))
        ++begin;
    while (end > begin && isTrimmable(row[end - 1]))
        --end;
    return row.sliced(begin, end - begin);
}

void trimLeading(QString &row)
{
    qsizetype i = 0;
    while (i < row.size() && isTrimmable(row[i]))
        ++i;
    if (i > 0)
        row.remove(0, i);
}

void trimTrailing(QString &row)
{
    qsizetype end = row.size();
    while (end > 0 && isTrimmable(row[end - 1]))
        --end;
    if (end < row.size())
        row.truncate(end);
}

bool collapseBlankRuns(QString &row)
{
    const qsizetype from = QStringView(row).indexOf(u"  ");
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

} // namespace plintex::common
