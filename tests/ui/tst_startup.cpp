#include "fakedialogs.h"
#include "testfiles.h"

#include "ui/controls/numberfield.h"
#include "ui/mainwindow.h"
#include "ui/panel/parameterpanel.h"
#include "ui/preferencesdialog.h"
#include "ui/textpane.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QHelpEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolTip>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::readFile;
using testing::writeFile;

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void refusesToStartWithoutARequiredFile_data();
    void refusesToStartWithoutARequiredFile();
    void startsWithThePreferences();
    void placedAtTheTopCentredAndFullHeight();
    void preferencesCancelRestoresTheFontOkWritesTheFile();
    void closeBeforeAnyActivationKeepsThePreferences();
    void closeAnswers_data();
    void closeAnswers();

private:
    std::unique_ptr<MainWindow> start();
    bool closeWindow(MainWindow &window);

    std::unique_ptr<QTemporaryDir> m_home;
    FakeDialogs m_dialogs;
};

void TestStartup::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    qputenv("PLINTEX_HOME", m_home->path().toLocal8Bit());
    writeFile(m_home->filePath(u"prefs.plx"_s), "12\r\n10\r\n4\r\n");
    writeFile(m_home->filePath(u"rmdat.plx"_s), "e.g.;for example\r\n");
    m_dialogs.reset();
}

void TestStartup::cleanup()
{
    QVERIFY2(m_dialogs.answers.empty() && m_dialogs.files.empty(), "a queued answer was not used");
}

std::unique_ptr<MainWindow> TestStartup::start()
{
    auto window = std::make_unique<MainWindow>(m_dialogs);
    if (!window->startUp())
        return nullptr;
    window->show();
    window->activated();
    return window;
}

bool TestStartup::closeWindow(MainWindow &window)
{
    QCloseEvent event;
    QCoreApplication::sendEvent(&window, &event);
    return event.isAccepted();
}

// Closed before the window was ever activated (a Quit with no window manager), the program
// writes the preferences it loaded, not empty dialog fields.
void TestStartup::closeBeforeAnyActivationKeepsThePreferences()
{
    writeFile(m_home->filePath(u"prefs.plx"_s), "10\r\n8\r\n5\r\n"); // not the defaults
    MainWindow window(m_dialogs);
    QVERIFY(window.startUp());
    QVERIFY(closeWindow(window));
    QCOMPARE(readFile(m_home->filePath(u"prefs.plx"_s)), QByteArray("10\r\n8\r\n5\r\n"));
}

void TestStartup::refusesToStartWithoutARequiredFile_data()
{
    QTest::addColumn<QString>("missing");
    for (const QString &file : {u"prefs.plx"_s, u"rmdat.plx"_s})
        QTest::newRow(qPrintable(file)) << file;
}

void TestStartup::refusesToStartWithoutARequiredFile()
{
    QFETCH(QString, missing);
    QFile::remove(m_home->filePath(missing));
    MainWindow window(m_dialogs);
    QVERIFY(!window.startUp());
    QCOMPARE(m_dialogs.warnings.size(), 1);
    // The sentence as it stands, then the folder it means, then what the system said.
    const QStringList lines = m_dialogs.warnings.front().split(u'\r');
    QCOMPARE(lines.mid(0, 2),
             (QStringList{u"A %1 file must be in the Plintex.exe folder."_s.arg(missing),
                          m_home->path()}));
    QCOMPARE(lines.size(), 3);
    QVERIFY(!window.isVisible());
}

void TestStartup::startsWithThePreferences()
{
    auto window = start();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), u"Plintex v7.08"_s);
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->textFont().pointSize(), 10);
    QVERIFY(window->hintsShown());
    QCOMPARE(window->panel(56)->values().text(u"list"_s), u"e.g.;for example"_s);
    // Colour 2 on every text field, hidden ones included.
    const QColor tint(240, 248, 184);
    QCOMPARE(window->workArea()->backgroundColor(), tint);
    QCOMPARE(window->functionDropDown()->palette().color(QPalette::Base), tint);
    QVERIFY(window->findChildren<QLineEdit *>().size() > 4);
    for (const QLineEdit *field : window->findChildren<QLineEdit *>())
        QCOMPARE(field->palette().color(QPalette::Base), tint);
    const QList<qreal> stops = window->workArea()->tabStops(); // every 4 x 8 pixels
    QCOMPARE(stops.size(), 64);
    QCOMPARE(stops.mid(0, 2), (QList<qreal>{32.0, 64.0}));
    QCOMPARE(window->preferencesDialog()->fontSizeText(), u"10"_s);
    QVERIFY(window->preferencesDialog()->hintsTicked());
}

