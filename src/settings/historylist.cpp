#include "settings/historylist.h"

#include "settings/listfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace plintex::history {
namespace {

void removeEmpty(QStringList &entries)
{
    entries.removeIf([](const QString &e) { return e.isEmpty(); });
}

} // namespace

QString filePath(const QString &systemFolder, int number)
{
    return systemFolder + u"/combo"_s + QString::number(number) + u".plx"_s;
}

QStringList load(const QString &path)
{
    if (!QFile::exists(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile created(path);
        created.open(QIODevice::WriteOnly);
        return {};
    }
    QStringList entries = readListFile(path).value_or(QStringList());
    removeEmpty(entries);
    return entries;
}

bool addEntry(QStringList &entries, const QString &text, bool force)
{
    if (text.isEmpty() && !force)
        return false;
    if (!entries.contains(text, Qt::CaseSensitive))
        entries.prepend(text);
    if (entries.size() > kMaxEntries)
        entries.removeAt(kMaxEntries);
    removeEmpty(entries);
    return true;
}

bool store(const QString &path, const QStringList &entries)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return writeListFile(path, entries);
}

} // namespace plintex::history
