#pragma once

#include "core/textstore.h"

#include <QFont>
#include <QList>
#include <QTextLayout>

#include <memory>
#include <unordered_map>
#include <vector>

class QPainter;
class QPaintDevice;

namespace plintex {

/// Text being composed by an input method, shown inside its row before it is committed.
struct Preedit {
    qsizetype row = -1;
    qsizetype column = 0;
    QString text;
    QList<QTextLayout::FormatRange> formats; // from the start of the preedit text
    int cursor = 0;                          // within the preedit; -1 hides the caret
    bool isActive() const { return row >= 0 && !text.isEmpty(); }
};

/// Laid-out rows near the view, each as one or more pieces placed side by side.
///
/// Rows up to a few thousand characters are laid out whole; longer ones in pieces, so a row of
/// a million characters costs no more to paint or edit than its visible part (plus, once,
/// measuring the pieces to the left of the view).
class TextPaneLayouts {
public:
    explicit TextPaneLayouts(const TextStore &store) : m_store(store) {}
    ~TextPaneLayouts();

    void setup(const QFont &font, QPaintDevice *device, const QList<qreal> &tabStops);
    void clear() { m_rows.clear(); }
    /// The text of one row changed from a column on, and no row came or went.
    void rowEdited(qsizetype row, qsizetype column);
    void setPreedit(Preedit preedit);
    const Preedit &preedit() const { return m_preedit; }

    qreal xOf(qsizetype row, qsizetype column);
    /// Where the input method's caret stands within the text being composed.
    qreal preeditCaretX();
    qsizetype columnAt(qsizetype row, qreal x);
    /// The column one step left or right on screen, or -1 at that edge of the row.
    qsizetype visualStep(qsizetype row, qsizetype column, bool left);
    bool isRightToLeft(qsizetype row);
    /// The exact width of a row, measuring all of it.
    qreal rowWidth(qsizetype row);

    /// Draws the part of a row between two x positions of the text, selecting the columns
    /// selStart..selEnd; returns the width of the whole row when known, else -1.
    qreal draw(QPainter *painter, qsizetype row, QPointF origin, qreal left, qreal right,
               qsizetype selStart, qsizetype selEnd, const QTextCharFormat &selection);
    /// Forgets rows away from the view, and pieces of long rows away from it sideways.
    void prune(qsizetype firstRow, qsizetype lastRow, qsizetype keptRow, qreal left, qreal right);

    /// Where a tab starting at x ends, and the stops it passes as too close.
    qreal nextTabStop(qreal x, QList<qreal> *skippedStops = nullptr) const;
    /// A character's width on its own, remembered.
    float advance(char32_t c) const;
    /// The sum of the characters' widths, with tabs taken to their stops, from x on.
    qreal estimatedEnd(QStringView text, qreal x, QList<qreal> *skippedStops = nullptr) const;

private:
    struct Chunk {
        qsizetype start = 0;
        qsizetype end = 0;
        qreal x = 0;
        qreal width = -1; // -1: not measured yet
        std::unique_ptr<QTextLayout> layout;
    };
    struct Row {
        std::vector<Chunk> chunks; // never empty; the last ends at the row's end once all known
        bool rightToLeft = false;
        qsizetype index = 0;
    };

    Row &rowEntry(qsizetype row);
    qsizetype chunkEnd(const QString &text, qsizetype start) const;
    bool extend(Row &entry, const QString &text);
    size_t chunkForColumn(Row &entry, const QString &text, qsizetype column);
    size_t chunkForX(Row &entry, const QString &text, qreal x);
    qreal widthOf(Row &entry, Chunk &chunk, const QString &text);
    QTextLayout &layoutOf(Row &entry, Chunk &chunk, const QString &text);
    std::unique_ptr<QTextLayout> makeLayout(const Row &entry, const QString &text,
                                            const Chunk &chunk) const;
    qreal stopAfter(qreal x) const;
    QList<QTextOption::Tab> tabArray(qreal x0, qreal x1, const QList<qreal> &skipped) const;
    // The preedit's place within a piece, or -1 when it is not in that piece.
    qsizetype preeditIn(qsizetype row, const QString &text, const Chunk &chunk) const;
    int toLayout(qsizetype row, const QString &text, const Chunk &chunk, qsizetype column) const;
    qsizetype fromLayout(qsizetype row, const QString &text, const Chunk &chunk, int pos) const;

    const TextStore &m_store;
    QFont m_font;
    QPaintDevice *m_device = nullptr;
    QList<qreal> m_stops;
    qreal m_interval = 64;
    qreal m_widestGap = 64;
    qreal m_minTabWidth = 1; // half a blank: a tab narrower than that looks like none
    Preedit m_preedit;
    std::unordered_map<qsizetype, Row> m_rows;
    mutable std::vector<float> m_advances; // NaN: not asked yet
    mutable std::unordered_map<char32_t, float> m_wideAdvances;
};

/// The width of every row, for the sideways scroll range: exact where that is cheap (rows of
/// plain ASCII in a fixed-pitch font), otherwise summed from character widths and tab stops and
/// made exact by laying out the widest row whenever it is only estimated.
class TextPaneWidths {
public:
    void setup(const QFont &font, QPaintDevice *device, const TextPaneLayouts *layouts);
    void reset(qsizetype rowCount);
    /// `removed` rows from `first` on were replaced by `inserted` rows.
    void rowsReplaced(qsizetype first, qsizetype removed, qsizetype inserted);
    /// A width met while painting; true when it differed from what was known.
    bool setExact(qsizetype row, qreal width);
    qreal widest(const TextStore &store, TextPaneLayouts &layouts);

private:
    float measure(const QString &row) const; // negative when only an estimate
    void forget(qsizetype row);              // before a known width goes
    void take(qsizetype row, float width);

    std::vector<float> m_widths; // NaN: unknown; negative: an estimate of minus that
    std::vector<qsizetype> m_unknown;
    bool m_scan = true;        // unknown widths may be anywhere
    bool m_widestLost = false; // the last row of the widest width changed or went
    float m_widest = 0;
    qsizetype m_widestRow = -1;
    qsizetype m_widestCount = 0;
    float m_asciiAdvance = 0; // 0: ASCII letters differ in width
    const TextPaneLayouts *m_layouts = nullptr;
};

} // namespace plintex
