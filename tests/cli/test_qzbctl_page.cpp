#include "tests/cli/qzbctl_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace qzb {
namespace {

class QzbctlPage : public Qzbctl
{
protected:
    void SetUp() override
    {
        Qzbctl::SetUp();
        ASSERT_EQ(Run({"--model", "8313", "new", File("a.dat")}).status, kExitOk);
        ASSERT_EQ(Run({"--model", "8329", "new", File("small.dat")}).status, kExitOk);
    }

    Json Show(const std::string& file, const std::string& page)
    {
        const CRun run = Run({"page", "show", File(file), page});
        EXPECT_EQ(run.status, kExitOk) << run.err;
        return Json::parse(run.out);
    }

    static const Json& Control(const Json& page, std::int32_t id)
    {
        for (const Json& control : page["controls"]) {
            if (control["id"] == id) {
                return control;
            }
        }
        static const Json none;
        return none;
    }
};

TEST_F(QzbctlPage, ListsOnlyThePagesOfTheModel)
{
    const CRun large = Run({"--model", "8313", "page", "list"});
    ASSERT_EQ(large.status, kExitOk) << large.err;
    const Json pages = Json::parse(large.out);
    std::set<std::string> names;
    for (const Json& page : pages) {
        names.insert(page["name"]);
        if (page["name"] == "ADMINSTRATOR_NO_DLG") {
            EXPECT_EQ(page["typeCode"], 0x02000008);
            EXPECT_EQ(page["title"], "Administrator No.");
        }
        if (page["name"] == "DNS_CONF_DLG") {
            EXPECT_TRUE(page["typeCode"].is_null());
        }
    }
    EXPECT_TRUE(names.count("CONFIGURATION") && names.count("TOTAL_COUNTER") && names.count("CUSTOM_PAPER_SIZE_DLG:2"));
    EXPECT_FALSE(names.count("USB_SET_DLG")) << "the 8120 has no USB page";
    const Json small = Json::parse(Run({"--model", "8329", "page", "list"}).out);
    EXPECT_TRUE(
        std::any_of(small.begin(), small.end(), [](const Json& page) { return page["name"] == "USB_SET_DLG"; }));
}

// The rows each model shows are the core's rules (test_pages.cpp); this shows that page show runs
// the file's model and prints texts, states, values and choices.
TEST_F(QzbctlPage, ShowsTheRowsOfTheFilesModel)
{
    const Json large = Show("a.dat", "CONFIGURATION");
    const Json small = Show("small.dat", "CONFIGURATION");
    EXPECT_EQ(Control(large, 2400)["text"], "Summary");
    EXPECT_EQ(Control(large, 2422)["visible"], true) << "tray 3";
    EXPECT_EQ(Control(small, 2422)["visible"], false);
    EXPECT_EQ(Control(large, 2461)["value"], "0.0.0.0");

    const Json machine = Show("a.dat", "MACHINE_SET_DLG");
    const Json& language = Control(machine, 1590);
    EXPECT_EQ(language["kind"], "combo");
    EXPECT_EQ(language["choices"].size(), 12u);
    EXPECT_EQ(language["choices"][2], (Json{{"text", "German"}, {"value", 2}}));
}

TEST_F(QzbctlPage, SetChecksLikeTheWindowAndChangesNothingOnAFailure)
{
    const Bytes before = Read(File("a.dat"));
    CRun run = Run({"page", "set", File("a.dat"), "ADMINSTRATOR_NO_DLG", "2193=12345"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("error 0x80030007: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("(control 2193)"), std::string::npos) << run.err;
    EXPECT_EQ(Read(File("a.dat")), before);

    // A number outside its range is told with the range and the value as given.
    run = Run({"page", "set", File("a.dat"), "CUSTOM_PAPER_SIZE_DLG:1", "customXEdit=91", "customYEdit=200"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("error 0x80040011: Enter a number from 92 to 216: 91 is out of range. (control 1001)"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(Read(File("a.dat")), before);

    run = Run({"page", "set", File("a.dat"), "ADMINSTRATOR_NO_DLG", "2193=000042"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Dump("a.dat")["settings"]["ADMINSTRATOR_NO_DLG"]["ADMINSTRATOR_NO"]["number"], 42);

    // Names work as ids do; a radio click clears its group.
    run = Run({"page", "set", File("a.dat"), "MACHINE_SET_DLG", "buzzerLowRadio=1", "buzzerHighRadio=1"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Dump("a.dat")["settings"]["MACHINE_SET_DLG"]["Machine_Buzzer_Volume"]["number"], 0);
}

TEST_F(QzbctlPage, AStoredTextLongerThanItsEditLimitSurvivesAStoreOfItsPage)
{
    // The edit takes 127 characters; the device holds longer names, which a store keeps whole.
    const std::string name(153, 'n');
    ASSERT_EQ(Run({"set", File("a.dat"), "MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT", "--text", name}).status,
              kExitOk);
    const CRun set = Run({"page", "set", File("a.dat"), "MACHINE_SET_DLG", "1568=1"});
    ASSERT_EQ(set.status, kExitOk) << set.err;
    const CRun get = Run({"get", File("a.dat"), "MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT"});
    ASSERT_EQ(get.status, kExitOk) << get.err;
    EXPECT_NE(get.out.find(name), std::string::npos) << get.out;
}

// A memory reception window switched off travels as one cleared time byte, which a file gives
// back as -1, 0, 0, 0: the same state as the empty edits the page stored, so it is kept.
TEST_F(QzbctlPage, MemoryReceptionWithoutATimeWindowIsKept)
{
    auto get = [this](const char* key) {
        const CRun run = Run({"get", File("a.dat"), "FAX_RX_SET_DLG", key});
        EXPECT_EQ(run.status, kExitOk) << run.err;
        return run.out;
    };
    CRun on = Run({"page", "set", File("a.dat"), "FAX_RX_SET_DLG", "1301=1", "1304="});
    ASSERT_EQ(on.status, kExitOk) << on.err;
    EXPECT_NE(get("FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME").find("-1"), std::string::npos);

    CRun window = Run({"page", "set", File("a.dat"), "FAX_RX_SET_DLG", "1306=08", "1308=30", "1310=18", "1312=00"});
    ASSERT_EQ(window.status, kExitOk) << window.err;
    EXPECT_NE(get("FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME").find('8'), std::string::npos);
    CRun cleared = Run({"page", "set", File("a.dat"), "FAX_RX_SET_DLG", "1306=", "1308=", "1310=", "1312="});
    ASSERT_EQ(cleared.status, kExitOk) << cleared.err;
    EXPECT_NE(get("FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME").find("-1"), std::string::npos);
    ASSERT_EQ(Run({"page", "set", File("a.dat"), "FAX_RX_SET_DLG", "1328=2"}).status, kExitOk)
        << "a device already on with no window takes later changes of the page";
}

// The forward destination keeps only the chosen kind; the other field, emptied, is the same state
// when it comes back from the file, so each change of kind is taken.
TEST_F(QzbctlPage, TheForwardDestinationChangesKindBothWays)
{
    ASSERT_EQ(Run({"set", File("a.dat"), "EMAIL_SET_DLG", "EMAIL_ENABLE", "--number", "1"}).status, kExitOk);
    ASSERT_EQ(Run({"set", File("a.dat"), "EMAIL_SET_DLG", "EMAIL_SMTP_NAME", "--text", "smtp.example.com"}).status,
              kExitOk);
    ASSERT_EQ(Run({"set", File("a.dat"), "TCP_IP_SET_DLG", "NETWORK", "--number", "1"}).status, kExitOk);
    for (const std::vector<std::string>& values : std::vector<std::vector<std::string>>{
             {"1211=1", "1215=0123"}, {"1212=1", "1217=desk@example.com"}, {"1211=1", "1215=0456"}}) {
        std::vector<std::string> command{"page", "set", File("a.dat"), "FORWARD_LOCATION_DLG"};
        command.insert(command.end(), values.begin(), values.end());
        const CRun run = Run(command);
        EXPECT_EQ(run.status, kExitOk) << values[0] << ": " << run.err;
    }
    const CRun number = Run({"get", File("a.dat"), "FORWARD_LOCATION_DLG", "FAX_RX_OPE_FAX_NUMBER"});
    EXPECT_NE(number.out.find("0456"), std::string::npos) << number.out;
    // With no SMTP server e-mail forwarding is off, and the fax destination can still change.
    ASSERT_EQ(Run({"set", File("a.dat"), "EMAIL_SET_DLG", "EMAIL_SMTP_NAME", "--text", "0.0.0.0"}).status, kExitOk);
    const CRun fax = Run({"page", "set", File("a.dat"), "FORWARD_LOCATION_DLG", "1215=0789"});
    EXPECT_EQ(fax.status, kExitOk) << fax.err;
}

// Switching forwarding on opens the forward location dialog in the window; headless its check
// runs on what it holds, so forwarding with no destination is refused and the file kept.
TEST_F(QzbctlPage, ForwardingNeedsADestination)
{
    const Bytes before = Read(File("a.dat"));
    const CRun refused = Run({"page", "set", File("a.dat"), "FAX_RX_SET_DLG", "1324=1"});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_NE(refused.err.find("dialog FORWARD_LOCATION_DLG, control 1215"), std::string::npos) << refused.err;
    EXPECT_EQ(Read(File("a.dat")), before);

    const CRun notOpen = Run({"page", "set", File("a.dat"), "FAX_RX_SET_DLG", "FORWARD_LOCATION_DLG:1215=0123"});
    EXPECT_EQ(notOpen.status, kExitUsage);
    EXPECT_NE(notOpen.err.find("is not open"), std::string::npos) << notOpen.err;

    const CRun on = Run({"page", "set", File("a.dat"), "FAX_RX_SET_DLG", "1324=1", "FORWARD_LOCATION_DLG:1215=0123"});
    ASSERT_EQ(on.status, kExitOk) << on.err;
    EXPECT_NE(Run({"get", File("a.dat"), "FORWARD_LOCATION_DLG", "FAX_RX_OPE_FAX_NUMBER"}).out.find("0123"),
              std::string::npos);
    EXPECT_NE(Run({"get", File("a.dat"), "FAX_RX_SET_DLG", "FAX_RX_OPE_FORWARD"}).out.find("\"number\":0"),
              std::string::npos);
}

TEST_F(QzbctlPage, RefusalsAreUsageErrorsNamingTheControl)
{
    const Bytes before = Read(File("a.dat"));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"NO_SUCH_DLG", "1=1"}, "has no page NO_SUCH_DLG"},
        {{"USB_SET_DLG", "2601=1"}, "has no page USB_SET_DLG"},
        {{"MACHINE_SET_DLG", "9999=1"}, "has no control 9999"},
        {{"MACHINE_SET_DLG", "1590=99"}, "control 1590 (languageCombo) has no such choice"},
        {{"MACHINE_SET_DLG", "1612=5"}, "control 1612 (energySaveCombo) is hidden"},
        {{"MACHINE_SET_DLG", "1561=Bob\"s"}, "control 1561 (adminNameEdit) does not take a character"},
        {{"MACHINE_SET_DLG", "1599=3"}, "control 1599 (lcdContrastSlider) takes no value out of its range"},
        {{"MACHINE_SET_DLG", "1572"}, "expected ID=VALUE"},
        {{"CONFIGURATION", "2451=x"}, "takes no value"},
    };
    for (const auto& [arguments, text] : cases) {
        std::vector<std::string> command{"page", "set", File("a.dat")};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const CRun run = Run(command);
        EXPECT_EQ(run.status, kExitUsage) << arguments[0] << " " << arguments[1];
        EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
    }
    // A value a settings file does not carry would be lost on save.
    const CRun lost = Run({"page", "set", File("a.dat"), "IPV6_DLG", "1500=1"});
    EXPECT_EQ(lost.status, kExitFailed);
    EXPECT_NE(lost.err.find("control 1500"), std::string::npos) << lost.err;
    EXPECT_EQ(Read(File("a.dat")), before);
}

} // namespace
} // namespace qzb
