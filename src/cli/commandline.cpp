#include "cli/commandline.h"

#include "ops/registry.h"

using namespace Qt::StringLiterals;

namespace plintex::cli {
namespace {

/// --recipe=FILE, then the input FILE, --output=FILE or --in-place (any unambiguous
/// beginning of their names).
Command parseRecipeCommand(const QStringList &arguments)
{
    RecipeCommand recipe;
    bool inputGiven = false;
    bool onlyPositional = false;
    const auto names = {u"recipe"_s, u"output"_s, u"in-place"_s};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (onlyPositional || !arg.startsWith(u"--"_s)) {
            if (!onlyPositional && arg.startsWith(u'-') && arg != u"-"_s)
                return UsageErrorCommand{u"unknown option " + arg};
            if (inputGiven)
                return UsageErrorCommand{u"more than one input file given"_s};
            recipe.inputPath = arg;
            inputGiven = true;
            continue;
        }
        if (arg == u"--"_s) {
            onlyPositional = true;
            continue;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString given = arg.mid(2, eq < 0 ? -1 : eq - 2);
        QString name;
        for (const QString &n : names) {
            if (!given.isEmpty() && n.startsWith(given))
                name = n;
        }
        if (name.isEmpty())
            return UsageErrorCommand{u"unknown option --" + given +
                                     u" (a recipe takes --output and --in-place)"};
        if (name == u"in-place"_s) {
            if (eq >= 0)
                return UsageErrorCommand{u"option --in-place takes no value"_s};
            recipe.inPlace = true;
            continue;
        }
        QString value;
        if (eq >= 0)
            value = arg.mid(eq + 1);
        else if (i + 1 < arguments.size())
            value = arguments[++i];
        else
            return UsageErrorCommand{u"option --" + name + u" needs a value"};
        if (value.isEmpty())
            return UsageErrorCommand{u"option --" + name + u" needs a file name"};
        if (name == u"recipe"_s) {
            if (!recipe.recipePath.isEmpty())
                return UsageErrorCommand{u"give only one --recipe"_s};
            recipe.recipePath = value;
        } else {
            recipe.outputPath = value;
        }
    }
    if (recipe.inPlace) {
        if (!recipe.outputPath.isEmpty())
            return UsageErrorCommand{u"--in-place and --output exclude each other"_s};
        if (recipe.inputPath.isEmpty() || recipe.inputPath == u"-"_s)
            return UsageErrorCommand{u"--in-place needs an input file"_s};
        recipe.outputPath = recipe.inputPath;
    }
    return recipe;
}

} // namespace

Command parseCommandLine(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return UsageErrorCommand{u"no function given (plintex-cli --list lists them)"_s};
    const QString &first = arguments.front();
    if (first == u"--list"_s)
        return ListCommand{};
    if (first == u"--help"_s || first == u"-h"_s)
        return HelpCommand{};
    if (first == u"--version"_s)
        return VersionCommand{};
    if (first.startsWith(u"--recipe"_s) && (first.size() == 8 || first.at(8) == u'='))
        return parseRecipeCommand(arguments);

    const FunctionEntry *function = catalogue().byName(first);
    if (!function)
        return UsageErrorCommand{u"unknown function \"" + first + u"\" (see plintex-cli --list)"};
    if (!function->isBuilt())
        return UsageErrorCommand{u"the function \"" + function->name +
                                 u"\" is not available on the command line yet"};

    auto read = command::readOptions(*function, arguments.mid(1));
    if (auto *run = std::get_if<RunCommand>(&read))
        return std::move(*run);
    const command::OptionError &error = std::get<command::OptionError>(read);
    switch (error.kind) {
    case command::OptionError::Kind::Help:
        return HelpCommand{function};
    case command::OptionError::Kind::File:
        return FileErrorCommand{error.reason};
    case command::OptionError::Kind::Usage:
        break;
    }
    return UsageErrorCommand{error.reason};
}

QString functionList()
{
    QString out;
    for (const FunctionEntry &f : catalogue()) {
        if (f.isBuilt())
            out += f.slug().leftJustified(32) + f.name + u'\n';
    }
    return out;
}

QString usage()
{
    return u"Usage: plintex-cli FUNCTION [OPTION]... [FILE]\n"
           u"       plintex-cli --recipe=RECIPE [--output=FILE | --in-place] [FILE]\n"
           u"       plintex-cli --list\n"
           u"       plintex-cli --version\n"
           u"       plintex-cli FUNCTION --help\n\n"
           u"Runs one Plintex function on the text of FILE (or standard input; - is standard\n"
           u"input too) and writes the resulting text to standard output, in the input's\n"
           u"encoding and line ends. --output=FILE writes it to FILE instead and --in-place\n"
           u"rewrites the input file; either replaces the file only once the result is complete.\n"
           u"\n"
           u"--recipe runs the steps of a recipe file in turn, in one process. A recipe is plain\n"
           u"text: one step a line, a function and its options as they follow \"plintex-cli\"\n"
           u"(quoted as for a POSIX shell), without an input or output file; blank lines and\n"
           u"lines starting with # are left out. A --NAME-file value is read relative to the\n"
           u"recipe's folder, and no file outside it. A line that is not a valid step stops\n"
           u"the recipe before any step runs; a step that is refused stops it with the step's\n"
           u"line, and nothing is written.\n"
           u"Exit status: 0 done, 1 refused or stopped, 2 usage error, 3 file error.\n"_s;
}

QString version()
{
    return u"plintex-cli " PLINTEX_VERSION "\n"_s;
}

} // namespace plintex::cli
