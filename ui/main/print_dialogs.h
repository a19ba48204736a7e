#pragma once

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace qzb {

// The print dialog and the preview of the print command. Tests queue the PDF files the user would
// print to (an empty name is Cancel): a queued name is taken at once, as if "print to file" had
// been chosen with that name and the preview confirmed, and no dialog opens.
enum class PrintAnswer { Cancel, Print, Printed };

class CPrintDialogs
{
public:
    // The system's print dialog, without page ranges or a selection, then a preview of the pages
    // that paint draws. Print when the user confirmed printing on the printer (or file) chosen;
    // Printed when the preview has printed them itself.
    static PrintAnswer ChooseAndPreview(QWidget* owner, QPrinter& printer, const std::function<void(QPrinter*)>& paint);
    static void SetNextPdfName(const QString& name);
    static void Clear();
};

} // namespace qzb
