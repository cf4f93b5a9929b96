#include "command/commandwriter.h"

#include "command/optiontable.h"
#include "settings/listfile.h"
#include "settings/programfolder.h"

#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

namespace plintex::command {
namespace {

bool isPlain(const QString &text)
{
    static const QString extra = u"_@%+=:,./-"_s;
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        const bool asciiAlnum = c.unicode() < 128 && c.isLetterOrNumber();
        if (!asciiAlnum && !extra.contains(c))
            return false;
    }
    return true;
}

/// What the command line takes for a field that is not given.
QString commandLineDefault(const Parameter &p, WrittenFor target)
{
    if (p.defaultFile.isEmpty() || target == WrittenFor::Recipe)
        return p.defaultValue;
    const QString path = programFolder() + u'/' + p.defaultFile;
    QString why;
    const std::optional<QStringList> lines =
        QFileInfo::exists(path) ? readListFile(path, &why) : std::nullopt;
    return lines ? lines->join(u'\n') : p.defaultValue;
}

QString valueOf(const Parameter &p, const ParamValues &values)
{
    // A number field left empty reads 0, and "007" is 7.
    return traitsOf(p.kind).isNumber && !traitsOf(p.kind).isSigned
               ? QString::number(values.number(p.key))
               : values.text(p.key);
}

} // namespace

QString shellWord(const QString &text)
{
    if (isPlain(text))
        return text;
    const bool control = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7f;
    });
    if (!control) {
        QString quoted = text;
        return u'\'' + quoted.replace(u"'"_s, u"'\\''"_s) + u'\'';
    }
    QString out = u"$'"_s;
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\n':
            out += u"\\n"_s;
            break;
        case '\r':
            out += u"\\r"_s;
            break;
        case '\t':
            out += u"\\t"_s;
            break;
        case '\\':
            out += u"\\\\"_s;
            break;
        case '\'':
            out += u"\\'"_s;
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += u"\\x"_s + QString::number(c.unicode(), 16).rightJustified(2, u'0');
            else
                out += c;
        }
    }
    return out + u'\'';
}

QStringList optionsOf(const Invocation &run, WrittenFor target)
{
    const FunctionEntry &f = *run.function;
    const ParamValues &values = run.params;
    const QList<Option> options = optionsFor(f);
    // A field that a box unlocks is read only when the box is ticked; giving the field ticks
    // the box, so the box then needs no option of its own.
    QSet<QString> fields;
    QSet<QString> impliedBoxes;
    for (const Option &o : options) {
        const Parameter *p = f.param(o.param);
        if ((o.kind != Option::Kind::Number && o.kind != Option::Kind::Text) || !p)
            continue;
        const bool unlocked = !p->unlockedBy.isEmpty();
        if (unlocked && !values.flag(p->unlockedBy))
            continue;
        const Parameter *box = unlocked ? f.param(p->unlockedBy) : nullptr;
        const bool needed = valueOf(*p, values) != commandLineDefault(*p, target) ||
                            (box && box->defaultValue != u"1"_s);
        if (!needed)
            continue;
        fields.insert(p->key);
        if (box)
            impliedBoxes.insert(box->key);
    }

    QStringList words;
    const auto put = [&](const QString &name, const QString &value) {
        words.append(u"--" + name + u'=' + shellWord(value));
    };
    for (const Option &o : options) {
        const Parameter *p = o.param.isEmpty() ? nullptr : f.param(o.param);
        using K = Option::Kind;
        switch (o.kind) {
        case K::Number:
        case K::Text:
            if (p && fields.contains(p->key))
                put(o.name, valueOf(*p, values));
            break;
        case K::Choice:
            if (p && values.text(p->key) == o.value && o.value != p->defaultValue)
                words.append(u"--" + o.name);
            break;
        case K::FlagOn:
        case K::FlagOff:
            if (p && values.text(p->key) == o.value && o.value != p->defaultValue &&
                !impliedBoxes.contains(p->key))
                words.append(u"--" + o.name);
            break;
        case K::RunButton:
            if (run.runButton == o.value)
                words.append(u"--" + o.name);
            break;
        case K::FromRow:
            if (!run.restraint.autoReset && run.restraint.from != 0)
                put(o.name, QString::number(run.restraint.from));
            break;
        case K::ToRow:
            if (!run.restraint.autoReset && run.restraint.to != 0)
                put(o.name, QString::number(run.restraint.to));
            break;
        case K::CaretRow:
            if (run.caret.row != 0)
                put(o.name, QString::number(run.caret.row + 1));
            break;
        case K::CaretColumn:
            if (run.caret.column != 0)
                put(o.name, QString::number(run.caret.column + 1));
            break;
        case K::TextFile:
        case K::Output:
        case K::InPlace:
        case K::Help:
            break;
        }
    }
    return words;
}

QString commandLineOf(const Invocation &run)
{
    return (QStringList{u"plintex-cli"_s, run.function->slug()} + optionsOf(run)).join(u' ');
}

QString recipeLineOf(const Invocation &run)
{
    return (QStringList{run.function->slug()} + optionsOf(run, WrittenFor::Recipe)).join(u' ');
}

} // namespace plintex::command
