#include "app/preferences.h"

#include "tests/support/memory_preferences.h"

#include <gtest/gtest.h>

#include <map>

namespace qzb {
namespace {

TEST(Preferences, ServiceManPasswordIsUtf16WithItsTerminator)
{
    CMemoryPreferences preferences;
    EXPECT_EQ(ReadServiceManPassword(preferences), u"qorlex");
    ASSERT_TRUE(WriteServiceManPassword(preferences, u"s\u00E9cret"));
    const std::vector<std::uint8_t> expected = {'s', 0, 0xE9, 0, 'c', 0, 'r', 0, 'e', 0, 't', 0, 0, 0};
    EXPECT_EQ(preferences.binaries.at("ServiceManPass"), expected);
    EXPECT_EQ(ReadServiceManPassword(preferences), u"s\u00E9cret");
}

TEST(Preferences, BinaryTextStopsAtTheTerminatorOrAnOddTail)
{
    EXPECT_EQ(DecodeBinaryText({'a', 0, 0, 0, 'b', 0}), u"a");
    EXPECT_EQ(DecodeBinaryText({'a', 0, 'b'}), u"a");
    EXPECT_EQ(DecodeBinaryText({}), u"");
    EXPECT_EQ(EncodeBinaryText(u""), (std::vector<std::uint8_t>{0, 0}));
}

} // namespace
} // namespace qzb
