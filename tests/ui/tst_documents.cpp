#include "fakedialogs.h"
#include "testfiles.h"

#include "settings/listfile.h"
#include "ui/documentactions.h"
#include "ui/functionbar.h"
#include "ui/mainwindow.h"
#include "ui/textpane.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::readFile;
using testing::writeFile;

namespace {

constexpr int kTextType = 1; // "Text Document (*.txt)" in the save dialog
constexpr int kRtfType = 0;

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void openRefuses_data();
    void openRefuses();
    void openReadsRtfAndPlainText();
    void openPathNamedOutright_data();
    void openPathNamedOutright();
    void unsavedQuestionOnOpen_data();
    void unsavedQuestionOnOpen();
    void saveNames_data();
    void saveNames();
    void saveAsksBeforeReplacing();
    void failedSaveKeepsTheTextModified();
    void plainSaveKeepsTheDocumentsEncoding();
    void recentMenuOffersExistingFilesAndOpensOne();
    void clearThenUndo();

private:
    QString path(const QString &name) const { return m_home->filePath(name); }
    void type(const QString &text);

    std::unique_ptr<QTemporaryDir> m_home;
    FakeDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;
};

void TestDocuments::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    qputenv("PLINTEX_HOME", m_home->path().toLocal8Bit());
    writeFile(path(u"prefs.plx"_s), "10\r\n8\r\n5\r\n");
    writeFile(path(u"rmdat.plx"_s), "");
    m_dialogs.reset();
    m_window = std::make_unique<MainWindow>(m_dialogs);
    QVERIFY(m_window->startUp());
    m_window->show();
    m_window->activated();
}

void TestDocuments::cleanup()
{
    m_window.reset();
    QVERIFY2(m_dialogs.answers.empty() && m_dialogs.files.empty(), "a queued answer was not used");
}

void TestDocuments::type(const QString &text)
{
    m_window->workArea()->setFocus();
    QTest::keyClicks(m_window->workArea(), text);
}

void TestDocuments::openRefuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("warning"); // what the one warning holds
    const QString extension = u"Incorrect file extention - must be .doc or .txt"_s;
    QTest::newRow("upper-case TXT") << u"notes.TXT"_s << extension;
    QTest::newRow("rtf") << u"notes.rtf"_s << extension;
    QTest::newRow("no extension") << u"notes"_s << extension;
    QTest::newRow("a folder, which cannot be read as text") << u"folder.txt"_s << u"folder.txt"_s;
}

void TestDocuments::openRefuses()
{
    QFETCH(QString, name);
    QFETCH(QString, warning);
    if (name == u"folder.txt"_s)
        QVERIFY(QDir(m_home->path()).mkdir(name));
    else
        writeFile(path(name), "content\n");
    m_window->workArea()->setText(u"kept"_s);
    m_dialogs.answers.push_back(Dialogs::Answer::No); // the text has changed: open all the same
    m_dialogs.files.push_back({path(name), 0});
    m_window->documents()->open();
    QCOMPARE(m_dialogs.warnings.size(), 1);
    QVERIFY2(m_dialogs.warnings.front().contains(warning), qPrintable(m_dialogs.warnings.front()));
    QCOMPARE(m_window->workArea()->text(), u"kept"_s);
    QVERIFY(!QFile::exists(path(u"fdat.plx"_s)));
}

