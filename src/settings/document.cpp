#include "settings/document.h"

#include "core/textstore.h"
#include "settings/rtf.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace plintex {

std::optional<Document> readDocument(const QString &path, TextMode mode, QString *error)
{
    // A FIFO or a device would block or never end: only a regular file is a document.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *error = info.isDir() ? u"It is a folder."_s : u"It is not a regular file."_s;
        return std::nullopt;
    }
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
    TextFormat format = detectFormat(bytes);
    QStringList rows = decodeRows(bytes, format, &format.mixedEnds);
    return Document{std::move(rows), std::move(format)};
}

bool writeWhole(QSaveFile &file, const QByteArray &bytes, QString *error)
{
    // The write's own error ("No space left on device") is the one to report: QFileDevice
    // takes a short write for no error and says "Unknown error" of a failed flush.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        *error = systemErrorOr(errno, file.errorString());
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
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
    return writeWhole(file,
                      mode == TextMode::Rich ? writeRtf(rows.join(u'\n'), fontFamily, pointSize)
                                             : encodeRows(rows, format),
                      error);
}

} // namespace plintex
