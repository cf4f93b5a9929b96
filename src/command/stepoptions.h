#pragma once

#include "core/catalogue.h"

#include <QString>
#include <QStringList>

#include <variant>

namespace plintex::command {

/// One run to make: the function, its input file ("" or "-" for standard input) and the values
/// its panel would hold.
struct Invocation {
    const FunctionEntry *function = nullptr;
    QString inputPath;
    ParamValues params;
    RowRestraint restraint;
    TextPosition caret;
    QString runButton;
    QString outputPath; ///< --output, or the input itself with --in-place; "" standard output
    bool inPlace = false;
};

/// Why a function's options could not be read: a usage error, a file that could not be read,
/// or --help asked for.
struct OptionError {
    enum class Kind { Usage, File, Help };
    Kind kind = Kind::Usage;
    QString reason;
};

/// Where the options come from. A shell's command line names the input and output; a step of a
/// recipe names neither, and reads its --NAME-file values from the recipe's own folder only.
struct OptionSource {
    bool recipeStep = false;
    QString folder; ///< a recipe step's: the folder of the recipe file
};

/// A --NAME-file value (and a recipe) longer than this is refused: no field holds so much.
constexpr qint64 kMaxOptionFileSize = 16 << 20;

/// Reads a function's options (the arguments after its name) into the values its panel would
/// hold. Text options given as --NAME-file are read here.
std::variant<Invocation, OptionError> readOptions(const FunctionEntry &function,
                                                  const QStringList &arguments,
                                                  const OptionSource &source = {});

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

/// `plintex-cli FUNCTION --help`: its options with their defaults.
QString functionHelp(const FunctionEntry &function);

} // namespace plintex::command
