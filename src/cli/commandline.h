#pragma once

#include "core/catalogue.h"

#include <QString>
#include <QStringList>

#include <variant>

namespace plintex::cli {

/// Exit statuses of plintex-cli.
enum ExitStatus { Done = 0, Refused = 1, UsageError = 2, FileError = 3 };

/// One run to make: the function, its input file ("" or "-" for standard input) and the values
/// its panel would hold.
struct RunCommand {
    const FunctionEntry *function = nullptr;
    QString inputPath;
    ParamValues params;
    RowRestraint restraint;
    TextPosition caret;
    QString runButton;
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

using Command = std::variant<RunCommand, ListCommand, VersionCommand, HelpCommand,
                             UsageErrorCommand, FileErrorCommand>;

/// A --NAME-file value longer than this is refused: no field holds so much.
constexpr qint64 kMaxOptionFileSize = 16 << 20;

/// Reads the arguments (without the program name) against the catalogue. Text options given
/// as --NAME-file are read here; a file that cannot be read gives a FileErrorCommand.
Command parseCommandLine(const QStringList &arguments);

/// One option as documentation and shell completion show it.
struct OptionSummary {
    QString name;      ///< without the leading "--"
    bool takesValue;   ///< given as --name=VALUE
    bool valueIsFile;  ///< the value names a file (a --NAME-file form, a file-name field)
    QString label;     ///< what the panel shows for it
    QString help;      ///< as `--help` shows it
    bool textFromFile; ///< the --NAME-file form of a text field
};
/// The options plintex-cli takes for a function, in the order `--help` lists them.
QList<OptionSummary> optionSummary(const FunctionEntry &function);

/// `plintex-cli --list`: the functions that run, one a line.
QString functionList();
/// `plintex-cli FUNCTION --help`: its options with their defaults.
QString functionHelp(const FunctionEntry &function);
QString usage();
QString version();

} // namespace plintex::cli
