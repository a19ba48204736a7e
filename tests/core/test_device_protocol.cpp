#include "device/device_protocol.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "device/device_commands.h"
#include "device/device_link.h"
#include "device/device_simulator.h"
#include "files/dat_file.h"
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "model/image_layout.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace qzb {
namespace {

class CCodeRecorder : public IMessagePresenter
{
public:
    int Present(const CMessageBoxRequest& request) override
    {
        if (request.code != kOk) { // the context of these tests has no string table
            codes.push_back(request.code);
        }
        return kAnswerOk;
    }
    std::vector<MessageCode> codes;
};

// The bytes a DAT file would keep of the context, on a fixed date.
std::vector<std::uint8_t> FileImage(const CAppContext& context)
{
    CDeviceData device = context.device;
    CEncodeOptions options;
    options.today = 0x3442;
    return EncodeMachineImage(device, context.store, options);
}

class ProtocolTest : public ::testing::Test
{
protected:
    ProtocolTest() { Reset(2152); }

    void Reset(std::int32_t model)
    {
        protocol.reset();
        link.reset();
        context = std::make_unique<CAppContext>(model);
        messenger = std::make_unique<CMessenger>(context->strings, presenter);
        simulator = std::make_unique<CDeviceSimulator>(model, DefaultUsbVendorId());
        CDeviceLinkConfig config;
        config.lockDevice = false;
        config.sensePeriod = std::chrono::hours(1); // the sense thread stays out of these exchanges
        link = std::make_unique<CDeviceLink>(*simulator, *context, words, config);
        protocol = std::make_unique<CDeviceProtocol>(*link, *context, *messenger, CProtocolTimings::Fast());
    }

    MessageCode Run(std::uint32_t operation, std::uint32_t state = 0)
    {
        return protocol->DoDeviceOperation(operation, state);
    }

    CCodeRecorder presenter;
    CApplicationWords words;
    std::unique_ptr<CAppContext> context;
    std::unique_ptr<CMessenger> messenger;
    std::unique_ptr<CDeviceSimulator> simulator;
    std::unique_ptr<CDeviceLink> link;
    std::unique_ptr<CDeviceProtocol> protocol;
};

TEST_F(ProtocolTest, RequestsCarryTheDocumentedEntries)
{
    const auto first = FirstDownloadRequest();
    const auto second = SecondDownloadRequest();
    ASSERT_EQ(first.size(), 473u);
    ASSERT_EQ(second.size(), 129u);
    EXPECT_EQ(first[0], 0x13000u);
    EXPECT_EQ(first[20], 0x12050u);
    EXPECT_EQ(first[240], 0x12000u);
    EXPECT_EQ(first[260], 0x10600u);
    EXPECT_EQ(first[261], 0x21000u);
    EXPECT_EQ(second[0], 0x1212Cu);
    EXPECT_EQ(second[30], 0u) << "counter slots without an id are asked for as 0";
    EXPECT_EQ(second[127], 0x20014u);
    EXPECT_EQ(second[128], 0x21002u);
}

// The device's memory is laid from a settings file made here; what the download brings is checked
// against the values put into that file, not against a second decoding of the memory.
TEST_F(ProtocolTest, DownloadFillsAnEmptyContextWithTheDeviceMemory)
{
    CTempFolder folder("qzb-protocol");
    CAppContext source(2152);
    CFaxMailEntry branch;
    branch.number = 9;
    branch.name.Assign("Branch");
    branch.address.Assign("0555123");
    branch.setDate = 0x3442;
    ASSERT_EQ(source.device.book.PutFaxMailEntry(branch), kOk);
    source.store.SetItemTextRaw("USER_SET_DLG", "USER_NAME", "Front desk");
    source.store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK_IP_ADD_1", 10);
    source.device.tray2Installed = true;
    source.device.duplexInstalled = true;
    ASSERT_EQ(WriteDatFile(folder.Path() / "device.dat", source), kOk);
    ASSERT_EQ(simulator->Device().LoadDat(folder.Path() / "device.dat"), kOk);

    ASSERT_EQ(Run(kOperationConnect), kOk);
    EXPECT_TRUE(link->IsSessionOpen());
    EXPECT_TRUE(simulator->Device().SessionOpen());
    ASSERT_EQ(Run(kOperationDownload), kOk);
    const CFaxMailEntry* read = context->device.book.FindFaxMailEntry(9);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->name.View(), "Branch");
    EXPECT_EQ(read->address.View(), "0555123");
    EXPECT_EQ(context->device.book.FaxMailEntries().size(), 1u);
    EXPECT_EQ(context->store.GetItemTextRaw("USER_SET_DLG", "USER_NAME"), "Front desk");
    EXPECT_EQ(context->store.GetItemNumber("TCP_IP_SET_DLG", "NETWORK_IP_ADD_1"), 10);
    // The simulated device counts 1200 + 37 n in counter slot n.
    EXPECT_EQ(context->device.counters[2], 1200u + 37 * 2);
    EXPECT_TRUE(context->device.tray2Installed);
    EXPECT_TRUE(context->device.duplexInstalled);
    ASSERT_EQ(Run(kOperationDisconnect), kOk);
    EXPECT_FALSE(link->IsSessionOpen());
    EXPECT_FALSE(simulator->Device().SessionOpen());
    EXPECT_TRUE(presenter.codes.empty());
}

