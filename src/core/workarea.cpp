#include "core/workarea.h"

namespace plintex {

bool WorkAreaFlags::noteTextChange()
{
    if (!firstChange) {
        firstChange = true;
        return false;
    }
    if (processing)
        return false;
    modified = true;
    return true;
}

} // namespace plintex
