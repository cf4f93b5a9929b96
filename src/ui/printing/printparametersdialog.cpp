#include "ui/printing/printparametersdialog.h"

#include "ui/controls/numberfield.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace plintex {

PrintParametersDialog::PrintParametersDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(u"Print Parameters"_s);
    setObjectName(u"PrintParameters"_s);
    // A fixed border and a caption without buttons: OK and Cancel are the ways out.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    m_fontSize = new NumberField(this);
    m_fontSize->setAccessibleName(u"Print font size:"_s);
    // No limit of its own: six digits keep the number in range, and a size too large for the
    // page is refused when printing.
    m_fontSize->setLimits(6, 0);
    m_fontSize->setValue(kDefaultFontSize);
    m_fontSize->setDoubleClickValue(QString::number(kDefaultFontSize));
    m_fontSize->setFixedWidth(fontMetrics().horizontalAdvance(u"0000000"_s) + 12);

    auto *form = new QFormLayout;
    form->addRow(u"Print font size:"_s, m_fontSize);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole)->setAccessibleName(u"OK"_s);
    buttons->addButton(u"Cancel"_s, QDialogButtonBox::RejectRole)->setAccessibleName(u"Cancel"_s);
    m_printer = buttons->addButton(u"Printer..."_s, QDialogButtonBox::ActionRole);
    m_printer->setAccessibleName(u"Printer..."_s);
    m_printer->setObjectName(u"Printer..."_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_printer, &QPushButton::clicked, this, &PrintParametersDialog::printerRequested);

    auto *column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

qint64 PrintParametersDialog::fontSize() const
{
    return m_fontSize->value();
}

} // namespace plintex
