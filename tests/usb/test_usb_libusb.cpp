#include "device/usb_libusb.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "app/rendered_text.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/simulated_device.h"
#include "files/dat_file.h"
#include "machine/image_decoder.h"
#include "tests/support/temp_folder.h"
#include "tests/usb/emulated_usb_device.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <unistd.h>

namespace qzb {
namespace {

using namespace std::chrono_literals;

// Each test gets a lock folder of its own; parameterised test names hold slashes.
int folderCount = 0;
using test::CEmulatedDeviceSetup;
using test::CEmulatedUsbBus;
using test::CEmulatedUsbDevice;

constexpr std::uint16_t kVendor = 0x0B49;

CEmulatedDeviceSetup Described(std::uint8_t address,
                               std::uint16_t product = 2152,
                               std::string manufacturer = "TARVO",
                               std::string productName = "QP-RZ41NF")
{
    CEmulatedDeviceSetup setup;
    setup.address = address;
    setup.vendorId = kVendor;
    setup.productId = product;
    setup.manufacturer = std::move(manufacturer);
    setup.product = std::move(productName);
    return setup;
}

// The libusb backend end to end against devices that umockdev emulates. The bus must exist before
// libusb starts, so that libusb sees the emulated sysfs.
class UsbBackend : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!CEmulatedUsbBus::UnderPreload()) {
            GTEST_SKIP() << "needs LD_PRELOAD=libumockdev-preload.so.0 (run through ctest)";
        }
        bus = std::make_unique<CEmulatedUsbBus>();
        lockFolder = std::filesystem::temp_directory_path() /
                     ("qzb-usb-test-" + std::to_string(::getpid()) + "-" + std::to_string(++folderCount));
        std::filesystem::create_directories(lockFolder);
        config.vendorId = kVendor;
        config.lockFolder = lockFolder;
        config.transferTimeout = 2s;
    }
    void TearDown() override
    {
        link.reset();
        transport.reset();
        bus.reset();
        if (!lockFolder.empty()) {
            std::filesystem::remove_all(lockFolder);
        }
    }

    CDeviceLink& Link()
    {
        if (!link) {
            transport = std::make_unique<CUsbTransport>();
            link = std::make_unique<CDeviceLink>(*transport, context, words, config);
        }
        return *link;
    }

    std::unique_ptr<CEmulatedUsbBus> bus;
    std::unique_ptr<CUsbTransport> transport;
    std::unique_ptr<CDeviceLink> link;
    std::filesystem::path lockFolder;
    CAppContext context{2152};
    CApplicationWords words;
    CDeviceLinkConfig config;
};

TEST_F(UsbBackend, ListsOnlyTheVendorsDevicesWithTheirStringsAndOurInterface)
{
    CEmulatedDeviceSetup stranger = Described(3);
    stranger.vendorId = 0x1234;
    CEmulatedUsbDevice& other = bus->Add(stranger);
    bus->Add(Described(2, 2152, "TARVO Corporation", "QP-RZ41NF"));
    CUsbTransport usb;
    ASSERT_TRUE(usb.IsAvailable());

    std::vector<CUsbCandidate> devices;
    ASSERT_EQ(usb.ListDevices(kVendor, devices), kOk);
    ASSERT_EQ(devices.size(), 1u);
    const CUsbCandidate& device = devices[0];
    EXPECT_EQ(device.description, "TARVO Corporation QP-RZ41NF");
    EXPECT_EQ(device.productId, 2152);
    EXPECT_EQ(device.deviceNode, "/dev/bus/usb/001/002");
    EXPECT_EQ(device.interfaceNumber, 1) << "the printer interface comes first and is not ours";
    ASSERT_EQ(device.pipes.size(), 2u);
    EXPECT_EQ(device.pipes[0].endpointAddress, 0x03);
    EXPECT_EQ(device.pipes[1].endpointAddress, 0x84);
    EXPECT_EQ(device.pipes[1].maxPacketSize, 512);
    EXPECT_EQ(other.ControlRequestCount(), 0) << "another maker's device is never opened";
}

