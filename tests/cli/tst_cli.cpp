#include "cli/asciimap.h"
#include "cli/byterows.h"
#include "cli/linereader.h"
#include "cli/streamrun.h"
#include "ops/registry.h"
#include "randomtext.h"
#include "settings/textfile.h"
#include "testfiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <limits>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

struct Outcome {
    int status;
    QByteArray out;
    QByteArray err;
};

Outcome run(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess p;
    p.start(program, arguments);
    p.write(input);
    p.closeWriteChannel();
    // Generous: the sanitizer build on a loaded machine is many times slower than release.
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, "timed out"};
    }
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

qsizetype lineCount(const QByteArray &text)
{
    return rowsToLines(decodeRows(text, detectFormat(text))).size();
}

/// A row of endToEnd: a script that does not name $CLI is the program's arguments.
void row(const char *name, const char *script, const QByteArray &input, int status,
         const QByteArray &out, const QByteArray &err = {})
{
    QTest::newRow(name) << QString::fromUtf8(script) << input << status << out << err;
}

/// A file that someone rewrites at the same size once it has been sought `seeks` times.
class RewrittenSource final : public cli::TextSource {
public:
    RewrittenSource(QByteArray before, QByteArray after, int seeks)
        : m_before(std::move(before)), m_after(std::move(after)), m_seeksBefore(seeks)
    {
    }
    qsizetype read(char *data, qsizetype size) override { return current().read(data, size); }
    bool seek(qint64 offset) override
    {
        ++m_seeks;
        return current().seek(offset);
    }
    qint64 size() const override { return m_before.size(); }
    QString error() const override { return {}; }

private:
    cli::MemorySource &current() { return m_seeks < m_seeksBefore ? m_before : m_after; }

    cli::MemorySource m_before;
    cli::MemorySource m_after;
    int m_seeksBefore;
    int m_seeks = 0;
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void endToEnd_data();
    void endToEnd();
    void streamMatchesRunRoutine_data();
    void streamMatchesRunRoutine();
    void reorderingMatchesRunRoutine();
    void runThatChangesNothingKeepsBytes();
    void asciiMapWritesWhatTheRowPassWrites();
    void fileThatShrinksWhileRead();
    void readingAheadGivesTheSameLines();
    void lanesGiveWhatOneThreadGives();
    void alignInPiecesGivesWhatOneThreadGives();
    void alignOfATextRewrittenBetweenItsPasses();
    void wholeTextHasALimit();
};

