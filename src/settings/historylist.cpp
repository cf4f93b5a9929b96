#include "settings/historylist.h"

#include "settings/listfile.h"
#include "settings/settingsnotice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace plintex::history {
namespace {

void removeEmpty(QStringList &entries)
{
    entries.removeIf([](const QString &e) { return e.isEmpty(); });
}

/// A "system" folder that is a link would lead every history file out of the program folder.
QString folderProblem(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    struct stat st;
    if (::lstat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISLNK(st.st_mode))
        return folder + u" is a symbolic link; the history files must be inside the program "
                        u"folder."_s;
    return {};
}

} // namespace

QString filePath(const QString &systemFolder, int number)
{
    return systemFolder + u"/combo"_s + QString::number(number) + u".plx"_s;
}

QStringList load(const QString &path)
{
    QString why = folderProblem(path);
    if (why.isEmpty())
        why = listFileProblem(path);
    if (why.isEmpty() && !QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        // NewOnly: a link that appeared meanwhile is not followed to create its target.
        QFile created(path);
        created.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        return {};
    }
    std::optional<QStringList> entries;
    if (why.isEmpty())
        entries = readListFile(path, &why);
    if (!entries) {
        settings::reportRefusal(why);
        return {};
    }
    removeEmpty(*entries);
    return *entries;
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
    const QString folder = QFileInfo(path).absolutePath();
    QString why = folderProblem(path);
    if (why.isEmpty() && !QDir().mkpath(folder))
        why = u"The folder cannot be created."_s;
    if (!why.isEmpty()) {
        settings::reportWriteFailure(path, why);
        return false;
    }
    return writeListFile(path, entries);
}

} // namespace plintex::history
