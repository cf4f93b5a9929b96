#include "ui/controls/historycombobox.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QMenu>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

// Qt names an editable drop-down by the text it holds on this platform, so a screen reader
// would read "999" for a field labelled "Replace this data:". Its name stays its label; the
// text it holds is its value.
class HistoryComboAccessible : public QAccessibleWidget {
public:
    explicit HistoryComboAccessible(HistoryComboBox *box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        const auto *box = static_cast<const HistoryComboBox *>(widget());
        if (t == QAccessible::Value)
            return box->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.expandable = true;
        s.expanded = static_cast<const HistoryComboBox *>(widget())->view()->isVisible();
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &name) override
    {
        if (name == showMenuAction())
            static_cast<HistoryComboBox *>(widget())->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface *historyComboFactory(const QString &, QObject *object)
{
    if (auto *box = qobject_cast<HistoryComboBox *>(object))
        return new HistoryComboAccessible(box);
    return nullptr;
}

} // namespace

HistoryComboBox::HistoryComboBox(int historyNumber, QWidget *parent)
    : QComboBox(parent), m_number(historyNumber)
{
    static const bool accessible = (QAccessible::installFactory(historyComboFactory), true);
    Q_UNUSED(accessible);
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
