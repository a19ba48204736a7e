#include "model/item_table.h"

#include "model/value_store.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace qzb {
namespace {

TEST(ItemTable, RowOrderLandmarks)
{
    const auto table = ItemTable();
    ASSERT_EQ(table.size(), 213u);
    EXPECT_EQ(table[0].key, "USER_FAX_PTT_SET");
    EXPECT_EQ(table[1].parameterId, 0x21000u);
    EXPECT_EQ(table[1].layout, CompositeLayout::OperationBlock);
    EXPECT_EQ(table[163].parameterId, 0x10608u);
    EXPECT_EQ(table[163].layout, CompositeLayout::DateTime);
    EXPECT_EQ(table.back().key, "CAMERA_N_UP_LAYOUT");
}

TEST(ItemTable, EveryRowLandsInAStoreRecord)
{
    const CValueStore store;
    std::set<std::uint32_t> ids;
    int composites = 0;
    for (const CItemRow& row : ItemTable()) {
        EXPECT_TRUE(ids.insert(row.parameterId).second) << std::hex << row.parameterId;
        const std::uint32_t category = (row.parameterId >> 8) & 0xFF;
        if (row.parameterId != 0x21000) {
            EXPECT_EQ(row.parameterId & 0xFFFF0000u, 0x10000u);
            EXPECT_LE(category, 0x0Cu);
        }
        if (row.kind == ItemKind::Composite) {
            ++composites;
            EXPECT_NE(row.layout, CompositeLayout::None);
            continue;
        }
        EXPECT_EQ(row.layout, CompositeLayout::None);
        if (row.key == kBufferLengthKey) {
            EXPECT_EQ(row.kind, ItemKind::Number);
            continue;
        }
        const auto* records = store.FindPageRecords(row.page);
        ASSERT_NE(records, nullptr) << row.page;
        const std::string base(row.key);
        const std::string stem = row.kind == ItemKind::Address ? base.substr(0, base.size() - 1) : base;
        for (int part = 1; part <= (row.kind == ItemKind::Address ? 4 : 1); ++part) {
            const std::string key = row.kind == ItemKind::Address ? stem + std::to_string(part) : base;
            bool found = false;
            for (const CValueRecord& record : *records) {
                found = found || record.key == key;
            }
            EXPECT_TRUE(found) << row.page << " " << key;
        }
    }
    EXPECT_EQ(composites, 4);
    EXPECT_EQ(FindItemRow(0x10607)->key, "USER_NAME");
    EXPECT_EQ(FindItemRow(0x10607)->kind, ItemKind::Text);
    EXPECT_EQ(FindItemRow(0x10229)->kind, ItemKind::Text);
    EXPECT_EQ(FindItemRow(0x1020D)->kind, ItemKind::Address);
    EXPECT_EQ(FindItemRow(0x99999), nullptr);
}

} // namespace
} // namespace qzb
