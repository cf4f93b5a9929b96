#include "ui/windows/scratchpad.h"

#include "ui/functionbar.h"
#include "ui/functioncontroller.h"
#include "ui/panestack.h"
#include "ui/textpane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace plintex {

ScratchPad::ScratchPad(PaneStack &panes, FunctionBar &bar, FunctionController &functions,
                       QToolBar &toolbar)
    : QObject(&toolbar), m_panes(panes), m_functions(functions)
{
    const QString name = u"Scratch Pad"_s;
    m_toggle = new QToolButton(&toolbar);
    m_toggle->setIcon(QIcon(u":/icons/toolbar/scratch-pad.svg"_s));
    m_toggle->setObjectName(name);
    m_toggle->setAccessibleName(name);
    m_toggle->setStatusTip(name);
    m_toggle->setAutoRaise(true);
    toolbar.addWidget(m_toggle);
    bar.addToGroup(m_toggle);
    connect(&bar, &FunctionBar::memberClicked, this, [this](QToolButton *member, bool down) {
        if (member != m_toggle)
            return;
        if (down)
            show();
        else
            close();
    });

    m_append = toolbar.addAction(QIcon(u":/icons/toolbar/append-to-scratch-pad.svg"_s),
                                 u"Append To Scratch Pad"_s, this, &ScratchPad::append);
    m_append->setObjectName(m_append->text());
    m_append->setStatusTip(m_append->text());

    m_strip = new QWidget;
    m_strip->setObjectName(u"ScratchPadStrip"_s);
    auto *row = new QHBoxLayout(m_strip);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(new QLabel(name, m_strip));
    auto *clear = new QPushButton(u"Clear "_s, m_strip);
    clear->setAccessibleName(u"Clear "_s);
    clear->setAccessibleDescription(u"Empties the scratch pad"_s);
    clear->setStatusTip(u"Empty the scratch pad"_s);
    connect(clear, &QPushButton::clicked, this,
            [this] { m_panes.pane(PaneStack::Page::ScratchPad)->setText(QString()); });
    row->addWidget(clear);
    row->addStretch(1);
    m_strip->hide();

    // Whatever else brings another pane (a function chosen meanwhile) takes the strip along;
    // the delimiter pane holds the text, which must not be copied aside meanwhile.
    connect(&m_panes, &PaneStack::pageChanged, this, [this](PaneStack::Page page) {
        m_strip->setVisible(page == PaneStack::Page::ScratchPad);
        m_toggle->setEnabled(page != PaneStack::Page::Delimiter);
        m_append->setEnabled(page != PaneStack::Page::Delimiter);
    });
}

void ScratchPad::show()
{
    m_panes.showPage(PaneStack::Page::ScratchPad);
    m_functions.setAside();
    m_panes.pane(PaneStack::Page::ScratchPad)->setFocus();
}

void ScratchPad::close()
{
    m_panes.showPage(PaneStack::Page::WorkArea);
    m_functions.bringBack();
    m_panes.workArea()->setFocus();
}

void ScratchPad::append()
{
    TextPane *pad = m_panes.pane(PaneStack::Page::ScratchPad);
    const QStringList added = m_panes.workArea()->lines();
    if (added.isEmpty())
        return;
    pad->setLines(pad->lines() + added);
}

} // namespace plintex
