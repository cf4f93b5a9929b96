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
<h2>Runs as commands, and recipes</h2>
<p>"Copy as Command" (beside "Undo", and in the text's right-click menu) puts the last run on
the clipboard as the <code>plintex-cli</code> command that does the same: only the options that
differ from their defaults, with the row band and the caret where the function reads them,
quoted for a POSIX shell (a value with a line break as <code>$'...'</code>).</p>
<p>"Runs" shows every run of the session. Select some and "Save as Recipe..." writes them to a
recipe file; "Run Recipe..." runs a recipe file's steps on the text in turn, as one run with one
gauge and one Undo. From a shell:
<code>plintex-cli --recipe=RECIPE [--output=FILE | --in-place] [FILE]</code>.</p>
<p>A recipe is plain text, easy to edit: one step a line, the function and its options as they
follow <code>plintex-cli</code>, without the input or output file; blank lines and lines
starting with <code>#</code> are left out, and <code>#</code> after a step starts a comment.
Values are quoted as in a POSIX shell (<code>'...'</code>, <code>"..."</code>,
<code>$'...'</code>, a backslash); nothing is expanded. A <code>--NAME-file</code> value is a
file in the recipe's own folder, named relative to it; a recipe reads no other file (not even
the program folder's rmdat.plx). "Break Up File" and "Replace Byte in File" are no recipe
steps.</p>
<p>Every line is checked before any step runs: a line that is no valid step stops the recipe
with the recipe's name and the line (exit status 2). A step that is refused stops it with its
message and line (exit status 1), and nothing is written. An empty recipe changes nothing. A
recipe file that is a FIFO, a folder or larger than 16 MiB is refused. When every step works
row by row, the steps run together as one stream, in little memory whatever the size of the
text; a step that holds the whole text has the text decoded once for all the steps. A step that
shows its result outside the text (a total) has that result printed instead of the text.</p>
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
