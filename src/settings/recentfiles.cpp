#include "settings/recentfiles.h"

#include "settings/listfile.h"
#include "settings/settingsnotice.h"

#include <QFileInfo>

namespace plintex::recent {
namespace {

void removeLaterCopiesOfFirst(QStringList &entries)
{
    for (qsizetype i = entries.size() - 1; i >= 1; --i) {
        if (entries[i] == entries.front())
            entries.removeAt(i);
    }
}

} // namespace

QStringList load(const QString &path)
{
    QString why;
    std::optional<QStringList> entries = readListFile(path, &why);
    if (!entries && !listFileProblem(path).isEmpty())
        settings::reportRefusal(why);
    return entries.value_or(QStringList());
}

bool store(const QString &path, const QStringList &entries)
{
    return writeListFile(path, entries);
}

QStringList withOpened(QStringList entries, const QString &file)
{
    entries.prepend(file);
    removeLaterCopiesOfFirst(entries);
    if (entries.size() > kMaxEntries)
        entries.removeAt(kMaxEntries);
    return entries;
}

QStringList offered(QStringList entries, const std::function<bool(const QString &)> &exists)
{
    for (qsizetype i = entries.size() - 1; i >= 0; --i) {
        if (!exists(entries[i]))
            entries.removeAt(i);
    }
    if (!entries.isEmpty())
        removeLaterCopiesOfFirst(entries);
    return entries;
}

QStringList movedToTop(QStringList entries, qsizetype index)
{
    if (index < 0 || index >= entries.size())
        return entries;
    entries.move(index, 0);
    return entries;
}

} // namespace plintex::recent
