#include "ui/functionbar.h"

#include "ops/registry.h"

#include <QComboBox>
#include <QGridLayout>
#include <QMouseEvent>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

constexpr int kButtonsPerRow = 17;
constexpr int kHoverMargin = 5;

} // namespace

FunctionBar::FunctionBar(QComboBox &dropDown, QWidget *parent)
    : QWidget(parent), m_dropDown(dropDown)
{
    setObjectName(u"FunctionButtons"_s);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(2, 0, 2, 0);
    grid->setSpacing(1);
    int index = 0;
    for (const FunctionEntry &f : catalogue()) {
        auto *button = new QToolButton(this);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIcon(QIcon(u":/icons/functions/"_s + f.slug() + u".svg"_s));
        button->setIconSize({20, 20});
        button->setAccessibleName(f.name);
        button->setStatusTip(f.name);
        button->setObjectName(u"Function"_s + QString::number(f.number));
        button->setMouseTracking(true);
        button->installEventFilter(this);
        connect(button, &QToolButton::clicked, this, [this, &f, button](bool checked) {
            if (m_changeAllowed && !m_changeAllowed()) {
                button->setChecked(!checked);
                return;
            }
            if (checked)
                raiseAll(f.number);
            Q_EMIT clicked(f);
        });
        grid->addWidget(button, index / kButtonsPerRow, index % kButtonsPerRow);
        m_buttons.insert(f.number, button);
        m_functionOf.insert(button, &f);
        ++index;
    }
    grid->setColumnStretch(kButtonsPerRow, 1);
}

void FunctionBar::press(int functionNumber)
{
    raiseAll(functionNumber);
    if (QToolButton *b = button(functionNumber))
        b->setChecked(true);
}

void FunctionBar::addToGroup(QToolButton *member)
{
    m_members.append(member);
    member->setCheckable(true);
    // Connected before the owner's handler, so that a refused click reaches nobody.
    connect(member, &QToolButton::clicked, this, [this, member](bool checked) {
        if (m_changeAllowed && !m_changeAllowed()) {
            member->setChecked(!checked);
            return;
        }
        for (QToolButton *b : std::as_const(m_buttons))
            b->setChecked(false);
        Q_EMIT memberClicked(member, checked);
    });
}

void FunctionBar::raiseAll(int exceptFunctionNumber)
{
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it) {
        if (it.key() != exceptFunctionNumber)
            it.value()->setChecked(false);
    }
    for (QToolButton *member : std::as_const(m_members))
        member->setChecked(false);
}

bool FunctionBar::anyPressed() const
{
    for (const QToolButton *b : m_buttons) {
        if (b->isChecked())
            return true;
    }
    for (const QToolButton *member : m_members) {
        if (member->isChecked())
            return true;
    }
    return false;
}

bool FunctionBar::eventFilter(QObject *watched, QEvent *event)
{
    // A name shown while hovering goes when the pointer leaves, as it does near an edge.
    if (event->type() == QEvent::Leave && !anyPressed())
        m_dropDown.setEditText(QString());
    if (event->type() == QEvent::MouseMove && m_hoverAllowed && m_hoverAllowed()) {
        const auto *button = static_cast<QWidget *>(watched);
        const QPoint pos = static_cast<QMouseEvent *>(event)->position().toPoint();
        // More than kHoverMargin pixels away from every edge.
        const int m = kHoverMargin + 1;
        const bool wellInside = button->rect().adjusted(m, m, -m, -m).contains(pos);
        m_dropDown.setEditText(wellInside ? m_functionOf.value(watched)->name : QString());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plintex
