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
        out += u'\n';
        QStringList options;
        for (const OptionView &o : f.options) {
            QString shown = u"\\fB\\-\\-"_s + roff(o.name) + u"\\fR"_s;
            if (o.takesValue)
                shown += o.valueIsFile ? u"=\\fIFILE\\fR"_s : u"=\\fIVALUE\\fR"_s;
            options += shown;
        }
        out += u".br\nOptions: "_s + options.join(u", "_s) + u".\n"_s;
    }
    return out;
}

} // namespace plintex::gen