// Through the program, run by /bin/sh in an empty folder with $CLI naming it (for raw argument
// bytes, closed or full streams, limits). Standard error must hold `err`, or be empty.
void TestCli::endToEnd_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    // Usage errors.
    row("unknown function", "frobnicate", {}, 2, {}, "unknown function \"frobnicate\"");
    row("not a number", "insert-into-column --at=x", {}, 2, {}, "whole number");
    row("negative number", "insert-into-column --at=-1", {}, 2, {}, "whole number");
    row("fraction", "delete-retain-column --column=1.5", {}, 2, {}, "whole number");
    row("row not a number", "insert-into-column --from-row=one", {}, 2, {}, "whole number");
    row("unknown option", "insert-into-column --bogus", {}, 2, {}, "unknown option --bogus");
    row("both radio buttons", "delete-retain-column --delete --retain", {}, 2, {},
        "exclude each other");
    row("value missing", "insert-into-column --at", {}, 2, {}, "needs a value");
    row("line break in a one-line field", R"x(insert-into-column --insert="$(printf 'a\nb')")x", {},
        2, {}, "one line");
    row("two input files", "insert-into-column a b", {}, 2, {}, "more than one input file");
    row("--output= names no file: the next argument is the input",
        R"x(printf 'keep\n' >n && "$CLI" insert-into-column --insert=X --output= n; s=$?; cat n; exit $s)x",
        "a\nb\n", 2, "keep\n", "option --output needs a file name");
    row("--NAME-file= names no file", "insert-into-column --insert-this-data-file=", "a\n", 2, {},
        "option --insert-this-data-file needs a file name");
    row("a prefix of a function's option and --in-place", "insert-into-column --in X", "a\n", 2, {},
        "option --in is ambiguous (--insert-this-data, --insert-this-data-file, --in-place)");
    row("--in-place on standard input", "insert-into-column --in-place -", "a\n", 2, {},
        "input file");
    // Options, encodings and line ends.
    row("lf, no final break", "insert-into-column --insert-this-data=+ --at-column-position=7",
        "1234567890\n12", 0, "123456+7890\n12+\n");
    // Replace in Column on a row's bytes finds what its characters would, or leaves them to it.
    row("replace-in-column: an edge between a pair's halves leaves the pair out of the band",
        "replace-in-column --replace=9\xF0\x9F\x98\x80 --with=X --in-column=7 --to=9",
        "abcdef9\xF0\x9F\x98\x80x\n", 0, "abcdef9\xF0\x9F\x98\x80x\n");
    row("replace-in-column: a pair inside the band is replaced",
        "replace-in-column --replace=9\xF0\x9F\x98\x80 --with=X --in-column=7 --to=10",
        "abcdef9\xF0\x9F\x98\x80x\n", 0, "abcdefXx\n");
    row("replace-in-column: windows-1252 letters found as such",
        "replace-in-column --replace=\xC3\xA9 --with=E --in-column=2 --to=4", "x\xE9\xE9 \xE9\n", 0,
        "xEE \xE9\n");
    row("replace-in-column: more passes than are made in place",
        "replace-in-column \"--replace=  \" \"--with= \" --in-column=1 --to=700",
        "a" + QByteArray(600, ' ') + "b\n", 0, "a b\n");
    row("windows-1252 stays windows-1252", "insert-into-column --insert-this-data=+ --at=7",
        "caf\xE9 au lait\r\nna\xEFve\r\n", 0, "caf\xE9 a+u lait\r\nna\xEFve+\r\n");
    row("binary bytes survive", "insert-into-column --insert-this-data=+ --at=7",
        QByteArray("\0\x01\xFF\xFE\x80\n\x7F\x00\x90", 9), 0,
        QByteArray("\0\x01\xFF\xFE\x80+\n\x7F\x00\x90+\n", 12));
    row("prefixes, value as the next argument, leading blanks kept",
        "insert-into-column --at 2 --insert='  x'", "ab\ncd\n", 0, "a  xb\nc  xd\n");
    row("delete is the default radio button", "delete-retain-column --col=13 --and=17",
        "111 222 333 444 555\n111 222 333 444 555\n", 0, "111 222 333 555\n111 222 333 555\n");
    row("named as on its button, retain from row 2",
        "'Retain/Delete Column' --col=13 --and=17 --retain --from-row=2",
        "111 222 333 444 555\n111 222 333 444 555\n1 2 3 4 5 6 7 8 9 0\n", 0,
        "111 222 333 444 555\n444 \n7 8 \n");
    row("value from a file, windows-1252, final break dropped",
        R"x(printf '\351t\351\r\n' >v && "$CLI" insert-into-column --insert-this-data-file=v)x",
        "ab\ncd\n", 0,
        "\xC3\xA9t\xC3\xA9"
        "ab\n\xC3\xA9t\xC3\xA9"
        "cd\n");
    // \351 is e acute typed on a Latin-1 terminal: Windows-1252 input holds it, so it stays so.
    row("latin-1 byte, UTF-8 locale, windows-1252 input",
        R"x(LC_ALL=C.UTF-8 exec "$CLI" insert-into-column --insert="$(printf '\351')")x",
        "caf\xE9\nb\n", 0,
        "\xE9"
        "caf\xE9\n\xE9"
        "b\n");
    row("latin-1 byte, C locale, windows-1252 input",
        R"x(LC_ALL=C exec "$CLI" insert-into-column --insert="$(printf '\351')")x", "caf\xE9\nb\n",
        0,
        "\xE9"
        "caf\xE9\n\xE9"
        "b\n");
    row("latin-1 byte, UTF-8 input",
        R"x(LC_ALL=C.UTF-8 exec "$CLI" insert-into-column --insert="$(printf '\351')")x",
        "\xC3\xA9\nb\n", 0,
        "\xC3\xA9\xC3\xA9\n\xC3\xA9"
        "b\n");
    row("--version", "--version", {}, 0, "plintex-cli 7.08\n");
    row("--list",
        R"x("$CLI" --list >l && grep -q insert-into-column l && grep -q sort-ascending l)x", {}, 0,
        {});
    row("--help", "delete-retain-column --help >/dev/null", {}, 0, {});
    row("--help of a function that holds the text says so",
        R"x("$CLI" shuffle-data --help | grep -c 'Holds the whole text')x", {}, 0, "1\n");
    row("--help of a pass says it streams",
        R"x("$CLI" add-row --help | grep -c 'Streams the text')x", {}, 0, "1\n");
    // Refusals and failures.
    row("refusal goes to standard error", "insert-into-column --insert-this-data=x", "one line\n",
        1, {}, "Row restraint To position must\nbe greater than From position.\n");
    row("--from-row past 64 bits", "insert-into-column --insert=x --from-row=99999999999999999999",
        "a\n", 1, {}, "Row restraint");
    row("unreadable input", "insert-into-column /nonexistent/input.txt", {}, 3, {},
        "/nonexistent/input.txt");
    row("unreadable value file", "insert-into-column --insert-this-data-file=/nonexistent", "a\n",
        3, {}, "/nonexistent");
    row("--list to a full disk", "--list >/dev/full", {}, 3, {}, "No space left on device");
    row("closed standard input", "insert-into-column --insert-this-data=x <&-", {}, 3, {},
        "standard input: it is closed");
    row("closed standard output", "insert-into-column --insert-this-data=x >&-", "a\nb\n", 3, {},
        "standard output: it is closed");
    row("/dev/zero as input", "insert-into-column --insert-this-data=x /dev/zero", {}, 3, {},
        "too long");
    row("/dev/zero through a pipe",
        R"x(head -c 30000000 /dev/zero 2>/dev/null | "$CLI" insert-into-column --insert-this-data=x)x",
        {}, 3, {}, "too long");
    row("endless pipe gives output as it goes",
        R"x(yes abc | "$CLI" insert-into-column --insert-this-data=x 2>/dev/null | head -2)x", {},
        0, "xabc\nxabc\n");
    row("/dev/zero as a --NAME-file value",
        "insert-into-column --insert-this-data-file=/dev/zero </dev/null", {}, 3, {},
        "larger than 16 MiB");
    // --output and --in-place keep the file's own encoding and line ends.
    row("--output leaves the input",
        R"x(cat >f && "$CLI" insert-into-column --insert=- --output=o f && cat o f)x",
        "caf\xE9\r\nna\xEFve\n", 0, "-caf\xE9\r\n-na\xEFve\ncaf\xE9\r\nna\xEFve\n");
    row("--in-place", R"x(cat >f && "$CLI" insert-into-column --insert=- --in-place f && cat f)x",
        "caf\xE9\r\nna\xEFve\n", 0, "-caf\xE9\r\n-na\xEFve\n");
    row("--output naming the input: read whole first",
        R"x(cat >f && "$CLI" insert-into-column --insert=- --output f f && cat f)x",
        "caf\xE9\r\nna\xEFve\n", 0, "-caf\xE9\r\n-na\xEFve\n");
    row("--in-place refused, left untouched",
        R"x(cat >f; "$CLI" insert-into-column --from-row=5 --in-place f; s=$?; cat f; exit $s)x",
        "a\nb\n", 1, "a\nb\n", "Row restraint");
    row("--in-place on a read-only file, left untouched",
        R"x(cat >f && chmod 444 f && "$CLI" insert-into-column --insert=x --in-place f; s=$?; cat f; exit $s)x",
        "a\n", 3, "a\n", "read-only");
    row("--in-place and --output by prefixes",
        R"x(cat >f && "$CLI" insert-into-column --insert=x --in-p f && "$CLI" insert-into-column --insert=y --out=o f && cat o)x",
        "a\nb\n", 0, "yxa\nyxb\n");
    row("--output to a name of 250 bytes",
        R"x(n=$(printf '%0250d' 0) && "$CLI" insert-into-column --insert=x --output=$n && cat $n)x",
        "a\nb\n", 0, "xa\nxb\n");
    row("--output on a read-only file, left untouched",
        R"x(printf 'a\n' >r && chmod 444 r && "$CLI" insert-into-column --insert=x --output=r; s=$?; cat r; exit $s)x",
        "b\n", 3, "a\n", "cannot write r: it is read-only");
    row("--output to a FIFO reaches its reader, the FIFO stays",
        R"x(mkfifo p && { cat p >got & } && "$CLI" insert-into-column --insert=x --output=p && wait && test -p p && cat got)x",
        "a\nb\n", 0, "xa\nxb\n");
    row("--output=/dev/stdout", "insert-into-column --insert=x --output=/dev/stdout", "a\nb\n", 0,
        "xa\nxb\n");
    row("--output=/dev/stdout appending to the input is refused",
        R"x(printf 'a\n' >f && "$CLI" insert-into-column --insert=x --output=/dev/stdout f >>f; s=$?; cat f; exit $s)x",
        {}, 3, "a\n", "it is the input file");
    row("--in-place on a FIFO is refused, unopened",
        R"x(mkfifo p && "$CLI" insert-into-column --insert=x --in-place p)x", {}, 3, {},
        "cannot write p: it is not a regular file");
    row("a chain of links: the final file written, its mode kept, the links left",
        R"x(cat >real && chmod 640 real && ln -s real b && ln -s b a && "$CLI" insert-into-column --insert=x --in-place a && "$CLI" insert-into-column --insert=y --output=a real && test -L a && test -L b && stat -c %a real && cat real)x",
        "a\nb\n", 0, "640\nyxa\nyxb\n");
    row("a loop of links is refused and left",
        R"x(ln -s a b && ln -s b a && "$CLI" insert-into-column --insert=x --output=a; s=$?; test -L a && test -L b && exit $s)x",
        "a\nb\n", 3, {}, "cannot write a: Too many levels of symbolic links");
    row("a full temporary folder gives the system's reason",
        R"x(seq 1000 | { ulimit -f 2 && TMPDIR=. exec "$CLI" align-data-into-columns; })x", {}, 3,
        {}, "cannot write a temporary file: File too large");
    // Past the look-ahead, the stream turns out Windows-1252: every row is written so.
    row("a pipe's encoding settled past the look-ahead, non-ASCII inserted",
        R"x({ yes abc | head -c 17000000; printf 'caf\351\n'; } | LC_ALL=C.UTF-8 "$CLI" insert-into-column --insert="$(printf '\303\251')" >o && LC_ALL=C grep -c "$(printf '\303\251')" o; tail -c 6 o)x",
        {}, 0,
        "0\n\xE9"
        "caf\xE9\n");
    row("--in-place on a full disk, left untouched",
        R"x(seq 1000 >f && ulimit -f 2 && "$CLI" insert-into-column --insert=x --in-place f; s=$?; wc -c <f; ls; exit $s)x",
        {}, 3, "3893\nf\n", "File too large");
    // Functions that stream a file to a file.
    row("break-up-file through the binary",
        R"x(printf 123456789 >in && "$CLI" break-up-file --input-single=in --output-file=out --new=5 && cat out)x",
        {}, 0, "12345\r\n6789");
    row("replace-byte-in-file: a FILE argument is refused",
        "replace-byte-in-file --input-file=a --output-file=b --find=a --replace-with=b c", {}, 2,
        {}, "reads no text from a FILE or standard input");
    row("break-up-file: --in-place does not apply", "break-up-file --input-single=a --in-place", {},
        2, {}, "--in-place does not apply");
    row("break-up-file: a file-name field has no --NAME-file twin",
        "break-up-file --output-file-file=x", {}, 2, {}, "unknown option --output-file-file");
    row("break-up-file: record length 0",
        R"x(: >in && "$CLI" break-up-file --input-single=in --output-file=out; s=$?; ls; exit $s)x",
        {}, 1, "in\n", "New CR terminated record length can not be 0.\n");
    row("replace-byte-in-file: a missing input is exit 3 with the system's reason",
        "replace-byte-in-file --input-file=none --output-file=out --find=a --replace-with=b", {}, 3,
        {}, "Cannot read none: No such file or directory");
    // The signal goes once the program catches it (SigCgt bit 15): a slow start is no failure.
    row("a termination signal stops the run as Stop does",
        R"x("$CLI" replace-byte-in-file --input-file=/dev/zero --output-file=/dev/null --find=a --replace-with=b & p=$!; while kill -0 $p 2>/dev/null; do m=$(awk '/SigCgt/ { print $2 }' /proc/$p/status); [ $((0x0${m#????????????} & 16384)) -ne 0 ] && break; sleep 0.05; done; kill -TERM $p; wait $p)x",
        {}, 1, {}, "Processing stopped!\n");
    // Far larger than the memory the program may take: a sparse file streamed to /dev/null.
    row("a file larger than the memory allowed",
        R"x(truncate -s 300M big && ulimit -v 100000 && "$CLI" replace-byte-in-file --input-file=big --output-file=/dev/null --find='{Hex 00}' --replace-with=x && "$CLI" break-up-file --input-single=big --output-file=/dev/null --new=80)x",
        {}, 0, {});
    // Megabytes written to standard output, a pipe, straight from the pieces: a streamed run
    // on two threads, and a whole text whose deletions are made in place.
    row("large texts through a pipe come out whole",
        R"x(seq 600000 >in && sed 's/^/x/' in >want && "$CLI" insert-into-column --insert-this-data=x --at=1 in | cat >got && cmp got want && sed 's/.*/&<t>&/' in >tags && sed 's/.*/&&/' in >want && "$CLI" delete-strip-out-data '--delete=<' '--to-this-data=>' tags | cat >got && cmp got want && echo same)x",
        {}, 0, "same\n");
    // Results, reports and refusals.
    row("total prints the total alone", "total-a-specified-column --in-column=3 --to=12",
        "a 1,000.25\r\nb (0.5)\r\n", 0, "999.75\n");
    row("total --in-place leaves the file and prints the total",
        R"x(cat >f && "$CLI" total-a-specified-column --in-column=1 --to=9 --in-place f && cat f)x",
        "12.5\n-2\n", 0, "10.5\n12.5\n-2\n");
    row("total --output writes the total there",
        R"x(cat >f && "$CLI" total-a-specified-column --in-column=1 --to=9 --output=t f && cat t f)x",
        "1\n2\n", 0, "3\n1\n2\n");
    row("align from a pipe, read twice through a spooled copy", "align-data-into-columns -",
        "a bbb\ncc d\n", 0, "a   bbb\ncc  d\n");
    row("replace with an empty search leaves a file's bytes",
        R"x(cat >f && "$CLI" replace-in-column --replace= --with=x --in-column=1 --to=3 f)x",
        "caf\xE9\r\nb", 0, "caf\xE9\r\nb");
    row("spread sheet delimiter: {TAB} named, crlf kept",
        "insert-spread-sheet-delimiter --insert-this-spread-sheet-column-divider={TAB} --at=3",
        "abcd\r\na\r\n", 0, "ab\tcd\r\na\t\r\n");
    row("insert a column, block longer than the text",
        R"x(insert-a-column --insert-this-column-of-data="$(printf '1\n2\n3')" --at=2)x",
        "ab\ncd\n", 0, "a1b\nc2d\n3\n");
    row("add-row: block with a literal line break, crlf kept",
        R"x(add-row --insert-this-data="$(printf -- '-\n=')" --every=1)x", "a\r\nb\r\n", 0,
        "a\r\n-\r\n=\r\nb\r\n");
    row("insert-lines-per-data: search texts from a file, one a line",
        R"x(printf 'zz\na\n\nf\n' >t && "$CLI" insert-lines-per-data --insert-this-data='>' --every-line-containing-this-data-file=t)x",
        "ab\ncd\nef\n", 0, "ab\n>\ncd\nef\n>\n");
    row("append-data: the search text ticks its box",
        "append-data --append-this-data=X --containing=b", "a\nb\n", 0, "a\nb X\n");
    row("delete-retain-line-data: offset not a number is a usage error",
        "'Retain/Delete Line Data' --this-data=b --offset=abc", "ab\nb\n", 2, {},
        "--offset needs a whole number, not \"abc\"");
    row("delete-retain-line-data: negative offset",
        "'Retain/Delete Line Data' --this-data=c --offset=-1", "abc\nxc\n", 0, "bc\nxc\n");
    row("special-routines: capitals of a file, windows-1252 letters untouched, a break added",
        R"x(printf 'caf\351 \340b\r\nx' >f && "$CLI" special-routines --all-capital-letters f)x",
        {}, 0,
        "CAF\xE9 \xE0"
        "B\r\nX\r\n");
    row("special-routines: small letters of utf-16", "special-routines --all-small-letters",
        QByteArray("\xFF\xFE"
                   "A\0\xC9\0\n\0",
                   8),
        0,
        QByteArray("\xFF\xFE"
                   "a\0\xC9\0\n\0",
                   8));
    row("special-routines: the counts, three lines",
        "special-routines --total --caret-row=2 "
        "--caret-column=2",
        "a b\ncd\n", 0, "Total Chr = 5\nTotal Blk = 1\nTotal Chr to Cursor = 4\n");
    row("special-routines: no routine given", "special-routines", "a\n", 2, {}, "give one of");
    row("special-routines: two routines given",
        "special-routines --all-capital-letters --delete-all-letters", "a\n", 2, {},
        "give only one of the run options");
    row("html-realign: the overlay warning on standard error", "html-realign", "abc\n x\n", 0,
        "abc\n x\naxc\n", "Data has been overlayed!");
    row("sort: crlf and windows-1252 kept, blank rows gone",
        "sort-ascending-descending --sort-ascending", "z\xE9\r\nb\r\n \r\nA\r\n", 0,
        "A\r\nb\r\nz\xE9\r\n");
    row("reverse order: each place keeps its line end", "sort-ascending-descending --reverse",
        "a\r\nb\nc", 0, "c\r\nb\na\r\n");
    row("shuffle: K 2", "shuffle-data --shuffle=2", "a\nb\nc\n", 0, "a\nb\nb\nc\n");
    row("read-me: the replacement list of rmdat.plx, crlf kept",
        R"x(printf 'cat;dog\r\n' >rmdat.plx && PLINTEX_HOME=. "$CLI" read-me)x",
        "The cat sat\r\non the mat!\r\n", 0, "The dog sat.   on the mat! \r\n");
    row("read-me: --replacement-list from a file instead of rmdat.plx",
        R"x(printf 'cat;dog\r\n' >rmdat.plx && printf 'cat;cow\nmat;rug\n' >l && PLINTEX_HOME=. "$CLI" read-me --replacement-list-file=l)x",
        "The cat sat\non the mat!\n", 0, "The cow sat.   on the rug! \n");
    row("read-me: without rmdat.plx, its boxes as flags",
        R"x(PLINTEX_HOME=. "$CLI" read-me --no-delete-web-addresses --delete-all-html-tags)x",
        "<b>www.a.com</b>\n", 0, "www.a.com.   \n");
    row("read-me: the lock is the window's", "read-me --lock", {}, 2, {}, "unknown option --lock");
    row("read-me: rmdat.plx that is no file",
        R"x(mkdir rmdat.plx && PLINTEX_HOME=. "$CLI" read-me)x", "a\n", 3, {},
        "rmdat.plx is not a regular file");
    row("replace-data-with-data-list: doubling entries refused within the memory limit",
        R"x(printf 'aa\n%.0s' $(seq 60) >l && ulimit -v 400000 && "$CLI" replace-data-with-data-list --replace-this-data=a --with-this-data-file=l)x",
        "b\nxa\n", 1, {}, "than memory allows");
    row("horizontal-concatenation: symmetrical from a pipe, measured through a spooled copy",
        "horizontal-concatenation --horiz=3 --separated-by=1 --symmetrical-data -", "a\nbb\nc\nd\n",
        0, "a  bb c  \nd  \n");
    row("insert-incrementing-numbers: symmetrical counts a stream's rows to its end",
        "insert-incrementing-numbers --symmetrical --and-in-every=5 -",
        QByteArray("x\n").repeated(12), 0, "01x\nx\nx\nx\nx\n02x\nx\nx\nx\nx\n03x\nx\n");
    row("insert-incrementing-letters: past zzz one warning, the rows labelled kept",
        R"x(yes x | head -n 18280 | "$CLI" insert-incrementing-letters 2>e | tail -n 3; cat e)x",
        {}, 0, "zzzx\nx\nx\nThree level maximum reached.\n");
    row("insert-cr: the width from --caret-column", "insert-cr --caret-column=6",
        "a1234567890\r\nb123 567890\r\n", 0, "a12345\r\n67890\r\nb123 \r\n567890\r\n");
    // Recipes: the steps in turn, every line checked before the first runs.
    row("recipe: row passes in one stream give what the runs piped give",
        R"x(cat >in && printf '%s\n' '# three steps' '' "insert-into-column --insert-this-data='> ' --at=1" 'delete-row --delete-row=2 --and-every=3 # every third' "plintex-cli add-row --insert-this-data=$'--\\n==' --every=2 --from-row=2" >r && "$CLI" --recipe=r in >x && "$CLI" insert-into-column --insert='> ' --at=1 in | "$CLI" delete-row --delete-row=2 --and-every=3 | "$CLI" add-row --insert-this-data="$(printf -- '--\n==')" --every=2 --from-row=2 >y && cmp x y && cat x)x",
        "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7", 0,
        "> 1\r\n> 3\r\n--\r\n==\r\n> 4\r\n> 6\r\n--\r\n==\r\n> 7\r\n");
    row("recipe: a step that measures first, after others, from a pipe",
        R"x(cat >in && printf '%s\n' 'insert-into-column --insert-this-data=Q --at=2' 'align-data-into-columns --right-justify' 'insert-into-column --insert-this-data=-' >r && "$CLI" --recipe=r <in >x && "$CLI" insert-into-column --insert-this-data=Q --at=2 in | "$CLI" align-data-into-columns --right-justify | "$CLI" insert-into-column --insert-this-data=- >y && cmp x y && cat x)x",
        "a bb\r\ndd e\r\n", 0, "- aQ  bb\r\n-dQd   e\r\n");
    row("recipe: a step that holds the text among row passes",
        R"x(printf '%s\n' 'sort-ascending-descending --sort-descending' 'insert-into-column --insert-this-data=-' >r && "$CLI" --recipe=r)x",
        "b\na\nc\n", 0, "-c\n-b\n-a\n");
    row("recipe: an endless pipe streams through",
        R"x(printf 'insert-into-column --insert-this-data=x\nremove-blank-lines\n' >r && yes abc | "$CLI" --recipe=r 2>/dev/null | head -2)x",
        {}, 0, "xabc\nxabc\n");
    row("recipe: a total is printed instead of the text",
        R"x(printf 'insert-into-column --insert-this-data=1\ntotal-a-specified-column --in-column=1 --to=3\n' >r && "$CLI" --recipe=r)x",
        "2\n3\n", 0, "25\n");
    row("recipe: --in-place",
        R"x(printf 'a\nb\n' >f && printf 'insert-into-column --insert-this-data=-\n' >r && "$CLI" --recipe=r --in-place f && cat f)x",
        {}, 0, "-a\n-b\n");
    row("recipe: empty, the text as it came", R"x(printf '# nothing\n\n' >r && "$CLI" --recipe=r)x",
        "a\r\nb\xE9", 0, "a\r\nb\xE9");
    row("recipe: a refused step names its line, nothing written",
        R"x(printf 'insert-into-column --insert-this-data=x\ndelete-row --and-every=1\n' >r && "$CLI" --recipe=r --output=o; s=$?; test -e o || echo none; exit $s)x",
        "a\nb\n", 1, "none\n", "r:2: 0 or 1 increment is invalid.");
    row("recipe: a bad line stops it before any step, the file untouched",
        R"x(printf 'a\n' >f && printf 'insert-into-column --insert-this-data=x\n\ninsert-into-column --at=x\n' >r && "$CLI" --recipe=r --in-place f; s=$?; cat f; exit $s)x",
        {}, 2, "a\n", "r:3: option --at-column-position needs a whole number >= 0, not \"x\"");
    row("recipe: an unknown option",
        R"x(printf 'remove-blank-lines --bogus\n' >r && "$CLI" --recipe=r)x", {}, 2, {},
        "r:1: unknown option --bogus");
    row("recipe: a file-to-file function is no step",
        R"x(printf 'break-up-file --input-single-record-file=a --output-file=b\n' >r && "$CLI" --recipe=r)x",
        {}, 2, {}, "r:1: \"Break Up File\" streams one file into another: it is no recipe step");
    row("recipe: a step names no input",
        R"x(printf 'remove-blank-lines in\n' >r && "$CLI" --recipe=r)x", {}, 2, {},
        "r:1: a recipe step names no file");
    row("recipe: a step names no output",
        R"x(printf 'remove-blank-lines --output=o\n' >r && "$CLI" --recipe=r)x", {}, 2, {},
        "r:1: --output is no option of a recipe step");
    row("recipe: no shell syntax",
        R"x(printf 'remove-blank-lines | cat\n' >r && "$CLI" --recipe=r)x", {}, 2, {},
        "r:1: a recipe step is one command, without |");
    row("recipe: a quote left open",
        R"x(printf "remove-blank-lines 'a\n" >r && "$CLI" --recipe=r)x", {}, 2, {},
        "r:1: the quote ' is not closed");
    row("recipe: --NAME-file read from the recipe's folder",
        R"x(mkdir d && printf 'X\n' >d/v && printf 'insert-into-column --insert-this-data-file=v\n' >d/r && "$CLI" --recipe=d/r)x",
        "a\nb\n", 0, "Xa\nXb\n");
    row("recipe: --NAME-file out of its folder refused",
        R"x(mkdir d && printf 'X\n' >v && printf 'insert-into-column --insert-this-data-file=../v\n' >d/r && "$CLI" --recipe=d/r)x",
        "a\n", 3, {}, "d/r:1: cannot read ../v: a recipe reads only files in its own folder");
    row("recipe: --NAME-file through a link out of its folder refused",
        R"x(mkdir d && printf 'X\n' >v && ln -s ../v d/v && printf 'insert-into-column --insert-this-data-file=v\n' >d/r && "$CLI" --recipe=d/r)x",
        "a\n", 3, {}, "a recipe reads only files in its own folder");
    row("recipe: a FIFO refused", R"x(mkfifo r && "$CLI" --recipe=r)x", {}, 3, {},
        "cannot read r: it is not a regular file");
    row("recipe: a folder refused", R"x(mkdir r && "$CLI" --recipe=r)x", {}, 3, {},
        "cannot read r: it is a folder");
    row("recipe: larger than 16 MiB refused", R"x(truncate -s 17M r && "$CLI" --recipe=r)x", {}, 3,
        {}, "cannot read r: larger than 16 MiB");
}

