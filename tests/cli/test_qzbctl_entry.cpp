#include "tests/cli/qzbctl_fixture.h"

#include <gtest/gtest.h>

namespace qzb {
namespace {

class QzbctlEntry : public Qzbctl
{
protected:
    void SetUp() override
    {
        Qzbctl::SetUp();
        ASSERT_EQ(Run({"--model", "8313", "new", File("a.dat")}).status, kExitOk);
    }

    Json Show(const std::string& target)
    {
        const CRun run = Run({"entry", "show", File("a.dat"), target});
        EXPECT_EQ(run.status, kExitOk) << run.err;
        return Json::parse(run.out);
    }

    CRun Set(std::vector<std::string> values)
    {
        values.insert(values.begin(), {"entry", "set", File("a.dat")});
        return Run(values);
    }
};

TEST_F(QzbctlEntry, ShowSetAndDeleteRoundTrip)
{
    const Json empty = Show("speed:7");
    std::vector<std::string> keys;
    for (const auto& [key, value] : empty.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"address", "batch", "groups", "kind", "name", "number", "speed"}));
    EXPECT_EQ(empty["kind"], "fax");
    EXPECT_EQ(empty["name"], "");

    const CRun set = Set({"speed:7", "name=Office", "number=0123-45", "speed=2", "batch=09:15", "groups=3,5"});
    ASSERT_EQ(set.status, kExitOk) << set.err;
    const Json shown = Show("speed:7");
    EXPECT_EQ(shown["name"], "Office");
    EXPECT_EQ(shown["number"], "0123-45");
    EXPECT_EQ(shown["speed"], 2);
    EXPECT_EQ(shown["batch"], "09:15");
    EXPECT_EQ(shown["groups"], Json::array({3, 5}));

    ASSERT_EQ(Set({"group:3", "name=Team"}).status, kExitOk);
    EXPECT_EQ(Show("group:3")["name"], "Team");
    ASSERT_EQ(Set({"favourite:1", "group=3"}).status, kExitOk);

    const Json scan = Show("speed:221");
    EXPECT_EQ(scan["protocol"], "ftp");
    EXPECT_EQ(scan["port"], "21");
    EXPECT_EQ(scan["user"], "Anonymous");
    ASSERT_EQ(Set({"speed:221", "protocol=smb", "server=\\\\host\\share", "directory=scans", "colour=1"}).status,
              kExitOk);
    EXPECT_EQ(Show("speed:221")["protocol"], "smb");

    // Deleting the speed dial empties group 3, which goes with the favourite pointing to it.
    ASSERT_EQ(Run({"entry", "delete", File("a.dat"), "speed:7"}).status, kExitOk);
    EXPECT_EQ(Show("speed:7")["name"], "");
    EXPECT_EQ(Show("group:3")["name"], "Group 03");
    const CRun gone = Run({"entry", "delete", File("a.dat"), "favourite:1"});
    EXPECT_EQ(gone.status, kExitFailed);
    EXPECT_NE(gone.err.find(File("a.dat") + " has nothing under favourite:1"), std::string::npos) << gone.err;
    EXPECT_EQ(Run({"entry", "delete", File("a.dat"), "speed:221"}).status, kExitOk);
}

TEST_F(QzbctlEntry, RefusalsLeaveTheFileAsItWas)
{
    ASSERT_EQ(Set({"speed:2", "kind=email", "address=x@y", "groups=4"}).status, kExitOk);
    const Bytes before = Read(File("a.dat"));

    const CRun pause = Set({"speed:1", "name=A", "number=P12"});
    EXPECT_EQ(pause.status, kExitFailed);
    EXPECT_NE(pause.err.find("error 0x80020018: "), std::string::npos) << pause.err;
    EXPECT_NE(pause.err.find("(field number)"), std::string::npos) << pause.err;

    const CRun group = Set({"speed:1", "number=12", "groups=4"});
    EXPECT_EQ(group.status, kExitFailed);
    EXPECT_NE(group.err.find("0x8002001B"), std::string::npos) << group.err;

    // A name for a group without members would be dropped by the file without a word.
    const CRun empty = Set({"group:5", "name=Nobody"});
    EXPECT_EQ(empty.status, kExitFailed);
    EXPECT_NE(empty.err.find("group:5 has no members"), std::string::npos) << empty.err;

    const std::pair<std::vector<std::string>, std::string> usages[] = {
        {{"speed:1", "colour=1"}, "field colour is no field of this editor"},
        {{"speed:1", "address=x@y"}, "field address is hidden for this entry"},
        {{"speed:251", "name=x"}, "not speed:251"},
        {{"speed:221", "account=anonymous", "user=x"}, "field user is disabled"},
    };
    for (const auto& [values, said] : usages) {
        const CRun run = Set(values);
        EXPECT_EQ(run.status, kExitUsage) << values[0];
        EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
    }
    EXPECT_EQ(Read(File("a.dat")), before);
}

TEST_F(QzbctlEntry, BatchTimesOutsideTheClockAreUsageErrors)
{
    const Bytes before = Read(File("a.dat"));
    for (const char* batch : {"batch=24:00", "batch=10:60", "batch=35:10", "batch=1030", "batch=1:2:3"}) {
        const CRun run = Set({"speed:4", "number=1", batch});
        EXPECT_EQ(run.status, kExitUsage) << batch;
        EXPECT_NE(run.err.find("field batch does not take that value"), std::string::npos) << run.err;
    }
    EXPECT_EQ(Read(File("a.dat")), before);
    EXPECT_EQ(Set({"speed:4", "number=1", "batch=10:"}).status, kExitFailed) << "half a time is the editor's refusal";

    for (const auto& [batch, shown] : {std::pair{"23:59", "23:59"}, {"0:00", "00:00"}, {"7:5", "07:05"}, {"", ""}}) {
        ASSERT_EQ(Set({"speed:4", "number=1", std::string("batch=") + batch}).status, kExitOk) << batch;
        EXPECT_EQ(Show("speed:4")["batch"], shown) << batch;
    }
    // dump names the time as the editor does, and keeps the former fields for one release.
    ASSERT_EQ(Set({"speed:4", "batch=23:59", "speed=1"}).status, kExitOk);
    const Json record = Dump("a.dat")["faxMail"][0];
    EXPECT_EQ(record["batch"], "23:59");
    EXPECT_EQ(record["speed"], 1);
    EXPECT_EQ(record["batchHour"], 23);
    EXPECT_EQ(record["faxSpeed"], 1);
}

} // namespace
} // namespace qzb
