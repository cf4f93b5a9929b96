#include "ui/panel/paramcontrol.h"

#include "ui/controls/historycombobox.h"
#include "ui/controls/multilinefield.h"
#include "ui/controls/numberfield.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

class NumberControl final : public ParamControl {
public:
    NumberControl(const Parameter &param, QWidget *parent) : ParamControl(param)
    {
        m_edit = new NumberField(parent);
        m_edit->setSigned(param.kind == ParamKind::SignedNumber);
        m_edit->setDoubleClickValue(param.doubleClickValue);
        m_edit->setFixedWidth(m_edit->fontMetrics().horizontalAdvance(u"0000000"_s) + 8);
        addLabelled(m_edit);
    }
    QString value() const override { return m_edit->text(); }
    void setValue(const QString &value) override { m_edit->setText(value); }

private:
    NumberField *m_edit;
};

class TextControl final : public ParamControl {
public:
    TextControl(const Parameter &param, QWidget *parent) : ParamControl(param)
    {
        m_edit = new QLineEdit(parent);
        addLabelled(m_edit);
    }
    QString value() const override { return m_edit->text(); }
    void setValue(const QString &value) override { m_edit->setText(value); }

private:
    QLineEdit *m_edit;
};

class HistoryControl : public ParamControl {
public:
    HistoryControl(const Parameter &param, QWidget *parent) : ParamControl(param)
    {
        m_box = new HistoryComboBox(param.history, parent);
        addLabelled(m_box);
        m_box->lineEdit()->setAccessibleName(param.label);
    }
    QString value() const override { return m_box->currentText(); }
    void setValue(const QString &value) override { m_box->setEditText(value); }
    HistoryComboBox *historyBox() const override { return m_box; }

private:
    HistoryComboBox *m_box;
};

/// A field the run writes into (a total): a history drop-down like any other, whose newest
/// entry is the last result.
class ResultControl final : public HistoryControl {
public:
    using HistoryControl::HistoryControl;
};

class MultiLineControl final : public ParamControl {
public:
    MultiLineControl(const Parameter &param, QWidget *parent) : ParamControl(param)
    {
        m_edit = new MultiLineField(parent);
        addLabelled(m_edit);
    }
    QString value() const override { return m_edit->text(); }
    void setValue(const QString &value) override { m_edit->setText(value); }

private:
    MultiLineField *m_edit;
};

class ChoiceControl final : public ParamControl {
public:
    ChoiceControl(const Parameter &param, QWidget *parent) : ParamControl(param)
    {
        m_group = new QButtonGroup(this);
        if (!param.label.isEmpty())
            addWidget(new QLabel(param.label, parent));
        for (const ChoiceItem &choice : param.choices) {
            auto *radio = new QRadioButton(choice.caption, parent);
            radio->setAccessibleName(choice.caption);
            radio->setProperty("choiceKey", choice.key);
            m_group->addButton(radio);
            addWidget(radio);
        }
        m_field = m_widgets.value(param.label.isEmpty() ? 0 : 1);
    }
    QList<QWidget *> focusChain() const override
    {
        QList<QWidget *> chain;
        for (QAbstractButton *b : m_group->buttons())
            chain.append(b);
        return chain;
    }
    QString value() const override
    {
        const QAbstractButton *checked = m_group->checkedButton();
        return checked ? checked->property("choiceKey").toString() : m_param.defaultValue;
    }
    void setValue(const QString &value) override
    {
        for (QAbstractButton *b : m_group->buttons())
            b->setChecked(b->property("choiceKey").toString() == value);
    }
    void setUnlocked(bool unlocked) override
    {
        for (QAbstractButton *b : m_group->buttons())
            b->setEnabled(unlocked);
    }

private:
    QButtonGroup *m_group;
};

class FlagControl final : public ParamControl {
public:
    FlagControl(const Parameter &param, QWidget *parent) : ParamControl(param)
    {
        m_box = new QCheckBox(param.label, parent);
        m_box->setAccessibleName(param.label);
        m_box->setStatusTip(param.hint);
        addWidget(m_box);
        m_field = m_box;
    }
    QString value() const override { return m_box->isChecked() ? u"1"_s : u"0"_s; }
    void setValue(const QString &value) override { m_box->setChecked(value == u"1"_s); }
    QCheckBox *checkBox() const override { return m_box; }

private:
    QCheckBox *m_box;
};

