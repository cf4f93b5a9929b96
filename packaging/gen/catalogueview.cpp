#include "catalogueview.h"

#include "cli/commandline.h"
#include "ops/registry.h"

namespace plintex::gen {

QList<FunctionView> functionViews()
{
    QList<FunctionView> views;
    for (const FunctionEntry &f : catalogue()) {
        if (!f.isBuilt())
            continue;
        QList<OptionView> options;
        for (const cli::OptionSummary &o : cli::optionSummary(f))
            options.append({o.name, o.takesValue, o.valueIsFile, o.label, o.textFromFile});
        views.append({f.name, f.slug(), f.body.description, options, &f});
    }
    return views;
}

} // namespace plintex::gen
