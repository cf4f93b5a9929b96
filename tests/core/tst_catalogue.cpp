#include "ops/registry.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;

class TestCatalogue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entriesSelectTheirFunction_data();
    void entriesSelectTheirFunction();
    void slugs_data();
    void slugs();
    void everyEntryHoldsTogether();
    void bindingMismatchesAreRefused_data();
    void bindingMismatchesAreRefused();
    void caretMenuWrites_data();
    void caretMenuWrites();
};

void TestCatalogue::entriesSelectTheirFunction_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("caption");
    QTest::newRow("29 Retain/Delete Column") << 29 << 2 << u"Retain/Delete Column"_s;
    QTest::newRow("30 Retain/Delete Line Data") << 30 << 65 << u"Retain/Delete Line Data"_s;
    QTest::newRow("35 Vertical Concatenation") << 35 << 31 << u"Vertical Concatenation"_s;
}

void TestCatalogue::entriesSelectTheirFunction()
{
    QFETCH(int, entry);
    QFETCH(int, number);
    QFETCH(QString, caption);
    const FunctionEntry *f = catalogue().atEntry(entry);
    QVERIFY(f);
    QCOMPARE(f->number, number);
    QCOMPARE(catalogue().byNumber(number), f);
    QCOMPARE(catalogue().byName(caption), f);
    QCOMPARE(catalogue().dropDownCaptions().value(entry), caption);
}

void TestCatalogue::slugs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("slug");
    QTest::newRow("slash") << u"Retain/Delete Column"_s << u"retain-delete-column"_s;
    QTest::newRow("label with colon") << u"Insert this data:"_s << u"insert-this-data"_s;
    QTest::newRow("nothing at the ends") << u"+/- offset:"_s << u"offset"_s;
    QTest::newRow("digits stay") << u"Shuffle 2 rows"_s << u"shuffle-2-rows"_s;
}

void TestCatalogue::slugs()
{
    QFETCH(QString, text);
    QTEST(slugOf(text), "slug");
}

// What the window and the command line take for granted of every entry.
void TestCatalogue::everyEntryHoldsTogether()
{
    QSet<int> numbers;
    QSet<QString> slugs;
    QSet<int> histories;
    for (const FunctionEntry &f : catalogue()) {
        const char *name = qPrintable(f.name);
        QVERIFY2(!numbers.contains(f.number) && f.number > 0 && f.number != 255, name);
        numbers.insert(f.number);
        slugs.insert(f.slug());
        QVERIFY2(f.caretMenu == !f.menu.items.isEmpty(), name);
        if (!f.isBuilt()) {
            QVERIFY2(f.body.panel.isEmpty(), name);
            continue;
        }
        QVERIFY2(!f.runButtons().isEmpty() && !f.body.description.isEmpty(), name);
        // Option names come from the labels and captions: they must not collide.
        QSet<QString> options{u"from-row"_s, u"to-row"_s, u"help"_s};
        auto claim = [&](const QString &option) {
            QVERIFY2(!options.contains(option), qPrintable(f.name + u": --"_s + option));
            options.insert(option);
        };
        for (const Parameter &p : f.params()) {
            if (p.kind == ParamKind::Choice) {
                for (const ChoiceItem &c : p.choices)
                    claim(slugOf(c.caption));
            } else if (!traitsOf(p.kind).writtenByRun && !p.windowOnly) {
                claim(optionOf(p));
            }
            if (p.history > 0) {
                QVERIFY2(!histories.contains(p.history), name);
                histories.insert(p.history);
            }
            for (const QString &box : {p.unlockedBy, p.lockedBy}) {
                if (!box.isEmpty())
                    QVERIFY2(f.param(box)->kind == ParamKind::Flag, name);
            }
        }
        if (f.runButtons().size() > 1) {
            for (const RunButtonItem &b : f.runButtons())
                claim(slugOf(b.caption));
        }
        for (const CaretMenuTarget &t : f.body.menuTargets)
            QVERIFY2(f.param(t.param), qPrintable(t.param));
    }
    QCOMPARE(slugs.size(), catalogue().size());
}

void TestCatalogue::bindingMismatchesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bindTwice");
    QTest::addColumn<bool>("withRoutine");
    QTest::addColumn<QString>("why");
    QTest::newRow("a name no entry has")
        << u"Insert Into Colum"_s << false << true << u"No function is named Insert Into Colum"_s;
    QTest::newRow("bound twice") << u"Add Row"_s << true << true << u"Add Row has a body already"_s;
    QTest::newRow("a body that cannot run")
        << u"Add Row"_s << false << false << u"Add Row has no run routine"_s;
    QTest::newRow("bound once") << u"Add Row"_s << false << true << QString();
}

// bindBody ends the program on what tryBindBody refuses: a catalogue that binds a body to no
// entry, or one entry twice, never gets as far as a window.
void TestCatalogue::bindingMismatchesAreRefused()
{
    QFETCH(QString, name);
    QFETCH(bool, bindTwice);
    QFETCH(bool, withRoutine);
    QList<FunctionEntry> table = functionTable();
    FunctionBody body;
    if (withRoutine)
        body.run = [](RunInput, RunMonitor &) { return RunResult(); };
    if (bindTwice)
        QCOMPARE(tryBindBody(table, name, body), QString());
    QTEST(tryBindBody(table, name, body), "why");
}

void TestCatalogue::caretMenuWrites_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QStringList>("writes");
    // Caret at row 4, column 9.
    QTest::newRow("Add Row, Begin Row fills From alone")
        << u"Add Row"_s << int(MenuEntry::BeginRow) << QStringList{u"from=4"_s};
    QTest::newRow("Shuffle Data, Begin Row fills its lower row")
        << u"Shuffle Data"_s << int(MenuEntry::BeginRow)
        << QStringList{u"from=4"_s, u"lowerRow=4"_s};
}

void TestCatalogue::caretMenuWrites()
{
    QFETCH(QString, function);
    QFETCH(int, entry);
    QFETCH(QStringList, writes);
    QStringList got;
    for (const FieldWrite &w :
         plintex::caretMenuWrites(*catalogue().byName(function), MenuEntry(entry), 4, 9)) {
        const QString target = w.target == FieldWrite::Target::RestraintFrom ? u"from"_s
                               : w.target == FieldWrite::Target::RestraintTo ? u"to"_s
                                                                             : w.param;
        got += target + u'=' + w.value;
    }
    QCOMPARE(got, writes);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
