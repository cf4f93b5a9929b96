#pragma once

#include <QObject>

#include <memory>

class QAction;
class QPrinter;
class QToolBar;

namespace plintex {

class Dialogs;
class MainWindow;
class PrintParametersDialog;

/// The toolbar buttons "Print" and "Help". "Print" prints the work area's text through the
/// "Print Parameters" dialog, with progress and "Cancel" for a long text; "Help" opens
/// PlintexHelp.html of the program folder in the desktop's viewer.
class PrintHelpButtons : public QObject {
    Q_OBJECT
public:
    /// Puts the two buttons into the toolbar before "Preferences".
    PrintHelpButtons(MainWindow &window, Dialogs &dialogs, QString programFolder,
                     QToolBar &toolbar);
    ~PrintHelpButtons() override;

    QAction *printAction() const { return m_print; }
    QAction *helpAction() const { return m_help; }
    /// Made once, at the first "Print", so that its font size keeps its last value.
    PrintParametersDialog &printDialog();

    /// ResetAll, then the dialog; OK prints the work area's text.
    void print();
    void help();

private:
    QPrinter &printer();
    void choosePrinter();
    void printRows(const QStringList &rows, int pointSize);
    void cannotWrite(const QString &path, const QString &why);
    void enable();

    MainWindow &m_window;
    Dialogs &m_dialogs;
    QString m_programFolder;
    QAction *m_print;
    QAction *m_help;
    PrintParametersDialog *m_dialog = nullptr;
    std::unique_ptr<QPrinter> m_printer; ///< the printer chosen last; made when first needed
};

} // namespace plintex
