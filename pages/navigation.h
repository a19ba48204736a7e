#pragma once

#include "base/window_state.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace qzb {

// One row of the navigation tree's node table. Shape, in the low three bits of the flags: 3 a
// top-level node, 6 a second-level node that later leaves hang under, 2 a leaf under the top-level
// node, 4 a leaf under the second-level node.
struct CNavigationNode
{
    std::string_view textKey;
    std::uint32_t flags;
    std::int32_t image;
    std::uint32_t typeCode;
    std::uint32_t modelMask;
};

inline constexpr std::uint32_t kNodeNormalMode = 0x20000;
inline constexpr std::uint32_t kNodeServiceMode = 0x40000;

std::span<const CNavigationNode> NavigationNodes();

// A node of the built tree: its row and the index of its parent among the built nodes (-1 for a
// top-level node).
struct CTreeNode
{
    const CNavigationNode* node;
    std::int32_t parent;
};

// The nodes the model and mode show, in table order, with their parents.
std::vector<CTreeNode> BuildNavigationTree(std::uint32_t modelBit, bool serviceMan);

// The page type a selected item opens: its own type code when it is a node of the table, else the
// type of an address-book item (favourite, speed dial up to 220 or above, group), else -1.
std::int64_t PageTypeOfItem(std::uint32_t itemValue);

// Nodes without a page of their own, where the page host shows the connection band.
bool IsNodeWithoutPage(std::int64_t pageType);

} // namespace qzb
