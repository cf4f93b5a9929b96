#pragma once

#include <QFrame>

class QAction;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolBar;

namespace plintex {

class Dialogs;

/// The floating panel over the window that shows the selected function's example: its title
/// and a Before/After pair, from the function's catalogue entry. It follows the selection while
/// its toggle is down and closes when no function is selected. The toolbar's second "Clear",
/// which empties the visible parameter panel's multi-line fields, comes with it.
class ExamplesPanel : public QFrame {
    Q_OBJECT
public:
    ExamplesPanel(QComboBox &dropDown, Dialogs &dialogs, QToolBar &toolbar, QWidget &window);

    QAction *toggle() const { return m_toggle; }
    QAction *clearFieldsAction() const { return m_clearFields; }
    QLabel *title() const { return m_title; }
    QPlainTextEdit *beforePane() const { return m_before; }
    QPlainTextEdit *afterPane() const { return m_after; }
    QPushButton *closeButton() const { return m_close; }

    /// Shows the example of the function selected now, or closes; `clicked` when the toggle
    /// itself was pressed, which also puts the pointer onto "Close".
    void refresh(bool clicked = false);

Q_SIGNALS:
    void clearFieldsRequested();

private:
    void close();
    void place();

    QComboBox &m_dropDown;
    Dialogs &m_dialogs;
    QToolBar &m_toolbar;
    QWidget &m_window;
    QAction *m_toggle;
    QAction *m_clearFields;
    QLabel *m_title;
    QPlainTextEdit *m_before;
    QPlainTextEdit *m_after;
    QPushButton *m_close;
};

} // namespace plintex
