#pragma once

#include "core/systemerror.h"
#include "settings/textfile.h"

#include <QString>
#include <QStringList>

class QSaveFile;

namespace plintex {

/// How documents are read and written: plain text, or RTF for the rich mode.
enum class TextMode { Plain, Rich };

/// A document's text as rows, and how to write it back in plain mode.
struct Document {
    QStringList rows;
    TextFormat format;
};

/// Reads a document. In rich mode an RTF document gives its text; a file that holds no RTF is
/// read as plain text, as in plain mode. On failure `error` says why.
std::optional<Document> readDocument(const QString &path, TextMode mode, QString *error);

/// Writes the rows as plain text in `format`, or in rich mode as an RTF document in the given
/// font. The old file is replaced only once the new one is completely written. On failure
/// `error` says why and the old file is intact.
bool writeDocument(const QString &path, const QStringList &rows, TextMode mode,
                   const TextFormat &format, const QString &fontFamily, int pointSize,
                   QString *error);

/// Writes the bytes and commits the file; on failure `error` holds the system's own reason and
/// the old file is intact.
bool writeWhole(QSaveFile &file, const QByteArray &bytes, QString *error);

} // namespace plintex
