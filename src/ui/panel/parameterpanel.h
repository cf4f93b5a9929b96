#pragma once

#include "core/catalogue.h"

#include <QFrame>
#include <QHash>

#include <memory>

class QAbstractButton;
class QHBoxLayout;
class QProgressBar;

namespace plintex {

class HistoryComboBox;
class ParamControl;

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
    QAbstractButton *actionButton(PanelAction action) const { return m_actions.value(int(action)); }
    QList<HistoryComboBox *> historyBoxes() const;
    /// The panel's own progress bar, if it has one.
    QProgressBar *progressBar() const { return m_progressBar; }
    /// The widgets that take the focus, in the order they stand on screen.
    QList<QWidget *> focusChain() const;

Q_SIGNALS:
    void runRequested(const QString &runButtonKey);
    void actionRequested(PanelAction action);
    void browseRequested(const QString &paramKey);

private:
    void addToRow(QWidget *widget);

    const FunctionEntry &m_function;
    QList<QHBoxLayout *> m_rows;
    std::vector<std::unique_ptr<ParamControl>> m_params;
    QHash<QString, QAbstractButton *> m_runButtons;
    QHash<int, QAbstractButton *> m_actions; ///< by PanelAction
    QList<QWidget *> m_focusChain;
    QProgressBar *m_progressBar = nullptr;
};

} // namespace plintex