void TestCli::endToEnd()
{
    QFETCH(QString, script);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
#if defined(__SANITIZE_ADDRESS__)
    if (script.contains(u"ulimit -v"_s))
        QSKIP("the address sanitizer reserves more address space than a memory limit allows");
#endif
    QTemporaryDir dir;
    qputenv("CLI", PLINTEX_CLI);
    if (!script.contains(u"$CLI"_s))
        script = u"exec \"$CLI\" "_s + script;
    const Outcome o =
        run(u"/bin/sh"_s, {u"-c"_s, u"cd '"_s + dir.path() + u"' && "_s + script}, input);
    QCOMPARE(o.out, out);
    QVERIFY2(err.isEmpty() ? o.err.isEmpty() : o.err.contains(err), o.err.constData());
    QCOMPARE(o.status, status);
    if (status >= 2)
        QCOMPARE(o.err.count('\n'), 1); // one line of reason
}

// Every function that streams gives what its run routine gives, on inputs that are hard to
// stream: the example's parameters, with a text the input's encoding cannot hold (`beyond`), or
// as they are, in ASCII, on a text whose encoding shows only far in.
void TestCli::streamMatchesRunRoutine_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("beyond");
    const QByteArray tenRows = "1 PAID\n2\n3 PAID\n4\n5\n6 PAID\n7\n8\n9\n10 PAID\n";
    // A file is read on the guess its plain start gives; these belie it only far in.
    const QByteArray plainStart = QByteArray("12.5 PAID item\n").repeated(5000);
    // Characters beyond U+FFFF where the examples' column edges fall, in either half.
    const QByteArray pairs = QString(u"abcde\U0001F600f\U0001F600gh\U0001F600ij\U0001F600k"
                                     u"\U0001F600lmno"_s)
                                 .toUtf8();
    // The examples' search texts at either end of rows, between rows without them, over more
    // than a piece of output.
    const QByteArray hitsUnit = "bbbBBBdataB999 first\nplain\n \nlast: 999dataBBBBbbb\nplain too\n";
    const QByteArray hits = hitsUnit.repeated(1800) + "\n\nbbb BBB dataB 999";
    const QList<std::tuple<const char *, QByteArray, int, int>> inputs = {
        {"utf-8 letters and pairs",
         "M\xC3\xBCller Soci\xC3\xA9t\xC3\xA9 \xC3\x98lund \xE2\x82\xAC (12.50)  \n" + pairs +
             "\nZ" + pairs + "\n\xC3\xA9\n\n",
         0, 0},
        {"windows-1252 long rows",
         "caf\xE9 cr\xE8me br\xFBl\xE9\x65 12.5 \n\x80uro \xD8lund (3) \t\n", 0, 0},
        {"empty", QByteArray(), 0, 0},
        {"lf with final break", QByteArray("abc\ndefgh\n"), 0, 0},
        {"no final break", QByteArray("abc\ndefgh"), 0, 0},
        {"mixed line ends", QByteArray("a\r\nb\rc\nd"), 0, 0},
        {"lone cr at the very end", QByteArray("a\rb\r"), 0, 0},
        {"band in the middle", QByteArray("1\n2\n3\n4\n5\n"), 2, 4},
        {"band from row 2 to the end", tenRows, 2, 0},
        {"band from row 8 to the end", tenRows, 8, 0},
        {"band past the end", tenRows, 12, 0},
        {"windows-1252", QByteArray("caf\xE9\n\x80uro\nlast\n"), 2, 3},
        {"utf-8 with bom", QByteArray("\xEF\xBB\xBFx\r\ny\r\n"), 0, 0},
        {"utf-16le crlf",
         QByteArray("\xFF\xFE"
                    "a\0b\0\r\0\n\0c\0\r\0\n\0",
                    16),
         0, 0},
        {"empty lines", QByteArray("\n\n\n"), 0, 0},
        {"long lines", QByteArray(5000, 'x') + "\n" + QByteArray(70, 'y'), 0, 0},
        {"amounts", QByteArray("a  12.50\nb (3.25)\nc <1,000>\n\nd  -0.05\n"), 0, 0},
        {"utf-8 far in", plainStart + "caf\xC3\xA9 \xE2\x82\xAC PAID\n" + plainStart, 0, 0},
        {"windows-1252 far in, after utf-8 bytes",
         plainStart + "caf\xC3\xA9 PAID\n" + plainStart + "\x80 1.5\r\n", 0, 0},
        {"search texts", hits, 0, 0},
        {"search texts in a band", hits, 7, 8000},
        {"search texts, crlf", QByteArray(hitsUnit).replace("\n", "\r\n").repeated(40), 0, 0},
        {"search texts, windows-1252", "\xE9t\xE9 " + hitsUnit.repeated(30), 0, 0},
        {"search texts, a lone cr far in",
         hitsUnit.repeated(40) + "lone\rcr\n" + hitsUnit.repeated(40), 7, 300},
        // Beyond ASCII after, inside and before the examples' column bands; the second text
        // shows its Windows-1252 only in a row that a band need not judge.
        {"utf-8 far in, letters after, inside and before a band",
         plainStart +
             "12.5 PAID item 5 and caf\xC3\xA9\n12.5 PAID it\xC3\xA9m 7\n\xE2\x82\xAC"
             "5\n" +
             plainStart,
         0, 0},
        {"windows-1252 far in, letters after, inside and before a band",
         plainStart + "12.5 PAID item 5 and caf\xE9\n12.5 PAID it\xC3\xA9m 7\n\xC3\xA9 5\n" +
             plainStart,
         0, 0},
    };
    for (const FunctionEntry &f : catalogue()) {
        if (!f.body.rowPass)
            continue;
        for (const auto &[name, input, from, to] : inputs) {
            QTest::addRow("%s: %s", qPrintable(f.slug()), name)
                << f.name << input << from << to << true;
            if (input.startsWith(plainStart) || QByteArrayView(name).startsWith("search texts"))
                QTest::addRow("%s: %s, example's texts", qPrintable(f.slug()), name)
                    << f.name << input << from << to << false;
        }
    }
}

