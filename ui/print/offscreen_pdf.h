#pragma once

#include "base/message_codes.h"
#include "print/list_layout.h"

#include <filesystem>
#include <system_error>

namespace qzb {

// Writes the lists as an A4 PDF without a display, for the command line: a process without a Qt
// application gets one on the offscreen platform (unless another platform is set) for good.
MessageCode WriteListsPdfOffscreen(const std::filesystem::path& path,
                                   const CPrintSource& source,
                                   const CPrintSelection& selection,
                                   std::error_code* error = nullptr);

} // namespace qzb
