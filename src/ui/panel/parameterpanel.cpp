#include "ui/panel/parameterpanel.h"

#include "ui/flowlayout.h"
#include "ui/controls/piegauge.h"
#include "ui/panel/paramcontrol.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace plintex {

ParameterPanel::ParameterPanel(const FunctionEntry &function, QWidget *parent)
    : QFrame(parent), m_function(function)
{
    setObjectName(u"Panel"_s + QString::number(function.number));
    setAccessibleName(function.name);
    setFrameShape(QFrame::StyledPanel);
    m_flow = new FlowLayout(this, 6, 2);
    m_flow->setContentsMargins(4, 2, 4, 2);

    for (const PanelItem &item : function.body.panel) {
        if (const auto *p = std::get_if<Parameter>(&item)) {
            std::unique_ptr<ParamControl> control = ParamControl::create(*p, this);
            // A label stays with its field; a long row of radio buttons may go on over lines. A
            // field labelled by a word that ends no phrase ("to") stays with the one before.
            const QList<QWidget *> &widgets = control->widgets();
            const qsizetype joined = p->kind == ParamKind::Choice && p->choices.size() > 3
                                         ? (p->label.isEmpty() ? 1 : 2)
                                         : widgets.size();
            const bool continues =
                traitsOf(p->kind).takesValue && !p->label.isEmpty() && !p->label.endsWith(u':');
            for (qsizetype i = 0; i < widgets.size(); ++i)
                addToRow(widgets[i], i > 0 ? i < joined : continues);
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
            // "To Top" is the toolbar's arrow, here as on the toolbar.
            if (a->action == PanelAction::ToTop) {
                button->setIcon(QIcon(u":/icons/toolbar/to-top.svg"_s));
                button->setToolTip(a->caption);
            } else {
                button->setText(a->caption);
            }
            button->setAccessibleName(a->caption);
            button->setStatusTip(a->hint);
            connect(button, &QToolButton::clicked, this,
                    [this, action = a->action] { Q_EMIT actionRequested(action); });
            addToRow(button);
            m_focusChain.append(button);
            m_actions.insert(int(a->action), button);
        } else if (const auto *c = std::get_if<CaptionItem>(&item)) {
            // A caption that ends in a colon leads into what follows it; any other one ends
            // what stands before it ("blanks.").
            const bool leads = c->text.endsWith(u':');
            addToRow(new QLabel(c->text, this), !leads);
            m_joinNext = leads;
        } else if (std::holds_alternative<RowBreak>(item)) {
            m_flow->breakLine();
        }
    }

    // A field that a tick box unlocks follows the box; one that a box locks, the other way.
    for (const auto &control : m_params) {
        const Parameter &p = control->param();
        for (const auto &[key, locks] : {std::pair{p.unlockedBy, false}, {p.lockedBy, true}}) {
            ParamControl *box = key.isEmpty() ? nullptr : paramControl(key);
            if (box && box->checkBox()) {
                connect(box->checkBox(), &QCheckBox::toggled, control.get(),
                        [c = control.get(), locks](bool on) { c->setUnlocked(on != locks); });
            }
        }
    }
    for (const auto &control : m_params)
        control->setValue(control->param().defaultValue);
    for (const auto &control : m_params) {
        if (ParamControl *box = paramControl(control->param().unlockedBy))
            control->setUnlocked(box->value() == u"1"_s);
        if (ParamControl *box = paramControl(control->param().lockedBy))
            control->setUnlocked(box->value() != u"1"_s);
    }
}

ParameterPanel::~ParameterPanel() = default;

void ParameterPanel::addToRow(QWidget *widget, bool withPrevious)
{
    const bool joined = withPrevious || m_joinNext;
    m_joinNext = false;
    m_flow->add(widget, joined ? FlowLayout::Join::WithPrevious : FlowLayout::Join::No);
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
