#include "ui/controls/numberfield.h"

#include "core/number.h"

#include <QRegularExpressionValidator>

using namespace Qt::StringLiterals;

namespace plintex {

NumberField::NumberField(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), this));
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (m_maximum > 0 && value() > m_maximum)
            setValue(m_maximum);
    });
}

qint64 NumberField::value() const
{
    return numberFieldValue(text());
}

void NumberField::setValue(qint64 value)
{
    setText(QString::number(value));
}

void NumberField::setLimits(int digits, qint64 maximum)
{
    setMaxLength(digits);
    m_maximum = maximum;
}

void NumberField::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_doubleClickValue.isEmpty()) {
        QLineEdit::mouseDoubleClickEvent(event);
        return;
    }
    setText(m_doubleClickValue);
    Q_EMIT textEdited(text());
}

} // namespace plintex
