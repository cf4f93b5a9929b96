#pragma once

#include "ui/textpane.h"

namespace plintex {

/// A multi-line text parameter: the work area's own text pane, so that a block of a million
/// lines is pasted, held and read as cheaply as the text itself. Tab moves on to the next
/// control; a double click selects all its text.
class MultiLineField : public TextPane {
    Q_OBJECT
public:
    explicit MultiLineField(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool focusNextPrevChild(bool next) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

} // namespace plintex
