#pragma once

#include "catalogueview.h"

#include <QString>

namespace plintex::gen {

/// The man page's FUNCTIONS section body, in roff.
QString manFunctionList(const QList<FunctionView> &functions);
/// A bash completion script for plintex-cli.
QString bashCompletion(const QList<FunctionView> &functions);
/// The help file that the window's help command opens.
QString helpPage(const QList<FunctionView> &functions, const QString &version);

} // namespace plintex::gen
