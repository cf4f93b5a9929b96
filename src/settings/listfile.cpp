#include "settings/listfile.h"

#include "settings/textfile.h"

#include <QFile>
#include <QSaveFile>

namespace plintex {

std::optional<QStringList> readListFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return rowsToLines(decodeRows(bytes, detectFormat(bytes)));
}

bool writeListFile(const QString &path, const QStringList &entries)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(encodeRows(linesToRows(entries), {TextEncoding::Windows1252, LineEnd::CrLf}));
    return file.commit();
}

} // namespace plintex