// Every function that streams gives, from a file and from a stream read in pieces of 3 bytes,
// what its run routine gives followed by writing the lines back. Where rows come and go in a
// text of mixed line ends the stream keeps each row's own break, so the rows are compared.
void TestCli::streamMatchesRunRoutine()
{
    QFETCH(QString, function);
    QFETCH(QByteArray, input);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, beyond);
    const FunctionEntry *f = catalogue().byName(function);
    ParamValues params = ParamValues::defaults(f->params());
    for (const auto &[key, value] : f->body.example.params)
        params.set(key,
                   traitsOf(f->param(key)->kind).isNumber || !beyond ? value : value + u"\u2192");
    if (function == u"Total a Specified Column")
        params.set(u"start"_s, u"3"_s);
    const RowRestraint restraint{from, to, from == 0 && to == 0};

    TextFormat format = detectFormat(input);
    RunInput run;
    run.lines = rowsToLines(decodeRows(input, format, &format.mixedEnds));
    run.params = params;
    run.restraint = restraint;
    run.runButton = f->body.example.runButton;
    run.caret = f->body.example.caret;
    SilentMonitor monitor;
    const RunResult r = f->body.run(run, monitor);
    const QByteArray expected = !r.report.isEmpty() ? QByteArray()
                                : r.lines           ? encodeRows(linesToRows(*r.lines), format)
                                                    : input;

    // Pieces of 997 bytes end a stream's buffer anywhere within a row; a file cut into pieces of
    // 5 bytes has rows that stand apart, or that read only their index, worked on two threads.
    struct Way {
        bool rereadable;
        int pieceSize;
        int lanePiece;
    };
    QList<Way> ways{{true, 3, 0}, {false, 3, 0}, {true, 997, 0}};
    const PassStart start{params, run.runButton, checkBand(restraint, run.lines.size()), run.caret};
    if (const PassPlan plan = f->body.rowPass(start); plan.rowsApart || plan.rowsByIndex)
        ways.append({true, 997, 5});
    for (const auto &[rereadable, pieceSize, lanePiece] : std::as_const(ways)) {
        cli::MemorySource source(input, rereadable, pieceSize);
        QByteArray streamed;
        const cli::StreamResult s =
            cli::streamPass(source, f->body.rowPass, {params, run.runButton, restraint, run.caret},
                            [&](QByteArrayView b) {
                                streamed += b;
                                return true;
                            },
                            {}, {.lanePiece = lanePiece});
        QCOMPARE(s.outcome == cli::StreamResult::Outcome::Refused, !r.done());
        QCOMPARE(s.message, r.message);
        QCOMPARE(s.report, r.report);
        if (!r.done())
            continue;
        if (format.mixedEnds.isEmpty() || r.lines->size() == run.lines.size())
            QCOMPARE(streamed, expected);
        else
            QCOMPARE(decodeRows(streamed, format), decodeRows(expected, format));
    }
}

