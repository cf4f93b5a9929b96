#include "ui/mainwindow.h"

#include "settings/listfile.h"
#include "settings/programfolder.h"
#include "settings/settingsnotice.h"
#include "ui/dialogs.h"
#include "ui/documentactions.h"
#include "ui/functionbar.h"
#include "ui/functioncontroller.h"
#include "ui/panel/parameterpanel.h"
#include "ui/panelarea.h"
#include "ui/panestack.h"
#include "ui/preferencesdialog.h"
#include "ui/readmesupport.h"
#include "ui/restraintstrip.h"
#include "ui/statuspanels.h"
#include "ui/textpane.h"
#include "ui/viewsettings.h"
#include "ui/windows/examplespanel.h"
#include "ui/windows/findreplacewindow.h"
#include "ui/windows/printhelpbuttons.h"
#include "ui/windows/replacespecialwindow.h"
#include "ui/windows/runslist.h"
#include "ui/windows/scratchpad.h"
#include "ui/windows/viewbuttons.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// The icons are resources of this static library: they must be registered by hand.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace plintex {

MainWindow::MainWindow(Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_programFolder(programFolder())
{
    initIconResources();
    setWindowTitle(u"Plintex v7.08"_s);
    setWindowIcon(QIcon(u":/icons/toolbar/app.svg"_s));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    resize(800, 572);

    m_panes = new PaneStack(this);
    m_view = new ViewSettings(*this, *m_panes);
    TextPane *work = m_panes->workArea();
    connect(work, &TextPane::textChanged, this, &MainWindow::noteTextChange);
    // The caret record and the status bar follow the run target's caret, after a run or To Top
    // as after a key.
    for (TextPane *target : {work, m_panes->pane(PaneStack::Page::Delimiter)}) {
        target->installEventFilter(this);
        target->viewport()->installEventFilter(this);
        connect(target, &TextPane::caretMoved, this, [this] { trackCaret(false); });
    }

    m_status = new StatusPanels(this);
    setStatusBar(m_status);

    m_documents = new DocumentActions(*this, m_dialogs, m_programFolder);
    connect(work, &TextPane::fileDropped, m_documents, &DocumentActions::openDropped);
    settings::setNoticeSink([self = QPointer<MainWindow>(this)](const QString &text) {
        if (self)
            self->m_dialogs.warning(self, text);
    });
    m_prefsDialog = new PreferencesDialog(this);
    // The font follows "Font size:" while it is edited; Cancel puts the stored size back.
    connect(m_prefsDialog, &PreferencesDialog::fontSizeEdited, this, [this](const QString &text) {
        if (const std::optional<int> size = preferenceNumber(text); size && *size > 0)
            m_view->applyFontSize(*size);
    });

    buildToolbars();

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_panelArea = new PanelArea(central);
    m_strip = new RestraintStrip(m_panelArea);
    column->addWidget(m_panelArea);
    column->addWidget(m_panes, 1);
    setCentralWidget(central);

    m_functions = new FunctionController(m_session, m_dialogs,
                                         {.bar = m_functionBar,
                                          .dropDown = m_dropDown,
                                          .stopButton = m_stopButton,
                                          .notice = m_notice,
                                          .gauge = m_gauge,
                                          .strip = m_strip,
                                          .status = m_status,
                                          .panes = m_panes,
                                          .panelArea = m_panelArea},
                                         m_programFolder + u"/system"_s, this);
    m_functions->buildPanels();
    new ReadMeSupport(*m_functions, m_session, m_dialogs, work, m_programFolder, this);
    connect(m_functionBar, &FunctionBar::clicked, m_functions, &FunctionController::select);
    connect(m_dropDown, &QComboBox::activated, m_functions,
            &FunctionController::chooseFromDropDown);
    for (TextPane *target : {work, m_panes->pane(PaneStack::Page::Delimiter)})
        connect(target, &TextPane::contextMenuRequested, m_functions,
                &FunctionController::showCaretMenu);
    m_functionBar->setChangeAllowed([this] { return m_functions->maySelect(); });
    connect(m_functions, &FunctionController::textRewritten, this, &MainWindow::noteTextChange);
    connect(m_functions, &FunctionController::rowsRearranged, m_documents,
            &DocumentActions::followRows);
    connect(m_functions, &FunctionController::runningChanged, this, &MainWindow::enableActions);
    connect(m_panes, &PaneStack::pageChanged, this, &MainWindow::enableActions);
    m_scratchPad = new ScratchPad(*m_panes, *m_functionBar, *m_functions, *m_functionsBar);
    column->insertWidget(1, m_scratchPad->strip());
    m_examples = new ExamplesPanel(*m_dropDown, m_dialogs, *m_functionsBar, *this);
    connect(m_functions, &FunctionController::selectionReset, m_examples,
            [this] { m_examples->refresh(); });
    connect(m_examples, &ExamplesPanel::clearFieldsRequested, m_functions,
            &FunctionController::clearPanelFields);
    m_viewButtons = new ViewButtons(*m_panes, *m_view, *m_functionsBar);
    m_runs =
        new RunsList(*m_functions, m_dialogs, *this, *m_mainBar, m_actions[ToolbarAction::Undo],
                     {work, m_panes->pane(PaneStack::Page::Delimiter)});
    new PrintHelpButtons(*this, m_dialogs, m_programFolder, *m_mainBar);
    auto *special = new ReplaceSpecialWindow(*this, m_dialogs, *m_functionsBar);
    new FindReplaceWindow(*this, m_dialogs, *m_functionsBar, *special->openAction());

    // The pane is put into plain-text mode at creation, which is the change notification the
    // first-change flag exists to swallow.
    work->setText(QString());
    m_strip->hide();
    m_panelArea->contentChanged();
    m_status->setCaret(0, 0);
    m_status->resetCounts();
}

MainWindow::~MainWindow() = default;

TextPane *MainWindow::workArea() const
{
    return m_panes->workArea();
}

ParameterPanel *MainWindow::panel(int functionNumber) const
{
    return m_functions->panel(functionNumber);
}

const FunctionEntry *MainWindow::selectedFunction() const
{
    return m_functions->selectedFunction();
}

bool MainWindow::caretMenuEnabled() const
{
    return m_functions->caretMenuEnabled();
}

bool MainWindow::hintsShown() const
{
    return m_view->hintsShown();
}

void MainWindow::setHintsShown(bool shown)
{
    m_view->setHintsShown(shown);
}

void MainWindow::resetIndividual(int functionNumber)
{
    m_functions->resetIndividual(functionNumber);
}

void MainWindow::resetAll()
{
    m_functions->resetAll();
}

void MainWindow::noteTextChange()
{
    if (m_session.flags.noteTextChange())
        m_status->resetCounts();
}

// What replaces the text waits for a run, whose result would overwrite it; documents wait
// while the text is handed over to a pane of its own.
void MainWindow::enableActions()
{
    const bool running = m_functions->isRunning();
    const bool ownPane = m_panes->isHandedOver();
    for (ToolbarAction a : {ToolbarAction::Open, ToolbarAction::Save})
        m_actions.value(a)->setEnabled(!running && !ownPane);
    for (ToolbarAction a : {ToolbarAction::Clear, ToolbarAction::Undo})
        m_actions.value(a)->setEnabled(!running);
}

void MainWindow::undo()
{
    const std::optional<QStringList> &snapshot = m_session.undo.lines();
    if (!snapshot || !mayReplaceText())
        return;
    m_session.flags.processing = true;
    m_panes->runTarget()->setLines(*snapshot);
    if (m_panes->runTarget() == workArea())
        m_documents->snapshotRestored();
    m_panes->goToLine(0);
    m_session.flags.processing = false;
    noteTextChange();
}

void MainWindow::trackCaret(bool mouseRelease)
{
    const TextPane *target = m_panes->runTarget();
    const TextPosition p = target->store().positionOf(target->selectionStart());
    m_session.caret = {p.row, p.column};
    m_status->setCaret(p.row, p.column);
    if (mouseRelease)
        m_status->resetCountToCursor();
}

bool MainWindow::event(QEvent *event)
{
    // Hints go to the first status panel, never over the panels as a temporary message.
    if (event->type() == QEvent::StatusTip) {
        if (m_view->hintsShown())
            m_status->setHint(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    if (event->type() == QEvent::WindowActivate)
        activated();
    return QMainWindow::event(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        placeOnScreen();
    }
}

// At the top edge, horizontally centred, as tall as the desktop's work area.
void MainWindow::placeOnScreen()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const int decoration = frameGeometry().height() - geometry().height();
    resize(width(), available.bottom() + 1 - available.top() - decoration);
    move(screen->geometry().width() / 2 - frameGeometry().width() / 2, available.top());
}

bool MainWindow::startUp()
{
    // The sentence names no folder: the second line does, the third says what was wrong.
    QString why;
    const std::optional<Preferences> prefs =
        Preferences::load(m_programFolder + u"/prefs.plx"_s, &why);
    if (!prefs) {
        m_dialogs.warning(this, u"A prefs.plx file must be in the Plintex.exe folder.\r"_s +
                                    m_programFolder + u'\r' + why);
        return false;
    }
    m_prefs = *prefs;
    const std::optional<QStringList> readMe = readListFile(m_programFolder + u"/rmdat.plx"_s, &why);
    if (!readMe) {
        m_dialogs.warning(this, u"A rmdat.plx file must be in the Plintex.exe folder.\r"_s +
                                    m_programFolder + u'\r' + why);
        return false;
    }
    m_functions->setFileDefault(u"rmdat.plx"_s, *readMe);
    m_status->setCaret(0, 0);
    m_status->resetCounts();
    // "Delete" is chosen on the "Delete/Retain Column" panel by its defaults already.
    m_functions->resetIndividual(0);
    m_stopButton->hide();
    m_view->applyBackground(m_prefs.colourIndex());
    // Closing runs the dialog's OK: it must hold the preferences in force from the start, not
    // only once the window has been activated.
    showPreferencesInForce();
    return true;
}

void MainWindow::showPreferencesInForce()
{
    m_prefsDialog->showValues(m_prefs.fontSizeText(), m_prefs.tabSpacingText(),
                              m_prefs.hintsShown());
}

void MainWindow::activated()
{
    if (m_firstActivation) {
        m_firstActivation = false;
        // Showing and hiding these panels once lays them out before they are first needed.
        for (int number : {3, 17, 43, 31, 34, 27, 41}) {
            if (ParameterPanel *p = panel(number); p && p->isHidden()) {
                p->show();
                p->hide();
            }
        }
    }
    if (m_prefs.hintsShown())
        m_view->setHintsShown(true);
    // A size that is not a usable number keeps the last good one.
    m_view->applyFontSize(m_prefs.fontSize(m_view->fontSize()));
    showPreferencesInForce();
    m_view->applyTabSpacing(m_prefs.tabSpacing());
}

void MainWindow::openPreferences()
{
    showPreferencesInForce();
    if (m_dialogs.runPreferences(*m_prefsDialog))
        acceptPreferences();
    // The window is active again: a size tried out and cancelled gives way to the stored one.
    activated();
}

void MainWindow::acceptPreferences()
{
    m_prefs.setHintsShown(m_prefsDialog->hintsTicked());
    m_view->setHintsShown(m_prefs.hintsShown());
    if (!m_view->hintsShown())
        m_status->setHint(QString());
    m_prefs.setColourIndex(m_view->colourIndex());
    m_prefs.setFontSizeText(m_prefsDialog->fontSizeText());
    m_prefs.setTabSpacingText(m_prefsDialog->tabSpacingText());
    m_view->applyTabSpacing(m_prefs.tabSpacing());
    m_prefs.save(m_programFolder + u"/prefs.plx"_s);
    m_prefsDialog->hide();
}

QStringList MainWindow::rows() const
{
    return workArea()->store().rows();
}

void MainWindow::replaceText(const QStringList &rows)
{
    TextPane *work = workArea();
    work->store().setRows(rows);
    work->storeEdited();
    work->moveCaretToOffset(0);
}

QFont MainWindow::textFont() const
{
    return workArea()->font();
}

void MainWindow::clearText()
{
    TextPane *target = m_panes->runTarget();
    if (target->store().lineCount() > 0)
        m_session.undo.take(target->lines());
    target->setText(QString());
}

bool MainWindow::mayReplaceText()
{
    if (!m_functions->isRunning())
        return true;
    m_dialogs.warning(this, u"Processing... Stop it or wait until it ends."_s);
    return false;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    TextPane *target = m_panes->runTarget();
    if (watched == target) {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            trackCaret(false); // on a press, where the caret was before the key acts
    } else if (watched == target->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // The press and any drag have placed the caret by now.
        trackCaret(true);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing in the middle of a run would pull the window from under it: stop the run instead.
    if (m_functions->isRunning()) {
        m_session.stop.request();
        event->ignore();
        return;
    }
    acceptPreferences();
    if (m_session.flags.modified) {
        const QPoint desktop = warningPointerPosition();
        const QPoint pointer(desktop.x() - 35, desktop.y());
        switch (m_dialogs.question(this, u"Plintex text has changed.  Save?"_s, true, pointer)) {
        case Dialogs::Answer::Cancel:
            event->ignore();
            return;
        case Dialogs::Answer::Yes:
            // Only a text that was written may be left behind.
            if (!m_documents->save()) {
                event->ignore();
                return;
            }
            break;
        case Dialogs::Answer::No:
            break;
        }
    }
    QMainWindow::closeEvent(event);
}

} // namespace plintex
