#pragma once

#include <QDialog>

class QPushButton;

namespace plintex {

class NumberField;

/// "Print Parameters": the printout's font size, "Printer...", OK and Cancel. It is made once,
/// so the font size keeps its last value between openings.
class PrintParametersDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDefaultFontSize = 10;

    explicit PrintParametersDialog(QWidget *parent = nullptr);

    /// "Print font size:" as typed; 0 when empty.
    qint64 fontSize() const;
    NumberField *fontSizeField() const { return m_fontSize; }
    QPushButton *printerButton() const { return m_printer; }

Q_SIGNALS:
    /// "Printer...": the owner shows the platform's printer dialog.
    void printerRequested();

private:
    NumberField *m_fontSize;
    QPushButton *m_printer;
};

} // namespace plintex
