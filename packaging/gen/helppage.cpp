#include "documents.h"

#include "core/catalogue.h"

using namespace Qt::StringLiterals;

namespace plintex::gen {
namespace {

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

QString quoted(const QString &text)
{
    return u"&ldquo;"_s + esc(text) + u"&rdquo;"_s;
}

// The panel's own words for what a control takes.
QString kindOf(const Parameter &p)
{
    switch (p.kind) {
    case ParamKind::Number:
        return u"number"_s;
    case ParamKind::SignedNumber:
        return u"number, may be negative"_s;
    case ParamKind::Text:
        return u"text"_s;
    case ParamKind::HistoryText:
        return u"text; remembers its last ten values"_s;
    case ParamKind::MultiLineText:
        return u"lines of text"_s;
    case ParamKind::Choice: {
        QStringList captions;
        for (const ChoiceItem &c : p.choices)
            captions.append(quoted(c.caption));
        return u"one of "_s + captions.join(u", "_s);
    }
    case ParamKind::Flag:
        return u"check box"_s;
    case ParamKind::FileName:
        return u"file name, with a browse button"_s;
    case ParamKind::FixedList:
        return p.entries.size() > 4 ? u"list of %1 entries, such as %2"_s.arg(p.entries.size())
                                          .arg(quoted(p.entries.mid(0, 2).join(u", "_s)))
                                    : u"list: "_s + esc(p.entries.join(u", "_s));
    case ParamKind::Result:
        return u"result, written by the run"_s;
    }
    return QString();
}

// A value as the panel shows it: a box ticked or not, a radio button by its caption.
QString shown(const Parameter &p, const QString &value)
{
    switch (p.kind) {
    case ParamKind::Flag:
        return value == u"1"_s ? u"ticked"_s : u"not ticked"_s;
    case ParamKind::Choice:
        for (const ChoiceItem &c : p.choices) {
            if (c.key == value)
                return quoted(c.caption);
        }
        return QString();
    default:
        return value.isEmpty() ? u"empty"_s : quoted(value);
    }
}

QString defaultOf(const Parameter &p)
{
    return p.defaultFile.isEmpty() ? shown(p, p.defaultValue)
                                   : u"the lines of "_s + esc(p.defaultFile);
}

QString pre(QString text)
{
    text.replace(u"\r\n"_s, u"\n"_s);
    return u"<pre>"_s + esc(text) + u"</pre>"_s;
}

QString functionSection(const FunctionView &f)
{
    QString out = u"<h3 id=\""_s + f.slug + u"\">"_s + esc(f.name) + u"</h3>\n"_s;
    if (!f.description.isEmpty())
        out += u"<p>"_s + esc(f.description) + u"</p>\n"_s;
    const FunctionEntry &e = *f.entry;
    QString notes;
    if (e.restraint)
        notes +=
            u"It works on the band of rows given by &ldquo;Row:&rdquo; and &ldquo;To:&rdquo;. "_s;
    if (e.caretMenu)
        notes += u"A right click in the text fills its fields from the caret. "_s;
    if (e.body.ownPane)
        notes += u"It works on a copy of the text in a pane of its own, after asking. "_s;
    if (!notes.isEmpty())
        out += u"<p>"_s + notes.trimmed() + u"</p>\n"_s;

    out += u"<table>\n<tr><th>Parameter</th><th>Kind</th><th>Default</th></tr>\n"_s;
    for (const Parameter &p : e.params()) {
        out += u"<tr><td>"_s + quoted(p.label) + u"</td><td>"_s + kindOf(p) + u"</td><td>"_s +
               defaultOf(p) + u"</td></tr>\n"_s;
    }
    out += u"</table>\n"_s;
    QStringList buttons;
    for (const RunButtonItem &b : e.runButtons())
        buttons += b.caption.isEmpty() ? u"the green run button"_s : quoted(b.caption);
    out += u"<p>Run with "_s + buttons.join(u", "_s) + u".</p>\n"_s;

    // A function that reads files shows its example on the text of such a file.
    const FunctionExample &x = e.body.example;
    const QString before = x.before.isEmpty() ? x.input.value_or(QString()) : x.before;
    const QString after = x.after.isEmpty() ? x.expected.value_or(QString()) : x.after;
    if (!before.isEmpty() || !after.isEmpty()) {
        QStringList given;
        QString pressed;
        for (const auto &[key, value] : x.params) {
            if (const Parameter *p = e.param(key))
                given += quoted(p->label) + u" "_s + shown(*p, value);
        }
        for (const RunButtonItem &b : e.runButtons()) {
            if (b.key == x.runButton && !b.caption.isEmpty())
                pressed = u", run with "_s + quoted(b.caption);
        }
        out +=
            u"<p>Example: "_s + esc(x.title) +
            (given.isEmpty() ? QString() : u", with "_s + given.join(u", "_s)) + pressed +
            u"</p>\n<table class=\"example\">\n<tr><th>Before</th><th>After</th></tr>\n<tr><td>"_s +
            pre(before) + u"</td><td>"_s + pre(after) + u"</td></tr>\n</table>\n"_s;
    }

    out += u"<p>On the command line: <code>plintex-cli "_s + f.slug + u"</code></p>\n<ul>\n"_s;
    for (const OptionView &o : f.options) {
        if (o.label.isEmpty())
            continue;
        out += u"<li><code>--"_s + o.name + (o.takesValue ? u"=&hellip;"_s : QString()) +
               u"</code> "_s + quoted(o.label) +
               (o.textFromFile ? u", read from a file"_s : QString()) + u"</li>\n"_s;
    }
    return out + u"</ul>\n"_s;
}

// What the program is and how its window works: the parts the catalogue does not hold.
const char16_t *const kIntroduction = uR"(
<p>Plintex reshapes plain text laid out in rows and columns: reports, listings, fixed-width
data, lists and prose pasted from web pages. Load or paste the text into the work area, choose
one of the functions, fill in its small parameter panel and press the run button: the function
rewrites the text in place, with progress, a stop button and undo. Every function also runs from
a shell through <code>plintex-cli</code>.</p>
<p>Rows and columns are counted from 1: a row is a line of the text, a column a character
position within a line.</p>
<ul>
<li><a href="#window">The window</a></li>
<li><a href="#functions">The functions</a></li>
<li><a href="#printing">Printing</a></li>
<li><a href="#command-line">The command line</a></li>
<li><a href="#settings">Settings files</a></li>
</ul>
<h2 id="window">The window</h2>
<p>The large pane is the <b>work area</b>: type, paste, drop a file on it or open one. Above it
the main toolbar, the function drop-down and the row of function buttons; below the toolbars
the parameter panel of the chosen function; at the bottom the status bar.</p>
<h3>Choosing and running a function</h3>
<p>Click a function's button, or choose it in the drop-down (hovering over a button shows its
name there when hints are on). Its panel appears with its parameters at their defaults; click
the button again to close it. Fill in the fields and press the green run button (some functions
have buttons of their own, such as &ldquo;Sort Ascending&rdquo;). While a run goes on the red
&ldquo;Processing...&rdquo; notice and a gauge show its progress; the red &ldquo;STOP&rdquo;
button or &ldquo;Stop Processing&rdquo; ends it with &ldquo;Processing stopped!&rdquo;. A
function that cannot run with the values given says why in a &ldquo;Warning&rdquo; box and
leaves the text as it was.</p>
<p>Number fields take digits only; an empty one reads 0, and a double click puts back its
default. A double click in a multi-line field selects its text. Text fields remember their last
ten values (their history); right-click one for &ldquo;Delete from list&rdquo;.</p>
<h3>The band of rows</h3>
<p>Many functions work on a band of rows: &ldquo;Row:&rdquo; and &ldquo;To:&rdquo; in the strip
below the panel (0 means the first and the last row). With &ldquo;Auto reset&rdquo; ticked the
band is cleared at every run, so the whole text is used; the reset button clears it by hand.</p>
<h3>Filling fields from the caret</h3>
<p>Click in the text where a column or a row begins, then right-click: &ldquo;Begin
Column&rdquo;, &ldquo;End Column&rdquo;, &ldquo;Begin Row&rdquo; and &ldquo;End Row&rdquo; copy
the caret's column or row into the panel's fields and the band.</p>
<h3>The toolbar</h3>
<ul>
<li><b>Open File (right click for recent)</b>: reads a <code>.txt</code> document, or a
<code>.doc</code> holding rich text (its text is shown); a right click lists the last ten
documents.</li>
<li><b>Save File</b>: writes plain text (<code>.txt</code>, in the encoding and line ends the
document came with) or rich text (<code>.doc</code>).</li>
<li><b>Clear</b>: empties the work area; &ldquo;Undo&rdquo; brings the text back.</li>
<li><b>Undo</b>: brings back the text from before the last run. A run is also one step of the
text's own edit history: Ctrl+Z takes it back and Ctrl+Y brings it back, like any typing.</li>
<li><b>To Top</b>, <b>To Bottom</b>: the caret to the start or the end of the text.</li>
<li><b>Stop Processing</b>: stops the run going on.</li>
<li><b>Print</b>: prints the work area's text (see <a href="#printing">Printing</a>).</li>
<li><b>Help</b>: opens this page.</li>
<li><b>Preferences</b>: the font size, the tab spacing and whether hints show in the status
bar.</li>
<li><b>Quit</b>: ends the program; it asks first when the text has changed.</li>
<li><b>Scratch Pad</b>: swaps the work area for a second pane for notes or pieces of text;
<b>Append To Scratch Pad</b> adds the work area's text below what the pad holds. No function
runs on the pad.</li>
<li><b>Examples</b>: shows the chosen function's example, before and after; the
<b>Clear</b> beside it empties the multi-line fields of the visible panel.</li>
<li><b>Background color</b>: the next of four background tints (white and three pale
tints).</li>
<li><b>Copy To Clipboard</b>, <b>Paste From Clipboard</b>: the whole text of the pane in view to
the clipboard, or the clipboard's text in at the caret.</li>
<li><b>Convert to Courier Font</b>: shows the pane in view in the fixed-pitch font again.</li>
<li><b>Find/Replace</b> (Ctrl+F; F3 finds the next): finds a text from the caret on, letter case
ignored unless &ldquo;Match Case&rdquo; is ticked, without wrapping round; with the box before
&ldquo;Replace with:&rdquo; ticked it replaces the hit, or every hit after the caret at once.</li>
<li><b>Replace with Special Character</b>: in the pane of &ldquo;Insert Spread Sheet
Delimiter&rdquo;, replaces a typed text by a TAB, a line break or any byte's character
(&ldquo;Quantity:&rdquo; times), or with &ldquo;Reverse&rdquo; such a character by the typed
text.</li>
</ul>
<h3>The status bar</h3>
<p>It shows a hint for the control under the pointer (when hints are on), the caret's row and
column (&ldquo;Row =&rdquo;, &ldquo;Col =&rdquo;), and the counts &ldquo;Total Chr&rdquo;,
&ldquo;Total Blk&rdquo; and &ldquo;Total Chr to Cursor&rdquo;, which show &ldquo;?&rdquo; until
&ldquo;Special Routines&rdquo; counts them.</p>
<h2 id="functions">The functions</h2>
<p>Each function below: what it does, its panel's fields with their defaults, its run buttons,
its example (the one &ldquo;Examples&rdquo; shows) and its command line.</p>
)";

