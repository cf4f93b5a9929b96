#include "cli/commandline.h"

#include "core/number.h"
#include "ops/registry.h"
#include "settings/listfile.h"
#include "settings/programfolder.h"
#include "settings/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace plintex::cli {
namespace {

/// One option of a function's command line, generated from its catalogue entry.
struct Option {
    enum class Kind {
        Number,    // a numeric field
        Text,      // a text field
        TextFile,  // the same text field, read from a file
        Choice,    // one radio button
        FlagOn,    // tick a check box
        FlagOff,   // clear a check box ticked by default
        RunButton, // one of several run buttons
        FromRow,
        ToRow,
        CaretRow,
        CaretColumn,
        Output,  // --output: where the result goes
        InPlace, // --in-place: the result replaces the input file
        Help,
    };
    QString name;
    Kind kind;
    QString param;
    QString value;
    bool multiLine = false;
    QString help;
};

bool takesValue(Option::Kind kind)
{
    using K = Option::Kind;
    return kind == K::Number || kind == K::Text || kind == K::TextFile || kind == K::FromRow ||
           kind == K::ToRow || kind == K::CaretRow || kind == K::CaretColumn || kind == K::Output;
}

QString quoted(const QString &label)
{
    return u'"' + label + u'"';
}

/// The caption a parameter goes by: its own, or for a field with none, that of the box beside
/// it that unlocks it ("Replace (length):").
QString captionOf(const FunctionEntry &function, const Parameter &p)
{
    const Parameter *box = p.label.isEmpty() ? function.param(p.unlockedBy) : nullptr;
    return box ? box->label : p.label;
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

QList<Option> optionsFor(const FunctionEntry &function)
{
    using K = Option::Kind;
    QList<Option> options;
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
        options.append({u"from-row"_s,
                        K::FromRow,
                        {},
                        {},
                        false,
                        u"\"Row:\", first row of the band (default 0: row 1)"_s});
        options.append({u"to-row"_s,
                        K::ToRow,
                        {},
                        {},
                        false,
                        u"\"To:\", last row of the band (default 0: the last row)"_s});
    }
    if (function.body.readsCaret) {
        options.append({u"caret-row"_s,
                        K::CaretRow,
                        {},
                        {},
                        false,
                        u"the caret's row, as the status bar shows it (default 1)"_s});
        options.append({u"caret-column"_s,
                        K::CaretColumn,
                        {},
                        {},
                        false,
                        u"the caret's column, as the status bar shows it (default 1)"_s});
    }
    // A function that streams a file to a file names both in its own options.
    if (function.body.readsText) {
        options.append({u"output"_s,
                        K::Output,
                        {},
                        {},
                        false,
                        u"write the result to FILE, replacing it only once it is complete"_s});
        options.append({u"in-place"_s,
                        K::InPlace,
                        {},
                        {},
                        false,
                        u"rewrite FILE with the result, in its own encoding and line ends"_s});
    }
    options.append({u"help"_s, K::Help, {}, {}, false, u"show this help"_s});
    return options;
}

/// The option an argument names: an exact name wins, else an unambiguous prefix; a prefix of
/// both --NAME and --NAME-file means --NAME.
const Option *findOption(const QList<Option> &options, const QString &given, QString *why)
{
    QList<const Option *> matches;
    for (const Option &o : options) {
        if (o.name == given)
            return &o;
        if (o.name.startsWith(given))
            matches.append(&o);
    }
    if (matches.size() == 2 && matches[1]->name == matches[0]->name + u"-file")
        return matches[0];
    if (matches.size() == 1)
        return matches[0];
    if (matches.isEmpty()) {
        *why = u"unknown option --" + given;
    } else {
        QStringList names;
        for (const Option *o : matches)
            names += u"--" + o->name;
        *why = u"option --" + given + u" is ambiguous (" + names.join(u", "_s) + u')';
    }
    return nullptr;
}

std::optional<QString> readOptionFile(const QString &path, bool multiLine, QString *why)
{
    // Any file will do, a pipe from the shell too; only its size is bounded (/dev/zero).
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.read(kMaxOptionFileSize + 1);
        if (file.error() == QFileDevice::NoError && bytes.size() > kMaxOptionFileSize) {
            *why = u"cannot read "_s + path + u": larger than 16 MiB"_s;
            return std::nullopt;
        }
    }
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        *why = u"cannot read "_s + path + u": "_s + file.errorString();
        return std::nullopt;
    }
    QStringList rows = decodeRows(bytes, detectFormat(bytes));
    if (!multiLine && rows.size() == 2 && rows.back().isEmpty())
        rows.removeLast();
    return rows.join(u'\n');
}

