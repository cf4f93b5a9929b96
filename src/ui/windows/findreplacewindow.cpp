#include "ui/windows/findreplacewindow.h"

#include "ops/search/textsearch.h"
#include "ui/controls/piegauge.h"
#include "ui/dialogs.h"
#include "ui/functioncontroller.h"
#include "ui/mainwindow.h"
#include "ui/panestack.h"
#include "ui/restraintstrip.h"
#include "ui/runprogress.h"
#include "ui/textpane.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace plintex {

FindReplaceWindow::FindReplaceWindow(MainWindow &window, Dialogs &dialogs, QToolBar &toolbar,
                                     QAction &replaceSpecial)
    : QDialog(&window), m_window(window), m_dialogs(dialogs), m_replaceSpecial(replaceSpecial)
{
    setObjectName(u"FindReplaceWindow"_s);
    setWindowTitle(u"Find / Replace"_s);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    m_open = toolbar.addAction(QIcon(u":/icons/toolbar/find-replace.svg"_s), u"Find/Replace"_s,
                               this, &FindReplaceWindow::start);
    m_open->setObjectName(m_open->text());
    m_open->setStatusTip(m_open->text());
    m_open->setShortcuts(QKeySequence::Find);
    // F3 finds the next hit from the main window and from this one alike.
    m_findNext = new QAction(u"Find Next"_s, this);
    m_findNext->setShortcuts(QKeySequence::FindNext);
    m_findNext->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_findNext, &QAction::triggered, this, &FindReplaceWindow::findNextKey);
    window.addAction(m_findNext);

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    const auto field = [this](const QString &name) {
        auto *edit = new QLineEdit(this);
        edit->setAccessibleName(name);
        edit->setMinimumWidth(260);
        return edit;
    };
    m_find = field(u"Find what:"_s);
    auto *findLabel = new QLabel(u"Find what:"_s, this);
    findLabel->setBuddy(m_find);
    grid->addWidget(findLabel, 0, 1);
    grid->addWidget(m_find, 0, 2);

    m_replaceBox = new QCheckBox(this);
    m_replaceBox->setAccessibleName(u"Enable replacing"_s);
    m_replaceBox->setToolTip(u"Tick to replace"_s);
    m_replace = field(u"Replace with:"_s);
    m_replaceLabel = new QLabel(u"Replace with:"_s, this);
    m_replaceLabel->setBuddy(m_replace);
    grid->addWidget(m_replaceBox, 1, 0);
    grid->addWidget(m_replaceLabel, 1, 1);
    grid->addWidget(m_replace, 1, 2);

    m_matchCase = new QCheckBox(u"Match Case"_s, this);
    m_top = new QToolButton(this);
    m_top->setIcon(QIcon(u":/icons/toolbar/to-top.svg"_s));
    m_top->setToolTip(u"To Top / Bottom"_s);
    m_top->setAccessibleName(u"To Top / Bottom"_s);
    m_notFound = new QLabel(u"No further occurrences."_s, this);
    QFont bold = m_notFound->font();
    bold.setBold(true);
    m_notFound->setFont(bold);
    m_notFound->hide();
    auto *options = new QHBoxLayout;
    options->addWidget(m_matchCase);
    options->addWidget(m_top);
    options->addWidget(m_notFound, 1);
    grid->addLayout(options, 2, 1, 1, 2);

    auto *buttons = new QVBoxLayout;
    const struct {
        QString caption;
        void (FindReplaceWindow::*slot)();
    } actions[] = {{u"Find"_s, &FindReplaceWindow::find},
                   {u"Replace"_s, &FindReplaceWindow::replace},
                   {u"Replace All"_s, &FindReplaceWindow::replaceAll}};
    for (const auto &a : actions) {
        auto *b = new QPushButton(a.caption, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, a.slot);
        buttons->addWidget(b);
        m_buttons.append(b);
    }
    m_buttons.front()->setDefault(true);
    auto *closeButton = new QPushButton(u"Close"_s, this);
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(closeButton);
    m_buttons.append(closeButton);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 3, 3, 1);

    connect(m_replaceBox, &QCheckBox::toggled, this, &FindReplaceWindow::enableReplacing);
    connect(m_top, &QToolButton::clicked, this, &FindReplaceWindow::toTop);
    enableReplacing(false);

    // "Insert Spread Sheet Delimiter" works on a pane of its own: the window closes meanwhile.
    connect(window.panes(), &PaneStack::pageChanged, this, [this](PaneStack::Page page) {
        m_open->setEnabled(page != PaneStack::Page::Delimiter);
        if (page == PaneStack::Page::Delimiter)
            close();
    });
}

QPushButton *FindReplaceWindow::button(const QString &caption) const
{
    for (QPushButton *b : m_buttons) {
        if (b->text() == caption)
            return b;
    }
    return nullptr;
}

