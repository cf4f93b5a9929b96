#include "randomtext.h"
#include "settings/document.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

QString writeBytes(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    testing::writeFile(path, bytes);
    return path;
}

} // namespace

class TestDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsByMode_data();
    void readsByMode();
    void plainRoundTripKeepsBytes();
    void unreadableFileSaysWhy_data();
    void unreadableFileSaysWhy();
    void failedWriteTellsTheSystemsReason();
};

void TestDocument::readsByMode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("plain text in plain mode") << QByteArray("a\r\nb\r\n") << int(TextMode::Plain)
                                              << QStringList{u"a"_s, u"b"_s, QString()};
    QTest::newRow("plain text in rich mode is plain")
        << QByteArray("caf\xE9\n") << int(TextMode::Rich) << QStringList{u"caf\u00E9"_s, QString()};
    QTest::newRow("rtf in rich mode gives its text")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Courier;}}x\\par y}") << int(TextMode::Rich)
        << QStringList{u"x"_s, u"y"_s};
    QTest::newRow("rtf in plain mode is shown as it is")
        << QByteArray("{\\rtf1 x}") << int(TextMode::Plain) << QStringList{u"{\\rtf1 x}"_s};
}

void TestDocument::readsByMode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(QStringList, rows);
    QTemporaryDir dir;
    QString error;
    const auto doc = readDocument(writeBytes(dir, u"d.doc"_s, bytes), TextMode(mode), &error);
    QVERIFY(doc);
    QCOMPARE(doc->rows, rows);
}

void TestDocument::plainRoundTripKeepsBytes()
{
    // Open then save, on random texts of every encoding with mixed line ends: the same bytes.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"d.txt"_s);
    QRandomGenerator rng(20261206);
    for (int sample = 0; sample < 200; ++sample) {
        const QByteArray bytes = testing::randomText(rng, rng.bounded(2) == 0);
        QVERIFY(testing::writeFile(path, bytes));
        QString error;
        const auto doc = readDocument(path, TextMode::Plain, &error);
        QVERIFY(doc);
        QVERIFY(writeDocument(path, doc->rows, TextMode::Plain, doc->format, {}, 8, &error));
        QCOMPARE(testing::readFile(path).toHex(' '), bytes.toHex(' '));
    }
}

void TestDocument::unreadableFileSaysWhy_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << u"missing/file.txt"_s << u"No such file"_s;
    QTest::newRow("a FIFO, which would block the window") << u"fifo.txt"_s << u"not a regular"_s;
    QTest::newRow("a folder") << u"folder.txt"_s << u"folder"_s;
}

void TestDocument::unreadableFileSaysWhy()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(u"fifo.txt"_s)).constData(), 0600) == 0);
    QVERIFY(QDir(dir.path()).mkdir(u"folder.txt"_s));
    QString error;
    QVERIFY(!readDocument(dir.filePath(name), TextMode::Plain, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestDocument::failedWriteTellsTheSystemsReason()
{
    // A file size limit fails the write as a full disk would, with the system's own reason.
    QTemporaryDir dir;
    const QString path = writeBytes(dir, u"old.txt"_s, "old text\n");
    struct rlimit saved;
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    QString error;
    const bool written =
        writeDocument(path, {QString(100000, u'x')}, TextMode::Plain, {}, {}, 8, &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QCOMPARE(error, QString::fromLocal8Bit(std::strerror(EFBIG)));
    QCOMPARE(testing::readFile(path), QByteArray("old text\n"));
}

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
