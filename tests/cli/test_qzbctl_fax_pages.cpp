#include "tests/cli/qzbctl_fixture.h"

#include <gtest/gtest.h>

namespace qzb {
namespace {

class QzbctlFaxPages : public Qzbctl
{
protected:
    void SetUp() override
    {
        Qzbctl::SetUp();
        ASSERT_EQ(Run({"--model", "8313", "new", File("a.dat")}).status, kExitOk);
    }
};

TEST_F(QzbctlFaxPages, ShortMemoryRxPasswordLeavesTheFileAsItWas)
{
    const Bytes before = Read(File("a.dat"));
    const CRun run = Run({"page", "set", File("a.dat"), "FAX_RX_SET_DLG", "1301=1", "1304=12"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("error 0x80020104"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("(control 1304)"), std::string::npos) << run.err;
    EXPECT_EQ(Read(File("a.dat")), before);

    ASSERT_EQ(Run({"page",
                   "set",
                   File("a.dat"),
                   "FAX_RX_SET_DLG",
                   "1301=1",
                   "1304=0042",
                   "1306=08",
                   "1308=30",
                   "1310=17",
                   "1312=45"})
                  .status,
              kExitOk);
    const Json settings = Dump("a.dat")["settings"]["FAX_RX_SET_DLG"];
    EXPECT_EQ(settings["FAX_RX_OPE_MEMORY_RX_MODD_PASS"]["number"], 42) << "the window survives the file";
    EXPECT_EQ(settings["FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME"]["number"], 45);
}

TEST_F(QzbctlFaxPages, DayOfMonthIsCheckedOnStore)
{
    const Bytes before = Read(File("a.dat"));
    const CRun refused = Run({"page", "set", File("a.dat"), "USER_SET_DLG", "1131=04", "1133=31"});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_NE(refused.err.find("error 0x80030007"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("(control 1133)"), std::string::npos) << refused.err;
    EXPECT_EQ(Read(File("a.dat")), before);

    EXPECT_EQ(Run({"page", "set", File("a.dat"), "USER_SET_DLG", "1131=13"}).status, kExitUsage)
        << "typing refuses a 13th month";
    const CRun taken = Run({"page", "set", File("a.dat"), "USER_SET_DLG", "1131=02", "1133=29"});
    EXPECT_EQ(taken.status, kExitOk) << taken.err;
    const Json user = Dump("a.dat")["settings"]["USER_SET_DLG"];
    EXPECT_EQ(user["USER_TIME_MOUTH"]["number"], 2);
    EXPECT_EQ(user["USER_TIME_DAY"]["number"], 29);
}

} // namespace
} // namespace qzb
