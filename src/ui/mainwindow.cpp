#include "ui/mainwindow.h"

#include "settings/historylist.h"
#include "settings/listfile.h"
#include "settings/programfolder.h"
#include "settings/settingsnotice.h"
#include "ui/caretmenu.h"
#include "ui/controls/historycombobox.h"
#include "ui/controls/piegauge.h"
#include "ui/dialogs.h"
#include "ui/documentactions.h"
#include "ui/functionbar.h"
#include "ui/parameterpanel.h"
#include "ui/preferencesdialog.h"
#include "ui/restraintstrip.h"
#include "ui/runprogress.h"
#include "ui/statuspanels.h"
#include "ui/textpane.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// The icons are resources of this static library: they must be registered by hand.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace plintex {
namespace {

constexpr int kNoFunction = 0;

/// Tooltips are hints too: they show only while "Show Hints" is on.
class TooltipGate : public QObject {
public:
    TooltipGate(const bool &hintsShown, QObject *parent) : QObject(parent), m_shown(hintsShown) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::ToolTip && !m_shown;
    }

private:
    const bool &m_shown;
};

} // namespace

MainWindow::MainWindow(Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_programFolder(programFolder()),
      m_systemFolder(m_programFolder + u"/system"_s)
{
    initIconResources();
    setWindowTitle(u"Plintex v7.08"_s);
    setWindowIcon(QIcon(u":/icons/toolbar/app.svg"_s));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    resize(800, 572);

    m_workArea = new TextPane(this);
    m_workArea->setObjectName(u"RichEdit3"_s);
    m_workArea->setAccessibleName(u"Work area"_s);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(m_fontSize);
    m_workArea->setFont(fixed);
    m_workArea->installEventFilter(this);
    m_workArea->viewport()->installEventFilter(this);
    connect(m_workArea, &TextPane::textChanged, this, &MainWindow::richEdit3Change);
    connect(m_workArea, &TextPane::contextMenuRequested, this, &MainWindow::showCaretMenu);

    m_status = new StatusPanels(this);
    setStatusBar(m_status);
    qApp->installEventFilter(new TooltipGate(m_hintsShown, this));

    m_documents = new DocumentActions(*this, m_dialogs, m_programFolder);
    settings::setNoticeSink([self = QPointer<MainWindow>(this)](const QString &text) {
        if (self)
            self->m_dialogs.warning(self, text);
    });
    m_prefsDialog = new PreferencesDialog(this);
    // The font follows "Font size:" while it is edited; Cancel puts the stored size back.
    connect(m_prefsDialog, &PreferencesDialog::fontSizeEdited, this, [this](const QString &text) {
        if (const std::optional<int> size = preferenceNumber(text); size && *size > 0)
            applyFontSize(*size);
    });

    buildToolbars();

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto *panelRow = new QHBoxLayout;
    panelRow->setSpacing(0);
    auto *panels = new QVBoxLayout;
    panels->setSpacing(0);
    panelRow->addLayout(panels, 1);
    m_strip = new RestraintStrip(central);
    panelRow->addWidget(m_strip, 0, Qt::AlignTop);
    column->addLayout(panelRow);
    column->addWidget(m_workArea, 1);
    setCentralWidget(central);
    buildPanels();
    for (ParameterPanel *p : std::as_const(m_panels))
        panels->addWidget(p);

    // The pane is put into plain-text mode at creation, which is the change notification the
    // first-change flag exists to swallow.
    m_workArea->setText(QString());
    m_strip->hide();
    for (ParameterPanel *p : std::as_const(m_panels))
        p->hide();
    m_status->setCaret(0, 0);
    m_status->resetCounts();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildToolbars()
{
    m_mainBar = addToolBar(u"Main"_s);
    m_mainBar->setObjectName(u"MainToolbar"_s);
    m_mainBar->setMovable(false);
    m_mainBar->setIconSize({20, 20});

    struct ToolbarAction {
        QString name;
        QString icon;
        void (MainWindow::*slot)();
    };
    const ToolbarAction actions[] = {
        {u"Open File (right click for recent)"_s, u"open"_s, nullptr},
        {u"Save File"_s, u"save"_s, nullptr},
        {u"Clear"_s, u"clear"_s, nullptr},
        {u"Undo"_s, u"undo"_s, &MainWindow::undo},
        {u"To Top"_s, u"to-top"_s, &MainWindow::toTop},
        {u"To Bottom"_s, u"to-bottom"_s, &MainWindow::toBottom},
        {u"Stop Processing"_s, u"stop-processing"_s, nullptr},
        {u"Preferences"_s, u"preferences"_s, &MainWindow::openPreferences},
        {u"Quit"_s, u"quit"_s, nullptr},
    };
    for (const ToolbarAction &a : actions) {
        QAction *action =
            m_mainBar->addAction(QIcon(u":/icons/toolbar/"_s + a.icon + u".svg"_s), a.name);
        action->setStatusTip(a.name);
        action->setObjectName(a.name);
        if (a.slot)
            connect(action, &QAction::triggered, this, a.slot);
        m_actions.insert(a.name, action);
    }
    connect(m_actions[u"Quit"_s], &QAction::triggered, this, &QWidget::close);
    connect(m_actions[u"Open File (right click for recent)"_s], &QAction::triggered, m_documents,
            &DocumentActions::open);
    connect(m_actions[u"Save File"_s], &QAction::triggered, m_documents, &DocumentActions::save);
    connect(m_actions[u"Clear"_s], &QAction::triggered, m_documents, &DocumentActions::clear);
    // A right press on the open button shows the recent documents.
    m_mainBar->widgetForAction(m_actions[u"Open File (right click for recent)"_s])
        ->installEventFilter(this);
    connect(m_actions[u"Stop Processing"_s], &QAction::triggered, this,
            [this] { m_session.stop.request(); });
    m_mainBar->addSeparator();

    // The drop-down, "STOP", the notice and the gauge share one holder, so that each can be
    // shown and hidden on its own (a toolbar keeps its direct widgets' visibility to itself).
    auto *holder = new QWidget(m_mainBar);
    auto *row = new QHBoxLayout(holder);
    row->setContentsMargins(4, 0, 4, 0);

    m_dropDown = new QComboBox(holder);
    m_dropDown->setObjectName(u"FunctionDropDown"_s);
    m_dropDown->setAccessibleName(u"Function"_s);
    m_dropDown->setStatusTip(u"Choose a function"_s);
    m_dropDown->setEditable(true);
    m_dropDown->setInsertPolicy(QComboBox::NoInsert);
    m_dropDown->setCompleter(nullptr);
    m_dropDown->addItems(dropDownCaptions());
    m_dropDown->setMaxVisibleItems(36);
    m_dropDown->setMinimumContentsLength(28);
    m_dropDown->setCurrentIndex(-1);
    m_dropDown->setEditText(QString());
    connect(m_dropDown, &QComboBox::activated, this, &MainWindow::dropDownChosen);
    row->addWidget(m_dropDown);

    m_stopButton = new QPushButton(u"STOP"_s, holder);
    m_stopButton->setObjectName(u"StopButton"_s);
    m_stopButton->setAccessibleName(u"STOP"_s);
    m_stopButton->setStatusTip(u"Stop Processing"_s);
    m_stopButton->setStyleSheet(u"QPushButton { background: #d32f2f; color: white;"
                                u" font-weight: bold; padding: 2px 8px; }"_s);
    connect(m_stopButton, &QPushButton::clicked, this, [this] { m_session.stop.request(); });
    row->addWidget(m_stopButton);
    m_stopButton->hide();

    m_notice = new ProcessingNotice(holder);
    row->addWidget(m_notice);
    m_gauge = new PieGauge(holder);
    m_gauge->setObjectName(u"Gauge"_s);
    m_gauge->setAccessibleName(u"Progress"_s);
    row->addWidget(m_gauge);
    m_gauge->hide();
    row->addStretch(1);
    m_mainBar->addWidget(holder);

    addToolBarBreak();
    auto *functions = addToolBar(u"Functions"_s);
    functions->setObjectName(u"FunctionToolbar"_s);
    functions->setMovable(false);
    m_functionBar = new FunctionBar(*m_dropDown, functions);
    m_functionBar->setHoverAllowed([this] { return m_hintsShown && !m_functionBar->anyPressed(); });
    connect(m_functionBar, &FunctionBar::clicked, this, &MainWindow::selectFunction);
    functions->addWidget(m_functionBar);
}

void MainWindow::buildPanels()
{
    for (const FunctionSpec &f : catalogue()) {
        auto *panel = new ParameterPanel(f, centralWidget());
        connect(panel, &ParameterPanel::runRequested, this,
                [this, &f](const QString &button) { runFunction(f, button); });
        for (HistoryComboBox *box : panel->historyBoxes()) {
            connect(box, &HistoryComboBox::deleteFromListRequested, this,
                    [this, box] { deleteFromHistory(*box); });
        }
        m_panels.insert(f.number, panel);
    }
}

QAction *MainWindow::toolbarAction(const QString &name) const
{
    return m_actions.value(name);
}

const FunctionSpec *MainWindow::selectedFunction() const
{
    for (ParameterPanel *p : m_panels) {
        if (!p->isHidden())
            return &p->function();
    }
    return nullptr;
}

// The select routine every function button and the drop-down share.
void MainWindow::selectFunction(const FunctionSpec &function)
{
    const bool pressed = m_functionBar->button(function.number)->isChecked();
    if (!pressed) {
        resetIndividual(kNoFunction);
        m_keepParameters = 0;
    } else {
        resetIndividual(function.number);
        if (function.restraint)
            m_strip->show();
        m_caretMenuEnabled = function.caretMenu;
    }
    ParameterPanel *panel = m_panels.value(function.number);
    if (!m_keepParameters) {
        panel->resetToDefaults();
        if (function.restraint)
            m_strip->clearRows();
    }
    m_keepParameters = 0;
    loadHistories(*panel);
}

void MainWindow::dropDownChosen(int entry)
{
    const FunctionSpec *function = functionAtEntry(entry);
    if (!function)
        return;
    m_functionBar->press(function->number);
    selectFunction(*function);
    m_functionBar->button(function->number)->setFocus();
}

void MainWindow::resetIndividual(int functionNumber)
{
    m_workArea->show();
    m_caretMenuEnabled = false;
    m_strip->hide();
    m_status->resetCounts();
    m_dropDown->setEditText(QString());
    m_stopButton->setVisible(functionNumber != kNoFunction);
    for (ParameterPanel *p : std::as_const(m_panels)) {
        const bool shown = p->function().number == functionNumber;
        p->setVisible(shown);
        if (shown) {
            const QSignalBlocker blocker(m_dropDown);
            m_dropDown->setCurrentIndex(p->function().entries.front().position);
        }
    }
    m_workArea->setFocus();
}

void MainWindow::resetAll()
{
    // "Read Me" keeps its panel: it is meant to stay ready for the next paste.
    const FunctionSpec *readMe = functionByName(u"read-me");
    m_functionBar->raiseAll(readMe ? readMe->number : -1);
    for (ParameterPanel *p : std::as_const(m_panels)) {
        if (&p->function() != readMe)
            p->hide();
    }
    m_keepParameters = 0;
    m_strip->hide();
    m_workArea->show();
    m_dropDown->setEditText(QString());
}

void MainWindow::goToLine(qsizetype lineIndex)
{
    m_workArea->moveCaretToOffset(m_workArea->store().offsetOfRow(lineIndex));
}

void MainWindow::deleteAddedBlankLine()
{
    // This pane never adds a spurious line after a refill, so only the caret moves to the end.
    toBottom();
}

void MainWindow::richEdit3Change()
{
    if (m_session.flags.noteTextChange())
        m_status->resetCounts();
}

void MainWindow::stopProcess()
{
    m_session.stop.clear();
    m_dialogs.warning(this, u"Processing stopped!"_s);
    m_gauge->hide();
    m_notice->hide();
}

void MainWindow::undo()
{
    const std::optional<QStringList> &snapshot = m_session.undo.lines();
    if (!snapshot)
        return;
    m_session.flags.processing = true;
    m_workArea->setLines(*snapshot);
    goToLine(0);
    m_session.flags.processing = false;
    richEdit3Change();
}

void MainWindow::toTop()
{
    m_workArea->moveCaretToOffset(0);
    m_workArea->setFocus();
}

void MainWindow::toBottom()
{
    m_workArea->moveCaretToOffset(m_workArea->store().length());
    m_workArea->setFocus();
}

void MainWindow::runFunction(const FunctionSpec &function, const QString &runButton)
{
    // The run lets events through; a second press of a run button meanwhile is ignored.
    if (m_running || !function.isBuilt())
        return;
    m_running = true;
    ParameterPanel *panel = m_panels.value(function.number);
    RunInput input;
    input.params = panel->values();
    input.restraint = m_strip->restraint();
    input.caret = {m_session.caret.row, m_session.caret.column};
    input.runButton = runButton;

    WindowRunMonitor monitor(*m_notice, *m_gauge, m_session.stop);
    // Edits typed while the run goes on would be overwritten by its result.
    m_workArea->setReadOnly(true);
    RunResult result = m_session.run(function, m_workArea->lines(), std::move(input), monitor);
    m_workArea->setReadOnly(false);
    applyRun(function, result);
    m_running = false;
}

void MainWindow::applyRun(const FunctionSpec &function, RunResult &result)
{
    if (function.restraint)
        m_strip->showBand(result.restraint);
    switch (result.outcome) {
    case RunResult::Outcome::Refused:
        m_notice->hide();
        m_gauge->hide();
        m_dialogs.warning(this, result.message);
        return;
    case RunResult::Outcome::Stopped:
        stopProcess();
        return;
    case RunResult::Outcome::Done:
        break;
    }
    m_workArea->setLines(std::move(result.lines));
    goToLine(result.caretLine);
    m_gauge->hide();
    richEdit3Change();
    saveHistories(*m_panels.value(function.number));
    m_notice->hide();
    for (const QString &notice : std::as_const(result.notices))
        m_dialogs.warning(this, notice);
}

void MainWindow::loadHistories(const ParameterPanel &panel)
{
    for (HistoryComboBox *box : panel.historyBoxes())
        box->setEntries(history::load(history::filePath(m_systemFolder, box->historyNumber())));
}

void MainWindow::saveHistories(const ParameterPanel &panel)
{
    for (HistoryComboBox *box : panel.historyBoxes()) {
        const QString text = box->currentText();
        QStringList entries = box->entries();
        if (!history::addEntry(entries, text, false))
            continue;
        box->setEntries(entries);
        box->setEditText(text);
        box->lineEdit()->selectAll();
        history::store(history::filePath(m_systemFolder, box->historyNumber()), entries);
    }
}

void MainWindow::deleteFromHistory(HistoryComboBox &box)
{
    const int chosen = box.chosenIndex();
    if (chosen < 0)
        return;
    QStringList entries = box.entries();
    entries.removeAt(chosen);
    // The deleted text leaves the edit field too, so the forced save does not put it back.
    box.setEditText(QString());
    history::addEntry(entries, QString(), true);
    box.setEntries(entries);
    history::store(history::filePath(m_systemFolder, box.historyNumber()), entries);
}

void MainWindow::trackCaret(bool mouseRelease)
{
    const TextPosition p = m_workArea->store().positionOf(m_workArea->selectionStart());
    m_session.caret = {p.row, p.column};
    m_status->setCaret(p.row, p.column);
    if (mouseRelease)
        m_status->resetCountToCursor();
}

void MainWindow::showCaretMenu(const QPoint &globalPos)
{
    const FunctionSpec *function = selectedFunction();
    if (!m_caretMenuEnabled || !function || !function->caretMenu)
        return;
    CaretMenu menu(function->menu, this);
    connect(&menu, &CaretMenu::entryChosen, this, [this, function](MenuEntry entry) {
        const auto writes =
            caretMenuWrites(*function, entry, m_session.caret.row + 1, m_session.caret.column + 1);
        for (const CaretMenuWrite &w : writes) {
            switch (w.target) {
            case CaretMenuWrite::Target::RestraintFrom:
                m_strip->setFrom(w.value);
                break;
            case CaretMenuWrite::Target::RestraintTo:
                m_strip->setTo(w.value);
                break;
            case CaretMenuWrite::Target::Param:
                m_panels.value(function->number)->setValue(w.param, QString::number(w.value));
                break;
            }
        }
    });
    menu.exec(globalPos);
}

bool MainWindow::event(QEvent *event)
{
    // Hints go to the first status panel, never over the panels as a temporary message.
    if (event->type() == QEvent::StatusTip) {
        if (m_hintsShown)
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
    m_readMeList = *readMe;
    m_status->setCaret(0, 0);
    m_status->resetCounts();
    m_caretMenuEnabled = false;
    // "Delete" is chosen on the "Delete/Retain Column" panel by its defaults already.
    for (ParameterPanel *p : std::as_const(m_panels))
        p->hide();
    applyBackground(m_prefs.colourIndex());
    return true;
}

void MainWindow::activated()
{
    if (m_firstActivation) {
        m_firstActivation = false;
        // Showing and hiding these panels once lays them out before they are first needed.
        for (int number : {3, 17, 43, 31, 34, 27, 41}) {
            if (ParameterPanel *p = m_panels.value(number); p && p->isHidden()) {
                p->show();
                p->hide();
            }
        }
    }
    if (m_prefs.hintsShown())
        m_hintsShown = true;
    // A size that is not a usable number keeps the last good one.
    applyFontSize(m_prefs.fontSize(m_fontSize));
    m_prefsDialog->showValues(m_prefs.fontSizeText(), m_prefs.tabSpacingText(),
                              m_prefs.hintsShown());
    applyTabSpacing(m_prefs.tabSpacing());
}

void MainWindow::openPreferences()
{
    m_prefsDialog->showValues(m_prefs.fontSizeText(), m_prefs.tabSpacingText(),
                              m_prefs.hintsShown());
    if (m_dialogs.runPreferences(*m_prefsDialog))
        acceptPreferences();
    // The window is active again: a size tried out and cancelled gives way to the stored one.
    activated();
}

void MainWindow::acceptPreferences()
{
    m_prefs.setHintsShown(m_prefsDialog->hintsTicked());
    m_hintsShown = m_prefs.hintsShown();
    if (!m_hintsShown)
        m_status->setHint(QString());
    m_prefs.setColourIndex(m_colourIndex);
    m_prefs.setFontSizeText(m_prefsDialog->fontSizeText());
    m_prefs.setTabSpacingText(m_prefsDialog->tabSpacingText());
    applyTabSpacing(m_prefs.tabSpacing());
    m_prefs.save(m_programFolder + u"/prefs.plx"_s);
    m_prefsDialog->hide();
}

void MainWindow::applyFontSize(int pointSize)
{
    m_fontSize = pointSize;
    QFont font = m_workArea->font();
    font.setPointSize(pointSize);
    m_workArea->setFont(font);
}

void MainWindow::applyTabSpacing(int spacing)
{
    // Stop k at k x spacing x 8 pixels; spacing 0 gives the narrowest stops, a dialog unit apart.
    const qreal dialogUnit = std::max(1, m_workArea->fontMetrics().averageCharWidth()) / 4.0;
    const qreal step = spacing > 0 ? spacing * 8.0 : std::max(1.0, dialogUnit);
    QList<qreal> stops;
    for (int k = 1; k <= 64; ++k)
        stops.append(k * step);
    m_workArea->setTabStops(stops);
}

void MainWindow::applyBackground(int colourIndex)
{
    static const QColor colours[] = {QColor(255, 255, 255), QColor(255, 255, 208),
                                     QColor(240, 248, 184), QColor(240, 232, 168)};
    m_colourIndex = colourIndex;
    const QColor colour = colours[colourIndex & 3];
    // Every text field, numeric field and drop-down of the window, hidden ones included.
    const auto fields = findChildren<QWidget *>();
    for (QWidget *w : fields) {
        if (auto *pane = qobject_cast<TextPane *>(w)) {
            pane->setBackgroundColor(colour);
        } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w) ||
                   qobject_cast<QComboBox *>(w)) {
            QPalette palette = w->palette();
            palette.setColor(QPalette::Base, colour);
            w->setPalette(palette);
        }
    }
}

void MainWindow::replaceText(const QStringList &rows)
{
    m_workArea->store().setRows(rows);
    m_workArea->storeEdited();
    m_workArea->moveCaretToOffset(0);
}

QStringList MainWindow::workAreaRows() const
{
    return m_workArea->store().rows();
}

QFont MainWindow::workAreaFont() const
{
    return m_workArea->font();
}

void MainWindow::clearWorkArea()
{
    if (m_workArea->store().lineCount() > 0)
        m_session.undo.take(m_workArea->lines());
    m_workArea->setText(QString());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::RightButton &&
        watched == m_mainBar->widgetForAction(m_actions[u"Open File (right click for recent)"_s])) {
        auto *button = static_cast<QWidget *>(watched);
        m_documents->showRecentMenu(button->mapToGlobal(QPoint(27, 49)));
        return true;
    }
    if (watched == m_workArea) {
        if (event->type() == QEvent::KeyPress) {
            trackCaret(false); // where the caret was before the key acts
        } else if (event->type() == QEvent::KeyRelease) {
            trackCaret(false);
        }
    } else if (watched == m_workArea->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // The press and any drag have placed the caret by now.
        trackCaret(true);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing in the middle of a run would pull the window from under it: stop the run instead.
    if (m_running) {
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