TEST_F(UsbBackend, OpensTheDeviceOfTheModelAmongSeveralAndClaimsOnlyItsInterface)
{
    CEmulatedUsbDevice& otherModel = bus->Add(Described(2, 8313, "TARVO", "M8120"));
    CEmulatedUsbDevice& noWord = bus->Add(Described(3, 2152, "Acme", "QP-RZ41NF"));
    CEmulatedUsbDevice& ours = bus->Add(Described(4));

    ASSERT_EQ(Link().OpenDevice(), kOk);
    EXPECT_TRUE(Link().IsOpen());
    EXPECT_EQ(Link().LastDiagnosis().deviceNode, "/dev/bus/usb/001/004");
    EXPECT_EQ(Link().WritePacketSize(), 512);
    EXPECT_TRUE(otherModel.ClaimedInterfaces().empty());
    EXPECT_TRUE(noWord.ClaimedInterfaces().empty());
    for (int claimed : ours.ClaimedInterfaces()) {
        EXPECT_EQ(claimed, 1);
    }

    const std::vector<std::uint8_t> status = {0x02, 0x03, 0, 0, 8, 0, 0, 0};
    ASSERT_EQ(Link().WritePipe(status), kOk);
    std::uint8_t answer[512];
    const CTransferResult read = Link().ReadPipe(answer);
    ASSERT_EQ(read.code, kOk);
    EXPECT_EQ(std::vector<std::uint8_t>(answer, answer + read.bytes), status);

    Link().CloseDevice();
    EXPECT_FALSE(ours.AnyInterfaceHeld());
}

// Several devices of the model: --device picks one by bus:address or by serial number, and a
// choice that fits none opens nothing and says so.
TEST_F(UsbBackend, TheDeviceChoiceOpensTheNamedDeviceAmongSeveral)
{
    CEmulatedDeviceSetup first = Described(2);
    first.serialNumber = "E71A0001";
    CEmulatedDeviceSetup second = Described(5);
    second.serialNumber = "E71A0002";
    CEmulatedUsbDevice& one = bus->Add(first);
    CEmulatedUsbDevice& two = bus->Add(second);
    CEmulatedUsbDevice& three = bus->Add(Described(6));

    std::vector<CUsbCandidate> devices;
    CUsbTransport usb;
    ASSERT_EQ(usb.ListDevices(kVendor, devices), kOk);
    ASSERT_EQ(devices.size(), 3u);
    std::set<std::string> serials;
    for (const CUsbCandidate& device : devices) {
        serials.insert(device.serialNumber);
    }
    EXPECT_EQ(serials, (std::set<std::string>{"E71A0001", "E71A0002", ""}));

    struct CChoice
    {
        const char* selector;
        CEmulatedUsbDevice* opened;
    };
    for (const CChoice choice : {CChoice{"1:5", &two},
                                 CChoice{"E71A0001", &one},
                                 CChoice{"1:6", &three},
                                 CChoice{"1:7", nullptr},
                                 CChoice{"E71A0003", nullptr}}) {
        link.reset();
        config.deviceSelector = choice.selector;
        ASSERT_EQ(Link().OpenDevice(), kOk) << choice.selector;
        EXPECT_EQ(Link().IsOpen(), choice.opened != nullptr) << choice.selector;
        if (choice.opened == nullptr) {
            const std::string text = RenderTextUtf8(DescribeDiagnosis(Link().LastDiagnosis()), nullptr);
            EXPECT_NE(text.find(choice.selector), std::string::npos) << text;
            continue;
        }
        EXPECT_EQ(Link().LastDiagnosis().deviceNode, choice.opened->DeviceNode()) << choice.selector;
        Link().CloseDevice();
    }
}

TEST_F(UsbBackend, ADeviceThatIsOperatingIsNotOpened)
{
    CEmulatedDeviceSetup setup = Described(2);
    setup.busyAnswer = {0x00, 0x01};
    CEmulatedUsbDevice& device = bus->Add(setup);

    EXPECT_EQ(Link().OpenDevice(), kMsgMachineOperating);
    EXPECT_FALSE(Link().IsOpen());
    EXPECT_EQ(Link().LastDiagnosis().finding, DeviceFinding::Busy);
    EXPECT_FALSE(device.AnyInterfaceHeld());
}

TEST_F(UsbBackend, WithoutEndpointFourReadsAnswerPipesNotOpen)
{
    CEmulatedDeviceSetup setup = Described(2);
    setup.endpoints = {{0x03, 64}};
    CEmulatedUsbDevice& device = bus->Add(setup);

    ASSERT_EQ(Link().OpenDevice(), kOk);
    const std::uint8_t bytes[] = {1, 2, 3};
    EXPECT_EQ(Link().WritePipe(bytes), kOk);
    std::uint8_t buffer[64];
    EXPECT_EQ(Link().ReadPipe(buffer).code, kMsgConnectUsb);
    EXPECT_EQ(device.Received(), std::vector<std::uint8_t>(bytes, bytes + 3));
}

