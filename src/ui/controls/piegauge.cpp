#include "ui/controls/piegauge.h"

#include <QPainter>

#include <algorithm>

namespace plintex {

PieGauge::PieGauge(QWidget *parent) : QWidget(parent)
{
    setFixedSize(sizeHint());
}

void PieGauge::setMaximum(double maximum)
{
    m_maximum = maximum;
    update();
}

void PieGauge::setPosition(double position)
{
    if (position == m_position)
        return;
    m_position = position;
    update();
}

void PieGauge::setBar(bool bar)
{
    if (bar == m_bar)
        return;
    m_bar = bar;
    setFixedSize(sizeHint());
    update();
}

void PieGauge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.setBrush(palette().color(QPalette::Base));
    const double fraction = m_maximum > 0 ? std::clamp(m_position / m_maximum, 0.0, 1.0) : 0.0;
    if (m_bar) {
        p.drawRect(r);
        p.fillRect(QRectF(r.topLeft(), QSizeF(r.width() * fraction, r.height())),
                   QColor(0x1e, 0x88, 0xe5));
        return;
    }
    p.drawEllipse(r);
    if (fraction > 0) {
        p.setBrush(QColor(0x1e, 0x88, 0xe5));
        // Qt angles are in 1/16 degree, counter-clockwise from three o'clock.
        p.drawPie(r, 90 * 16, -int(fraction * 360 * 16));
    }
}

void PieGauge::mouseDoubleClickEvent(QMouseEvent *)
{
    setPosition(0);
    hide();
}

} // namespace plintex
