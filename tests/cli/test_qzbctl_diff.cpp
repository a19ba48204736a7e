#include "tests/cli/qzbctl_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace qzb {
namespace {

class QzbctlDiff : public Qzbctl
{
protected:
    void SetUp() override
    {
        Qzbctl::SetUp();
        ASSERT_EQ(Run({"new", File("a.dat")}).status, kExitOk);
        fs::copy_file(File("a.dat"), File("b.dat"));
    }
    CRun Diff(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "diff");
        return Run(arguments);
    }
};

TEST_F(QzbctlDiff, NamesThePageTheItemAndBothValuesAndExitsOneWhenDifferent)
{
    const CRun same = Diff({File("a.dat"), File("a.dat")});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_TRUE(same.out.empty()) << same.out;
    EXPECT_EQ(Diff({File("a.dat"), File("b.dat")}).status, 0);

    ASSERT_EQ(Run({"set", File("b.dat"), "MACHINE_SET_DLG", "Machine_Language", "--number", "2"}).status, kExitOk);
    const CRun text = Diff({File("a.dat"), File("b.dat")});
    EXPECT_EQ(text.status, 1) << text.err;
    EXPECT_NE(text.out.find("(MACHINE_SET_DLG)\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("  Panel Language (Machine_Language): English → German\n"), std::string::npos) << text.out;

    const CRun json = Diff({"--json", File("a.dat"), File("b.dat")});
    EXPECT_EQ(json.status, 1);
    const Json parsed = Json::parse(json.out);
    ASSERT_EQ(parsed["settings"].size(), 1u) << json.out;
    EXPECT_EQ(parsed["settings"][0],
              Json({{"page", "MACHINE_SET_DLG"},
                    {"key", "Machine_Language"},
                    {"label", "Panel Language"},
                    {"old", "English"},
                    {"new", "German"}}));
    EXPECT_TRUE(parsed["directory"].empty());

    // A plain upload carries the directory alone; a service-man upload the settings too.
    EXPECT_EQ(Diff({"--upload", File("a.dat"), File("b.dat")}).status, 0);
    EXPECT_EQ(Diff({"--service", File("a.dat"), File("b.dat")}).status, 1);
}

TEST_F(QzbctlDiff, DirectoryChangesComeAsEntriesWithTheirFields)
{
    ASSERT_EQ(Run({"entry", "set", File("b.dat"), "speed:7", "name=Office", "number=0123"}).status, kExitOk);
    const CRun run = Diff({"--upload", "--json", File("a.dat"), File("b.dat")});
    EXPECT_EQ(run.status, 1) << run.err;
    const Json directory = Json::parse(run.out)["directory"];
    ASSERT_EQ(directory.size(), 1u) << run.out;
    EXPECT_EQ(directory[0]["list"], "speed");
    EXPECT_EQ(directory[0]["number"], 7);
    EXPECT_EQ(directory[0]["change"], "added");
    const Json name = {{"name", "name"}, {"old", nullptr}, {"new", "Office"}};
    EXPECT_NE(std::find(directory[0]["fields"].begin(), directory[0]["fields"].end(), name),
              directory[0]["fields"].end())
        << directory.dump();
    const CRun reverse = Diff({File("b.dat"), File("a.dat")});
    EXPECT_NE(reverse.out.find("Speed dials\n  speed dial 007 removed: kind fax, name Office, number 0123"),
              std::string::npos)
        << reverse.out;
}

TEST_F(QzbctlDiff, ErrorsAndUsageErrorsExitTwoAndSayWhatWentWrong)
{
    struct CFailure
    {
        std::vector<std::string> arguments;
        std::string said;
    };
    ASSERT_EQ(Run({"--model", "8313", "new", File("m8313.dat")}).status, kExitOk);
    fs::copy_file(File("m8313.dat"), File("n8313.dat"));
    const std::vector<CFailure> failures = {
        {{File("a.dat")}, "B is required"},
        {{"--colour", File("a.dat"), File("b.dat")}, "--colour"},
        {{File("a.dat"), File("b.dat"), File("c.dat")}, File("c.dat")},
        // A file that cannot be opened is told by its name, whichever side and model it is on.
        {{File("a.dat"), File("missing.dat")}, File("missing.dat")},
        {{File("missing.dat"), File("a.dat")}, File("missing.dat")},
        {{File("m8313.dat"), File("missing.dat")}, File("missing.dat")},
        {{File("a.dat"), File("m8313.dat")},
         File("a.dat") + " and " + File("m8313.dat") + " are settings of different models"},
    };
    for (const CFailure& failure : failures) {
        const CRun run = Diff(failure.arguments);
        const std::string shown = testing::PrintToString(failure.arguments);
        EXPECT_EQ(run.status, 2) << shown << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << shown;
        EXPECT_NE(run.err.find(failure.said), std::string::npos) << shown << ": " << run.err;
        if (failure.arguments.back() == File("missing.dat") || failure.arguments.front() == File("missing.dat")) {
            EXPECT_EQ(run.err.find("different models"), std::string::npos) << shown << ": " << run.err;
        }
    }
    // Two files of the same non-default model compare.
    EXPECT_EQ(Diff({File("m8313.dat"), File("n8313.dat")}).status, 0);
}

// Several simulated devices: one for each file, listed on bus 0 with the file's name as serial.
TEST_F(QzbctlDiff, DeviceListShowsEverySimulatedDeviceAndTheChoicePicksOne)
{
    ASSERT_EQ(Run({"set", File("b.dat"), "MACHINE_SET_DLG", "Machine_Language", "--number", "2"}).status, kExitOk);
    const std::string simulate = "--simulate=" + File("a.dat") + "," + File("b.dat");
    const CRun text = Run({simulate, "device", "list"});
    EXPECT_EQ(text.status, kExitOk) << text.err;
    EXPECT_EQ(text.out,
              "0:1  model 2152 (TARVO QP-RZ41NF)  serial a  free\n"
              "0:2  model 2152 (TARVO QP-RZ41NF)  serial b  free\n");
    const Json json = Json::parse(Run({simulate, "device", "list", "--json"}).out);
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[1]["bus"], 0);
    EXPECT_EQ(json[1]["address"], 2);
    EXPECT_EQ(json[1]["serial"], "b");
    EXPECT_EQ(json[1]["state"], "free");

    for (const std::string choice : {"0:2", "b"}) {
        const CRun run = Run({simulate, "--fast", "device", "download", "--device", choice, File("out.dat")});
        ASSERT_EQ(run.status, kExitOk) << run.err;
        EXPECT_EQ(Dump("out.dat")["settings"]["MACHINE_SET_DLG"]["Machine_Language"]["number"], 2) << choice;
    }
    const CRun first = Run({simulate, "--fast", "device", "download", File("first.dat")});
    ASSERT_EQ(first.status, kExitOk) << first.err;
    EXPECT_EQ(Dump("first.dat")["settings"]["MACHINE_SET_DLG"]["Machine_Language"]["number"], 0);

    const CRun none = Run({simulate, "--fast", "--device", "0:3", "device", "status"});
    EXPECT_EQ(none.status, kExitFailed);
    EXPECT_NE(none.err.find("No device 0:3"), std::string::npos) << none.err;
}

} // namespace
} // namespace qzb
