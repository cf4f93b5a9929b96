#pragma once

#include <QString>

namespace plintex {

/// The system's text for an errno value ("No space left on device").
QString systemError(int error);

/// The system's text for an errno value, or `otherwise` when it is 0.
QString systemErrorOr(int error, const QString &otherwise);

} // namespace plintex
