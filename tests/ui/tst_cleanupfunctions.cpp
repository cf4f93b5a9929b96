#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include "ui/controls/piegauge.h"
#include "ui/statuspanels.h"

#include <QProgressBar>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace plintex;

/// The clean-up functions in the window: what they show outside the text.
class TestCleanupFunctions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(w.prepareHome()); }
    void init() { QVERIFY(w.open()); }
    void cleanup() { QVERIFY(w.close()); }

    void specialRoutinesPanelInFullView();
    void countsGoToTheStatusBarAndAStopLeavesThem();
    void truncateBlanksPutsTheCaretOnTheHiddenStripsTo_data();
    void truncateBlanksPutsTheCaretOnTheHiddenStripsTo();
    void deleteTagsShowsThePanelsOwnBar();
    void htmlRealignWarnsAfterOverlaying();

private:
    QStringList counts() const
    {
        const StatusPanels *s = w.window->statusPanels();
        return {s->panelText(3), s->panelText(4), s->panelText(5)};
    }
    testing::WindowFixture w;
};

void TestCleanupFunctions::specialRoutinesPanelInFullView()
{
    const FunctionEntry &f = w.select(u"Special Routines");
    QCoreApplication::processEvents();
    const QRect window = w.window->rect();
    for (QWidget *c : w.panel(f).findChildren<QWidget *>()) {
        if (c->isHidden())
            continue;
        const QRect at(c->mapTo(w.window, QPoint(0, 0)), c->size());
        QVERIFY2(window.contains(at), qPrintable(c->accessibleName()));
    }
}

void TestCleanupFunctions::countsGoToTheStatusBarAndAStopLeavesThem()
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

void TestCleanupFunctions::truncateBlanksPutsTheCaretOnTheHiddenStripsTo_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("row");
    QTest::newRow("To 2: row 2") << u"a  b\nc\nd\n"_s << 2 << 1;
    QTest::newRow("To past the text: the last row") << u"a  b\nc\nd\n"_s << 99 << 2;
    QTest::newRow("To 0: the first row") << u"a  b\nc\nd\n"_s << 0 << 0;
    QTest::newRow("empty text, To 5") << QString() << 5 << 0;
}

void TestCleanupFunctions::truncateBlanksPutsTheCaretOnTheHiddenStripsTo()
{
    QFETCH(QString, text);
    QFETCH(int, to);
    // An earlier run left To in the strip, which this function keeps hidden.
    w.window->restraintStrip()->setTo(to);
    const FunctionEntry &f = w.select(u"Special Routines");
    QVERIFY(w.window->restraintStrip()->isHidden());
    w.setText(text);
    w.window->workArea()->setCaret(w.window->workArea()->store().endPosition());
    w.run(f, u"blanks"_s);
    QCOMPARE(w.text(), QString(text).replace(u"  "_s, u" "_s));
    QTEST(int(w.window->workArea()->caret().row), "row");
}

void TestCleanupFunctions::deleteTagsShowsThePanelsOwnBar()
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

void TestCleanupFunctions::htmlRealignWarnsAfterOverlaying()
{
    const FunctionEntry &f = w.select(u"Html Realign");
    w.setText(u"abc\n x\n"_s);
    w.run(f);
    QCOMPARE(w.text(), u"abc\n x\naxc\n"_s);
    QCOMPARE(w.dialogs.warnings, QStringList{u"Data has been overlayed!"_s});
}

QTEST_MAIN(TestCleanupFunctions)
#include "tst_cleanupfunctions.moc"