// A function that only reorders rows writes their own bytes in the new order: the same bytes as
// its run routine followed by writing the lines back, in every encoding and mix of line ends.
void TestCli::reorderingMatchesRunRoutine()
{
    QRandomGenerator rng(5);
    const FunctionEntry *f = catalogue().byName(u"sort-ascending-descending");
    for (int i = 0; i < 300; ++i) {
        const QByteArray input = testing::randomText(rng, rng.bounded(2) == 0);
        const QString button = f->runButtons()[rng.bounded(3)].key;
        ParamValues params = ParamValues::defaults(f->params());
        params.set(u"column"_s, rng.bounded(2) == 0 ? u"1"_s : u"3"_s);
        TextFormat format = detectFormat(input);
        RunInput run;
        run.lines = rowsToLines(decodeRows(input, format, &format.mixedEnds));
        run.params = params;
        run.runButton = button;
        SilentMonitor monitor;
        const RunResult r = f->body.run(run, monitor);
        const cli::ByteRows rows(input);
        QCOMPARE(rows.format().encoding, format.encoding);
        QCOMPARE(rows.format().lineEnd, format.lineEnd);
        const std::optional<RowOrder> order =
            f->body.rowOrder(params, button, rows.source(), monitor);
        if (!order) // a reverse from column 3 rewrites rows
            continue;
        QByteArray written;
        QVERIFY(rows.write(order->rows, [&](QByteArrayView b) {
            written += b;
            return true;
        }));
        QCOMPARE(written.toHex(' '), encodeRows(linesToRows(*r.lines), format).toHex(' '));
    }
}

