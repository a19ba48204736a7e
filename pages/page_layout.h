#pragma once

#include "pages/page_def.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qzb {

// Edits of at most this many characters (an hour, a four-digit password, a port) are drawn narrow.
inline constexpr std::int32_t kNarrowEditLimit = 5;

// Where a screen places one control of a page in its grid.
struct CControlCell
{
    std::int32_t row = -1; // -1: not placed, the running model hides the control
    std::int32_t column = 0;
    std::int32_t columnSpan = 1;
    // A radio button of a group that sits on one row, or one of the few-digit fields of a caption
    // (hour and minute): they are drawn side by side from the first one's cell on, as close as they
    // allow, instead of each in a column of the grid.
    bool packed = false;
};

struct CPageLayout
{
    std::vector<CControlCell> cells; // by control index
    std::int32_t rowCount = 0;
    std::int32_t lastColumn = 0;
};

// The grid of a page for the running model. Controls the model hides take no cell; a run of check
// boxes, or of one group's radio buttons, laid out as a grid over several rows closes up over the
// cells such controls leave; rows left without a control go; a heading spans every column, and a
// text field alone at the end of its row takes the columns to the last one, so a long name shows.
CPageLayout LayOutPage(std::span<const CControlDef> controls, std::uint32_t modelBit);

} // namespace qzb
