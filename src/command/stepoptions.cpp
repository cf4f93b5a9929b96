#include "command/stepoptions.h"

#include "command/optiontable.h"
#include "core/number.h"
#include "settings/listfile.h"
#include "settings/programfolder.h"
#include "settings/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace plintex::command {
namespace {

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

/// A recipe's --NAME-file value: a relative path that stays inside the recipe's folder, links
/// followed, naming a regular file. A recipe shared with others reads nothing else.
std::optional<QString> pathInRecipeFolder(const QString &folder, const QString &value, QString *why)
{
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QFileInfo file(QDir(folder).filePath(value));
    if (!QDir::isAbsolutePath(value) && !file.exists()) {
        *why = u"cannot read "_s + value + u": no such file in the recipe's folder"_s;
        return std::nullopt;
    }
    const QString resolved = file.canonicalFilePath();
    if (QDir::isAbsolutePath(value) || root.isEmpty() ||
        !(resolved.startsWith(root + u'/') || (root == u"/"_s && !resolved.isEmpty()))) {
        *why = u"cannot read "_s + value +
               u": a recipe reads only files in its own folder, named relative to it"_s;
        return std::nullopt;
    }
    if (!file.isFile()) {
        *why = u"cannot read "_s + value + u": it is not a regular file"_s;
        return std::nullopt;
    }
    return resolved;
}

} // namespace

std::variant<Invocation, OptionError>
readOptions(const FunctionEntry &function, const QStringList &arguments, const OptionSource &source)
{
    const auto usage = [](QString reason) {
        return OptionError{OptionError::Kind::Usage, std::move(reason)};
    };
    const auto fileError = [](QString reason) {
        return OptionError{OptionError::Kind::File, std::move(reason)};
    };
    const QList<Option> options = optionsFor(function);
    Invocation run;
    run.function = &function;
    run.params = ParamValues::defaults(function.params());
    bool inputGiven = false;
    bool onlyPositional = false;
    QSet<QString> choicesGiven;
    QSet<QString> textsGiven;

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (onlyPositional || !arg.startsWith(u"--"_s) || arg == u"-"_s) {
            if (source.recipeStep)
                return usage(u"a recipe step names no file (\"" + arg +
                             u"\"): the recipe runs on the FILE it is given"_s);
            if (!onlyPositional && arg.startsWith(u'-') && arg != u"-"_s)
                return usage(u"unknown option " + arg);
            if (!function.body.readsText)
                return usage(u"\"" + function.name +
                             u"\" reads no text from a FILE or standard input: its "
                             u"files are named by its options (see --help)");
            if (inputGiven)
                return usage(u"more than one input file given"_s);
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
        if (!function.body.readsText && given == u"in-place"_s)
            return usage(u"--in-place does not apply to \"" + function.name +
                         u"\": it writes the output file its options name");
        const Option *option = findOption(options, given, &why);
        if (!option)
            return usage(why);

        QString value;
        if (takesValue(option->kind)) {
            if (eq >= 0) {
                value = arg.mid(eq + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return usage(u"option --" + option->name + u" needs a value");
            }
        } else if (eq >= 0) {
            return usage(u"option --" + option->name + u" takes no value");
        }
        if (value.isEmpty() && namesFile(function, *option))
            return usage(u"option --" + option->name + u" needs a file name");

        using K = Option::Kind;
        switch (option->kind) {
        case K::Number:
        case K::FromRow:
        case K::ToRow:
        case K::CaretRow:
        case K::CaretColumn: {
            if (option->kind == K::Number &&
                function.param(option->param)->kind == ParamKind::SignedNumber) {
                if (!isSignedWholeNumber(value))
                    return usage(u"option --" + option->name + u" needs a whole number, not \"" +
                                 value + u'"');
                setParam(run.params, function, option->param, value);
                break;
            }
            const std::optional<qint64> n = parseWholeNumber(value);
            if (!n)
                return usage(u"option --" + option->name + u" needs a whole number >= 0, not \"" +
                             value + u'"');
            if (option->kind == K::Number) {
                setParam(run.params, function, option->param, QString::number(*n));
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
            if (source.recipeStep) {
                const std::optional<QString> path = pathInRecipeFolder(source.folder, value, &why);
                if (!path)
                    return fileError(why);
                value = *path;
            }
            const std::optional<QString> text = readOptionFile(value, option->multiLine, &why);
            if (!text)
                return fileError(why);
            value = *text;
            [[fallthrough]];
        }
        case K::Text:
            if (!option->multiLine && (value.contains(u'\n') || value.contains(u'\r')))
                return usage(u"option --" + option->name + u" takes one line of text");
            setParam(run.params, function, option->param, value);
            textsGiven.insert(option->param);
            break;
        case K::Choice:
            if (choicesGiven.contains(option->param) &&
                run.params.text(option->param) != option->value)
                return usage(u"--" + option->name + u" and --" +
                             slugOf(run.params.text(option->param)) + u" exclude each other");
            choicesGiven.insert(option->param);
            run.params.set(option->param, option->value);
            break;
        case K::FlagOn:
        case K::FlagOff:
            run.params.set(option->param, option->value);
            break;
        case K::RunButton:
            if (!run.runButton.isEmpty() && run.runButton != option->value)
                return usage(u"give only one of the run options"_s);
            run.runButton = option->value;
            break;
        case K::Output:
        case K::InPlace:
        case K::Help:
            if (source.recipeStep)
                return usage(u"--" + option->name + u" is no option of a recipe step"_s);
            if (option->kind == K::Help)
                return OptionError{OptionError::Kind::Help, {}};
            if (option->kind == K::InPlace)
                run.inPlace = true;
            else
                run.outputPath = value;
            break;
        }
    }

    // A recipe reads no file but those its steps name: it runs the same on every machine.
    if (!source.recipeStep) {
        if (const QString why = readDefaultFiles(run.params, function, textsGiven); !why.isEmpty())
            return fileError(why);
    }
    const QList<RunButtonItem> runButtons = function.runButtons();
    if (runButtons.size() > 1 && run.runButton.isEmpty()) {
        QStringList names;
        for (const RunButtonItem &b : runButtons)
            names += u"--" + slugOf(b.caption);
        return usage(u"give one of " + names.join(u", "_s));
    }
    if (run.runButton.isEmpty() && !runButtons.isEmpty())
        run.runButton = runButtons.front().key;
    if (run.inPlace) {
        if (!run.outputPath.isEmpty())
            return usage(u"--in-place and --output exclude each other"_s);
        if (run.inputPath.isEmpty() || run.inputPath == u"-"_s)
            return usage(u"--in-place needs an input file"_s);
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

} // namespace plintex::command
