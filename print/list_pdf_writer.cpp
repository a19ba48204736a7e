#include "print/list_pdf_writer.h"

#include "base/atomic_file.h"

namespace qzb {

MessageCode WriteListsPdf(IListPdfWriter& writer,
                          const std::filesystem::path& path,
                          const CPrintSource& source,
                          const CPrintSelection& selection,
                          std::error_code* error)
{
    const CPageMetrics metrics = writer.Metrics();
    const CPrintDocument document = LayOutLists(source, selection, metrics, writer.Measure(PageGeometry(metrics)));
    std::vector<std::uint8_t> pdf;
    if (!writer.Write(document, pdf) || !WriteFileAtomically(path, pdf, error)) {
        return kMsgWriteFileError;
    }
    return kOk;
}

} // namespace qzb
