#pragma once

#include "ops/lines/matcher.h"

#include <vector>

namespace plintex::lines {

/// A row that takes entry after entry in place of a search text: each entry goes in place of
/// every occurrence (left to right, none overlapping the one before, none cutting a surrogate
/// pair), and the row takes the next entry for as long as it still holds the text, be it inside
/// the entry or formed with the characters around it. The row is kept as pieces of the original
/// row and of the entries, and after the first entry only the places around the last
/// replacements are searched and rebuilt: an entry costs what it changes, not the row's length.
class ReplacedRow {
public:
    explicit ReplacedRow(Finder search);

    /// Starts on `row`; true when it holds the search text.
    bool start(const QString &row);
    /// The occurrences the next entry replaces.
    qint64 occurrences() const { return m_occurrences; }
    /// The row's length in characters, now and after `entry` were put in.
    qint64 length() const { return m_length; }
    qint64 lengthAfter(QStringView entry) const;
    /// The memory, in bytes, the row would take in pieces after `entry` were put in.
    qint64 bytesAfter(QStringView entry) const;
    /// Puts `entry` in place of each occurrence; true when the row still holds the search text.
    /// The entry's characters are not copied: it must stay unchanged while the row is used.
    bool replace(const QString &entry);
    /// The row as it now reads.
    QString text() const;

private:
    struct Piece {
        const QChar *data = nullptr;
        qsizetype size = 0;
        qsizetype prev = 0;
        qsizetype next = 0;
    };
    /// A stretch of whole pieces to search and, when it holds the text, rebuild.
    struct Window {
        qsizetype first = 0;
        qsizetype last = 0;
        qsizetype length = 0;
        QList<qsizetype> matches; ///< where the occurrences start, from the window's start
    };

    qsizetype newPiece(const QChar *data, qsizetype size);
    void freePiece(qsizetype piece);
    void linkAfter(qsizetype at, qsizetype piece);
    /// Splits `piece` so that its last `tail` characters are a piece of their own, which it
    /// gives.
    qsizetype splitTail(qsizetype piece, qsizetype tail);
    /// The occurrences in `text` that start from `lowest` to `highest`.
    QList<qsizetype> find(QStringView text, qsizetype lowest, qsizetype highest) const;
    /// Replaces the window's pieces by the same text with `entry` in place of its occurrences;
    /// appends the pieces of the entry to `copies`.
    void rebuild(const Window &window, const QString &entry, std::vector<qsizetype> &copies);
    /// The windows around the entry's pieces, in order, that hold the search text.
    void findAround(const std::vector<qsizetype> &copies);

    Finder m_search;
    QString m_original;
    std::vector<Piece> m_pieces; ///< piece 0 starts and ends the ring of pieces
    std::vector<qsizetype> m_free;
    qsizetype m_livePieces = 0;
    std::vector<Window> m_windows;
    qint64 m_occurrences = 0;
    qint64 m_length = 0;
    QString m_buffer;
};

} // namespace plintex::lines
