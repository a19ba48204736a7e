#include "app/preferences.h"

#include <gtest/gtest.h>

#include <map>

namespace qzb {
namespace {

class CMemoryPreferences : public IPreferences
{
public:
    std::u16string ReadText(std::string_view name, std::u16string_view defaultText) const override
    {
        const auto it = texts.find(std::string(name));
        return it == texts.end() ? std::u16string(defaultText) : it->second;
    }
    bool WriteText(std::string_view name, std::u16string_view text) override
    {
        texts[std::string(name)] = std::u16string(text);
        return true;
    }
    std::optional<std::vector<std::uint8_t>> ReadBinary(std::string_view name) const override
    {
        const auto it = binaries.find(std::string(name));
        return it == binaries.end() ? std::nullopt : std::optional(it->second);
    }
    bool WriteBinary(std::string_view name, const std::vector<std::uint8_t>& bytes) override
    {
        binaries[std::string(name)] = bytes;
        return true;
    }

    std::map<std::string, std::u16string> texts;
    std::map<std::string, std::vector<std::uint8_t>> binaries;
};

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