class FileNameControl final : public ParamControl {
public:
    FileNameControl(const Parameter &param, QWidget *parent) : ParamControl(param)
    {
        m_edit = new QLineEdit(parent);
        m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(u'x') * 24);
        // Filled only by its browse button: typing would give names no dialog checked.
        m_edit->setReadOnly(true);
        addLabelled(m_edit);
        auto *browse = new QToolButton(parent);
        browse->setText(u"..."_s);
        browse->setAccessibleName(u"Browse for "_s + param.label);
        connect(browse, &QToolButton::clicked, this, &ParamControl::browseRequested);
        addWidget(browse);
    }
    QList<QWidget *> focusChain() const override { return {m_edit, m_widgets.back()}; }
    QString value() const override { return m_edit->text(); }
    void setValue(const QString &value) override { m_edit->setText(value); }

private:
    QLineEdit *m_edit;
};

/// A drop-down of fixed entries: editable, its text is what the run reads; list-only, an
/// entry must be chosen and keys are ignored.
class FixedListControl final : public ParamControl {
public:
    FixedListControl(const Parameter &param, QWidget *parent) : ParamControl(param)
    {
        m_box = new QComboBox(parent);
        m_box->setEditable(!param.listOnly);
        m_box->addItems(param.entries);
        m_box->setMaxVisibleItems(20);
        m_box->setMinimumContentsLength(12);
        m_box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        addLabelled(m_box);
        setValue(param.defaultValue);
        if (param.listOnly)
            m_box->installEventFilter(this);
    }
    // A list-only drop-down is chosen from with the mouse: keys would pick entries unseen.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_box &&
            (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
            return true;
        return ParamControl::eventFilter(watched, event);
    }
    QString value() const override { return m_box->currentText(); }
    void setValue(const QString &value) override
    {
        const int index = m_box->findText(value, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        m_box->setCurrentIndex(index);
        if (m_box->isEditable())
            m_box->setEditText(value);
    }

private:
    QComboBox *m_box;
};

} // namespace

std::unique_ptr<ParamControl> ParamControl::create(const Parameter &param, QWidget *parent)
{
    switch (param.kind) {
    case ParamKind::Number:
    case ParamKind::SignedNumber:
        return std::make_unique<NumberControl>(param, parent);
    case ParamKind::Text:
        return std::make_unique<TextControl>(param, parent);
    case ParamKind::HistoryText:
        return std::make_unique<HistoryControl>(param, parent);
    case ParamKind::MultiLineText:
        return std::make_unique<MultiLineControl>(param, parent);
    case ParamKind::Choice:
        return std::make_unique<ChoiceControl>(param, parent);
    case ParamKind::Flag:
        return std::make_unique<FlagControl>(param, parent);
    case ParamKind::FileName:
        return std::make_unique<FileNameControl>(param, parent);
    case ParamKind::FixedList:
        return std::make_unique<FixedListControl>(param, parent);
    case ParamKind::Result:
        return std::make_unique<ResultControl>(param, parent);
    }
    return nullptr;
}

QList<QWidget *> ParamControl::focusChain() const
{
    return {m_field};
}

void ParamControl::setUnlocked(bool unlocked)
{
    for (QWidget *w : std::as_const(m_widgets))
        w->setEnabled(unlocked);
}

void ParamControl::addLabelled(QWidget *field)
{
    if (!m_param.label.isEmpty()) {
        auto *label = new QLabel(m_param.label, field->parentWidget());
        label->setBuddy(field);
        addWidget(label);
    }
    field->setAccessibleName(m_param.label);
    field->setStatusTip(m_param.hint);
    if (!m_param.hint.isEmpty())
        field->setToolTip(m_param.hint);
    addWidget(field);
    m_field = field;
}

} // namespace plintex
