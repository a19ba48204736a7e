#include "ui/main/print_lists_command.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "model/panel_code.h"
#include "print/print_settings.h"
#include "print/printer_check.h"
#include "session/qzb_session.h"
#include "ui/main/print_dialogs.h"
#include "ui/main/select_pri_item_dlg.h"
#include "ui/print/cups_printers.h"
#include "ui/print/list_printing.h"

#include <QApplication>
#include <QPrinter>
#include <QPrinterInfo>

namespace qzb {

namespace {

const IInstalledPrinters& SystemPrinters()
{
    static const CCupsPrinters printers;
    return printers;
}

} // namespace

CPrintListsCommand::CPrintListsCommand(QWidget& window,
                                       CAppContext& context,
                                       CMessenger& messenger,
                                       const CQZBSession& session)
    : m_window(window)
    , m_context(context)
    , m_messenger(messenger)
    , m_session(session)
{
}

void CPrintListsCommand::Run()
{
    const IInstalledPrinters& installed = m_printers != nullptr ? *m_printers : SystemPrinters();
    const std::string_view printerName = m_context.profile->modelName;
    // The device's own print queue cannot reach it while this utility holds the USB link.
    if (m_session.Online() && DevicePrinterOnUsb(installed.Printers(), printerName)) {
        m_messenger.ShowMessage(kMsgPrintingStart, &m_window);
        return;
    }
    const WindowHandle owner = m_messenger.OwnerWindow();
    CSelectPriItemDlg selection(m_context, m_messenger, &m_window);
    m_messenger.SetOwnerWindow(&selection);
    const int chosen = selection.exec();
    m_messenger.SetOwnerWindow(owner);
    if (chosen != QDialog::Accepted) {
        return;
    }
    const CPrintSelection lists = ReadPrintSelection(m_context.store);
    const CPrintSource source = PrintSourceOf(m_context, LoggedOnUserName(), PackDeviceDate());

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString());
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        // Without a print queue a PDF file is the one way to print.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString((m_session.DataFolder() / "AddressBookLists.pdf").string()));
    }
    const PrintAnswer answer = CPrintDialogs::ChooseAndPreview(
        &m_window, printer, [&source, &lists](QPrinter* target) { PaintLists(*target, source, lists); });
    if (answer == PrintAnswer::Cancel) {
        return;
    }
    if (answer == PrintAnswer::Print) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        MessageCode result = kOk;
        if (printer.outputFormat() == QPrinter::PdfFormat) {
            result = WriteListsPdf(
                printer.outputFileName().toStdString(), printer.pageLayout(), printer.resolution(), source, lists);
        } else {
            // A printer that cannot be opened ends the command without printing.
            PaintLists(printer, source, lists);
        }
        QApplication::restoreOverrideCursor();
        if (result != kOk) {
            m_messenger.ShowMessage(result, &m_window);
            return;
        }
    }
    if (m_session.Online() && printer.outputFormat() == QPrinter::NativeFormat &&
        ChosenPrinterMayBeDevice(installed.Printers(), printer.printerName().toStdString(), printerName)) {
        m_messenger.ShowMessage(kMsgPrintingStart, &m_window);
    }
}

} // namespace qzb
