#pragma once

#include "core/panel.h"

#include <QObject>

#include <memory>

class QCheckBox;
class QWidget;

namespace plintex {

class HistoryComboBox;

/// The control of one parameter on a panel: one class per kind of parameter, made by create().
/// The panel lays out its widgets and reads and writes its value as text, the same text the
/// command line gives and the run routine reads (a choice's key, "1"/"0" for a box).
class ParamControl : public QObject {
    Q_OBJECT
public:
    static std::unique_ptr<ParamControl> create(const Parameter &param, QWidget *parent);

    const Parameter &param() const { return m_param; }
    /// The widgets to lay out, left to right: the label, then the field(s).
    const QList<QWidget *> &widgets() const { return m_widgets; }
    /// The widgets that take the keyboard focus, in tab order.
    virtual QList<QWidget *> focusChain() const;
    /// The field itself (for tests and the caret menu): the widget after the label.
    QWidget *field() const { return m_field; }

    virtual QString value() const = 0;
    virtual void setValue(const QString &value) = 0;
    /// A field a tick box unlocks is greyed out while the box is clear.
    virtual void setUnlocked(bool unlocked);

    /// The history drop-down of a kind that keeps one; nullptr otherwise.
    virtual HistoryComboBox *historyBox() const { return nullptr; }
    /// The check box of a Flag; nullptr otherwise.
    virtual QCheckBox *checkBox() const { return nullptr; }

Q_SIGNALS:
    /// A file-name field's browse button was pressed.
    void browseRequested();

protected:
    explicit ParamControl(const Parameter &param) : m_param(param) {}
    /// Adds the label (when the parameter has one) and the field, giving the field its accessible
    /// name and hint.
    void addLabelled(QWidget *field);
    void addWidget(QWidget *widget) { m_widgets.append(widget); }

    Parameter m_param;
    QList<QWidget *> m_widgets;
    QWidget *m_field = nullptr;
};

} // namespace plintex
