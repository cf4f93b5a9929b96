#include "core/catalogue.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace plintex;

class TestCatalogue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void holdsEveryFunctionOnce();
    void dropDownEntriesInOrder();
    void entriesSelectTheirFunction_data();
    void entriesSelectTheirFunction();
    void slugs_data();
    void slugs();
    void builtFunctionsMatchTheirTableRow();
    void caretMenuLayouts_data();
    void caretMenuLayouts();
    void caretMenuWrites_data();
    void caretMenuWrites();
};

void TestCatalogue::holdsEveryFunctionOnce()
{
    QCOMPARE(catalogue().size(), 34);
    QSet<int> numbers;
    QSet<QString> slugs;
    for (const FunctionSpec &f : catalogue()) {
        QVERIFY2(!numbers.contains(f.number), qPrintable(f.name));
        QVERIFY(f.number > 0 && f.number != 255);
        numbers.insert(f.number);
        slugs.insert(f.slug());
        QCOMPARE(f.entries.front().caption, f.name);
        QVERIFY2(!f.caretMenu || !f.menu.items.isEmpty(), qPrintable(f.name));
        QVERIFY2(f.caretMenu || f.menu.items.isEmpty(), qPrintable(f.name));
    }
    QCOMPARE(slugs.size(), 34);
}

void TestCatalogue::dropDownEntriesInOrder()
{
    const QStringList expected = {u"Add Row"_s,
                                  u"Align Data into Columns"_s,
                                  u"Append Data"_s,
                                  u"Break Up File"_s,
                                  u"Copy/Move a Column"_s,
                                  u"Delete Leading/Trailing Blanks"_s,
                                  u"Delete Lines Per Data"_s,
                                  u"Delete Row"_s,
                                  u"Delete/Retain Column"_s,
                                  u"Delete/Retain Line Data"_s,
                                  u"Delete/Strip Out Data"_s,
                                  u"Horizontal Concatenation"_s,
                                  u"Html Realign"_s,
                                  u"Insert a Column"_s,
                                  u"Insert CR"_s,
                                  u"Insert Data Per Data"_s,
                                  u"Insert Incrementing Letters"_s,
                                  u"Insert Incrementing Numbers"_s,
                                  u"Insert Into Column"_s,
                                  u"Insert Lines Per Data"_s,
                                  u"Insert Spread Sheet Delimiter"_s,
                                  u"Mark Duplicate Lines"_s,
                                  u"Read Me"_s,
                                  u"Remove Blank Lines"_s,
                                  u"Replace Byte in File"_s,
                                  u"Replace Data with Data List"_s,
                                  u"Replace in Column"_s,
                                  u"Replace Line per Data"_s,
                                  u"Replicate Data"_s,
                                  u"Retain/Delete Column"_s,
                                  u"Retain/Delete Line Data"_s,
                                  u"Shuffle Data"_s,
                                  u"Sort Ascending/Descending"_s,
                                  u"Special Routines"_s,
                                  u"Total a Specified Column"_s,
                                  u"Vertical Concatenation"_s};
    QCOMPARE(dropDownCaptions(), expected);
}

void TestCatalogue::entriesSelectTheirFunction_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("number");
    QTest::newRow("0 Add Row") << 0 << 11;
    QTest::newRow("8 Delete/Retain Column") << 8 << 2;
    QTest::newRow("29 Retain/Delete Column is the same function") << 29 << 2;
    QTest::newRow("9 Delete/Retain Line Data") << 9 << 65;
    QTest::newRow("30 Retain/Delete Line Data is the same function") << 30 << 65;
    QTest::newRow("18 Insert Into Column") << 18 << 10;
    QTest::newRow("22 Read Me") << 22 << 56;
    QTest::newRow("27 Replace Line per Data") << 27 << 95;
    QTest::newRow("31 Shuffle Data") << 31 << 100;
    QTest::newRow("35 Vertical Concatenation") << 35 << 31;
}

void TestCatalogue::entriesSelectTheirFunction()
{
    QFETCH(int, entry);
    QFETCH(int, number);
    const FunctionSpec *f = functionAtEntry(entry);
    QVERIFY(f);
    QCOMPARE(f->number, number);
    QCOMPARE(functionByNumber(number), f);
}

void TestCatalogue::slugs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("slug");
    QTest::newRow("function") << u"Insert Into Column"_s << u"insert-into-column"_s;
    QTest::newRow("slash") << u"Retain/Delete Column"_s << u"retain-delete-column"_s;
    QTest::newRow("label with colon") << u"Insert this data:"_s << u"insert-this-data"_s;
    QTest::newRow("nothing at the ends") << u"+/- offset:"_s << u"offset"_s;
    QTest::newRow("digits stay") << u"Shuffle 2 rows"_s << u"shuffle-2-rows"_s;
}

void TestCatalogue::slugs()
{
    QFETCH(QString, text);
    QFETCH(QString, slug);
    QCOMPARE(slugOf(text), slug);
}

