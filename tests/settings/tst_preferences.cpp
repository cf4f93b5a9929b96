#include "settings/preferences.h"
#include "settings/programfolder.h"
#include "settings/recentfiles.h"
#include "testfiles.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(u"prefs.plx"_s);
    testing::writeFile(path, bytes);
    return path;
}

} // namespace

class TestPreferences : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadMissingFile_givesNothing();
    void load_usesDefaultsForWhatIsUnusable_data();
    void load_usesDefaultsForWhatIsUnusable();
    void saveThenLoad_roundTripKeepsFurtherFlags();
    void recentList_data();
    void recentList();
    void recentMenuOffersExistingFilesOnce();
    void helpFileIsNeverAnOldCopy_data();
    void helpFileIsNeverAnOldCopy();
};

void TestPreferences::loadMissingFile_givesNothing()
{
    QVERIFY(!Preferences::load(u"/nonexistent/prefs.plx"_s));
}

void TestPreferences::load_usesDefaultsForWhatIsUnusable_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("hints");
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("font");
    QTest::addColumn<int>("tabs");
    QTest::newRow("every line usable") << QByteArray("12\r\n10\r\n4\r\n") << true << 2 << 10 << 4;
    QTest::newRow("empty file") << QByteArray() << true << 0 << 8 << 5;
    QTest::newRow("one character of flags") << QByteArray("0\n12\n3\n") << false << 0 << 12 << 3;
    QTest::newRow("colour 7") << QByteArray("17\n9\n2\n") << true << 0 << 9 << 2;
    QTest::newRow("colour letter") << QByteArray("1x\n9\n2\n") << true << 0 << 9 << 2;
    QTest::newRow("font not a number") << QByteArray("03\nbig\n6\n") << false << 3 << 8 << 6;
    QTest::newRow("font zero") << QByteArray("03\n0\n6\n") << false << 3 << 8 << 6;
    QTest::newRow("negative tabs") << QByteArray("11\n10\n-4\n") << true << 1 << 10 << 5;
    QTest::newRow("only flags") << QByteArray("02") << false << 2 << 8 << 5;
    QTest::newRow("tabs 0 is usable") << QByteArray("10\n8\n0\n") << true << 0 << 8 << 0;
}

void TestPreferences::load_usesDefaultsForWhatIsUnusable()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, hints);
    QFETCH(int, colour);
    QFETCH(int, font);
    QFETCH(int, tabs);
    QTemporaryDir dir;
    const auto p = Preferences::load(writeFile(dir, file));
    QVERIFY(p);
    QCOMPARE(p->hintsShown(), hints);
    QCOMPARE(p->colourIndex(), colour);
    QCOMPARE(p->fontSize(8), font);
    QCOMPARE(p->tabSpacing(), tabs);
    QCOMPARE(preferenceNumber(p->fontSizeText()), std::optional<int>(font));
}

void TestPreferences::saveThenLoad_roundTripKeepsFurtherFlags()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "13zq\xE9\r\n12\r\n3\r\n"); // a Windows-1252 file
    auto p = Preferences::load(path);
    QVERIFY(p);
    p->setHintsShown(false);
    p->setColourIndex(1);
    QVERIFY(p->save(path));
    QCOMPARE(testing::readFile(path), QByteArray("01zq\xE9\r\n12\r\n3\r\n"));
}

void TestPreferences::recentList_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QStringList>("after");
    QStringList ten;
    for (int i = 1; i <= 10; ++i)
        ten += u"/docs/"_s + QString::number(i) + u".txt"_s;
    QTest::newRow("first open") << QStringList() << u"/a.txt"_s << QStringList{u"/a.txt"_s};
    QTest::newRow("same file twice stays once, on top")
        << QStringList{u"/b.txt"_s, u"/a.txt"_s} << u"/a.txt"_s
        << QStringList{u"/a.txt"_s, u"/b.txt"_s};
    QTest::newRow("eleventh drops the oldest")
        << ten << u"/new.txt"_s << (QStringList{u"/new.txt"_s} + ten.mid(0, 9));
    QTest::newRow("case matters") << QStringList{u"/A.txt"_s} << u"/a.txt"_s
                                  << QStringList{u"/a.txt"_s, u"/A.txt"_s};
}

void TestPreferences::recentList()
{
    QFETCH(QStringList, before);
    QFETCH(QString, opened);
    QFETCH(QStringList, after);
    QCOMPARE(recent::withOpened(before, opened), after);
}

void TestPreferences::recentMenuOffersExistingFilesOnce()
{
    const QStringList list{u"/a"_s, u"/gone"_s, u"/b"_s, u"/a"_s};
    const auto exists = [](const QString &p) { return p != u"/gone"_s; };
    QCOMPARE(recent::offered(list, exists), (QStringList{u"/a"_s, u"/b"_s}));
    QCOMPARE(recent::movedToTop({u"/a"_s, u"/b"_s, u"/c"_s}, 2),
             (QStringList{u"/c"_s, u"/a"_s, u"/b"_s}));
}

void TestPreferences::helpFileIsNeverAnOldCopy_data()
{
    QTest::addColumn<QByteArray>("copy"); // what the folder holds; "link": a link to elsewhere
    QTest::addColumn<bool>("shipped");    // the installed program ships "NEW!"
    QTest::addColumn<bool>("opensCopy");
    QTest::addColumn<QByteArray>("opened");
    QTest::newRow("nothing shipped: the folder's own") << "old"_ba << false << true << "old"_ba;
    QTest::newRow("no copy yet: made") << QByteArray() << true << true << "NEW!"_ba;
    QTest::newRow("copy of another size: renewed") << "old"_ba << true << true << "NEW!"_ba;
    QTest::newRow("copy of the size but not the time: renewed")
        << "OLD!"_ba << true << true << "NEW!"_ba;
    QTest::newRow("a link in its place: the shipped file")
        << "link"_ba << true << false << "NEW!"_ba;
}

void TestPreferences::helpFileIsNeverAnOldCopy()
{
    QFETCH(QByteArray, copy);
    QFETCH(bool, shipped);
    QFETCH(bool, opensCopy);
    QFETCH(QByteArray, opened);
    QTemporaryDir folder;
    QTemporaryDir installed;
    const QString copyPath = folder.filePath(u"PlintexHelp.html"_s);
    const QString source = installed.filePath(u"PlintexHelp.html"_s);
    const QString outside = installed.filePath(u"outside"_s);
    QVERIFY(testing::writeFile(source, "NEW!") && testing::writeFile(outside, "outside"));
    QFile sourceFile(source);
    QVERIFY(sourceFile.open(QIODevice::ReadWrite) &&
            sourceFile.setFileTime(QDateTime::currentDateTime().addDays(-30),
                                   QFileDevice::FileModificationTime));
    if (copy == "link")
        QVERIFY(QFile::link(outside, copyPath));
    else if (!copy.isEmpty())
        QVERIFY(testing::writeFile(copyPath, copy));

    // Twice: a copy once renewed is current.
    for (int i = 0; i < 2; ++i) {
        const QString path = helpFile(folder.path(), shipped ? installed.path() : QString());
        QCOMPARE(path, opensCopy ? copyPath : source);
        QCOMPARE(testing::readFile(path), opened);
    }
    QCOMPARE(testing::readFile(outside), "outside"_ba);
}

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
