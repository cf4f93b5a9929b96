#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <variant>

namespace plintex {

enum class ParamKind {
    Number,        ///< digits only, empty reads 0, double click restores its default
    SignedNumber,  ///< digits after an optional leading minus; emptied, it becomes "0" at once
    Text,          ///< one-line text field
    HistoryText,   ///< editable drop-down remembering earlier values in comboN.plx
    MultiLineText, ///< memo, one search text or data line a line; double click selects all
    Choice,        ///< radio buttons, one chosen
    Flag,          ///< check box
    FileName,      ///< file-name field with a browse button
    FixedList,     ///< drop-down of fixed entries (not a history); typing allowed unless listOnly
    Result,        ///< a field the run writes into (a total); read-only on the command line
};

/// One radio button of a Choice: the key the routine reads, the caption the panel shows.
struct ChoiceItem {
    QString key = {};
    QString caption = {};
};

/// One parameter of a function's panel, as the panel, the command line and the run routine see
/// it. The key is the routine's own name for it; the label is what the panel shows before the
/// control (a check box's own caption).
struct Parameter {
    QString key = {};
    QString label = {};
    ParamKind kind = ParamKind::Text;
    QString defaultValue = {};     ///< Number: digits; Choice: a choice key; Flag: "1" or "0"
    QString doubleClickValue = {}; ///< Number fields: the value a double click restores
    int history = 0;               ///< HistoryText and Result: the n of comboN.plx
    QList<ChoiceItem> choices = {};
    QString hint = {};         ///< shown in the status bar when hints are on
    bool resetOnSelect = true; ///< the select routine puts it back to its default
    QString unlockedBy = {};   ///< the Flag whose tick enables this field (empty: always enabled)
    bool saveDialog = false;   ///< FileName: browse with a save dialog rather than an open one
    QStringList entries = {};  ///< FixedList: its entries, in list order
    bool listOnly = false;     ///< FixedList: only an entry can be chosen, keys are ignored
    bool anyText = false;      ///< FixedList: typed text of any length is taken as it stands
    QString lockedBy = {};     ///< the Flag whose tick disables this field (empty: never locked)
    /// The command-line option when it is not the label's slug (a long caption).
    QString option = {};
    /// A list file of the program folder whose lines are the default when it is there
    /// (rmdat.plx): read at start-up into the window's field, and by the command line when the
    /// option is not given.
    QString defaultFile = {};
    /// A control of the window alone, with no option on the command line: a box that only
    /// locks a field or starts the function by itself.
    bool windowOnly = false;
    /// MultiLineText: left alone by the toolbar's "Clear" of the panels' fields.
    bool keptByClear = false;
};

/// A button that runs the function. An empty caption is the small run button at a panel's left.
struct RunButtonItem {
    QString key = {};
    QString caption = {};
};

/// What a panel button that does not run the function does. "To Top" is the window's own;
/// the others are a function's, which its window code carries out.
enum class PanelAction {
    ToTop,           ///< the caret to the start of the work area
    SaveList,        ///< the panel's list field into its default file
    DeleteSelection, ///< the work area's selection deleted, the caret to the end
};

/// A button on a panel that does not run the function ("To Top", "Save List").
struct ActionItem {
    PanelAction action = PanelAction::ToTop;
    QString caption = {};
    QString hint = {};
};

/// A text between controls ("blanks." after "separated by: [n]").
struct CaptionItem {
    QString text = {};
};

/// Starts a second row of controls.
struct RowBreak {};

/// The panel's own plain progress bar, hidden until a run shows its progress there.
struct ProgressBarItem {};

/// One item of a panel, left to right, top to bottom.
using PanelItem =
    std::variant<Parameter, RunButtonItem, ActionItem, CaptionItem, RowBreak, ProgressBarItem>;

/// What a kind of parameter is, for every front end: the window's controls and the command
/// line's options read this instead of switching on the kind themselves.
struct ParamKindTraits {
    bool takesValue = {};   ///< given as --name=VALUE (otherwise a flag or one flag per choice)
    bool isText = {};       ///< its value is a text
    bool fileForm = {};     ///< free text: has a --name-file form
    bool namesFile = {};    ///< its value names a file
    bool isNumber = {};     ///< digits only (after a leading minus where signed)
    bool isSigned = {};     ///< a number that may be negative
    bool multiLine = {};    ///< a value may hold line breaks
    bool writtenByRun = {}; ///< the run writes it; never an input option
};
ParamKindTraits traitsOf(ParamKind kind);

// Small builders, so that panels read as a list.
inline PanelItem runButton(QString key = QStringLiteral("run"), QString caption = {})
{
    return RunButtonItem{std::move(key), std::move(caption)};
}
inline PanelItem caption(QString text)
{
    return CaptionItem{std::move(text)};
}
inline PanelItem action(PanelAction action, QString caption, QString hint = {})
{
    return ActionItem{action, std::move(caption), std::move(hint)};
}
inline PanelItem rowBreak()
{
    return RowBreak{};
}
inline PanelItem progressBar()
{
    return ProgressBarItem{};
}

/// Whether the select routine puts a parameter back to its default.
enum class Reset { OnSelect, Keep };

/// A numeric field whose double click restores `doubleClick`.
inline Parameter numberField(QString key, QString label, QString defaultValue, QString doubleClick,
                             Reset reset = Reset::OnSelect)
{
    return {.key = std::move(key),
            .label = std::move(label),
            .kind = ParamKind::Number,
            .defaultValue = std::move(defaultValue),
            .doubleClickValue = std::move(doubleClick),
            .hint = QStringLiteral("Double click for default"),
            .resetOnSelect = reset == Reset::OnSelect};
}

/// A multi-line field, one data line or search text a line; a double click selects it all.
inline Parameter memoField(QString key, QString label, Reset reset = Reset::OnSelect)
{
    return {.key = std::move(key),
            .label = std::move(label),
            .kind = ParamKind::MultiLineText,
            .hint = QStringLiteral("Double click to highlight"),
            .resetOnSelect = reset == Reset::OnSelect};
}

} // namespace plintex
