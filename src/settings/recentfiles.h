#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace plintex::recent {

constexpr int kMaxEntries = 10;

/// The entries of fdat.plx; a missing or unreadable file is an empty list.
QStringList load(const QString &path);
bool store(const QString &path, const QStringList &entries);

/// The list after opening `file` through the open dialog: the file first, later copies of it
/// gone, and the 11th entry, if any, dropped.
QStringList withOpened(QStringList entries, const QString &file);

/// What the recent menu offers: entries whose file is gone are left out, and so are later
/// copies of the first entry.
QStringList offered(QStringList entries, const std::function<bool(const QString &)> &exists);

/// The list after opening its entry `index` from the recent menu: that entry moves to the top.
QStringList movedToTop(QStringList entries, qsizetype index);

} // namespace plintex::recent
