#pragma once

#include "core/panel.h"

namespace plintex::common {

// The routines' own names for the parameters and choices that many panels share.
inline const QString kStart = QStringLiteral("start");
inline const QString kEnd = QStringLiteral("end");
inline const QString kColumn = QStringLiteral("column");
inline const QString kData = QStringLiteral("data");
inline const QString kSearch = QStringLiteral("search");
inline const QString kMode = QStringLiteral("mode");
inline const QString kDelete = QStringLiteral("delete");
inline const QString kRetain = QStringLiteral("retain");
inline const QString kBefore = QStringLiteral("before");
inline const QString kAfter = QStringLiteral("after");

/// A column or count field that starts at 1, returns to 1 on a double click and keeps its value
/// from one selection of the function to the next.
inline Parameter columnField(QString key, QString label)
{
    return numberField(std::move(key), std::move(label), QStringLiteral("1"), QStringLiteral("1"),
                       Reset::Keep);
}

/// A check box, clear unless `ticked`.
inline Parameter tickBox(QString key, QString label, Reset reset = Reset::Keep, bool ticked = false)
{
    return {.key = std::move(key),
            .label = std::move(label),
            .kind = ParamKind::Flag,
            .defaultValue = ticked ? QStringLiteral("1") : QStringLiteral("0"),
            .resetOnSelect = reset == Reset::OnSelect};
}

/// A text field whose drop-down remembers its last values in combo`history`.plx; `unlockedBy`
/// names the tick box that enables it.
inline Parameter historyField(QString key, QString label, int history, Reset reset = Reset::Keep,
                              QString unlockedBy = {})
{
    return {.key = std::move(key),
            .label = std::move(label),
            .kind = ParamKind::HistoryText,
            .history = history,
            .resetOnSelect = reset == Reset::OnSelect,
            .unlockedBy = std::move(unlockedBy)};
}

/// Radio buttons, `chosen` (a choice's key) chosen by default.
inline Parameter choiceOf(QString key, QString label, QList<ChoiceItem> choices, QString chosen,
                          Reset reset = Reset::Keep)
{
    return {.key = std::move(key),
            .label = std::move(label),
            .kind = ParamKind::Choice,
            .defaultValue = std::move(chosen),
            .choices = std::move(choices),
            .resetOnSelect = reset == Reset::OnSelect};
}

/// The "Delete" / "Retain" radio buttons, "Delete" chosen.
inline Parameter deleteRetainChoice(Reset reset = Reset::Keep)
{
    return choiceOf(kMode, {},
                    {{kDelete, QStringLiteral("Delete")}, {kRetain, QStringLiteral("Retain")}},
                    kDelete, reset);
}

/// The "Before" / "After" radio buttons.
inline Parameter beforeAfterChoice(QString key, QString label, QString chosen,
                                   Reset reset = Reset::Keep)
{
    return choiceOf(std::move(key), std::move(label),
                    {{kBefore, QStringLiteral("Before")}, {kAfter, QStringLiteral("After")}},
                    std::move(chosen), reset);
}

} // namespace plintex::common
