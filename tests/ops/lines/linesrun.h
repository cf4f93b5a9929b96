#pragma once

#include "ops/registry.h"

#include <QTest>

namespace plintex::testing {

/// A text as the functions see it: its lines, a final line break starting none.
inline QStringList linesOf(const QString &text)
{
    QStringList rows = TextStore::splitRows(text);
    if (!rows.isEmpty() && rows.back().isEmpty())
        rows.removeLast();
    return rows;
}

/// Runs a function by name on a text with "key=value" parameters over the band From..To (both
/// 0: "Auto reset" ticked). Gives the resulting text, or "!" and the refusal's message.
inline QString runOn(const QString &function, const QString &text, const QStringList &params,
                     qint64 from = 0, qint64 to = 0, RunResult *full = nullptr)
{
    const FunctionSpec *f = catalogue().byName(function);
    RunInput input;
    input.lines = linesOf(text);
    input.params = ParamValues::defaults(f->params());
    for (const QString &p : params) {
        const qsizetype eq = p.indexOf(u'=');
        if (p.first(eq) == u"button")
            input.runButton = p.sliced(eq + 1);
        else
            input.params.set(p.first(eq), p.sliced(eq + 1));
    }
    if (input.runButton.isEmpty())
        input.runButton = f->runButtons().front().key;
    input.restraint = {from, to, from == 0 && to == 0};
    SilentMonitor monitor;
    RunResult result = f->body.run(std::move(input), monitor);
    if (full)
        *full = result;
    if (!result.done())
        return u'!' + result.message;
    QString out;
    for (const QString &line : result.lines.value_or(linesOf(text)))
        out += line + u'\n';
    return out;
}

} // namespace plintex::testing
