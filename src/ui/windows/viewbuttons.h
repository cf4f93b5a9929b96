#pragma once

#include <QObject>

class QAction;
class QToolBar;

namespace plintex {

class PaneStack;
class ViewSettings;

/// The toolbar buttons that change how the text is seen or move it through the clipboard:
/// "Background color", "Copy To Clipboard", "Paste From Clipboard" and "Convert to Courier
/// Font". The clipboard and font buttons act on the visible pane.
class ViewButtons : public QObject {
    Q_OBJECT
public:
    enum class Button { Background, Copy, Paste, CourierFont };

    ViewButtons(PaneStack &panes, ViewSettings &view, QToolBar &toolbar);

    QAction *action(Button button) const;

    /// The next of the four background colours, on every text field.
    void cycleBackground();
    /// The visible pane's whole text to the clipboard, left selected; an empty pane puts
    /// nothing new there.
    void copy();
    void paste();
    /// The system's fixed-pitch font, at the panes' size, for the visible pane.
    void courierFont();

private:
    PaneStack &m_panes;
    ViewSettings &m_view;
    QList<QAction *> m_actions;
};

} // namespace plintex