TEST_F(UsbBackend, ADeviceTheUserMayNotOpenIsNamedWithTheFix)
{
    CEmulatedUsbDevice& device = bus->Add(Described(7));
    bus->DenyAccess(device);
    CDeviceLink& link = Link();

    // Root opens any node, so the search runs as an ordinary user for its duration.
    const bool wasRoot = ::geteuid() == 0;
    if (wasRoot && ::seteuid(65534) != 0) {
        GTEST_SKIP() << "cannot act as an ordinary user";
    }
    const MessageCode result = link.OpenDevice();
    if (wasRoot) {
        ASSERT_EQ(::seteuid(0), 0);
    }

    EXPECT_EQ(result, kOk);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.LastDiagnosis().finding, DeviceFinding::NoPermission);
    const std::string text = RenderTextUtf8(DescribeDiagnosis(link.LastDiagnosis()), nullptr);
    EXPECT_NE(text.find("/dev/bus/usb/001/007"), std::string::npos) << text;
    EXPECT_NE(text.find("60-qzb.rules"), std::string::npos) << text;
}

TEST_F(UsbBackend, AnInterfaceHeldByAnotherDriverIsReportedAsHeld)
{
    CEmulatedDeviceSetup setup = Described(2);
    setup.claimRefused = true;
    bus->Add(setup);

    EXPECT_EQ(Link().OpenDevice(), kOk);
    EXPECT_FALSE(Link().IsOpen());
    EXPECT_EQ(Link().LastDiagnosis().finding, DeviceFinding::HeldByOtherProgram);
}

TEST_F(UsbBackend, MovesALargeImageBothWays)
{
    CEmulatedUsbDevice& device = bus->Add(Described(2));
    constexpr std::size_t kSize = 300000;
    // Gathers what the host writes and sends it back reversed as one transfer.
    auto gathered = std::make_shared<std::vector<std::uint8_t>>();
    device.SetResponder([gathered](CEmulatedUsbDevice& self, std::span<const std::uint8_t> received) {
        gathered->insert(gathered->end(), received.begin(), received.end());
        if (gathered->size() == kSize) {
            self.Send({gathered->rbegin(), gathered->rend()});
        }
    });
    ASSERT_EQ(Link().OpenDevice(), kOk);
    std::vector<std::uint8_t> image(kSize);
    for (std::size_t i = 0; i < kSize; ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    }

    ASSERT_EQ(Link().WritePipe(image), kOk);
    const std::vector<std::size_t> pieces = device.OutTransferSizes();
    EXPECT_EQ(pieces.size(), (kSize + 511) / 512);
    EXPECT_LE(*std::max_element(pieces.begin(), pieces.end()), 512u);

    std::vector<std::uint8_t> back(kSize);
    std::size_t have = 0;
    while (have < kSize) {
        const CTransferResult read = Link().ReadPipe(std::span(back).subspan(have));
        ASSERT_EQ(read.code, kOk);
        ASSERT_GT(read.bytes, 0u);
        have += read.bytes;
    }
    EXPECT_TRUE(std::equal(back.begin(), back.end(), image.rbegin()));
}

TEST_F(UsbBackend, ReadsShorterThanAPacketLoseNothing)
{
    CEmulatedUsbDevice& device = bus->Add(Described(2));
    ASSERT_EQ(Link().OpenDevice(), kOk);
    std::vector<std::uint8_t> answer(17);
    for (std::size_t i = 0; i < answer.size(); ++i) {
        answer[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    device.Send(answer);

    std::uint8_t header[8];
    CTransferResult read = Link().ReadPipe(header);
    ASSERT_EQ(read.code, kOk);
    ASSERT_EQ(read.bytes, 8u);
    std::uint8_t rest[64];
    read = Link().ReadPipe(rest);
    ASSERT_EQ(read.code, kOk);
    ASSERT_EQ(read.bytes, 9u);
    std::vector<std::uint8_t> joined(header, header + 8);
    joined.insert(joined.end(), rest, rest + 9);
    EXPECT_EQ(joined, answer);
}

TEST_F(UsbBackend, ADeviceThatStopsAnsweringTimesOutAsACutConnection)
{
    CEmulatedUsbDevice& device = bus->Add(Described(2));
    config.transferTimeout = 200ms;
    ASSERT_EQ(Link().OpenDevice(), kOk);

    // Nothing is queued: only the transfer's time limit ends this read.
    std::uint8_t buffer[512];
    EXPECT_EQ(Link().ReadPipe(buffer).code, kMsgConnectCut);

    device.Send({1, 2, 3});
    const CTransferResult read = Link().ReadPipe(buffer);
    EXPECT_EQ(read.code, kOk);
    EXPECT_EQ(read.bytes, 3u) << "the cancelled read must not have eaten the next answer";
}

TEST_F(UsbBackend, CloseEndsAReadInFlightOnAnotherThreadAsCut)
{
    CEmulatedUsbDevice& device = bus->Add(Described(2));
    config.transferTimeout = std::chrono::hours(1); // only the close can end the read
    ASSERT_EQ(Link().OpenDevice(), kOk);

    CTransferResult read{kOk, 0};
    std::thread reader([this, &read] {
        std::uint8_t buffer[512];
        read = transport->Read(buffer, config.transferTimeout);
    });
    while (device.WaitingReads() == 0) {
        std::this_thread::yield();
    }
    transport->Close();
    reader.join();
    EXPECT_EQ(read.code, kMsgConnectCut);
    EXPECT_EQ(read.bytes, 0u);
    EXPECT_FALSE(device.AnyInterfaceHeld());
    std::uint8_t buffer[8];
    EXPECT_EQ(transport->Read(buffer, 1s).code, kMsgConnectCut) << "a closed pipe stays closed";
}

} // namespace
} // namespace qzb