/// Whether the option's value names a file: an empty one names none, and is never taken as
/// standard input or the next argument.
bool namesFile(const FunctionEntry &function, const Option &option)
{
    using K = Option::Kind;
    if (option.kind == K::Output || option.kind == K::TextFile)
        return true;
    const Parameter *p = option.param.isEmpty() ? nullptr : function.param(option.param);
    return option.kind == K::Text && p && traitsOf(p->kind).namesFile;
}

/// Sets a field's value; a field that a tick box unlocks ticks that box, and one that a box
/// locks clears it, since giving it says it is wanted.
void setParam(ParamValues &values, const FunctionEntry &function, const QString &key,
              const QString &value)
{
    values.set(key, value);
    const Parameter *p = function.param(key);
    if (p && !p->unlockedBy.isEmpty())
        values.set(p->unlockedBy, u"1"_s);
    if (p && !p->lockedBy.isEmpty())
        values.set(p->lockedBy, u"0"_s);
}

/// The fields not given that take their default from a list file of the program folder: its
/// lines, when the file is there. Empty, or why the file could not be read.
QString readDefaultFiles(ParamValues &values, const FunctionEntry &function,
                         const QSet<QString> &given)
{
    for (const Parameter &p : function.params()) {
        if (p.defaultFile.isEmpty() || given.contains(p.key))
            continue;
        const QString path = programFolder() + u'/' + p.defaultFile;
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            continue;
        QString why;
        const std::optional<QStringList> lines = readListFile(path, &why);
        if (!lines)
            return u"cannot read "_s + why;
        values.set(p.key, lines->join(u'\n'));
    }
    return {};
}

} // namespace

