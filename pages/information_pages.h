#pragma once

#include "pages/page_def.h"

namespace qzb {

// The two read-only device information pages: the 60 total counters and the configuration rows,
// each row hidden (and the rows below moving up) where the running model does not have it.
const CPageDef& TotalCounterPage();
const CPageDef& ConfigurationPage();

} // namespace qzb