namespace qzb {
namespace {

class CQuietPresenter : public IMessagePresenter
{
public:
    int Present(const CMessageBoxRequest& request) override
    {
        if (request.code != kOk) {
            shown.push_back(request.code);
        }
        return kAnswerOk;
    }
    std::vector<MessageCode> shown;
};

// The simulator's device behind the emulated pipes: the transfer protocol talks to it through
// libusb exactly as to hardware.
TEST_F(UsbBackend, DownloadAndUploadThroughLibusbAgainstTheSimulatedDevice)
{
    CEmulatedUsbDevice& usb = bus->Add(Described(2));
    auto device = std::make_shared<CSimulatedDevice>(2152);
    // The device's memory laid from a file made here, so the download is checked against known values.
    CTempFolder folder("qzb-usb");
    {
        CAppContext source(2152);
        CFaxMailEntry branch;
        branch.number = 9;
        branch.name.Assign("Branch");
        branch.address.Assign("0555123");
        branch.setDate = 0x3442;
        ASSERT_EQ(source.device.book.PutFaxMailEntry(branch), kOk);
        ASSERT_EQ(WriteDatFile(folder.Path() / "device.dat", source), kOk);
        ASSERT_EQ(device->LoadDat(folder.Path() / "device.dat"), kOk);
    }
    usb.SetResponder([device](CEmulatedUsbDevice& self, std::span<const std::uint8_t> received) {
        device->Receive(received);
        if (const std::size_t pending = device->PendingAnswerBytes(); pending > 0) {
            std::vector<std::uint8_t> answer(pending);
            device->Send(answer);
            self.Send(std::move(answer));
        }
    });
    CQuietPresenter presenter;
    CMessenger messenger(context.strings, presenter);
    CDeviceLink& link = Link();
    CDeviceProtocol protocol(link, context, messenger, CProtocolTimings::Fast());

    ASSERT_EQ(protocol.DoDeviceOperation(kOperationConnect, 0), kOk);
    ASSERT_EQ(protocol.DoDeviceOperation(kOperationDownload, 0), kOk);
    ASSERT_EQ(context.device.book.FaxMailEntries().size(), 1u);
    const CFaxMailEntry& read = context.device.book.FaxMailEntries().front();
    EXPECT_EQ(read.number, 9);
    EXPECT_EQ(read.name.View(), "Branch");
    EXPECT_EQ(read.address.View(), "0555123");

    CFaxMailEntry added;
    added.number = 42;
    added.name.Assign("Via libusb");
    added.address.Assign("0421");
    added.setDate = 0x3442;
    ASSERT_EQ(context.device.book.PutFaxMailEntry(added), kOk);
    ASSERT_EQ(protocol.DoDeviceOperation(kOperationUpload, kStateServiceMan), kOk);
    EXPECT_EQ(device->UploadCount(), 1u);
    ASSERT_EQ(protocol.DoDeviceOperation(kOperationDisconnect, 0), kOk);
    EXPECT_FALSE(device->SessionOpen());
    EXPECT_TRUE(presenter.shown.empty());

    CAppContext after(2152);
    ASSERT_EQ(DecodeMachineImage(after.device, after.store, device->MemoryImage()), kOk);
    EXPECT_TRUE(after.device.book == context.device.book) << "the device holds what was uploaded";
}

} // namespace
} // namespace qzb
