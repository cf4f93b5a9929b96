#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace plintex {

enum class ParamKind {
    Number,        ///< digits only, empty reads 0, double click restores its default
    Text,          ///< one-line text field
    HistoryText,   ///< editable drop-down remembering earlier values in comboN.plx
    MultiLineText, ///< memo; double click selects all
    Choice,        ///< radio buttons, one chosen
    Flag,          ///< check box
};

/// One parameter of a function's panel, as the panel, the command line and the run routine see
/// it. The key is the routine's own name for it; the label is what the panel shows.
struct ParamSpec {
    QString key;
    QString label;
    ParamKind kind = ParamKind::Text;
    QString defaultValue;     ///< Number: digits; Choice: a choice; Flag: "1" or "0"
    QString doubleClickValue; ///< Number fields: the value a double click restores
    int history = 0;          ///< HistoryText: the n of comboN.plx
    QStringList choices;      ///< Choice: the radio captions, in panel order
    QString hint;             ///< shown in the status bar when hints are on
};

struct RunButtonSpec {
    QString key;
    QString caption; ///< empty for the small run button at the left end of a panel
};

/// The values of a panel's parameters at the moment a run starts, keyed by ParamSpec::key.
class ParamValues {
public:
    void set(const QString &key, const QString &value) { m_values.insert(key, value); }
    bool contains(const QString &key) const { return m_values.contains(key); }
    QString text(const QString &key) const { return m_values.value(key); }
    qint64 number(const QString &key) const;
    bool flag(const QString &key) const { return m_values.value(key) == u'1'; }
    /// Every value, in no particular order.
    QStringList all() const { return m_values.values(); }

    /// Every parameter at its default.
    static ParamValues defaults(const QList<ParamSpec> &params);

private:
    QHash<QString, QString> m_values;
};

} // namespace plintex
