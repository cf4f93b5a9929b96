#pragma once

#include <QDialog>

class QCheckBox;

namespace plintex {

class NumberField;

/// "Preferences": font size, tab spacing and hints. It only edits its fields; the window reads
/// them on OK and follows "Font size:" while it changes.
class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesDialog(QWidget *parent = nullptr);

    void showValues(const QString &fontSize, const QString &tabSpacing, bool hints);
    QString fontSizeText() const;
    QString tabSpacingText() const;
    bool hintsTicked() const;

    NumberField *fontSizeField() const { return m_fontSize; }
    NumberField *tabSpacingField() const { return m_tabSpacing; }
    QCheckBox *hintsBox() const { return m_hints; }

Q_SIGNALS:
    void fontSizeEdited(const QString &text);

private:
    NumberField *m_fontSize;
    NumberField *m_tabSpacing;
    QCheckBox *m_hints;
};

} // namespace plintex
