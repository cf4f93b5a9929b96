#include "settings/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

// An installed program keeps its defaults in <prefix>/share/plintex beside <prefix>/bin.
void fillFromShippedDefaults(const QString &folder)
{
    const QDir shipped(QCoreApplication::applicationDirPath() + u"/../share/plintex"_s);
    if (!shipped.exists())
        return;
    QDir().mkpath(folder);
    for (const QString &name : {u"prefs.plx"_s, u"rmdat.plx"_s, u"PlintexHelp.html"_s}) {
        const QString target = folder + u'/' + name;
        // A dangling link "does not exist" too, but copying onto it would write outside.
        if (!QFile::exists(target) && !QFileInfo(target).isSymLink())
            QFile::copy(shipped.filePath(name), target);
    }
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

QString systemFolder()
{
    return programFolder() + u"/system"_s;
}

} // namespace plintex
