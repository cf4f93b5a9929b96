#include "../runfunction.h"
#include "core/windows1252.h"
#include "ops/columns/bytefields.h"
#include "ops/columns/copycolumn.h"
#include "ops/columns/deleteretaincolumn.h"
#include "ops/columns/replaceincolumn.h"
#include "ops/common/bytecolumns.h"
#include "ops/common/columns.h"

#include <QRandomGenerator>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::runOn;
using testing::runTable;

/// The column functions: whole runs, and the band edits under them.
class TestColumnFunctions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
    void totalFillsItsFields();
    void bandEdits_data();
    void bandEdits();
    void byteFieldsMatchCharacters();
};

void TestColumnFunctions::runs_data()
{
    const auto row = runTable();
    const QString order = u"!Column End position must\rbe greater than Start position."_s;
    const QString zero = u"!Column parameters can not equal 0."_s;
    const QString insert = u"Insert a Column"_s;
    row("insert: block longer than the text, short line gets the entry at its end", insert,
        u"ab\ncdefgh\n"_s, {u"block=x\ny\nz"_s, u"column=5"_s}, u"abx\ncdefygh\nz\n"_s);
    row("insert: column 0 puts the entry in front, block shorter: the rest unchanged", insert,
        u"ab\ncd\nef\n"_s, {u"block=x\ny"_s, u"column=0"_s}, u"xab\nycd\nef\n"_s);
    row("insert: symmetrical pads beyond 148 blanks", insert, u"a-\na-\n"_s,
        {u"block=1\n"_s + QString(200, u'2'), u"column=2"_s, u"symmetrical=1"_s},
        u"a1"_s + QString(199, u' ') + u"-\na"_s + QString(200, u'2') + u"-\n"_s);
    row("insert: empty block changes nothing", insert, u"ab\n"_s, {u"column=2"_s}, u"ab\n"_s);
    row("insert: stop", insert, u"a\nb\n"_s, {u"block=x"_s, u"stop=1"_s}, u"stopped"_s);

    const QString copy = u"Copy/Move a Column"_s;
    row("copy: start 0 refused before the order check", copy, u"abc\ndef\n"_s,
        {u"start=0"_s, u"end=0"_s}, zero);
    row("copy: target 0 refused", copy, u"abc\ndef\n"_s, {u"start=1"_s, u"end=3"_s, u"to=0"_s},
        zero);
    row("copy: end not after start refused", copy, u"abc\ndef\n"_s, {u"start=3"_s}, order);
    row("copy: stop", copy, u"a\nb\n"_s, {u"end=2"_s, u"stop=1"_s}, u"stopped"_s);

    const QString replace = u"Replace in Column"_s;
    row("replace: two blanks to one collapses runs in the band", replace, u"a     b     c\n"_s,
        {u"search=  "_s, u"replacement= "_s, u"start=1"_s, u"end=8"_s}, u"a b     c\n"_s);
    row("replace: replacement holding the search text ends after one pass", replace, u"a-a\nxx\n"_s,
        {u"search=a"_s, u"replacement=aa"_s, u"start=1"_s, u"end=9"_s}, u"aa-aa\nxx\n"_s);
    row("replace: empty search text changes nothing", replace, u"ab\n"_s,
        {u"start=1"_s, u"end=3"_s}, u"ab\n"_s);
    row("replace: search text with a line break changes nothing", replace, u"a\nb\n"_s,
        {u"search=a\nb"_s, u"start=1"_s, u"end=3"_s}, u"a\nb\n"_s);
    row("replace: end 0 refused", replace, u"abc\ndef\n"_s, {u"search=a"_s, u"end=0"_s},
        u"!Column parameters incorrectly set."_s);
    row("replace: end equal to start refused", replace, u"abc\ndef\n"_s,
        {u"search=a"_s, u"start=4"_s, u"end=4"_s}, order);
    row("replace: stop", replace, u"a<\nb\n"_s, {u"search=<"_s, u"end=9"_s, u"stop=1"_s},
        u"stopped"_s);

    const QString sheet = u"Insert Spread Sheet Delimiter"_s;
    row("delimiter: Space names a blank", sheet, u"ab\n"_s, {u"divider=Space"_s, u"column=2"_s},
        u"a b\n"_s);
    row("delimiter: typed names are exact, several characters as typed", sheet, u"ab\n"_s,
        {u"divider={tab}|"_s, u"column=2"_s}, u"a{tab}|b\n"_s);
    row("delimiter: column beyond the end appends", sheet, u"ab\n\n"_s,
        {u"divider=,"_s, u"column=9"_s}, u"ab,\n,\n"_s);
    row("delimiter: column 0 in front", sheet, u"ab\n"_s, {u"divider=;"_s, u"column=0"_s},
        u";ab\n"_s);
    row("delimiter: empty divider changes nothing", sheet, u"ab\n"_s, {u"divider="_s}, u"ab\n"_s);
    row("delimiter: divider holding a line break refused", sheet, u"ab\n"_s, {u"divider=a\nb"_s},
        u"!no undo: The column divider must be on one line."_s);
    row("delimiter: a stop keeps the lines already changed", sheet, u"a\nb\nc\n"_s, {u"stop=2"_s},
        u"stopped: \ta\n\tb\nc\n"_s);

    const QString align = u"Align Data into Columns"_s;
    row("align: no blanks, right justify aligns to the longest", align, u"a\n  abc \nab\n"_s,
        {u"right=1"_s}, u"  a\nabc\n ab\n"_s);
    row("align: no blanks, left only trims", align, u"\ta\n  abc \n"_s, {}, u"a\nabc\n"_s);
    row("align: empty and blank lines stay empty", align, u"a b\n\n   \nc\n"_s, {u"right=1"_s},
        u"a b\n\n\nc\n"_s);
    row("align: tab inside a field counts", align, u"a\tb c\nd e\n"_s, {}, u"a\tb c\nd   e\n"_s);
    row("align: padding wider than 148 blanks", align, QString(200, u'x') + u" y\nz y\n"_s,
        {u"right=1"_s},
        QString(200, u'x') + QString(200, u' ') + u"y\n"_s + QString(199, u' ') + u'z' +
            QString(200, u' ') + u"y\n"_s);
    row("align: a line of many more fields than the widest field", align,
        u"a b c d e f g h i j k l m n o p q r\nmm n\n"_s, {u"right=1"_s},
        u" a  b  c  d  e  f  g  h  i  j  k  l  m  n  o  p  q  r\nmm  n\n"_s);
    row("align: the text's own U+009F stays", align, u"a\u009F b\nc\n"_s, {}, u"a\u009F b\nc\n"_s);
    row("align: stop in its second pass", align, u"a b\nc\nd\ne\n"_s, {u"stop=5"_s}, u"stopped"_s);

    const QString strip = u"Delete/Strip Out Data"_s;
    const QString texts =
        u"!no undo: Enter the data to strip out and the data that ends it,\reach on one line."_s;
    const QStringList tags{u"start=<"_s, u"end=>"_s};
    row("strip: stretch across lines joins them", strip, u"ab<c\nde\nf>gh\ni\n"_s, tags,
        u"abgh\ni\n"_s);
    row("strip: line by line gives the same text", strip, u"ab<c\nde\nf>gh\n<i>j\n"_s,
        tags + QStringList{u"lineByLine=1"_s}, u"abgh\nj\n"_s);
    row("strip: start text with no end after it stays", strip, u"a<b>c<d\ne\n"_s, tags,
        u"ac<d\ne\n"_s);
    row("strip: end text before the first start ends the run", strip, u"a>b<c>d\n"_s, tags,
        u"a>b<c>d\n"_s);
    row("strip: letter case ignored", strip, u"xABCyDEFz\n"_s, {u"start=abc"_s, u"end=def"_s},
        u"xz\n"_s);
    row("strip: letter case ignored beyond ASCII, pairs included", strip,
        u"a\u00C9<x>\u1E9E\U00010400b\n"_s, {u"start=\u00E9"_s, u"end=\u00DF\U00010428"_s},
        u"ab\n"_s);
    row("strip: equal one-character texts delete nothing", strip, u"axbxa\n"_s,
        {u"start=x"_s, u"end=x"_s}, u"axbxa\n"_s);
    row("strip: equal longer texts delete each occurrence", strip, u"1ab2ab3\n"_s,
        {u"start=ab"_s, u"end=ab"_s}, u"123\n"_s);
    row("strip: stretch ending a line keeps the line break", strip, u"a<b>\nc\n"_s, tags,
        u"a\nc\n"_s);
    row("strip: empty end text refused", strip, u"abc\ndef\n"_s, {u"start=<"_s}, texts);
    row("strip: start text with a line break refused", strip, u"abc\ndef\n"_s,
        {u"start=a\nb"_s, u"end=>"_s}, texts);
    row("strip: stop line by line", strip, u"a<x>\nb<c>\n"_s,
        tags + QStringList{u"stop=1"_s, u"lineByLine=1"_s}, u"stopped"_s);
    row("strip: stop keeps the deletions made so far", strip, u"a<x>\nb<c>\nd\ne\n"_s,
        tags + QStringList{u"stop=1"_s}, u"stopped: a\nb<c>\nd\ne\n"_s);

    row("delete/retain: retain keeps the band", u"Delete/Retain Column"_s,
        u"111 222 333 444 555\n111 222 333 444 555\n"_s,
        {u"start=13"_s, u"end=17"_s, u"mode=retain"_s}, u"444 \n444 \n"_s);

    const QString total = u"Total a Specified Column"_s;
    const auto sum = [&](const char *name, const QString &text, int start, int end,
                         const QString &expected) {
        row(name, total, text,
            {u"start="_s + QString::number(start), u"end="_s + QString::number(end)}, expected);
    };
    sum("total: thousands separators skipped", u"1,234.50\n$2,000\n"_s, 1, 20, u"3234.5"_s);
    sum("total: (12) 3 is -123", u"(12) 3\n0\n"_s, 1, 20, u"-123"_s);
    sum("total: second pair of brackets only dropped", u"(1)(2)\n<3><4>\n"_s, 1, 20, u"-46"_s);
    sum("total: rows without digits skipped", u"abc\n5\n\n"_s, 1, 20, u"5"_s);
    sum("total: start 0 end 5 takes five characters", u"12345678\n00001000\n"_s, 0, 5, u"12346"_s);
    sum("total: start 1 end 5 takes four characters", u"12345678\n00001000\n"_s, 1, 5, u"1234"_s);
    sum("total: band past a short line", u"1\n1234567\n"_s, 5, 7, u"56"_s);
    sum("total: trailing zeros dropped", u"1.10\n2.20\n"_s, 1, 9, u"3.3"_s);
    sum("total: negative", u"-1.5\n.25\n"_s, 1, 9, u"-1.25"_s);
    sum("total: zero", u"1\n-1\n"_s, 1, 9, u"0"_s);
    sum("total: 15 significant digits, rounded", u"123456789012345678\n0\n"_s, 1, 30,
        u"1.23456789012346E17"_s);
    sum("total: 15 integer digits stay plain", u"999999999999999\n0\n"_s, 1, 30,
        u"999999999999999"_s);
    sum("total: 0.00001 stays plain", u"0.00001\n0\n"_s, 1, 9, u"0.00001"_s);
    sum("total: below 0.00001 scientific", u"0.000001\n0.0000005\n"_s, 1, 12, u"1.5E-6"_s);
    sum("total: beyond 36 digits, compensated", u"1"_s + QString(40, u'0') + u"\n1\n"_s, 1, 50,
        u"1E40"_s);
    // Adding 0.01 a million times in doubles gives 10000.0000001719.
    sum("total: a million amounts of 0.01 are exact", u"0.01\n"_s.repeated(1000000), 1, 9,
        u"10000"_s);
    sum("total: a million amounts of 99999.99 are exact", u"  99,999.99\n"_s.repeated(1000000), 1,
        12, u"99999990000"_s);
    const QString invalid = u"' is not a valid floating point value"_s;
    sum("total: one line, the row check comes first", u"1\n"_s, 5, 2,
        u"!Row restraint To position must\rbe greater than From position."_s);
    sum("total: columns at their defaults 0 and 0", u"1\n2\n"_s, 0, 0, order);
    sum("total: end before start", u"1\n2\n"_s, 5, 4, order);
    sum("total: a date", u"1\n2023-01-05\n"_s, 1, 20, u"!'2023-01-05"_s + invalid);
    sum("total: two points", u"1.2.3\n1\n"_s, 1, 20, u"!'1.2.3"_s + invalid);
    sum("total: minus after the digits", u"111-\n1\n"_s, 1, 20, u"!'111-"_s + invalid);
    sum("total: beyond a double's range", u"1\n"_s + u"9"_s.repeated(400), 1, 500,
        u"!'"_s + u"9"_s.repeated(400) + invalid);
    sum("total: scales mixed, short and long numbers",
        u"1.5\n2.25\n3\n-0.125\n12345678901234567.8\n"_s, 1, 30, u"1.23456789012346E16"_s);
    sum("total: a lone point", u"1\nx.y\n"_s, 1, 20, u"!'."_s + invalid);
    sum("total: a lone minus", u"n/a - x\n1\n"_s, 1, 20, u"!'-"_s + invalid);
    const QString huge = u"1"_s + QString(308, u'0') + u'\n'; // 1E308
    sum("total: partial sums beyond a double's range", huge + huge + u'-' + huge, 1, 400,
        u"1E308"_s);
    sum("total: a total beyond a double's range", huge + huge, 1, 400,
        u"!The total is too large to be shown."_s);
    row("total: stop shows no total", total, u"1\n2\n"_s, {u"end=5"_s, u"stop=0"_s}, u"stopped"_s);
}

