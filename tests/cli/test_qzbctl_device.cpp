#include "tests/cli/qzbctl_fixture.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qzb {
namespace {

std::vector<std::string> ErrorLines(const std::string& err)
{
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("error ", 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::string ErrorPrefix(std::uint32_t code)
{
    char text[32];
    std::snprintf(text, sizeof text, "error 0x%08X: ", code);
    return text;
}

class CSilentPresenter : public IMessagePresenter
{
public:
    int Present(const CMessageBoxRequest&) override { return kAnswerOk; }
};

// The bytes a connection to a fresh simulated device has moved once a download is complete.
std::size_t BytesThroughDownload()
{
    CSilentPresenter presenter;
    CApplicationWords words;
    CAppContext context(2152);
    CMessenger messenger(context.strings, presenter);
    CDeviceSimulator simulator(2152, DefaultUsbVendorId());
    CDeviceLinkConfig config;
    config.lockDevice = false;
    CDeviceLink link(simulator, context, words, config);
    CDeviceProtocol protocol(link, context, messenger, CProtocolTimings::Fast());
    EXPECT_EQ(protocol.DoDeviceOperation(kOperationConnect, 0), kOk);
    EXPECT_EQ(protocol.DoDeviceOperation(kOperationDownload, 0), kOk);
    return simulator.BytesMoved();
}

class QzbctlDevice : public Qzbctl
{
protected:
    CRun Device(const std::vector<std::string>& faults, std::vector<std::string> command)
    {
        std::vector<std::string> arguments = {"--simulate", "--fast"};
        for (const std::string& fault : faults) {
            arguments.insert(arguments.end(), {"--sim-fault", fault});
        }
        arguments.push_back("device");
        arguments.insert(arguments.end(), command.begin(), command.end());
        return Run(arguments);
    }
};

struct CFaultCase
{
    const char* fault;
    const char* action;
    std::uint32_t code;
};

class QzbctlDeviceFault : public QzbctlDevice, public testing::WithParamInterface<CFaultCase>
{
};

TEST_P(QzbctlDeviceFault, TellsTheFailureInOneErrorLineWithExitStatusTwo)
{
    const CFaultCase& c = GetParam();
    ASSERT_EQ(Run({"new", File("in.dat")}).status, kExitOk);
    std::vector<std::string> command = {c.action};
    if (command[0] == "upload") {
        command = {"upload", "--service", File("in.dat")};
    } else if (command[0] == "download") {
        command.push_back(File("out.dat"));
    }
    const CRun run = Device({c.fault}, command);
    const std::vector<std::string> lines = ErrorLines(run.err);
    ASSERT_EQ(lines.size(), 1u) << run.err;
    EXPECT_EQ(lines[0].rfind(ErrorPrefix(c.code), 0), 0u) << run.err;
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err.find("is connected"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(fs::exists(File("out.dat")));
}

INSTANTIATE_TEST_SUITE_P(Faults,
                         QzbctlDeviceFault,
                         testing::Values(CFaultCase{"busy", "status", 0x80010003},
                                         CFaultCase{"status=2", "status", 0x80010004},
                                         CFaultCase{"status=3", "status", 0x80010005},
                                         CFaultCase{"status=3", "info", 0x80010005},
                                         CFaultCase{"cut=0", "status", 0x80010001},
                                         CFaultCase{"cut=200", "download", 0x80010002},
                                         CFaultCase{"damaged", "download", 0x80010002},
                                         CFaultCase{"damaged", "upload", 0x80010002},
                                         CFaultCase{"country=77", "upload", 0x80020046}));

TEST_F(QzbctlDevice, ADownloadFinishedBeforeAFailingDisconnectKeepsItsFileAndSaysSo)
{
    // The cut falls inside the status query that opens the disconnect.
    const std::string cut = "cut=" + std::to_string(BytesThroughDownload() + 10);
    const CRun run = Device({cut}, {"download", File("out.dat")});
    EXPECT_EQ(run.status, kExitFailed);
    const std::vector<std::string> lines = ErrorLines(run.err);
    ASSERT_EQ(lines.size(), 1u) << run.err;
    EXPECT_EQ(lines[0].rfind(ErrorPrefix(0x80010001), 0), 0u);
    EXPECT_NE(lines[0].find(File("out.dat") + " is saved"), std::string::npos) << lines[0];
    EXPECT_EQ(Dump("out.dat")["faxMail"].size(), 5u);
}

TEST_F(QzbctlDevice, ADownloadThatCannotBeSavedNamesTheFileAndTheReason)
{
    const CRun run = Device({}, {"download", File("no/such/folder/out.dat")});
    EXPECT_EQ(run.status, kExitFailed);
    const std::vector<std::string> lines = ErrorLines(run.err);
    ASSERT_EQ(lines.size(), 1u) << run.err;
    EXPECT_EQ(lines[0].rfind(ErrorPrefix(0x80020031), 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(File("no/such/folder/out.dat")), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("No such file or directory"), std::string::npos) << lines[0];
}

// A trace that never reached its file fails the run (writing to a full device is harmless: nothing
// is replaced there).
TEST_F(QzbctlDevice, ATraceThatCannotBeWrittenFailsTheRun)
{
    std::error_code error;
    if (!fs::is_character_file("/dev/full", error)) {
        GTEST_SKIP() << "no /dev/full on this machine";
    }
    const CRun run = Run({"--simulate", "--fast", "--trace", "/dev/full", "device", "download", File("out.dat")});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("the trace /dev/full could not be written"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(File("out.dat") + " is saved"), std::string::npos) << "the download itself is kept";
}

// A simulator's memory file must be a regular file: a FIFO would hold up the start for ever.
TEST_F(QzbctlDevice, ASimulatorFileThatIsNoRegularFileIsAUsageError)
{
    ASSERT_EQ(::mkfifo(File("pipe.dat").c_str(), 0600), 0);
    const CRun run = Run({"--simulate=" + File("pipe.dat"), "device", "download", File("out.dat")});
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_NE(run.err.find("pipe.dat is not a regular file"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_fifo(File("pipe.dat")));
    EXPECT_FALSE(fs::exists(File("out.dat")));
}

TEST_F(QzbctlDevice, UsageErrorsTouchNeitherTheDeviceNorAnyFile)
{
    const std::vector<std::vector<std::string>> usages = {
        {"--simulate", "--sim-fault", "status=256", "device", "status"},
        {"--simulate", "--sim-fault", "country=295", "device", "status"},
        {"--simulate", "--sim-fault", "split=0", "device", "status"},
        {"--simulate", "--sim-fault", "cut=-1", "device", "status"},
        {"--simulate", "--sim-fault", "busy=1", "device", "status"},
        {"--simulate", "--sim-fault", "status", "device", "status"},
        {"--simulate", "--sim-fault", "tired", "device", "status"},
        {"--fast", "device", "download", File("out.dat")},
        {"device", "download", "--sim-fault", "busy", File("out.dat")},
        {"--simulate", "--trace", File("no/such/folder/trace.txt"), "device", "download", File("out.dat")},
    };
    for (const auto& arguments : usages) {
        const CRun run = Run(arguments);
        EXPECT_EQ(run.status, kExitUsage) << testing::PrintToString(arguments);
        EXPECT_TRUE(ErrorLines(run.err).empty()) << run.err;
    }
    EXPECT_FALSE(fs::exists(File("out.dat")) || fs::exists(File("out.dat.DAT")));
}

TEST_F(QzbctlDevice, DeviceOptionsGoBeforeOrAfterTheCommandAndItsAction)
{
    const std::vector<std::vector<std::string>> placements = {
        {"--simulate", "--fast", "device", "download", File("a.dat")},
        {"device", "--simulate", "--fast", "download", File("b.dat")},
        {"device", "download", "--simulate", "--fast", File("c.dat")},
        {"--simulate", "device", "download", File("d.dat"), "--fast"},
    };
    for (const auto& arguments : placements) {
        const CRun run = Run(arguments);
        EXPECT_EQ(run.status, kExitOk) << testing::PrintToString(arguments) << run.err;
    }
    EXPECT_TRUE(fs::exists(File("a.dat")) && fs::exists(File("b.dat")) && fs::exists(File("c.dat")) &&
                fs::exists(File("d.dat")));

    const CRun help = Run({"device", "--help"});
    EXPECT_EQ(help.status, kExitOk);
    for (const char* option : {"--simulate", "--sim-fault", "--fast", "--usb-vendor", "--trace", "info"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    const CRun version = Run({"--version"});
    EXPECT_EQ(version.status, kExitOk);
    EXPECT_EQ(version.out, std::string("qzbctl ") + QZB_VERSION + "\n");
}

TEST_F(QzbctlDevice, InfoPrintsTheDeviceInformationAndCountersOfTheDevice)
{
    const CRun info = Device({}, {"info"});
    ASSERT_EQ(info.status, kExitOk) << info.err;
    const Json json = Json::parse(info.out);
    ASSERT_EQ(json.size(), 2u);
    ASSERT_EQ(json["deviceInfo"].size(), 37u);
    ASSERT_EQ(json["counters"].size(), 60u);
    // As dump names them, with what the simulated device holds.
    EXPECT_EQ(json["deviceInfo"][14], (Json{{"label", "MAC_ADDRESS"}, {"id", 0x1024E}, {"text", "00:20:6b:1a:2b:3c"}}));
    EXPECT_EQ(json["counters"][2], (Json{{"id", 0x20500}, {"value", 1200 + 37 * 2}}));
}

// What an upload sends is what the next connection downloads: the settings of a service-man upload
// and the directory, on a model other than the default.
TEST_F(QzbctlDevice, AnUploadedFileComesBackWithTheNextDownload)
{
    ASSERT_EQ(Run({"--model", "8313", "new", File("in.dat")}).status, kExitOk);
    ASSERT_EQ(Run({"set", File("in.dat"), "MACHINE_SET_DLG", "Machine_Language", "--number", "2"}).status, kExitOk);
    ASSERT_EQ(Run({"entry", "set", File("in.dat"), "speed:7", "name=Office", "number=0123"}).status, kExitOk);
    const std::string simulate = "--simulate=" + File("memory.dat");
    ASSERT_EQ(Run({"--model", "8313", simulate, "device", "status"}).status, kExitOk);
    const CRun fresh = Run({"--model", "8313", simulate, "--fast", "device", "download", File("before.dat")});
    ASSERT_EQ(fresh.status, kExitOk) << fresh.err;
    ASSERT_EQ(Run({"diff", "--service", File("before.dat"), File("in.dat")}).status, 1) << "the file differs at first";

    const CRun upload = Run({simulate, "--fast", "device", "upload", "--service", File("in.dat")});
    ASSERT_EQ(upload.status, kExitOk) << upload.err;
    const CRun download = Run({"--model", "8313", simulate, "--fast", "device", "download", File("out.dat")});
    ASSERT_EQ(download.status, kExitOk) << download.err;
    const CRun diff = Run({"diff", "--service", File("in.dat"), File("out.dat")});
    EXPECT_EQ(diff.status, 0) << diff.out << diff.err;
    const Json out = Dump("out.dat");
    EXPECT_EQ(out["settings"]["MACHINE_SET_DLG"]["Machine_Language"]["number"], 2);
    const CRun entry = Run({"entry", "show", File("out.dat"), "speed:7"});
    EXPECT_EQ(entry.status, kExitOk) << entry.err;
    EXPECT_NE(entry.out.find("Office"), std::string::npos) << entry.out;
    EXPECT_NE(entry.out.find("0123"), std::string::npos) << entry.out;
}

TEST_F(QzbctlDevice, TheMemoryFileFixesTheModelAndAFailedSaveFailsTheUpload)
{
    ASSERT_EQ(Run({"--model", "2152", "--simulate=" + File("memory.dat"), "device", "status"}).status, kExitOk);
    const Bytes memory = Read(File("memory.dat"));
    ASSERT_EQ(Run({"--model", "8313", "new", File("other.dat")}).status, kExitOk);

    const CRun other = Run({"--simulate=" + File("memory.dat"), "--fast", "device", "upload", File("other.dat")});
    EXPECT_EQ(other.status, kExitFailed);
    EXPECT_NE(other.err.find("is a TARVO QP-RZ41NF (model 2152); this run works as a MERIDAN TOVELL lumatrace "
                             "8120MF, model 8313"),
              std::string::npos)
        << other.err;
    EXPECT_EQ(Read(File("memory.dat")), memory) << "the device keeps its model and its memory";

    // A file without any write bit is not replaced, by root either.
    const std::string unsavable = File("read-only.dat");
    Write(unsavable, memory);
    fs::permissions(unsavable, fs::perms(0444));
    ASSERT_EQ(Run({"--model", "2152", "new", File("in.dat")}).status, kExitOk);
    const CRun lost = Run({"--simulate=" + unsavable, "--fast", "device", "upload", File("in.dat")});
    EXPECT_EQ(lost.status, kExitFailed);
    const std::vector<std::string> lines = ErrorLines(lost.err);
    ASSERT_EQ(lines.size(), 1u) << lost.err;
    EXPECT_EQ(lines[0].rfind(ErrorPrefix(0x80020031), 0), 0u) << lines[0];
    EXPECT_EQ(Read(unsavable), memory);
}

// Without --model the devices plugged in choose the model, as the window's launcher does.
TEST_F(QzbctlDevice, WithoutModelTheDevicesPluggedInChooseAndSeveralModelsAreRefused)
{
    ASSERT_EQ(Run({"--model", "8329", "new", File("coral.dat")}).status, kExitOk);
    ASSERT_EQ(Run({"--model", "8314", "new", File("obsidian.dat")}).status, kExitOk);
    const CRun one = Run({"--simulate=" + File("coral.dat"), "device", "status"});
    EXPECT_EQ(one.status, kExitOk) << one.err;
    EXPECT_NE(one.out.find("(model 8329)"), std::string::npos) << one.out;

    const std::string both = "--simulate=" + File("coral.dat") + "," + File("obsidian.dat");
    const CRun refused = Run({both, "device", "download", File("out.dat")});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_NE(refused.err.find("devices of several models"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("  0:1  model 8329 (MERIDAN TOVELL lumatrace 3120MF)  serial coral\n"),
              std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("  0:2  model 8314 (MERIDAN TOVELL lumatrace 8125MF)  serial obsidian\n"),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(fs::exists(File("out.dat")));

    const CRun picked = Run({both, "device", "status", "--device", "obsidian"});
    EXPECT_EQ(picked.status, kExitOk) << picked.err;
    EXPECT_NE(picked.out.find("(model 8314)"), std::string::npos) << picked.out;
    // --model names the model; the first device of it is used.
    const CRun named = Run({"--model", "8329", both, "device", "status"});
    EXPECT_EQ(named.status, kExitOk) << named.err;
}

TEST_F(QzbctlDevice, WithoutModelAndWithoutDeviceTheLastModelTheWindowUsedIsLookedFor)
{
    fs::create_directories(File("config/QZB"));
    std::ofstream(File("config/QZB/qzb.ini")) << "[General]\nLastModel=8315\n";
    const CRun none = Run({"--simulate", "--device", "9:9", "device", "status"});
    EXPECT_EQ(none.status, kExitFailed);
    EXPECT_NE(none.err.find("No device 9:9 of model 8315"), std::string::npos) << none.err;
    // A simulated device without a memory file is of that model too.
    const CRun fileless = Run({"--simulate", "device", "status"});
    EXPECT_EQ(fileless.status, kExitOk) << fileless.err;
    EXPECT_NE(fileless.out.find("(model 8315)"), std::string::npos) << fileless.out;
}

} // namespace
} // namespace qzb