Command parseCommandLine(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return UsageErrorCommand{u"no function given (plintex-cli --list lists them)"_s};
    const QString &first = arguments.front();
    if (first == u"--list"_s)
        return ListCommand{};
    if (first == u"--help"_s || first == u"-h"_s)
        return HelpCommand{};
    if (first == u"--version"_s)
        return VersionCommand{};

    const FunctionEntry *function = catalogue().byName(first);
    if (!function)
        return UsageErrorCommand{u"unknown function \"" + first + u"\" (see plintex-cli --list)"};
    if (!function->isBuilt())
        return UsageErrorCommand{u"the function \"" + function->name +
                                 u"\" is not available on the command line yet"};

    const QList<Option> options = optionsFor(*function);
    RunCommand run;
    run.function = function;
    run.params = ParamValues::defaults(function->params());
    bool inputGiven = false;
    bool onlyPositional = false;
    QSet<QString> choicesGiven;
    QSet<QString> textsGiven;

    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (onlyPositional || !arg.startsWith(u"--"_s) || arg == u"-"_s) {
            if (!onlyPositional && arg.startsWith(u'-') && arg != u"-"_s)
                return UsageErrorCommand{u"unknown option " + arg};
            if (!function->body.readsText)
                return UsageErrorCommand{u"\"" + function->name +
                                         u"\" reads no text from a FILE or standard input: its "
                                         u"files are named by its options (see --help)"};
            if (inputGiven)
                return UsageErrorCommand{u"more than one input file given"_s};
            run.inputPath = arg;
            inputGiven = true;
            continue;
        }
        if (arg == u"--"_s) {
            onlyPositional = true;
            continue;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString given = arg.mid(2, eq < 0 ? -1 : eq - 2);
        QString why;
        if (!function->body.readsText && given == u"in-place"_s)
            return UsageErrorCommand{u"--in-place does not apply to \"" + function->name +
                                     u"\": it writes the output file its options name"};
        const Option *option = findOption(options, given, &why);
        if (!option)
            return UsageErrorCommand{why};

        QString value;
        if (takesValue(option->kind)) {
            if (eq >= 0) {
                value = arg.mid(eq + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return UsageErrorCommand{u"option --" + option->name + u" needs a value"};
            }
        } else if (eq >= 0) {
            return UsageErrorCommand{u"option --" + option->name + u" takes no value"};
        }
        if (value.isEmpty() && namesFile(*function, *option))
            return UsageErrorCommand{u"option --" + option->name + u" needs a file name"};

        using K = Option::Kind;
        switch (option->kind) {
        case K::Number:
        case K::FromRow:
        case K::ToRow:
        case K::CaretRow:
        case K::CaretColumn: {
            if (option->kind == K::Number &&
                function->param(option->param)->kind == ParamKind::SignedNumber) {
                if (!isSignedWholeNumber(value))
                    return UsageErrorCommand{u"option --" + option->name +
                                             u" needs a whole number, not \"" + value + u'"'};
                setParam(run.params, *function, option->param, value);
                break;
            }
            const std::optional<qint64> n = parseWholeNumber(value);
            if (!n)
                return UsageErrorCommand{u"option --" + option->name +
                                         u" needs a whole number >= 0, not \"" + value + u'"'};
            if (option->kind == K::Number) {
                setParam(run.params, *function, option->param, QString::number(*n));
            } else if (option->kind == K::CaretRow || option->kind == K::CaretColumn) {
                // 1-based as shown; the caret record counts from 0.
                const qsizetype at = qsizetype(std::max<qint64>(*n, 1) - 1);
                (option->kind == K::CaretRow ? run.caret.row : run.caret.column) = at;
            } else {
                run.restraint.autoReset = false;
                (option->kind == K::FromRow ? run.restraint.from : run.restraint.to) = *n;
            }
            break;
        }
        case K::TextFile: {
            const std::optional<QString> text = readOptionFile(value, option->multiLine, &why);
            if (!text)
                return FileErrorCommand{why};
            value = *text;
            [[fallthrough]];
        }
        case K::Text:
            if (!option->multiLine && (value.contains(u'\n') || value.contains(u'\r')))
                return UsageErrorCommand{u"option --" + option->name + u" takes one line of text"};
            setParam(run.params, *function, option->param, value);
            textsGiven.insert(option->param);
            break;
        case K::Choice:
            if (choicesGiven.contains(option->param) &&
                run.params.text(option->param) != option->value)
                return UsageErrorCommand{u"--" + option->name + u" and --" +
                                         slugOf(run.params.text(option->param)) +
                                         u" exclude each other"};
            choicesGiven.insert(option->param);
            run.params.set(option->param, option->value);
            break;
        case K::FlagOn:
        case K::FlagOff:
            run.params.set(option->param, option->value);
            break;
        case K::RunButton:
            if (!run.runButton.isEmpty() && run.runButton != option->value)
                return UsageErrorCommand{u"give only one of the run options"_s};
            run.runButton = option->value;
            break;
        case K::Output:
            run.outputPath = value;
            break;
        case K::InPlace:
            run.inPlace = true;
            break;
        case K::Help:
            return HelpCommand{function};
        }
    }

    if (const QString why = readDefaultFiles(run.params, *function, textsGiven); !why.isEmpty())
        return FileErrorCommand{why};
    const QList<RunButtonItem> runButtons = function->runButtons();
    if (runButtons.size() > 1 && run.runButton.isEmpty()) {
        QStringList names;
        for (const RunButtonItem &b : runButtons)
            names += u"--" + slugOf(b.caption);
        return UsageErrorCommand{u"give one of " + names.join(u", "_s)};
    }
    if (run.runButton.isEmpty() && !runButtons.isEmpty())
        run.runButton = runButtons.front().key;
    if (run.inPlace) {
        if (!run.outputPath.isEmpty())
            return UsageErrorCommand{u"--in-place and --output exclude each other"_s};
        if (run.inputPath.isEmpty() || run.inputPath == u"-"_s)
            return UsageErrorCommand{u"--in-place needs an input file"_s};
        run.outputPath = run.inputPath;
    }
    return run;
}

QList<OptionSummary> optionSummary(const FunctionEntry &function)
{
    QList<OptionSummary> summary;
    for (const Option &o : optionsFor(function)) {
        if (o.kind == Option::Kind::Output || o.kind == Option::Kind::InPlace)
            continue; // the manual page tells them once, for every function
        const Parameter *p = o.param.isEmpty() ? nullptr : function.param(o.param);
        const bool isFile = o.kind == Option::Kind::TextFile || (p && traitsOf(p->kind).namesFile);
        QString label = p ? captionOf(function, *p) : QString();
        // Radio and run buttons, the band and the caret are told by their help; only --help
        // itself goes without.
        if (o.kind == Option::Kind::Choice || o.kind == Option::Kind::RunButton ||
            (!p && o.kind != Option::Kind::Help))
            label = o.help;
        summary.append(
            {o.name, takesValue(o.kind), isFile, label, o.help, o.kind == Option::Kind::TextFile});
    }
    return summary;
}

QString functionList()
{
    QString out;
    for (const FunctionEntry &f : catalogue()) {
        if (f.isBuilt())
            out += f.slug().leftJustified(32) + f.name + u'\n';
    }
    return out;
}

QString functionHelp(const FunctionEntry &function)
{
    const bool text = function.body.readsText;
    QString out = u"Usage: plintex-cli " + function.slug() +
                  (text ? u" [OPTION]... [FILE]\n"_s : u" OPTION...\n"_s) + function.name + u": " +
                  function.body.description +
                  (text ? u"\nRuns on the text of FILE (or standard input) and writes the result "
                          u"to standard output.\n\nOptions:\n"_s
                        : u"\nStreams the input file to the output file, both named by options, "
                          u"in blocks of any size.\n\nOptions:\n"_s);
    for (const Option &o : optionsFor(function)) {
        QString left = u"  --" + o.name;
        if (takesValue(o.kind))
            left += o.kind == Option::Kind::TextFile                           ? u"=PATH"_s
                    : o.kind == Option::Kind::Output || namesFile(function, o) ? u"=FILE"_s
                    : o.kind == Option::Kind::Text                             ? u"=TEXT"_s
                                                                               : u"=N"_s;
        out += left.leftJustified(40) + u' ' + o.help + u'\n';
    }
    if (function.restraint)
        out += u"\nGiving --from-row or --to-row clears \"Auto reset\", so the band is used.\n"_s;
    if (function.body.readsText && function.body.rowPass)
        out += u"\nStreams the text a row at a time rather than holding it whole.\n"_s;
    else if (function.body.readsText)
        out += u"\nHolds the whole text in memory: a text too large for that is refused (exit "
               u"status 3).\n"_s;
    return out;
}

QString usage()
{
    return u"Usage: plintex-cli FUNCTION [OPTION]... [FILE]\n"
           u"       plintex-cli --list\n"
           u"       plintex-cli --version\n"
           u"       plintex-cli FUNCTION --help\n\n"
           u"Runs one Plintex function on the text of FILE (or standard input; - is standard\n"
           u"input too) and writes the resulting text to standard output, in the input's\n"
           u"encoding and line ends. --output=FILE writes it to FILE instead and --in-place\n"
           u"rewrites the input file; either replaces the file only once the result is complete.\n"
           u"Exit status: 0 done, 1 refused or stopped, 2 usage error, 3 file error.\n"_s;
}

QString version()
{
    return u"plintex-cli " PLINTEX_VERSION "\n"_s;
}

} // namespace plintex::cli
