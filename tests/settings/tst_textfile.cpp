#include "settings/historylist.h"
#include "settings/listfile.h"
#include "settings/settingsnotice.h"
#include "settings/textfile.h"
#include "testfiles.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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
    void fallsBackToUtf8WhenWindows1252CannotHold();
    void linesAndRows();
    void listFile();
    void settingsFileRefused_data();
    void settingsFileRefused();
    void failedSettingsWriteToldOncePerSession();
};

void TestTextFile::utf8Validity_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("ascii") << QByteArray("plain text, long enough for the fast path") << true;
    QTest::newRow("two, three and four bytes")
        << QByteArray("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80") << true;
    QTest::newRow("windows-1252 e acute") << QByteArray("caf\xE9") << false;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("truncated at the end") << QByteArray("abc\xE2\x82") << false;
    QTest::newRow("NUL is valid") << QByteArray("a\0b", 3) << true;
    QTest::newRow("bad byte after 8 ascii") << QByteArray("12345678\xFF") << false;
    QTest::newRow("stray follower, then well-formed")
        << QByteArray("\x80"
                      "abcdefghijklmnopqrstuvwxyz \xC3\xA9 \xEF\xBB\xBF")
        << false;
    QTest::newRow("ascii runs between characters")
        << QByteArray("\xC3\xA9"
                      "abcdefghijklmnopqrstuvwxyz\xE2\x82\xAC"
                      "0123456789abcdefgh")
        << true;
    // Blocks of 64 and 16 ASCII bytes pass at once; a block holding more goes to its first.
    const QByteArray ascii70(70, 'a');
    QTest::newRow("bad byte late in a block of 64")
        << QByteArray(ascii70).replace(60, 1, "\xFF") << false;
    QTest::newRow("a character ending a block of 64")
        << QByteArray(ascii70).replace(62, 2, "\xC3\xA9") << true;
    QTest::newRow("a character across blocks of 16")
        << QByteArray(ascii70).replace(15, 3, "\xE2\x82\xAC") << true;
}

// Also: a line decodes, and its characters encode (an unpaired surrogate too), as Qt's own
// decoder and encoder do.
void TestTextFile::utf8Validity()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QCOMPARE(isValidUtf8(bytes), valid);
    QString line;
    decodeLineInto(line, bytes, TextEncoding::Utf8);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QCOMPARE(line, QString(decoder.decode(bytes)));
    for (const QString &text : {line, QString(line + QChar(0xD800) + line)}) {
        QByteArray encoded("x");
        appendEncodedLine(encoded, text, TextEncoding::Utf8);
        QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        QCOMPARE(encoded, "x" + QByteArray(encoder.encode(text)));
    }
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
    QTest::newRow("utf-16le mark, crlf (a Windows \"Unicode\" file)")
        << "\xFF\xFE\x61\0\r\0\n\0"_ba << TextEncoding::Utf16Le << LineEnd::CrLf;
    QTest::newRow("utf-16be mark, lone cr")
        << QByteArray("\xFE\xFF\0a\0\r", 6) << TextEncoding::Utf16Be << LineEnd::Cr;
    QTest::newRow("utf-16 mark, odd length: not utf-16")
        << "\xFF\xFE\x61\0\n"_ba << TextEncoding::Windows1252 << LineEnd::Lf;
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
    QTest::newRow("U+FEFF first non-ascii of a line is a character")
        << "ab\n\xEF\xBB\xBF\x63"_ba << QStringList{u"ab"_s, u"\uFEFFc"_s};
    QTest::newRow("utf-16le rows") << QByteArray("\xFF\xFE\xE9\0\r\0\n\0\x3D\xD8\0\n", 12)
                                   << QStringList{u"\u00E9"_s, QString(QChar(0xD83D)) + u'\u0A00'};
}

void TestTextFile::decodesRows()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QCOMPARE(decodeRows(bytes, detectFormat(bytes)), rows);
}

void TestTextFile::fallsBackToUtf8WhenWindows1252CannotHold()
{
    TextFormat written;
    const QByteArray out = encodeRows({u"caf\u00E9 \u2192 \u4E2D"_s},
                                      {TextEncoding::Windows1252, LineEnd::CrLf, {}}, &written);
    QCOMPARE(written.encoding, TextEncoding::Utf8);
    QCOMPARE(QString::fromUtf8(out), u"caf\u00E9 \u2192 \u4E2D"_s);
    encodeRows({u"caf\u00E9 \u20AC"_s}, {TextEncoding::Windows1252, LineEnd::CrLf, {}}, &written);
    QCOMPARE(written.encoding, TextEncoding::Windows1252);
}

