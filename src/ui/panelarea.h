#pragma once

#include <QWidget>

namespace plintex {

class FlowLayout;

/// Holds the parameter panels and the row restraint strip under the toolbar. It is as tall as
/// the panel shown needs at the window's width and never wider than the window: the strip
/// stands beside the panel where both fit, below it otherwise, and a panel too long for one line
/// goes on over more lines, so every control is in sight.
class PanelArea : public QWidget {
    Q_OBJECT
public:
    explicit PanelArea(QWidget *parent = nullptr);

    /// Adds a panel, hidden; panels are added before the strip.
    void addPanel(QWidget *panel);
    /// Adds the row restraint strip after the panels.
    void addStrip(QWidget *strip);
    /// Call when the panel shown changes.
    void contentChanged();

private:
    FlowLayout *m_flow;
};

} // namespace plintex
