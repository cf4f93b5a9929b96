#include "settings/historylist.h"
#include "settings/listfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

QStringList entries(int from, int to)
{
    QStringList list;
    for (int i = from; i <= to; ++i)
        list += u"entry "_s + QString::number(i);
    return list;
}

} // namespace

class TestHistoryList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addEntry_data();
    void addEntry();
    void loadCreatesMissingFileAndDropsEmptyEntries();
    void storeThenLoad_roundTrip();
    void storeIntoUnwritableFolderFailsQuietly();
};

void TestHistoryList::addEntry_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("force");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("empty text is not saved")
        << entries(1, 3) << QString() << false << false << entries(1, 3);
    QTest::newRow("new text goes first") << entries(1, 2) << u"new"_s << false << true
                                         << QStringList{u"new"_s, u"entry 1"_s, u"entry 2"_s};
    QTest::newRow("known text keeps its place")
        << entries(1, 3) << u"entry 2"_s << false << true << entries(1, 3);
    QTest::newRow("10 entries: the 10th is dropped")
        << entries(1, 10) << u"new"_s << false << true << (QStringList{u"new"_s} + entries(1, 9));
    QTest::newRow("15 entries: only the 11th goes")
        << entries(1, 15) << u"new"_s << false << true
        << (QStringList{u"new"_s} + entries(1, 9) + entries(11, 15));
    QTest::newRow("letter case makes another entry") << QStringList{u"Data"_s} << u"data"_s << false
                                                     << true << QStringList{u"data"_s, u"Data"_s};
    QTest::newRow("empty entries removed") << QStringList{u"a"_s, QString(), u"b"_s} << u"c"_s
                                           << false << true << QStringList{u"c"_s, u"a"_s, u"b"_s};
    QTest::newRow("forced empty save writes the list")
        << entries(1, 2) << QString() << true << true << entries(1, 2);
}

void TestHistoryList::addEntry()
{
    QFETCH(QStringList, before);
    QFETCH(QString, text);
    QFETCH(bool, force);
    QFETCH(bool, written);
    QFETCH(QStringList, after);
    QCOMPARE(history::addEntry(before, text, force), written);
    QCOMPARE(before, after);
}

void TestHistoryList::loadCreatesMissingFileAndDropsEmptyEntries()
{
    QTemporaryDir dir;
    const QString path = history::filePath(dir.filePath(u"system"_s), 5);
    QCOMPARE(path, dir.filePath(u"system/combo5.plx"_s));
    QCOMPARE(history::load(path), QStringList());
    QVERIFY(QFile::exists(path));

    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("one\r\n\r\ntwo\n\nthree");
    f.close();
    QCOMPARE(history::load(path), (QStringList{u"one"_s, u"two"_s, u"three"_s}));
}

void TestHistoryList::storeThenLoad_roundTrip()
{
    QTemporaryDir dir;
    const QString path = history::filePath(dir.filePath(u"new/system"_s), 14);
    const QStringList list{u" padded "_s, u"\u00E9t\u00E9"_s, u"\u2192 arrow"_s};
    QVERIFY(history::store(path, list));
    QCOMPARE(history::load(path), list);
}

void TestHistoryList::storeIntoUnwritableFolderFailsQuietly()
{
    QTemporaryDir dir;
    // A file where the system folder should be: nothing can be created below it.
    QFile blocker(dir.filePath(u"system"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = history::filePath(dir.filePath(u"system"_s), 5);
    QVERIFY(!history::store(path, {u"x"_s}));
    QCOMPARE(history::load(path), QStringList());
}

QTEST_GUILESS_MAIN(TestHistoryList)
#include "tst_historylist.moc"
