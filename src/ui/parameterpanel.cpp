#include "ui/parameterpanel.h"

#include "ui/controls/historycombobox.h"
#include "ui/controls/multilinefield.h"
#include "ui/controls/numberfield.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace plintex {

ParameterPanel::ParameterPanel(const FunctionSpec &function, QWidget *parent)
    : QFrame(parent), m_function(function)
{
    setObjectName(u"Panel"_s + QString::number(function.number));
    setAccessibleName(function.name);
    setFrameShape(QFrame::StyledPanel);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);

    for (const RunButtonSpec &b : function.body.runButtons) {
        auto *button = new QToolButton(this);
        if (b.caption.isEmpty()) {
            button->setIcon(QIcon(u":/icons/toolbar/run.svg"_s));
            button->setAccessibleName(u"Run"_s);
            button->setStatusTip(u"Run "_s + function.name);
            button->setToolTip(u"Run"_s);
        } else {
            button->setText(b.caption);
            button->setAccessibleName(b.caption);
        }
        connect(button, &QToolButton::clicked, this,
                [this, key = b.key] { Q_EMIT runRequested(key); });
        layout->addWidget(button);
        m_runButtons.insert(b.key, button);
    }
    for (const ParamSpec &p : function.body.params)
        addParam(p);
    layout->addStretch(1);
    resetToDefaults();
}

void ParameterPanel::addParam(const ParamSpec &param)
{
    auto *layout = static_cast<QHBoxLayout *>(this->layout());
    auto addLabel = [&](QWidget *buddy) {
        auto *label = new QLabel(param.label, this);
        label->setBuddy(buddy);
        layout->addWidget(label);
    };
    QWidget *control = nullptr;
    switch (param.kind) {
    case ParamKind::Number: {
        auto *field = new NumberField(this);
        field->setDoubleClickValue(param.doubleClickValue);
        field->setFixedWidth(fontMetrics().horizontalAdvance(u"0000000"_s) + 8);
        control = field;
        addLabel(field);
        break;
    }
    case ParamKind::HistoryText:
        control = new HistoryComboBox(param.history, this);
        addLabel(control);
        break;
    case ParamKind::Text:
        control = new QLineEdit(this);
        addLabel(control);
        break;
    case ParamKind::MultiLineText:
        control = new MultiLineField(this);
        addLabel(control);
        break;
    case ParamKind::Choice: {
        auto *group = new QButtonGroup(this);
        for (const QString &choice : param.choices) {
            auto *radio = new QRadioButton(choice, this);
            radio->setAccessibleName(choice);
            group->addButton(radio);
            layout->addWidget(radio);
        }
        m_choiceGroups.insert(param.key, group);
        return;
    }
    case ParamKind::Flag:
        control = new QCheckBox(param.label, this);
        break;
    }
    control->setAccessibleName(param.label);
    control->setStatusTip(param.hint);
    if (!param.hint.isEmpty())
        control->setToolTip(param.hint);
    layout->addWidget(control);
    m_controls.insert(param.key, control);
}

ParamValues ParameterPanel::values() const
{
    ParamValues values;
    for (const ParamSpec &p : m_function.body.params) {
        switch (p.kind) {
        case ParamKind::Number:
        case ParamKind::Text:
            values.set(p.key, static_cast<QLineEdit *>(m_controls[p.key])->text());
            break;
        case ParamKind::HistoryText:
            values.set(p.key, static_cast<HistoryComboBox *>(m_controls[p.key])->currentText());
            break;
        case ParamKind::MultiLineText:
            values.set(p.key, static_cast<MultiLineField *>(m_controls[p.key])->toPlainText());
            break;
        case ParamKind::Choice: {
            const QAbstractButton *checked = m_choiceGroups[p.key]->checkedButton();
            values.set(p.key, checked ? checked->text() : p.defaultValue);
            break;
        }
        case ParamKind::Flag:
            values.set(p.key,
                       static_cast<QCheckBox *>(m_controls[p.key])->isChecked() ? u"1"_s : u"0"_s);
            break;
        }
    }
    return values;
}

void ParameterPanel::resetToDefaults()
{
    for (const ParamSpec &p : m_function.body.params)
        setValue(p.key, p.defaultValue);
}

void ParameterPanel::setValue(const QString &key, const QString &value)
{
    const ParamSpec *p = m_function.param(key);
    if (!p)
        return;
    switch (p->kind) {
    case ParamKind::Number:
    case ParamKind::Text:
        static_cast<QLineEdit *>(m_controls[key])->setText(value);
        break;
    case ParamKind::HistoryText:
        static_cast<HistoryComboBox *>(m_controls[key])->setEditText(value);
        break;
    case ParamKind::MultiLineText:
        static_cast<MultiLineField *>(m_controls[key])->setPlainText(value);
        break;
    case ParamKind::Choice:
        for (QAbstractButton *b : m_choiceGroups[key]->buttons())
            b->setChecked(b->text() == value);
        break;
    case ParamKind::Flag:
        static_cast<QCheckBox *>(m_controls[key])->setChecked(value == u"1"_s);
        break;
    }
}

QList<HistoryComboBox *> ParameterPanel::historyBoxes() const
{
    QList<HistoryComboBox *> boxes;
    for (const ParamSpec &p : m_function.body.params) {
        if (p.kind == ParamKind::HistoryText)
            boxes.append(static_cast<HistoryComboBox *>(m_controls[p.key]));
    }
    return boxes;
}

} // namespace plintex
