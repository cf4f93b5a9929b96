#pragma once

#include <QObject>

class QAction;
class QToolBar;
class QToolButton;
class QWidget;

namespace plintex {

class FunctionBar;
class FunctionController;
class PaneStack;

/// The scratch pad: a second pane in the work area's place where text is kept aside. Its
/// toggle belongs to the function buttons' group; "Append To Scratch Pad" copies the work
/// area's text to its end; its strip's "Clear " empties it. No function runs on it.
class ScratchPad : public QObject {
    Q_OBJECT
public:
    ScratchPad(PaneStack &panes, FunctionBar &bar, FunctionController &functions,
               QToolBar &toolbar);

    QToolButton *toggle() const { return m_toggle; }
    QAction *appendAction() const { return m_append; }
    /// The strip shown over the pad while it is shown: its caption and "Clear ".
    QWidget *strip() const { return m_strip; }

    void append();

private:
    void show();
    void close();

    PaneStack &m_panes;
    FunctionController &m_functions;
    QToolButton *m_toggle;
    QAction *m_append;
    QWidget *m_strip;
};

} // namespace plintex
