#include "base/text_format.h"

#include "addressbook/group_label.h"
#include "model/text_codec.h"

#include <gtest/gtest.h>

namespace qzb {
namespace {

TEST(TextFormat, FirstIntegerDirectiveTakesTheNumber)
{
    EXPECT_EQ(FormatNumberText(u"Group %02d", 3), u"Group 03");
    EXPECT_EQ(FormatNumberText(u"Group %d", 12), u"Group 12");
    EXPECT_EQ(FormatNumberText(u"%i.", 7), u"7.");
    EXPECT_EQ(FormatNumberText(u"[%3d]", 7), u"[  7]");
    EXPECT_EQ(FormatNumberText(u"%03d", -7), u"-07");
    EXPECT_EQ(FormatNumberText(u"[%4d]", -7), u"[  -7]") << "the sign stands before the digits, after the spaces";
    EXPECT_EQ(FormatNumberText(u"%02d", -12), u"-12") << "a number wider than its field is not cut";
    EXPECT_EQ(FormatNumberText(u"100% %s %d %d", 5), u"100% %s 5 %d") << "other directives stand as they are";
    EXPECT_EQ(FormatNumberText(u"no directive", 5), u"no directive");
    EXPECT_EQ(FormatNumberText(u"%", 5), u"%");
}

TEST(GroupLabel, DefaultLabelCodePageNameOrPanelName)
{
    CGroupEntry group;
    group.number = 4;
    EXPECT_EQ(GroupDisplayLabel(nullptr, 4, u"Group %02d", 0), u"Group 04");
    EXPECT_EQ(GroupDisplayLabel(&group, 4, u"Group %02d", 0), u"Group 04");
    // A check-list name is the code page's default label of some number.
    group.name.Assign("Group 07");
    EXPECT_EQ(GroupDisplayLabel(&group, 4, u"Group %02d", 0), u"Group 07");
    // Anything else is panel code: 0x80 is a Cyrillic capital on the panel.
    group.name.Assign("\x80x");
    EXPECT_EQ(GroupDisplayLabel(&group, 4, u"Group %02d", 0), u"\u0411x");
}

} // namespace
} // namespace qzb
