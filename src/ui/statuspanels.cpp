#include "ui/statuspanels.h"

#include <QLabel>

using namespace Qt::StringLiterals;

namespace plintex {

StatusPanels::StatusPanels(QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    const int widths[] = {170, 90, 90, 120, 120, 170};
    for (const int width : widths) {
        auto *label = new QLabel(this);
        // The design width, widened as far as a long number needs: a count is never cut.
        label->setMinimumWidth(width);
        label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        addWidget(label);
        m_panels.append(label);
    }
    setCaret(0, 0);
    resetCounts();
}

QString StatusPanels::panelText(int index) const
{
    return m_panels.at(index)->text();
}

void StatusPanels::setHint(const QString &hint)
{
    m_panels[0]->setText(hint);
}

void StatusPanels::setCaret(qsizetype row0, qsizetype column0)
{
    m_panels[1]->setText(u"Row = "_s + QString::number(row0 + 1));
    m_panels[2]->setText(u"Col = "_s + QString::number(column0 + 1));
}

void StatusPanels::resetCounts()
{
    m_panels[3]->setText(u"Total Chr = ?"_s);
    m_panels[4]->setText(u"Total Blk = ?"_s);
    resetCountToCursor();
}

void StatusPanels::setCount(int index, const QString &text)
{
    if (index >= 0 && index < 3)
        m_panels[3 + index]->setText(text);
}

void StatusPanels::resetCountToCursor()
{
    m_panels[5]->setText(u"Total Chr to Cursor = ?"_s);
}

} // namespace plintex
