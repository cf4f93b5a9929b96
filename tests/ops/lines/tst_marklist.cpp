#include "../runfunction.h"

#include <QRandomGenerator>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::linesOf;
using testing::runOn;
using testing::runTable;

namespace {

const QString kMark = u"Mark Duplicate Lines"_s;

QString textOf(const QStringList &rows)
{
    QString text;
    for (const QString &row : rows)
        text += row + u'\n';
    return text;
}

/// The Part's marking spelled out: each row against every later row, the rows marked in place.
QString markedRowAgainstRow(QStringList a, bool ignoreBlanks)
{
    const auto key = [](const QString &row) {
        qsizetype begin = 0, end = row.size();
        while (begin < end && row[begin].unicode() <= 32)
            ++begin;
        while (end > begin && row[end - 1].unicode() <= 32)
            --end;
        return row.mid(begin, end - begin);
    };
    for (QString &row : a) {
        while (ignoreBlanks && row.contains(u"  "_s))
            row.replace(u"  "_s, u" "_s);
    }
    const QStringList b = a;
    int group = 1;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QString k = key(a[i]);
        bool later = false;
        for (qsizetype j = i + 1; j < b.size(); ++j)
            later = later || key(b[j]) == k;
        if (!later || k.isEmpty())
            continue;
        const QString first = a[i];
        for (qsizetype j = a.size() - 1; j >= i; --j) {
            if (key(a[j]) == k)
                a[j] = QString::number(group) + u"-->"_s + first;
        }
        ++group;
    }
    return textOf(a);
}

/// Random words over a few characters.
class Words {
public:
    Words(QStringList units, quint32 seed) : m_units(std::move(units)), m_rng(seed) {}
    int below(int n) { return int(m_rng.bounded(n)); }
    QString word(int most)
    {
        QString w;
        for (int k = below(most + 1); k > 0; --k)
            w += m_units[below(int(m_units.size()))];
        return w;
    }
    QStringList words(int most, int longest)
    {
        QStringList all;
        for (int k = below(most + 1); k > 0; --k)
            all.append(word(longest));
        return all;
    }

private:
    QStringList m_units;
    QRandomGenerator m_rng;
};

} // namespace

/// "Mark Duplicate Lines".
class TestMarkAndList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runs_data();
    void runs();
    void markGivesThePartsResult();
};

void TestMarkAndList::runs_data()
{
    const auto row = runTable();
    row("mark: trailing blanks differ: both carry the first row's text", kMark, u"a b  \na b\n"_s,
        {}, u"1-->a b  \n1-->a b  \n"_s);
    row("mark: letter case differs: no duplicates", kMark, u"Ab\nab\n"_s, {}, u"Ab\nab\n"_s);
    row("mark: a tab at the start is trimmed for the comparison", kMark, u"\ta\na\n"_s, {},
        u"1-->\ta\n1-->\ta\n"_s);
    row("mark: empty and blank rows never marked", kMark, u"\n \n\t\n\n\n"_s, {},
        u"\n \n\t\n\n\n"_s);
    row("mark, ignoring multiple blanks: inner runs differ, every row reduced", kMark,
        u"a  b\na b\nc   d  \n"_s, {u"ignoreBlanks=1"_s}, u"1-->a b\n1-->a b\nc d \n"_s);
    row("mark, ignoring multiple blanks: tabs are no blanks", kMark, u"a\t\tb\na\tb\n"_s,
        {u"ignoreBlanks=1"_s}, u"a\t\tb\na\tb\n"_s);
    row("mark: text already marked: grouped as it stands, each row marked once", kMark,
        u"a\n1-->a\na\n1-->a\n"_s, {}, u"1-->a\n2-->1-->a\n1-->a\n2-->1-->a\n"_s);
    row("mark: a stop leaves the text as it was", kMark, u"a\na\nb\n"_s, {u"stop=4"_s},
        u"stopped"_s);
    row("remove markers: everything up to the first marker goes", kMark,
        u"2-->Line2 222\nx-->y-->z\nplain\n"_s, {u"button=remove"_s},
        u"Line2 222\ny-->z\nplain\n"_s);
}

void TestMarkAndList::runs()
{
    QFETCH(QString, function);
    QFETCH(QString, text);
    QFETCH(QStringList, params);
    QTEST(runOn(function, text, params), "expected");
}

// The measuring pass and the row pass against the Part's row-against-every-later-row loop.
void TestMarkAndList::markGivesThePartsResult()
{
    Words words({u"a"_s, u"b"_s, u" "_s, u"\t"_s}, 17);
    for (int i = 0; i < 3000; ++i) {
        const QStringList rows = words.words(12, 5);
        const bool ignore = i % 2;
        const QString got =
            runOn(kMark, textOf(rows), {u"ignoreBlanks="_s + QString::number(ignore)});
        QCOMPARE(got, markedRowAgainstRow(rows, ignore));
    }
}

QTEST_GUILESS_MAIN(TestMarkAndList)
#include "tst_marklist.moc"
