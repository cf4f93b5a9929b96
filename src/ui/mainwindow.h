#pragma once

#include "core/session.h"
#include "settings/preferences.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QComboBox;
class QPushButton;
class QToolBar;

namespace plintex {

class Dialogs;
class DocumentActions;
class FunctionBar;
class HistoryComboBox;
class ParameterPanel;
class PieGauge;
class PreferencesDialog;
class ProcessingNotice;
class RestraintStrip;
class StatusPanels;
class TextPane;

/// The main window: the work area, the toolbars with the function buttons and the function
/// drop-down, one parameter panel per function, the row restraint strip and the status bar.
/// It reads the panels, lets the engine run, and applies what the run returns.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Dialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Reads prefs.plx and rmdat.plx and prepares the window. False, after a warning naming the
    /// missing file, when either cannot be read: the program then ends without showing more.
    bool startUp();
    /// What every activation of the window re-applies from the preferences.
    void activated();

    // Documents.
    void replaceText(const QStringList &rows);
    QStringList workAreaRows() const;
    QFont workAreaFont() const;
    void clearWorkArea();
    DocumentActions *documents() const { return m_documents; }

    // Preferences.
    void openPreferences();
    /// The preferences dialog's OK: flags, sizes and colour into prefs.plx.
    void acceptPreferences();
    const Preferences &preferences() const { return m_prefs; }
    PreferencesDialog *preferencesDialog() const { return m_prefsDialog; }
    QStringList readMeReplacements() const { return m_readMeList; }

    // The routines every function shares.
    void resetIndividual(int functionNumber);
    void resetAll();
    void goToLine(qsizetype lineIndex);
    void deleteAddedBlankLine();
    void richEdit3Change();
    void stopProcess();
    void undo();
    void toTop();
    void toBottom();

    /// The function whose panel is visible, or nullptr.
    const FunctionSpec *selectedFunction() const;
    bool hintsShown() const { return m_hintsShown; }
    void setHintsShown(bool shown) { m_hintsShown = shown; }

    // The window's parts, for the tests and the front end.
    Session &session() { return m_session; }
    TextPane *workArea() const { return m_workArea; }
    StatusPanels *statusPanels() const { return m_status; }
    FunctionBar *functionBar() const { return m_functionBar; }
    QComboBox *functionDropDown() const { return m_dropDown; }
    QPushButton *stopButton() const { return m_stopButton; }
    RestraintStrip *restraintStrip() const { return m_strip; }
    ParameterPanel *panel(int functionNumber) const { return m_panels.value(functionNumber); }
    ProcessingNotice *processingNotice() const { return m_notice; }
    PieGauge *gauge() const { return m_gauge; }
    QAction *toolbarAction(const QString &name) const;
    bool caretMenuEnabled() const { return m_caretMenuEnabled; }

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbars();
    void buildPanels();
    void selectFunction(const FunctionSpec &function);
    void dropDownChosen(int entry);
    void runFunction(const FunctionSpec &function, const QString &runButton);
    void applyRun(const FunctionSpec &function, RunResult &result);
    void writeField(const FunctionSpec &function, const FieldWrite &write);
    void trackCaret(bool mouseRelease);
    void showCaretMenu(const QPoint &globalPos);
    void loadHistories(const ParameterPanel &panel);
    void saveHistories(const ParameterPanel &panel);
    void deleteFromHistory(HistoryComboBox &box);
    void applyFontSize(int pointSize);
    void applyTabSpacing(int spacing);
    void applyBackground(int colourIndex);
    void placeOnScreen();

    Dialogs &m_dialogs;
    Session m_session;
    QString m_programFolder;
    QString m_systemFolder;
    Preferences m_prefs;
    QStringList m_readMeList;
    int m_fontSize = Preferences::kDefaultFontSize;
    int m_colourIndex = 0;
    bool m_firstActivation = true;
    bool m_placed = false;
    bool m_hintsShown = false;
    bool m_caretMenuEnabled = false;
    int m_keepParameters = 0;
    bool m_running = false;

    TextPane *m_workArea = nullptr;
    StatusPanels *m_status = nullptr;
    QToolBar *m_mainBar = nullptr;
    QComboBox *m_dropDown = nullptr;
    QPushButton *m_stopButton = nullptr;
    ProcessingNotice *m_notice = nullptr;
    PieGauge *m_gauge = nullptr;
    FunctionBar *m_functionBar = nullptr;
    RestraintStrip *m_strip = nullptr;
    QHash<int, ParameterPanel *> m_panels;
    QHash<QString, QAction *> m_actions;
    PreferencesDialog *m_prefsDialog = nullptr;
    DocumentActions *m_documents = nullptr;
};

} // namespace plintex
