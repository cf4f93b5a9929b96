#include "settings/listfile.h"

#include "settings/document.h"
#include "settings/settingsnotice.h"
#include "settings/textfile.h"

#include <QFile>
#include <QSaveFile>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace plintex {

QString listFileProblem(const QString &path)
{
    struct stat st;
    // lstat: a link must be seen as a link, not as what it points to.
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    if (S_ISLNK(st.st_mode))
        return path + u" is a symbolic link; settings files must be regular files."_s;
    if (!S_ISREG(st.st_mode))
        return path + u" is not a regular file."_s;
    return {};
}

std::optional<QStringList> readListFile(const QString &path, QString *error)
{
    QString why = listFileProblem(path);
    QFile file(path);
    if (why.isEmpty() && !file.open(QIODevice::ReadOnly))
        why = path + u": "_s + file.errorString();
    QByteArray bytes;
    if (why.isEmpty() && file.size() > kMaxListFileSize)
        why = path + u" is larger than 16 MiB; it is not a settings file."_s;
    if (why.isEmpty()) {
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            why = path + u": "_s + file.errorString();
    }
    if (!why.isEmpty()) {
        if (error)
            *error = why;
        return std::nullopt;
    }
    return rowsToLines(decodeRows(bytes, detectFormat(bytes)));
}

bool writeListFile(const QString &path, const QStringList &entries, QString *error)
{
    QString why;
    if (writeListFileOnRequest(path, entries, &why))
        return true;
    settings::reportWriteFailure(path, why);
    if (error)
        *error = why;
    return false;
}

bool writeListFileOnRequest(const QString &path, const QStringList &entries, QString *error)
{
    QString why = listFileProblem(path);
    if (why.isEmpty()) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            why = file.errorString();
        else
            writeWhole(
                file,
                encodeRows(linesToRows(entries), {TextEncoding::Windows1252, LineEnd::CrLf, {}}),
                &why);
    }
    if (why.isEmpty())
        return true;
    if (error)
        *error = why;
    return false;
}

} // namespace plintex