const char16_t *const kPrintingAndAfter = uR"(
<h2 id="printing">Printing</h2>
<p>&ldquo;Print&rdquo; closes the parameter panels and opens &ldquo;Print Parameters&rdquo;:
&ldquo;Print font size:&rdquo; (10 at first; it keeps the size you gave last),
&ldquo;Printer...&rdquo; to choose a printer, or a PDF file to print to, and &ldquo;OK&rdquo; to
print. The work area's text is printed in the fixed-pitch font with margins of 15 mm, as many
lines on a page as fit and a page number under each; a row longer than a printed line goes on
over the next lines, and a tab goes to the next multiple of 8 columns. A long printout shows its
progress, and &ldquo;Cancel&rdquo; drops it: nothing reaches the printer, and a PDF file is
written only when it is complete. Without a printer installed, choose &ldquo;Print to File
(PDF)&rdquo; under &ldquo;Printer...&rdquo;.</p>
<h2 id="command-line">The command line</h2>
<pre>plintex-cli FUNCTION [OPTION]... [FILE]
plintex-cli --list
plintex-cli FUNCTION --help</pre>
<p>runs one function on the text of FILE (or standard input, also named <code>-</code>) and
writes the result to standard output, in the input's encoding and line ends. FUNCTION is the
function's name as in the drop-down or its short form given with each function above. Options
are named after the panel's labels; values are given as <code>--name=VALUE</code> or
<code>--name VALUE</code>, and any unambiguous beginning of a name will do. Radio buttons, run
buttons and check boxes are flags (<code>--retain</code>, <code>--right-justify</code>);
<code>--no-NAME</code> clears a box ticked by default. Every text option also has a
<code>--NAME-file=PATH</code> form that reads the value from a file. The band of rows is
<code>--from-row</code> and <code>--to-row</code>; where a function reads the caret,
<code>--caret-row</code> and <code>--caret-column</code>. <code>--output=FILE</code> writes the
result to a file and <code>--in-place</code> rewrites the input; either is replaced only once the
result is complete.</p>
<pre>plintex-cli insert-into-column --insert-this-data="INSERTED DATA" --at-column-position=7 report.txt
plintex-cli delete-retain-column --col=13 --and=17 --retain report.txt &gt; column.txt
plintex-cli total-a-specified-column --in-column=23 --to=33 ledger.txt</pre>
<p>A result shown outside the text, such as a total, is printed alone; a warning that does not
stop the run goes to standard error. Exit status: 0 done, 1 refused or stopped (the reason on
standard error), 2 a usage error, 3 a file that cannot be read or written. The command line never
writes the history files. See also <code>man plintex-cli</code>.</p>
<h2 id="recipes">Runs as commands, and recipes</h2>
<p>&ldquo;Copy as Command&rdquo; (beside &ldquo;Undo&rdquo;, and in the text's right-click menu)
puts the last run on the clipboard as the <code>plintex-cli</code> command that does the same:
only the options that differ from their defaults, with the band and the caret where the function
reads them, quoted for a POSIX shell (a value with a line break as <code>$'...'</code>).
&ldquo;Runs&rdquo; shows every run of the session: select some and &ldquo;Save as
Recipe...&rdquo; writes them to a recipe file; &ldquo;Run Recipe...&rdquo; runs a recipe's steps
on the text in turn, as one run with one gauge, Stop and one Undo. From a shell:</p>
<pre>plintex-cli --recipe=RECIPE [--output=FILE | --in-place] [FILE]</pre>
<p>A recipe is plain text, easy to edit: one step a line, the function and its options as they
follow <code>plintex-cli</code>, without the input or output file; blank lines are left out, and
so is everything from a <code>#</code> that starts a word. Values are quoted as in a POSIX shell
(<code>'...'</code>, <code>"..."</code>, <code>$'...'</code>, a backslash); nothing is expanded.
A <code>--NAME-file</code> value is a file in the recipe's own folder, named relative to it; a
recipe reads no other file (not even <code>rmdat.plx</code>). &ldquo;Break Up File&rdquo; and
&ldquo;Replace Byte in File&rdquo; are no recipe steps.</p>
<p>Every line is checked before any step runs: a line that is no valid step stops the recipe
with the recipe's name and the line (exit status 2). A step that is refused stops it with its
message and line (exit status 1), and nothing is written. An empty recipe changes nothing. A
recipe file that is a FIFO, a folder or larger than 16 MiB is refused. The text is decoded once
for all the steps; when every step works row by row they run together as one stream, in little
memory whatever the size of the text. A step that shows its result outside the text (a total)
has that result printed instead of the text.</p>
<pre># monthly.recipe
delete-retain-column --col=13 --and=17
insert-into-column --insert-this-data='# ' --at-column-position=1</pre>
<h2 id="settings">Settings files</h2>
<p>Plintex keeps its own small files in its program folder: the folder of the program when it
holds <code>prefs.plx</code> (a portable copy), otherwise <code>~/.config/plintex</code>, which an
installed program fills from its shipped defaults the first time it starts. The environment
variable <code>PLINTEX_HOME</code> names the folder outright.</p>
<ul>
<li><code>prefs.plx</code> (must be there): the flags (the first character <code>1</code> shows
hints, the second is the background tint, 0 to 3), the font size and the tab spacing, one a
line. &ldquo;Preferences&rdquo; and closing the program write it.</li>
<li><code>rmdat.plx</code> (must be there): the replacement list of &ldquo;Read Me&rdquo;, one
<code>change this;to this</code> a line.</li>
<li><code>fdat.plx</code>: the last ten documents opened, most recent first.</li>
<li><code>system/comboN.plx</code> (N from 1 to 14): the remembered values of the text fields,
newest first.</li>
<li><code>PlintexHelp.html</code>: this page.</li>
</ul>
<p>The files are plain text, one entry a line, in Windows-1252 when every character fits and in
UTF-8 otherwise. When <code>prefs.plx</code> or <code>rmdat.plx</code> is missing the program
says which one and ends.</p>
)";

} // namespace

QString helpPage(const QList<FunctionView> &functions, const QString &version)
{
    QString out = uR"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Plintex Help</title>
<style>
body { font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; }
table { border-collapse: collapse; margin: 0.5em 0; }
th, td { border: 1px solid #bbb; padding: 0.2em 0.5em; text-align: left; vertical-align: top; }
pre { margin: 0; }
</style>
</head>
<body>
<h1>Plintex )"_s + esc(version) +
                  u"</h1>\n"_s + QString::fromUtf16(kIntroduction);
    out += u"<ul>\n"_s;
    for (const FunctionView &f : functions)
        out += u"<li><a href=\"#"_s + f.slug + u"\">"_s + esc(f.name) + u"</a></li>\n"_s;
    out += u"</ul>\n"_s;
    for (const FunctionView &f : functions)
        out += functionSection(f);
    return out + QString::fromUtf16(kPrintingAndAfter) + u"</body>\n</html>\n"_s;
}

} // namespace plintex::gen
