#pragma once

#include <QScrollArea>

namespace plintex {

/// Holds the parameter panels and the row restraint strip under the toolbar. It is as tall as
/// the panel shown and never wider than the window: a panel longer than the window scrolls
/// sideways instead of widening it.
class PanelArea : public QScrollArea {
    Q_OBJECT
public:
    explicit PanelArea(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    /// Call when the panel shown changes.
    void contentChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
};

} // namespace plintex
