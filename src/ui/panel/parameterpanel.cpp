#include "ui/panel/parameterpanel.h"

#include "ui/panel/paramcontrol.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
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
            addToRow(new QLabel(c->text, this));
        } else if (std::holds_alternative<RowBreak>(item)) {
            newRow();
        } else if (std::holds_alternative<ProgressBarItem>(item)) {
            m_progressBar = new QProgressBar(this);
            m_progressBar->setTextVisible(false);
            m_progressBar->setFixedWidth(80);
            // Hidden, it keeps its room: the panel does not shift while it shows.
            QSizePolicy keep = m_progressBar->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            m_progressBar->setSizePolicy(keep);
            m_progressBar->hide();
            addToRow(m_progressBar);
        }
    }
    for (QHBoxLayout *row : std::as_const(m_rows))
        row->addStretch(1);

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

QList<QWidget *> ParameterPanel::focusChain() const
{
    return m_focusChain;
}

} // namespace plintex
