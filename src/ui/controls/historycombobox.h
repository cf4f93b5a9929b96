#pragma once

#include <QComboBox>

class QMenu;

namespace plintex {

/// An editable drop-down that remembers the earlier values of a text parameter in comboN.plx.
/// It shows up to ten entries in list order, and its pop-up menu offers "Delete from list".
class HistoryComboBox : public QComboBox {
    Q_OBJECT
public:
    HistoryComboBox(int historyNumber, QWidget *parent = nullptr);

    int historyNumber() const { return m_number; }
    QStringList entries() const;
    void setEntries(const QStringList &entries);

    /// The list index of the edit text, -1 when it is not an entry; follows every text change.
    int chosenIndex() const { return m_chosen; }

Q_SIGNALS:
    void deleteFromListRequested();

private:
    void showEditMenu(const QPoint &pos);

    int m_number;
    int m_chosen = -1;
};

} // namespace plintex
