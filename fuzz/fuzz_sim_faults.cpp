// Arbitrary --sim-fault values, one a line: a refused value leaves the faults as they were, and the
// transfer driver runs a connect, a download, an upload and a disconnect against the simulator
// with whatever faults were taken, without crashing or hanging, and a failed download changes
// nothing.
#include "app/app_context.h"
#include "app/messenger.h"
#include "base/window_state.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"
#include "device/simulator_faults.h"
#include "fuzz_checks.h"
#include "fuzz_session.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace qzb;

bool SameFaults(const CSimulatorFaults& a, const CSimulatorFaults& b)
{
    return a.busyAtOpen == b.busyAtOpen && a.statusByte == b.statusByte && a.splitReads == b.splitReads &&
           a.cutAfter == b.cutAfter && a.cutEveryConnection == b.cutEveryConnection &&
           a.damagedAnswers == b.damagedAnswers && a.country == b.country;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CFuzzWindow window(8329);
    window.Reset();
    CAppContext& context = window.context;

    CSimulatorFaults faults;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        const std::string_view line = text.substr(0, text.find('\n'));
        text.remove_prefix(std::min(text.size(), line.size() + 1));
        const CSimulatorFaults before = faults;
        const CFaultParse parse = ApplySimulatorFault(faults, line);
        if (parse.refusal != FaultRefusal::None) {
            Require(SameFaults(faults, before), "a refused fault changed the faults");
            Require(parse.refusal != FaultRefusal::OutOfRange || parse.lowest <= parse.highest, "an empty range");
        }
    }

    CDeviceSimulator simulator(8329, DefaultUsbVendorId());
    simulator.SetFaults(faults);
    const CDeviceLinkConfig config = QuietLinkConfig();
    CApplicationWords words;
    CDeviceLink link(simulator, context, words, config);
    CDeviceProtocol protocol(link, context, window.messenger, CProtocolTimings::Fast());
    protocol.DoDeviceOperation(kOperationConnect, 0);
    const MessageCode download = protocol.DoDeviceOperation(kOperationDownload, 0);
    Require(download == kOk || window.Unchanged(), "a failed download changed the data");
    protocol.DoDeviceOperation(kOperationUpload, kStateServiceMan);
    protocol.DoDeviceOperation(kOperationDisconnect, 0);
    Require(!link.IsSessionOpen() && !link.IsSenseThreadRunning(), "the session outlived its disconnect");
    return 0;
}
