#pragma once

#include <QtGlobal>

namespace plintex {

/// The memory, in bytes, that the system can still give the program: what it has available
/// (free or freed at once), within the program's own address-space and data limits. A run that
/// would build more than a share of it refuses before it runs out.
qint64 availableMemory();

} // namespace plintex
