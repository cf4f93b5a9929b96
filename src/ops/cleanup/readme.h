#pragma once

#include "core/catalogue.h"

namespace plintex::cleanup {

/// "Read Me": reshapes prose pasted from a web page for a text-to-speech reader.
FunctionBody readMe();

namespace readme {
// The panel's parameters, by the routine's names for them.
inline const QString kList = QStringLiteral("list");
inline const QString kLock = QStringLiteral("lock");
inline const QString kAutoStart = QStringLiteral("autoStart");
inline const QString kTabs = QStringLiteral("tabs");
inline const QString kWeb = QStringLiteral("web");
inline const QString kHtml = QStringLiteral("html");
/// The run of the automatic start upon a paste: the pasted text first loses its dashes
/// followed by a blank, and the text as pasted is what Undo brings back.
inline const QString kPasteRun = QStringLiteral("paste");
/// The automatic start needs a text longer than this.
constexpr qsizetype kAutoStartMinimum = 10;
} // namespace readme

} // namespace plintex::cleanup
