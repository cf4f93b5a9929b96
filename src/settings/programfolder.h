#pragma once

#include <QString>

namespace plintex {

/// The folder of the program's own files: $PLINTEX_HOME when set; else the executable's folder
/// when it holds prefs.plx (a portable install, and the build tree); else the user's settings
/// folder, which is filled from the shipped defaults the first time.
QString programFolder();

/// The history lists' folder, "system" inside the program folder.
QString systemFolder();

} // namespace plintex
