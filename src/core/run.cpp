#include "core/run.h"

namespace plintex {

RunResult RunResult::refused(QString message, bool undoTaken)
{
    RunResult result;
    result.outcome = Outcome::Refused;
    result.message = std::move(message);
    result.undoTaken = undoTaken;
    result.saveHistories = false;
    return result;
}

RunResult RunResult::stopped()
{
    RunResult result;
    result.outcome = Outcome::Stopped;
    result.saveHistories = false;
    return result;
}

RunResult RunResult::failed(QString message, bool undoTaken)
{
    RunResult result = refused(std::move(message), undoTaken);
    result.outcome = Outcome::Failed;
    return result;
}

void RunResult::writeBack(const RowRestraint &band)
{
    fields.append({FieldWrite::Target::RestraintFrom, {}, QString::number(band.from)});
    fields.append({FieldWrite::Target::RestraintTo, {}, QString::number(band.to)});
}

BandCheck checkBand(const RowRestraint &restraint, qsizetype lineCount)
{
    BandCheck check;
    check.band = resolveRestraint(restraint, lineCount);
    if (!isValidBand(check.band)) {
        check.refusal = RunResult::refused(restraintWarning());
        check.refusal->writeBack(check.band);
    }
    return check;
}

} // namespace plintex
