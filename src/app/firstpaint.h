#pragma once

#include <QElapsedTimer>
#include <QObject>

namespace plintex {

/// Start-up timing for the benchmark: at the first paint of any widget it prints the time since
/// `sinceStart` began to standard error, lets that paint finish and ends the program.
class FirstPaintReporter : public QObject {
public:
    explicit FirstPaintReporter(QElapsedTimer sinceStart);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QElapsedTimer m_sinceStart;
    bool m_reported = false;
};

} // namespace plintex
