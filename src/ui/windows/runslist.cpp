#include "ui/windows/runslist.h"

#include "command/commandwriter.h"
#include "command/recipe.h"
#include "ui/dialogs.h"
#include "ui/functioncontroller.h"
#include "ui/textpane.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QDockWidget>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QSaveFile>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace plintex {

RunsList::RunsList(FunctionController &functions, Dialogs &dialogs, QMainWindow &window,
                   QToolBar &toolbar, QAction *after, const QList<TextPane *> &panes)
    : QObject(&window), m_functions(functions), m_dialogs(dialogs), m_window(window)
{
    m_panel = new QDockWidget(u"Runs"_s, &window);
    m_panel->setObjectName(u"RunsPanel"_s);
    auto *holder = new QWidget(m_panel);
    auto *column = new QVBoxLayout(holder);
    m_list = new QListWidget(holder);
    m_list->setAccessibleName(u"Runs"_s);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    column->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    m_save = new QPushButton(u"Save as Recipe..."_s, holder);
    m_save->setEnabled(false);
    auto *run = new QPushButton(u"Run Recipe..."_s, holder);
    buttons->addWidget(m_save);
    buttons->addWidget(run);
    column->addLayout(buttons);
    m_panel->setWidget(holder);
    window.addDockWidget(Qt::RightDockWidgetArea, m_panel);
    m_panel->hide();

    m_copy =
        new QAction(QIcon(u":/icons/toolbar/copy-as-command.svg"_s), u"Copy as Command"_s, this);
    m_copy->setObjectName(u"Copy as Command"_s);
    m_copy->setStatusTip(u"Copy the last run as a plintex-cli command"_s);
    m_copy->setEnabled(false);
    m_runRecipe = new QAction(u"Run Recipe..."_s, this);
    m_runRecipe->setObjectName(u"Run Recipe..."_s);
    QAction *show = panelAction();
    show->setText(u"Runs"_s);
    show->setIcon(QIcon(u":/icons/toolbar/runs-list.svg"_s));
    show->setStatusTip(u"Show the session's runs, to save them as a recipe"_s);
    QAction *next = toolbar.actions().value(toolbar.actions().indexOf(after) + 1);
    toolbar.insertActions(next, {m_copy, show});
    for (TextPane *pane : panes)
        pane->setExtraEditActions({m_copy, show, m_runRecipe});

    connect(m_copy, &QAction::triggered, this, &RunsList::copyAsCommand);
    connect(m_runRecipe, &QAction::triggered, this, &RunsList::runRecipe);
    connect(run, &QPushButton::clicked, this, &RunsList::runRecipe);
    connect(m_save, &QPushButton::clicked, this, &RunsList::saveAsRecipe);
    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this] { m_save->setEnabled(!m_list->selectedItems().isEmpty()); });
    connect(&functions, &FunctionController::runCompleted, this, &RunsList::add);
    connect(&functions, &FunctionController::runningChanged, this, [this, run](bool running) {
        m_runRecipe->setEnabled(!running);
        run->setEnabled(!running);
    });
}

QAction *RunsList::panelAction() const
{
    return m_panel->toggleViewAction();
}

void RunsList::add(const command::Invocation &run)
{
    m_runs.append(run);
    auto *item = new QListWidgetItem(command::commandLineOf(run), m_list);
    item->setToolTip(run.function->name);
    m_list->scrollToItem(item);
    m_copy->setEnabled(true);
}

void RunsList::copyAsCommand()
{
    if (!m_runs.isEmpty())
        QGuiApplication::clipboard()->setText(command::commandLineOf(m_runs.back()));
}

void RunsList::saveAsRecipe()
{
    QStringList lines;
    for (int row = 0; row < m_list->count(); ++row) {
        if (!m_list->item(row)->isSelected())
            continue;
        const command::Invocation &run = m_runs[row];
        if (!run.function->body.readsText) {
            m_dialogs.warning(&m_window, u'"' + run.function->name +
                                             u"\" streams one file into another: it is no "
                                             u"recipe step."_s);
            return;
        }
        lines.append(command::recipeLineOf(run));
    }
    if (lines.isEmpty())
        return;
    const std::optional<FileChoice> choice = m_dialogs.chooseFileToSave(
        &m_window, QDir::currentPath(), {u"Recipe (*.txt)"_s, u"All Files (*)"_s}, 0);
    if (!choice)
        return;
    QSaveFile file(choice->path);
    const QByteArray text = command::recipeText(lines).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        m_dialogs.warning(&m_window,
                          u"Cannot write "_s + choice->path + u'\r' + file.errorString());
}

void RunsList::runRecipe()
{
    const std::optional<FileChoice> choice = m_dialogs.chooseFileToOpen(
        &m_window, QDir::currentPath(), {u"Recipe (*.txt)"_s, u"All Files (*)"_s}, 0);
    if (!choice)
        return;
    auto read = command::readRecipe(choice->path);
    if (const auto *error = std::get_if<command::RecipeError>(&read)) {
        m_dialogs.warning(&m_window, error->message);
        return;
    }
    m_functions.runRecipe(std::get<QList<command::RecipeStep>>(read), choice->path);
}

} // namespace plintex
