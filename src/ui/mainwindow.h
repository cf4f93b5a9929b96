#pragma once

#include "core/session.h"
#include "settings/preferences.h"
#include "ui/documenthost.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QComboBox;
class QPushButton;
class QToolBar;

namespace plintex {

class Dialogs;
class DocumentActions;
class ExamplesPanel;
class ScratchPad;
class ViewButtons;
class FunctionBar;
class FunctionController;
class PanelArea;
class PaneStack;
class ParameterPanel;
class PieGauge;
class PreferencesDialog;
class RunsList;
class ProcessingNotice;
class RestraintStrip;
class StatusPanels;
class TextPane;
class ViewSettings;

/// The toolbar's buttons.
enum class ToolbarAction { Open, Save, Clear, Undo, ToTop, ToBottom, Stop, Preferences, Quit };

/// The main window: the panes, the toolbars with the function buttons and the function
/// drop-down, the parameter panels, the row restraint strip and the status bar. Choosing and
/// running functions is the FunctionController's; documents are DocumentActions'.
class MainWindow : public QMainWindow, public DocumentHost {
    Q_OBJECT
public:
    explicit MainWindow(Dialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Reads prefs.plx and rmdat.plx and prepares the window. False, after a warning naming the
    /// missing file, when either cannot be read: the program then ends without showing more.
    bool startUp();
    /// What every activation of the window re-applies from the preferences.
    void activated();

    // DocumentHost: what documents need of the window.
    QWidget *dialogParent() override { return this; }
    QStringList rows() const override;
    void replaceText(const QStringList &rows) override;
    void clearText() override;
    QFont textFont() const override;
    bool isModified() const override { return m_session.flags.modified; }
    void setModified(bool modified) override { m_session.flags.modified = modified; }
    void resetAll() override;
    bool mayReplaceText() override;
    DocumentActions *documents() const { return m_documents; }
    ScratchPad *scratchPad() const { return m_scratchPad; }
    ExamplesPanel *examples() const { return m_examples; }
    ViewButtons *viewButtons() const { return m_viewButtons; }
    RunsList *runs() const { return m_runs; }

    // Preferences.
    void openPreferences();
    /// The preferences dialog's OK: flags, sizes and colour into prefs.plx.
    void acceptPreferences();
    const Preferences &preferences() const { return m_prefs; }
    PreferencesDialog *preferencesDialog() const { return m_prefsDialog; }
    bool hintsShown() const;
    void setHintsShown(bool shown);

    // The routines every function shares.
    void resetIndividual(int functionNumber);
    /// The change handler: the first change after start-up is swallowed, later ones outside a
    /// run mark the text modified and put the counts back to "?".
    void noteTextChange();
    void undo();

    /// The function whose panel is visible, or nullptr.
    const FunctionEntry *selectedFunction() const;
    bool caretMenuEnabled() const;

    // The window's parts, for the tests and the front end.
    Session &session() { return m_session; }
    FunctionController *functions() const { return m_functions; }
    PaneStack *panes() const { return m_panes; }
    TextPane *workArea() const;
    StatusPanels *statusPanels() const { return m_status; }
    FunctionBar *functionBar() const { return m_functionBar; }
    QComboBox *functionDropDown() const { return m_dropDown; }
    QPushButton *stopButton() const { return m_stopButton; }
    RestraintStrip *restraintStrip() const { return m_strip; }
    ParameterPanel *panel(int functionNumber) const;
    ProcessingNotice *processingNotice() const { return m_notice; }
    PieGauge *gauge() const { return m_gauge; }
    QAction *toolbarAction(ToolbarAction action) const { return m_actions.value(action); }

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbars();
    void enableActions();
    void trackCaret(bool mouseRelease);
    void placeOnScreen();
    void showPreferencesInForce();

    Dialogs &m_dialogs;
    Session m_session;
    QString m_programFolder;
    Preferences m_prefs;
    bool m_firstActivation = true;
    bool m_placed = false;

    PaneStack *m_panes = nullptr;
    ViewSettings *m_view = nullptr;
    StatusPanels *m_status = nullptr;
    QToolBar *m_mainBar = nullptr;
    QComboBox *m_dropDown = nullptr;
    QPushButton *m_stopButton = nullptr;
    ProcessingNotice *m_notice = nullptr;
    PieGauge *m_gauge = nullptr;
    FunctionBar *m_functionBar = nullptr;
    RestraintStrip *m_strip = nullptr;
    PanelArea *m_panelArea = nullptr;
    FunctionController *m_functions = nullptr;
    QHash<ToolbarAction, QAction *> m_actions;
    PreferencesDialog *m_prefsDialog = nullptr;
    DocumentActions *m_documents = nullptr;
    QToolBar *m_functionsBar = nullptr;
    ScratchPad *m_scratchPad = nullptr;
    ExamplesPanel *m_examples = nullptr;
    ViewButtons *m_viewButtons = nullptr;
    RunsList *m_runs = nullptr;
};

} // namespace plintex
