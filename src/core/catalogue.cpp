#include "core/catalogue.h"

#include "ops/columns/deleteretaincolumn.h"
#include "ops/columns/insertintocolumn.h"

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

using E = MenuEntry;

CaretMenuLayout menu(std::initializer_list<CaretMenuItem> items, bool columnBreak = false)
{
    return CaretMenuLayout{QList<CaretMenuItem>(items), columnBreak};
}

const CaretMenuLayout kRowsOnly = menu({{E::BeginRow}, {E::EndRow}});

QList<FunctionSpec> buildCatalogue()
{
    // Name, number, drop-down entries, restraint, caret menu, history files, menu layout, body.
    // The order is the order of the function buttons.
    return {
        {u"Add Row"_s, 11, {{0, u"Add Row"_s}}, true, true, {}, kRowsOnly, {}},
        {u"Align Data into Columns"_s,
         32,
         {{1, u"Align Data into Columns"_s}},
         false,
         false,
         {},
         {},
         {}},
        {u"Append Data"_s, 57, {{2, u"Append Data"_s}}, true, true, {3, 4}, kRowsOnly, {}},
        {u"Break Up File"_s, 68, {{3, u"Break Up File"_s}}, false, false, {}, {}, {}},
        {u"Copy/Move a Column"_s,
         75,
         {{4, u"Copy/Move a Column"_s}},
         false,
         true,
         {},
         menu({{E::BeginColumn}, {E::EndColumn}, {E::BeginRow, u"To Column"_s}}),
         {}},
        {u"Delete Leading/Trailing Blanks"_s,
         17,
         {{5, u"Delete Leading/Trailing Blanks"_s}},
         true,
         true,
         {},
         kRowsOnly,
         {}},
        {u"Delete Lines Per Data"_s,
         41,
         {{6, u"Delete Lines Per Data"_s}},
         false,
         false,
         {},
         {},
         {}},
        {u"Delete Row"_s, 3, {{7, u"Delete Row"_s}}, true, true, {}, kRowsOnly, {}},
        {u"Delete/Retain Column"_s,
         2,
         {{8, u"Delete/Retain Column"_s}, {29, u"Retain/Delete Column"_s}},
         true,
         true,
         {},
         menu({{E::BeginColumn}, {E::EndColumn}, {E::BeginRow}, {E::EndRow}}, true),
         columns::deleteRetainColumn()},
        {u"Delete/Retain Line Data"_s,
         65,
         {{9, u"Delete/Retain Line Data"_s}, {30, u"Retain/Delete Line Data"_s}},
         true,
         true,
         {13},
         kRowsOnly,
         {}},
        {u"Delete/Strip Out Data"_s,
         108,
         {{10, u"Delete/Strip Out Data"_s}},
         false,
         false,
         {1, 2},
         {},
         {}},
        {u"Horizontal Concatenation"_s,
         15,
         {{11, u"Horizontal Concatenation"_s}},
         false,
         true,
         {},
         menu({{E::BeginRow, u"Through Row"_s}}),
         {}},
        {u"Html Realign"_s, 1, {{12, u"Html Realign"_s}}, false, false, {}, {}, {}},
        {u"Insert a Column"_s,
         74,
         {{13, u"Insert a Column"_s}},
         false,
         true,
         {},
         menu({{E::BeginColumn}}),
         {}},
        {u"Insert CR"_s, 43, {{14, u"Insert CR"_s}}, false, false, {}, {}, {}},
        {u"Insert Data Per Data"_s,
         67,
         {{15, u"Insert Data Per Data"_s}},
         true,
         true,
         {8, 9},
         kRowsOnly,
         {}},
        {u"Insert Incrementing Letters"_s,
         89,
         {{16, u"Insert Incrementing Letters"_s}},
         true,
         true,
         {},
         menu({{E::BeginColumn}, {E::BeginRow}, {E::EndRow}}, true),
         {}},
        {u"Insert Incrementing Numbers"_s,
         47,
         {{17, u"Insert Incrementing Numbers"_s}},
         true,
         true,
         {},
         menu({{E::BeginColumn}, {E::BeginRow}, {E::EndRow}}, true),
         {}},
        {u"Insert Into Column"_s,
         10,
         {{18, u"Insert Into Column"_s}},
         true,
         true,
         {5},
         menu({{E::BeginColumn}, {E::EndColumn, {}, true}, {E::BeginRow}, {E::EndRow}}, true),
         columns::insertIntoColumn()},
        {u"Insert Lines Per Data"_s,
         27,
         {{19, u"Insert Lines Per Data"_s}},
         false,
         false,
         {},
         {},
         {}},
        {u"Insert Spread Sheet Delimiter"_s,
         79,
         {{20, u"Insert Spread Sheet Delimiter"_s}},
         false,
         true,
         {},
         menu({{E::BeginRow, u"Column Position"_s}}),
         {}},
        {u"Mark Duplicate Lines"_s,
         103,
         {{21, u"Mark Duplicate Lines"_s}},
         false,
         false,
         {},
         {},
         {}},
        {u"Read Me"_s, 56, {{22, u"Read Me"_s}}, false, false, {}, {}, {}},
        {u"Remove Blank Lines"_s, 34, {{23, u"Remove Blank Lines"_s}}, false, false, {}, {}, {}},
        {u"Replace Byte in File"_s,
         87,
         {{24, u"Replace Byte in File"_s}},
         false,
         false,
         {},
         {},
         {}},
        {u"Replace Data with Data List"_s,
         83,
         {{25, u"Replace Data with Data List"_s}},
         false,
         false,
         {12},
         {},
         {}},
        {u"Replace in Column"_s,
         61,
         {{26, u"Replace in Column"_s}},
         false,
         true,
         {6, 7},
         menu({{E::BeginColumn}, {E::EndColumn}}),
         {}},
        {u"Replace Line per Data"_s,
         95,
         {{27, u"Replace Line per Data"_s}},
         true,
         true,
         {10, 11},
         kRowsOnly,
         {}},
        {u"Replicate Data"_s, 107, {{28, u"Replicate Data"_s}}, false, false, {}, {}, {}},
        {u"Shuffle Data"_s,
         100,
         {{31, u"Shuffle Data"_s}},
         false,
         true,
         {},
         menu({{E::BeginRow}}),
         {}},
        {u"Sort Ascending/Descending"_s,
         28,
         {{32, u"Sort Ascending/Descending"_s}},
         false,
         true,
         {},
         menu({{E::BeginColumn}}),
         {}},
        {u"Special Routines"_s, 23, {{33, u"Special Routines"_s}}, false, false, {}, {}, {}},
        {u"Total a Specified Column"_s,
         63,
         {{34, u"Total a Specified Column"_s}},
         true,
         true,
         {14},
         menu({{E::BeginColumn}, {E::EndColumn}, {E::BeginRow}, {E::EndRow}}, true),
         {}},
        {u"Vertical Concatenation"_s,
         31,
         {{35, u"Vertical Concatenation"_s}},
         false,
         true,
         {},
         menu({{E::BeginRow, u"Lower Row"_s}}),
         {}},
    };
}

} // namespace

