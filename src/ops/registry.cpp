#include "ops/registry.h"

#include "ops/cleanup/htmlrealign.h"
#include "ops/cleanup/readme.h"
#include "ops/cleanup/specialroutines.h"
#include "ops/columns/aligncolumns.h"
#include "ops/columns/copycolumn.h"
#include "ops/columns/deleteretaincolumn.h"
#include "ops/columns/insertcolumn.h"
#include "ops/columns/insertintocolumn.h"
#include "ops/columns/replaceincolumn.h"
#include "ops/columns/spreadsheetdelimiter.h"
#include "ops/columns/stripout.h"
#include "ops/columns/totalcolumn.h"
#include "ops/lines/addrow.h"
#include "ops/lines/appendreplace.h"
#include "ops/lines/blanks.h"
#include "ops/lines/dataperdata.h"
#include "ops/lines/deleterow.h"
#include "ops/lines/linesperdata.h"
#include "ops/lines/markduplicates.h"
#include "ops/lines/replacewithlist.h"
#include "ops/lines/replicate.h"
#include "ops/lines/shuffle.h"
#include "ops/lines/sort.h"
#include "ops/restructure/breakupfile.h"
#include "ops/restructure/concatenation.h"
#include "ops/restructure/incrementing.h"
#include "ops/restructure/insertcr.h"
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
        bindBody(functions, u"Insert Spread Sheet Delimiter", columns::spreadSheetDelimiter());
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
        bindBody(functions, u"Sort Ascending/Descending", lines::sortAscendingDescending());
        bindBody(functions, u"Shuffle Data", lines::shuffleData());
        bindBody(functions, u"Replicate Data", lines::replicateData());
        bindBody(functions, u"Mark Duplicate Lines", lines::markDuplicateLines());
        bindBody(functions, u"Replace Data with Data List", lines::replaceDataWithDataList());
        bindBody(functions, u"Break Up File", restructure::breakUpFile());
        bindBody(functions, u"Replace Byte in File", restructure::replaceByteInFile());
        bindBody(functions, u"Vertical Concatenation", restructure::verticalConcatenation());
        bindBody(functions, u"Horizontal Concatenation", restructure::horizontalConcatenation());
        bindBody(functions, u"Insert Incrementing Numbers",
                 restructure::insertIncrementingNumbers());
        bindBody(functions, u"Insert Incrementing Letters",
                 restructure::insertIncrementingLetters());
        bindBody(functions, u"Insert CR", restructure::insertCr());
        bindBody(functions, u"Read Me", cleanup::readMe());
        bindBody(functions, u"Html Realign", cleanup::htmlRealign());
        bindBody(functions, u"Special Routines", cleanup::specialRoutines());
        return Catalogue(std::move(functions));
    }();
    return all;
}

} // namespace plintex
