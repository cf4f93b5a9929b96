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
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (m_signed && text.isEmpty())
            setText(u"0"_s);
    });
}

void NumberField::setSigned(bool allowMinus)
{
    m_signed = allowMinus;
    // The minus can only lead: typed anywhere else it would not leave a number.
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(allowMinus ? u"-?[0-9]*"_s : u"[0-9]*"_s), this));
    if (allowMinus && text().isEmpty())
        setText(u"0"_s);
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
