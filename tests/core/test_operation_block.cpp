#include "model/operation_seed.h"

#include "model/value_store.h"

#include <gtest/gtest.h>

namespace qzb {
namespace {

struct Seeded
{
    COperationBlock block = kInitialOperationBlock;
    CValueStore store;
    std::int32_t dialMode = -1;

    void Seed() { dialMode = SeedFromOperationBlock(block, store); }
    std::int32_t Number(const char* page, const char* key) const { return store.GetItemNumber(page, key); }
};

TEST(OperationBlock, InitialBlockSeedsTheDocumentedValuesAndNeedsNoRepair)
{
    Seeded s;
    s.Seed();
    EXPECT_EQ(s.block, kInitialOperationBlock);
    EXPECT_EQ(s.dialMode, 1);
    const struct
    {
        const char* page;
        const char* key;
        std::int32_t expected;
    } cases[] = {
        {"COMMUNICATE_SET_DLG", "COMM_SET_PULSE", 0},
        {"COMMUNICATE_SET_DLG", "COMM_SET_PSTN_PBX", 0},
        {"AUTO_REDIAL_DLG", "AUTO_REDIAL_NUMBER_OF_TIME", 1},
        {"AUTO_REDIAL_DLG", "AUTO_REDIAL_WAIT_TIME", 2},
        {"FAX_RX_SET_DLG", "FAX_RX_OPE_CALL_TRANSFER", 0},
        {"FAX_RX_SET_DLG", "FAX_RX_OPE_CALL_TRANSFER_NUM", 0},
        {"FAX_RX_SET_DLG", "FAX_RX_OPE_RX_PRINT", 1},
        {"FAX_TX_SET_DLG", "FAX_TX_OPE_DEFAULT_TX", 0},
        {"FAX_TX_SET_DLG", "FAX_TX_OPE_HEADER", 1},
        {"FAX_RX_SET_DLG", "FAX_RX_OPE_RX_MODE", 0},
        {"FAX_RX_SET_DLG", "FAX_RX_OPE_FOOTER", 0},
        {"REPORT_SET_DLG", "REPORTING_ACTIVITY_REPORT", 1},
        {"REPORT_SET_DLG", "REPORTING_TX_RESULT_REPORT", 1},
        {"REPORT_SET_DLG", "REPORTING_RX_RESULT_REPORT", 1},
        {"FAX_RX_SET_DLG", "FAX_RX_OPE_NUM_OF_RINGS", 1},
        {"USER_SET_DLG", "USER_DATE_FORMAT_SET", 1},
        {"USER_SET_DLG", "USER_TIME_ZOON", 42},
        {"COMMUNICATE_SET_DLG", "COMM_SET_TEL_FAXMODE", 0},
        {"COMMUNICATE_SET_DLG", "COMM_SET_ANSWER_MACHINE", 0},
        {"COMMUNICATE_SET_DLG", "COMM_SET_RBT_SIGNAL_TIME", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(s.Number(c.page, c.key), c.expected) << c.key;
    }
}

TEST(OperationBlock, RedialLimitsAreRepairedAndApplied)
{
    Seeded s;
    s.block[30] = 0x70; // limit nibble 0, minimum field 7 (invalid)
    s.block[17] = 0x0C; // count 12, above the repaired limit of 10
    s.block[23] = 0x81; // wait 1 (bit 7 ignored), below the repaired minimum of 2
    s.Seed();
    EXPECT_EQ(s.block[30], 0x2A);
    EXPECT_EQ(s.block[17], 0x0C) << "the count byte itself is not repaired";
    EXPECT_EQ(s.Number("AUTO_REDIAL_DLG", "AUTO_REDIAL_NUMBER_OF_TIME"), 10);
    EXPECT_EQ(s.Number("AUTO_REDIAL_DLG", "AUTO_REDIAL_WAIT_TIME"), 2);

    Seeded t;
    t.block[30] = 0x53; // limit 3, minimum 5
    t.block[17] = 0x05;
    t.block[23] = 0x7F; // 127 minutes: capped at 99
    t.Seed();
    EXPECT_EQ(t.block[30], 0x53);
    EXPECT_EQ(t.Number("AUTO_REDIAL_DLG", "AUTO_REDIAL_NUMBER_OF_TIME"), 3);
    EXPECT_EQ(t.Number("AUTO_REDIAL_DLG", "AUTO_REDIAL_WAIT_TIME"), 99);

    Seeded u;
    u.block[17] = 0x00; // count 0 means once
    u.Seed();
    EXPECT_EQ(u.Number("AUTO_REDIAL_DLG", "AUTO_REDIAL_NUMBER_OF_TIME"), 1);
}

TEST(OperationBlock, RingsStayBetweenOneAndTheBound)
{
    Seeded zeroBound;
    zeroBound.block[48] = 0xA0;
    zeroBound.block[60] = 0x00;
    zeroBound.Seed();
    EXPECT_EQ(zeroBound.Number("FAX_RX_SET_DLG", "FAX_RX_OPE_NUM_OF_RINGS"), 1);
    EXPECT_EQ(zeroBound.block[48], 0xA1);

    Seeded above;
    above.block[48] = 0x39;
    above.block[60] = 0x45;
    above.Seed();
    EXPECT_EQ(above.Number("FAX_RX_SET_DLG", "FAX_RX_OPE_NUM_OF_RINGS"), 5);
    EXPECT_EQ(above.block[48], 0x35);
    EXPECT_EQ(above.block[60], 0x45);
}

TEST(OperationBlock, InvalidFieldsAreRepairedInTheBlock)
{
    Seeded s;
    s.block[44] = 0x1F; // call transfer on, number 15
    s.block[47] = 0x78; // activity 0, TX field 3, RX field 3
    s.block[53] = 0xE0; // date format field 3
    s.block[58] = 0xD9; // time zone 25 with the top bits set
    s.Seed();
    EXPECT_EQ(s.Number("FAX_RX_SET_DLG", "FAX_RX_OPE_CALL_TRANSFER"), 1);
    EXPECT_EQ(s.Number("FAX_RX_SET_DLG", "FAX_RX_OPE_CALL_TRANSFER_NUM"), 9);
    EXPECT_EQ(s.block[44], 0x19);
    EXPECT_EQ(s.Number("REPORT_SET_DLG", "REPORTING_TX_RESULT_REPORT"), 0);
    EXPECT_EQ(s.Number("REPORT_SET_DLG", "REPORTING_RX_RESULT_REPORT"), 0);
    EXPECT_EQ(s.block[47], 0x00);
    EXPECT_EQ(s.Number("USER_SET_DLG", "USER_DATE_FORMAT_SET"), 1);
    EXPECT_EQ(s.block[53], 0xA0);
    EXPECT_EQ(s.Number("USER_SET_DLG", "USER_TIME_ZOON"), 0);
    EXPECT_EQ(s.block[58], 0xC0);
}

TEST(OperationBlock, TimeZoneRanges)
{
    for (int zone = 0; zone < 64; ++zone) {
        Seeded s;
        s.block[58] = static_cast<std::uint8_t>(zone);
        s.Seed();
        const bool valid = zone <= 24 || (zone >= 33 && zone <= 56);
        EXPECT_EQ(s.Number("USER_SET_DLG", "USER_TIME_ZOON"), valid ? zone : 0) << zone;
    }
}

TEST(OperationBlock, DialModeCodeFollowsTheSwitchesAndPulse)
{
    const struct
    {
        std::uint8_t b10, b63;
        std::int32_t pulse, expected;
    } cases[] = {
        {0x20, 0x10, 0, 0},
        {0x20, 0x00, 1, 1},
        {0x00, 0x10, 1, 2},
        {0x00, 0x00, 1, 3},
        {0x00, 0x00, 0, 4},
    };
    for (const auto& c : cases) {
        COperationBlock block = kInitialOperationBlock;
        block[10] = c.b10;
        block[63] = c.b63;
        EXPECT_EQ(DialModeCode(block, c.pulse), c.expected);
    }
    Seeded s;
    s.block[10] = 0x00;
    s.block[4] = 0x04; // pulse dialling
    s.Seed();
    EXPECT_EQ(s.Number("COMMUNICATE_SET_DLG", "COMM_SET_PULSE"), 1);
    EXPECT_EQ(s.dialMode, 3);
}

} // namespace
} // namespace qzb
