#pragma once

#include "core/catalogue.h"

#include <QFrame>
#include <QHash>

#include <memory>

class QAbstractButton;
class QHBoxLayout;

namespace plintex {

class HistoryComboBox;
class ParamControl;
class PieGauge;

/// A function's parameter panel, built from its catalogue entry: its items left to right, a row
/// break starting a second row, one control per parameter.
class ParameterPanel : public QFrame {
    Q_OBJECT
public:
    ParameterPanel(const FunctionEntry &function, QWidget *parent = nullptr);
    ~ParameterPanel() override;

    const FunctionEntry &function() const { return m_function; }

    /// The values the controls hold now.
    ParamValues values() const;
    /// What the select routine does: every parameter it resets goes back to its default.
    void resetToDefaults();
    /// Puts a value into a parameter's control, as the caret menu and a run's results do.
    void setValue(const QString &key, const QString &value);

    ParamControl *paramControl(const QString &key) const;
    /// The field of a parameter (the widget after its label).
    QWidget *control(const QString &key) const;
    QAbstractButton *runButton(const QString &key) const { return m_runButtons.value(key); }
    QAbstractButton *actionButton(const QString &key) const { return m_actions.value(key); }
    QList<HistoryComboBox *> historyBoxes() const;
    /// The bar gauge of a panel with file-name fields, placed over its first one; nullptr for
    /// the other panels, which use the shared gauge.
    PieGauge *barGauge();
    /// The widgets that take the focus, in the order they stand on screen.
    QList<QWidget *> focusChain() const;

Q_SIGNALS:
    void runRequested(const QString &runButtonKey);
    void actionRequested(const QString &actionKey);
    void browseRequested(const QString &paramKey);

private:
    void addToRow(QWidget *widget);

    const FunctionEntry &m_function;
    QList<QHBoxLayout *> m_rows;
    std::vector<std::unique_ptr<ParamControl>> m_params;
    QHash<QString, QAbstractButton *> m_runButtons;
    QHash<QString, QAbstractButton *> m_actions;
    QList<QWidget *> m_focusChain;
    PieGauge *m_barGauge = nullptr;
};

} // namespace plintex
