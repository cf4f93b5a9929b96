#pragma once

#include "core/rowpass.h"

#include <QByteArrayView>

#include <algorithm>
#include <limits>

namespace plintex::columns {

/// What measuring a text's fields finds: the most fields of a row, the fewest, and the widest
/// field in characters. A row's fields are the runs of characters other than the blank once its
/// ends are trimmed; a row without any has one empty field. Each measure on a cache line of its
/// own: two threads measuring rows apart write to theirs at every field.
struct alignas(64) FieldMeasure {
    qsizetype mostFields = 0;
    qsizetype fewestFields = std::numeric_limits<qsizetype>::max();
    qsizetype width = 0;

    /// The width fields are padded to: a row with fewer fields gets one-character placeholders,
    /// which count towards it.
    qsizetype paddedWidth() const
    {
        return fewestFields < mostFields ? std::max<qsizetype>(width, 1) : width;
    }
    void countRow(qsizetype fields)
    {
        mostFields = std::max(mostFields, fields);
        fewestFields = std::min(fewestFields, fields);
    }
    void fold(const FieldMeasure &other)
    {
        mostFields = std::max(mostFields, other.mostFields);
        fewestFields = std::min(fewestFields, other.fewestFields);
        width = std::max(width, other.width);
    }

    /// Measures the whole rows of `rows` at once, as measuring each row on its own would, and
    /// says so; false, having measured nothing, when a look at the bytes alone is not enough:
    /// a control character other than a LF or a CR before one, or a row too long.
    bool measureRows(const WholeRows &rows);
};

/// Lays the whole rows of `rows` out in columns of `width` at once, as Align lays out each row
/// on its own, appending them to `out` each with its break; false, having appended nothing,
/// where `FieldMeasure::measureRows` is.
bool layOutRows(const WholeRows &rows, qsizetype width, bool right, QByteArray &out);

} // namespace plintex::columns
