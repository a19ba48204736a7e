#pragma once

#include <cstdint>
#include <vector>

namespace qzb {

// How one toolbar button or menu row (a separator included) is drawn now.
struct CCommandRowState
{
    std::uint32_t command = 0;
    bool visible = false;
    bool enabled = false;
};

// The toolbar's buttons and the File menu's rows in their order, from the window state word.
// Commands the utility does not carry out stay hidden, a separator shows only where a row of its
// group does, and nothing is enabled while a device operation runs.
std::vector<CCommandRowState> ToolbarRowStates(std::uint32_t windowState, bool busy);
std::vector<CCommandRowState> FileMenuRowStates(std::uint32_t windowState, bool busy);
// The Device menu's rows, each in the state of its toolbar button.
std::vector<CCommandRowState> DeviceMenuRowStates(std::uint32_t windowState, bool busy);

} // namespace qzb
