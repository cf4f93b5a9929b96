#pragma once

#include "core/run.h"
#include "settings/textfile.h"

#include <QByteArray>

#include <functional>

namespace plintex::cli {

/// Result of streaming a text through a line transform.
struct StreamResult {
    enum class Outcome { Done, Refused, WriteFailed };
    Outcome outcome = Outcome::Done;
    QString message; ///< the refusal's warning
};

/// Runs a line transform over the row restraint's band of a whole input, writing the output in
/// pieces through `write` (false from it ends the run as a write failure). Gives the same text as
/// the function's run routine followed by writing the lines back, without holding more than the
/// input and one piece of output: lines outside the band are copied, lines in it decoded,
/// transformed and encoded one at a time.
StreamResult streamLines(QByteArrayView input, const LineTransform &transform,
                         const QStringList &parameterTexts, RowRestraint restraint,
                         const std::function<bool(QByteArrayView)> &write);

} // namespace plintex::cli
