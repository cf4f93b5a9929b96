#include "ui/printing/printout.h"

#include "core/runmonitor.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

/// How the rows of a text fall onto printed pages in a fixed-pitch font: a row longer than a
/// printed line goes on over the next lines, so nothing is cut off.
struct PrintLayout {
    int columns = 0;      ///< characters on a printed line
    int linesPerPage = 0; ///< printed lines on a page, the page number's line not counted
    qint64 lines = 0;     ///< printed lines of the whole text
    qint64 pages() const
    {
        return linesPerPage > 0 ? (lines + linesPerPage - 1) / linesPerPage : 0;
    }
};

// Where the printed line that starts at `from` ends: `columns` characters on, one less when
// that would part the two halves of a character beyond U+FFFF.
qsizetype lineEnd(QStringView row, qsizetype from, int columns)
{
    qsizetype end = from + columns;
    if (end >= row.size())
        return row.size();
    if (row[end].isLowSurrogate() && end - 1 > from)
        --end;
    return end;
}

qint64 printedLines(QStringView row, int columns)
{
    qint64 lines = 1;
    for (qsizetype from = lineEnd(row, 0, columns); from < row.size();
         from = lineEnd(row, from, columns))
        ++lines;
    return lines;
}

QString asPrinted(const QString &row)
{
    return row.contains(u'\t') ? expandTabs(row) : row;
}

} // namespace

QString expandTabs(const QString &row)
{
    QString out;
    out.reserve(row.size() + kPrintTabWidth);
    for (QChar c : row) {
        if (c == u'\t')
            out.append(QString(kPrintTabWidth - out.size() % kPrintTabWidth, u' '));
        else
            out.append(c);
    }
    return out;
}

QStringList wrapRow(const QString &row, int columns)
{
    if (row.size() <= columns)
        return {row};
    QStringList lines;
    for (qsizetype from = 0; from < row.size();) {
        const qsizetype end = lineEnd(row, from, columns);
        lines.append(row.mid(from, end - from));
        from = end;
    }
    return lines;
}

PrintOutcome printRows(const QStringList &rows, QPainter &painter, RunMonitor &monitor)
{
    QPagedPaintDevice &device = *static_cast<QPagedPaintDevice *>(painter.device());
    // Measured for the device: a printer's resolution is not the screen's.
    const QFontMetricsF metrics(painter.font(), &device);
    const qreal lineHeight = metrics.lineSpacing();
    const qreal charWidth = metrics.horizontalAdvance(u'M');
    const qreal width = device.width();
    // A font's em taller than the page is refused before measuring: the font engines give a
    // small substitute for a size they cannot make.
    const qreal em = painter.font().pointSizeF() * device.logicalDpiY() / 72.0;
    if (em > device.height() || lineHeight <= 0 || charWidth <= 0)
        return PrintOutcome::TooLarge;
    // The last line of the paint area holds the page number, a blank line above it.
    PrintLayout layout;
    layout.columns = int(width / charWidth);
    layout.linesPerPage = int(device.height() / lineHeight) - 2;
    if (layout.columns < 1 || layout.linesPerPage < 1)
        return PrintOutcome::TooLarge;
    for (const QString &row : rows)
        layout.lines += printedLines(asPrinted(row), layout.columns);
    const qint64 pages = std::max<qint64>(1, layout.pages());

    monitor.begin(double(rows.size()), RunMonitor::Gauge::Bar);
    qint64 page = 1;
    int onPage = 0;
    const auto footer = [&] {
        const QString number = u"Page %1 of %2"_s.arg(page).arg(pages);
        const qreal y = (layout.linesPerPage + 1) * lineHeight + metrics.ascent();
        painter.drawText(QPointF(width - metrics.horizontalAdvance(number), y), number);
    };
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (monitor.step(double(i)))
            return PrintOutcome::Stopped;
        for (const QString &line : wrapRow(asPrinted(rows[i]), layout.columns)) {
            if (onPage == layout.linesPerPage) {
                footer();
                device.newPage();
                ++page;
                onPage = 0;
            }
            if (!line.isEmpty())
                painter.drawText(QPointF(0, onPage * lineHeight + metrics.ascent()), line);
            ++onPage;
        }
    }
    footer();
    return PrintOutcome::Printed;
}

} // namespace plintex
