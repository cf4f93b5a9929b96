#include "core/catalogue.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

using E = MenuEntry;

CaretMenuLayout menu(std::initializer_list<CaretMenuItem> items, bool columnBreak = false)
{
    return CaretMenuLayout{QList<CaretMenuItem>(items), columnBreak};
}

} // namespace

QList<FunctionEntry> functionTable()
{
    const CaretMenuLayout kRowsOnly = menu({{E::BeginRow}, {E::EndRow}});
    // In the order of the function buttons.
    return {
        {.name = u"Add Row"_s,
         .number = 11,
         .entry = 0,
         .restraint = true,
         .caretMenu = true,
         .menu = kRowsOnly},
        {.name = u"Align Data into Columns"_s, .number = 32, .entry = 1},
        {.name = u"Append Data"_s,
         .number = 57,
         .entry = 2,
         .restraint = true,
         .caretMenu = true,
         .menu = kRowsOnly},
        {.name = u"Break Up File"_s, .number = 68, .entry = 3},
        {.name = u"Copy/Move a Column"_s,
         .number = 75,
         .entry = 4,
         .caretMenu = true,
         .menu = menu({{E::BeginColumn}, {E::EndColumn}, {E::BeginRow, u"To Column"_s}})},
        {.name = u"Delete Leading/Trailing Blanks"_s,
         .number = 17,
         .entry = 5,
         .restraint = true,
         .caretMenu = true,
         .menu = kRowsOnly},
        {.name = u"Delete Lines Per Data"_s, .number = 41, .entry = 6},
        {.name = u"Delete Row"_s,
         .number = 3,
         .entry = 7,
         .restraint = true,
         .caretMenu = true,
         .menu = kRowsOnly},
        {.name = u"Delete/Retain Column"_s,
         .number = 2,
         .entry = 8,
         .alias = {29, u"Retain/Delete Column"_s},
         .restraint = true,
         .caretMenu = true,
         .menu = menu({{E::BeginColumn}, {E::EndColumn}, {E::BeginRow}, {E::EndRow}}, true)},
        {.name = u"Delete/Retain Line Data"_s,
         .number = 65,
         .entry = 9,
         .alias = {30, u"Retain/Delete Line Data"_s},
         .restraint = true,
         .caretMenu = true,
         .menu = kRowsOnly},
        {.name = u"Delete/Strip Out Data"_s, .number = 108, .entry = 10},
        {.name = u"Horizontal Concatenation"_s,
         .number = 15,
         .entry = 11,
         .caretMenu = true,
         .menu = menu({{E::BeginRow, u"Through Row"_s}})},
        {.name = u"Html Realign"_s, .number = 1, .entry = 12},
        {.name = u"Insert a Column"_s,
         .number = 74,
         .entry = 13,
         .caretMenu = true,
         .menu = menu({{E::BeginColumn}})},
        {.name = u"Insert CR"_s, .number = 43, .entry = 14},
        {.name = u"Insert Data Per Data"_s,
         .number = 67,
         .entry = 15,
         .restraint = true,
         .caretMenu = true,
         .menu = kRowsOnly},
        {.name = u"Insert Incrementing Letters"_s,
         .number = 89,
         .entry = 16,
         .restraint = true,
         .caretMenu = true,
         .menu = menu({{E::BeginColumn}, {E::BeginRow}, {E::EndRow}}, true)},
        {.name = u"Insert Incrementing Numbers"_s,
         .number = 47,
         .entry = 17,
         .restraint = true,
         .caretMenu = true,
         .menu = menu({{E::BeginColumn}, {E::BeginRow}, {E::EndRow}}, true)},
        {.name = u"Insert Into Column"_s,
         .number = 10,
         .entry = 18,
         .restraint = true,
         .caretMenu = true,
         .menu =
             menu({{E::BeginColumn}, {E::EndColumn, {}, true}, {E::BeginRow}, {E::EndRow}}, true)},
        {.name = u"Insert Lines Per Data"_s, .number = 27, .entry = 19},
        {.name = u"Insert Spread Sheet Delimiter"_s,
         .number = 79,
         .entry = 20,
         .caretMenu = true,
         .menu = menu({{E::BeginRow, u"Column Position"_s}})},
        {.name = u"Mark Duplicate Lines"_s, .number = 103, .entry = 21},
        {.name = u"Read Me"_s, .number = 56, .entry = 22},
        {.name = u"Remove Blank Lines"_s, .number = 34, .entry = 23},
        {.name = u"Replace Byte in File"_s, .number = 87, .entry = 24},
        {.name = u"Replace Data with Data List"_s, .number = 83, .entry = 25},
        {.name = u"Replace in Column"_s,
         .number = 61,
         .entry = 26,
         .caretMenu = true,
         .menu = menu({{E::BeginColumn}, {E::EndColumn}})},
        {.name = u"Replace Line per Data"_s,
         .number = 95,
         .entry = 27,
         .restraint = true,
         .caretMenu = true,
         .menu = kRowsOnly},
        {.name = u"Replicate Data"_s, .number = 107, .entry = 28},
        {.name = u"Shuffle Data"_s,
         .number = 100,
         .entry = 31,
         .caretMenu = true,
         .menu = menu({{E::BeginRow}})},
        {.name = u"Sort Ascending/Descending"_s,
         .number = 28,
         .entry = 32,
         .caretMenu = true,
         .menu = menu({{E::BeginColumn}})},
        {.name = u"Special Routines"_s, .number = 23, .entry = 33},
        {.name = u"Total a Specified Column"_s,
         .number = 63,
         .entry = 34,
         .restraint = true,
         .caretMenu = true,
         .menu = menu({{E::BeginColumn}, {E::EndColumn}, {E::BeginRow}, {E::EndRow}}, true)},
        {.name = u"Vertical Concatenation"_s,
         .number = 31,
         .entry = 35,
         .caretMenu = true,
         .menu = menu({{E::BeginRow, u"Lower Row"_s}})},
    };
}

