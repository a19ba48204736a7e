#include "device/device_link.h"

#include "app/app_context.h"
#include "app/rendered_text.h"
#include "device/trace_transport.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <map>
#include <sstream>

#include <unistd.h>

namespace qzb {
namespace {

using namespace std::chrono_literals;

// Each test gets a lock folder of its own; parameterised test names hold slashes.
int folderCount = 0;

constexpr std::uint16_t kVendor = 0x0B49;

CUsbCandidate Device(std::string id,
                     std::uint16_t product,
                     std::string description,
                     std::uint8_t address,
                     std::vector<CUsbPipe> pipes = {{0x03, 64, UsbPipeType::Bulk}, {0x84, 64, UsbPipeType::Bulk}})
{
    CUsbCandidate device;
    device.identifier = std::move(id);
    device.deviceNode = "/dev/bus/usb/001/00" + std::to_string(address);
    device.busNumber = 1;
    device.deviceAddress = address;
    device.description = std::move(description);
    device.vendorId = kVendor;
    device.productId = product;
    device.interfaceNumber = 0;
    device.pipes = std::move(pipes);
    return device;
}

// A device that answers what the test scripts. Writes are recorded; reads hand out queued answers,
// or echo the last write when none is queued. Unplugged, every transfer is refused.
class CFakeTransport : public ITransport
{
public:
    MessageCode ListDevices(std::uint16_t, std::vector<CUsbCandidate>& out) override
    {
        std::lock_guard lock(m_mutex);
        out = devices;
        return listResult;
    }
    CTransferResult ControlIn(const CUsbCandidate& device,
                              const CControlRequest& request,
                              std::span<std::uint8_t> buffer,
                              std::chrono::milliseconds) override
    {
        std::lock_guard lock(m_mutex);
        asked.push_back(device.identifier);
        lastRequest = request;
        const std::vector<std::uint8_t> answer =
            busyAnswer.count(device.identifier) ? busyAnswer[device.identifier] : std::vector<std::uint8_t>{0, 0};
        std::copy(answer.begin(), answer.end(), buffer.begin());
        return {kOk, answer.size()};
    }
    UsbAccess OpenPipes(const CUsbCandidate& device, std::uint8_t write, std::uint8_t read) override
    {
        std::lock_guard lock(m_mutex);
        opened.push_back(device.identifier);
        openedWrite = write;
        openedRead = read;
        return openAccess.count(device.identifier) ? openAccess[device.identifier] : UsbAccess::Granted;
    }
    CTransferResult Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override
    {
        std::lock_guard lock(m_mutex);
        timeouts.push_back(timeout);
        if (unplugged || refuseWrites) {
            return {kMsgConnectCut, 0};
        }
        writes.emplace_back(bytes.begin(), bytes.end());
        return {kOk, bytes.size() - std::min<std::size_t>(shortBy, bytes.size())};
    }
    CTransferResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override
    {
        std::lock_guard lock(m_mutex);
        timeouts.push_back(timeout);
        if (unplugged) {
            return {kMsgConnectCut, 0};
        }
        std::vector<std::uint8_t> answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        } else if (!writes.empty()) {
            answer = writes.back();
        }
        const std::size_t count = std::min(answer.size(), buffer.size());
        std::copy_n(answer.begin(), count, buffer.begin());
        return {kOk, count};
    }
    void Close() override
    {
        std::lock_guard lock(m_mutex);
        ++closes;
    }

    std::vector<std::vector<std::uint8_t>> Writes()
    {
        std::lock_guard lock(m_mutex);
        return writes;
    }
    void Unplug()
    {
        std::lock_guard lock(m_mutex);
        unplugged = true;
    }

