#include "ui/preferencesdialog.h"

#include "ui/controls/numberfield.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace plintex {

PreferencesDialog::PreferencesDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(u"Preferences"_s);
    setObjectName(u"Preferences"_s);
    setModal(true);

    auto makeField = [this](const QString &name) {
        auto *field = new NumberField(this);
        field->setAccessibleName(name);
        field->setLimits(2, 20);
        field->setFixedWidth(fontMetrics().horizontalAdvance(u"0000"_s) + 12);
        return field;
    };
    m_fontSize = makeField(u"Font size:"_s);
    m_tabSpacing = makeField(u"Tab spacing:"_s);
    m_hints = new QCheckBox(u"Show Hints"_s, this);
    m_hints->setAccessibleName(u"Show Hints"_s);
    connect(m_fontSize, &QLineEdit::textChanged, this, &PreferencesDialog::fontSizeEdited);
    connect(m_tabSpacing, &QLineEdit::textChanged, this,
            [this] { Q_EMIT fontSizeEdited(m_fontSize->text()); });

    auto *form = new QFormLayout;
    form->addRow(u"Font size:"_s, m_fontSize);
    form->addRow(u"Tab spacing:"_s, m_tabSpacing);
    form->addRow(m_hints);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole)->setAccessibleName(u"OK"_s);
    buttons->addButton(u"Cancel"_s, QDialogButtonBox::RejectRole)->setAccessibleName(u"Cancel"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

void PreferencesDialog::showValues(const QString &fontSize, const QString &tabSpacing, bool hints)
{
    m_fontSize->setText(fontSize);
    m_tabSpacing->setText(tabSpacing);
    m_hints->setChecked(hints);
}

QString PreferencesDialog::fontSizeText() const
{
    return m_fontSize->text();
}

QString PreferencesDialog::tabSpacingText() const
{
    return m_tabSpacing->text();
}

bool PreferencesDialog::hintsTicked() const
{
    return m_hints->isChecked();
}

} // namespace plintex
