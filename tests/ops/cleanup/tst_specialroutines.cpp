#include "../runfunction.h"

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::linesOf;
using testing::runOn;
using testing::runTable;

/// "Special Routines": each of its nine routines on the cases that tell them apart.
class TestSpecialRoutines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
    void whatTheWindowIsTold_data();
    void whatTheWindowIsTold();
    void streamedRunsMatchTheWindow_data();
    void streamedRunsMatchTheWindow();
};

void TestSpecialRoutines::runs_data()
{
    const auto add = runTable();
    const auto row = [&add](const char *name, const QString &button, const QString &text,
                            const QString &expected, QStringList params = {}) {
        params.append(u"button="_s + button);
        add(name, u"Special Routines"_s, text, params, expected);
    };
    const QString up = u"capitals"_s, low = u"small"_s, cap = u"capitalise"_s;
    const QStringList sentence{u"each=sentence"_s};
    row("capitals: any and all words", up, u"any and all words"_s, u"ANY AND ALL WORDS\n"_s);
    row("capitals: accented and Greek letters stay", up, u"caf\u00e9 \u00e0b \u03b1\u03b2\n"_s,
        u"CAF\u00e9 \u00e0B \u03b1\u03b2\n"_s);
    row("capitals: empty text", up, QString(), QString());
    row("capitals: cannot be stopped", up, u"ab\ncd\n"_s, u"AB\nCD\n"_s, {u"stop=0"_s});
    row("small: ANY And ALL, \u00c0 and \u03a9 stay", low, u"ANY And ALL \u00c0\u03a9\n"_s,
        u"any and all \u00c0\u03a9\n"_s);

    row("word: MIXED case TEXT is lowered first", cap, u"MIXED case TEXT"_s,
        u"Mixed Case Text\n"_s);
    row("word: after apostrophe, quote, hyphen, period, parenthesis, tab", cap,
        u"o'neil don't well-known (x) \"q\" a.b c\td"_s,
        u"O'Neil Don'T Well-Known (X) \"Q\" A.B C\tD\n"_s);
    row("word: every line starts with a capital", cap, u"ab\n\ncd\n"_s, u"Ab\n\nCd\n"_s);
    row("word: accented letters neither lowered nor raised", cap, u"\u00c9T \u00e9t"_s,
        u"\u00c9t \u00e9t\n"_s);
    row("word: empty text", cap, QString(), QString());
    row("word: stop after a row keeps the capitals made so far", cap, u"ab cd\nEF GH\n"_s,
        u"stopped: Ab Cd\nef gh\n"_s, {u"stop=1"_s});

    row("sentence: one. two!  three? / four", cap, u"one. two!  three?\nfour\n"_s,
        u"one. Two!  Three?\nFour\n"_s, sentence);
    row("sentence: abc  def", cap, u"abc  def"_s, u"abc  Def\n"_s, sentence);
    row("sentence: one blank alone is no separator", cap, u"a b. c"_s, u"a b. C\n"_s, sentence);
    row("sentence: a closer and one blank before the line break", cap, u"a? \nb\n"_s, u"a? \nB\n"_s,
        sentence);
    row("sentence: two blanks before the line break", cap, u"a.  \nb\n"_s, u"a.  \nb\n"_s,
        sentence);
    row("sentence: an empty line between", cap, u"a.\n\nb\n"_s, u"a.\n\nb\n"_s, sentence);
    row("sentence: a blank after the line break", cap, u"a.\n b\n"_s, u"a.\n b\n"_s, sentence);
    row("sentence: tab, capitals and accented letters untouched", cap, u"x.\tb. C.  \u00e9"_s,
        u"x.\tb. C.  \u00e9\n"_s, sentence);
    row("sentence: cannot be stopped", cap, u"a.  b\n"_s, u"a.  B\n"_s,
        {u"each=sentence"_s, u"stop=0"_s});

    row("letters: Ab1-c", u"letters"_s, u"Ab1-c"_s, u"1-\n"_s);
    row("letters: characters above 127 stay", u"letters"_s, u"\u00c0bc \u00e9z\u212a"_s,
        u"\u00c0 \u00e9\u212a\n"_s);
    row("letters: a stop leaves the text", u"letters"_s, u"abc\n"_s, u"stopped"_s, {u"stop=0"_s});
    row("digits: Ab1-c", u"digits"_s, u"Ab1-c\n2\n"_s, u"Ab-c\n\n"_s);
    row("special: Ab1-c", u"special"_s, u"Ab1-c"_s, u"Ab1c\n"_s);
    row("special: all 32 go, blank, tab and \u00a7 stay", u"special"_s,
        u"!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~ \t\u00a7"_s, u" \t\u00a7\n"_s);

    const QString tags = u"tags"_s;
    row("tags: a <b>bold</b> c", tags, u"a <b>bold</b> c"_s, u"a bold c\n"_s);
    row("tags: x > y <i>z</i> (a > first)", tags, u"x > y <i>z</i>"_s, u"x > y <i>z</i>\n"_s);
    row("tags: a > after a tag ends the removal", tags, u"<b>x>y<i>z\n<p>\n"_s,
        u"x>y<i>z\n<p>\n"_s);
    row("tags: &#034; stays", tags, u"<p>&#034;</p>"_s, u"&#034;\n"_s);
    row("tags: a tag across line breaks joins the rows", tags, u"x<a\nb\nc>y<z>w\nv<q>\n"_s,
        u"xyw\nv\n"_s);
    row("tags: unterminated tag stays, rows and all", tags, u"a<b>c<d\ne\nf\n"_s,
        u"ac<d\ne\nf\n"_s);
    row("tags: <<a>b", tags, u"<<a>b"_s, u"b\n"_s);
    row("tags: a stop leaves the text", tags, u"<b>x\n"_s, u"stopped"_s, {u"stop=0"_s});

    row("blanks: seven blanks become one", u"blanks"_s, u"a       b\n  c  \n"_s, u"a b\n c \n"_s);
    row("blanks: a tab between blanks keeps both", u"blanks"_s, u"a \t b"_s, u"a \t b\n"_s);
    row("blanks: empty text", u"blanks"_s, QString(), QString());

    const QString count = u"count"_s;
    row("count: a b / cd", count, u"a b\ncd\n"_s,
        u"Total Chr = 5\nTotal Blk = 1\nTotal Chr to Cursor = 0"_s);
    row("count: caret at row 2, column 2", count, u"a b\ncd\n"_s,
        u"Total Chr = 5\nTotal Blk = 1\nTotal Chr to Cursor = 4"_s, {u"caret=2..2"_s});
    row("count: caret past the text", count, u"a b\ncd"_s,
        u"Total Chr = 5\nTotal Blk = 1\nTotal Chr to Cursor = 5"_s, {u"caret=9..9"_s});
    row("count: empty text", count, QString(),
        u"Total Chr = 0\nTotal Blk = 0\nTotal Chr to Cursor = 0"_s);
}

