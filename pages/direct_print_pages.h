#pragma once

#include "pages/page_def.h"

namespace qzb {

// Printing straight from a camera: quality, layout, tray, tray-1 media and the trays' sizes.
const CPageDef& CameraDirectPrintPage();

// One switch each: printing from a memory device, printing from a camera, and the remote monitor.
const CPageDef& MemoryDirectPage();
const CPageDef& CameraDirectPage();
const CPageDef& RemoteMonitorPage();

} // namespace qzb