    // Scripted by the tests before the link runs; read back after it stops.
    std::vector<CUsbCandidate> devices;
    MessageCode listResult = kOk;
    std::map<std::string, std::vector<std::uint8_t>> busyAnswer;
    std::map<std::string, UsbAccess> openAccess;
    std::vector<std::string> asked;
    std::vector<std::string> opened;
    CControlRequest lastRequest;
    std::uint8_t openedWrite = 0;
    std::uint8_t openedRead = 0;
    std::deque<std::vector<std::uint8_t>> answers;
    std::vector<std::chrono::milliseconds> timeouts;
    std::size_t shortBy = 0;
    bool refuseWrites = false;
    int closes = 0;

private:
    std::mutex m_mutex;
    std::vector<std::vector<std::uint8_t>> writes;
    bool unplugged = false;
};

template <typename Predicate>
bool WaitFor(Predicate predicate)
{
    return test::WaitUntil(predicate);
}

class DeviceLink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        lockFolder = std::filesystem::temp_directory_path() /
                     ("qzb-link-test-" + std::to_string(::getpid()) + "-" + std::to_string(++folderCount));
        std::filesystem::create_directories(lockFolder);
        config.vendorId = kVendor;
        config.lockFolder = lockFolder;
        config.sensePeriod = 2ms;
    }
    void TearDown() override { std::filesystem::remove_all(lockFolder); }

    std::unique_ptr<CDeviceLink> MakeLink() { return std::make_unique<CDeviceLink>(transport, context, words, config); }

    // The status command as the protocol sends it: header and body out, answer header back.
    MessageCode StatusQuery(CDeviceLink& link)
    {
        link.BeginExchange();
        const std::uint8_t request[] = {0x02, 0x03, 0, 0, 8, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
        MessageCode code = link.WritePipe(request);
        std::uint8_t answer[8];
        if (code == kOk) {
            code = link.ReadPipe(answer).code;
        }
        link.EndExchange();
        return code;
    }

    std::filesystem::path lockFolder;
    CFakeTransport transport;
    CAppContext context{2152};
    CApplicationWords words;
    CDeviceLinkConfig config;
};

TEST_F(DeviceLink, OpensTheFirstDeviceOfTheModelWithTheWordAndNoOther)
{
    context.modelBit = 0;
    transport.devices = {Device("other model", 8313, "TARVO M8120", 2),
                         Device("no word", 2152, "Acme QP-RZ41NF", 3),
                         Device("ours", 2152, "TARVO QP-RZ41NF", 4),
                         Device("second of ours", 2152, "TARVO QP-RZ41NF", 5)};
    auto link = MakeLink();

    EXPECT_EQ(link->OpenDevice(), kOk);
    EXPECT_TRUE(link->IsOpen());
    EXPECT_EQ(transport.asked, std::vector<std::string>{"ours"});
    EXPECT_EQ(transport.opened, std::vector<std::string>{"ours"});
    EXPECT_EQ(transport.lastRequest.requestType, 0xC1);
    EXPECT_EQ(transport.lastRequest.request, 0x0C);
    EXPECT_EQ(transport.openedWrite, 0x03);
    EXPECT_EQ(transport.openedRead, 0x84);
    EXPECT_EQ(link->WritePacketSize(), 64);
    EXPECT_EQ(context.modelBit, 4u);
    EXPECT_EQ(link->LastDiagnosis().finding, DeviceFinding::Opened);
    EXPECT_EQ(link->LastDiagnosis().deviceNode, "/dev/bus/usb/001/004");
}

struct CBusyCase
{
    std::vector<std::uint8_t> answer;
    MessageCode result;
    bool open;
};

class DeviceLinkBusyCheck : public DeviceLink, public ::testing::WithParamInterface<CBusyCase>
{
};

