#include "ops/registry.h"

#include "ops/columns/deleteretaincolumn.h"
#include "ops/columns/insertintocolumn.h"
#include "ops/columns/totalcolumn.h"

using namespace Qt::StringLiterals;

namespace plintex {

const Catalogue &catalogue()
{
    static const Catalogue all = [] {
        QList<FunctionSpec> functions = functionTable();
        // One line a function: its name and the body its own file builds.
        bindBody(functions, u"Delete/Retain Column", columns::deleteRetainColumn());
        bindBody(functions, u"Insert Into Column", columns::insertIntoColumn());
        bindBody(functions, u"Total a Specified Column", columns::totalColumn());
        return Catalogue(std::move(functions));
    }();
    return all;
}

} // namespace plintex
