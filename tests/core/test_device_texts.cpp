#include "app/app_context.h"
#include "app/language_choice.h"
#include "app/messenger.h"
#include "app/rendered_text.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"
#include "device/model_detection.h"
#include "model/text_codec.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace qzb {
namespace {

TEST(RenderedText, FillsNumberedPlacesInTheTranslationsOrder)
{
    const TextLookup lookup = [](std::string_view key) -> std::u16string {
        if (key == "STR_OUTER") {
            return u"%2 before %1, %2 again, %3 has no value, 100% stays";
        }
        if (key == "STR_INNER") {
            return u"inner <%1>";
        }
        return {};
    };
    const CKeyedText text = KeyedText("STR_OUTER", {PlainValue("first"), KeyedText("STR_INNER", {PlainValue("x")})});
    EXPECT_EQ(RenderText(text, lookup), u"inner <x> before first, inner <x> again, %3 has no value, 100% stays");
    // A key no table knows shows as itself, so that it is seen and mended rather than lost.
    EXPECT_EQ(RenderText(KeyedText("STR_NOWHERE", {PlainValue("v")}), lookup), u"STR_NOWHERE");
    // Values are shown as they are, a '%' in them included: they are never read as places.
    EXPECT_EQ(RenderText(KeyedText("STR_INNER", {PlainValue("%1 of 100%")}), lookup), u"inner <%1 of 100%>");
    // Without a table the English the utility ships is used, key by key.
    CStringTable partial;
    std::istringstream in("STR_DIAG_DEVICE=Das Gerät\n");
    ASSERT_TRUE(partial.Load(in).Ok());
    EXPECT_EQ(RenderTextUtf8(KeyedText("STR_DIAG_BUSY", {KeyedText("STR_DIAG_DEVICE")}), &partial),
              "Das Gerät reports that it is operating. Wait until it is idle and try again.");
}

// The texts the device layer and the start-up hand up, with the English they read as.
struct CDeviceTextCase
{
    CKeyedText text;
    std::string english;
};

CDeviceDiagnosis Diagnosis(DeviceFinding finding, std::string node = {}, std::string description = {})
{
    CDeviceDiagnosis diagnosis;
    diagnosis.finding = finding;
    diagnosis.deviceNode = std::move(node);
    diagnosis.description = std::move(description);
    diagnosis.modelCode = 2152;
    diagnosis.vendorId = 0x0B49;
    return diagnosis;
}

std::vector<CDeviceTextCase> DeviceTextCases()
{
    const std::string node = "/dev/bus/usb/001/002";
    const std::string named = "The device \"TARVO Printer\" at /dev/bus/usb/001/002";
    const std::string wanted = "model 2152 (USB id 0b49:0868)";
    std::vector<CDeviceTextCase> cases = {
        {KeyedText("STR_PROGRESS_DOWNLOAD_FIRST"), "downloading settings and directory (1/2)"},
        {KeyedText("STR_PROGRESS_DOWNLOAD_SECOND"), "downloading scan destinations and device information (2/2)"},
        {KeyedText("STR_PROGRESS_UPLOAD"), "uploading"},
        {KeyedText("STR_PROGRESS_WAIT"), "waiting for the device"},
        {KeyedText("STR_PROGRESS_WAIT_UPLOAD"), "waiting for the device to take the data"},
    };
    const CModelSearch none;
    const std::string elsewhere = ". To work with another model, plug its device in and start qzb again, or start qzb "
                                  "--model CODE.";
    cases.push_back({ModelNotice(2152, ModelSource::CommandLine, none, 0x0B49),
                     "Runs as TARVO QP-RZ41NF (model 2152), as --model asked."});
    cases.push_back({ModelNotice(2152, ModelSource::Device, none, 0x0B49),
                     "Runs as TARVO QP-RZ41NF (model 2152), the model of the device plugged in."});
    cases.push_back({ModelNotice(2152, ModelSource::Chosen, none, 0x0B49),
                     "Runs as TARVO QP-RZ41NF (model 2152), the model of the device chosen at start."});
    cases.push_back({ModelNotice(2152, ModelSource::LastUsed, none, 0x0B49),
                     "No device was found: runs as TARVO QP-RZ41NF (model 2152), the model used last" + elsewhere});
    cases.push_back({ModelNotice(2152, ModelSource::BuildDefault, none, 0x0B49),
                     "No device was found: runs as TARVO QP-RZ41NF (model 2152), the default model" + elsewhere});
    cases.push_back({FileModelNotice(8315),
                     "Runs as MERIDAN TOVELL quorra K40 (model 8315), the model of the settings file opened."});
    cases.push_back({*ConnectNotice(Diagnosis(DeviceFinding::Opened, node, "TARVO Printer")),
                     "Runs as TARVO QP-RZ41NF (model 2152). " + named + " is connected."});

    cases.push_back({DescribeDiagnosis(Diagnosis(DeviceFinding::Opened)), "The device is connected."});
    CDeviceDiagnosis selected = Diagnosis(DeviceFinding::NoDevice);
    selected.selector = "9:9";
    cases.push_back({DescribeDiagnosis(selected),
                     "No device 9:9 of " + wanted +
                         " was found. `device list` shows the devices plugged in, with their bus:address and serial "
                         "numbers."});
    cases.push_back({DescribeDiagnosis(Diagnosis(DeviceFinding::NoDevice)),
                     "No device of " + wanted +
                         " was found. Check that it is switched on and its USB cable is plugged in; `lsusb` lists "
                         "what the computer sees. If it is listed there, check that this user may use it: install the "
                         "udev rule 60-qzb.rules (see \"USB access\" in the README)."});
    cases.push_back({DescribeDiagnosis(Diagnosis(DeviceFinding::NoPermission, node)),
                     "The device at " + node +
                         " was found, but this user may not open it. Install the udev rule 60-qzb.rules "
                         "(packaging/linux/60-qzb.rules in the source, lib/udev/rules.d after cmake --install) into "
                         "/etc/udev/rules.d, run `sudo udevadm control --reload-rules && sudo udevadm trigger`, then "
                         "unplug the device and plug it in again."});
    cases.push_back({DescribeDiagnosis(Diagnosis(DeviceFinding::HeldByOtherProgram, {}, "TARVO Printer")),
                     "The device \"TARVO Printer\" is in use by another program (another qzb or qzbctl, or a driver "
                     "that holds it). Close that program and try again."});
    CDeviceDiagnosis other = Diagnosis(DeviceFinding::OtherModel, node, "TARVO Printer");
    other.productId = 8315;
    cases.push_back({DescribeDiagnosis(other),
                     named + " is a MERIDAN TOVELL quorra K40 (model 8315); this run works as a TARVO QP-RZ41NF, " +
                         wanted + ". Start with --model 8315 to work with it."});
    other.productId = 9999;
    cases.push_back({DescribeDiagnosis(other),
                     named + " is a device (model 9999); this run works as a TARVO QP-RZ41NF, " + wanted +
                         ". Start with --model 9999 to work with it."});
    cases.push_back({DescribeDiagnosis(Diagnosis(DeviceFinding::Busy)),
                     "The device reports that it is operating. Wait until it is idle and try again."});
    cases.push_back({DescribeDiagnosis(Diagnosis(DeviceFinding::Failure)), "The USB devices could not be listed."});
    cases.push_back({DescribeDiagnosis(Diagnosis(DeviceFinding::Failure, node)),
                     "The device at " + node + " did not answer its status request."});

    // The load errors of the string table.
    const CTempFolder folder("qzb-device-texts");
    CAppContext context(8313);
    CDataFolders folders;
    folders.commandLine = folder.Path();
    CKeyedText problem;
    EXPECT_FALSE(LoadProfileStringTable(context, folders, problem));
    cases.push_back({problem, "Can not find M8120QZBSTR.tbl. Looked in: " + folder.Path().string() + "."});
    std::ofstream(folder.Path() / "M8120QZBSTR.tbl") << "STR_A=a\nSTR_B=" << std::string(900, 'b') << '\n';
    EXPECT_FALSE(LoadProfileStringTable(context, folders, problem));
    cases.push_back({problem,
                     "The string table " + (folder.Path() / "M8120QZBSTR.tbl").string() +
                         " is damaged at line 2: the line is too long or does not end with a line feed."});
    cases.push_back(
        {KeyedText("STR_LOAD_TABLE_NOT_FOUND", {PlainValue("M8120QZBSTR.tbl")}), "Can not find M8120QZBSTR.tbl."});
    return cases;
}

CStringTable GermanTable()
{
    SetProcessCodePage(LanguageCodePage("de"));
    CStringTable table;
    const std::filesystem::path path =
        std::filesystem::path(QZB_TEST_DATA_DIR) / "de" / StringTableFileName(FindModelProfile(2152));
    EXPECT_TRUE(table.LoadFile(path).Ok()) << path;
    SetProcessCodePage(kDefaultCodePage);
    return table;
}

TEST(DeviceTexts, EveryStepNoticeAndDiagnosisReadsAsBeforeInEnglishAndFromTheGermanTable)
{
    const CStringTable german = GermanTable();
    const std::regex leftover(R"(STR_|%[1-9])");
    for (const CDeviceTextCase& c : DeviceTextCases()) {
        EXPECT_EQ(RenderTextUtf8(c.text, nullptr), c.english);
        const std::string translated = RenderTextUtf8(c.text, &german);
        EXPECT_FALSE(std::regex_search(translated, leftover)) << translated;
        EXPECT_NE(translated, c.english);
    }
    // A sample read whole, with the device named inside the sentence and the values in their places.
    CDeviceDiagnosis held = Diagnosis(DeviceFinding::HeldByOtherProgram, "/dev/bus/usb/001/002", "TARVO Printer");
    EXPECT_EQ(RenderTextUtf8(DescribeDiagnosis(held), &german),
              "Das Gerät „TARVO Printer“ an /dev/bus/usb/001/002 wird von einem anderen Programm verwendet (einem "
              "anderen qzb oder qzbctl oder einem Treiber, der es belegt). Schließen Sie dieses Programm und versuchen "
              "Sie es erneut.");
    EXPECT_EQ(RenderTextUtf8(ModelNotice(8315, ModelSource::Device, {}, 0x0B49), &german),
              "Arbeitet als MERIDAN TOVELL quorra K40 (Modell 8315), das Modell des angeschlossenen Geräts.");
}

class CKeyRecorder : public IMessagePresenter
{
public:
    int Present(const CMessageBoxRequest&) override { return kAnswerOk; }
};

TEST(DeviceTexts, TheTransferTellsEachStepByItsKey)
{
    CKeyRecorder presenter;
    CApplicationWords words;
    CAppContext context(2152);
    CMessenger messenger(context.strings, presenter);
    CDeviceSimulator simulator(2152, DefaultUsbVendorId());
    CDeviceLinkConfig config;
    config.lockDevice = false;
    config.sensePeriod = std::chrono::hours(1);
    CDeviceLink link(simulator, context, words, config);
    // Pauses of a millisecond, so that each is told.
    const std::chrono::milliseconds pause(1);
    CDeviceProtocol protocol(link, context, messenger, CProtocolTimings{pause, pause, pause, pause});
    std::vector<std::string> steps;
    protocol.SetProgress([&steps](const CKeyedText& step) {
        EXPECT_TRUE(step.values.empty()) << step.key;
        steps.push_back(step.key);
    });
    ASSERT_EQ(protocol.DoDeviceOperation(kOperationConnect, 0), kOk);
    ASSERT_EQ(protocol.DoDeviceOperation(kOperationDownload, 0), kOk);
    ASSERT_EQ(protocol.DoDeviceOperation(kOperationUpload, 0), kOk);
    protocol.SetProgress({});
    const std::vector<std::string> transfer = {
        "STR_PROGRESS_DOWNLOAD_FIRST", "STR_PROGRESS_WAIT", "STR_PROGRESS_DOWNLOAD_SECOND", "STR_PROGRESS_WAIT"};
    ASSERT_GE(steps.size(), transfer.size() + 2) << testing::PrintToString(steps);
    EXPECT_TRUE(std::search(steps.begin(), steps.end(), transfer.begin(), transfer.end()) != steps.end())
        << testing::PrintToString(steps);
    EXPECT_EQ(std::vector<std::string>(steps.end() - 2, steps.end()),
              (std::vector<std::string>{"STR_PROGRESS_UPLOAD", "STR_PROGRESS_WAIT_UPLOAD"}));
    for (const std::string& key : steps) {
        EXPECT_EQ(RenderTextUtf8(KeyedText(key), nullptr).find("STR_"), std::string::npos) << key;
    }
}

// The English string literals of the layers below the front ends that are no sentence for the
// user: what the simulated device holds as its own data (its USB product string, the sample names
// of its directory) and the trace file's words for whoever reads a protocol trace.
bool IsKnownNonSentence(const std::string& file, const std::string& literal)
{
    return file == "device/simulated_device.cpp" ||
           (file == "device/device_simulator.cpp" && literal == "TARVO QZB simulated device") ||
           (file == "device/trace_transport.cpp" && literal == "held by another program");
}

TEST(DeviceTexts, TheLayersBelowTheFrontEndsHoldNoEnglishSentence)
{
    // Three words, a capital word and a small one at the start, or a word ending a sentence:
    // what every English text the device layer built used to have.
    const std::regex sentence(R"([A-Za-z]+ [a-z]+ [a-z]+|^ ?[A-Z][a-z]+ [a-z]+|[a-z]{2,}[.;:!?]( |$))");
    const std::regex literal(R"re("((?:[^"\\]|\\.)*)")re");
    const std::filesystem::path root(QZB_SOURCE_DIR);
    std::size_t scanned = 0;
    for (const char* folder : {"device", "files", "pages", "session"}) {
        for (const auto& entry : std::filesystem::directory_iterator(root / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h") {
                continue;
            }
            const std::string file = std::string(folder) + "/" + entry.path().filename().string();
            std::ifstream in(entry.path());
            std::string line;
            for (std::size_t number = 1; std::getline(in, line); ++number) {
                const auto code = line.find_first_not_of(" \t");
                if (code == std::string::npos || line.compare(code, 2, "//") == 0 ||
                    line.find("assert(") != std::string::npos) {
                    continue; // comments and a developer's assertions are not shown
                }
                const std::string text = line.substr(0, line.find(" // "));
                for (auto it = std::sregex_iterator(text.begin(), text.end(), literal); it != std::sregex_iterator();
                     ++it) {
                    const std::string words = (*it)[1].str();
                    EXPECT_FALSE(std::regex_search(words, sentence) && !IsKnownNonSentence(file, words))
                        << file << ":" << number << " builds an English sentence: \"" << words << "\"";
                }
            }
            ++scanned;
        }
    }
    EXPECT_GT(scanned, 50u) << "the source folders were not found under " << root;
}

} // namespace
} // namespace qzb
