#pragma once

#include "pages/page_def.h"

namespace qzb {

// Paper source: tray-1 media and size (the size list follows the model and the media), tray 2 on
// the large model, tray 3 never shown but kept.
const CPageDef& PaperSourcePage();

// The custom paper size dialog of tray 1 or tray 2 ("CUSTOM_PAPER_SIZE_DLG:1" and ":2").
const CPageDef& CustomPaperSizeDialog(int tray);

} // namespace qzb
