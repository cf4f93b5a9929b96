#include "core/restraint.h"

namespace plintex {

RowRestraint resetRowTo(RowRestraint restraint)
{
    if (restraint.autoReset) {
        restraint.from = 0;
        restraint.to = 0;
    }
    return restraint;
}

RowRestraint resolveRestraint(RowRestraint restraint, qsizetype lineCount)
{
    restraint = resetRowTo(restraint);
    if (restraint.from == 0)
        restraint.from = 1;
    if (restraint.to == 0)
        restraint.to = lineCount;
    if (lineCount < restraint.to)
        restraint.to = lineCount;
    return restraint;
}

bool isValidBand(const RowRestraint &resolved)
{
    return resolved.to > resolved.from;
}

QString restraintWarning()
{
    return QStringLiteral("Row restraint To position must\rbe greater than From position.");
}

} // namespace plintex
