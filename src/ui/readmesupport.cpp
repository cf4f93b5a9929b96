#include "ui/readmesupport.h"

#include "ops/cleanup/readme.h"
#include "ops/registry.h"
#include "settings/listfile.h"
#include "ui/dialogs.h"
#include "ui/functioncontroller.h"
#include "ui/panel/paramcontrol.h"
#include "ui/panel/parameterpanel.h"
#include "ui/textpane.h"

#include <QCheckBox>
#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace plintex {

using namespace cleanup::readme;

ReadMeSupport::ReadMeSupport(FunctionController &functions, Session &session, Dialogs &dialogs,
                             TextPane *workArea, QString programFolder, QWidget *window)
    : QObject(window), m_functions(functions), m_session(session), m_dialogs(dialogs),
      m_workArea(workArea), m_programFolder(std::move(programFolder)), m_window(window),
      m_readMe(catalogue().byName(u"read-me")), m_panel(functions.panel(m_readMe->number))
{
    m_panel->control(kList)->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(m_panel, &ParameterPanel::actionRequested, this, [this](PanelAction action) {
        if (action == PanelAction::SaveList)
            saveList();
        else if (action == PanelAction::DeleteSelection)
            deleteSelection();
    });
    for (const QString &key : {kLock, kAutoStart, kTabs, kWeb, kHtml}) {
        connect(m_panel->paramControl(key)->checkBox(), &QCheckBox::toggled, m_workArea,
                [this] { m_workArea->setFocus(); });
    }
    connect(m_workArea, &TextPane::pasted, this, &ReadMeSupport::pasted);
    // Set for the whole of every run, however it started; only a run that ends clears it.
    connect(&functions, &FunctionController::runStarting, this, [this](const FunctionEntry &f) {
        if (&f == m_readMe)
            m_session.flags.autoRealignDone = true;
    });
    connect(&functions, &FunctionController::runEnded, this,
            [this](const FunctionEntry &f, RunResult::Outcome outcome) {
                if (&f == m_readMe && outcome == RunResult::Outcome::Done)
                    m_session.flags.autoRealignDone = false;
            });
}

// The user asked for this save: a failure is told every time, and the list stays as it is.
void ReadMeSupport::saveList()
{
    const QString path = m_programFolder + u"/rmdat.plx"_s;
    QString why;
    if (!writeListFileOnRequest(path, m_panel->values().lines(kList), &why))
        m_dialogs.warning(m_window, u"The list could not be saved to "_s + path + u".\r"_s + why);
    m_workArea->setFocus();
}

void ReadMeSupport::deleteSelection()
{
    if (!m_workArea->hasSelection())
        return;
    m_workArea->deleteSelection();
    m_workArea->moveCaretToOffset(m_workArea->store().length());
    m_workArea->ensureCaretVisible();
}

// Only a paste starts it: typing, Undo or an opened document never reshape the text unasked.
void ReadMeSupport::pasted()
{
    if (m_session.flags.autoRealignDone || m_functions.selectedFunction() != m_readMe ||
        !m_panel->values().flag(kAutoStart) || m_workArea->store().length() <= kAutoStartMinimum)
        return;
    m_session.flags.autoRealignDone = true;
    m_functions.run(*m_readMe, kPasteRun);
}

} // namespace plintex
