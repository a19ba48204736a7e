// The settings side of qzbctl: set refuses what a file would not give back, get and keys, and
// failures to read, write or print.
#include "tests/cli/qzbctl_fixture.h"

#include <sys/stat.h>

namespace qzb {
namespace {

struct CRefusal
{
    std::string page;
    std::string key;
    std::string option;
    std::string value;
    std::string reason; // part of the error line
};

class SetRefusal : public Qzbctl, public testing::WithParamInterface<CRefusal>
{
};

TEST_P(SetRefusal, FailsAndLeavesTheFileByteForByte)
{
    const CRefusal& c = GetParam();
    ASSERT_EQ(Run({"new", File("a.dat")}).status, kExitOk);
    const Bytes before = Read(File("a.dat"));
    const CRun run = Run({"set", File("a.dat"), c.page, c.key, c.option, c.value});
    EXPECT_EQ(run.status, kExitFailed) << run.err;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    EXPECT_EQ(Read(File("a.dat")), before);
}

INSTANTIATE_TEST_SUITE_P(
    Values,
    SetRefusal,
    testing::Values(
        CRefusal{"MACHINE_SET_DLG", "Machine_Energy_save_mode_time", "--number", "300", "holds 0 to 255"},
        CRefusal{"MACHINE_SET_DLG", "Machine_Energy_save_mode_time", "--number", "-5", "holds 0 to 255"},
        CRefusal{"USER_SET_DLG", "USER_TIME_MOUTH", "--number", "256", "holds 0 to 255"},
        CRefusal{"TCP_IP_SET_DLG", "NETWORK_IP_ADD_3", "--number", "-1", "holds 0 to 255"},
        CRefusal{"MACHINE_SET_DLG", "MACHINE_ADMIN_NAME_EDT", "--text", "Bob\xE2\x9C\x93Smith", "WINDOWS-1252"},
        CRefusal{"USER_SET_DLG", "USER_NAME", "--text", "Bob\xE2\x9C\x93Smith", "panel cannot show"},
        CRefusal{"SD_PASS_DLG", "SERVICE_MAN_PASSWORD", "--text", "x", "not part of the machine image"},
        CRefusal{"IPV6_DLG", "IPV6", "--number", "1", "not part of the machine image"},
        CRefusal{"MACHINE_SET_DLG", "Machine_Duplex_speed", "--number", "1", "not installed"},
        CRefusal{"USER_SET_DLG", "USER_NAME", "--number", "3", "as a text"},
        CRefusal{"MACHINE_SET_DLG", "Machine_LCD_contrast", "--text", "x", "as a number"},
        CRefusal{"EMAIL_SET_DLG", "EMAIL_ADR", "--text", std::string(256, 'a'), "at most 255"},
        CRefusal{"MACHINE_SET_DLG", "MACHINE_ADMIN_NAME_EDT", "--text", std::string(1024, 'a'), "at most 1023"},
        CRefusal{"SNMP_SET_DLG", "SNMP_READ_COMMUNITY_NAME", "--text", std::string(16, 'c'), "at most 15"},
        CRefusal{"DNS_CONF_DLG", "DNS_IP_ADDR1_2", "--number", "5", "would not come back"}),
    // Named by position: the default name prints the strings' bytes, pointers included, and a name
    // that changes from run to run is never found again when ctest runs the case.
    [](const testing::TestParamInfo<CRefusal>& info) { return std::to_string(info.index) + "_" + info.param.key; });

TEST_F(Qzbctl, SetKeepsWhatItAccepts)
{
    ASSERT_EQ(Run({"new", File("a.dat")}).status, kExitOk);
    const std::vector<std::vector<std::string>> values = {
        {"MACHINE_SET_DLG", "Machine_Energy_save_mode_time", "--number", "255"},
        {"ADMINSTRATOR_NO_DLG", "ADMINSTRATOR_NO", "--number", "-7"},
        {"TCP_IP_SET_DLG", "NETWORK_GATEWAY_1", "--number", "-1"},
        {"EMAIL_SET_DLG", "EMAIL_ADR", "--text", std::string(255, 'a')},
        {"MACHINE_SET_DLG", "MACHINE_ADMIN_NAME_EDT", "--text", "Zo\xC3\xAB \xE2\x82\xAC 1023"},
        {"USER_SET_DLG", "USER_NAME", "--text", "Bob Smith"},
        {"FORWARD_LOCATION_DLG", "FAX_RX_OPE_FAX_NUMBER", "--text", "0123-456"},
    };
    for (const auto& v : values) {
        const CRun set = Run({"set", File("a.dat"), v[0], v[1], v[2], v[3]});
        ASSERT_EQ(set.status, kExitOk) << v[1] << ": " << set.err;
        const CRun get = Run({"get", File("a.dat"), v[0], v[1]});
        ASSERT_EQ(get.status, kExitOk) << get.err;
        const Json value = Json::parse(get.out);
        if (v[2] == "--number") {
            EXPECT_EQ(value["number"], std::stoi(v[3])) << v[1];
        } else {
            EXPECT_EQ(value["text"], v[3]) << v[1];
        }
    }
}

TEST_F(Qzbctl, GetAndKeysNameTheValidOnesForAnUnknownName)
{
    ASSERT_EQ(Run({"--model", "8314", "new", File("a.dat")}).status, kExitOk);
    const CRun get = Run({"get", File("a.dat"), "BONJOUR_SET_DLG", "BONJOUR_NAME"});
    ASSERT_EQ(get.status, kExitOk) << get.err;
    EXPECT_EQ(Json::parse(get.out), (Json{{"number", 0}, {"text", "MERIDAN TOVELL lumatrace 8120 (xx:xx:xx)"}}));

    const CRun pages = Run({"keys"});
    ASSERT_EQ(pages.status, kExitOk);
    EXPECT_EQ(pages.out.rfind("MACHINE_SET_DLG\nSD_PASS_DLG\n", 0), 0u);
    EXPECT_EQ(std::count(pages.out.begin(), pages.out.end(), '\n'), 32);
    const CRun keys = Run({"keys", "COMMUNICATE_SET_DLG"});
    ASSERT_EQ(keys.status, kExitOk);
    EXPECT_EQ(keys.out,
              "COMM_SET_TONE_PULSE\nCOMM_SET_PULSE\nCOMM_SET_LINE_MONITOR\nCOMM_SET_PSTN_PBX\n"
              "COMM_SET_TEL_FAXMODE\nCOMM_SET_RBT_SIGNAL_TIME\nCOMM_SET_ANSWER_MACHINE\n");

    const std::pair<std::vector<std::string>, std::string> unknown[] = {
        {{"keys", "NO_SUCH_DLG"}, "REPORT_SET_DLG"},
        {{"get", File("a.dat"), "NO_SUCH_DLG", "USER_NAME"}, "MACHINE_SET_DLG"},
        {{"get", File("a.dat"), "REPORT_SET_DLG", "NO_SUCH_KEY"}, "REPORTING_RX_RESULT_REPORT"},
        {{"set", File("a.dat"), "REPORT_SET_DLG", "NO_SUCH_KEY", "--number", "1"}, "REPORTING_ACTIVITY_REPORT"},
    };
    for (const auto& [arguments, named] : unknown) {
        const CRun run = Run(arguments);
        EXPECT_EQ(run.status, kExitUsage) << arguments[0];
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
    }
}

TEST_F(Qzbctl, HeaderOfAnotherFamilysModelIsRefused)
{
    ASSERT_EQ(Run({"new", File("a.dat")}).status, kExitOk);
    Bytes file = Read(File("a.dat"));
    ASSERT_EQ(std::string(file.begin(), file.begin() + 15), "QZB|OBSIDIANAIO");
    for (const std::uint32_t id : {8329u, 0u, 9999u}) {
        for (int i = 0; i < 4; ++i) {
            file[16 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(id >> (8 * i));
        }
        Write(File("b.dat"), file);
        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{"dump", File("b.dat")},
              std::vector<std::string>{
                  "--model", "8313", "set", File("b.dat"), "USER_SET_DLG", "USER_NAME", "--text", "A"}}) {
            const CRun run = Run(arguments);
            EXPECT_EQ(run.status, kExitFailed) << id;
            EXPECT_EQ(run.err.rfind("error 0x80020045: ", 0), 0u) << id << run.err;
        }
        EXPECT_EQ(Read(File("b.dat")), file);
    }
}

// A file without any write permission is not replaced, by root either.
TEST_F(Qzbctl, ReadOnlyFileIsNotReplaced)
{
    ASSERT_EQ(Run({"new", File("a.dat")}).status, kExitOk);
    ASSERT_EQ(Run({"csv-export", File("a.dat"), File("book.csv")}).status, kExitOk);
    ASSERT_EQ(::chmod(File("a.dat").c_str(), 0444), 0);
    const Bytes before = Read(File("a.dat"));
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"set", File("a.dat"), "USER_SET_DLG", "USER_NAME", "--text", "Al"},
          std::vector<std::string>{"csv-import", File("a.dat"), File("book.csv")}}) {
        const CRun run = Run(arguments);
        EXPECT_EQ(run.status, kExitFailed) << arguments[0];
        EXPECT_NE(run.err.find(File("a.dat") + ": Permission denied"), std::string::npos) << run.err;
    }
    EXPECT_EQ(Read(File("a.dat")), before);
    EXPECT_EQ(fs::status(File("a.dat")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST_F(Qzbctl, FileErrorsNameTheFileAndTheReason)
{
    const CRun run = Run({"dump", File("missing.dat")});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find(File("missing.dat") + ": No such file or directory)"), std::string::npos) << run.err;
    const CRun created = Run({"new", File("no-folder/a.dat")});
    EXPECT_EQ(created.status, kExitFailed);
    EXPECT_NE(created.err.find("no-folder/a.dat: No such file or directory)"), std::string::npos) << created.err;
}

TEST_F(Qzbctl, OutputThatCannotBeWrittenFails)
{
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    ASSERT_EQ(Run({"new", File("a.dat")}).status, kExitOk);
    const std::vector<std::vector<std::string>> commands = {
        {"dump", File("a.dat")},
        {"get", File("a.dat"), "USER_SET_DLG", "USER_NAME"},
        {"keys"},
        {"keys", "USER_SET_DLG"},
        {"--help"},
    };
    for (auto arguments : commands) {
        arguments.insert(arguments.begin(), {"--data-dir", QZB_TEST_DATA_DIR});
        std::ofstream full("/dev/full");
        std::ostringstream err;
        EXPECT_EQ(RunQzbctl(arguments, full, err), kExitFailed) << arguments[2];
        EXPECT_NE(err.str().find("could not be written"), std::string::npos) << err.str();
    }
}

} // namespace
} // namespace qzb
