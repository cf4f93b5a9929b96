#include "settings/listfile.h"
#include "settings/textfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;

Q_DECLARE_METATYPE(TextEncoding)
Q_DECLARE_METATYPE(LineEnd)

class TestTextFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void utf8Validity_data();
    void utf8Validity();
    void detectsFormat_data();
    void detectsFormat();
    void decodesRows_data();
    void decodesRows();
    void roundTripsBytes_data();
    void roundTripsBytes();
    void fallsBackToUtf8WhenWindows1252CannotHold();
    void linesAndRows();
    void listFileReadsOlderFiles();
    void listFileWritesCrLfAndKeepsEveryCharacter();
    void listFileMissingIsNothing();
};

void TestTextFile::utf8Validity_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("ascii") << QByteArray("plain text, long enough for the fast path") << true;
    QTest::newRow("two-byte") << QByteArray("caf\xC3\xA9") << true;
    QTest::newRow("euro") << QByteArray("\xE2\x82\xAC 5") << true;
    QTest::newRow("emoji") << QByteArray("\xF0\x9F\x98\x80") << true;
    QTest::newRow("windows-1252 e acute") << QByteArray("caf\xE9") << false;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("truncated at the end") << QByteArray("abc\xE2\x82") << false;
    QTest::newRow("NUL is valid") << QByteArray("a\0b", 3) << true;
    QTest::newRow("bad byte after 8 ascii") << QByteArray("12345678\xFF") << false;
}

void TestTextFile::utf8Validity()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QCOMPARE(isValidUtf8(bytes), valid);
}

void TestTextFile::detectsFormat_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<LineEnd>("lineEnd");
    QTest::newRow("utf-8 lf") << QByteArray("a\nb\r\n") << TextEncoding::Utf8 << LineEnd::Lf;
    QTest::newRow("crlf first") << QByteArray("a\r\nb\n") << TextEncoding::Utf8 << LineEnd::CrLf;
    QTest::newRow("lone cr") << QByteArray("a\rb") << TextEncoding::Utf8 << LineEnd::Cr;
    QTest::newRow("no line end") << QByteArray("abc") << TextEncoding::Utf8 << LineEnd::Lf;
    QTest::newRow("bom") << QByteArray("\xEF\xBB\xBFx\r\n") << TextEncoding::Utf8WithBom
                         << LineEnd::CrLf;
    QTest::newRow("1252") << QByteArray("na\xEFve\n") << TextEncoding::Windows1252 << LineEnd::Lf;
}

void TestTextFile::detectsFormat()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(LineEnd, lineEnd);
    const TextFormat f = detectFormat(bytes);
    QCOMPARE(f.encoding, encoding);
    QCOMPARE(f.lineEnd, lineEnd);
}

void TestTextFile::decodesRows_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("empty") << QByteArray() << QStringList{QString()};
    QTest::newRow("final break leaves an empty row")
        << QByteArray("a\nb\n") << QStringList{u"a"_s, u"b"_s, QString()};
    QTest::newRow("mixed ends") << QByteArray("a\r\nb\rc\nd")
                                << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    QTest::newRow("1252 specials")
        << QByteArray("\x80\x97\x96\x81") << QStringList{u"\u20AC\u2014\u2013\u0081"_s};
    QTest::newRow("bom dropped") << QByteArray("\xEF\xBB\xBF\xC3\xA9") << QStringList{u"é"_s};
}

void TestTextFile::decodesRows()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QCOMPARE(decodeRows(bytes, detectFormat(bytes)), rows);
}

void TestTextFile::roundTripsBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("utf-8 crlf") << QByteArray("caf\xC3\xA9\r\nline\r\n");
    QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBFone\ntwo");
    QByteArray high(0x80, Qt::Uninitialized);
    for (int i = 0; i < high.size(); ++i)
        high[i] = char(0x80 + i);
    QTest::newRow("1252 with every high byte") << high + '\n';
    QTest::newRow("binary with NUL and invalid utf-8") << QByteArray("\0\x01\xFF\xFE\n\x7F", 6);
    QTest::newRow("lone cr") << QByteArray("a\rb\r");
}

void TestTextFile::roundTripsBytes()
{
    QFETCH(QByteArray, bytes);
    const TextFormat format = detectFormat(bytes);
    QCOMPARE(encodeRows(decodeRows(bytes, format), format), bytes);
}

void TestTextFile::fallsBackToUtf8WhenWindows1252CannotHold()
{
    TextFormat written;
    const QByteArray out = encodeRows({u"caf\u00E9 \u2192 \u4E2D"_s},
                                      {TextEncoding::Windows1252, LineEnd::CrLf}, &written);
    QCOMPARE(written.encoding, TextEncoding::Utf8);
    QCOMPARE(QString::fromUtf8(out), u"caf\u00E9 \u2192 \u4E2D"_s);
    encodeRows({u"caf\u00E9 \u20AC"_s}, {TextEncoding::Windows1252, LineEnd::CrLf}, &written);
    QCOMPARE(written.encoding, TextEncoding::Windows1252);
}

void TestTextFile::linesAndRows()
{
    QCOMPARE(rowsToLines({u"a"_s, u"b"_s, QString()}), (QStringList{u"a"_s, u"b"_s}));
    QCOMPARE(rowsToLines({u"a"_s, u"b"_s}), (QStringList{u"a"_s, u"b"_s}));
    QCOMPARE(rowsToLines({QString()}), QStringList());
    QCOMPARE(linesToRows({}), QStringList{QString()});
}

void TestTextFile::listFileReadsOlderFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"combo5.plx"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("first\r\nna\xEFve \x80\r\n\r\nlast without end");
    f.close();
    QCOMPARE(readListFile(path), std::optional<QStringList>({u"first"_s, u"na\u00EFve \u20AC"_s,
                                                             QString(), u"last without end"_s}));
}

void TestTextFile::listFileWritesCrLfAndKeepsEveryCharacter()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"list.plx"_s);
    QVERIFY(writeListFile(path, {u"na\u00EFve"_s, u" blanks kept "_s}));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("na\xEFve\r\n blanks kept \r\n"));
    f.close();

    const QStringList wide{u"arrow \u2192"_s, u"\u4E2D\u6587"_s};
    QVERIFY(writeListFile(path, wide));
    QCOMPARE(readListFile(path), std::optional<QStringList>(wide));
}

void TestTextFile::listFileMissingIsNothing()
{
    QCOMPARE(readListFile(u"/nonexistent/dir/file.plx"_s), std::nullopt);
    QVERIFY(!writeListFile(u"/nonexistent/dir/file.plx"_s, {u"x"_s}));
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