void TestStartup::placedAtTheTopCentredAndFullHeight()
{
    auto window = start();
    const QRect available = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    QCOMPARE(std::pair(frame.top(), frame.bottom()),
             std::pair(available.top(), available.bottom()));
    QCOMPARE(frame.left(), window->screen()->geometry().width() / 2 - frame.width() / 2);
}

void TestStartup::preferencesCancelRestoresTheFontOkWritesTheFile()
{
    auto window = start();
    m_dialogs.preferences = [&](PreferencesDialog &dialog) {
        dialog.fontSizeField()->setText(u"16"_s); // the work area follows at once
        [&] { QCOMPARE(window->textFont().pointSize(), 16); }();
        return false;
    };
    window->openPreferences();
    QCOMPARE(window->textFont().pointSize(), 10);
    QCOMPARE(readFile(m_home->filePath(u"prefs.plx"_s)), QByteArray("12\r\n10\r\n4\r\n"));
    QWidget *undo = window->findChild<QToolBar *>(u"MainToolbar"_s)
                        ->widgetForAction(window->toolbarAction(ToolbarAction::Undo));
    const auto askForTooltip = [undo] {
        QHelpEvent tip(QEvent::ToolTip, QPoint(4, 4), undo->mapToGlobal(QPoint(4, 4)));
        QCoreApplication::sendEvent(undo, &tip);
        const bool shown = QToolTip::isVisible();
        QToolTip::hideText(); // hidden after a short delay
        const bool hidden = QTest::qWaitFor([] { return !QToolTip::isVisible(); });
        return shown && hidden;
    };
    QVERIFY(askForTooltip());
    m_dialogs.preferences = [](PreferencesDialog &dialog) {
        dialog.fontSizeField()->setText(u"12"_s);
        dialog.tabSpacingField()->setText(u"0"_s);
        dialog.hintsBox()->setChecked(false);
        return true;
    };
    window->openPreferences();
    QCOMPARE(readFile(m_home->filePath(u"prefs.plx"_s)), QByteArray("02\r\n12\r\n0\r\n"));
    QCOMPARE(window->textFont().pointSize(), 12);
    QVERIFY(!window->hintsShown());
    QVERIFY(!askForTooltip()); // hints off: no tooltips either
    const QList<qreal> stops = window->workArea()->tabStops();
    QVERIFY(stops.value(0) > 0 && stops.value(0) < 8); // spacing 0: the narrowest stops
}

void TestStartup::closeAnswers_data()
{
    QTest::addColumn<int>("answer"); // -1: the text is unchanged and nothing is asked
    QTest::addColumn<bool>("saveDialogCancelled");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("unchanged asks nothing") << -1 << false << true << false;
    QTest::newRow("Cancel stays open") << int(Dialogs::Answer::Cancel) << false << false << false;
    QTest::newRow("No closes") << int(Dialogs::Answer::No) << false << true << false;
    QTest::newRow("Yes saves, then closes") << int(Dialogs::Answer::Yes) << false << true << true;
    QTest::newRow("Yes but no file written stays open")
        << int(Dialogs::Answer::Yes) << true << false << false;
}

void TestStartup::closeAnswers()
{
    QFETCH(int, answer);
    QFETCH(bool, saveDialogCancelled);
    QFETCH(bool, written);
    auto window = start();
    const QString typed = answer < 0 ? QString() : u"typed"_s;
    window->workArea()->setFocus();
    QTest::keyClicks(window->workArea(), typed);
    QFile::remove(m_home->filePath(u"prefs.plx"_s));
    if (answer >= 0)
        m_dialogs.answers.push_back(Dialogs::Answer(answer));
    const QString target = m_home->filePath(u"saved.txt"_s);
    if (answer == int(Dialogs::Answer::Yes))
        m_dialogs.files.push_back({saveDialogCancelled ? QString() : target, 1});
    QTEST(closeWindow(*window), "closes");
    QCOMPARE(m_dialogs.questions,
             typed.isEmpty() ? QStringList() : QStringList{u"Plintex text has changed.  Save?"_s});
    QCOMPARE(QFile::exists(target), written);
    QCOMPARE(readFile(target), written ? QByteArray("typed") : QByteArray());
    QCOMPARE(window->workArea()->text(), typed);
    // The preferences are written whatever the answer.
    QCOMPARE(readFile(m_home->filePath(u"prefs.plx"_s)), QByteArray("12\r\n10\r\n4\r\n"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