void TestSpecialRoutines::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    QTEST(runOn(function, text, params), "expected");
}

// What a run leaves besides the text: the caret, the status texts after a stop, the undo.
void TestSpecialRoutines::whatTheWindowIsTold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<QString>("caret");
    QTest::addColumn<QStringList>("status");
    QTest::addColumn<bool>("undo");
    const QStringList none;
    const auto row = [](const char *name, const QString &text, const QStringList &params,
                        const QString &caret, const QStringList &status = {}, bool undo = true) {
        QTest::newRow(name) << text << params << caret << status << undo;
    };
    const QString three = u"a  b\nc\nd\n"_s;
    row("blanks: caret to the strip's To - 1", three, {u"button=blanks"_s, u"band=0..2"_s},
        u"line 1"_s);
    row("blanks: To past the text clamped to the last line", three,
        {u"button=blanks"_s, u"band=0..99"_s}, u"line 2"_s);
    row("blanks: To 0 clamped to the first line", three, {u"button=blanks"_s}, u"line 0"_s);
    row("blanks: empty text, To 5", QString(), {u"button=blanks"_s, u"band=0..5"_s}, u"line 0"_s);
    row("letters: caret to the end", three, {u"button=letters"_s}, u"end"_s);
    row("capitals: caret stays", three, {u"button=capitals"_s}, u"unchanged"_s);
    row("count: all three counts, no undo", three, {u"button=count"_s}, u"unchanged"_s,
        {u"Total Chr = 6"_s, u"Total Blk = 2"_s, u"Total Chr to Cursor = 0"_s}, false);
    row("count: stopped counting characters: no count", three, {u"button=count"_s, u"stop=0"_s},
        u"unchanged"_s, none, false);
    row("count: stopped counting blanks: only the characters", three,
        {u"button=count"_s, u"stop=3"_s}, u"unchanged"_s, {u"Total Chr = 6"_s}, false);
}

void TestSpecialRoutines::whatTheWindowIsTold()
{
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    RunResult r;
    runOn(u"Special Routines"_s, text, params, &r);
    QString caret;
    switch (r.caret.kind) {
    case CaretPlacement::Kind::Line:
        caret = u"line "_s + QString::number(r.caret.line);
        break;
    case CaretPlacement::Kind::End:
        caret = u"end"_s;
        break;
    default:
        caret = u"unchanged"_s;
    }
    QTEST(caret, "caret");
    QTEST(r.statusTexts, "status");
    QTEST(r.undoTaken, "undo");
}

// The command line streams each routine through its row pass; the window runs some of them
// otherwise. Both give the same.
void TestSpecialRoutines::streamedRunsMatchTheWindow_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("each");
    const FunctionEntry *f = catalogue().byName(u"special-routines");
    for (const RunButtonItem &b : f->runButtons())
        QTest::addRow("%s", qPrintable(b.key)) << b.key << u"word"_s;
    QTest::addRow("sentence") << u"capitalise"_s << u"sentence"_s;
}

void TestSpecialRoutines::streamedRunsMatchTheWindow()
{
    QFETCH(QString, button);
    QFETCH(QString, each);
    const FunctionEntry *f = catalogue().byName(u"special-routines");
    const QString text = u"<P>The  cat's   (big) hat.  so?\r\n \tWELL-known\u00e9 <a\nhref=x>"
                         u"1,2;3 !\n\nend.\nnow<x>   \n"_s;
    RunInput input;
    input.lines = linesOf(text);
    input.params = ParamValues::defaults(f->params());
    input.params.set(u"each"_s, each);
    input.runButton = button;
    input.caret = {1, 3};
    SilentMonitor monitor;
    const RunResult window = f->body.run(input, monitor);
    const RunResult streamed = runRowPass(f->body.rowPass, input, monitor);
    QCOMPARE(streamed.lines, window.lines);
    QCOMPARE(streamed.report, window.report);
}

QTEST_GUILESS_MAIN(TestSpecialRoutines)
#include "tst_specialroutines.moc"
