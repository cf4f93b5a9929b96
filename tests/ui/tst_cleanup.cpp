#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include "ui/controls/piegauge.h"
#include "ui/documentactions.h"
#include "ui/panestack.h"
#include "ui/statuspanels.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace plintex;
using testing::writeFile;

/// The clean-up functions in the window: Read Me, and what Special Routines shows outside
/// the text.
class TestCleanup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(w.prepareHome()); }
    void init() { QVERIFY(w.open()); }
    void cleanup() { QVERIFY(w.close()); }

    void readMeRunLeavesItsResultOnTheClipboard();
    void readMeListIsLockedSavedAndKept();
    void readMeDeleteAndArrow();
    void readMeStartsOnlyOnAPaste_data();
    void readMeStartsOnlyOnAPaste();
    void readMeStoppedKeepsAutoStartOff();
    void countsGoToTheStatusBarAndAStopLeavesThem();
    void truncateBlanksPutsTheCaretOnTheHiddenStripsTo();
    void deleteTagsShowsThePanelsOwnBar();

private:
    const FunctionEntry &readMe() { return *catalogue().byName(u"read-me"); }
    QAbstractButton *button(PanelAction action) { return w.panel(readMe()).actionButton(action); }
    void paste(const QString &text)
    {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(w.window->workArea(), Qt::Key_V, Qt::ControlModifier);
    }
    QStringList counts() const
    {
        const StatusPanels *s = w.window->statusPanels();
        return {s->panelText(3), s->panelText(4), s->panelText(5)};
    }

    testing::WindowFixture w;
};

void TestCleanup::readMeRunLeavesItsResultOnTheClipboard()
{
    const FunctionEntry &f = w.select(u"Read Me");
    w.setText(u"The cat sat\non the mat!\n"_s);
    w.run(f);
    const QString result = u"The cbt sbt.   on the mbt! \n"_s; // rmdat.plx holds "a;b"
    QCOMPARE(w.text(), result);
    QCOMPARE(QApplication::clipboard()->text(), result);
    TextPane *area = w.window->workArea();
    QVERIFY(!area->hasSelection());
    QCOMPARE(area->selectionStart(), result.size());
    QVERIFY(!w.window->session().flags.autoRealignDone);
}

void TestCleanup::readMeListIsLockedSavedAndKept()
{
    const FunctionEntry &f = w.select(u"Read Me");
    QWidget *list = w.panel(f).control(u"list"_s);
    QCOMPARE(w.value(f, u"list"_s), u"a;b"_s); // rmdat.plx as start-up read it
    QVERIFY(!list->isEnabled());
    w.set(f, u"lock"_s, u"0"_s);
    QVERIFY(list->isEnabled());
    QCOMPARE(w.window->focusWidget(), w.window->workArea());

    w.set(f, u"list"_s, u"x;y\nsø;so"_s);
    QTest::mouseClick(button(PanelAction::SaveList), Qt::LeftButton);
    QFile saved(w.home.filePath(u"rmdat.plx"_s));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), "x;y\r\ns\xF8;so\r\n");
    saved.close();

    // A list that cannot be saved is said so each time, naming the file, and stays.
    QVERIFY(saved.remove() && QDir(w.home.path()).mkdir(u"rmdat.plx"_s));
    QTest::mouseClick(button(PanelAction::SaveList), Qt::LeftButton);
    QTest::mouseClick(button(PanelAction::SaveList), Qt::LeftButton);
    QCOMPARE(w.dialogs.warnings.size(), 2);
    QVERIFY(w.dialogs.warnings.front().contains(w.home.filePath(u"rmdat.plx"_s)));
    QCOMPARE(w.value(f, u"list"_s), u"x;y\nsø;so"_s);
    QVERIFY(QDir(w.home.path()).rmdir(u"rmdat.plx"_s));
    QVERIFY(writeFile(w.home.filePath(u"rmdat.plx"_s), "a;b\r\n"));
    w.dialogs.warnings.clear();
}

void TestCleanup::readMeDeleteAndArrow()
{
    w.select(u"Read Me");
    TextPane *area = w.window->workArea();
    w.setText(u"keep cut keep\nlast\n"_s);
    QTest::mouseClick(button(PanelAction::DeleteSelection), Qt::LeftButton); // nothing selected
    QCOMPARE(w.text(), u"keep cut keep\nlast\n"_s);
    area->setSelection(5, 4);
    QTest::mouseClick(button(PanelAction::DeleteSelection), Qt::LeftButton);
    QCOMPARE(w.text(), u"keep keep\nlast\n"_s);
    QCOMPARE(area->selectionStart(), w.text().size());
    QTest::mouseClick(button(PanelAction::ToTop), Qt::LeftButton);
    QCOMPARE(area->selectionStart(), 0);
}

void TestCleanup::readMeStartsOnlyOnAPaste_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("starts");
    const QString pasted = u"a \u2014 b www.x.com c"_s; // 16 characters
    QTest::newRow("Ctrl+V") << u"Ctrl+V"_s << pasted << true;
    QTest::newRow("a drop of text") << u"drop"_s << pasted << true;
    QTest::newRow("ten characters") << u"Ctrl+V"_s << u"0123456789"_s << false;
    QTest::newRow("eleven characters") << u"Ctrl+V"_s << u"0123456789x"_s << true;
    QTest::newRow("typing") << u"type"_s << pasted << false;
    QTest::newRow("box unticked") << u"unticked"_s << pasted << false;
    QTest::newRow("an opened document") << u"open"_s << pasted << false;
}

