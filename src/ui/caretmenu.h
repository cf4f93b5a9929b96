#pragma once

#include "core/catalogue.h"

#include <QMenu>

class QToolButton;
class QWidgetAction;

namespace plintex {

/// The caret-to-parameter menu of the selected function: its entries with their captions, in
/// two columns when the function's layout asks for the break before "Begin Row".
class CaretMenu : public QMenu {
    Q_OBJECT
public:
    CaretMenu(const CaretMenuLayout &layout, QWidget *parent = nullptr);

    /// The entry's action, or nullptr when the function does not show it.
    QAction *entryAction(MenuEntry entry) const;

Q_SIGNALS:
    void entryChosen(plintex::MenuEntry entry);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    int entryInColumn(bool right) const;
    void highlight(int index);

    /// An enabled entry of the two columns, in the order the keys walk them.
    struct ColumnEntry {
        QToolButton *button;
        bool rightColumn;
    };
    QHash<MenuEntry, QAction *> m_actions;
    QWidgetAction *m_holder = nullptr;
    QList<ColumnEntry> m_entries;
    int m_current = -1;
};

} // namespace plintex
