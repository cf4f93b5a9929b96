#pragma once

#include <QString>
#include <QStringList>

namespace plintex::history {

/// At most this many entries survive a save.
constexpr int kMaxEntries = 10;

/// The path of comboN.plx in the system folder.
QString filePath(const QString &systemFolder, int number);

/// The entries of a history file, empty ones dropped. A missing file is created empty so that
/// it exists from the first use on; a file that cannot be read or created is an empty list.
QStringList load(const QString &path);

/// Adds the edit text to the list as a save does: a text not yet listed goes first (the
/// comparison is exact and case-sensitive), a listed one keeps its place; then the 11th entry,
/// if any, is dropped (one only) and empty entries are removed. An empty text changes nothing
/// unless `force` is set. Returns false when nothing is to be written.
bool addEntry(QStringList &entries, const QString &text, bool force);

/// Writes the list, creating the system folder if needed. False when it could not be written;
/// a history that cannot be stored is simply not stored.
bool store(const QString &path, const QStringList &entries);

} // namespace plintex::history
