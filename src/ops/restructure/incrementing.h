#pragma once

#include "core/catalogue.h"

namespace plintex::restructure {

/// "Insert Incrementing Numbers": S, S + 1, ... at a column of every E-th row of the band.
FunctionBody insertIncrementingNumbers();

/// "Insert Incrementing Letters": a, b, ..., z, aa, ..., zzz at a column of every E-th row of
/// the band.
FunctionBody insertIncrementingLetters();

/// The letter label at `index` (from 0): a .. z, aa .. zz, aaa .. zzz; empty past the last.
QString letterLabel(qint64 index, bool capitals);

} // namespace plintex::restructure
