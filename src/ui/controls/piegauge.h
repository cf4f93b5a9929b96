#pragma once

#include <QWidget>

namespace plintex {

/// A pie-shaped progress gauge: the filled slice grows clockwise from twelve o'clock. A double
/// click sets it back to 0 and hides it.
class PieGauge : public QWidget {
    Q_OBJECT
public:
    explicit PieGauge(QWidget *parent = nullptr);

    double maximum() const { return m_maximum; }
    double position() const { return m_position; }
    void setMaximum(double maximum);
    void setPosition(double position);

    QSize sizeHint() const override { return {22, 22}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    double m_maximum = 100;
    double m_position = 0;
};

} // namespace plintex
