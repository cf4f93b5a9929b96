#pragma once

#include "core/runmonitor.h"

#include <QStringList>

#include <optional>

namespace plintex::cleanup {

/// Whether any line holds one of the address endings ".html", ".htm", ".com", ".org", ".net"
/// or ".php?", exactly as written: without one, no address is looked for.
bool holdsAddressEnding(const QStringList &lines);

/// Deletes web addresses as "Read Me" does: the lines are taken one by one into a growing
/// text, and after each one every stretch from "http" or "www" through the nearest ending
/// (".html", ".htm", ".com", ".org", ".net", "php?", tried in that order) is deleted from the
/// whole text, letter case ignored, so that a prefix left on one line is deleted together with
/// everything up to an ending on a later line. A search for one prefix and ending stops at an
/// ending that comes before the prefix. Nothing when a stop was requested.
std::optional<QStringList> deleteWebAddresses(const QStringList &lines, RunMonitor &monitor);

} // namespace plintex::cleanup
