#pragma once

#include "command/stepoptions.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace plintex::command {

/// One step of a recipe: a run and the recipe line it was read from (from 1).
struct RecipeStep {
    int line = 0;
    Invocation run;
};

/// Why a recipe cannot run: a line that is no valid step (a usage error), or a file that
/// cannot be read. The message names the recipe and, for a line, the line.
struct RecipeError {
    bool fileError = false;
    QString message;
};

/// Reads a recipe file: one step a line, a function and its options quoted as a POSIX shell
/// would take them, without the program name ("plintex-cli" is allowed in front) and without
/// an input or output file; blank lines and comments (from an unquoted # on) are left out.
/// Every line is checked before any step runs. A FIFO, a folder or a file larger than 16 MiB
/// is refused.
std::variant<QList<RecipeStep>, RecipeError> readRecipe(const QString &path);

/// A line split into words as a POSIX shell splits a simple command: blanks separate words,
/// 'single', "double" and $'ANSI-C' quotes and backslashes quote; an unquoted # starts a
/// comment. Expansions, redirections and command separators are refused, with why.
std::optional<QStringList> shellWords(QStringView line, QString *why);

/// A recipe's text: a comment line naming what it is, then one line a step.
QString recipeText(const QStringList &stepLines);

} // namespace plintex::command
