#include "../runfunction.h"

#include "ops/cleanup/webaddresses.h"

#include <QRandomGenerator>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::runOn;
using testing::runTable;

namespace {

/// The address deletion exactly as described, one line at a time and every search over the
/// whole text: what the linear one must match.
QStringList describedAddressDeletion(const QStringList &lines)
{
    QString text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        text += (i > 0 ? u"\n"_s : QString()) + lines[i];
        for (const QString &prefix : {u"http"_s, u"www"_s}) {
            for (const QString &ending :
                 {u".html"_s, u".htm"_s, u".com"_s, u".org"_s, u".net"_s, u"php?"_s}) {
                for (qsizetype p = 0;;) {
                    const qsizetype a = text.indexOf(prefix, p, Qt::CaseInsensitive);
                    const qsizetype b = text.indexOf(ending, p, Qt::CaseInsensitive);
                    if (a < 0 || b < 0 || a >= b + ending.size() - 1)
                        break;
                    text.remove(a, b + ending.size() - a);
                    p = a;
                }
            }
        }
    }
    return lines.isEmpty() ? lines : text.split(u'\n');
}

} // namespace

class TestReadMe : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
    void whatTheWindowIsTold();
    void addressesAsDescribed();
};

void TestReadMe::runs_data()
{
    const auto row = runTable();
    const QString f = u"Read Me"_s;
    const QString as = u"a"_s.repeated(120), bs = u"b"_s.repeated(120);
    row("the cat sat / on the mat!", f, u"The cat sat\non the mat!\n"_s, {},
        u"The cat sat.   on the mat! \n"_s);
    row("empty text", f, QString(), {}, QString());

    row("addresses: endings in capitals only are left", f, u"see WWW.X.COM now\n"_s, {},
        u"see WWW.X.COM now.   \n"_s);
    row("addresses: capitals go once another ending is there", f, u"WWW.X.COM a.org\n"_s, {},
        u"a.org.   \n"_s);
    row("addresses: a prefix joined to an ending lines below", f, u"go http://a\nb\nc.html end\n"_s,
        {}, u"go  end.   \n"_s);
    row("addresses: left alone when unticked", f, u"www.a.com x\n"_s, {u"web=0"_s},
        u"www.a.com x.   \n"_s);

    row("lines: tab-started ones go", f, u"a\n\tb\nc\n"_s, {}, u"a.   c.   \n"_s);
    row("lines: tab-started ones stay when unticked", f, u"a\n\tb\n"_s, {u"tabs=0"_s},
        u"a.   b.   \n"_s);
    row("lines: ? closes, an empty line goes", f, u"Why?\n\nNo\n"_s, {}, u"Why? No.   \n"_s);
    row("lines: a blank line is closed before blank lines go", f, u"a\n   \nb\n"_s, {},
        u"a.   .   b.   \n"_s);
    row("lines: leading blanks and tabs go", f, u"   x\n"_s, {}, u"x.   \n"_s);

    row("tags: tags and &#034; go", f, u"<p>Hi</p> &#034;x&#034;\n"_s, {u"html=1"_s},
        u"Hi x.   \n"_s);
    row("tags: a > before the next < ends the removal", f, u"a>b <i>c</i>\n"_s, {u"html=1"_s},
        u"a>b <i>c</i>.   \n"_s);
    row("tags: an unterminated tag stays", f, u"x <b y\n"_s, {u"html=1"_s}, u"x <b y.   \n"_s);
    row("tags: a tag across lines joins them", f, u"a <b\nc> d\n"_s, {u"html=1"_s},
        u"a  d.   \n"_s);
    row("tags: kept when unticked", f, u"<b>x</b>\n"_s, {}, u"<b>x</b>.   \n"_s);
    row("tags: a text of tags leaves the closers", f, u"<a>\n<b>\n"_s, {u"html=1"_s},
        u".   .   \n"_s);

    row("wrap: 120 letters are a line of their own", f, as + u" b\n"_s, {}, as + u" \nb.   \n"_s);
    row("wrap: 60 letters the same", f, as.first(60) + u" b\n"_s, {},
        as.first(60) + u" \nb.   \n"_s);
    row("wrap: a blank at column 55 makes the width 54", f,
        u"x"_s.repeated(53) + u"  yyyyyyyyyy\n"_s, {},
        u"x"_s.repeated(53) + u" \n yyyyyyyyyy.   \n"_s);
    row("wrap: at the nearer blank before the width", f, u"w"_s.repeated(50) + u" abcdefgh ij\n"_s,
        {}, u"w"_s.repeated(50) + u" \nabcdefgh ij.   \n"_s);
    row("wrap: a tie goes to the blank after", f, u"w"_s.repeated(50) + u" abcdefg ij\n"_s, {},
        u"w"_s.repeated(50) + u" abcdefg \nij.   \n"_s);
    row("wrap: a cut taking the rest leaves an empty last line", f, as + u".\n"_s, {},
        as + u". \n\n"_s);

    row("list: a to holding its from doubles once", f, u"a cat\n"_s, {u"list=a;aa"_s},
        u"aa caat.   \n"_s);
    row("list: entries in order, each on the text before", f, u"cat\n"_s,
        {u"list=cat;dog\ndog;cow"_s}, u"cow.   \n"_s);
    row("list: an earlier entry is not applied again", f, u"ab\n"_s, {u"list=a;b\nb;a"_s},
        u"aa.   \n"_s);
    row("list: a later entry inside an earlier one's text", f, u"ab\n"_s, {u"list=b;X\nab;Y"_s},
        u"aX.   \n"_s);
    row("list: ø in the text and in a from", f, u"smørrebrød søøøn x\n"_s, {u"list=ø;o\nx;y"_s},
        u"smorrebrod sooon y.   \n"_s);
    row("list: lines without ; or with an empty from change nothing", f, u"cat\n"_s,
        {u"list=no semicolon\n;x\ncat;dog"_s}, u"dog.   \n"_s);
    row("list: a to of 1,500 characters kept whole", f, u"X\n"_s,
        {u"list=X;"_s + u"y"_s.repeated(1500)}, u"y"_s.repeated(1500) + u".   \n"_s);
    row("list: never across a wrapped line's break", f, u"w"_s.repeated(52) + u" ab cd\n"_s,
        {u"list=b c;Z"_s}, u"w"_s.repeated(52) + u" ab \ncd.   \n"_s);

    row("paste: dashes followed by a blank go first", f, u"a \u2014 b \u2013 c\n"_s,
        {u"button=paste"_s}, u"a b c.   \n"_s);
    row("paste: dash removal repeats until none is left", f, u"x\u2014\u2014  y\n"_s,
        {u"button=paste"_s}, u"xy.   \n"_s);
    row("run button: dashes stay", f, u"a \u2014 b\n"_s, {}, u"a \u2014 b.   \n"_s);

    row("stop: before anything", f, u"a\n"_s, {u"stop=0"_s}, u"stopped"_s);
    row("stop: a paste keeps its dashes removed", f, u"a \u2014 b\n"_s,
        {u"button=paste"_s, u"stop=0"_s}, u"stopped: a b\n"_s);
    row("stop: among the addresses the text stays", f, u"www.a.com x\n"_s, {u"stop=0"_s},
        u"stopped"_s);
    row("stop: among the addresses a paste keeps its dashes removed", f, u"a \u2014 www.a.com\n"_s,
        {u"button=paste"_s, u"stop=0"_s}, u"stopped: a www.a.com\n"_s);
    row("stop: tab lines below the stop are gone", f, u"a\n\tb\n\tc\nd\n"_s, {u"stop=2"_s},
        u"stopped: a\n\tb\nd\n"_s);
    row("stop: while wrapping keeps the lines cut", f, as + u' ' + bs + u" c\n"_s, {u"stop=7"_s},
        u"stopped: "_s + as + u" \n"_s);
}

