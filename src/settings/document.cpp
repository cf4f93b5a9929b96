#include "settings/document.h"

#include "core/textstore.h"
#include "settings/rtf.h"

#include <QFile>
#include <QSaveFile>

namespace plintex {

std::optional<Document> readDocument(const QString &path, TextMode mode, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return std::nullopt;
    }
    if (mode == TextMode::Rich && isRtf(bytes))
        return Document{TextStore::splitRows(readRtfText(bytes)), TextFormat{}};
    const TextFormat format = detectFormat(bytes);
    return Document{decodeRows(bytes, format), format};
}

bool writeDocument(const QString &path, const QStringList &rows, TextMode mode,
                   const TextFormat &format, const QString &fontFamily, int pointSize,
                   QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (mode == TextMode::Rich)
        file.write(writeRtf(rows.join(u'\n'), fontFamily, pointSize));
    else
        file.write(encodeRows(rows, format));
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace plintex
