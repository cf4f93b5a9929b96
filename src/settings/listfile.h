#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace plintex {

/// The program's own list files (history lists, prefs.plx, rmdat.plx, fdat.plx): one entry per
/// line, taken as it stands. Reading accepts UTF-8 and Windows-1252 and every line end; nothing
/// when the file cannot be read.
std::optional<QStringList> readListFile(const QString &path);

/// Writes every entry followed by CR LF, in Windows-1252 when every character fits (as the
/// older program wrote them) and in UTF-8 otherwise. The old file is replaced only once the
/// new one is completely written. False when it could not be written.
bool writeListFile(const QString &path, const QStringList &entries);

} // namespace plintex
