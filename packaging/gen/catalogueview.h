#pragma once

#include <QList>
#include <QString>

namespace plintex {
struct FunctionEntry;
}

namespace plintex::gen {

/// One option of a function's command line, as the man page and the completion show it.
struct OptionView {
    QString name;              ///< without the leading "--"
    bool takesValue;           ///< given as --name=VALUE
    bool valueIsFile;          ///< the value names a file
    QString label;             ///< what the panel shows for it
    bool textFromFile = false; ///< the --NAME-file form of a text field
};

/// What the generated documents need of one function.
struct FunctionView {
    QString name;
    QString slug;
    QString description; ///< one sentence; empty while the catalogue has none
    QList<OptionView> options;
    const FunctionEntry *entry = nullptr; ///< its panel and example, for the help file
};

/// The functions that run, in the order of the function buttons.
QList<FunctionView> functionViews();

} // namespace plintex::gen
