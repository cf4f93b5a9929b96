#pragma once

#include <QLineEdit>

namespace plintex {

/// A field for a whole number: digits only (a signed field: after a leading minus), empty reads
/// 0, a double click restores its default.
class NumberField : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberField(QWidget *parent = nullptr);

    qint64 value() const;
    void setValue(qint64 value);

    /// The text a double click puts back; empty: a double click does nothing.
    void setDoubleClickValue(const QString &text) { m_doubleClickValue = text; }
    /// Limits the field to `digits` digits and the value to `maximum` (0: no limit).
    void setLimits(int digits, qint64 maximum);
    /// Lets a minus sign lead the digits; an emptied field then becomes "0" at once. value()
    /// reads the digits only: a signed field is read through its text.
    void setSigned(bool allowMinus);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString m_doubleClickValue;
    qint64 m_maximum = 0;
    bool m_signed = false;
};

} // namespace plintex
