#include "../runfunction.h"

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::runOn;
using testing::runTable;

/// "Html Realign": staircases of indented lines merged into rows below the text.
class TestHtmlRealign : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
};

void TestHtmlRealign::runs_data()
{
    const auto add = runTable();
    const auto row = [&add](const char *name, const QString &text, const QString &appended,
                            const QStringList &params = {}) {
        add(name, u"Html Realign"_s, text, params, text + appended);
    };
    const QString nine(9, u' '), eighteen(18, u' ');
    const QString month = u"Month\n"_s + nine + u"Avg\n"_s + eighteen + u"Totals\n"_s;
    row("Month, Avg, Totals: one row", month, u"Month    Avg      Totals\n"_s);
    row("a second Avg at the same indent starts a new row",
        u"Month\n"_s + nine + u"Avg\n"_s + nine + u"Avg\n"_s + eighteen + u"Totals\n"_s,
        u"Month    Avg\n"_s + nine + u"Avg      Totals\n"_s);
    row("one blank line between groups vanishes", u"a\n  b\n\nc\n  d\n"_s, u"a b\nc d\n"_s);
    row("two blank lines leave one empty row", u"a\n\n\nb\n"_s, u"a\n\nb\n"_s);
    row("a blank first line gives an empty first row", u"   \na\n"_s, u"\na\n"_s);
    row("a tab is no blank", u"a\n\tb\n"_s, u"a\n\tb\n"_s);
    row("overlaid characters: the later one wins, with a warning", u"abc\n x\n"_s,
        u"axc\nwarning: Data has been overlayed!\n"_s);
    const QString wide = QString(200, u'x');
    row("lines past 178 columns lose nothing", wide + u'\n' + QString(201, u' ') + u"yz\n",
        wide + u" yz\n"_s);
    add("empty text: one empty row", u"Html Realign"_s, QString(), {}, u"\n"_s);
    add("a stop leaves the text", u"Html Realign"_s, month, {u"stop=1"_s}, u"stopped"_s);
}

void TestHtmlRealign::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    QTEST(runOn(function, text, params), "expected");
}

QTEST_GUILESS_MAIN(TestHtmlRealign)
#include "tst_htmlrealign.moc"
