#pragma once

#include <QObject>

namespace plintex {

class Dialogs;
class FunctionController;
class ParameterPanel;
class Session;
class TextPane;
struct FunctionEntry;

/// What the "Read Me" panel does besides running: "Save List" into rmdat.plx, "Delete", the
/// focus going back to the work area after a box is ticked, and the automatic start when text
/// is pasted while the panel is shown.
class ReadMeSupport : public QObject {
    Q_OBJECT
public:
    ReadMeSupport(FunctionController &functions, Session &session, Dialogs &dialogs,
                  TextPane *workArea, QString programFolder, QWidget *window);

private:
    void saveList();
    void deleteSelection();
    void pasted();

    FunctionController &m_functions;
    Session &m_session;
    Dialogs &m_dialogs;
    TextPane *m_workArea;
    QString m_programFolder;
    QWidget *m_window;
    const FunctionEntry *m_readMe = nullptr;
    ParameterPanel *m_panel = nullptr;
};

} // namespace plintex
