#include "ui/controls/historycombobox.h"

#include <QLineEdit>
#include <QMenu>

using namespace Qt::StringLiterals;

namespace plintex {

HistoryComboBox::HistoryComboBox(int historyNumber, QWidget *parent)
    : QComboBox(parent), m_number(historyNumber)
{
    setObjectName(u"ComboBox"_s + QString::number(historyNumber));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(10);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(18);
    // The text is read exactly as typed: no completion may change it behind the user's back.
    setCompleter(nullptr);
    setDuplicatesEnabled(true);
    connect(this, &QComboBox::editTextChanged, this, [this](const QString &text) {
        m_chosen = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    });
    lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lineEdit(), &QWidget::customContextMenuRequested, this, &HistoryComboBox::showEditMenu);
}

QStringList HistoryComboBox::entries() const
{
    QStringList list;
    for (int i = 0; i < count(); ++i)
        list += itemText(i);
    return list;
}

void HistoryComboBox::setEntries(const QStringList &entries)
{
    const QString text = currentText();
    const QSignalBlocker blocker(this);
    clear();
    addItems(entries);
    setEditText(text);
    m_chosen = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void HistoryComboBox::showEditMenu(const QPoint &pos)
{
    QMenu menu(this);
    menu.addAction(u"Delete from list"_s, this, &HistoryComboBox::deleteFromListRequested);
    menu.exec(lineEdit()->mapToGlobal(pos));
}

} // namespace plintex