void TestDocuments::openReadsRtfAndPlainText()
{
    // Read Me chosen before stays chosen.
    QTest::mouseClick(m_window->functionBar()->button(56), Qt::LeftButton);
    QTest::mouseClick(m_window->functionBar()->button(10), Qt::LeftButton);
    QTest::mouseClick(m_window->functionBar()->button(56), Qt::LeftButton);
    writeFile(path(u"a.doc"_s), "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier;}}caf\\'e9\\par second}");
    writeFile(path(u"b.txt"_s), "plain\r\ntext\r\n");
    m_dialogs.files.push_back({path(u"a.doc"_s), 0});
    m_window->documents()->open();
    QCOMPARE(m_window->documents()->mode(), TextMode::Rich);
    QCOMPARE(m_window->workArea()->text(), u"caf\u00E9\nsecond"_s);
    QVERIFY(!m_window->session().flags.modified);

    m_dialogs.files.push_back({path(u"b.txt"_s), 0});
    m_window->documents()->open(); // no RTF in it: read as plain text
    QCOMPARE(m_window->workArea()->lines(), (QStringList{u"plain"_s, u"text"_s}));
    QCOMPARE(m_dialogs.warnings, QStringList());
    // The recent list is made when there is none.
    QCOMPARE(readListFile(path(u"fdat.plx"_s)),
             std::optional<QStringList>({path(u"b.txt"_s), path(u"a.doc"_s)}));
    QCOMPARE(m_window->selectedFunction()->name, u"Read Me"_s);
    QVERIFY(m_window->functionBar()->button(56)->isChecked());
}

// A file named on the program's command line: any extension, read as Open reads it.
void TestDocuments::openPathNamedOutright_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<QString>("warning");
    QTest::newRow("rtf extension")
        << u"a.rtf"_s << QByteArray("{\\rtf1 rich\\par}") << u"rich\n"_s << QString();
    QTest::newRow("csv extension") << u"a.csv"_s << QByteArray("1,2\n") << u"1,2\n"_s << QString();
    QTest::newRow("missing file") << u"gone.txt"_s << QByteArray() << u"kept"_s
                                  << u"\rNo such file or directory"_s;
}

void TestDocuments::openPathNamedOutright()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, textAfter);
    QFETCH(QString, warning);
    if (!content.isEmpty())
        writeFile(path(name), content);
    m_window->workArea()->setText(u"kept"_s);
    QCOMPARE(m_window->documents()->openPath(path(name)), warning.isEmpty());
    QCOMPARE(m_window->workArea()->text(), textAfter);
    QCOMPARE(m_dialogs.warnings, warning.isEmpty()
                                     ? QStringList()
                                     : QStringList{u"Cannot open "_s + path(name) + warning});
    QCOMPARE(QFile::exists(path(u"fdat.plx"_s)), warning.isEmpty());
}

void TestDocuments::unsavedQuestionOnOpen_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<bool>("dropped"); // the file dropped on the work area, not chosen
    QTest::newRow("Yes saves and opens nothing")
        << int(Dialogs::Answer::Yes) << u"typed"_s << false;
    QTest::newRow("No opens") << int(Dialogs::Answer::No) << u"other\n"_s << false;
    QTest::newRow("Cancel does nothing") << int(Dialogs::Answer::Cancel) << u"typed"_s << false;
    QTest::newRow("dropped, No opens") << int(Dialogs::Answer::No) << u"other\n"_s << true;
    QTest::newRow("dropped, Cancel does nothing")
        << int(Dialogs::Answer::Cancel) << u"typed"_s << true;
}

void TestDocuments::unsavedQuestionOnOpen()
{
    QFETCH(int, answer);
    QFETCH(QString, textAfter);
    QFETCH(bool, dropped);
    writeFile(path(u"other.txt"_s), "other\n");
    type(u"typed"_s);
    m_dialogs.answers.push_back(Dialogs::Answer(answer));
    if (answer == int(Dialogs::Answer::Yes))
        m_dialogs.files.push_back({path(u"saved.txt"_s), kTextType});
    if (answer == int(Dialogs::Answer::No) && !dropped)
        m_dialogs.files.push_back({path(u"other.txt"_s), 0});
    if (dropped) {
        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(path(u"other.txt"_s))});
        QWidget *view = m_window->workArea()->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &file, Qt::LeftButton, {});
        QCoreApplication::sendEvent(view, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &file, Qt::LeftButton, {});
        QCoreApplication::sendEvent(view, &drop);
    } else {
        m_window->documents()->open();
    }
    QCOMPARE(m_dialogs.questions, QStringList{u"Plintex text has changed.  Save?"_s});
    QCOMPARE(m_window->workArea()->text(), textAfter);
    QCOMPARE(QFile::exists(path(u"saved.txt"_s)), answer == int(Dialogs::Answer::Yes));
}

