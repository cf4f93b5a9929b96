#include "ui/dialogs.h"

#include "ui/preferencesdialog.h"
#include "ui/printing/printparametersdialog.h"

#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
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

void WidgetDialogs::warning(QWidget *parent, const QString &text, std::optional<QPoint> pointer)
{
    QCursor::setPos(pointer.value_or(warningPointerPosition()));
    warningInPlace(parent, text);
}

void WidgetDialogs::warningInPlace(QWidget *parent, const QString &text)
{
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

bool WidgetDialogs::confirm(QWidget *parent, const QString &text, QPoint pointer)
{
    QCursor::setPos(pointer);
    QMessageBox box(QMessageBox::Question, u"Confirm"_s, displayText(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}

namespace {

std::optional<FileChoice> runFileDialog(QFileDialog &dialog, const QStringList &filters, int filter)
{
    dialog.setNameFilters(filters);
    if (filter >= 0 && filter < filters.size())
        dialog.selectNameFilter(filters[filter]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileChoice{dialog.selectedFiles().front(),
                      int(filters.indexOf(dialog.selectedNameFilter()))};
}

} // namespace

std::optional<FileChoice> WidgetDialogs::chooseFileToOpen(QWidget *parent, const QString &folder,
                                                          const QStringList &filters, int filter)
{
    QFileDialog dialog(parent, u"Open"_s, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(dialog, filters, filter);
}

std::optional<FileChoice> WidgetDialogs::chooseFileToSave(QWidget *parent, const QString &folder,
                                                          const QStringList &filters, int filter)
{
    QFileDialog dialog(parent, u"Save As"_s, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The program asks about replacing a file itself, name and extension rules included.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return runFileDialog(dialog, filters, filter);
}

bool WidgetDialogs::runPreferences(PreferencesDialog &dialog)
{
    dialog.adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    return dialog.exec() == QDialog::Accepted;
}

QAction *WidgetDialogs::popUp(QMenu &menu, const QPoint &globalPos)
{
    return menu.exec(globalPos);
}

bool WidgetDialogs::runPrintParameters(PrintParametersDialog &dialog)
{
    return dialog.exec() == QDialog::Accepted;
}

bool WidgetDialogs::choosePrinter(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    // The whole text is printed: a page range would be offered and then ignored.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted;
}

void WidgetDialogs::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

} // namespace plintex
