#include "ui/windows/viewbuttons.h"

#include "ui/panestack.h"
#include "ui/textpane.h"
#include "ui/viewsettings.h"

#include <QAction>
#include <QFontDatabase>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace plintex {

ViewButtons::ViewButtons(PaneStack &panes, ViewSettings &view, QToolBar &toolbar)
    : QObject(&toolbar), m_panes(panes), m_view(view)
{
    const struct {
        QString name;
        QString icon;
        void (ViewButtons::*slot)();
    } buttons[] = {
        {u"Background color"_s, u"background-color"_s, &ViewButtons::cycleBackground},
        {u"Copy To Clipboard"_s, u"copy-to-clipboard"_s, &ViewButtons::copy},
        {u"Paste From Clipboard"_s, u"paste-from-clipboard"_s, &ViewButtons::paste},
        {u"Convert to Courier Font"_s, u"courier-font"_s, &ViewButtons::courierFont},
    };
    for (const auto &b : buttons) {
        QAction *a = toolbar.addAction(QIcon(u":/icons/toolbar/"_s + b.icon + u".svg"_s), b.name,
                                       this, b.slot);
        a->setObjectName(b.name);
        a->setStatusTip(b.name);
        m_actions.append(a);
    }
}

QAction *ViewButtons::action(Button button) const
{
    return m_actions.value(int(button));
}

void ViewButtons::cycleBackground()
{
    m_view.applyBackground((m_view.colourIndex() + 1) % 4);
}

void ViewButtons::copy()
{
    TextPane *pane = m_panes.visiblePane();
    if (pane->store().isEmpty())
        return;
    pane->selectAll();
    pane->copy();
}

void ViewButtons::paste()
{
    m_panes.visiblePane()->paste();
}

void ViewButtons::courierFont()
{
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(m_view.fontSize());
    m_panes.visiblePane()->setFont(fixed);
}

} // namespace plintex
