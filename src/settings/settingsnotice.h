#pragma once

#include <QString>

#include <functional>

namespace plintex::settings {

/// Where the settings layer's notices go: the window shows them; without a sink they are
/// dropped. Installing a sink starts a new session of notices.
using NoticeSink = std::function<void(const QString &text)>;
void setNoticeSink(NoticeSink sink);

/// Tells, once per session, that settings cannot be saved in the folder of `path`, and why.
void reportWriteFailure(const QString &path, const QString &reason);

/// Tells, once per session and text, that a settings file was refused.
void reportRefusal(const QString &text);

} // namespace plintex::settings
