#pragma once

#include "pages/page_def.h"

namespace qzb {

// Machine settings: panel, power saving, toner and the panel language, with the rows of each
// device family.
const CPageDef& MachineSettingsPage();

// Report settings and the USB interface setting.
const CPageDef& ReportSettingsPage();
const CPageDef& UsbSettingsPage();

} // namespace qzb
