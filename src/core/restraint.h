#pragma once

#include <QString>
#include <QtGlobal>

namespace plintex {

/// The row restraint strip: From and To rows (1-based, 0 = not set) and "Auto reset".
struct RowRestraint {
    qint64 from = 0;
    qint64 to = 0;
    bool autoReset = true;

    friend bool operator==(const RowRestraint &, const RowRestraint &) = default;
};

/// "Auto reset" clears both bounds at the start of every run; without it they stay.
RowRestraint resetRowTo(RowRestraint restraint);

/// Resolves the bounds against a text of `lineCount` lines: From 0 becomes 1, To 0 or past the
/// end becomes the last line. The result is what the strip shows after the run.
RowRestraint resolveRestraint(RowRestraint restraint, qsizetype lineCount);

/// A band needs To strictly greater than From.
bool isValidBand(const RowRestraint &resolved);

QString restraintWarning();

} // namespace plintex
