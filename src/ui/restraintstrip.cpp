#include "ui/restraintstrip.h"

#include "ui/controls/numberfield.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace plintex {

RestraintStrip::RestraintStrip(QWidget *parent) : QFrame(parent)
{
    setObjectName(u"RowRestraint"_s);
    setAccessibleName(u"Row restraint"_s);
    setFrameShape(QFrame::StyledPanel);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);

    auto makeField = [this](const QString &name) {
        auto *field = new NumberField(this);
        field->setAccessibleName(name);
        field->setFixedWidth(fontMetrics().horizontalAdvance(u"00000000"_s) + 8);
        field->setText(u"0"_s);
        return field;
    };
    auto *rowLabel = new QLabel(u"Row:"_s, this);
    auto *toLabel = new QLabel(u"To:"_s, this);
    m_from = makeField(u"Row:"_s);
    m_to = makeField(u"To:"_s);
    rowLabel->setBuddy(m_from);
    toLabel->setBuddy(m_to);
    rowLabel->installEventFilter(this);
    toLabel->installEventFilter(this);

    m_reset = new QToolButton(this);
    m_reset->setIcon(QIcon(u":/icons/toolbar/reset-restraint.svg"_s));
    m_reset->setAccessibleName(u"Reset rows"_s);
    m_reset->setStatusTip(u"Reset rows to 0"_s);
    m_reset->setToolTip(u"Reset rows to 0"_s);
    connect(m_reset, &QToolButton::clicked, this, &RestraintStrip::clearRows);

    m_autoReset = new QCheckBox(u"Auto reset"_s, this);
    m_autoReset->setAccessibleName(u"Auto reset"_s);
    m_autoReset->setChecked(true);

    layout->addWidget(rowLabel);
    layout->addWidget(m_from);
    layout->addWidget(toLabel);
    layout->addWidget(m_to);
    layout->addWidget(m_reset);
    layout->addWidget(m_autoReset);
}

RowRestraint RestraintStrip::restraint() const
{
    return {m_from->value(), m_to->value(), m_autoReset->isChecked()};
}

void RestraintStrip::showBand(const RowRestraint &band)
{
    setFrom(band.from);
    setTo(band.to);
}

void RestraintStrip::setFrom(qint64 row)
{
    m_from->setValue(row);
}

void RestraintStrip::setTo(qint64 row)
{
    m_to->setValue(row);
}

void RestraintStrip::clearRows()
{
    setFrom(0);
    setTo(0);
}

void RestraintStrip::mouseDoubleClickEvent(QMouseEvent *)
{
    clearRows();
}

bool RestraintStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        clearRows();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace plintex
