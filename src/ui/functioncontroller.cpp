#include "ui/functioncontroller.h"

#include "ops/registry.h"
#include "settings/historylist.h"
#include "ui/caretmenu.h"
#include "ui/controls/historycombobox.h"
#include "ui/controls/numberfield.h"
#include "ui/controls/piegauge.h"
#include "ui/dialogs.h"
#include "ui/functionbar.h"
#include "ui/panel/parameterpanel.h"
#include "ui/panelarea.h"
#include "ui/panestack.h"
#include "ui/restraintstrip.h"
#include "ui/runprogress.h"
#include "ui/statuspanels.h"
#include "ui/textpane.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

constexpr int kNoFunction = 0;
/// Hides every panel but shows "STOP", while a function asks before it is selected.
constexpr int kHideAllShowStop = 255;

/// One gauge for the steps of a recipe: each step moves it across its own share.
class StepsMonitor final : public RunMonitor {
public:
    StepsMonitor(RunMonitor &gauge, qsizetype steps) : m_gauge(gauge)
    {
        m_gauge.begin(double(steps) * kShare);
    }
    void nextStep()
    {
        ++m_step;
        m_maximum = 0;
    }
    void begin(double maximum, Gauge) override
    {
        m_maximum = maximum;
        m_gauge.advance(m_step * kShare);
    }
    void advance(double position) override
    {
        if (m_maximum > 0)
            m_gauge.advance(m_step * kShare + std::clamp(position / m_maximum, 0.0, 1.0) * kShare);
    }
    bool stopRequested() override { return m_gauge.stopRequested(); }

private:
    static constexpr double kShare = 1000;
    RunMonitor &m_gauge;
    double m_step = 0;
    double m_maximum = 0;
};

} // namespace

FunctionController::FunctionController(Session &session, Dialogs &dialogs,
                                       const FunctionControls &controls, QString systemFolder,
                                       QWidget *window)
    : QObject(window), m_session(session), m_dialogs(dialogs), m_c(controls),
      m_systemFolder(std::move(systemFolder)), m_window(window)
{
}

void FunctionController::buildPanels()
{
    for (const FunctionEntry &f : catalogue()) {
        auto *panel = new ParameterPanel(f, m_c.panelArea);
        connect(panel, &ParameterPanel::runRequested, this,
                [this, &f](const QString &button) { run(f, button); });
        // The other actions are the function's own, carried out by its window code.
        connect(panel, &ParameterPanel::actionRequested, this, [this](PanelAction action) {
            if (action == PanelAction::ToTop)
                m_c.panes->toTop();
        });
        connect(panel, &ParameterPanel::browseRequested, this,
                [this, &f](const QString &key) { browse(f, key); });
        for (HistoryComboBox *box : panel->historyBoxes()) {
            connect(box, &HistoryComboBox::deleteFromListRequested, this,
                    [this, box] { deleteFromHistory(*box); });
        }
        m_panels.insert(f.number, panel);
        m_c.panelArea->addPanel(panel);
    }
    m_c.panelArea->addStrip(m_c.strip);
}

const FunctionEntry *FunctionController::selectedFunction() const
{
    for (ParameterPanel *p : m_panels) {
        if (!p->isHidden())
            return &p->function();
    }
    return nullptr;
}

// The select routine every function button and the drop-down share.
void FunctionController::select(const FunctionEntry &function)
{
    const bool pressed = m_c.bar->button(function.number)->isChecked();
    ParameterPanel *panel = m_panels.value(function.number);
    if (!pressed) {
        resetIndividual(kNoFunction);
        m_keepParameters = 0;
    } else if (function.body.ownPane) {
        if (!enterOwnPane(function))
            return;
    } else {
        resetIndividual(function.number);
        if (function.restraint)
            m_c.strip->show();
        m_caretMenuEnabled = function.caretMenu;
        setTabOrder(*panel);
    }
    if (!m_keepParameters) {
        panel->resetToDefaults();
        if (function.restraint)
            m_c.strip->clearRows();
    }
    m_keepParameters = 0;
    loadHistories(*panel);
    m_c.panelArea->contentChanged();
}

