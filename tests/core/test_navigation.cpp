#include "pages/command_states.h"
#include "pages/navigation.h"

#include "app/model_profile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qzb {
namespace {

std::vector<std::uint32_t> Types(const std::vector<CTreeNode>& tree)
{
    std::vector<std::uint32_t> types;
    for (const CTreeNode& node : tree) {
        types.push_back(node.node->typeCode);
    }
    return types;
}

bool Has(const std::vector<CTreeNode>& tree, std::uint32_t type)
{
    const auto types = Types(tree);
    return std::find(types.begin(), types.end(), type) != types.end();
}

TEST(NavigationTree, ModelsAndModesChooseTheNodes)
{
    const auto normal = BuildNavigationTree(1, false);
    EXPECT_EQ(Types(normal),
              (std::vector<std::uint32_t>{
                  0x1000000, 0x1000002, 0x1000004, 0x1000008, 0x1000010, 0x1000001, 0x4000000, 0x4000001, 0x4000002}));
    const auto large = BuildNavigationTree(FindModelProfile(8313).modelBit, true);
    EXPECT_FALSE(Has(large, 0x2080000)) << "no USB node on the 8120";
    EXPECT_FALSE(Has(large, 0x2000100));
    for (const std::int32_t model : {8329, 2152}) {
        const auto small = BuildNavigationTree(FindModelProfile(model).modelBit, true);
        EXPECT_TRUE(Has(small, 0x2080000));
        EXPECT_FALSE(Has(small, 0x2000100) || Has(small, 0x2000200) || Has(small, 0x2040000)) << model;
    }
    const auto full = BuildNavigationTree(FindModelProfile(8314).modelBit, true);
    EXPECT_EQ(full.size(), 30u);
    // Shapes: a second-level node collects the leaves after it; a top-level leaf ends that.
    auto parentType = [&full](std::uint32_t type) {
        for (const CTreeNode& node : full) {
            if (node.node->typeCode == type) {
                return node.parent < 0 ? 0u : full[static_cast<std::size_t>(node.parent)].node->typeCode;
            }
        }
        return 0xFFFFFFFFu;
    };
    EXPECT_EQ(parentType(0x1000004), 0x1000002u);
    EXPECT_EQ(parentType(0x1000010), 0x1000000u);
    EXPECT_EQ(parentType(0x2000008), 0x2000004u);
    EXPECT_EQ(parentType(0x2001000), 0x2000004u);
    EXPECT_EQ(parentType(0x2002000), 0x2000000u);
    EXPECT_EQ(parentType(0x4000002), 0x4000000u);
}

TEST(NavigationTree, ItemsOpenTheirPageTypes)
{
    EXPECT_EQ(PageTypeOfItem(0x2000020), 0x2000020);
    EXPECT_EQ(PageTypeOfItem(0x100000 + 3), 0x1000001);
    EXPECT_EQ(PageTypeOfItem(0x200000 + 220), 0x1000004);
    EXPECT_EQ(PageTypeOfItem(0x200000 + 221), 0x1000008);
    EXPECT_EQ(PageTypeOfItem(0x400000 + 0x0500 + 7), 0x1000010);
    EXPECT_EQ(PageTypeOfItem(0x12345), -1);
}

TEST(CommandStates, ToolbarAndMenuFollowTheWindowState)
{
    auto state = [](std::uint32_t command, std::uint32_t word) {
        const auto buttons = ToolbarButtons();
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            if (buttons[i].command == command) {
                return ToolbarState(i, word);
            }
        }
        return CommandState::Hidden;
    };
    EXPECT_EQ(state(kCmdConnect, 0), CommandState::Enabled);
    EXPECT_EQ(state(kCmdConnect, kStateOnline), CommandState::Disabled);
    EXPECT_EQ(state(kCmdUpload, kStateOnline), CommandState::Disabled) << "no data";
    EXPECT_EQ(state(kCmdUpload, kStateOnline | kStateFileData), CommandState::Enabled);
    EXPECT_EQ(state(kCmdToolbarSave, kStateOnline), CommandState::Hidden);
    EXPECT_EQ(state(kCmdToolbarSave, kStateServiceMan), CommandState::Disabled);
    EXPECT_EQ(state(kCmdToolbarSave, kStateServiceMan | kStateCsvData), CommandState::Enabled);
    // The separators before the service-man groups go with them.
    EXPECT_EQ(ToolbarState(5, 0), CommandState::Hidden);
    EXPECT_EQ(ToolbarState(8, 0), CommandState::Hidden);
    EXPECT_EQ(ToolbarState(2, 0), CommandState::Enabled);
    EXPECT_EQ(ToolbarState(5, kStateServiceMan), CommandState::Enabled);

    const auto file = FileMenuRows();
    EXPECT_EQ(MenuRowState(file[0], 0), CommandState::Hidden);
    EXPECT_EQ(MenuRowState(file[1], kStateServiceMan), CommandState::Disabled);
    EXPECT_EQ(MenuRowState(file[1], kStateServiceMan | kStateDeviceData), CommandState::Enabled);
    EXPECT_EQ(MenuRowState(file[5], kStateOnline), CommandState::Disabled) << "export needs data";
    EXPECT_EQ(MenuRowState(file.back(), 0), CommandState::Enabled);
}

} // namespace
} // namespace qzb
