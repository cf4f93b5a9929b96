#pragma once

#include <QStackedWidget>

namespace plintex {

class TextPane;

/// The panes that take the client area in turn: the work area, the scratch pad and the pane of
/// "Insert Spread Sheet Delimiter". It holds the two rules of which pane an action acts on:
/// the run target and the visible pane.
class PaneStack : public QStackedWidget {
    Q_OBJECT
public:
    enum class Page { WorkArea, ScratchPad, Delimiter };

    explicit PaneStack(QWidget *parent = nullptr);

    TextPane *pane(Page page) const;
    TextPane *workArea() const { return pane(Page::WorkArea); }
    Page page() const { return Page(currentIndex()); }
    void showPage(Page page);

    /// The pane a run, Undo, To Top, To Bottom, the caret record, the caret menu and Clear act
    /// on: the delimiter pane while it shows, otherwise the work area. No function runs on the
    /// scratch pad.
    TextPane *runTarget() const;
    /// The pane the clipboard and font buttons act on: the one shown.
    TextPane *visiblePane() const;

    /// Copies the work area's text and caret into the delimiter pane and shows that pane, until
    /// showWorkArea() takes them back.
    void handOverToDelimiter();
    bool isHandedOver() const { return m_handedOver; }
    /// Shows the work area, first taking back the text and caret that were handed over.
    void showWorkArea();

    /// Caret to the start of a line of the run target, scrolled into view.
    void goToLine(qsizetype lineIndex);
    /// Caret to the start or the end of the run target's text, which takes the focus.
    void toTop();
    void toBottom();

Q_SIGNALS:
    void pageChanged(plintex::PaneStack::Page page);

private:
    bool m_handedOver = false;
    bool m_delimiterEdited = false;
};

} // namespace plintex
