#pragma once

#include "command/stepoptions.h"

namespace plintex::command {

/// Whom a run is written for. The command line fills a field left out from its list file in
/// the program folder (rmdat.plx); a recipe reads no such file, so it keeps every such value.
enum class WrittenFor { Shell, Recipe };

/// The options that reproduce a run of `run.function` (its input and output aside), each one
/// word quoted for a POSIX shell: only those whose value differs from the command line's
/// default, the band and the caret where the function reads them.
QStringList optionsOf(const Invocation &run, WrittenFor target = WrittenFor::Shell);

/// `text` as one word of a POSIX shell: bare when it is plain, else in single quotes, or as
/// $'...' when it holds a line break or another control character.
QString shellWord(const QString &text);

/// The plintex-cli command line that reproduces the run on standard input.
QString commandLineOf(const Invocation &run);
/// The run as a line of a recipe: the function's name and its options.
QString recipeLineOf(const Invocation &run);

} // namespace plintex::command
