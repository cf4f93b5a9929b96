#include "ui/caretmenu.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace plintex {
namespace {

QToolButton *menuButton(QAction *action, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

} // namespace

CaretMenu::CaretMenu(const CaretMenuLayout &layout, QWidget *parent) : QMenu(parent)
{
    for (const CaretMenuItem &item : layout.items) {
        auto *action = new QAction(
            item.caption.isEmpty() ? defaultMenuCaption(item.entry) : item.caption, this);
        action->setEnabled(!item.greyed);
        const MenuEntry entry = item.entry;
        connect(action, &QAction::triggered, this, [this, entry] {
            close();
            Q_EMIT entryChosen(entry);
        });
        m_actions.insert(entry, action);
    }

    const bool breakBeforeRows =
        layout.columnBreak && m_actions.contains(MenuEntry::BeginRow) &&
        (m_actions.contains(MenuEntry::BeginColumn) || m_actions.contains(MenuEntry::EndColumn));
    if (!breakBeforeRows) {
        for (const CaretMenuItem &item : layout.items)
            addAction(m_actions[item.entry]);
        return;
    }

    // Menus have no column break of their own: lay the two columns out in one widget, the
    // row entries after a vertical bar.
    auto *columns = new QWidget(this);
    auto *row = new QHBoxLayout(columns);
    row->setContentsMargins(2, 2, 2, 2);
    auto *left = new QVBoxLayout;
    auto *right = new QVBoxLayout;
    bool pastBreak = false;
    for (const CaretMenuItem &item : layout.items) {
        pastBreak = pastBreak || item.entry == MenuEntry::BeginRow;
        (pastBreak ? right : left)->addWidget(menuButton(m_actions[item.entry], columns));
    }
    left->addStretch(1);
    right->addStretch(1);
    auto *bar = new QFrame(columns);
    bar->setFrameShape(QFrame::VLine);
    row->addLayout(left);
    row->addWidget(bar);
    row->addLayout(right);
    auto *holder = new QWidgetAction(this);
    holder->setDefaultWidget(columns);
    addAction(holder);
}

QAction *CaretMenu::entryAction(MenuEntry entry) const
{
    return m_actions.value(entry);
}

} // namespace plintex
