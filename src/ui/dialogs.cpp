#include "ui/dialogs.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace plintex {
namespace {

QString displayText(QString text)
{
    return text.replace(u'\r', u'\n');
}

} // namespace

QPoint warningPointerPosition()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->virtualGeometry() : QRect();
    return {desktop.width() / 2, desktop.height() / 2 + 35};
}

void centerMouse(const QWidget &control, int dx, int dy)
{
    const QRect client = control.contentsRect();
    const QPoint topLeft = control.mapToGlobal(client.topLeft());
    QCursor::setPos(topLeft.x() + client.width() / 2 + dx, topLeft.y() + client.height() / 2 + dy);
}

void WidgetDialogs::warning(QWidget *parent, const QString &text)
{
    QCursor::setPos(warningPointerPosition());
    QMessageBox box(QMessageBox::Warning, u"Warning"_s, displayText(text), QMessageBox::Ok, parent);
    box.exec();
}

Dialogs::Answer WidgetDialogs::question(QWidget *parent, const QString &text, bool withCancel,
                                        std::optional<QPoint> pointer)
{
    QCursor::setPos(pointer.value_or(warningPointerPosition()));
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, u"Confirm"_s, displayText(text), buttons, parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return withCancel ? Answer::Cancel : Answer::No;
    }
}

} // namespace plintex
