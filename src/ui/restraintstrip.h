#pragma once

#include "core/restraint.h"

#include <QFrame>

class QCheckBox;
class QLabel;
class QToolButton;

namespace plintex {

class NumberField;

/// The row restraint strip: "Row:" From, "To:" To, a reset button and "Auto reset". A double
/// click on either label or on the strip's background clears both fields.
class RestraintStrip : public QFrame {
    Q_OBJECT
public:
    explicit RestraintStrip(QWidget *parent = nullptr);

    RowRestraint restraint() const;
    /// Shows the band as resolved by a run; "Auto reset" is left as it is.
    void showBand(const RowRestraint &band);
    void setFrom(qint64 row);
    void setTo(qint64 row);
    void clearRows();

    NumberField *fromField() const { return m_from; }
    NumberField *toField() const { return m_to; }
    QCheckBox *autoReset() const { return m_autoReset; }
    QToolButton *resetButton() const { return m_reset; }

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    NumberField *m_from;
    NumberField *m_to;
    QToolButton *m_reset;
    QCheckBox *m_autoReset;
};

} // namespace plintex