void TestCli::runThatChangesNothingKeepsBytes()
{
    // Random texts of every encoding with mixed line ends, through a run that changes nothing:
    // in process from files and streams read in small pieces, then through the program itself.
    QRandomGenerator rng(7);
    const FunctionEntry *f = catalogue().byName(u"insert-into-column");
    const ParamValues params = ParamValues::defaults(f->params());
    for (int sample = 0; sample < 2000; ++sample) {
        // Two lines at least: a run over one line is refused (To must be past From).
        const QByteArray text = testing::randomText(rng, true, 2);
        cli::MemorySource source(text, sample % 2 == 0, 1 + rng.bounded(9));
        QByteArray out;
        const cli::StreamResult r =
            cli::streamPass(source, f->body.rowPass, {params}, [&](QByteArrayView b) {
                out += b;
                return true;
            });
        if (r.outcome == cli::StreamResult::Outcome::Refused) {
            QVERIFY(lineCount(text) < 2); // a CR, an empty line and a LF make one CR LF
            continue;
        }
        QCOMPARE(out.toHex(' '), text.toHex(' '));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(u"in.txt"_s);
    for (int sample = 0; sample < 40; ++sample) {
        const QByteArray text = testing::randomText(rng, true, 2);
        QVERIFY(testing::writeFile(path, text));
        const Outcome o =
            run(QStringLiteral(PLINTEX_CLI), {u"insert-into-column"_s, sample % 2 ? path : u"-"_s},
                sample % 2 ? QByteArray() : text);
        QCOMPARE(o.status, lineCount(text) < 2 ? 1 : 0);
        if (o.status == 0)
            QCOMPARE(o.out.toHex(' '), text.toHex(' '));
    }
}

// A run that only maps 7-bit characters rewrites a file's bytes directly: random texts of every
// encoding and line end come out as the row pass writes them.
void TestCli::asciiMapWritesWhatTheRowPassWrites()
{
    QRandomGenerator rng(11);
    for (const FunctionEntry &f : catalogue()) {
        if (!f.body.asciiMap)
            continue;
        for (const RunButtonItem &b : f.runButtons()) {
            const ParamValues params = ParamValues::defaults(f.params());
            const std::optional<AsciiMap> map = f.body.asciiMap(b.key, params);
            if (!map)
                continue;
            for (int sample = 0; sample < 500; ++sample) {
                const QByteArray text = testing::randomText(rng, sample % 2 == 0);
                QByteArray mapped;
                // In small pieces, or whole (where bytes are mapped many at a time).
                cli::MemorySource source(text, true, sample % 3 ? 1 + rng.bounded(9) : 1 << 12);
                const auto collect = [](QByteArray &to) {
                    return [&to](QByteArrayView bytes) {
                        to += bytes;
                        return true;
                    };
                };
                const cli::MapOutcome outcome =
                    cli::mapAsciiBytes(source, *map, collect(mapped), {});
                QByteArray streamed;
                cli::MemorySource again(text);
                cli::streamPass(again, f.body.rowPass, {params, b.key}, collect(streamed));
                if (outcome == cli::MapOutcome::NotApplicable) {
                    QVERIFY(text.startsWith("\xFF\xFE") || text.startsWith("\xFE\xFF"));
                    continue;
                }
                QCOMPARE(outcome, cli::MapOutcome::Done);
                QCOMPARE(mapped.toHex(' '), streamed.toHex(' '));
            }
        }
    }
}

void TestCli::fileThatShrinksWhileRead()
{
    // Held up by a full output pipe, the program meets the file cut short under it (a log
    // rotated in place): a message and exit 3, never a signal.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"log.txt"_s);
    QByteArray line(99, 'x');
    line += '\n';
    QVERIFY(testing::writeFile(path, line.repeated(300000)));
    QProcess p;
    p.start(QStringLiteral(PLINTEX_CLI),
            {u"insert-into-column"_s, u"--insert-this-data=x"_s, path});
    // Once output comes, the file is open and being read; while this thread sleeps nothing
    // drains the pipe, so the program is held up with most of the file unread.
    QVERIFY(p.waitForStarted() && p.waitForReadyRead(30000));
    QThread::msleep(300);
    QVERIFY(QFile::resize(path, 1000));
    QByteArray err;
    while (!p.waitForFinished(50)) {
        p.readAllStandardOutput();
        err += p.readAllStandardError();
    }
    err += p.readAllStandardError();
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 3);
    QVERIFY2(err.contains("changed size while it was read"), err.constData());
}