void TestColumnFunctions::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    RunResult r;
    QTEST(runOn(function, text, params, &r), "expected");
    // A search that no band can hold leaves the text and the histories alone.
    if (function == u"Replace in Column"_s && r.done())
        QCOMPARE(r.saveHistories, r.lines.has_value());
}

void TestColumnFunctions::totalFillsItsFields()
{
    RunResult r;
    QCOMPARE(runOn(u"Total a Specified Column"_s, u"a 1\nb 2\nc 4\n"_s,
                   {u"start=3"_s, u"end=4"_s, u"band=2..0"_s}, &r),
             u"6"_s);
    QCOMPARE(r.fields, (QList<FieldWrite>{{FieldWrite::Target::RestraintFrom, {}, u"2"_s},
                                          {FieldWrite::Target::RestraintTo, {}, u"3"_s},
                                          {FieldWrite::Target::Param, u"total"_s, u"6"_s}}));
}

/// A row whose bytes came on the guess that they are UTF-8, settled to their real encoding.
struct GuessedRow final : PassRow {
    explicit GuessedRow(RowBytes real) : real(real) {}
    QString &text() override { return unused; }
    std::optional<RowBytes> bytes() override { return real; }
    RowBytes real;
    QString unused;
};

/// The edit made on the line's bytes in each encoding that holds it, decoded again: as they
/// are, and on the guess that they are UTF-8.
template <typename Edit> QStringList byteEdits(const QString &line, Edit edit)
{
    QStringList edits;
    const common::EncodedText encoded(line);
    for (const RowEncoding encoding : {RowEncoding::Utf8, RowEncoding::Windows1252}) {
        const QByteArray *bytes = encoded.in(encoding);
        GuessedRow guessed({bytes ? *bytes : QByteArrayView(), encoding});
        for (const RowBytes row :
             {RowBytes{guessed.real}, RowBytes{guessed.real.bytes, RowEncoding::Utf8, &guessed}}) {
            if (!bytes)
                break;
            QByteArray out = "kept ";
            edit(row, out);
            if (!out.startsWith("kept ")) // what the output held stays
                return {};
            out.remove(0, 5);
            edits.append(encoding == RowEncoding::Utf8 ? QString::fromUtf8(out)
                                                       : windows1252::decode(out));
        }
    }
    return edits;
}

