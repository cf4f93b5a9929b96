#include "ui/windows/printhelpbuttons.h"

#include "settings/programfolder.h"
#include "ui/dialogs.h"
#include "ui/functioncontroller.h"
#include "ui/mainwindow.h"
#include "ui/panestack.h"
#include "ui/printing/outputfiledevice.h"
#include "ui/printing/printout.h"
#include "ui/printing/printparametersdialog.h"
#include "ui/printing/printprogress.h"

#include <QAction>
#include <QFontDatabase>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QToolBar>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace plintex {

PrintHelpButtons::PrintHelpButtons(MainWindow &window, Dialogs &dialogs, QString programFolder,
                                   QToolBar &toolbar)
    : QObject(&window), m_window(window), m_dialogs(dialogs),
      m_programFolder(std::move(programFolder))
{
    QAction *before = window.toolbarAction(ToolbarAction::Preferences);
    const auto add = [&](const QString &name, const QString &icon,
                         void (PrintHelpButtons::*slot)()) {
        auto *a = new QAction(QIcon(u":/icons/toolbar/"_s + icon + u".svg"_s), name, this);
        a->setObjectName(name);
        a->setStatusTip(name);
        connect(a, &QAction::triggered, this, slot);
        toolbar.insertAction(before, a);
        return a;
    };
    m_print = add(u"Print"_s, u"print"_s, &PrintHelpButtons::print);
    m_help = add(u"Help"_s, u"help"_s, &PrintHelpButtons::help);
    // As "Save File": not while a run rewrites the text or the text is in a pane of its own.
    connect(window.functions(), &FunctionController::runningChanged, this,
            &PrintHelpButtons::enable);
    connect(window.panes(), &PaneStack::pageChanged, this, &PrintHelpButtons::enable);
}

PrintHelpButtons::~PrintHelpButtons() = default;

void PrintHelpButtons::enable()
{
    m_print->setEnabled(!m_window.functions()->isRunning() && !m_window.panes()->isHandedOver());
}

PrintParametersDialog &PrintHelpButtons::printDialog()
{
    if (!m_dialog) {
        m_dialog = new PrintParametersDialog(&m_window);
        connect(m_dialog, &PrintParametersDialog::printerRequested, this,
                &PrintHelpButtons::choosePrinter);
    }
    return *m_dialog;
}

QPrinter &PrintHelpButtons::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    }
    return *m_printer;
}

void PrintHelpButtons::choosePrinter()
{
    m_dialogs.choosePrinter(m_dialog, printer());
}

void PrintHelpButtons::print()
{
    m_window.resetAll();
    const QStringList rows = m_window.rows();
    if (rows.isEmpty() || (rows.size() == 1 && rows[0].isEmpty())) {
        m_dialogs.warning(&m_window, u"There is no text to print."_s);
        return;
    }
    if (!m_dialogs.runPrintParameters(printDialog()))
        return;
    const qint64 size = m_dialog->fontSize();
    if (size < 1) {
        m_dialogs.warning(&m_window, u"Print font size must be at least 1."_s);
        return;
    }
    printRows(rows, int(size));
}

// A file printout is written beside its name and takes its place only once complete; a
// cancelled job leaves nothing behind, on paper or on disk.
void PrintHelpButtons::printRows(const QStringList &rows, int pointSize)
{
    QPrinter &printer = this->printer();
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    if (toFile ? printer.outputFileName().isEmpty() : !printer.isValid()) {
        m_dialogs.warning(&m_window, u"No printer is installed.\r"
                                     u"Press \"Printer...\" to print to a PDF file instead."_s);
        return;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(pointSize);
    printer.setDocName(QString());
    OutputFileDevice file;
    std::unique_ptr<QPdfWriter> pdf;
    QPainter painter;
    if (toFile) {
        if (!file.openFile(printer.outputFileName())) {
            cannotWrite(printer.outputFileName(), file.error());
            return;
        }
        pdf = std::make_unique<QPdfWriter>(&file);
        pdf->setPageLayout(printer.pageLayout());
        pdf->setResolution(printer.resolution());
        pdf->setCreator(u"Plintex"_s);
    }
    if (!painter.begin(toFile ? static_cast<QPaintDevice *>(pdf.get()) : &printer)) {
        m_dialogs.warning(&m_window,
                          u"The printer "_s + printer.printerName() + u" cannot be used."_s);
        return; // the file, not committed, is dropped with it
    }
    painter.setFont(font);
    PrintProgress progress(&m_window);
    const PrintOutcome outcome = plintex::printRows(rows, painter, progress);
    if (outcome != PrintOutcome::Printed && !toFile)
        printer.abort();
    painter.end();
    if (toFile) {
        if (outcome != PrintOutcome::Printed)
            file.discard();
        else if (!file.commit())
            cannotWrite(printer.outputFileName(), file.error());
    }
    if (outcome == PrintOutcome::TooLarge)
        m_dialogs.warning(&m_window, u"The print font size is too large for the page."_s);
}

void PrintHelpButtons::cannotWrite(const QString &path, const QString &why)
{
    m_dialogs.warning(&m_window, u"The printout cannot be written to "_s + path + u"\r"_s + why);
}

void PrintHelpButtons::help()
{
    const QString file = helpFile(m_programFolder, shippedFolderFor(m_programFolder));
    m_dialogs.openUrl(QUrl::fromLocalFile(file));
}

} // namespace plintex
