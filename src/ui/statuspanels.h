#pragma once

#include <QStatusBar>

class QLabel;

namespace plintex {

/// The status bar's six panels: the hint, the caret's row and column, and the three counts.
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanels(QWidget *parent = nullptr);

    QString panelText(int index) const;
    void setHint(const QString &hint);
    void setCaret(qsizetype row0, qsizetype column0);
    /// Puts the three counts back to their "?" texts.
    void resetCounts();
    void resetCountToCursor();
    /// One of the three count panels (0 to 2), as a counting run fills it.
    void setCount(int index, const QString &text);

private:
    QList<QLabel *> m_panels;
};

} // namespace plintex
