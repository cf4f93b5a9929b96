#pragma once

#include <QStackedWidget>

namespace plintex {

class TextPane;

/// The panes that take the client area in turn: the work area, the scratch pad and the pane of
/// "Insert Spread Sheet Delimiter". The one shown is the active pane, which Undo, To Top, To
/// Bottom, the clipboard buttons and the caret menu act on.
class PaneStack : public QStackedWidget {
    Q_OBJECT
public:
    enum class Page { WorkArea, ScratchPad, Delimiter };

    explicit PaneStack(QWidget *parent = nullptr);

    TextPane *pane(Page page) const;
    TextPane *workArea() const { return pane(Page::WorkArea); }
    void showPage(Page page);
    TextPane *activePane() const;

    /// Caret to the start of a line of the work area, scrolled into view.
    void goToLine(qsizetype lineIndex);
    /// Caret to the start or the end of the active pane's text, which takes the focus.
    void toTop();
    void toBottom();
};

} // namespace plintex
