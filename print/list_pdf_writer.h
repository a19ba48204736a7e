#pragma once

#include "base/message_codes.h"
#include "print/list_layout.h"

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

namespace qzb {

// Draws laid-out lists as a PDF document with the fonts of a real paint device. It lives in a
// plugin that only printing loads, so that the command line's other commands load no drawing
// library. One writer makes one document.
class IListPdfWriter
{
public:
    virtual ~IListPdfWriter() = default;
    // The printable area and resolution of the PDF's page.
    virtual CPageMetrics Metrics() const = 0;
    // Text measured with the fonts the document is drawn with, sized for the geometry.
    virtual const ITextMeasure& Measure(const CPageGeometry& geometry) = 0;
    // The whole PDF file; false when the document could not be drawn.
    virtual bool Write(const CPrintDocument& document, std::vector<std::uint8_t>& pdf) = 0;
};

// The plugin's one exported function: a new writer the caller deletes, or null.
using CreateListPdfWriterFunction = IListPdfWriter* (*)();
inline constexpr char kListPdfWriterEntry[] = "qzb_create_list_pdf_writer";
inline constexpr char kListPdfPluginFile[] = "qzb_list_pdf.so";

// Lays the chosen lists out for the writer's page and writes them as a PDF file, replaced only
// after the whole document was made. kMsgWriteFileError when it cannot be drawn or written.
MessageCode WriteListsPdf(IListPdfWriter& writer,
                          const std::filesystem::path& path,
                          const CPrintSource& source,
                          const CPrintSelection& selection,
                          std::error_code* error = nullptr);

} // namespace qzb
