#include "pages/navigation.h"

#include "app/model_profile.h"

namespace qzb {

namespace {

constexpr std::uint32_t kAll = kEveryModelMask;

constexpr CNavigationNode kNodes[] = {
    {"STR_TREE_DIAL_REGISTRATION", 0x60003, 0, 0x1000000, kAll},
    {"STR_TREE_DR_SPEED_DIAL", 0x60006, 3, 0x1000002, kAll},
    {"STR_TREE_DR_FAX_EMAIL", 0x60004, 4, 0x1000004, kAll},
    {"STR_TREE_DR_SCAN_TO_SERVER", 0x60004, 5, 0x1000008, kAll},
    {"STR_TREE_DR_GROUP_DIAL", 0x60002, 10, 0x1000010, kAll},
    {"STR_TREE_DR_ADDRESSBOOK", 0x60002, 1, 0x1000001, kAll},
    {"STR_TREE_MACHINE_SETTING", 0x40003, 12, 0x2000000, kAll},
    {"STR_TREE_MACHINE_SETTING", 0x40002, 12, 0x2000001, kAll},
    {"STR_TREE_PAPER_SOURCE_SETUP", 0x40002, 12, 0x2000002, kAll},
    {"STR_TREE_ADMIN_MANAGEMENT", 0x40006, 12, 0x2000004, kAll},
    {"STR_TREE_AM_ADMINISTRATOR_NO", 0x40004, 12, 0x2000008, kAll},
    {"STR_TREE_AM_REMOTE_MONITOR", 0x40004, 12, 0x2000010, kAll},
    {"STR_TREE_AM_NETWORK_SETTING", 0x40004, 12, 0x2000020, kAll},
    {"STR_TREE_AM_E_MAIL_SETTING", 0x40004, 12, 0x2000040, kAll},
    {"STR_TREE_AM_LDAP_SETTING", 0x40004, 12, 0x2000080, kAll},
    {"STR_TREE_AM_MEMORY_DIRECT", 0x40004, 12, 0x2000100, 0xFF00},
    {"STR_TREE_AM_CAMERA_DIRECT", 0x40004, 12, 0x2000200, 0xFF00},
    {"STR_TREE_AM_USB_SET", 0x40004, 12, 0x2080000, 0xFF06},
    {"STR_TREE_COMM_SETTING", 0x40004, 12, 0x2000400, kAll},
    {"STR_TREE_USER_SETTING", 0x40004, 12, 0x2000800, kAll},
    {"STR_TREE_AUTO_REDIAL_SETTING", 0x40004, 12, 0x2001000, kAll},
    {"STR_TREE_COPY_SETTING", 0x40002, 12, 0x2002000, kAll},
    {"STR_TREE_FAX_TX_OPERATIOIN", 0x40002, 12, 0x2004000, kAll},
    {"STR_TREE_FAX_RX_OPERATION", 0x40002, 12, 0x2008000, kAll},
    {"STR_TREE_REPORTING", 0x40002, 12, 0x2010000, kAll},
    {"STR_TREE_SCAN_SETTING", 0x40002, 12, 0x2020000, kAll},
    {"STR_TREE_CAMERA_DIRECT_PRINT", 0x40002, 12, 0x2040000, 0xFF00},
    {"STR_TREE_MACHINE_INFORMATION", 0x60003, 13, 0x4000000, kAll},
    {"STR_TREE_MI_TOTAL_COUNTER", 0x60002, 13, 0x4000001, kAll},
    {"STR_TREE_MI_CONFIGURATION", 0x60002, 13, 0x4000002, kAll},
};

constexpr std::uint32_t kShapeTop = 3;
constexpr std::uint32_t kShapeSecondLevel = 6;
constexpr std::uint32_t kShapeLeafUnderTop = 2;

} // namespace

std::span<const CNavigationNode> NavigationNodes()
{
    return kNodes;
}

std::vector<CTreeNode> BuildNavigationTree(std::uint32_t modelBit, bool serviceMan)
{
    const std::uint32_t mode = serviceMan ? kNodeServiceMode : kNodeNormalMode;
    std::vector<CTreeNode> tree;
    std::int32_t top = -1;
    std::int32_t second = -1;
    for (const CNavigationNode& node : kNodes) {
        if ((node.modelMask & modelBit) == 0 || (node.flags & mode) == 0) {
            continue;
        }
        const std::uint32_t shape = node.flags & 7;
        const auto index = static_cast<std::int32_t>(tree.size());
        if (shape == kShapeTop) {
            tree.push_back({&node, -1});
            top = index;
            second = -1;
        } else if (shape == kShapeSecondLevel || shape == kShapeLeafUnderTop) {
            tree.push_back({&node, top});
            if (shape == kShapeSecondLevel) {
                second = index;
            }
        } else {
            tree.push_back({&node, second >= 0 ? second : top});
        }
    }
    return tree;
}

std::int64_t PageTypeOfItem(std::uint32_t itemValue)
{
    for (const CNavigationNode& node : kNodes) {
        if (node.typeCode == itemValue) {
            return itemValue;
        }
    }
    switch (itemValue & 0xF00000) {
        case 0x100000:
            return 0x1000001;
        case 0x200000:
            return (itemValue & 0xFF) <= 220 ? 0x1000004 : 0x1000008;
        case 0x400000:
            return 0x1000010;
        default:
            return -1;
    }
}

bool IsNodeWithoutPage(std::int64_t pageType)
{
    return pageType == 0 || pageType == 0x1000000 || pageType == 0x2000000 || pageType == 0x2000004 ||
           pageType == 0x4000000 || pageType == -1;
}

} // namespace qzb
