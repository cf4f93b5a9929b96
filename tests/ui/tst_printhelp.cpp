#include <QToolButton> // the fixture clicks function buttons

#include "windowfixture.h"

#include "ui/controls/numberfield.h"
#include "ui/printing/printout.h"

#include <QAction>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace plintex;

namespace {

// The text of each page of a PDF file, as pdftotext reads it, lines trimmed and blank ones
// dropped.
QList<QStringList> pdfPages(const QString &pdf)
{
    QProcess p;
    p.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QList<QStringList> pages;
    const QStringList raw = QString::fromUtf8(p.readAllStandardOutput()).split(u'\f');
    for (qsizetype i = 0; i + 1 < raw.size(); ++i) { // the text ends with a form feed
        QStringList lines;
        for (const QString &line : raw[i].split(u'\n')) {
            if (!line.trimmed().isEmpty())
                lines.append(line.trimmed());
        }
        pages.append(lines);
    }
    return pages;
}

} // namespace

/// "Print" and "Help": the printout as a PDF file read back, the dialog, the refusals.
class TestPrintHelp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(fx.prepareHome()); }
    void init() { QVERIFY(fx.open()); }
    void cleanup() { QVERIFY2(fx.close(), "a queued answer was not used"); }

    void printsEveryRowOnNumberedPages_data();
    void printsEveryRowOnNumberedPages();
    void refusesWithAReason_data();
    void refusesWithAReason();
    void cancelLeavesTheOldFile();
    void dialogKeepsItsFontSizeAfterResetAll();
    void helpOpensTheProgramFoldersPage();
    void wrapsWithoutSplittingACharacter();

private:
    /// Presses "Print"; the dialog gets `size`, and "Printer..." a PDF file, or no printer at
    /// all when `printer` is false.
    void print(const QString &size, bool printer = true)
    {
        fx.dialogs.printTo = printer ? pdf() : QString();
        fx.dialogs.printParameters = [size](PrintParametersDialog &d) {
            d.fontSizeField()->setText(size);
            d.printerButton()->click();
            return true;
        };
        fx.window->findChild<QAction *>(u"Print"_s)->trigger();
    }
    QString pdf() const { return fx.home.filePath(u"out.pdf"_s); }

    testing::WindowFixture fx;
};

void TestPrintHelp::printsEveryRowOnNumberedPages_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QStringList>("printed"); // empty: the rows themselves
    QStringList many;
    for (int i = 1; i <= 300; ++i)
        many.append(u"row %1 of the listing"_s.arg(i));
    QTest::newRow("300 rows at 10 pt") << many << u"10"_s << QStringList();
    QTest::newRow("300 rows at 24 pt") << many << u"24"_s << QStringList();
    QTest::newRow("a tab to column 9, a row wider than the page")
        << QStringList{u"ab\tcd"_s, u"x"_s.repeated(70) + u"y"_s.repeated(70)} << u"36"_s
        << QStringList{u"ab      cd"_s, u"x"_s.repeated(70) + u"y"_s.repeated(70)};
}

// Every row once, in order, over pages that each end with "Page k of N", N being the page
// count; full pages all hold as many lines, and a larger font fewer.
void TestPrintHelp::printsEveryRowOnNumberedPages()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, size);
    QFETCH(QStringList, printed);
    fx.setText(rows.join(u'\n'));
    print(size);
    QVERIFY(fx.dialogs.warnings.isEmpty());
    const QList<QStringList> pages = pdfPages(pdf());
    QVERIFY2(!pages.isEmpty(), "no pages read (is pdftotext of poppler-utils installed?)");
    QStringList text;
    for (qsizetype k = 0; k < pages.size(); ++k) {
        QCOMPARE(pages[k].last(), u"Page %1 of %2"_s.arg(k + 1).arg(pages.size()));
        if (k + 1 < pages.size())
            QCOMPARE(pages[k].size(), pages[0].size());
        text += pages[k].mid(0, pages[k].size() - 1);
    }
    if (printed.isEmpty()) {
        QCOMPARE(text, rows);
        QVERIFY(pages.size() > (size == u"10"_s ? 2 : 5));
    } else {
        QCOMPARE(text.join(QString()), printed.join(QString()));
        QVERIFY(text.size() > printed.size()); // the long row went on over more lines
    }
}