TEST_P(DeviceLinkBusyCheck, DecidesWhetherThePipesOpen)
{
    transport.devices = {Device("ours", 2152, "TARVO QP-RZ41NF", 4)};
    transport.busyAnswer["ours"] = GetParam().answer;
    auto link = MakeLink();

    EXPECT_EQ(link->OpenDevice(), GetParam().result);
    EXPECT_EQ(link->IsOpen(), GetParam().open);
    EXPECT_EQ(transport.opened.size(), GetParam().open ? 1u : 0u);
    if (!GetParam().open) {
        const std::uint8_t header[8] = {};
        EXPECT_EQ(link->WritePipe(header), kMsgConnectUsb);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers,
                         DeviceLinkBusyCheck,
                         ::testing::Values(CBusyCase{{0x00, 0x01}, kMsgMachineOperating, false},
                                           CBusyCase{{0x01, 0x00}, kMsgMachineOperating, false},
                                           CBusyCase{{0x00, 0x00, 0x07}, kOk, true},
                                           CBusyCase{{0x00}, kOk, true},
                                           CBusyCase{{}, kMsgDriverFailure, false}));

TEST_F(DeviceLink, WithoutEndpointFourWritesGoOutAndReadsAnswerPipesNotOpen)
{
    transport.devices = {Device("ours", 2152, "TARVO QP-RZ41NF", 4, {{0x03, 64, UsbPipeType::Bulk}})};
    auto link = MakeLink();

    ASSERT_EQ(link->OpenDevice(), kOk);
    EXPECT_EQ(transport.openedRead, 0);
    const std::uint8_t bytes[4] = {1, 2, 3, 4};
    EXPECT_EQ(link->WritePipe(bytes), kOk);
    std::uint8_t buffer[8];
    EXPECT_EQ(link->ReadPipe(buffer).code, kMsgConnectUsb);
}

TEST_F(DeviceLink, TellsWhyNothingWasOpened)
{
    CUsbCandidate denied = Device("denied", 2152, "", 9);
    denied.access = UsbAccess::Denied;
    struct CCase
    {
        std::vector<CUsbCandidate> devices;
        DeviceFinding finding;
        std::string inText;
    } cases[] = {
        {{}, DeviceFinding::NoDevice, "No device of model 2152"},
        {{Device("no word", 2152, "Acme", 2)}, DeviceFinding::NoDevice, "lsusb"},
        {{denied}, DeviceFinding::NoPermission, "/dev/bus/usb/001/009"},
        {{Device("other", 8329, "TARVO M3120", 2), denied}, DeviceFinding::NoPermission, "60-qzb.rules"},
        {{Device("other", 8329, "TARVO M3120", 2)}, DeviceFinding::OtherModel, "--model 8329"},
    };
    for (const CCase& c : cases) {
        transport.devices = c.devices;
        auto link = MakeLink();
        EXPECT_EQ(link->OpenDevice(), kOk);
        EXPECT_FALSE(link->IsOpen());
        EXPECT_EQ(link->LastDiagnosis().finding, c.finding) << c.inText;
        const std::string text = RenderTextUtf8(DescribeDiagnosis(link->LastDiagnosis()), nullptr);
        EXPECT_NE(text.find(c.inText), std::string::npos) << text;
    }

    transport.listResult = kMsgDriverFailure;
    auto link = MakeLink();
    EXPECT_EQ(link->OpenDevice(), kOk);
    EXPECT_EQ(link->LastDiagnosis().finding, DeviceFinding::Failure);
}

TEST(UsbId, ReadsSixteenBitHexadecimalOnly)
{
    EXPECT_EQ(ParseUsbId("0x0B49"), 0x0B49);
    EXPECT_EQ(ParseUsbId("0b49"), 0x0B49);
    EXPECT_EQ(ParseUsbId("FFFF"), 0xFFFF);
    for (const char* bad : {"", "0x", "12345", "0x1g", "-1", " 0b49"}) {
        EXPECT_FALSE(ParseUsbId(bad).has_value()) << bad;
    }
}

TEST_F(DeviceLink, PipesThatRefuseToOpenPassTheSearchOnToTheNextDevice)
{
    transport.devices = {Device("held", 2152, "TARVO QP-RZ41NF", 2), Device("free", 2152, "TARVO QP-RZ41NF", 3)};
    transport.openAccess["held"] = UsbAccess::Held;
    auto link = MakeLink();
    EXPECT_EQ(link->OpenDevice(), kOk);
    EXPECT_EQ(transport.opened, (std::vector<std::string>{"held", "free"}));
    EXPECT_EQ(link->LastDiagnosis().finding, DeviceFinding::Opened);

    transport.devices.pop_back();
    EXPECT_EQ(link->OpenDevice(), kOk);
    EXPECT_FALSE(link->IsOpen());
    EXPECT_EQ(link->LastDiagnosis().finding, DeviceFinding::HeldByOtherProgram);
}

TEST_F(DeviceLink, OneDeviceServesOneLinkAtATime)
{
    transport.devices = {Device("ours", 2152, "TARVO QP-RZ41NF", 4)};
    auto first = MakeLink();
    auto second = MakeLink();
    ASSERT_EQ(first->OpenDevice(), kOk);

    EXPECT_EQ(second->OpenDevice(), kMsgMachineOperating);
    EXPECT_FALSE(second->IsOpen());
    EXPECT_EQ(second->LastDiagnosis().finding, DeviceFinding::HeldByOtherProgram);
    EXPECT_NE(RenderTextUtf8(DescribeDiagnosis(second->LastDiagnosis()), nullptr).find("another program"),
              std::string::npos);
    EXPECT_EQ(transport.asked.size(), 1u); // the second never spoke to the device

    first->CloseDevice();
    EXPECT_EQ(second->OpenDevice(), kOk);
    EXPECT_TRUE(second->IsOpen());
}

TEST_F(DeviceLink, WritesGoOutInPiecesOfTheWritePacketSizeEachWithATimeLimit)
{
    transport.devices = {Device("ours", 2152, "TARVO QP-RZ41NF", 4)};
    auto link = MakeLink();
    ASSERT_EQ(link->OpenDevice(), kOk);
    std::vector<std::uint8_t> bytes(150);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }

    ASSERT_EQ(link->WritePipe(bytes), kOk);
    const auto writes = transport.Writes();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].size(), 64u);
    EXPECT_EQ(writes[1].size(), 64u);
    EXPECT_EQ(writes[2].size(), 22u);
    std::vector<std::uint8_t> joined;
    for (const auto& piece : writes) {
        joined.insert(joined.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(joined, bytes);
    std::vector<std::uint8_t> buffer(1 << 20);
    EXPECT_EQ(link->ReadPipe(buffer).bytes, 22u);
    for (const auto timeout : transport.timeouts) {
        EXPECT_GT(timeout.count(), 0);
        EXPECT_LE(timeout, 30s);
    }
    EXPECT_GT(transport.timeouts.back(), transport.timeouts.front()); // a big read may take longer
}

TEST_F(DeviceLink, RefusedOrShortWritesAreACutConnectionAndStopTheRest)
{
    transport.devices = {Device("ours", 2152, "TARVO QP-RZ41NF", 4)};
    auto link = MakeLink();
    ASSERT_EQ(link->OpenDevice(), kOk);
    const std::vector<std::uint8_t> bytes(200, 0x55);

    transport.shortBy = 1;
    EXPECT_EQ(link->WritePipe(bytes), kMsgConnectCut);
    EXPECT_EQ(transport.Writes().size(), 1u);
    transport.shortBy = 0;
    transport.refuseWrites = true;
    EXPECT_EQ(link->WritePipe(bytes), kMsgConnectCut);

    link->CloseDevice();
    EXPECT_EQ(transport.closes, 1);
    EXPECT_EQ(link->WritePipe(bytes), kMsgConnectUsb);
}

TEST_F(DeviceLink, TraceShowsEveryExchangeWithItsBytes)
{
    std::ostringstream trace;
    CTraceTransport traced(transport, trace);
    transport.devices = {Device("ours", 2152, "TARVO QP-RZ41NF", 4)};
    CDeviceLink link(traced, context, words, config);
    ASSERT_EQ(link.OpenDevice(), kOk);
    const std::uint8_t header[] = {0x02, 0x03, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00};
    ASSERT_EQ(link.WritePipe(header), kOk);
    std::uint8_t answer[8];
    ASSERT_EQ(link.ReadPipe(answer).code, kOk);

    const std::string text = trace.str();
    EXPECT_NE(text.find("CONTROL ours type c1 request 0c"), std::string::npos) << text;
    EXPECT_NE(text.find("OUT 8 asked, 8 moved, ok\n  000000: 02 03 00 00 08 00 00 00"), std::string::npos) << text;
    EXPECT_NE(text.find("IN 8 asked, 8 moved, ok\n  000000: 02 03 00 00 08 00 00 00"), std::string::npos) << text;
}

TEST_F(DeviceLink, ExchangesOfOneThreadNestAndOtherThreadsWaitForTheOutermostEnd)
{
    transport.devices = {Device("ours", 2152, "TARVO QP-RZ41NF", 4)};
    auto link = MakeLink();
    ASSERT_EQ(link->OpenDevice(), kOk);

    link->BeginExchange(); // no gate before a session: nothing is counted
    EXPECT_EQ(link->TransferCount(), 0);
    link->EndExchange();

    link->CreateTransferGate();
    std::atomic<bool> entered{false};
    std::thread other([&] {
        link->BeginExchange();
        entered = true;
        link->EndExchange();
    });
    ASSERT_TRUE(WaitFor([&] { return link->WaitingExchanges() == 1; }));
    EXPECT_FALSE(entered) << "a new gate stays shut until the session start opens it";
    link->SignalTransferGate();
    other.join();
    EXPECT_TRUE(entered);
    EXPECT_EQ(link->TransferCount(), 0);

    link->BeginExchange();
    link->BeginExchange();
    EXPECT_EQ(link->TransferCount(), 2);
    entered = false;
    std::thread waiting([&] {
        link->BeginExchange();
        entered = true;
        link->EndExchange();
    });
    ASSERT_TRUE(WaitFor([&] { return link->WaitingExchanges() == 1; }));
    link->EndExchange();
    EXPECT_EQ(link->WaitingExchanges(), 1) << "the outer exchange still holds the gate";
    EXPECT_FALSE(entered);
    link->EndExchange();
    waiting.join();
    EXPECT_TRUE(entered);
}

class DeviceLinkSense : public DeviceLink
{
protected:
    std::unique_ptr<CDeviceLink> StartSession()
    {
        transport.devices = {Device("ours", 2152, "TARVO QP-RZ41NF", 4)};
        auto link = MakeLink();
        EXPECT_EQ(link->OpenDevice(), kOk);
        CDeviceLink* raw = link.get();
        link->SetSenseHooks({[this, raw] {
                                 ++polls;
                                 return statusOverride ? MessageCode{statusOverride} : StatusQuery(*raw);
                             },
                             [this](MessageCode code) {
                                 reported.push_back(code);
                                 ++reports;
                             },
                             [this] { return boxOpen.load(); },
                             [this] { ++sessionEnds; }});
        link->SetSessionOpen(true);
        link->CreateTransferGate();
        link->StartSenseThread();
        link->SignalTransferGate();
        return link;
    }

    std::atomic<int> polls{0};
    std::atomic<int> reports{0};
    std::vector<MessageCode> reported;
    std::atomic<bool> boxOpen{false};
    std::atomic<MessageCode> statusOverride{0};
    int sessionEnds = 0;
};

TEST_F(DeviceLinkSense, ReportsOnceADeviceThatGoesAwayAndStops)
{
    auto link = StartSession();
    ASSERT_TRUE(WaitFor([&] { return polls >= 3; }));
    EXPECT_EQ(reports, 0);

    transport.Unplug();
    ASSERT_TRUE(WaitFor([&] { return !link->IsSenseThreadRunning(); }));
    EXPECT_EQ(reported, std::vector<MessageCode>{kMsgConnectCut});
    EXPECT_FALSE(words.pollInProgress.Get()) << "a command waiting for the poll would wait for ever";
    EXPECT_TRUE(link->IsSessionOpen()) << "ending the session is the window's job";

    link->CloseDevice();
    EXPECT_EQ(sessionEnds, 1);
    EXPECT_FALSE(link->IsSessionOpen());
    EXPECT_EQ(reports, 1);
}

TEST_F(DeviceLinkSense, KeepsQuietWhileTheWindowCloses)
{
    words.stopRequested.Set(true);
    statusOverride = kMsgTimeOut;
    auto link = StartSession();
    ASSERT_TRUE(WaitFor([&] { return !link->IsSenseThreadRunning(); }));
    EXPECT_EQ(reports, 0);
    EXPECT_FALSE(link->IsSessionOpen()) << "a device that timed out has no session left to end";
    EXPECT_FALSE(words.pollInProgress.Get());

    link->CloseDevice();
    EXPECT_EQ(sessionEnds, 0);

    statusOverride = kMsgMachineProblem;
    auto second = StartSession();
    ASSERT_TRUE(WaitFor([&] { return !second->IsSenseThreadRunning(); }));
    EXPECT_EQ(reports, 0);
    EXPECT_TRUE(second->IsSessionOpen()) << "the closing window still ends this session itself";
}

TEST_F(DeviceLinkSense, DoesNotPollWhileABoxIsOpenItIsPausedOrAnExchangeRuns)
{
    // Two more sense rounds than when a blocker was raised: at least one whole decision saw it.
    const auto twoRoundsPass = [](CDeviceLink& link) {
        const int from = link.SenseRounds();
        return WaitFor([&] { return link.SenseRounds() >= from + 2; });
    };
    boxOpen = true;
    auto link = StartSession();
    ASSERT_TRUE(twoRoundsPass(*link));
    EXPECT_EQ(polls, 0);

    // Each blocker is raised before the previous one goes, so none of the rounds between may poll.
    link->SetPause(true);
    boxOpen = false;
    ASSERT_TRUE(twoRoundsPass(*link));
    EXPECT_EQ(polls, 0);

    link->BeginExchange();
    link->SetPause(false);
    ASSERT_TRUE(twoRoundsPass(*link));
    EXPECT_EQ(polls, 0);

    link->EndExchange();
    EXPECT_TRUE(WaitFor([&] { return polls > 0; }));
}

TEST_F(DeviceLinkSense, PollsNeverInterleaveWithTheCommandsOfTheWindow)
{
    auto link = StartSession();
    // The transfer driver's way: pause, wait for a running poll to finish, exchange, resume. Each
    // round runs a burst of commands and then waits for a poll, so that polls and commands take
    // turns however the machine schedules the two threads; what is checked is that no poll ever
    // came between the two writes of one command.
    constexpr int kRounds = 50;
    for (int round = 0; round < kRounds; ++round) {
        const int pollsBefore = polls;
        for (int operation = 0; operation < 20; ++operation) {
            link->SetPause(true);
            ASSERT_TRUE(WaitFor([&] { return !words.pollInProgress.Get(); }));
            link->BeginExchange();
            const std::uint8_t marker[] = {0xAA};
            ASSERT_EQ(link->WritePipe(marker), kOk);
            ASSERT_EQ(link->WritePipe(marker), kOk);
            link->EndExchange();
            link->SetPause(false);
            // An exchange without the pause, as the session end sends its command.
            link->BeginExchange();
            ASSERT_EQ(link->WritePipe(marker), kOk);
            ASSERT_EQ(link->WritePipe(marker), kOk);
            link->EndExchange();
        }
        ASSERT_TRUE(WaitFor([&] { return polls > pollsBefore; })) << "the sense thread stopped polling";
    }
    link->CloseDevice();
    const auto writes = transport.Writes();
    for (std::size_t i = 0; i < writes.size(); ++i) {
        if (writes[i].size() == 1) {
            ASSERT_LT(i + 1, writes.size());
            ASSERT_EQ(writes[i + 1].size(), 1u) << "a poll came between the two writes at " << i;
            ++i;
        }
    }
    EXPECT_GE(polls, kRounds);
}

TEST_F(DeviceLinkSense, CloseDoesNotWaitOutTheSensePeriod)
{
    // A close that waited out the period would hang the test until CTest gives up on it.
    config.sensePeriod = std::chrono::hours(24);
    auto link = StartSession();
    ASSERT_TRUE(WaitFor([&] { return link->IsSenseThreadRunning(); }));
    link->CloseDevice();
    EXPECT_FALSE(link->IsSenseThreadRunning());
    EXPECT_EQ(sessionEnds, 1);
}

TEST_F(DeviceLinkSense, CloseDoesNotHangOnAGateThatNeverOpened)
{
    transport.devices = {Device("ours", 2152, "TARVO QP-RZ41NF", 4)};
    auto link = MakeLink();
    ASSERT_EQ(link->OpenDevice(), kOk);
    link->SetSenseHooks({[this] {
                             ++polls;
                             return kOk;
                         },
                         {},
                         {},
                         {}});
    link->SetSessionOpen(true);
    link->CreateTransferGate();
    link->StartSenseThread();
    ASSERT_TRUE(WaitFor([&] { return words.pollInProgress.Get(); }));
    link->CloseDevice();
    EXPECT_FALSE(link->IsSenseThreadRunning());
    EXPECT_EQ(polls, 0);
    EXPECT_FALSE(words.pollInProgress.Get());
}

} // namespace
} // namespace qzb
