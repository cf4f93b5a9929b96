#include "ui/windows/replacespecialwindow.h"

#include "ops/common/specialcharacters.h"
#include "ops/registry.h"
#include "ops/search/textsearch.h"
#include "ui/controls/piegauge.h"
#include "ui/dialogs.h"
#include "ui/functionbar.h"
#include "ui/functioncontroller.h"
#include "ui/mainwindow.h"
#include "ui/panel/parameterpanel.h"
#include "ui/panestack.h"
#include "ui/restraintstrip.h"
#include "ui/runprogress.h"
#include "ui/textpane.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace plintex {

namespace {

const FunctionEntry &delimiterFunction()
{
    return *catalogue().byName(u"Insert Spread Sheet Delimiter");
}

} // namespace

ReplaceSpecialWindow::ReplaceSpecialWindow(MainWindow &window, Dialogs &dialogs, QToolBar &toolbar)
    : QDialog(&window), m_window(window), m_dialogs(dialogs)
{
    setObjectName(u"ReplaceSpecialWindow"_s);
    setWindowTitle(u"Replace Special"_s);
    // No title-bar buttons: "Close" closes it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    m_open =
        toolbar.addAction(QIcon(u":/icons/toolbar/replace-special.svg"_s),
                          u"Replace with Special Character"_s, this, &ReplaceSpecialWindow::start);
    m_open->setObjectName(m_open->text());
    m_open->setStatusTip(m_open->text());

    m_grid = new QGridLayout(this);
    m_grid->setSizeConstraint(QLayout::SetFixedSize);
    m_grid->addWidget(new QLabel(u"Find what:"_s, this), 0, 0);
    m_grid->addWidget(new QLabel(u"Replace with:"_s, this), 1, 0);
    m_typed = new QLineEdit(this);
    m_typed->setMinimumWidth(200);
    m_list = new QComboBox(this);
    m_list->addItems(common::specialCharacterNames());
    m_list->setMaxVisibleItems(20);
    m_list->setCurrentIndex(-1);
    m_quantityLabel = new QLabel(u"Quantity:"_s, this);
    m_quantity = new QSpinBox(this);
    m_quantity->setRange(1, 10000);
    m_quantity->setAccessibleName(u"Quantity:"_s);
    m_quantityLabel->setBuddy(m_quantity);
    // The value changes through the arrows alone, never by typing.
    m_quantity->findChild<QLineEdit *>()->setReadOnly(true);
    m_reverse = new QCheckBox(u"Reverse"_s, this);
    auto *options = new QHBoxLayout;
    options->addWidget(m_quantityLabel);
    options->addWidget(m_quantity);
    options->addStretch(1);
    options->addWidget(m_reverse);
    m_grid->addLayout(options, 2, 0, 1, 2);

    auto *buttons = new QVBoxLayout;
    const struct {
        QString caption;
        void (ReplaceSpecialWindow::*slot)();
    } actions[] = {{u"Replace"_s, &ReplaceSpecialWindow::replaceOne},
                   {u"Replace All"_s, &ReplaceSpecialWindow::replaceAll},
                   {u"Close"_s, nullptr}};
    for (const auto &a : actions) {
        auto *b = new QPushButton(a.caption, this);
        b->setAutoDefault(false);
        if (a.slot)
            connect(b, &QPushButton::clicked, this, a.slot);
        else
            connect(b, &QPushButton::clicked, this, &QDialog::reject);
        buttons->addWidget(b);
    }
    m_grid->addLayout(buttons, 0, 2, 3, 1);
    placeFields(false);
    connect(m_reverse, &QCheckBox::toggled, this, &ReplaceSpecialWindow::placeFields);

    // Selecting any function, or leaving the pane, closes the window.
    connect(window.functions(), &FunctionController::selectionReset, this, &QWidget::close);
    connect(window.panes(), &PaneStack::pageChanged, this, [this](PaneStack::Page page) {
        if (page != PaneStack::Page::Delimiter)
            close();
    });
}

