#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace plintex {

/// A settings file larger than this is refused: no list of the program's own comes near it.
constexpr qint64 kMaxListFileSize = 16 << 20;

/// Why a settings file may not be read or written, or empty when it may: it must be a regular
/// file (a missing one will be created), not a symbolic link, FIFO or device, so that nothing
/// outside the program folder is ever written through it. Reading also refuses a file larger
/// than kMaxListFileSize.
QString listFileProblem(const QString &path);

/// The program's own list files (history lists, prefs.plx, rmdat.plx, fdat.plx): one entry per
/// line, taken as it stands. Reading accepts UTF-8, UTF-16 and Windows-1252 and every line end;
/// nothing when the file cannot be read or is refused, with the reason in `error`.
std::optional<QStringList> readListFile(const QString &path, QString *error = nullptr);

/// Writes every entry followed by CR LF, in Windows-1252 when every character fits (so that
/// readers expecting that code page keep working) and in UTF-8 otherwise. The old file is replaced
/// only once the new one is completely written. False when it could not be written; the failure is
/// also reported to the settings notice sink (once per session).
bool writeListFile(const QString &path, const QStringList &entries, QString *error = nullptr);

/// As writeListFile, for a save the user asked for: the caller tells of a failure, every time,
/// so the settings notice stays out of it.
bool writeListFileOnRequest(const QString &path, const QStringList &entries, QString *error);

} // namespace plintex
