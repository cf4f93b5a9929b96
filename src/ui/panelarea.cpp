#include "ui/panelarea.h"

#include "ui/flowlayout.h"

namespace plintex {

PanelArea::PanelArea(QWidget *parent) : QWidget(parent), m_flow(new FlowLayout(this, 0, 0))
{
    m_flow->setContentsMargins(0, 0, 0, 0);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void PanelArea::addPanel(QWidget *panel)
{
    m_flow->add(panel);
    panel->hide();
}

void PanelArea::addStrip(QWidget *strip)
{
    m_flow->add(strip);
}

void PanelArea::contentChanged()
{
    m_flow->invalidate();
    updateGeometry();
}

} // namespace plintex
