#pragma once

#include "print/list_pdf_writer.h"

#include <string>

namespace qzb {

// The PDF writer's plugin, loaded on first use from <executable>/../<library folder>/qzb, then from
// the build tree; it stays loaded for the process. Null, with the loader's reason in problem, when
// it cannot be found or is no such plugin.
CreateListPdfWriterFunction LoadListPdfPlugin(std::string& problem);

} // namespace qzb