namespace {

/// `text` streamed through `f` from a file read `readPiece` bytes at a time, whose writes fail
/// once more than `writable` bytes have gone out: the outcome, its message and, when done, what
/// went out (what did before a failure is whatever the pieces held).
QString streamedFromFile(const FunctionEntry &f, const ParamValues &params, const QByteArray &text,
                         int readPiece, qsizetype writable, cli::StreamLimits limits)
{
    cli::MemorySource source(text, true, readPiece);
    QByteArray out;
    const cli::StreamResult r = cli::streamPass(
        source, f.body.rowPass, {params},
        [&](QByteArrayView b) {
            out += b;
            return out.size() <= writable;
        },
        {}, limits);
    const bool done = r.outcome == cli::StreamResult::Outcome::Done;
    return QString::number(int(r.outcome)) + r.message +
           QString::fromLatin1(done ? out.toHex(' ') : QByteArray());
}

} // namespace

// Random texts of every encoding and mix of line ends, cut into pieces of every small size: two
// threads give the bytes, the outcome and the message one thread gives, a line too long, a
// write that fails and a text that proves Windows-1252 after a row read as UTF-8 among them.
void TestCli::lanesGiveWhatOneThreadGives()
{
    QRandomGenerator rng(13);
    // Every row, an empty one too, shows where the threads found it to start; a third of the
    // texts get numbers, which show what index each row was found to have.
    const FunctionEntry *insert = catalogue().byName(u"insert-into-column");
    const FunctionEntry *numbers = catalogue().byName(u"insert-incrementing-numbers");
    const auto paramsOf = [](const FunctionEntry *f,
                             std::initializer_list<std::pair<QString, QString>> values) {
        ParamValues params = ParamValues::defaults(f->params());
        for (const auto &[key, value] : values) {
            if (!f->param(key))
                qFatal("no parameter %s", qPrintable(key));
            params.set(key, value);
        }
        return params;
    };
    for (int sample = 0; sample < 1000; ++sample) {
        const bool numbering = sample % 3 == 0;
        const FunctionEntry *f = numbering ? numbers : insert;
        const ParamValues params =
            numbering ? paramsOf(numbers, {{u"start"_s, QString::number(rng.bounded(120))},
                                           {u"column"_s, u"2"_s},
                                           {u"step"_s, QString::number(1 + rng.bounded(3))},
                                           {u"symmetrical"_s, rng.bounded(2) ? u"1"_s : u"0"_s}})
                      : paramsOf(insert, {{u"data"_s, u"|"_s}, {u"column"_s, u"2"_s}});
        QByteArray text = testing::randomText(rng, sample % 2 == 0, 2);
        if (sample % 5 == 0) // ASCII rows before one in Windows-1252
            text = QByteArray("plain row\n").repeated(rng.bounded(9)) + "caf\xE9\n" + text;
        if (sample % 7 == 0) // too long, found so by one thread reading in small pieces too
            text += QByteArray(60 + rng.bounded(20), 'x') + "\r\n" + text;
        const bool writeFails = sample % 11 == 0; // once half the text's size has gone out
        const int readPiece = sample % 7 == 0 ? 1 + rng.bounded(9) : 1 << 20;
        const qsizetype writable =
            writeFails ? text.size() / 2 : std::numeric_limits<qsizetype>::max();
        const auto streamed = [&](qsizetype lanePiece) {
            return streamedFromFile(*f, params, text, readPiece, writable,
                                    {.longestLine = 50, .lanePiece = lanePiece});
        };
        QCOMPARE(streamed(1 + rng.bounded(12)), streamed(0));
    }
}

