#include "ui/caretmenu.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
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
    // The menu keeps the keyboard and moves through the entries itself.
    button->setFocusPolicy(Qt::NoFocus);
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
        QToolButton *button = menuButton(m_actions[item.entry], columns);
        (pastBreak ? right : left)->addWidget(button);
        if (!item.greyed)
            m_entries.append({button, pastBreak});
    }
    left->addStretch(1);
    right->addStretch(1);
    auto *bar = new QFrame(columns);
    bar->setFrameShape(QFrame::VLine);
    row->addLayout(left);
    row->addWidget(bar);
    row->addLayout(right);
    m_holder = new QWidgetAction(this);
    m_holder->setDefaultWidget(columns);
    addAction(m_holder);
}

// The two columns are one item of the menu: the keys walk through their entries here, and
// hand over to the menu's own items past either end.
void CaretMenu::keyPressEvent(QKeyEvent *event)
{
    if (m_entries.isEmpty()) {
        QMenu::keyPressEvent(event);
        return;
    }
    const bool inColumns = activeAction() == m_holder && m_current >= 0;
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Tab:
        step = 1;
        break;
    case Qt::Key_Up:
    case Qt::Key_Backtab:
        step = -1;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (inColumns) {
            highlight(entryInColumn(event->key() == Qt::Key_Right));
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (inColumns) {
            m_entries[m_current].button->defaultAction()->trigger();
            return;
        }
        break;
    default:
        break;
    }
    if (inColumns && step != 0) {
        const qsizetype next = m_current + step;
        if (next >= 0 && next < m_entries.size()) {
            highlight(int(next));
            return;
        }
    }
    highlight(-1);
    QMenu::keyPressEvent(event);
    if (activeAction() == m_holder)
        highlight(step < 0 ? int(m_entries.size()) - 1 : 0);
}

// The entry of the other column nearest the current one's place in its own column.
int CaretMenu::entryInColumn(bool right) const
{
    const bool fromRight = m_entries[m_current].rightColumn;
    if (fromRight == right)
        return m_current;
    int place = 0;
    for (int i = 0; i < m_current; ++i)
        place += m_entries[i].rightColumn == fromRight;
    int found = -1;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].rightColumn != right)
            continue;
        found = i;
        if (place-- == 0)
            break;
    }
    return found < 0 ? m_current : found;
}

void CaretMenu::highlight(int index)
{
    m_current = index;
    // The entry the keys stand on is drawn raised, as the pointer would show it.
    for (int i = 0; i < m_entries.size(); ++i)
        m_entries[i].button->setAutoRaise(i != index);
}

QAction *CaretMenu::entryAction(MenuEntry entry) const
{
    return m_actions.value(entry);
}

} // namespace plintex