void FindReplaceWindow::enableReplacing(bool enabled)
{
    for (QWidget *w : {static_cast<QWidget *>(m_replaceLabel), static_cast<QWidget *>(m_replace),
                       static_cast<QWidget *>(button(u"Replace"_s)),
                       static_cast<QWidget *>(button(u"Replace All"_s))})
        w->setEnabled(enabled);
}

void FindReplaceWindow::start()
{
    m_window.resetAll();
    TextPane *work = m_window.workArea();
    // Undo after any number of replacements brings back the text from before the window opened.
    m_window.session().undo.take(work->lines());
    m_window.restraintStrip()->setFrom(0);
    m_window.restraintStrip()->setTo(0);
    work->moveCaretToOffset(0);
    work->setFocus();
    m_window.stopButton()->show();
    show();
    raise();
    activateWindow();
}

void FindReplaceWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // One line is what a one-line field takes of a longer text.
    const QString clip = QGuiApplication::clipboard()->text();
    const auto lineEnd =
        std::find_if(clip.begin(), clip.end(), [](QChar c) { return c == u'\n' || c == u'\r'; });
    const QString line = clip.left(lineEnd - clip.begin());
    if (!line.isEmpty())
        m_find->insert(line);
    m_find->setFocus();
    m_find->selectAll();
    m_replaceSpecial.setEnabled(false);
}

void FindReplaceWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_replaceSpecial.setEnabled(false);
}

void FindReplaceWindow::done(int result)
{
    QDialog::done(result);
    m_replaceSpecial.setEnabled(true);
    // A function selected meanwhile ("Insert Spread Sheet Delimiter" closes the window as it is
    // selected) keeps its "STOP".
    m_window.stopButton()->setVisible(m_window.selectedFunction() != nullptr);
}

void FindReplaceWindow::toTop()
{
    TextPane *work = m_window.workArea();
    work->moveCaretToOffset(0);
    work->setFocus();
    m_notFound->hide();
}

void FindReplaceWindow::find()
{
    search(Mode::Find);
}

void FindReplaceWindow::replace()
{
    search(Mode::Replace);
}

void FindReplaceWindow::replaceAll()
{
    search(Mode::ReplaceAll);
}

// F3: the next hit of the text in the window, or the window itself while it has none.
void FindReplaceWindow::findNextKey()
{
    if (m_window.panes()->page() != PaneStack::Page::WorkArea || !m_open->isEnabled())
        return;
    if (m_find->text().isEmpty())
        start();
    else
        find();
}

void FindReplaceWindow::search(Mode mode)
{
    // A Replace All lets events through; a press meanwhile is ignored.
    if (m_busy)
        return;
    m_notFound->hide();
    TextPane *work = m_window.workArea();
    if (work->store().lineCount() == 0) {
        work->setFocus();
        return;
    }
    if (mode != Mode::Find && !m_window.mayReplaceText())
        return;
    const QString text = m_find->text();
    if (!search::isSearchable(text)) {
        m_dialogs.warning(this, u"The text to find must be on one line."_s);
        return;
    }
    const search::TextFinder finder(text, m_matchCase->isChecked() ? Qt::CaseSensitive
                                                                   : Qt::CaseInsensitive);
    if (mode == Mode::ReplaceAll) {
        replaceEvery(finder);
        return;
    }
    // A replacement replaces the selection whatever it holds; the search goes on after it.
    if (mode == Mode::Replace && work->hasSelection())
        work->insertText(m_replace->text());
    const TextPosition from = std::max(work->caret(), work->anchor());
    const std::optional<TextPosition> hit = search::findNext(work->store(), from, finder);
    if (!hit) {
        m_notFound->show();
        return;
    }
    work->setFocus();
    const qsizetype at = work->store().offsetOf(*hit);
    work->setSelection(at, finder.findsBreak() ? 1 : text.size());
    work->ensureCaretVisible();
}

// The selection first, then every hit after it once, as one step that Ctrl+Z takes back.
void FindReplaceWindow::replaceEvery(const search::TextFinder &finder)
{
    TextPane *work = m_window.workArea();
    const QStringList rows = work->store().rows();
    m_busy = true;
    work->setReadOnly(true);
    search::Replacement result;
    {
        WindowRunMonitor monitor(*m_window.processingNotice(), *m_window.gauge(),
                                 m_window.session().stop);
        result = search::replaceAll(rows, std::min(work->caret(), work->anchor()),
                                    std::max(work->caret(), work->anchor()), finder,
                                    m_replace->text(), monitor);
    }
    work->setReadOnly(false);
    m_busy = false;
    m_window.gauge()->hide();
    m_window.processingNotice()->hide();
    // A text put in meanwhile (a document opened) is not overwritten by a result of the old one.
    const bool unchanged = work->store().rows().constData() == rows.constData();
    if (unchanged && (result.count > 0 || work->hasSelection())) {
        work->replaceRows(result.rows);
        work->setCaret(result.end);
    }
    if (result.stopped) {
        m_window.functions()->stopProcess();
        return;
    }
    work->setFocus();
    m_notFound->show();
}

} // namespace plintex
