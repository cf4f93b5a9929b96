#pragma once

#include "core/catalogue.h"

#include <QFrame>
#include <QHash>

#include <memory>

class QAbstractButton;

namespace plintex {

class FlowLayout;
class HistoryComboBox;
class ParamControl;
class PieGauge;

/// A function's parameter panel, built from its catalogue entry: its items left to right, a row
/// break starting a second row, one control per parameter. Items that do not fit the width go on
/// over further lines, a label always with its field.
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
    /// The bar gauge of a panel with file-name fields, placed over its first one; nullptr for
    /// the other panels, which use the shared gauge.
    PieGauge *barGauge();
    /// The widgets that take the focus, in the order they stand on screen.
    QList<QWidget *> focusChain() const;

Q_SIGNALS:
    void runRequested(const QString &runButtonKey);
    void actionRequested(PanelAction action);
    void browseRequested(const QString &paramKey);

private:
    /// Lays out the next widget; `withPrevious` keeps it on the line of the one before.
    void addToRow(QWidget *widget, bool withPrevious = false);

    const FunctionEntry &m_function;
    FlowLayout *m_flow = nullptr;
    bool m_joinNext = false;
    std::vector<std::unique_ptr<ParamControl>> m_params;
    QHash<QString, QAbstractButton *> m_runButtons;
    QHash<int, QAbstractButton *> m_actions; ///< by PanelAction
    QList<QWidget *> m_focusChain;
    PieGauge *m_barGauge = nullptr;
};

} // namespace plintex
