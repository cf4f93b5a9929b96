#pragma once

#include "core/run.h"

#include <functional>

namespace plintex {
class OutputFile;
}

namespace plintex::restructure {

/// The bytes a file-to-file run reads at a time: the stop test and the gauge come once per
/// block, and two blocks' worth is all a run holds, whatever the file's size.
constexpr qsizetype kFileBlockSize = qsizetype(1) << 20;

/// The checks the file functions make of their two names, in their order: the same file
/// named twice (however it is written: another path, a link), then a name missing. Nothing
/// when the names may run.
std::optional<RunResult> checkFileNames(const QString &input, const QString &output);

/// Writes one block of the input, which it may change in place, to the output; false when the
/// output cannot be written.
using BlockWriter = std::function<bool(char *block, qsizetype size, OutputFile &output)>;

/// Streams the input file into the output file block by block. The output is written beside
/// its name and takes its place when the run ends, completed or stopped (a stop keeps the
/// blocks written so far); a file that cannot be read or written fails the run with the
/// system's reason and leaves no partial output, an earlier file of that name as it was. The
/// work area and its undo snapshot are never touched.
RunResult streamFile(const QString &input, const QString &output, RunMonitor &monitor,
                     const BlockWriter &writeBlock);

} // namespace plintex::restructure
