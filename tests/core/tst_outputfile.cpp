#include "core/outputfile.h"
#include "testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

using Kind = OutputTarget::Kind;

bool shell(const QString &dir, const QString &script)
{
    if (script.isEmpty())
        return true;
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(u"/bin/sh"_s, {u"-c"_s, script});
    return p.waitForFinished() && p.exitCode() == 0;
}

int modeOf(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

class TestOutputFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resolve_data();
    void resolve();
    void sameFile();
    void replacedOnlyOnCommit();
};

// What a name leads to, made in an empty folder by `setup`. `target` is relative to the folder
// unless absolute; for a refusal, the system's reason.
void TestOutputFile::resolve_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind"); // -1: refused
    QTest::addColumn<QString>("target");
    const auto row = [](const char *n, const char *setup, const char *name, int kind,
                        const char *target) {
        QTest::newRow(n) << QString::fromUtf8(setup) << QString::fromUtf8(name) << kind
                         << QString::fromUtf8(target);
    };
    row("a new file", "", "n", int(Kind::NewFile), "n");
    row("a dangling link: the file it names is made", "mkdir s && ln -s s/new a", "a",
        int(Kind::NewFile), "s/new");
    row("a relative link, read from its own folder", "mkdir s && touch r && ln -s ../r s/l", "s/l",
        int(Kind::RegularFile), "r");
    row("a linked folder on the way", "mkdir d && touch d/f && ln -s d e", "e/f",
        int(Kind::RegularFile), "d/f");
    row("a FIFO", "mkfifo p", "p", int(Kind::Stream), "p");
    row("a link to a character device", "ln -s /dev/null n", "n", int(Kind::Stream), "/dev/null");
    row("/dev/fd/1: this process's own descriptor", "", "/dev/fd/1", int(Kind::Descriptor), "1");
    row("a missing folder", "", "none/f", -1, "No such file or directory");
    row("a folder", "mkdir d", "d", -1, "Is a directory");
    row("a file named as a folder", "touch f", "f/", -1, "Not a directory");
}

void TestOutputFile::resolve()
{
    QFETCH(QString, setup);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QString, target);
    QTemporaryDir dir;
    QVERIFY(shell(dir.path(), setup));
    QVERIFY(QDir::setCurrent(dir.path()));
    QString why;
    const std::optional<OutputTarget> t = resolveOutput(name, &why);
    QDir::setCurrent(QDir::tempPath());
    QCOMPARE(t ? int(t->kind) : -1, kind);
    if (!t)
        QCOMPARE(why, target);
    else if (t->kind == Kind::Descriptor)
        QCOMPARE(t->descriptor, target.toInt());
    else
        QCOMPARE(t->path, target.startsWith(u'/')
                              ? target
                              : QDir(dir.path()).canonicalPath() + u'/' + target);
}

void TestOutputFile::sameFile()
{
    QTemporaryDir dir;
    QVERIFY(shell(dir.path(), u"mkdir s && touch f g && ln f s/hard"_s));
    QVERIFY(isSameFile(dir.filePath(u"f"_s), dir.filePath(u"s/../s/hard"_s)));
    QVERIFY(!isSameFile(dir.filePath(u"f"_s), dir.filePath(u"g"_s)));
    QVERIFY(!isSameFile(dir.filePath(u"f"_s), dir.filePath(u"missing"_s)));
}

// The old file stays whole until commit, which gives the new one its mode; a discarded or
// failed result leaves nothing beside it.
void TestOutputFile::replacedOnlyOnCommit()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"f"_s);
    QVERIFY(testing::writeFile(path, "old\n"));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    {
        OutputFile out;
        QVERIFY(out.open(path));
        QVERIFY(out.write("new\n"));
        QCOMPARE(testing::readFile(path), "old\n");
    } // dropped unfinished
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"f"_s});
    OutputFile out;
    QVERIFY(out.open(path));
    QVERIFY(out.write(QByteArray(100000, 'x')));
    QVERIFY(out.commit());
    QCOMPARE(testing::readFile(path), QByteArray(100000, 'x'));
    QCOMPARE(modeOf(path), 0604);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"f"_s});
}

QTEST_GUILESS_MAIN(TestOutputFile)
#include "tst_outputfile.moc"
