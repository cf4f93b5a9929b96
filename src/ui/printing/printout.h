#pragma once

#include <QStringList>

class QPainter;

namespace plintex {

class RunMonitor;

/// A tab goes to the next multiple of this many columns, as a terminal shows it.
inline constexpr int kPrintTabWidth = 8;

/// A row as printed: tabs turned into blanks up to the next tab column.
QString expandTabs(const QString &row);

/// The printed lines of one row at `columns` characters a line: at least one, a character beyond
/// U+FFFF never split between two.
QStringList wrapRow(const QString &row, int columns);

enum class PrintOutcome {
    Printed,
    Stopped,  ///< the monitor asked to stop: the caller drops the job before ending the painter
    TooLarge, ///< not one character or not one line fits the page at this font size: nothing
              ///< was painted
};

/// Prints the rows in the painter's font (a fixed-pitch one) on the pages of its device, a
/// QPagedPaintDevice that it has begun on, a page number under each page's text. The device's
/// page layout gives the paper and the margins. Progress goes to the monitor row by row, which
/// may stop the printout. The caller ends the painter.
PrintOutcome printRows(const QStringList &rows, QPainter &painter, RunMonitor &monitor);

} // namespace plintex
