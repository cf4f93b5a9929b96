#include "ui/controls/multilinefield.h"

namespace plintex {

MultiLineField::MultiLineField(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
}

QSize MultiLineField::sizeHint() const
{
    return {200, fontMetrics().lineSpacing() * 3 + 8};
}

void MultiLineField::mouseDoubleClickEvent(QMouseEvent *)
{
    selectAll();
}

} // namespace plintex
