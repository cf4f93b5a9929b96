#pragma once

#include "core/catalogue.h"

#include <QHash>
#include <QWidget>

#include <functional>

class QComboBox;
class QToolButton;

namespace plintex {

/// The 34 function buttons: one group in which at most one button is down and all may be up
/// (clicking the pressed button raises it). Hovering over a button shows its name in the
/// function drop-down's edit field while hints are on and nothing is pressed.
class FunctionBar : public QWidget {
    Q_OBJECT
public:
    FunctionBar(QComboBox &dropDown, QWidget *parent = nullptr);

    QToolButton *button(int functionNumber) const { return m_buttons.value(functionNumber); }
    /// Presses one button (without running its click) and raises the others.
    void press(int functionNumber);
    /// Raises every button, or every button but the one given.
    void raiseAll(int exceptFunctionNumber = -1);
    bool anyPressed() const;

    /// Decides whether hover names show: hints on and no button of the window pressed.
    void setHoverAllowed(std::function<bool()> allowed) { m_hoverAllowed = std::move(allowed); }
    /// Decides whether a click may change the group's pressed button; a refused click leaves
    /// every button as it was.
    void setChangeAllowed(std::function<bool()> allowed) { m_changeAllowed = std::move(allowed); }
    /// A button outside the bar that belongs to its group: pressing it raises the function
    /// buttons, pressing a function button raises it. Its own click handler runs after that.
    void addToGroup(QToolButton *member);

Q_SIGNALS:
    void clicked(const plintex::FunctionEntry &function);
    /// A group member was clicked, and the click was allowed.
    void memberClicked(QToolButton *member, bool checked);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QComboBox &m_dropDown;
    QHash<int, QToolButton *> m_buttons;
    QHash<QObject *, const FunctionEntry *> m_functionOf;
    std::function<bool()> m_hoverAllowed;
    std::function<bool()> m_changeAllowed;
    QList<QToolButton *> m_members;
};

} // namespace plintex
