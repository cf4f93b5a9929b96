#pragma once

#include <QPlainTextEdit>

namespace plintex {

/// A multi-line text parameter: no word wrap; a double click selects all its text.
class MultiLineField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MultiLineField(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

} // namespace plintex