// Align takes a piece's rows at once where their bytes alone tell its fields: rows of fields
// that cross 64-byte blocks, of letters of one to four bytes, with blanks around and between,
// empty or blank, broken by LF or CR LF, the last with or without a break, some too long; now
// and then a TAB, a lone CR or a NUL, which leave the piece to be worked row by row.
void TestCli::alignInPiecesGivesWhatOneThreadGives()
{
    QRandomGenerator rng(17);
    const FunctionEntry *f = catalogue().byName(u"align-data-into-columns");
    QVERIFY(f->param(u"right"_s));
    const QList<QByteArray> utf8Letters = {"a", "Z", "\xC3\xA9", "\xE2\x82\xAC",
                                           "\xF0\x9F\x98\x80"};
    const QList<QByteArray> windows1252Letters = {"a", "Z", "\xE9", "\x80", "\xFF"};
    const QList<QByteArray> odd = {"\t", "\r", QByteArray(1, '\0')};
    for (int sample = 0; sample < 400; ++sample) {
        const bool utf8 = sample % 2 == 0;
        const QList<QByteArray> &letters = utf8 ? utf8Letters : windows1252Letters;
        QByteArray text = utf8 ? "" : "\xE9\n"; // read as Windows-1252 from the start
        for (int row = 3 + rng.bounded(40); row > 0; --row) {
            for (int field = rng.bounded(6); field >= 0; --field) {
                text += QByteArray(rng.bounded(3), ' ');
                for (int n = rng.bounded(4) == 0 ? rng.bounded(80) : rng.bounded(8); n > 0; --n)
                    text += letters[rng.bounded(int(letters.size()))];
            }
            if (sample % 9 == 0 && rng.bounded(20) == 0)
                text += odd[rng.bounded(int(odd.size()))];
            text += rng.bounded(3) == 0 ? "\r\n" : "\n";
        }
        if (rng.bounded(2) == 0)
            text.chop(text.endsWith("\r\n") ? 2 : 1);
        // Too long a row is found so by one thread reading in small pieces.
        const bool tooLong = sample % 7 == 0;
        const qsizetype longest = tooLong ? 150 : 4000;
        const int readPiece = tooLong ? 1 + rng.bounded(9) : 1 << 20;
        for (const bool right : {false, true}) {
            ParamValues params = ParamValues::defaults(f->params());
            params.set(u"right"_s, right ? u"1"_s : u"0"_s);
            const auto streamed = [&](qsizetype lanePiece) {
                return streamedFromFile(*f, params, text, readPiece,
                                        std::numeric_limits<qsizetype>::max(),
                                        {.longestLine = longest, .lanePiece = lanePiece});
            };
            QCOMPARE(streamed(1 + rng.bounded(300)), streamed(0));
        }
    }
}

// A file read a piece ahead gives the lines and breaks read without: lines that span pieces,
// lines longer than the room left before a piece or than a piece itself, a CR LF split between
// pieces; a pause leaves the file where the reader's bytes end, for someone else to read it,
// and the reader goes on where it was.
void TestCli::readingAheadGivesTheSameLines()
{
    QRandomGenerator rng(11);
    QByteArray text;
    for (const int size : {0, 1, 60, 65535, 65536, 65537, 300000, 600000, 262143, 5, 0})
        text += QByteArray(size, 'a') + (rng.bounded(3) == 0 ? "\r\n" : "\n");
    while (text.size() < 3 << 20) {
        text += QByteArray(qsizetype(rng.bounded(90)), 'b');
        text += QList<const char *>{"\n", "\r\n", "\r"}[rng.bounded(3)];
    }
    text += "last";
    QTemporaryDir dir;
    const QString path = dir.filePath(u"rows.txt"_s);
    QVERIFY(testing::writeFile(path, text));

    // Each line with its break; pausing once `pauseAt` lines are read to read the file whole.
    const auto readLines = [&](bool ahead, int pauseAt) {
        QList<QByteArray> lines;
        cli::FileSource source;
        if (!source.open(path))
            return lines;
        cli::LineReader reader(source, 4 << 20);
        reader.setEncoding(TextEncoding::Utf8, true);
        if (ahead)
            reader.readAhead();
        QByteArrayView line;
        QByteArrayView lineBreak;
        while (reader.next(line, lineBreak) == cli::LineReader::Status::Line) {
            lines.append(line.toByteArray() + '|' + lineBreak.toByteArray());
            if (lines.size() == pauseAt) {
                reader.pause();
                QByteArray next(100, '?');
                next.resize(source.read(next.data(), next.size()));
                QString why;
                if (next != text.mid(reader.bytesRead(), 100) || !source.rewind() ||
                    cli::readWhole(source, 8 << 20, &why) != text ||
                    !source.seek(reader.bytesRead()))
                    return QList<QByteArray>{"pause failed"};
            }
        }
        return lines;
    };
    const QList<QByteArray> expected = readLines(false, -1);
    QVERIFY(expected.size() > 30000);
    QCOMPARE(expected.back(), "last|");
    QCOMPARE(readLines(true, -1), expected);
    for (const int pauseAt : {1, 7, 9, 20000})
        QCOMPARE(readLines(true, pauseAt), expected);
}

// Align measures, then writes. A text rewritten in between, whichever read it falls before, may
// hold fields wider than the widest measured: they go out whole, a blank between each two, and
// nothing is written outside the row.
void TestCli::alignOfATextRewrittenBetweenItsPasses()
{
    const QByteArray before = "a b\nccc d e f\n";
    const QByteArray after = "aaaaa bbbbb\nd\n";
    const auto fields = [](const QByteArray &text) { return text.simplified().split(' '); };
    const FunctionEntry *align = catalogue().byName(u"Align Data into Columns"_s);
    for (const QString &right : {u"0"_s, u"1"_s}) {
        ParamValues params = ParamValues::defaults(align->params());
        params.set(u"right"_s, right);
        for (int seeks = 0; seeks < 8; ++seeks) {
            RewrittenSource source(before, after, seeks);
            QByteArray out;
            cli::streamPass(source, align->body.rowPass, {params, {}, {0, 0, true}, {}},
                            [&](QByteArrayView b) {
                                out += b;
                                return true;
                            });
            QVERIFY2(fields(out) == fields(before) || fields(out) == fields(after),
                     out.constData());
        }
    }
}

void TestCli::wholeTextHasALimit()
{
    cli::MemorySource source(QByteArray(5 << 20, 'a'), false);
    QString why;
    QCOMPARE(cli::readWhole(source, 2 << 20, &why), std::nullopt);
    QVERIFY2(why.contains(u"too large to be held in memory"_s), qPrintable(why));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
