#pragma once

#include "core/roworder.h"
#include "settings/textfile.h"

#include <QByteArrayView>

#include <functional>
#include <vector>

namespace plintex::cli {

/// A text held as its bytes, cut into lines where it breaks, for a function that only reorders
/// them: rows are decoded only when the function reads them, and written back as the bytes they
/// came as.
class ByteRows {
public:
    /// Learns the text's format as detectFormat() does. `bytes` must outlive this.
    explicit ByteRows(QByteArrayView bytes);

    const TextFormat &format() const { return m_format; }

    /// The lines, as the function reads them.
    RowSource source() const;

    /// Writes the lines in `order` (indexes from source()) through `write`, a piece at a time,
    /// each line followed by the line end of its place: the bytes that decoding the text,
    /// reordering its lines and writing them back in its format would give.
    bool write(const std::vector<qsizetype> &order,
               const std::function<bool(QByteArrayView)> &write) const;

private:
    qsizetype count() const { return qsizetype(m_starts.size()) - 1; }
    /// The bytes of a line, without its break.
    QByteArrayView line(qsizetype row) const;
    /// Cuts a text whose only breaks are LF; false at the first CR. `ascii`, when given, learns
    /// whether every byte is below 0x80.
    bool cutAtLineFeeds(bool *ascii);

    QByteArrayView m_body; // the bytes after the byte-order mark
    TextFormat m_format;
    std::vector<qsizetype> m_starts; ///< where each line starts, then where the text ends
    std::vector<quint8> m_breaks;    ///< the bytes of each line's break, unless all are LF
};

} // namespace plintex::cli
