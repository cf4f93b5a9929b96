#pragma once

#include "core/catalogue.h"

#include <QMenu>

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

private:
    QHash<MenuEntry, QAction *> m_actions;
};

} // namespace plintex