void bindBody(QList<FunctionEntry> &functions, QStringView name, FunctionBody body)
{
    const QString why = tryBindBody(functions, name, std::move(body));
    if (!why.isEmpty())
        qFatal("%s", qPrintable(why));
}

QString tryBindBody(QList<FunctionEntry> &functions, QStringView name, FunctionBody body)
{
    const auto f = std::find_if(functions.begin(), functions.end(),
                                [name](const FunctionEntry &f) { return f.name == name; });
    if (f == functions.end())
        return u"No function is named "_s + name;
    if (f->isBuilt())
        return name + u" has a body already"_s;
    if (!body.run && !body.rowPass && !body.lineTransform)
        return name + u" has no run routine"_s;
    if (!body.rowPass && body.lineTransform) {
        body.rowPass = [transform = body.lineTransform,
                        bytes = body.byteTransform](const PassStart &start) {
            return bandPass(transform(start.params), start, {},
                            bytes ? bytes(start.params) : ByteTransform());
        };
    }
    if (!body.run && body.rowPass) {
        body.run = [pass = body.rowPass](RunInput input, RunMonitor &monitor) {
            return runRowPass(pass, std::move(input), monitor);
        };
    }
    f->body = std::move(body);
    return {};
}

QString FunctionEntry::slug() const
{
    return slugOf(name);
}

QList<DropDownEntry> FunctionEntry::entries() const
{
    QList<DropDownEntry> all{{entry, name}};
    if (alias.position >= 0)
        all.append(alias);
    return all;
}

QList<Parameter> FunctionEntry::params() const
{
    QList<Parameter> params;
    for (const PanelItem &item : body.panel) {
        if (const auto *p = std::get_if<Parameter>(&item))
            params.append(*p);
    }
    return params;
}

const Parameter *FunctionEntry::param(const QString &key) const
{
    for (const PanelItem &item : body.panel) {
        if (const auto *p = std::get_if<Parameter>(&item); p && p->key == key)
            return p;
    }
    return nullptr;
}

QList<RunButtonItem> FunctionEntry::runButtons() const
{
    QList<RunButtonItem> buttons;
    for (const PanelItem &item : body.panel) {
        if (const auto *b = std::get_if<RunButtonItem>(&item))
            buttons.append(*b);
    }
    return buttons;
}

QList<int> FunctionEntry::histories() const
{
    QList<int> numbers;
    for (const PanelItem &item : body.panel) {
        if (const auto *p = std::get_if<Parameter>(&item); p && p->history > 0)
            numbers.append(p->history);
    }
    return numbers;
}

Catalogue::Catalogue(QList<FunctionEntry> functions) : m_functions(std::move(functions)) {}

const FunctionEntry *Catalogue::byNumber(int number) const
{
    for (const FunctionEntry &f : m_functions) {
        if (f.number == number)
            return &f;
    }
    return nullptr;
}

const FunctionEntry *Catalogue::atEntry(int position) const
{
    for (const FunctionEntry &f : m_functions) {
        if (f.entry == position || f.alias.position == position)
            return &f;
    }
    return nullptr;
}

const FunctionEntry *Catalogue::byName(QStringView nameOrSlug) const
{
    for (const FunctionEntry &f : m_functions) {
        for (const DropDownEntry &e : f.entries()) {
            if (e.caption == nameOrSlug || slugOf(e.caption) == nameOrSlug)
                return &f;
        }
    }
    return nullptr;
}

QStringList Catalogue::dropDownCaptions() const
{
    QList<DropDownEntry> all;
    for (const FunctionEntry &f : m_functions)
        all += f.entries();
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

QString optionOf(const Parameter &param)
{
    return param.option.isEmpty() ? slugOf(param.label) : param.option;
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

QList<FieldWrite> caretMenuWrites(const FunctionEntry &function, MenuEntry entry, qint64 row,
                                  qint64 column)
{
    QList<FieldWrite> writes;
    if (entry == MenuEntry::BeginRow)
        writes.append({FieldWrite::Target::RestraintFrom, {}, QString::number(row)});
    if (entry == MenuEntry::EndRow)
        writes.append({FieldWrite::Target::RestraintTo, {}, QString::number(row)});
    for (const CaretMenuTarget &t : function.body.menuTargets) {
        if (t.entry == entry) {
            writes.append({FieldWrite::Target::Param, t.param,
                           QString::number(t.source == CaretSource::Row ? row : column)});
        }
    }
    return writes;
}

} // namespace plintex