// Each row makes its edit here, on the line's characters and on its bytes in UTF-8 and (when
// it holds the line) Windows-1252, and hands on what they gave.
void TestColumnFunctions::bandEdits_data()
{
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("onBytes");
    const auto copy = [](const char *name, QString line, qint64 start, qint64 end, qint64 to,
                         const QString &expected) {
        const QStringList onBytes = byteEdits(line, [&](RowBytes row, QByteArray &out) {
            columns::copyBand(row, start, end, to, out);
        });
        columns::copyBand(line, start, end, to);
        QTest::newRow(name) << line << expected << onBytes;
    };
    copy("copy: target inside the band", u"abcdef"_s, 2, 5, 3, u"abbcdcdef"_s);
    copy("copy: target 1 puts the copy in front", u"abcdef"_s, 4, 6, 1, u"deabcdef"_s);
    copy("copy: target past the end appends", u"abc"_s, 1, 3, 9, u"abcab"_s);
    copy("copy: band cut by the line's end", u"abc"_s, 2, 10, 1, u"bcabc"_s);
    copy("copy: line shorter than start unchanged", u"abc"_s, 4, 6, 1, u"abc"_s);
    // A character beyond U+FFFF takes two columns; an edge between them moves past it.
    const QString smile = u"a\U0001F600b"_s;
    copy("copy: edges inside a pair take it whole", smile, 2, 3, 5, u"a\U0001F600b\U0001F600"_s);
    copy("copy: target inside a pair goes after it", smile, 4, 5, 3, u"a\U0001F600bb"_s);
    copy("copy: letters beyond ASCII", u"M\u00FCller \u20AC12 \u00D8lund"_s, 8, 11, 1,
         u"\u20AC12M\u00FCller \u20AC12 \u00D8lund"_s);

    const auto band = [](const char *name, const QString &line, qint64 start, qint64 end,
                         const QString &expected) {
        QTest::newRow(name) << common::columnBand(line, start, end).toString() << expected
                            << byteEdits(line, [&](RowBytes row, QByteArray &out) {
                                   appendBytes(out, common::byteColumnBand(row, start, end));
                               });
    };
    band("band: letters beyond ASCII", u"M\u00FCller 12,50"_s, 8, 13, u"12,50"_s);
    band("band: edges inside pairs take them whole", u"a\U0001F600b\U0001F600c"_s, 3, 6,
         u"b\U0001F600"_s);
    band("band: start 0 is column 1", u"\u00E91234"_s, 0, 3, u"\u00E912"_s);
    band("band: past the row's end is empty", u"abc"_s, 5, 9, QString());
    band("band: end not after start is empty", u"abcdef"_s, 3, 3, QString());
    band("band: runs of ASCII longer than a block",
         u"0123456789abcdefg\u00E9hijklmnopqrstuv\u20ACw"_s, 18, 35,
         u"\u00E9hijklmnopqrstuv\u20AC"_s);

    // Replacing within a band is checked against its plain rule on random texts elsewhere.

    const auto insert = [](const char *name, QString line, const QString &data, qint64 column,
                           const QString &expected) {
        const QStringList onBytes = byteEdits(line, [&](RowBytes row, QByteArray &out) {
            common::insertingAt(data, column)(row, out);
        });
        common::insertAtColumn(line, data, column);
        QTest::newRow(name) << line << expected << onBytes;
    };
    insert("insert into: column 1 prefixes", u"abc"_s, u">"_s, 1, u">abc"_s);
    insert("insert into: column 0 prefixes as 1", u"abc"_s, u">"_s, 0, u">abc"_s);
    insert("insert into: last character", u"abc"_s, u">"_s, 3, u"ab>c"_s);
    insert("insert into: just past the end appends", u"abc"_s, u">"_s, 4, u"abc>"_s);
    insert("insert into: column 10 on 3 characters appends, no padding", u"abc"_s, u"X"_s, 10,
           u"abcX"_s);
    insert("insert into: empty line becomes the data", QString(), u"data"_s, 5, u"data"_s);
    insert("insert into: blanks kept", u"ab"_s, u"  x  "_s, 2, u"a  x  b"_s);
    insert("insert into: empty data changes nothing", u"abc"_s, QString(), 2, u"abc"_s);
    insert("insert into: column inside a pair goes after it", smile, u"X"_s, 3, u"a\U0001F600Xb"_s);
    insert("insert into: letters beyond ASCII", u"na\u00EFve"_s, u"\u20AC"_s, 4,
           u"na\u00EF\u20ACve"_s);
    insert("insert into: huge column appends", u"abc"_s, u"!"_s, std::numeric_limits<qint64>::max(),
           u"abc!"_s);

    const auto cut = [](const char *name, QString line, bool retain, qint64 start, qint64 end,
                        const QString &expected) {
        const QStringList onBytes = byteEdits(line, [&](RowBytes row, QByteArray &out) {
            retain ? columns::retainColumns(row, start, end, out)
                   : columns::deleteColumns(row, start, end, out);
        });
        retain ? columns::retainColumns(line, start, end)
               : columns::deleteColumns(line, start, end);
        QTest::newRow(name) << line << expected << onBytes;
    };
    cut("delete: 1 and 1 change nothing", u"abcdef"_s, false, 1, 1, u"abcdef"_s);
    cut("delete: start after end changes nothing", u"abcdef"_s, false, 5, 2, u"abcdef"_s);
    cut("delete: start 0 changes nothing", u"abcdef"_s, false, 0, 3, u"abcdef"_s);
    cut("delete: line shorter than start", u"abc"_s, false, 5, 8, u"abc"_s);
    cut("delete: span past the end cuts at start - 1", u"abcdef"_s, false, 4, 100, u"abc"_s);
    cut("delete: start at the last character", u"abc"_s, false, 3, 4, u"ab"_s);
    cut("delete: huge end", u"abcdef"_s, false, 2, std::numeric_limits<qint64>::max(), u"a"_s);
    cut("retain: 1 and 1 empty the line", u"abcdef"_s, true, 1, 1, QString());
    cut("retain: 5..10 on 7 characters keeps 5 to 7", u"abcdefg"_s, true, 5, 10, u"efg"_s);
    cut("retain: line shorter than start becomes empty", u"abc"_s, true, 5, 10, QString());
    cut("retain: start 0 keeps from the first", u"abcdef"_s, true, 0, 3, u"ab"_s);
    cut("retain: end 0 keeps the tail from start", u"abcdef"_s, true, 3, 0, u"cdef"_s);
    cut("delete: span ending inside a pair takes it", smile, false, 2, 3, u"ab"_s);
    cut("delete: span starting inside a pair leaves it", smile, false, 3, 5, u"a\U0001F600"_s);
    cut("retain: span ending inside a pair keeps it", smile, true, 1, 3, u"a\U0001F600"_s);
    cut("retain: span starting inside a pair leaves it out", smile, true, 3, 5, u"b"_s);
    cut("delete: both edges inside pairs", u"\U0001F600\U0001F600x"_s, false, 2, 4,
        u"\U0001F600x"_s);
    cut("delete: letters beyond ASCII", u"Soci\u00E9t\u00E9 \u00D8lund"_s, false, 2, 7,
        u"S\u00E9 \u00D8lund"_s);
    cut("retain: letters beyond ASCII", u"Soci\u00E9t\u00E9"_s, true, 5, 8, u"\u00E9t\u00E9"_s);
    // However far the line runs past the span, all of it goes.
    cut("retain: 1..3 on 600 characters keeps exactly 2", QString(600, u'x').replace(0, 2, u"ab"_s),
        true, 1, 3, u"ab"_s);
}

