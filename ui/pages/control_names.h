#pragma once

#include "pages/page.h"

#include <span>

class QWidget;

namespace qzb {

// Names every control of a page for assistive technology after the caption of its row: the label
// before it (which becomes the label's buddy), or the check box that switches the row; a box or
// button keeps its own text and is described by the row's label. Fields that share one caption
// (hour and minute, the parts of a date) are described as "Field 1 of 2", and a label after a
// field (a unit, a range, the value a slider shows) describes it too. widgets are by control index.
void NameControls(const CPage& page, std::span<QWidget* const> widgets);

} // namespace qzb
