#pragma once

#include "core/runmonitor.h"

#include <QString>

#include <optional>

namespace plintex::cleanup {

/// Removes every em dash followed by a blank, until none is left (a removal can bring a dash
/// and a blank together), then every en dash followed by a blank the same way: what pasted web
/// text gets before "Read Me" starts by itself.
void removeDashBlanks(QString &text);

/// Deletes the tags from the text: from the first "<" through the first ">" after it, then on
/// from there. A ">" before the next "<" (or a "<" with no ">" after it) ends the removal, and
/// the rest of the text stays as it is. A tag may span line breaks. Nothing when a stop was
/// requested.
std::optional<QString> removeTags(QStringView text, RunMonitor &monitor);

/// Deletes every "&#034;" (a quotation mark written as an entity).
void removeQuoteEntities(QString &text);

} // namespace plintex::cleanup
