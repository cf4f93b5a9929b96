#pragma once

#include <QString>

namespace plintex::cleanup {

/// Removes every em dash followed by a blank, until none is left (a removal can bring a dash
/// and a blank together), then every en dash followed by a blank the same way: what pasted web
/// text gets before "Read Me" starts by itself.
void removeDashBlanks(QString &text);

/// Deletes every "&#034;" (a quotation mark written as an entity).
void removeQuoteEntities(QString &text);

} // namespace plintex::cleanup
