#pragma once

#include <QDialog>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class QToolButton;

namespace plintex {
namespace search {
class TextFinder;
}

class Dialogs;
class MainWindow;

/// The "Find / Replace" window: finds a text in the work area forward from the caret, case
/// ignored unless "Match Case", never wrapping round, and replaces hits one at a time or all at
/// once. Non-modal over the main window; opened by "Find/Replace" (Ctrl+F), and F3 finds the
/// next hit. While it is open "Replace with Special Character" cannot be started.
class FindReplaceWindow : public QDialog {
    Q_OBJECT
public:
    FindReplaceWindow(MainWindow &window, Dialogs &dialogs, QToolBar &toolbar,
                      QAction &replaceSpecial);

    QAction *openAction() const { return m_open; }
    QAction *findNextAction() const { return m_findNext; }
    QLineEdit *findField() const { return m_find; }
    QLineEdit *replaceField() const { return m_replace; }
    QCheckBox *replaceBox() const { return m_replaceBox; }
    QCheckBox *matchCase() const { return m_matchCase; }
    QPushButton *button(const QString &caption) const;
    QToolButton *topButton() const { return m_top; }
    QLabel *notFoundLabel() const { return m_notFound; }

    /// The toolbar button: resets the window's functions, takes the undo snapshot, puts the
    /// caret at the top and shows the window.
    void start();
    void find();
    void replace();
    void replaceAll();
    void toTop();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    enum class Mode { Find, Replace, ReplaceAll };
    void search(Mode mode);
    void replaceEvery(const search::TextFinder &finder);
    void enableReplacing(bool enabled);
    void findNextKey();

    MainWindow &m_window;
    Dialogs &m_dialogs;
    QAction &m_replaceSpecial;
    QAction *m_open;
    QAction *m_findNext;
    QLineEdit *m_find;
    QLineEdit *m_replace;
    QLabel *m_replaceLabel;
    QCheckBox *m_replaceBox;
    QCheckBox *m_matchCase;
    QList<QPushButton *> m_buttons;
    QToolButton *m_top;
    QLabel *m_notFound;
    bool m_busy = false;
};

} // namespace plintex