void TestCatalogue::builtFunctionsMatchTheirTableRow()
{
    QStringList built;
    for (const FunctionSpec &f : catalogue()) {
        if (!f.isBuilt()) {
            // Not built yet: nothing but its button, entry and an empty panel.
            QVERIFY2(f.body.params.isEmpty() && f.body.runButtons.isEmpty(), qPrintable(f.name));
            continue;
        }
        built += f.name;
        QVERIFY2(!f.body.runButtons.isEmpty(), qPrintable(f.name));
        QList<int> histories;
        for (const ParamSpec &p : f.body.params) {
            if (p.kind == ParamKind::HistoryText)
                histories += p.history;
            if (p.kind == ParamKind::Number)
                QVERIFY2(!p.defaultValue.isEmpty(), qPrintable(p.label));
        }
        QCOMPARE(histories, f.histories);
        for (const CaretMenuTarget &t : f.body.menuTargets)
            QVERIFY2(f.param(t.param), qPrintable(t.param));
    }
    QVERIFY(built.contains(u"Insert Into Column"_s));
    QVERIFY(built.contains(u"Delete/Retain Column"_s));
}

void TestCatalogue::caretMenuLayouts_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<bool>("columnBreak");
    QTest::newRow("Insert Into Column")
        << u"Insert Into Column"_s
        << QStringList{u"Begin Column"_s, u"End    Column (greyed)"_s, u"Begin Row"_s,
                       u"End    Row"_s}
        << true;
    QTest::newRow("Copy/Move") << u"Copy/Move a Column"_s
                               << QStringList{u"Begin Column"_s, u"End    Column"_s, u"To Column"_s}
                               << false;
    QTest::newRow("Sort") << u"Sort Ascending/Descending"_s << QStringList{u"Begin Column"_s}
                          << false;
    QTest::newRow("Delete Row") << u"Delete Row"_s << QStringList{u"Begin Row"_s, u"End    Row"_s}
                                << false;
    QTest::newRow("Vertical") << u"Vertical Concatenation"_s << QStringList{u"Lower Row"_s}
                              << false;
    QTest::newRow("Spread sheet") << u"Insert Spread Sheet Delimiter"_s
                                  << QStringList{u"Column Position"_s} << false;
    QTest::newRow("Numbers") << u"Insert Incrementing Numbers"_s
                             << QStringList{u"Begin Column"_s, u"Begin Row"_s, u"End    Row"_s}
                             << true;
}

void TestCatalogue::caretMenuLayouts()
{
    QFETCH(QString, function);
    QFETCH(QStringList, captions);
    QFETCH(bool, columnBreak);
    const FunctionSpec *f = functionByName(function);
    QVERIFY(f);
    QStringList shown;
    for (const CaretMenuItem &item : f->menu.items) {
        QString caption = item.caption.isEmpty() ? defaultMenuCaption(item.entry) : item.caption;
        shown += item.greyed ? caption + u" (greyed)"_s : caption;
    }
    QCOMPARE(shown, captions);
    QCOMPARE(f->menu.columnBreak, columnBreak);
}

void TestCatalogue::caretMenuWrites_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QStringList>("writes");
    // Caret at row 4, column 9.
    QTest::newRow("Insert Into Column, Begin Column")
        << u"Insert Into Column"_s << int(MenuEntry::BeginColumn) << QStringList{u"column=9"_s};
    QTest::newRow("Insert Into Column, Begin Row")
        << u"Insert Into Column"_s << int(MenuEntry::BeginRow) << QStringList{u"from=4"_s};
    QTest::newRow("Insert Into Column, End Row")
        << u"Insert Into Column"_s << int(MenuEntry::EndRow) << QStringList{u"to=4"_s};
    QTest::newRow("Delete/Retain Column, End Column")
        << u"Delete/Retain Column"_s << int(MenuEntry::EndColumn) << QStringList{u"end=9"_s};
    QTest::newRow("Delete/Retain Column, Begin Column")
        << u"Delete/Retain Column"_s << int(MenuEntry::BeginColumn) << QStringList{u"start=9"_s};
    QTest::newRow("a function not built yet still fills From")
        << u"Shuffle Data"_s << int(MenuEntry::BeginRow) << QStringList{u"from=4"_s};
}

void TestCatalogue::caretMenuWrites()
{
    QFETCH(QString, function);
    QFETCH(int, entry);
    QFETCH(QStringList, writes);
    QStringList got;
    for (const CaretMenuWrite &w :
         plintex::caretMenuWrites(*functionByName(function), MenuEntry(entry), 4, 9)) {
        const QString target = w.target == CaretMenuWrite::Target::RestraintFrom ? u"from"_s
                               : w.target == CaretMenuWrite::Target::RestraintTo ? u"to"_s
                                                                                 : w.param;
        got += target + u'=' + QString::number(w.value);
    }
    QCOMPARE(got, writes);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
