#pragma once

#include "command/stepoptions.h"

#include <QObject>

class QAction;
class QDockWidget;
class QListWidget;
class QMainWindow;
class QPushButton;
class QToolBar;

namespace plintex {

class Dialogs;
class FunctionController;
class TextPane;

/// The session's runs as commands: "Copy as Command" (beside Undo and in the editing menu)
/// puts the last completed run on the clipboard as a plintex-cli command line; the "Runs"
/// panel (hidden until opened from the toolbar or the editing menu) lists every completed run,
/// saves the ones selected as a recipe file, and runs a recipe file on the text.
class RunsList : public QObject {
    Q_OBJECT
public:
    RunsList(FunctionController &functions, Dialogs &dialogs, QMainWindow &window,
             QToolBar &toolbar, QAction *after, const QList<TextPane *> &panes);

    QAction *copyAction() const { return m_copy; }
    QAction *panelAction() const;
    QAction *runRecipeAction() const { return m_runRecipe; }
    QDockWidget *panel() const { return m_panel; }
    QListWidget *list() const { return m_list; }

    /// The last completed run to the clipboard, as a command line.
    void copyAsCommand();
    /// The runs selected in the list, in their order, into a recipe file the user names.
    void saveAsRecipe();
    /// A recipe file the user chooses, run on the text as one undoable step.
    void runRecipe();

private:
    void add(const command::Invocation &run);

    FunctionController &m_functions;
    Dialogs &m_dialogs;
    QMainWindow &m_window;
    QList<command::Invocation> m_runs;
    QAction *m_copy = nullptr;
    QAction *m_runRecipe = nullptr;
    QDockWidget *m_panel = nullptr;
    QListWidget *m_list = nullptr;
    QPushButton *m_save = nullptr;
};

} // namespace plintex
