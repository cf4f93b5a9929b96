#pragma once

#include "core/runmonitor.h"

#include <QStringList>

namespace plintex::cleanup {

/// Joins the lines into one text, every line followed by one blank, and cuts it again into
/// lines of about 55 characters (54 when the first line has a blank at column 55): each cut
/// goes at the nearer blank around that width (after it on a tie), a line keeps its trailing
/// blank, and a stretch without blanks goes whole onto one line. The lines go into `wrapped`
/// as they are cut; false when a stop was requested, `wrapped` then holding the lines cut so
/// far.
bool wrapForReader(const QStringList &lines, QStringList &wrapped, RunMonitor &monitor);

} // namespace plintex::cleanup
