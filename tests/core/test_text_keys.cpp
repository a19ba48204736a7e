#include "app/text_keys.h"

#include "app/english_texts.h"
#include "app/model_profile.h"
#include "app/string_table.h"
#include "pages/dial_registration.h"
#include "pages/entry_group.h"
#include "pages/page_registry.h"
#include "print/print_settings.h"
#include "tests/support/models.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qzb {
namespace {

// Each collector names keys that some code looks up; a page that brings its own table adds its
// collector here.
const std::vector<std::function<std::vector<std::string>()>> kKeyCollectors = {
    RequiredTextKeys,
    PageTextKeys,
    DialRegistrationTextKeys,
    EntryEditorTextKeys,
    PrintTextKeys,
};

class ShippedStringTable : public ::testing::TestWithParam<std::int32_t>
{
};

TEST_P(ShippedStringTable, HoldsEveryKeyTheCodeLooksUp)
{
    const CModelProfile& profile = FindModelProfile(GetParam());
    const std::filesystem::path path = std::filesystem::path(QZB_TEST_DATA_DIR) / StringTableFileName(profile);
    CStringTable table;
    ASSERT_TRUE(table.LoadFile(path).Ok()) << path;
    std::size_t checked = 0;
    for (const auto& collect : kKeyCollectors) {
        for (const std::string& key : collect()) {
            const std::u16string* text = table.Find(key);
            EXPECT_TRUE(text && !text->empty()) << key << " missing or empty in " << path;
            EXPECT_FALSE(EnglishText(key).empty()) << key << " has no English text compiled in";
            ++checked;
        }
    }
    EXPECT_GT(checked, 100u);
}

INSTANTIATE_TEST_SUITE_P(Profiles, ShippedStringTable, ::testing::ValuesIn(kModels));

} // namespace
} // namespace qzb
