#pragma once

#include "command/recipe.h"
#include "core/session.h"

#include <QHash>
#include <QObject>

class QComboBox;
class QPushButton;

namespace plintex {

class Dialogs;
class FunctionBar;
class HistoryComboBox;
class PanelArea;
class PaneStack;
class ParameterPanel;
class PieGauge;
class ProcessingNotice;
class RestraintStrip;
class StatusPanels;
class TextPane;

/// The window's controls that choosing and running a function uses.
struct FunctionControls {
    FunctionBar *bar = nullptr;
    QComboBox *dropDown = nullptr;
    QPushButton *stopButton = nullptr;
    ProcessingNotice *notice = nullptr;
    PieGauge *gauge = nullptr;
    RestraintStrip *strip = nullptr;
    StatusPanels *status = nullptr;
    PaneStack *panes = nullptr;
    PanelArea *panelArea = nullptr;
};

/// Chooses and runs functions: the select routine, ResetIndividual and ResetAll, the run with
/// its progress and stop, applying a run's result, the histories and the caret menu.
class FunctionController : public QObject {
    Q_OBJECT
public:
    FunctionController(Session &session, Dialogs &dialogs, const FunctionControls &controls,
                       QString systemFolder, QWidget *window);

    /// Builds one panel per function into the panel area, then puts the strip after them.
    void buildPanels();
    ParameterPanel *panel(int functionNumber) const { return m_panels.value(functionNumber); }

    /// The function whose panel is visible, or nullptr.
    const FunctionEntry *selectedFunction() const;
    bool caretMenuEnabled() const { return m_caretMenuEnabled; }
    bool isRunning() const { return m_running; }

    void select(const FunctionEntry &function);
    /// False, after saying why, while a run goes on: its result must reach the pane it started
    /// on, so the selection may not change meanwhile.
    bool maySelect();
    void chooseFromDropDown(int entry);
    void resetIndividual(int functionNumber);
    void resetAll();
    /// Hides the visible panel, and the strip, remembering it in the keep-parameters flag: a
    /// function chosen before bringBack() keeps its parameters as they are.
    void setAside();
    /// Shows the panel set aside again with its button down, its parameters as they were.
    void bringBack();
    /// Empties the multi-line fields of the visible panel that the toolbar's "Clear" empties.
    void clearPanelFields();
    void run(const FunctionEntry &function, const QString &runButton);
    /// Runs a recipe's steps in turn on the run target's lines as one run: one gauge, one stop,
    /// one undo step. A refused or stopped step leaves the text as it was. `name` names the
    /// recipe in a refusal.
    void runRecipe(const QList<command::RecipeStep> &steps, const QString &name);
    void showCaretMenu(const QPoint &globalPos);
    void stopProcess();
    /// Puts the lines of a list file of the program folder into every field that takes its
    /// default from that file.
    void setFileDefault(const QString &file, const QStringList &lines);

Q_SIGNALS:
    /// A run replaced the work area's text: the change handler should run once.
    void textRewritten();
    /// A run is about to replace the lines: each new line is the old line `origins[i]`, or one
    /// of the run's own (-1); no origins when the run does not tell. `snapshotTaken`: the
    /// toolbar's Undo now holds the old lines.
    void rowsRearranged(const QList<qsizetype> &origins, bool snapshotTaken);
    /// A run is starting or has ended.
    void runningChanged(bool running);
    /// A function's run is about to start, or has ended (its result applied) with `outcome`.
    void runStarting(const FunctionEntry &function);
    void runEnded(const FunctionEntry &function, RunResult::Outcome outcome);
    /// A run of a function has done its work: what it was asked for.
    void runCompleted(const plintex::command::Invocation &run);
    /// ResetIndividual has shown a function's panel, or none.
    void selectionReset();

private:
    bool enterOwnPane(const FunctionEntry &function);
    void apply(const FunctionEntry &function, RunResult &result, TextPane &target);
    void writeField(const FunctionEntry &function, const FieldWrite &write);
    void placeCaret(const CaretPlacement &caret, TextPane &target);
    void setTabOrder(const ParameterPanel &panel);
    void loadHistories(const ParameterPanel &panel);
    void saveHistories(const ParameterPanel &panel);
    void deleteFromHistory(HistoryComboBox &box);
    void browse(const FunctionEntry &function, const QString &key);

    Session &m_session;
    Dialogs &m_dialogs;
    FunctionControls m_c;
    QString m_systemFolder;
    QWidget *m_window;
    QHash<int, ParameterPanel *> m_panels;
    bool m_caretMenuEnabled = false;
    int m_keepParameters = 0;
    bool m_running = false;
};

} // namespace plintex
