#pragma once

#include <QtGlobal>

namespace plintex {

/// The memory, in bytes, that the program may still take: what the system has available, within
/// the limits set on the program (ulimit -v and -d).
qint64 availableMemory();

} // namespace plintex