void TestColumnFunctions::bandEdits()
{
    QFETCH(QString, got);
    QTEST(got, "expected");
    QFETCH(QStringList, onBytes);
    QVERIFY(!onBytes.isEmpty());
    for (const QString &edit : std::as_const(onBytes))
        QCOMPARE(edit, got);
}

QTEST_GUILESS_MAIN(TestColumnFunctions)
#include "tst_columnfunctions.moc"

// Fields found on a row's bytes, blocks of 64 at a time, are the blank-separated runs of its
// characters, with their widths in the text's units, wherever a character falls on a block edge.
void TestColumnFunctions::byteFieldsMatchCharacters()
{
    const QStringList pool = {u"a"_s,      u" "_s,      u"  "_s,     u"\t"_s,
                              u"\u00E9"_s, u"\u20AC"_s, u"\u4E2D"_s, u"\U0001F600"_s};
    QRandomGenerator rng(5);
    for (int i = 0; i < 400; ++i) {
        QString row;
        for (int k = rng.bounded(160); k > 0; --k)
            row += pool[rng.bounded(int(pool.size()))];
        QStringList expected = row.split(u' ', Qt::SkipEmptyParts);
        if (expected.isEmpty())
            expected = {QString()};
        for (const RowEncoding encoding : {RowEncoding::Utf8, RowEncoding::Windows1252}) {
            if (encoding == RowEncoding::Windows1252 && !windows1252::canEncode(row))
                continue;
            QByteArray bytes = row.toUtf8();
            if (encoding == RowEncoding::Windows1252) {
                bytes.clear();
                for (const QChar c : row)
                    bytes += char(windows1252::fromUnicode(c.unicode()));
            }
            QStringList fields;
            columns::forEachByteField(bytes, encoding, [&](QByteArrayView f, qsizetype width) {
                fields +=
                    encoding == RowEncoding::Utf8 ? QString::fromUtf8(f) : windows1252::decode(f);
                QCOMPARE(width, fields.back().size());
            });
            QCOMPARE(fields, expected);
        }
    }
}
