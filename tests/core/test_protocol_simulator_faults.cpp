#include "app/app_context.h"
#include "app/message_presenter.h"
#include "app/messenger.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"

#include <gtest/gtest.h>

#include <memory>

namespace qzb {
namespace {

class CSilentPresenter : public IMessagePresenter
{
public:
    int Present(const CMessageBoxRequest&) override { return kAnswerOk; }
};

// The transfer driver against the simulator's injected faults.
class ProtocolSimulatorFaults : public ::testing::Test
{
protected:
    MessageCode Run(std::uint32_t operation, std::uint32_t state = 0)
    {
        return protocol.DoDeviceOperation(operation, state);
    }

    CSilentPresenter presenter;
    CApplicationWords words;
    CAppContext context{2152};
    CMessenger messenger{context.strings, presenter};
    CDeviceSimulator simulator{2152, DefaultUsbVendorId()};
    // Set before the link is made from it: no lock file, so parallel tests never meet.
    CDeviceLinkConfig config = [] {
        CDeviceLinkConfig unlocked;
        unlocked.lockDevice = false;
        unlocked.sensePeriod = std::chrono::hours(1);
        return unlocked;
    }();
    CDeviceLink link{simulator, context, words, config};
    CDeviceProtocol protocol{link, context, messenger, CProtocolTimings::Fast()};
};

TEST_F(ProtocolSimulatorFaults, ADamagedCountryAnswerRefusesTheUploadAndWritesNothing)
{
    ASSERT_EQ(Run(kOperationConnect), kOk);
    ASSERT_EQ(Run(kOperationDownload), kOk);
    simulator.Faults().damagedAnswers = true;
    EXPECT_EQ(Run(kOperationUpload, kStateServiceMan), kMsgConnectionErr);
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u);
    simulator.Faults().damagedAnswers = false;
    EXPECT_EQ(Run(kOperationUpload, kStateServiceMan), kOk);
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 1u);
}

TEST_F(ProtocolSimulatorFaults, ACutBreaksOneConnectionUnlessEveryOneIsAsked)
{
    for (const bool every : {false, true}) {
        simulator.Faults().cutAfter = 20;
        simulator.Faults().cutEveryConnection = every;
        EXPECT_EQ(Run(kOperationConnect), kMsgAlreadyReported) << every;
        EXPECT_FALSE(link.IsSessionOpen());
        const MessageCode again = Run(kOperationConnect);
        EXPECT_EQ(again, every ? kMsgAlreadyReported : kOk) << every;
        if (again == kOk) {
            EXPECT_EQ(Run(kOperationDownload), kOk) << "the new connection carries a whole download";
            EXPECT_EQ(Run(kOperationDisconnect), kOk);
        }
        simulator.Faults().cutAfter.reset();
    }
}

} // namespace
} // namespace qzb

namespace qzb {
namespace {

TEST_F(ProtocolSimulatorFaults, AReconnectAfterACutReadsNoLeftOverAnswer)
{
    ASSERT_EQ(Run(kOperationConnect), kOk);
    const std::size_t connectBytes = simulator.BytesMoved();
    ASSERT_EQ(Run(kOperationDisconnect), kOk);
    // Broken while the first half of a download is on its way back.
    simulator.Faults().cutAfter = connectBytes + 200;
    ASSERT_EQ(Run(kOperationConnect), kOk);
    EXPECT_NE(Run(kOperationDownload), kOk);
    Run(kOperationDisconnect);
    ASSERT_EQ(Run(kOperationConnect), kOk);
    ASSERT_EQ(Run(kOperationDownload), kOk);
    EXPECT_FALSE(context.device.deviceInfo[3].empty()) << "the serial number of a whole download";
    EXPECT_EQ(simulator.Device().PendingAnswerBytes(), 0u);
}

} // namespace
} // namespace qzb