const QList<FunctionSpec> &catalogue()
{
    static const QList<FunctionSpec> all = buildCatalogue();
    return all;
}

QString FunctionSpec::slug() const
{
    return slugOf(name);
}

const ParamSpec *FunctionSpec::param(const QString &key) const
{
    for (const ParamSpec &p : body.params) {
        if (p.key == key)
            return &p;
    }
    return nullptr;
}

const FunctionSpec *functionByNumber(int number)
{
    for (const FunctionSpec &f : catalogue()) {
        if (f.number == number)
            return &f;
    }
    return nullptr;
}

const FunctionSpec *functionAtEntry(int position)
{
    for (const FunctionSpec &f : catalogue()) {
        for (const DropDownEntry &e : f.entries) {
            if (e.position == position)
                return &f;
        }
    }
    return nullptr;
}

const FunctionSpec *functionByName(QStringView nameOrSlug)
{
    for (const FunctionSpec &f : catalogue()) {
        if (f.slug() == nameOrSlug)
            return &f;
        for (const DropDownEntry &e : f.entries) {
            if (e.caption == nameOrSlug || slugOf(e.caption) == nameOrSlug)
                return &f;
        }
    }
    return nullptr;
}

QStringList dropDownCaptions()
{
    QList<DropDownEntry> all;
    for (const FunctionSpec &f : catalogue())
        all += f.entries;
    std::sort(all.begin(), all.end(), [](const DropDownEntry &a, const DropDownEntry &b) {
        return a.position < b.position;
    });
    QStringList captions;
    for (const DropDownEntry &e : all)
        captions += e.caption;
    return captions;
}

QString slugOf(QStringView text)
{
    QString slug;
    bool pendingDash = false;
    for (const QChar c : text) {
        const QChar lower = c.toLower();
        if ((lower >= u'a' && lower <= u'z') || (lower >= u'0' && lower <= u'9')) {
            if (pendingDash && !slug.isEmpty())
                slug += u'-';
            pendingDash = false;
            slug += lower;
        } else {
            pendingDash = true;
        }
    }
    return slug;
}

QString defaultMenuCaption(MenuEntry entry)
{
    switch (entry) {
    case MenuEntry::BeginColumn:
        return u"Begin Column"_s;
    case MenuEntry::EndColumn:
        return u"End    Column"_s;
    case MenuEntry::BeginRow:
        return u"Begin Row"_s;
    case MenuEntry::EndRow:
        return u"End    Row"_s;
    }
    return {};
}

QList<CaretMenuWrite> caretMenuWrites(const FunctionSpec &function, MenuEntry entry, qint64 row,
                                      qint64 column)
{
    QList<CaretMenuWrite> writes;
    if (entry == MenuEntry::BeginRow)
        writes.append({CaretMenuWrite::Target::RestraintFrom, {}, row});
    if (entry == MenuEntry::EndRow)
        writes.append({CaretMenuWrite::Target::RestraintTo, {}, row});
    for (const CaretMenuTarget &t : function.body.menuTargets) {
        if (t.entry == entry) {
            writes.append({CaretMenuWrite::Target::Param, t.param,
                           t.source == CaretSource::Row ? row : column});
        }
    }
    return writes;
}

} // namespace plintex