// A function with a pane of its own asks first, then works on a copy of the text in that pane
// until another function is chosen.
bool FunctionController::enterOwnPane(const FunctionEntry &function)
{
    resetIndividual(kHideAllShowStop);
    const QPoint pointer = warningPointerPosition() - QPoint(25, 0);
    const bool ok = m_dialogs.confirm(m_window, function.body.confirmation, pointer);
    m_c.notice->hide();
    if (!ok) {
        m_c.bar->button(function.number)->setChecked(false);
        m_c.stopButton->hide();
        return false;
    }
    resetIndividual(function.number);
    m_caretMenuEnabled = function.caretMenu;
    m_c.panes->handOverToDelimiter();
    setTabOrder(*m_panels.value(function.number));
    m_c.panes->runTarget()->setFocus();
    return true;
}

bool FunctionController::maySelect()
{
    if (!m_running)
        return true;
    // The run writes into the pane it started on: another function's pane, or a hand-over in
    // the middle of it, would lose text.
    m_dialogs.warning(m_window, u"Processing... Stop it or wait until it ends."_s);
    return false;
}

void FunctionController::chooseFromDropDown(int entry)
{
    const FunctionEntry *function = catalogue().atEntry(entry);
    if (!function)
        return;
    if (!maySelect()) {
        const FunctionEntry *selected = selectedFunction();
        const QSignalBlocker blocker(m_c.dropDown);
        m_c.dropDown->setCurrentIndex(selected ? selected->entry : -1);
        return;
    }
    m_c.bar->press(function->number);
    select(*function);
    m_c.bar->button(function->number)->setFocus();
}

void FunctionController::resetIndividual(int functionNumber)
{
    m_c.panes->showWorkArea();
    m_caretMenuEnabled = false;
    m_c.strip->hide();
    m_c.status->resetCounts();
    {
        // No entry stays selected behind an empty edit field.
        const QSignalBlocker blocker(m_c.dropDown);
        m_c.dropDown->setCurrentIndex(-1);
        m_c.dropDown->setEditText(QString());
    }
    m_c.stopButton->setVisible(functionNumber != kNoFunction);
    for (ParameterPanel *p : std::as_const(m_panels)) {
        const bool shown = p->function().number == functionNumber;
        p->setVisible(shown);
        if (shown) {
            const QSignalBlocker blocker(m_c.dropDown);
            m_c.dropDown->setCurrentIndex(p->function().entry);
        }
    }
    m_c.panes->workArea()->setFocus();
    m_c.panelArea->contentChanged();
    if (functionNumber != kHideAllShowStop)
        Q_EMIT selectionReset();
}

void FunctionController::resetAll()
{
    // "Read Me" keeps its panel: it is meant to stay ready for the next paste.
    const FunctionEntry *readMe = catalogue().byName(u"read-me");
    m_c.bar->raiseAll(readMe ? readMe->number : -1);
    for (ParameterPanel *p : std::as_const(m_panels)) {
        if (&p->function() != readMe)
            p->hide();
    }
    m_keepParameters = 0;
    m_c.strip->hide();
    m_c.panes->showWorkArea();
    m_c.dropDown->setEditText(QString());
    m_c.panelArea->contentChanged();
}

void FunctionController::setAside()
{
    const FunctionEntry *visible = selectedFunction();
    if (visible)
        m_keepParameters = visible->number;
    for (ParameterPanel *p : std::as_const(m_panels))
        p->hide();
    m_c.strip->hide();
    m_c.panelArea->contentChanged();
}

void FunctionController::bringBack()
{
    if (ParameterPanel *panel = m_panels.value(m_keepParameters)) {
        panel->show();
        if (panel->function().restraint)
            m_c.strip->show();
        m_c.bar->press(m_keepParameters);
        m_c.panelArea->contentChanged();
    }
    m_keepParameters = 0;
}

void FunctionController::clearPanelFields()
{
    const FunctionEntry *function = selectedFunction();
    if (!function)
        return;
    for (const Parameter &p : function->params()) {
        if (p.kind == ParamKind::MultiLineText && !p.keptByClear)
            m_panels.value(function->number)->setValue(p.key, QString());
    }
}

