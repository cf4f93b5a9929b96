#include "ui/controls/multilinefield.h"

namespace plintex {

MultiLineField::MultiLineField(QWidget *parent) : TextPane(parent) {}

QSize MultiLineField::sizeHint() const
{
    return {200, rowHeight() * 3 + 8};
}

bool MultiLineField::focusNextPrevChild(bool next)
{
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void MultiLineField::mouseDoubleClickEvent(QMouseEvent *)
{
    selectAll();
}

} // namespace plintex
