#pragma once

#include "pages/page_def.h"

namespace qzb {

// The scanner defaults: resolution, format, coding, file splitting, density and quality.
const CPageDef& ScanSettingsPage();

// The copy defaults: paper and density priority, the two density sliders, quality, sorting,
// 4in1 order and duplex.
const CPageDef& CopySettingsPage();

} // namespace qzb
