#include "catalogueview.h"

#include "core/catalogue.h"

using namespace Qt::StringLiterals;

namespace plintex::gen {
namespace {

// The options follow plintex-cli's rules: one per label, "-file" forms for text, one flag per
// radio caption, check boxes with their "no-" form, run buttons when there are several, and the
// row band for functions that have it.
QList<OptionView> optionsOf(const FunctionSpec &function)
{
    QList<OptionView> options;
    for (const ParamSpec &p : function.body.params) {
        const QString name = slugOf(p.label);
        switch (p.kind) {
        case ParamKind::Number:
            options.append({name, true, false, p.label});
            break;
        case ParamKind::Text:
        case ParamKind::HistoryText:
        case ParamKind::MultiLineText:
            // A field that asks for a file name by its label takes one.
            options.append({name, true, name.contains(u"file"_s), p.label});
            options.append({name + u"-file"_s, true, true, p.label, true});
            break;
        case ParamKind::Choice:
            for (const QString &choice : p.choices)
                options.append({slugOf(choice), false, false, choice});
            break;
        case ParamKind::Flag:
            options.append({name, false, false, p.label});
            if (p.defaultValue == u"1"_s)
                options.append({u"no-"_s + name, false, false, p.label + u" (clear)"_s});
            break;
        }
    }
    if (function.body.runButtons.size() > 1) {
        for (const RunButtonSpec &b : function.body.runButtons)
            options.append({slugOf(b.caption), false, false, b.caption});
    }
    if (function.restraint) {
        options.append({u"from-row"_s, true, false, u"Row:"_s});
        options.append({u"to-row"_s, true, false, u"To:"_s});
    }
    options.append({u"help"_s, false, false, {}});
    return options;
}

} // namespace

QList<FunctionView> functionViews()
{
    QList<FunctionView> views;
    for (const FunctionSpec &f : catalogue()) {
        if (f.isBuilt())
            views.append({f.name, f.slug(), {}, optionsOf(f)});
    }
    return views;
}

} // namespace plintex::gen
