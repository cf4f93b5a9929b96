#pragma once

#include <QWidget>

namespace plintex {

/// A pie-shaped (or bar-shaped) progress gauge: the filled slice grows clockwise from twelve
/// o'clock. A double click sets it back to 0 and hides it.
class PieGauge : public QWidget {
    Q_OBJECT
public:
    explicit PieGauge(QWidget *parent = nullptr);

    double maximum() const { return m_maximum; }
    double position() const { return m_position; }
    void setMaximum(double maximum);
    void setPosition(double position);
    /// Drawn as a bar (the file functions) instead of a pie.
    void setBar(bool bar);
    bool isBar() const { return m_bar; }

    QSize sizeHint() const override { return m_bar ? QSize(90, 14) : QSize(22, 22); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    double m_maximum = 100;
    double m_position = 0;
    bool m_bar = false;
};

} // namespace plintex
