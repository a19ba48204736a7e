#pragma once

#include "base/message_codes.h"
#include "print/list_layout.h"

#include <filesystem>
#include <system_error>

class QPageLayout;
class QPagedPaintDevice;

namespace qzb {

// Lays the chosen lists out for the device and draws every page: a printer, a preview or a PDF
// writer. False when the device cannot be painted on.
bool PaintLists(QPagedPaintDevice& device, const CPrintSource& source, const CPrintSelection& selection);

// Writes the lists as a PDF file of the page layout and resolution; the file is replaced only
// after the whole document was made. kMsgWriteFileError when it cannot be written.
MessageCode WriteListsPdf(const std::filesystem::path& path,
                          const QPageLayout& layout,
                          int resolution,
                          const CPrintSource& source,
                          const CPrintSelection& selection,
                          std::error_code* error = nullptr);

} // namespace qzb