TEST_F(ProtocolTest, UploadThenDownloadGivesBackWhatWasUploaded)
{
    ASSERT_EQ(Run(kOperationConnect), kOk);
    ASSERT_EQ(Run(kOperationDownload), kOk);
    CFaxMailEntry added;
    added.number = 9;
    added.name.Assign("Branch");
    added.address.Assign("0555123");
    added.setDate = 0x3442;
    ASSERT_EQ(context->device.book.PutFaxMailEntry(added), kOk);
    ASSERT_TRUE(context->device.book.DeleteFaxMailEntry(4));
    context->store.SetItemNumber("MACHINE_SET_DLG", "Machine_LCD_contrast", 3);
    ASSERT_EQ(Run(kOperationUpload, kStateServiceMan), kOk);
    EXPECT_EQ(simulator->Device().UploadCount(), 1u);
    const CAddressBook uploaded = context->device.book;
    ASSERT_EQ(Run(kOperationDisconnect), kOk);

    CAppContext fresh(2152);
    CDeviceLink freshLink(*simulator, fresh, words, link->Config());
    CDeviceProtocol freshProtocol(freshLink, fresh, *messenger, CProtocolTimings::Fast());
    ASSERT_EQ(freshProtocol.DoDeviceOperation(kOperationConnect, 0), kOk);
    ASSERT_EQ(freshProtocol.DoDeviceOperation(kOperationDownload, 0), kOk);
    EXPECT_TRUE(fresh.device.book == uploaded);
    EXPECT_EQ(fresh.store.GetItemNumber("MACHINE_SET_DLG", "Machine_LCD_contrast"), 3);
    EXPECT_EQ(freshProtocol.DoDeviceOperation(kOperationDisconnect, 0), kOk);
}

TEST_F(ProtocolTest, UploadWithoutServiceModeCarriesTheDirectoryOnly)
{
    ASSERT_EQ(Run(kOperationConnect), kOk);
    ASSERT_EQ(Run(kOperationDownload), kOk);
    context->store.SetItemNumber("MACHINE_SET_DLG", "Machine_LCD_contrast", 3);
    ASSERT_EQ(Run(kOperationUpload), kOk);
    const auto* contrast = simulator->Device().Entry(0x10005);
    ASSERT_NE(contrast, nullptr);
    EXPECT_NE((*contrast)[0], 3) << "settings travel only in service-man mode";
}

TEST_F(ProtocolTest, StatusBytesAtConnect)
{
    simulator->Faults().statusByte = kStatusTimeOut;
    EXPECT_EQ(protocol->StartSession(), kOk) << "a device reporting time out is still connected";
    EXPECT_TRUE(link->IsSessionOpen());
    EXPECT_EQ(protocol->EndSession(), kMsgTimeOut);
    EXPECT_FALSE(link->IsSessionOpen());

    simulator->Faults().statusByte = 7;
    EXPECT_EQ(protocol->StartSession(), kOk);
    EXPECT_EQ(protocol->StatusQuery(), kOk) << "an unknown status byte is taken as ready";
    EXPECT_EQ(protocol->EndSession(), kOk);

    simulator->Faults().statusByte = kStatusOperating;
    EXPECT_EQ(protocol->StartSession(), kMsgMachineOperating);
    EXPECT_FALSE(link->IsSessionOpen());
}

TEST_F(ProtocolTest, BusyDeviceIsRefusedBeforeAnyPipeOpens)
{
    simulator->Faults().busyAtOpen = true;
    EXPECT_EQ(Run(kOperationConnect), kMsgMachineOperating);
    EXPECT_FALSE(link->IsOpen());
    EXPECT_EQ(simulator->BytesMoved(), 0u);
    EXPECT_TRUE(presenter.codes.empty()) << "the window reports a busy device itself";
}

TEST_F(ProtocolTest, OperationsNeedASession)
{
    EXPECT_EQ(protocol->Download(), kMsgConnectCut);
    EXPECT_EQ(protocol->Upload(false), kMsgConnectCut);
    EXPECT_EQ(protocol->CountryCheck(), kMsgConnectCut);
    EXPECT_EQ(Run(kOperationDownload), kMsgAlreadyReported);
    EXPECT_EQ(presenter.codes, (std::vector<MessageCode>{kMsgConnectCut})) << "reported once";
}

