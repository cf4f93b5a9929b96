#include "ops/registry.h"

#include "ops/columns/aligncolumns.h"
#include "ops/columns/copycolumn.h"
#include "ops/columns/deleteretaincolumn.h"
#include "ops/columns/insertcolumn.h"
#include "ops/columns/insertintocolumn.h"
#include "ops/columns/replaceincolumn.h"
#include "ops/columns/stripout.h"
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
        bindBody(functions, u"Insert a Column", columns::insertColumn());
        bindBody(functions, u"Copy/Move a Column", columns::copyColumn());
        bindBody(functions, u"Replace in Column", columns::replaceInColumn());
        bindBody(functions, u"Align Data into Columns", columns::alignColumns());
        bindBody(functions, u"Delete/Strip Out Data", columns::stripOut());
        return Catalogue(std::move(functions));
    }();
    return all;
}

} // namespace plintex
