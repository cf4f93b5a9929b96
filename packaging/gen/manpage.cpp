#include "documents.h"

using namespace Qt::StringLiterals;

namespace plintex::gen {
namespace {

// Roff reads a backslash as an escape and "-" as a hyphen that may turn into a dash.
QString roff(QString text)
{
    text.replace(u'\\', u"\\e"_s);
    text.replace(u'-', u"\\-"_s);
    if (text.startsWith(u'.') || text.startsWith(u'\''))
        text.prepend(u"\\&"_s);
    return text;
}

} // namespace

QString manFunctionList(const QList<FunctionView> &functions)
{
    QString out;
    for (const FunctionView &f : functions) {
        out += u".TP\n.B "_s + roff(f.slug) + u'\n';
        out += u"\\(lq"_s + roff(f.name) + u"\\(rq"_s;
        if (!f.description.isEmpty())
            out += u": "_s + roff(f.description);
        out += u"\n.RS\n.PD 0\n"_s;
        for (const OptionView &o : f.options) {
            // \% keeps a long option name from being hyphenated.
            out += u".TP\n\\%\\fB\\-\\-"_s + roff(o.name) + u"\\fR"_s;
            if (o.takesValue)
                out += o.valueIsFile ? u"=\\fIFILE\\fR"_s : u"=\\fIVALUE\\fR"_s;
            out += u'\n';
            out += o.label.isEmpty() ? u"show the function's options and their defaults"_s
                                     : u"\\(lq"_s + roff(o.label) + u"\\(rq"_s;
            if (o.textFromFile)
                out += u", read from a file"_s;
            out += u'\n';
        }
        out += u".PD\n.RE\n"_s;
    }
    return out;
}

} // namespace plintex::gen
