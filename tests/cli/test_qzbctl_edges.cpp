// qzbctl at the edges of what a file holds: the last speed dial of a list, and a page value the
// page takes but the file leaves out.
#include "tests/cli/qzbctl_fixture.h"

#include <gtest/gtest.h>

namespace qzb {
namespace {

TEST_F(Qzbctl, EntryDeleteReachesTheLastSlotOfEachList)
{
    ASSERT_EQ(Run({"--model", "8313", "new", File("a.dat")}).status, kExitOk);
    for (const char* target : {"speed:1", "speed:220"}) {
        ASSERT_EQ(Run({"entry", "set", File("a.dat"), target, "name=Edge", "number=12"}).status, kExitOk) << target;
    }
    ASSERT_EQ(Run({"entry", "set", File("a.dat"), "speed:250", "name=Edge", "server=host"}).status, kExitOk);
    for (const char* target : {"speed:220", "speed:250", "speed:1"}) {
        const CRun deleted = Run({"entry", "delete", File("a.dat"), target});
        EXPECT_EQ(deleted.status, kExitOk) << target << deleted.err;
        const CRun shown = Run({"entry", "show", File("a.dat"), target});
        ASSERT_EQ(shown.status, kExitOk) << target;
        EXPECT_EQ(Json::parse(shown.out)["name"], "") << target << " is gone";
        EXPECT_EQ(Run({"entry", "delete", File("a.dat"), target}).status, kExitFailed) << target << " twice";
    }
}

// Numbers in a value have at most the digits of their field: leading zeros do not make room.
TEST_F(Qzbctl, EntryValuesWiderThanTheirFieldsAreUsageErrors)
{
    ASSERT_EQ(Run({"--model", "8313", "new", File("a.dat")}).status, kExitOk);
    const Bytes before = Read(File("a.dat"));
    for (const char* value : {"groups=0003", "batch=007:05", "batch=07:005"}) {
        const CRun run = Run({"entry", "set", File("a.dat"), "speed:4", "number=1", value});
        EXPECT_EQ(run.status, kExitUsage) << value;
        EXPECT_NE(run.err.find("does not take that value"), std::string::npos) << value << run.err;
    }
    EXPECT_EQ(Read(File("a.dat")), before);
    EXPECT_EQ(Run({"entry", "set", File("a.dat"), "speed:4", "number=1", "groups=003", "batch=07:05"}).status, kExitOk);
}

// A device without a duplex unit: the page offers the duplex speed, but a settings file leaves its
// row out, so the value would be lost without a word.
TEST_F(Qzbctl, PageSetOfAValueTheFileLeavesOutFailsAndKeepsTheFile)
{
    ASSERT_EQ(Run({"--model", "2152", "new", File("a.dat")}).status, kExitOk);
    const Bytes before = Read(File("a.dat"));
    const CRun run = Run({"page", "set", File("a.dat"), "MACHINE_SET_DLG", "duplexSpeedCombo=1"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("left unchanged: control 1611 (duplexSpeedCombo)"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("not installed"), std::string::npos) << run.err;
    EXPECT_EQ(Read(File("a.dat")), before);
}

} // namespace
} // namespace qzb