void TestReadMe::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    QTEST(runOn(function, text, params), "expected");
}

void TestReadMe::whatTheWindowIsTold()
{
    RunResult r;
    runOn(u"Read Me"_s, u"The cat sat\non the mat!\n"_s, {}, &r);
    QVERIFY(r.copyText && r.beep);
    QCOMPARE(r.caret.kind, CaretPlacement::Kind::End);
    QVERIFY(r.undoTaken && !r.saveHistories);
    // Nothing to read: the clipboard keeps what it holds.
    runOn(u"Read Me"_s, u"\n\n"_s, {}, &r);
    QVERIFY(!r.copyText && r.lines == QStringList());
}

// Random texts of prefixes, endings and their pieces, in any case, across lines: the linear
// deletion gives what the description gives, joins that form an address anew included.
void TestReadMe::addressesAsDescribed()
{
    static const QString pieces[] = {u"http"_s, u"www"_s,  u".html"_s, u".htm"_s, u".com"_s,
                                     u".org"_s, u".net"_s, u"php?"_s,  u"HTTP"_s, u"Www"_s,
                                     u"ht"_s,   u"tp"_s,   u"w"_s,     u".c"_s,   u"om"_s,
                                     u"x"_s,    u" "_s,    u"\n"_s,    u".h"_s,   u"tml"_s};
    QRandomGenerator rng(19);
    SilentMonitor monitor;
    for (int round = 0; round < 4000; ++round) {
        QString text;
        for (int n = int(rng.bounded(30)); n > 0; --n)
            text += pieces[rng.bounded(int(std::size(pieces)))];
        const QStringList lines = text.split(u'\n');
        QStringList got = lines;
        QVERIFY(cleanup::deleteWebAddresses(got, monitor));
        QCOMPARE(got, describedAddressDeletion(lines));
    }
}

QTEST_GUILESS_MAIN(TestReadMe)
#include "tst_readme.moc"