void TestCleanup::readMeStartsOnlyOnAPaste()
{
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(bool, starts);
    const FunctionEntry &f = w.select(u"Read Me");
    TextPane *area = w.window->workArea();
    area->setFocus();
    QApplication::clipboard()->setText(text);
    if (how == u"Ctrl+V"_s || how == u"unticked"_s) {
        if (how == u"unticked"_s)
            w.set(f, u"autoStart"_s, u"0"_s);
        QTest::keyClick(area, Qt::Key_V, Qt::ControlModifier);
    } else if (how == u"drop"_s) {
        QMimeData mime;
        mime.setText(text);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(area->viewport(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(area->viewport(), &drop);
    } else if (how == u"type"_s) {
        QTest::keyClicks(area, u"a - b www.x.com c"_s);
        text = u"a - b www.x.com c"_s;
    } else {
        QVERIFY(writeFile(w.home.filePath(u"doc.txt"_s), text.toUtf8()));
        w.dialogs.files.push_back({w.home.filePath(u"doc.txt"_s), 0});
        w.window->documents()->open();
        QCOMPARE(w.window->selectedFunction(), &f);
    }
    QCOMPARE(w.text() != text, starts);
    if (!starts)
        return;
    QCOMPARE(QApplication::clipboard()->text(), w.text());
    // Undo brings back the text as it was pasted, dashes and all.
    w.window->undo();
    QCOMPARE(w.text(), text + u'\n');
}

void TestCleanup::readMeStoppedKeepsAutoStartOff()
{
    const FunctionEntry &f = w.select(u"Read Me");
    w.set(f, u"list"_s, QString());
    w.setText(u"first text to read\n"_s);
    w.window->session().stop.request(); // a click while nothing runs stops the next run
    w.run(f);
    QCOMPARE(w.dialogs.warnings, QStringList{u"Processing stopped!"_s});
    w.dialogs.warnings.clear();
    paste(u"no start after a stop"_s);
    QVERIFY(w.text().contains(u"no start after a stop"_s));
    QVERIFY(!w.text().contains(u".  "_s));
    w.run(f); // completed: automatic starts are back
    QVERIFY(!w.window->session().flags.autoRealignDone);
    w.window->workArea()->moveCaretToOffset(0);
    paste(u"pasted again\n"_s);
    QVERIFY2(w.text().startsWith(u"pasted again.   "_s), qPrintable(w.text()));
}

void TestCleanup::countsGoToTheStatusBarAndAStopLeavesThem()
{
    const FunctionEntry &f = w.select(u"Special Routines");
    w.setText(u"a b\ncd\n"_s);
    w.window->workArea()->setCaret({1, 1});
    w.run(f, u"count"_s);
    const QStringList counted{u"Total Chr = 5"_s, u"Total Blk = 1"_s, u"Total Chr to Cursor = 4"_s};
    QCOMPARE(counts(), counted);
    QCOMPARE(w.text(), u"a b\ncd\n"_s);

    // Stopped before the characters were counted: the panels keep what they showed.
    w.window->workArea()->setCaret({0, 0});
    QTest::mouseClick(w.window->stopButton(), Qt::LeftButton);
    w.run(f, u"count"_s);
    QCOMPARE(w.dialogs.warnings, QStringList{u"Processing stopped!"_s});
    QCOMPARE(counts(), counted);
}

// An earlier run left To in the strip, which this function keeps hidden; the engine's table
// covers where To lands when it is past the text or 0.
void TestCleanup::truncateBlanksPutsTheCaretOnTheHiddenStripsTo()
{
    w.window->restraintStrip()->setTo(2);
    const FunctionEntry &f = w.select(u"Special Routines");
    QVERIFY(w.window->restraintStrip()->isHidden());
    w.setText(u"a  b\nc\nd\n"_s);
    w.window->workArea()->setCaret(w.window->workArea()->store().endPosition());
    w.run(f, u"blanks"_s);
    QCOMPARE(w.text(), u"a b\nc\nd\n"_s);
    QCOMPARE(w.window->workArea()->caret().row, 1);
}

void TestCleanup::deleteTagsShowsThePanelsOwnBar()
{
    const FunctionEntry &f = w.select(u"Special Routines");
    QProgressBar *bar = w.panel(f).progressBar();
    QVERIFY(bar && bar->isHidden());
    struct Watch : QObject {
        bool shown = false;
        bool eventFilter(QObject *, QEvent *e) override
        {
            shown = shown || e->type() == QEvent::Show;
            return false;
        }
    } watch;
    bar->installEventFilter(&watch);
    w.setText(u"a <b>bold</b> c\n"_s);
    w.run(f, u"tags"_s);
    QCOMPARE(w.text(), u"a bold c\n"_s);
    QVERIFY(watch.shown);
    QVERIFY(bar->isHidden() && w.window->gauge()->isHidden());
}

QTEST_MAIN(TestCleanup)
#include "tst_cleanup.moc"
