#include "ui/panelarea.h"

#include <QScrollBar>

namespace plintex {

PanelArea::PanelArea(QWidget *parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

QSize PanelArea::sizeHint() const
{
    if (!widget())
        return {0, 0};
    const QSize content = widget()->sizeHint();
    const bool scrolls = content.width() > viewport()->width();
    return {0, content.height() + (scrolls ? horizontalScrollBar()->sizeHint().height() : 0)};
}

QSize PanelArea::minimumSizeHint() const
{
    return sizeHint();
}

void PanelArea::contentChanged()
{
    if (widget())
        widget()->adjustSize();
    setFixedHeight(sizeHint().height());
    updateGeometry();
}

void PanelArea::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    // Whether the scroll bar is needed follows the width.
    const int height = sizeHint().height();
    if (height != this->height())
        setFixedHeight(height);
}

} // namespace plintex
