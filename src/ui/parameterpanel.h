#pragma once

#include "core/catalogue.h"

#include <QFrame>
#include <QHash>

class QAbstractButton;
class QButtonGroup;

namespace plintex {

class HistoryComboBox;

/// A function's parameter panel, built from its catalogue entry: a control for each parameter
/// with its label, and the run buttons.
class ParameterPanel : public QFrame {
    Q_OBJECT
public:
    ParameterPanel(const FunctionSpec &function, QWidget *parent = nullptr);

    const FunctionSpec &function() const { return m_function; }

    /// The values the controls hold now.
    ParamValues values() const;
    void resetToDefaults();
    /// Puts a value into a parameter's control, as the caret menu does.
    void setValue(const QString &key, const QString &value);

    QWidget *control(const QString &key) const { return m_controls.value(key); }
    QAbstractButton *runButton(const QString &key) const { return m_runButtons.value(key); }
    QList<HistoryComboBox *> historyBoxes() const;

Q_SIGNALS:
    void runRequested(const QString &runButtonKey);

private:
    void addParam(const ParamSpec &param);

    const FunctionSpec &m_function;
    QHash<QString, QWidget *> m_controls;
    QHash<QString, QButtonGroup *> m_choiceGroups;
    QHash<QString, QAbstractButton *> m_runButtons;
};

} // namespace plintex
