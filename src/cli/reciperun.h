#pragma once

#include "cli/commandline.h"

namespace plintex::cli {

/// Runs `plintex-cli --recipe=RECIPE [FILE]`: every line is read and checked first, then the
/// steps run in turn on the text, decoded once and encoded once. When every step is a row pass
/// that reads the text once, they run together as one stream in bounded memory. A refused
/// step stops the recipe with its message and line, and nothing is written. Gives the exit
/// status, having told what went wrong on standard error.
int runRecipe(const RecipeCommand &command);

} // namespace plintex::cli
