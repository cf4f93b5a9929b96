#pragma once

#include <QDialog>

#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolBar;

namespace plintex {

class Dialogs;
class MainWindow;
class TextPane;

/// The "Replace Special" window: replaces a typed text in the pane of "Insert Spread Sheet
/// Delimiter" by a special character (TAB, line feed, any byte's character), "Quantity:" times,
/// or with "Reverse" that character by the typed text. Its searches are exact and always start
/// at the top of the pane. Opening it selects that function first; selecting any function
/// closes it.
class ReplaceSpecialWindow : public QDialog {
    Q_OBJECT
public:
    ReplaceSpecialWindow(MainWindow &window, Dialogs &dialogs, QToolBar &toolbar);

    QAction *openAction() const { return m_open; }
    QLineEdit *typedField() const { return m_typed; }
    QComboBox *characterList() const { return m_list; }
    QSpinBox *quantity() const { return m_quantity; }
    QCheckBox *reverse() const { return m_reverse; }

    /// The toolbar button: selects "Insert Spread Sheet Delimiter" unless it is selected (it
    /// asks first), takes the undo snapshot and shows the window once its pane is shown.
    void start();
    void replaceOne();
    void replaceAll();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Texts {
        QString find;
        QString replacement;
    };
    /// What the buttons look for and put in, or nothing after saying why.
    std::optional<Texts> texts();
    void placeFields(bool reversed);
    TextPane &pane() const;

    MainWindow &m_window;
    Dialogs &m_dialogs;
    QAction *m_open;
    QGridLayout *m_grid;
    QLineEdit *m_typed;
    QComboBox *m_list;
    QLabel *m_quantityLabel;
    QSpinBox *m_quantity;
    QCheckBox *m_reverse;
};

} // namespace plintex