void TestPrintHelp::refusesWithAReason_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("printer");
    QTest::addColumn<QString>("warning");
    QTest::newRow("empty work area")
        << QString() << QString() << true << u"There is no text to print."_s;
    QTest::newRow("no printer installed")
        << u"a"_s << u"10"_s << false
        << u"No printer is installed.\rPress \"Printer...\" to print to a PDF file instead."_s;
    QTest::newRow("font size 0") << u"a"_s << u"0"_s << true
                                 << u"Print font size must be at least 1."_s;
    QTest::newRow("font larger than the page")
        << u"a"_s << u"5000"_s << true << u"The print font size is too large for the page."_s;
}

// Each refusal says why once and writes no file.
void TestPrintHelp::refusesWithAReason()
{
    QFETCH(QString, text);
    QFETCH(QString, size);
    QFETCH(bool, printer);
    QFETCH(QString, warning);
    QFile::remove(pdf());
    fx.setText(text);
    print(size, printer);
    QCOMPARE(bool(fx.dialogs.printParameters), text.isEmpty()); // no dialog for no text
    QCOMPARE(fx.dialogs.warnings, QStringList{warning});
    QVERIFY(!QFile::exists(pdf()));
}

// "Cancel" in the progress box ends a long printout: the file it would replace stays as it was.
void TestPrintHelp::cancelLeavesTheOldFile()
{
    QVERIFY(testing::writeFile(pdf(), "old"));
    QStringList rows(20000, u"a row to print"_s);
    fx.setText(rows.join(u'\n'));
    bool cancelled = false;
    QTimer::singleShot(0, fx.window, [&] {
        auto *box = fx.window->findChild<QProgressDialog *>();
        cancelled = box != nullptr;
        if (box)
            box->cancel();
    });
    print(u"10"_s);
    QVERIFY(cancelled);
    QCOMPARE(testing::readFile(pdf()), "old"_ba);
    QCOMPARE(QDir(fx.home.path()).entryList({u"out.pdf*"_s}), QStringList{u"out.pdf"_s});
    QVERIFY(fx.dialogs.warnings.isEmpty());
}

// 10 at first and what was given last after that; "Print" first raises the function buttons.
void TestPrintHelp::dialogKeepsItsFontSizeAfterResetAll()
{
    const FunctionEntry &f = fx.select(u"Insert Into Column");
    fx.setText(u"a"_s);
    QStringList seen;
    const auto cancelWith = [&](const QString &size) {
        fx.dialogs.printParameters = [&seen, size](PrintParametersDialog &d) {
            seen.append(d.fontSizeField()->text());
            d.fontSizeField()->setText(size);
            return false;
        };
        fx.window->findChild<QAction *>(u"Print"_s)->trigger();
    };
    cancelWith(u"14"_s);
    QVERIFY(fx.panel(f).isHidden());
    QVERIFY(!fx.window->functionBar()->anyPressed());
    cancelWith(u"8"_s);
    QCOMPARE(seen, (QStringList{u"10"_s, u"14"_s}));
}

// Missing or not, the page is handed to the desktop's viewer, which reports what it finds.
void TestPrintHelp::helpOpensTheProgramFoldersPage()
{
    fx.window->findChild<QAction *>(u"Help"_s)->trigger();
    QCOMPARE(fx.dialogs.urls,
             QList<QUrl>{QUrl::fromLocalFile(fx.home.filePath(u"PlintexHelp.html"_s))});
    QVERIFY(fx.dialogs.warnings.isEmpty());
}

void TestPrintHelp::wrapsWithoutSplittingACharacter()
{
    const QString clef = u"\U0001D11E"_s; // two UTF-16 units
    QCOMPARE(wrapRow(u"ab"_s + clef + u"cd"_s, 3), (QStringList{u"ab"_s, clef + u"c"_s, u"d"_s}));
    QCOMPARE(wrapRow(QString(), 3), QStringList{QString()});
    QCOMPARE(expandTabs(u"\tx\t"_s), u"        x       "_s);
}

QTEST_MAIN(TestPrintHelp)
#include "tst_printhelp.moc"
