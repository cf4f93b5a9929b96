#pragma once

#include <QString>

namespace plintex {

/// The folder of the program's own files: $PLINTEX_HOME when set; else the executable's folder
/// when it holds prefs.plx (a portable install, and the build tree); else the user's settings
/// folder, which is filled from the shipped defaults the first time.
QString programFolder();

/// The shipped defaults of an installed program, <prefix>/share/plintex beside <prefix>/bin,
/// when they exist and `folder` is not the executable's own folder (a portable install or the
/// build tree, which keeps its files as they are); else empty.
QString shippedFolderFor(const QString &folder);

/// The help file to open: PlintexHelp.html of `folder`. When `shipped` (see shippedFolderFor)
/// holds one, the folder's copy is first renewed from it unless it is that very file, so that an
/// upgrade never leaves an old help behind; when the copy cannot be renewed (a link in its
/// place, a folder that cannot be written) the shipped file itself is the one to open.
QString helpFile(const QString &folder, const QString &shipped);

/// The history lists' folder, "system" inside the program folder.
QString systemFolder();

} // namespace plintex