void TestTextFile::linesAndRows()
{
    QCOMPARE(rowsToLines({u"a"_s, u"b"_s, QString()}), (QStringList{u"a"_s, u"b"_s}));
    QCOMPARE(rowsToLines({u"a"_s, u"b"_s}), (QStringList{u"a"_s, u"b"_s}));
    QCOMPARE(rowsToLines({QString()}), QStringList());
    QCOMPARE(linesToRows({}), QStringList{QString()});
}

void TestTextFile::listFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"list.plx"_s);
    // Windows-1252, the last line without its break.
    QVERIFY(testing::writeFile(path, "first\r\nna\xEFve \x80\r\n\r\nlast"));
    QCOMPARE(readListFile(path), std::optional<QStringList>(
                                     {u"first"_s, u"na\u00EFve \u20AC"_s, QString(), u"last"_s}));
    QVERIFY(writeListFile(path, {u"na\u00EFve"_s, u" blanks kept "_s}));
    QCOMPARE(testing::readFile(path), QByteArray("na\xEFve\r\n blanks kept \r\n"));
    const QStringList wide{u"arrow \u2192"_s, u"\u4E2D\u6587"_s};
    QVERIFY(writeListFile(path, wide));
    QCOMPARE(readListFile(path), std::optional<QStringList>(wide));
    QCOMPARE(readListFile(u"/nonexistent/dir/file.plx"_s), std::nullopt);
    QVERIFY(!writeListFile(u"/nonexistent/dir/file.plx"_s, {u"x"_s}));
}

void TestTextFile::settingsFileRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("link to a file outside") << u"link"_s << u"symbolic link"_s;
    QTest::newRow("dangling link") << u"dangling"_s << u"symbolic link"_s;
    QTest::newRow("FIFO") << u"fifo"_s << u"not a regular file"_s;
    QTest::newRow("larger than 16 MiB") << u"large"_s << u"larger than 16 MiB"_s;
}

void TestTextFile::settingsFileRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir outside;
    QTemporaryDir folder;
    const QString target = outside.filePath(u"profile"_s);
    const QString path = folder.filePath(u"prefs.plx"_s);
    const QByteArray name = QFile::encodeName(path);
    if (kind != u"dangling"_s)
        QVERIFY(testing::writeFile(target, "export PATH\n"));
    if (kind == u"link"_s || kind == u"dangling"_s)
        QVERIFY(QFile::link(target, path));
    if (kind == u"fifo"_s)
        QVERIFY(::mkfifo(name.constData(), 0600) == 0);
    if (kind == u"large"_s)
        QVERIFY(testing::writeFile(path, {}) && QFile::resize(path, kMaxListFileSize + 1));

    QString error;
    QCOMPARE(readListFile(path, &error), std::nullopt);
    QVERIFY2(error.contains(path) && error.contains(reason), qPrintable(error));
    if (kind == u"large"_s)
        return; // a large file of our own may be replaced
    QVERIFY(!writeListFile(path, {u"1"_s}, &error));
    QVERIFY2(error.contains(path) && error.contains(reason), qPrintable(error));
    // Nothing outside the folder was written or created.
    QCOMPARE(QFile::exists(target), kind != u"dangling"_s);
    if (kind != u"dangling"_s)
        QCOMPARE(testing::readFile(target), QByteArray("export PATH\n"));
}

void TestTextFile::failedSettingsWriteToldOncePerSession()
{
    QStringList told;
    settings::setNoticeSink([&](const QString &text) { told.append(text); });
    QTemporaryDir dir;
    const QString system = dir.filePath(u"system"_s);
    QVERIFY(testing::writeFile(system, "a file where the folder should be"));
    QVERIFY(!history::store(history::filePath(system, 5), {u"x"_s}));
    QVERIFY(!writeListFile(u"/nonexistent/prefs.plx"_s, {u"1"_s}));
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.front().startsWith(u"Settings cannot be saved in "_s + system),
             qPrintable(told.front()));

    // A system folder that is a link leads out of the program folder: refused, and said so.
    QTemporaryDir outside;
    QVERIFY(QFile::remove(system));
    QVERIFY(QFile::link(outside.path(), system));
    settings::setNoticeSink([&](const QString &text) { told.append(text); });
    QCOMPARE(history::load(history::filePath(system, 5)), QStringList());
    QVERIFY(!history::store(history::filePath(system, 5), {u"x"_s}));
    QCOMPARE(QDir(outside.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(told.size(), 3); // the refused read, then the write failure
    QVERIFY2(told[1].contains(u"symbolic link"_s), qPrintable(told[1]));
    settings::setNoticeSink(nullptr);
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
