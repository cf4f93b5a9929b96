#include "ui/panel/parameterpanel.h"

#include "ui/controls/piegauge.h"
#include "ui/panel/paramcontrol.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace plintex {

ParameterPanel::ParameterPanel(const FunctionEntry &function, QWidget *parent)
    : QFrame(parent), m_function(function)
{
    setObjectName(u"Panel"_s + QString::number(function.number));
    setAccessibleName(function.name);
    setFrameShape(QFrame::StyledPanel);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);
    auto newRow = [&] {
        auto *row = new QHBoxLayout;
        column->addLayout(row);
        m_rows.append(row);
    };
    newRow();

    for (const PanelItem &item : function.body.panel) {
        if (const auto *p = std::get_if<Parameter>(&item)) {
            std::unique_ptr<ParamControl> control = ParamControl::create(*p, this);
            for (QWidget *w : control->widgets())
                addToRow(w);
            m_focusChain += control->focusChain();
            connect(control.get(), &ParamControl::browseRequested, this,
                    [this, key = p->key] { Q_EMIT browseRequested(key); });
            m_params.push_back(std::move(control));
        } else if (const auto *b = std::get_if<RunButtonItem>(&item)) {
            auto *button = new QToolButton(this);
            if (b->caption.isEmpty()) {
                button->setIcon(QIcon(u":/icons/toolbar/run.svg"_s));
                button->setAccessibleName(u"Run"_s);
                button->setStatusTip(u"Run "_s + function.name);
                button->setToolTip(u"Run"_s);
            } else {
                button->setText(b->caption);
                button->setAccessibleName(b->caption);
            }
            connect(button, &QToolButton::clicked, this,
                    [this, key = b->key] { Q_EMIT runRequested(key); });
            addToRow(button);
            m_focusChain.append(button);
            m_runButtons.insert(b->key, button);
        } else if (const auto *a = std::get_if<ActionItem>(&item)) {
            auto *button = new QToolButton(this);
            button->setText(a->caption);
            button->setAccessibleName(a->caption);
            button->setStatusTip(a->hint);
            connect(button, &QToolButton::clicked, this,
                    [this, key = a->key] { Q_EMIT actionRequested(key); });
            addToRow(button);
            m_focusChain.append(button);
            m_actions.insert(a->key, button);
        } else if (const auto *c = std::get_if<CaptionItem>(&item)) {
            addToRow(new QLabel(c->text, this));
        } else if (std::holds_alternative<RowBreak>(item)) {
            newRow();
        }
    }
    for (QHBoxLayout *row : std::as_const(m_rows))
        row->addStretch(1);

    // A field that a tick box unlocks follows the box.
    for (const auto &control : m_params) {
        const QString &lock = control->param().unlockedBy;
        ParamControl *box = lock.isEmpty() ? nullptr : paramControl(lock);
        if (box && box->checkBox()) {
            connect(box->checkBox(), &QCheckBox::toggled, control.get(),
                    [c = control.get()](bool on) { c->setUnlocked(on); });
        }
    }
    for (const auto &control : m_params)
        control->setValue(control->param().defaultValue);
    for (const auto &control : m_params) {
        if (ParamControl *box = paramControl(control->param().unlockedBy))
            control->setUnlocked(box->value() == u"1"_s);
    }
}

ParameterPanel::~ParameterPanel() = default;

void ParameterPanel::addToRow(QWidget *widget)
{
    m_rows.back()->addWidget(widget);
}

ParamControl *ParameterPanel::paramControl(const QString &key) const
{
    for (const auto &control : m_params) {
        if (control->param().key == key)
            return control.get();
    }
    return nullptr;
}

QWidget *ParameterPanel::control(const QString &key) const
{
    const ParamControl *c = paramControl(key);
    return c ? c->field() : nullptr;
}

ParamValues ParameterPanel::values() const
{
    ParamValues values;
    for (const auto &control : m_params)
        values.set(control->param().key, control->value());
    return values;
}

void ParameterPanel::resetToDefaults()
{
    for (const auto &control : m_params) {
        if (control->param().resetOnSelect)
            control->setValue(control->param().defaultValue);
    }
}

void ParameterPanel::setValue(const QString &key, const QString &value)
{
    if (ParamControl *c = paramControl(key))
        c->setValue(value);
}

QList<HistoryComboBox *> ParameterPanel::historyBoxes() const
{
    QList<HistoryComboBox *> boxes;
    for (const auto &control : m_params) {
        if (HistoryComboBox *box = control->historyBox())
            boxes.append(box);
    }
    return boxes;
}

PieGauge *ParameterPanel::barGauge()
{
    const auto fileField = std::find_if(m_params.begin(), m_params.end(), [](const auto &c) {
        return c->param().kind == ParamKind::FileName;
    });
    if (fileField == m_params.end())
        return nullptr;
    if (!m_barGauge) {
        m_barGauge = new PieGauge(this);
        m_barGauge->setObjectName(u"BarGauge"_s);
        m_barGauge->setAccessibleName(u"Progress"_s);
        m_barGauge->setBar(true);
        m_barGauge->hide();
    }
    // Over the field, outside the layout: 360 pixels wide, or the panel's width if less.
    const QWidget *field = (*fileField)->field();
    m_barGauge->move(field->pos());
    m_barGauge->setFixedSize(std::min(360, width() - field->x()), field->height());
    m_barGauge->raise();
    return m_barGauge;
}

QList<QWidget *> ParameterPanel::focusChain() const
{
    return m_focusChain;
}

} // namespace plintex
