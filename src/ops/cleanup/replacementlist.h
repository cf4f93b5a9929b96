#pragma once

#include <QStringList>

namespace plintex::cleanup {

/// One line of the "Read Me" replacement list: the text before its first ";" and the text
/// after it. A line without ";" changes nothing.
struct Replacement {
    QString from;
    QString to;
};
QList<Replacement> replacementsOf(const QStringList &listLines);

/// Applies the replacements in list order, each to the whole text: every occurrence of its
/// *from*, left to right, becomes its *to*, and a *to* that holds its *from* is not searched
/// again. Replacements never reach across a line break.
void applyReplacements(QStringList &lines, const QList<Replacement> &replacements);

} // namespace plintex::cleanup