// The keyboard follows the screen: the panel's items left to right, then the strip, then the
// work area.
void FunctionController::setTabOrder(const ParameterPanel &panel)
{
    QList<QWidget *> chain = panel.focusChain();
    if (panel.function().restraint)
        chain += QList<QWidget *>{m_c.strip->fromField(), m_c.strip->toField(),
                                  m_c.strip->resetButton(), m_c.strip->autoReset()};
    chain.append(m_c.panes->runTarget());
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void FunctionController::stopProcess()
{
    m_session.stop.clear();
    m_dialogs.warning(m_window, u"Processing stopped!"_s);
    m_c.gauge->hide();
    m_c.notice->hide();
}

void FunctionController::run(const FunctionEntry &function, const QString &runButton)
{
    // The run lets events through; a second press of a run button meanwhile is ignored.
    if (m_running || !function.isBuilt())
        return;
    // The result goes back to the pane the run started on, whatever happens meanwhile.
    TextPane *target = m_c.panes->runTarget();
    RunInput input;
    input.lines = target->lines();
    input.params = m_panels.value(function.number)->values();
    // A function without the strip covers the whole text, whatever the hidden strip holds.
    input.restraint = function.restraint ? m_c.strip->restraint() : RowRestraint{};
    if (!function.restraint && function.body.readsStripTo)
        input.restraint.to = m_c.strip->restraint().to;
    input.caret = {m_session.caret.row, m_session.caret.column};
    input.runButton = runButton;
    input.traceRows = true;
    command::Invocation asked;
    asked.function = &function;
    asked.params = input.params;
    asked.restraint = input.restraint;
    asked.caret = input.caret;
    asked.runButton = runButton;

    m_running = true;
    Q_EMIT runningChanged(true);
    Q_EMIT runStarting(function);
    // The file functions show their own bar over their panel's input field.
    ParameterPanel *panel = m_panels.value(function.number);
    PieGauge *gauge = panel->barGauge();
    WindowRunMonitor monitor(*m_c.notice, gauge ? *gauge : *m_c.gauge, m_session.stop,
                             panel->progressBar());
    // Edits typed while the run goes on would be overwritten by its result.
    target->setReadOnly(true);
    RunResult result = m_session.run(function, std::move(input), monitor);
    target->setReadOnly(false);
    if (gauge)
        gauge->hide();
    apply(function, result, *target);
    m_running = false;
    Q_EMIT runningChanged(false);
    Q_EMIT runEnded(function, result.outcome);
    if (result.done())
        Q_EMIT runCompleted(asked);
}

void FunctionController::runRecipe(const QList<command::RecipeStep> &steps, const QString &name)
{
    if (m_running || steps.isEmpty())
        return;
    TextPane *target = m_c.panes->runTarget();
    m_running = true;
    Q_EMIT runningChanged(true);
    target->setReadOnly(true);
    const QStringList before = target->lines();
    WindowRunMonitor gauge(*m_c.notice, *m_c.gauge, m_session.stop);
    StepsMonitor monitor(gauge, steps.size());
    std::optional<QStringList> lines;
    RunResult result;
    QStringList told;
    m_session.flags.processing = true;
    int line = 0;
    for (const command::RecipeStep &step : steps) {
        const command::Invocation &r = step.run;
        line = step.line;
        result = r.function->body.run(
            {lines.value_or(before), r.params, r.restraint, r.caret, r.runButton}, monitor);
        if (!result.done())
            break;
        if (result.lines)
            lines = std::move(result.lines);
        told += result.report + result.notices;
        monitor.nextStep();
    }
    m_session.flags.processing = false;
    target->setReadOnly(false);
    m_c.notice->hide();
    m_c.gauge->hide();
    if (result.outcome == RunResult::Outcome::Stopped) {
        stopProcess();
    } else if (!result.done()) {
        m_dialogs.warning(m_window, name + u':' + QString::number(line) + u": " + result.message);
    } else if (lines) {
        // The text as the recipe found it is the one undo step.
        m_session.undo.take(before);
        if (target == m_c.panes->workArea())
            Q_EMIT rowsRearranged({}, true);
        target->replaceLines(std::move(*lines));
        Q_EMIT textRewritten();
    }
    if (result.done() && !told.isEmpty())
        m_dialogs.warning(m_window, told.join(u'\r'));
    m_running = false;
    Q_EMIT runningChanged(false);
}

void FunctionController::setFileDefault(const QString &file, const QStringList &lines)
{
    for (ParameterPanel *panel : std::as_const(m_panels)) {
        for (const Parameter &p : panel->function().params()) {
            if (p.defaultFile == file)
                panel->setValue(p.key, lines.join(u'\n'));
        }
    }
}

void FunctionController::apply(const FunctionEntry &function, RunResult &result, TextPane &target)
{
    // The document's line ends follow the work area's rows, not another pane's.
    if (&target == m_c.panes->workArea())
        Q_EMIT rowsRearranged(result.lines && result.rowOrigins ? *result.rowOrigins
                                                                : QList<qsizetype>{},
                              result.undoTaken);
    for (const FieldWrite &w : std::as_const(result.fields))
        writeField(function, w);
    if (result.outcome == RunResult::Outcome::Refused ||
        result.outcome == RunResult::Outcome::Failed) {
        m_c.notice->hide();
        m_c.gauge->hide();
        if (result.movesPointer)
            m_dialogs.warning(m_window, result.message);
        else
            m_dialogs.warningInPlace(m_window, result.message);
        return;
    }
    if (result.lines)
        target.replaceLines(std::move(*result.lines));
    placeCaret(result.caret, target);
    // After the refresh, which puts the counts back to "?"; a stopped count shows its part.
    const auto showCounts = [&] {
        for (int i = 0; i < result.statusTexts.size(); ++i)
            m_c.status->setCount(i, result.statusTexts[i]);
    };
    if (result.outcome == RunResult::Outcome::Stopped) {
        stopProcess();
        if (result.lines)
            Q_EMIT textRewritten();
        showCounts();
        return;
    }
    m_c.gauge->hide();
    if (result.lines)
        Q_EMIT textRewritten();
    showCounts();
    if (result.copyText)
        QGuiApplication::clipboard()->setText(m_c.panes->workArea()->text());
    if (result.beep)
        QApplication::beep();
    if (result.saveHistories)
        saveHistories(*m_panels.value(function.number));
    m_c.notice->hide();
    for (const QString &notice : std::as_const(result.notices))
        m_dialogs.warning(m_window, notice);
}

void FunctionController::placeCaret(const CaretPlacement &caret, TextPane &target)
{
    switch (caret.kind) {
    case CaretPlacement::Kind::Unchanged:
        break;
    case CaretPlacement::Kind::Line:
        target.moveCaretToOffset(target.store().offsetOfRow(caret.line));
        break;
    case CaretPlacement::Kind::End:
        // This pane adds no spurious line after a refill: only the caret goes to the end.
        target.moveCaretToOffset(target.store().length());
        target.setFocus();
        break;
    case CaretPlacement::Kind::SelectAll:
        target.selectAll();
        break;
    }
}

void FunctionController::writeField(const FunctionEntry &function, const FieldWrite &write)
{
    switch (write.target) {
    case FieldWrite::Target::RestraintFrom:
        if (function.restraint)
            m_c.strip->setFrom(write.value.toLongLong());
        break;
    case FieldWrite::Target::RestraintTo:
        if (function.restraint)
            m_c.strip->setTo(write.value.toLongLong());
        break;
    case FieldWrite::Target::Param:
        m_panels.value(function.number)->setValue(write.param, write.value);
        break;
    }
}

void FunctionController::loadHistories(const ParameterPanel &panel)
{
    for (HistoryComboBox *box : panel.historyBoxes())
        box->setEntries(history::load(history::filePath(m_systemFolder, box->historyNumber())));
}

void FunctionController::saveHistories(const ParameterPanel &panel)
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

void FunctionController::deleteFromHistory(HistoryComboBox &box)
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

void FunctionController::browse(const FunctionEntry &function, const QString &key)
{
    const Parameter *p = function.param(key);
    ParameterPanel *panel = m_panels.value(function.number);
    if (!p || !panel)
        return;
    const QStringList filters{u"All Files (*.*)"_s};
    // Emptied first, so that a cancelled dialog leaves no name behind.
    panel->setValue(key, QString());
    const std::optional<FileChoice> choice =
        p->saveDialog ? m_dialogs.chooseFileToSave(m_window, QDir::currentPath(), filters, 0)
                      : m_dialogs.chooseFileToOpen(m_window, QDir::currentPath(), filters, 0);
    if (choice)
        panel->setValue(key, choice->path);
}

void FunctionController::showCaretMenu(const QPoint &globalPos)
{
    const FunctionEntry *function = selectedFunction();
    const bool caretMenu = m_caretMenuEnabled && function && function->caretMenu;
    // The caret menu's entries first, when they apply, then the pane's editing actions.
    CaretMenu menu(caretMenu ? function->menu : CaretMenuLayout{}, m_window);
    connect(&menu, &CaretMenu::entryChosen, this, [this, function](MenuEntry entry) {
        const auto writes =
            caretMenuWrites(*function, entry, m_session.caret.row + 1, m_session.caret.column + 1);
        for (const FieldWrite &w : writes)
            writeField(*function, w);
    });
    if (caretMenu)
        menu.addSeparator();
    m_c.panes->runTarget()->addEditActions(&menu);
    menu.exec(globalPos);
}

} // namespace plintex
