#include "ops/registry.h"

#include "ops/columns/aligncolumns.h"
#include "ops/columns/copycolumn.h"
#include "ops/columns/deleteretaincolumn.h"
#include "ops/columns/insertcolumn.h"
#include "ops/columns/insertintocolumn.h"
#include "ops/columns/replaceincolumn.h"
#include "ops/columns/stripout.h"
#include "ops/columns/totalcolumn.h"
#include "ops/lines/addrow.h"
#include "ops/lines/appendreplace.h"
#include "ops/lines/blanks.h"
#include "ops/lines/dataperdata.h"
#include "ops/lines/deleterow.h"
#include "ops/lines/linesperdata.h"
#include "ops/restructure/breakupfile.h"
#include "ops/restructure/replacebyte.h"

using namespace Qt::StringLiterals;

namespace plintex {

const Catalogue &catalogue()
{
    static const Catalogue all = [] {
        QList<FunctionEntry> functions = functionTable();
        // One line a function: its name and the body its own file builds.
        bindBody(functions, u"Delete/Retain Column", columns::deleteRetainColumn());
        bindBody(functions, u"Insert Into Column", columns::insertIntoColumn());
        bindBody(functions, u"Total a Specified Column", columns::totalColumn());
        bindBody(functions, u"Insert a Column", columns::insertColumn());
        bindBody(functions, u"Copy/Move a Column", columns::copyColumn());
        bindBody(functions, u"Replace in Column", columns::replaceInColumn());
        bindBody(functions, u"Align Data into Columns", columns::alignColumns());
        bindBody(functions, u"Delete/Strip Out Data", columns::stripOut());
        bindBody(functions, u"Add Row", lines::addRow());
        bindBody(functions, u"Delete Row", lines::deleteRow());
        bindBody(functions, u"Remove Blank Lines", lines::removeBlankLines());
        bindBody(functions, u"Delete Leading/Trailing Blanks",
                 lines::deleteLeadingTrailingBlanks());
        bindBody(functions, u"Insert Lines Per Data", lines::insertLinesPerData());
        bindBody(functions, u"Delete Lines Per Data", lines::deleteLinesPerData());
        bindBody(functions, u"Delete/Retain Line Data", lines::deleteRetainLineData());
        bindBody(functions, u"Insert Data Per Data", lines::insertDataPerData());
        bindBody(functions, u"Append Data", lines::appendData());
        bindBody(functions, u"Replace Line per Data", lines::replaceLinePerData());
        bindBody(functions, u"Break Up File", restructure::breakUpFile());
        bindBody(functions, u"Replace Byte in File", restructure::replaceByteInFile());
        return Catalogue(std::move(functions));
    }();
    return all;
}

} // namespace plintex
