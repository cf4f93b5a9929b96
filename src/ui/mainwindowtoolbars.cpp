#include "ui/mainwindow.h"

#include "ops/registry.h"
#include "ui/controls/piegauge.h"
#include "ui/documentactions.h"
#include "ui/functionbar.h"
#include "ui/panestack.h"
#include "ui/runprogress.h"
#include "ui/viewsettings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace plintex {

// The main toolbar's actions, the function drop-down with "STOP", the notice and the gauge
// beside them, and the function buttons' toolbar below.
void MainWindow::buildToolbars()
{
    m_mainBar = addToolBar(u"Main"_s);
    m_mainBar->setObjectName(u"MainToolbar"_s);
    m_mainBar->setMovable(false);
    m_mainBar->setIconSize({20, 20});

    using A = ToolbarAction;
    const struct {
        A action;
        QString name;
        QString icon;
    } actions[] = {
        {A::Open, u"Open File (right click for recent)"_s, u"open"_s},
        {A::Save, u"Save File"_s, u"save"_s},
        {A::Clear, u"Clear"_s, u"clear"_s},
        {A::Undo, u"Undo"_s, u"undo"_s},
        {A::ToTop, u"To Top"_s, u"to-top"_s},
        {A::ToBottom, u"To Bottom"_s, u"to-bottom"_s},
        {A::Stop, u"Stop Processing"_s, u"stop-processing"_s},
        {A::Preferences, u"Preferences"_s, u"preferences"_s},
        {A::Quit, u"Quit"_s, u"quit"_s},
    };
    for (const auto &a : actions) {
        QAction *action =
            m_mainBar->addAction(QIcon(u":/icons/toolbar/"_s + a.icon + u".svg"_s), a.name);
        action->setStatusTip(a.name);
        action->setObjectName(a.name);
        m_actions.insert(a.action, action);
    }
    connect(m_actions[A::Open], &QAction::triggered, m_documents, &DocumentActions::open);
    connect(m_actions[A::Save], &QAction::triggered, m_documents, &DocumentActions::save);
    connect(m_actions[A::Clear], &QAction::triggered, m_documents, &DocumentActions::clear);
    connect(m_actions[A::Undo], &QAction::triggered, this, &MainWindow::undo);
    connect(m_actions[A::ToTop], &QAction::triggered, m_panes, &PaneStack::toTop);
    connect(m_actions[A::ToBottom], &QAction::triggered, m_panes, &PaneStack::toBottom);
    connect(m_actions[A::Stop], &QAction::triggered, this, [this] { m_session.stop.request(); });
    connect(m_actions[A::Preferences], &QAction::triggered, this, &MainWindow::openPreferences);
    connect(m_actions[A::Quit], &QAction::triggered, this, &QWidget::close);
    // A right click on the open button shows the recent documents.
    m_documents->attachRecentMenu(m_mainBar->widgetForAction(m_actions[A::Open]));
    // Two buttons read "Clear": their descriptions tell them apart.
    m_mainBar->widgetForAction(m_actions[A::Clear])->setAccessibleDescription(u"Empty the text"_s);
    m_actions[A::Clear]->setToolTip(u"Empty the text"_s);
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
    m_dropDown->addItems(catalogue().dropDownCaptions());
    m_dropDown->setMaxVisibleItems(36);
    m_dropDown->setMinimumContentsLength(28);
    m_dropDown->setCurrentIndex(-1);
    m_dropDown->setEditText(QString());
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
    m_functionsBar = addToolBar(u"Functions"_s);
    m_functionsBar->setObjectName(u"FunctionToolbar"_s);
    m_functionsBar->setMovable(false);
    m_functionBar = new FunctionBar(*m_dropDown, m_functionsBar);
    m_functionBar->setHoverAllowed(
        [this] { return m_view->hintsShown() && !m_functionBar->anyPressed(); });
    m_functionsBar->addWidget(m_functionBar);
}

} // namespace plintex
