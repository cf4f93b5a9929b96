#pragma once

#include "core/catalogue.h"

namespace plintex::lines {

/// "Replicate Data": the text followed by copies of itself, N copies in all.
FunctionBody replicateData();

/// Whether a text of `lines` lines and `characters` characters can be held `copies` times over
/// in `memory` bytes, each line costing its characters and its place in the list of lines.
bool replicaFits(qint64 lines, qint64 characters, qint64 copies, qint64 memory);

} // namespace plintex::lines
