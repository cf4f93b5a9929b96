#include "ui/windows/examplespanel.h"

#include "ops/registry.h"
#include "ui/dialogs.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

QLabel *boldLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QPlainTextEdit *examplePane(const QString &name, QWidget *parent)
{
    auto *pane = new QPlainTextEdit(parent);
    pane->setAccessibleName(name);
    pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    pane->setReadOnly(true);
    pane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return pane;
}

} // namespace

ExamplesPanel::ExamplesPanel(QComboBox &dropDown, Dialogs &dialogs, QToolBar &toolbar,
                             QWidget &window)
    : QFrame(&window), m_dropDown(dropDown), m_dialogs(dialogs), m_toolbar(toolbar),
      m_window(window)
{
    setObjectName(u"ExamplesPanel"_s);
    setAccessibleName(u"Examples"_s);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);

    m_toggle = toolbar.addAction(QIcon(u":/icons/toolbar/examples.svg"_s), u"Examples"_s);
    m_toggle->setObjectName(u"Examples"_s);
    m_toggle->setCheckable(true);
    m_toggle->setStatusTip(u"Show an example of the selected function"_s);
    connect(m_toggle, &QAction::triggered, this, [this] { refresh(true); });

    // The same caption as the toolbar's "Clear" of the text: the description tells them apart.
    m_clearFields = toolbar.addAction(QIcon(u":/icons/toolbar/clear-fields.svg"_s), u"Clear"_s);
    m_clearFields->setObjectName(u"ClearFields"_s);
    const QString what = u"Empty the multi-line fields of the visible panel"_s;
    m_clearFields->setStatusTip(what);
    m_clearFields->setToolTip(what);
    toolbar.widgetForAction(m_clearFields)->setAccessibleDescription(what);
    connect(m_clearFields, &QAction::triggered, this, &ExamplesPanel::clearFieldsRequested);

    auto *grid = new QGridLayout(this);
    m_title = boldLabel(u"example"_s, this);
    m_title->setAccessibleName(u"Example"_s);
    grid->addWidget(m_title, 0, 0, 1, 2, Qt::AlignHCenter);
    grid->addWidget(boldLabel(u"Before"_s, this), 1, 0);
    grid->addWidget(boldLabel(u"After"_s, this), 1, 1);
    m_before = examplePane(u"Before"_s, this);
    m_after = examplePane(u"After"_s, this);
    grid->addWidget(m_before, 2, 0);
    grid->addWidget(m_after, 2, 1);
    m_close = new QPushButton(u"Close"_s, this);
    m_close->setFlat(true);
    grid->addWidget(m_close, 3, 0, 1, 2, Qt::AlignHCenter);
    connect(m_close, &QPushButton::clicked, this, &ExamplesPanel::close);
    hide();
}

void ExamplesPanel::refresh(bool clicked)
{
    if (!m_toggle->isChecked() || m_dropDown.currentText().isEmpty()) {
        close();
        return;
    }
    m_before->clear();
    m_after->clear();
    const FunctionEntry *function = catalogue().atEntry(m_dropDown.currentIndex());
    // A name shown by hovering over a button selects nothing.
    if (!function || m_dropDown.currentText() != m_dropDown.itemText(m_dropDown.currentIndex())) {
        m_dialogs.warning(&m_window, u"Click on a button to display an example."_s,
                          warningPointerPosition() + QPoint(7, 0));
        m_toggle->setChecked(false);
        hide();
        return;
    }
    const FunctionExample &example = function->body.example;
    m_title->setText(example.title);
    m_before->setPlainText(QString(example.before).replace(u"\r\n"_s, u"\n"_s));
    m_after->setPlainText(QString(example.after).replace(u"\r\n"_s, u"\n"_s));
    place();
    show();
    raise();
    if (clicked)
        centerMouse(*m_close, 0, 0);
    m_toolbar.setFocus();
}

void ExamplesPanel::close()
{
    hide();
    m_toggle->setChecked(false);
    m_toolbar.setFocus();
}

// Over the upper part of the panes, centred, as wide as the examples need.
void ExamplesPanel::place()
{
    const auto *main = qobject_cast<QMainWindow *>(&m_window);
    const QWidget *area = main ? main->centralWidget() : &m_window;
    const QRect client(area->mapTo(&m_window, QPoint(0, 0)), area->size());
    const int w = std::min(client.width() - 20, 640);
    const int h = std::min(client.height() - 20, 300);
    setGeometry(client.left() + (client.width() - w) / 2, client.top() + 10, w, h);
}

} // namespace plintex
