#pragma once

#include "core/params.h"
#include "core/run.h"

#include <QList>
#include <QString>

namespace plintex {

/// The four entries of the caret-to-parameter menu.
enum class MenuEntry { BeginColumn, EndColumn, BeginRow, EndRow };
enum class CaretSource { Column, Row };

struct CaretMenuItem {
    CaretMenuItem(MenuEntry entry, QString caption = {}, bool greyed = false)
        : entry(entry), caption(std::move(caption)), greyed(greyed)
    {
    }
    MenuEntry entry;
    QString caption; ///< empty: the entry's default caption
    bool greyed;
};

/// Which menu entries a function shows, and whether the third starts a second column.
struct CaretMenuLayout {
    QList<CaretMenuItem> items;
    bool columnBreak = false;
};

/// A parameter that a menu entry fills from the caret, besides the restraint rows that the
/// row entries always fill.
struct CaretMenuTarget {
    MenuEntry entry;
    QString param;
    CaretSource source;
};

/// Everything a function brings of its own: its panel, run buttons, run routine and the
/// parameters the caret menu fills. A function not built yet has an empty body.
struct FunctionBody {
    QList<ParamSpec> params;
    QList<RunButtonSpec> runButtons;
    RunRoutine run = nullptr;
    QList<CaretMenuTarget> menuTargets;
    /// Set for functions that only rewrite each line of the band on its own, from the line and
    /// the parameters: the command line can then stream a text of any size through it.
    LineTransformFactory lineTransform = nullptr;
};

struct DropDownEntry {
    int position;
    QString caption;
};

/// One function of the catalogue.
struct FunctionSpec {
    QString name;                 ///< the UI name, also its first drop-down entry
    int number;                   ///< the panel number that selects it
    QList<DropDownEntry> entries; ///< its entries in the function drop-down
    bool restraint;               ///< the select routine shows the row restraint strip
    bool caretMenu;               ///< the select routine enables the caret-to-parameter menu
    QList<int> histories;         ///< the n of each comboN.plx it keeps
    CaretMenuLayout menu;
    FunctionBody body;

    bool isBuilt() const { return body.run != nullptr; }
    QString slug() const;
    const ParamSpec *param(const QString &key) const;
};

/// All functions, in the order of the function buttons.
const QList<FunctionSpec> &catalogue();

const FunctionSpec *functionByNumber(int number);
const FunctionSpec *functionAtEntry(int position);
/// By drop-down caption (either alias) or by slug.
const FunctionSpec *functionByName(QStringView nameOrSlug);

/// The captions of the function drop-down, in order.
QStringList dropDownCaptions();

/// Lower case; every run of characters other than a-z and 0-9 becomes one "-", none at the ends.
QString slugOf(QStringView text);

/// The caption an entry shows when the function gives none of its own.
QString defaultMenuCaption(MenuEntry entry);

/// A value the caret menu writes: into a parameter, or into the restraint's From or To.
struct CaretMenuWrite {
    enum class Target { Param, RestraintFrom, RestraintTo };
    Target target;
    QString param;
    qint64 value;
};

/// What choosing `entry` writes for `function`, with the caret at 1-based `row` and `column`.
QList<CaretMenuWrite> caretMenuWrites(const FunctionSpec &function, MenuEntry entry, qint64 row,
                                      qint64 column);

} // namespace plintex
