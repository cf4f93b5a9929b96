#pragma once

#include "core/catalogue.h"

#include <QList>
#include <QString>

namespace plintex::command {

/// One option of a function's command line, generated from its catalogue entry.
struct Option {
    enum class Kind {
        Number,    // a numeric field
        Text,      // a text field
        TextFile,  // the same text field, read from a file
        Choice,    // one radio button
        FlagOn,    // tick a check box
        FlagOff,   // clear a check box ticked by default
        RunButton, // one of several run buttons
        FromRow,
        ToRow,
        CaretRow,
        CaretColumn,
        Output,  // --output: where the result goes
        InPlace, // --in-place: the result replaces the input file
        Help,
    };
    QString name;
    Kind kind;
    QString param;
    QString value;
    bool multiLine = false;
    QString help;
};

bool takesValue(Option::Kind kind);

/// The caption a parameter goes by: its own, or for a field with none, that of the box beside
/// it that unlocks it ("Replace (length):").
QString captionOf(const FunctionEntry &function, const Parameter &p);

/// The options of a function, in the order `--help` lists them.
QList<Option> optionsFor(const FunctionEntry &function);

} // namespace plintex::command
