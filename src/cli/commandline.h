#pragma once

#include "command/stepoptions.h"

#include <QString>
#include <QStringList>

#include <variant>

namespace plintex::cli {

/// Exit statuses of plintex-cli.
enum ExitStatus { Done = 0, Refused = 1, UsageError = 2, FileError = 3 };

/// One run to make: the function, its input file and the values its panel would hold.
using RunCommand = command::Invocation;

/// `plintex-cli --recipe=FILE [FILE]`: the recipe's steps run in turn on the text of FILE.
struct RecipeCommand {
    QString recipePath;
    QString inputPath;
    QString outputPath; ///< --output, or the input itself with --in-place; "" standard output
    bool inPlace = false;
};

struct ListCommand {};
struct VersionCommand {};
struct HelpCommand {
    const FunctionEntry *function = nullptr; ///< nullptr: the general usage
};
struct UsageErrorCommand {
    QString reason;
};
struct FileErrorCommand {
    QString reason;
};

using Command = std::variant<RunCommand, RecipeCommand, ListCommand, VersionCommand, HelpCommand,
                             UsageErrorCommand, FileErrorCommand>;

using command::kMaxOptionFileSize;

/// Reads the arguments (without the program name) against the catalogue. Text options given
/// as --NAME-file are read here; a file that cannot be read gives a FileErrorCommand.
Command parseCommandLine(const QStringList &arguments);

using command::functionHelp;
using command::OptionSummary;
using command::optionSummary;

/// `plintex-cli --list`: the functions that run, one a line.
QString functionList();
QString usage();
QString version();

} // namespace plintex::cli
