#include "command/optiontable.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace plintex::command {
namespace {

QString quoted(const QString &label)
{
    return u'"' + label + u'"';
}

/// Whether `p` is a box that unlocks a field with no caption of its own.
bool unlocksUncaptionedField(const FunctionEntry &function, const Parameter &p)
{
    const QList<Parameter> params = function.params();
    return p.kind == ParamKind::Flag &&
           std::any_of(params.cbegin(), params.cend(), [&](const Parameter &field) {
               return field.unlockedBy == p.key && field.label.isEmpty();
           });
}

} // namespace

bool takesValue(Option::Kind kind)
{
    using K = Option::Kind;
    return kind == K::Number || kind == K::Text || kind == K::TextFile || kind == K::FromRow ||
           kind == K::ToRow || kind == K::CaretRow || kind == K::CaretColumn || kind == K::Output;
}

QString captionOf(const FunctionEntry &function, const Parameter &p)
{
    const Parameter *box = p.label.isEmpty() ? function.param(p.unlockedBy) : nullptr;
    return box ? box->label : p.label;
}

QList<Option> optionsFor(const FunctionEntry &function)
{
    using K = Option::Kind;
    QList<Option> options;
    // The options of the program's own, not of a field: they set no field value.
    const auto ownOption = [&options](const QString &name, K kind, const QString &help) {
        options.append({name, kind, {}, {}, false, help});
    };
    for (const Parameter &p : function.params()) {
        const ParamKindTraits traits = traitsOf(p.kind);
        // Giving a field that a box unlocks ticks the box: a box beside a field with no caption
        // of its own then needs no option of its own.
        const QString label = captionOf(function, p);
        const QString name = p.option.isEmpty() ? slugOf(label) : p.option;
        if (traits.writtenByRun || p.windowOnly || unlocksUncaptionedField(function, p))
            continue;
        if (traits.isNumber) {
            options.append({name,
                            K::Number,
                            p.key,
                            {},
                            false,
                            quoted(label) + u" (default " + p.defaultValue + u')'});
        } else if (traits.isText) {
            const bool multi = traits.multiLine;
            const QString def =
                !p.defaultFile.isEmpty()
                    ? u"the lines of "_s + p.defaultFile + u" in the program folder, if present"_s
                : p.defaultValue.isEmpty() ? u"empty"_s
                                           : quoted(p.defaultValue);
            QString help = quoted(p.label) + u" (default " + def + u')';
            if (p.kind == ParamKind::FixedList)
                help += u": an entry such as "_s + p.entries.mid(0, 2).join(u", "_s) +
                        (p.anyText ? u", or any text"_s : u", or one character"_s);
            if (traits.namesFile)
                help = quoted(p.label) + u", the file's name"_s;
            options.append({name, K::Text, p.key, {}, multi, help});
            if (traits.fileForm)
                options.append({name + u"-file",
                                K::TextFile,
                                p.key,
                                {},
                                multi,
                                u"the same, read from a file"_s});
        } else if (p.kind == ParamKind::Choice) {
            for (const ChoiceItem &choice : p.choices) {
                options.append({slugOf(choice.caption), K::Choice, p.key, choice.key, false,
                                quoted(choice.caption) +
                                    (choice.key == p.defaultValue ? u" (default)"_s : QString())});
            }
        } else {
            options.append({name, K::FlagOn, p.key, u"1"_s, false,
                            u"tick " + quoted(p.label) +
                                (p.defaultValue == u"1"_s ? u" (default)"_s : QString())});
            if (p.defaultValue == u"1"_s)
                options.append(
                    {u"no-" + name, K::FlagOff, p.key, u"0"_s, false, u"clear " + quoted(p.label)});
        }
    }
    const QList<RunButtonItem> runButtons = function.runButtons();
    if (runButtons.size() > 1) {
        for (const RunButtonItem &b : runButtons)
            options.append({slugOf(b.caption),
                            K::RunButton,
                            {},
                            b.key,
                            false,
                            u"run with " + quoted(b.caption) + u" (give exactly one)"});
    }
    if (function.restraint) {
        ownOption(u"from-row"_s, K::FromRow,
                  u"\"Row:\", first row of the band (default 0: row 1)"_s);
        ownOption(u"to-row"_s, K::ToRow,
                  u"\"To:\", last row of the band (default 0: the last row)"_s);
    }
    if (function.body.readsCaret) {
        ownOption(u"caret-row"_s, K::CaretRow,
                  u"the caret's row, as the status bar shows it (default 1)"_s);
        ownOption(u"caret-column"_s, K::CaretColumn,
                  u"the caret's column, as the status bar shows it (default 1)"_s);
    }
    // A function that streams a file to a file names both in its own options.
    if (function.body.readsText) {
        ownOption(u"output"_s, K::Output,
                  u"write the result to FILE, replacing it only once it is complete"_s);
        ownOption(u"in-place"_s, K::InPlace,
                  u"rewrite FILE with the result, in its own encoding and line ends"_s);
    }
    ownOption(u"help"_s, K::Help, u"show this help"_s);
    return options;
}

} // namespace plintex::command