void TestDocuments::saveNames_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("written");
    QTest::newRow("text type, no dot: .txt added") << u"notes"_s << kTextType << u"notes.txt"_s;
    QTest::newRow("rtf type, no dot: .doc added") << u"notes"_s << kRtfType << u"notes.doc"_s;
    QTest::newRow("text type named .doc is refused") << u"notes.doc"_s << kTextType << QString();
    QTest::newRow("all files type writes rtf as .doc") << u"notes.doc"_s << 2 << u"notes.doc"_s;
    QTest::newRow("a dot in the folder's name is fine")
        << u"v1.2/notes.txt"_s << kTextType << u"v1.2/notes.txt"_s;
    QTest::newRow("a folder with a dot, a name without")
        << u"v1.2/notes"_s << kTextType << u"v1.2/notes.txt"_s;
}

void TestDocuments::saveNames()
{
    QFETCH(QString, chosen);
    QFETCH(int, type);
    QFETCH(QString, written);
    QDir(m_home->path()).mkdir(u"v1.2"_s);
    this->type(u"abc"_s);
    m_dialogs.files.push_back({path(chosen), type});
    QCOMPARE(m_window->documents()->save(), !written.isEmpty());
    if (written.isEmpty()) {
        QCOMPARE(m_dialogs.warnings,
                 QStringList{u"Incorrect file extention - must be .doc or .txt"_s});
        QVERIFY(m_window->session().flags.modified);
        return;
    }
    QVERIFY(QFile::exists(path(written)));
    const QByteArray bytes = readFile(path(written));
    QCOMPARE(bytes.startsWith("{\\rtf1"), type != kTextType);
    if (type == kTextType)
        QCOMPARE(bytes, QByteArray("abc"));
    QVERIFY(!m_window->session().flags.modified);
}

void TestDocuments::saveAsksBeforeReplacing()
{
    writeFile(path(u"old.txt"_s), "old\n");
    type(u"new"_s);
    m_dialogs.files.push_back({path(u"old"_s), kTextType}); // old + .txt exists
    m_dialogs.answers.push_back(Dialogs::Answer::No);
    QVERIFY(!m_window->documents()->save());
    QCOMPARE(m_dialogs.questions, QStringList{u"File aready exist.  Replace it?"_s});
    QCOMPARE(readFile(path(u"old.txt"_s)), QByteArray("old\n"));

    m_dialogs.files.push_back({path(u"old.txt"_s), kTextType});
    m_dialogs.answers.push_back(Dialogs::Answer::Yes);
    QVERIFY(m_window->documents()->save());
    QCOMPARE(readFile(path(u"old.txt"_s)), QByteArray("new"));
    QCOMPARE(m_dialogs.saveFilterOffered, kTextType); // the dialog keeps the type last chosen
}

void TestDocuments::failedSaveKeepsTheTextModified()
{
    QVERIFY(QDir(m_home->path()).mkdir(u"taken.txt"_s));
    type(u"precious"_s);
    m_dialogs.files.push_back({path(u"taken.txt"_s), kTextType});
    m_dialogs.answers.push_back(Dialogs::Answer::Yes);
    QVERIFY(!m_window->documents()->save());
    QCOMPARE(m_dialogs.warnings.size(), 1);
    QVERIFY(m_dialogs.warnings.front().startsWith(u"Cannot save "_s + path(u"taken.txt"_s)));
    QVERIFY(m_window->session().flags.modified);
    QCOMPARE(m_window->workArea()->text(), u"precious"_s);
}

