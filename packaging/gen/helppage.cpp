#include "documents.h"

using namespace Qt::StringLiterals;

namespace plintex::gen {

QString helpPage(const QList<FunctionView> &functions, const QString &version)
{
    QString out = uR"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Plintex Help</title>
</head>
<body>
<h1>Plintex )"_s + version.toHtmlEscaped() +
                  uR"(</h1>
<p>Load or paste text into the work area, choose a function from the toolbar or the drop-down,
fill in its panel and press its run button. "Undo" brings back the text from before the last
run. Every function also runs from a shell: <code>plintex-cli FUNCTION --help</code>.</p>
<h2>Functions</h2>
)"_s;
    for (const FunctionView &f : functions) {
        out += u"<h3 id=\""_s + f.slug + u"\">"_s + f.name.toHtmlEscaped() + u"</h3>\n"_s;
        if (!f.description.isEmpty())
            out += u"<p>"_s + f.description.toHtmlEscaped() + u"</p>\n"_s;
        out += u"<p>On the command line: <code>plintex-cli "_s + f.slug + u"</code></p>\n<ul>\n"_s;
        for (const OptionView &o : f.options) {
            if (o.label.isEmpty())
                continue;
            out += u"<li><code>--"_s + o.name + (o.takesValue ? u"=&hellip;"_s : QString()) +
                   u"</code> &ldquo;"_s + o.label.toHtmlEscaped() + u"&rdquo;"_s +
                   (o.textFromFile ? u", read from a file"_s : QString()) + u"</li>\n"_s;
        }
        out += u"</ul>\n"_s;
    }
    return out + u"</body>\n</html>\n"_s;
}

} // namespace plintex::gen