// Not reversed: the typed text beside "Find what:", the list beside "Replace with:".
void ReplaceSpecialWindow::placeFields(bool reversed)
{
    QWidget *found = reversed ? static_cast<QWidget *>(m_list) : m_typed;
    QWidget *put = reversed ? static_cast<QWidget *>(m_typed) : m_list;
    m_grid->addWidget(found, 0, 1);
    m_grid->addWidget(put, 1, 1);
    found->setAccessibleName(u"Find what:"_s);
    put->setAccessibleName(u"Replace with:"_s);
    setTabOrder(found, put);
    m_quantityLabel->setEnabled(!reversed);
    m_quantity->setEnabled(!reversed);
}

TextPane &ReplaceSpecialWindow::pane() const
{
    return *m_window.panes()->pane(PaneStack::Page::Delimiter);
}

void ReplaceSpecialWindow::start()
{
    m_window.functionDropDown()->setEditText(QString());
    const FunctionEntry &function = delimiterFunction();
    if (!m_window.functionBar()->button(function.number)->isChecked()) {
        if (!m_window.functions()->maySelect())
            return;
        m_window.functionBar()->press(function.number);
        m_window.functions()->select(function);
    }
    m_window.session().undo.take(m_window.workArea()->lines());
    m_window.restraintStrip()->setFrom(0);
    m_window.restraintStrip()->setTo(0);
    if (m_window.panel(function.number)->isHidden())
        return; // the confirmation was declined
    show();
    raise();
    activateWindow();
}

void ReplaceSpecialWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_typed->setFocus();
    m_typed->selectAll();
}

void ReplaceSpecialWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_window.session().undo.take(pane().lines());
}

std::optional<ReplaceSpecialWindow::Texts> ReplaceSpecialWindow::texts()
{
    const int chosen = m_list->currentIndex();
    if (chosen < 0) {
        m_dialogs.warning(this, u"No replace character selected."_s);
        return std::nullopt;
    }
    const bool reversed = m_reverse->isChecked();
    const QString special(reversed ? 1 : m_quantity->value(),
                          common::characterOf(common::specialCharacters().at(chosen)));
    Texts t{reversed ? special : m_typed->text(), reversed ? m_typed->text() : special};
    if (!search::isSearchable(t.find)) {
        m_dialogs.warning(this, u"The text to find must be on one line."_s);
        return std::nullopt;
    }
    return t;
}

void ReplaceSpecialWindow::replaceOne()
{
    const std::optional<Texts> t = texts();
    TextPane &target = pane();
    if (!t || !m_window.mayReplaceText() || target.isReadOnly())
        return;
    const search::TextFinder finder(t->find, Qt::CaseSensitive);
    const std::optional<TextPosition> hit = search::findNext(target.store(), {}, finder);
    if (!hit) {
        m_dialogs.warning(this, u"Could not find any further occurrences."_s);
        return;
    }
    target.setSelection(target.store().offsetOf(*hit), t->find.size());
    target.insertText(t->replacement);
    target.ensureCaretVisible();
}

// Every occurrence from the top once, as one step that Ctrl+Z takes back.
void ReplaceSpecialWindow::replaceAll()
{
    TextPane &target = pane();
    // A press while a Replace All lets events through is ignored.
    if (target.isReadOnly())
        return;
    m_window.session().undo.take(target.lines());
    const std::optional<Texts> t = texts();
    if (!t || !m_window.mayReplaceText())
        return;
    const search::TextFinder finder(t->find, Qt::CaseSensitive);
    const QStringList rows = target.store().rows();
    target.setReadOnly(true);
    search::Replacement result;
    {
        WindowRunMonitor monitor(*m_window.processingNotice(), *m_window.gauge(),
                                 m_window.session().stop);
        result = search::replaceAll(rows, {}, {}, finder, t->replacement, monitor);
    }
    target.setReadOnly(false);
    m_window.gauge()->hide();
    m_window.processingNotice()->hide();
    if (result.count > 0 && target.store().rows().constData() == rows.constData()) {
        target.replaceRows(result.rows);
        target.moveCaretToOffset(0);
    }
    if (result.stopped)
        m_window.functions()->stopProcess();
}

} // namespace plintex
