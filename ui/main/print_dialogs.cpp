#include "ui/main/print_dialogs.h"

#include <QAction>
#include <QCoreApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <deque>

namespace qzb {

namespace {

std::deque<QString>& Queued()
{
    static std::deque<QString> names;
    return names;
}

// The preview's Print button would ask for the printer once more; the printer is chosen already,
// so it only confirms. Returns false when the button was not found and Qt prints as it would.
bool PrintButtonConfirms(QPrintPreviewDialog& preview, bool& confirmed)
{
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : preview.findChildren<QAction*>()) {
        if (action->text() == print) {
            QObject::disconnect(action, &QAction::triggered, &preview, nullptr);
            QObject::connect(action, &QAction::triggered, &preview, [&preview, &confirmed] {
                confirmed = true;
                preview.accept();
            });
            return true;
        }
    }
    return false;
}

} // namespace

PrintAnswer
CPrintDialogs::ChooseAndPreview(QWidget* owner, QPrinter& printer, const std::function<void(QPrinter*)>& paint)
{
    if (!Queued().empty()) {
        const QString name = Queued().front();
        Queued().pop_front();
        if (name.isEmpty()) {
            return PrintAnswer::Cancel;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(name);
        return PrintAnswer::Print;
    }
    QPrintDialog dialog(&printer, owner);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) {
        return PrintAnswer::Cancel;
    }
    QPrintPreviewDialog preview(&printer, owner);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, paint);
    bool confirmed = false;
    if (!PrintButtonConfirms(preview, confirmed)) {
        return preview.exec() == QDialog::Accepted ? PrintAnswer::Printed : PrintAnswer::Cancel;
    }
    return preview.exec() == QDialog::Accepted && confirmed ? PrintAnswer::Print : PrintAnswer::Cancel;
}

void CPrintDialogs::SetNextPdfName(const QString& name)
{
    Queued().push_back(name);
}

void CPrintDialogs::Clear()
{
    Queued().clear();
}

} // namespace qzb
