#include "settings/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

const QString kHelpName = u"PlintexHelp.html"_s;

QString shippedDefaults()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/../share/plintex"_s);
}

// A copy is the shipped file when it has its size and modification time: renew() gives it both.
bool isCopyOf(const QString &copy, const QString &source)
{
    const QFileInfo c(copy);
    const QFileInfo s(source);
    return c.isFile() && !c.isSymLink() && c.size() == s.size() &&
           c.lastModified() == s.lastModified();
}

// Replaces `target` whole with the shipped file, taking its modification time too. A link in
// its place is left alone: writing through it would write outside the folder.
bool renew(const QString &source, const QString &target)
{
    if (QFileInfo(target).isSymLink())
        return false;
    QFile in(source);
    constexpr qint64 kMaxHelpSize = 16 * 1024 * 1024;
    if (in.size() > kMaxHelpSize || !in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(in.readAll()) != in.size() || !out.commit())
        return false;
    QFile written(target);
    return written.open(QIODevice::ReadWrite) &&
           written.setFileTime(QFileInfo(source).lastModified(), QFileDevice::FileModificationTime);
}

// An installed program keeps its defaults in <prefix>/share/plintex beside <prefix>/bin. The
// settings are the user's once copied; the help is the program's and follows it.
void fillFromShippedDefaults(const QString &folder)
{
    const QDir shipped(shippedDefaults());
    if (!shipped.exists())
        return;
    QDir().mkpath(folder);
    for (const QString &name : {u"prefs.plx"_s, u"rmdat.plx"_s}) {
        const QString target = folder + u'/' + name;
        // A dangling link "does not exist" too, but copying onto it would write outside.
        if (!QFile::exists(target) && !QFileInfo(target).isSymLink())
            QFile::copy(shipped.filePath(name), target);
    }
    helpFile(folder, shipped.path());
}

} // namespace

QString programFolder()
{
    const QString home = qEnvironmentVariable("PLINTEX_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(home);
    const QString exeFolder = QCoreApplication::applicationDirPath();
    if (QFile::exists(exeFolder + u"/prefs.plx"_s))
        return exeFolder;
    const QString user =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/plintex"_s;
    fillFromShippedDefaults(user);
    return user;
}

QString shippedFolderFor(const QString &folder)
{
    const QString shipped = shippedDefaults();
    if (QFileInfo(folder) == QFileInfo(QCoreApplication::applicationDirPath()) ||
        !QFileInfo(shipped).isDir())
        return QString();
    return shipped;
}

QString helpFile(const QString &folder, const QString &shipped)
{
    const QString copy = folder + u'/' + kHelpName;
    if (shipped.isEmpty())
        return copy;
    const QString source = shipped + u'/' + kHelpName;
    if (!QFileInfo(source).isFile() || QFileInfo(copy) == QFileInfo(source) ||
        isCopyOf(copy, source) || renew(source, copy))
        return copy;
    return source;
}

QString systemFolder()
{
    return programFolder() + u"/system"_s;
}

} // namespace plintex
