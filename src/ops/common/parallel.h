#pragma once

#include "core/runmonitor.h"

#include <QtGlobal>

#include <functional>

namespace plintex::common {

/// How many threads a run spreads its heavy work over: one a core.
int workerCount();

/// The work of one piece: the items from `begin` up to `end`, on thread `worker` (0 is the
/// calling thread, the others count up from 1 below workerCount()).
using PieceWork = std::function<void(qsizetype begin, qsizetype end, int worker)>;

/// Runs `work` over the items [0, count) in pieces of `piece` items, spread over every core,
/// the calling thread taking pieces too. Between its pieces the calling thread moves the gauge
/// to `gaugeAt` plus `gaugePerItem` for each item done, and asks about a stop: a stop lets the
/// pieces under way end and gives false. An exception from the work (memory running out) comes
/// out of here once every thread has ended.
bool forPieces(qsizetype count, qsizetype piece, const PieceWork &work, RunMonitor &monitor,
               double gaugeAt, double gaugePerItem = 1);

} // namespace plintex::common