TEST_F(ProtocolTest, SplitAnswersAreReadWhole)
{
    // What a download in whole answers brings is the reference for the split ones.
    ASSERT_EQ(Run(kOperationConnect), kOk);
    ASSERT_EQ(Run(kOperationDownload), kOk);
    const CAddressBook whole = context->device.book;
    ASSERT_FALSE(whole.Empty());
    for (std::size_t split : {1u, 3u, 7u, 500u}) {
        Reset(2152);
        simulator->Faults().splitReads = split;
        ASSERT_EQ(Run(kOperationConnect), kOk) << split;
        ASSERT_EQ(Run(kOperationDownload), kOk) << split;
        EXPECT_TRUE(context->device.book == whole) << split;
        EXPECT_EQ(Run(kOperationDisconnect), kOk);
    }
}

TEST_F(ProtocolTest, CountryMismatchSendsNothing)
{
    ASSERT_EQ(Run(kOperationConnect), kOk);
    ASSERT_EQ(Run(kOperationDownload), kOk);
    simulator->Faults().country = 77;
    EXPECT_EQ(Run(kOperationUpload, kStateServiceMan), kMsgInvalidPttUploadErr);
    EXPECT_EQ(simulator->Device().UploadCount(), 0u);
    EXPECT_TRUE(link->IsSessionOpen()) << "a mismatch is no connection failure";
    simulator->Faults().country.reset();
    EXPECT_EQ(Run(kOperationUpload, kStateServiceMan), kOk);
    EXPECT_EQ(simulator->Device().UploadCount(), 1u);
    EXPECT_TRUE(context->device.deviceHasTray2) << "the check takes the device's trays";
    EXPECT_FALSE(context->device.deviceHasTray3);
    EXPECT_TRUE(context->device.deviceHasDuplex);
}

TEST_F(ProtocolTest, ConnectionCutAnywhereFailsCleanlyAndNeverHangs)
{
    // Measure the session's stream once without faults.
    ASSERT_EQ(Run(kOperationConnect), kOk);
    const std::size_t connected = simulator->BytesMoved();
    ASSERT_EQ(protocol->StatusQuery(), kOk);
    const std::size_t statusBytes = simulator->BytesMoved() - connected;
    ASSERT_EQ(Run(kOperationDownload), kOk);
    const std::size_t downloaded = simulator->BytesMoved();
    ASSERT_EQ(Run(kOperationUpload), kOk);
    const std::size_t uploaded = simulator->BytesMoved();
    ASSERT_GT(downloaded, connected + 30000);

    std::vector<std::size_t> cuts;
    for (std::size_t at = connected + statusBytes + 10; at < downloaded; at += 4099) {
        cuts.push_back(at);
    }
    for (std::size_t at = downloaded + statusBytes + 10; at < uploaded; at += 3001) {
        cuts.push_back(at);
    }
    for (std::size_t cut : cuts) {
        Reset(2152);
        ASSERT_EQ(Run(kOperationConnect), kOk);
        simulator->Faults().cutAfter = cut;
        const bool inDownload = cut < downloaded;
        MessageCode result = Run(kOperationDownload);
        if (inDownload) {
            EXPECT_TRUE(context->device.book.Empty()) << cut << ": a failed download changes nothing";
        } else {
            ASSERT_EQ(result, kOk) << cut;
            result = Run(kOperationUpload);
        }
        EXPECT_TRUE(result == kMsgConnectionErr || result == kMsgAlreadyReported) << cut << " " << std::hex << result;
        Run(kOperationDisconnect);
        EXPECT_FALSE(link->IsSessionOpen()) << cut;
        EXPECT_LE(presenter.codes.size(), 1u) << "a failure is shown once at most";
        presenter.codes.clear();
    }
}

TEST_F(ProtocolTest, DownloadAppliesWholeOrNotAtAll)
{
    ASSERT_EQ(Run(kOperationConnect), kOk);
    const std::size_t connected = simulator->BytesMoved();
    ASSERT_EQ(Run(kOperationDownload), kOk);
    const std::size_t downloadBytes = simulator->BytesMoved() - connected;
    const CAddressBook deviceBook = context->device.book;

    // Local edits the device does not have, so that a half-applied download would show.
    const auto editLocally = [this] {
        context->store.SetItemTextRaw("USER_SET_DLG", "USER_NAME", "LOCAL");
        ASSERT_TRUE(context->device.book.DeleteFaxMailEntry(context->device.book.FaxMailEntries().front().number));
        context->device.book.ClearScanEntries();
    };
    editLocally();
    ASSERT_EQ(Run(kOperationDownload), kOk);
    EXPECT_TRUE(context->device.book == deviceBook) << "a whole download replaces local edits";

    editLocally();
    const CAddressBook bookBefore = context->device.book;
    const std::vector<std::uint8_t> before = FileImage(*context);
    // The second answer is the last ~30 KB of the download: cut well inside it.
    simulator->Faults().cutAfter = simulator->BytesMoved() + downloadBytes - 8000;
    EXPECT_EQ(Run(kOperationDownload), kMsgConnectionErr);
    EXPECT_TRUE(context->device.book == bookBefore);
    EXPECT_EQ(FileImage(*context), before) << "the store and the device data stay as they were";
}

} // namespace
} // namespace qzb