void TestDocuments::plainSaveKeepsTheDocumentsEncoding()
{
    writeFile(path(u"old.txt"_s), "na\xEFve\r\nline\r\n");
    m_dialogs.files.push_back({path(u"old.txt"_s), 0});
    m_window->documents()->open();
    m_dialogs.files.push_back({path(u"copy.txt"_s), kTextType});
    QVERIFY(m_window->documents()->save());
    QCOMPARE(readFile(path(u"copy.txt"_s)), QByteArray("na\xEFve\r\nline\r\n"));
}

void TestDocuments::recentMenuOffersExistingFilesAndOpensOne()
{
    writeFile(path(u"a.txt"_s), "a\n");
    writeFile(path(u"b.txt"_s), "b\n");
    const QStringList stored{path(u"a.txt"_s), path(u"gone.txt"_s), path(u"b.txt"_s),
                             path(u"a.txt"_s)};
    QVERIFY(writeListFile(path(u"fdat.plx"_s), stored));
    const QByteArray before = readFile(path(u"fdat.plx"_s));

    m_window->documents()->showRecentMenu({});
    QCOMPARE(m_dialogs.menuShown, (QStringList{path(u"a.txt"_s), path(u"b.txt"_s)}));
    QCOMPARE(readFile(path(u"fdat.plx"_s)), before); // showing the menu writes nothing

    m_dialogs.menuPick = 1;
    m_window->documents()->showRecentMenu({});
    QCOMPARE(m_window->workArea()->lines(), QStringList{u"b"_s});
    QCOMPARE(readListFile(path(u"fdat.plx"_s)),
             std::optional<QStringList>(QStringList{path(u"b.txt"_s), path(u"a.txt"_s)}));

    // A right click on the open button is what shows the menu, once the click is over; the
    // next click then goes where it is aimed.
    m_dialogs.menuShown.clear();
    QWidget *openButton = m_window->findChild<QToolBar *>(u"MainToolbar"_s)
                              ->widgetForAction(m_window->toolbarAction(ToolbarAction::Open));
    QTest::mouseClick(openButton, Qt::RightButton);
    QTRY_COMPARE(m_dialogs.menuShown, (QStringList{path(u"b.txt"_s), path(u"a.txt"_s)}));
    QTest::mouseClick(m_window->functionBar()->button(10), Qt::LeftButton);
    QVERIFY(m_window->selectedFunction());

    // With nothing to offer there is no menu, and so no question.
    QVERIFY(writeListFile(path(u"fdat.plx"_s), {}));
    type(u"x"_s);
    m_dialogs.menuShown.clear();
    QTest::mouseClick(openButton, Qt::RightButton);
    QTest::qWait(10);
    QVERIFY(m_dialogs.questions.isEmpty());
    QVERIFY(m_dialogs.menuShown.isEmpty());
    QVERIFY(writeListFile(path(u"fdat.plx"_s), stored));

    // A changed text is asked about before the menu offers to replace it.
    type(u"x"_s);
    m_dialogs.answers.push_back(Dialogs::Answer::Cancel);
    m_window->documents()->showRecentMenu({});
    QCOMPARE(m_dialogs.questions, QStringList{u"Plintex text has changed.  Save?"_s});
}

void TestDocuments::clearThenUndo()
{
    m_window->workArea()->setLines({u"one"_s, u"two"_s});
    m_dialogs.answers.push_back(Dialogs::Answer::No);
    m_window->documents()->clear();
    QCOMPARE(m_window->workArea()->lines(), (QStringList{u"one"_s, u"two"_s}));
    m_dialogs.answers.push_back(Dialogs::Answer::Yes);
    m_window->documents()->clear();
    QCOMPARE(m_dialogs.questions, QStringList(2, u"Clear work area?"_s));
    QCOMPARE(m_window->workArea()->text(), QString());
    m_window->undo();
    QCOMPARE(m_window->workArea()->lines(), (QStringList{u"one"_s, u"two"_s}));
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
