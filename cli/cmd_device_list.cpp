#include "app/last_model.h"
#include "app/model_profile.h"
#include "app/single_instance.h"
#include "cli/device_commands.h"
#include "cli/qzbctl.h"
#include "device/device_link.h"
#include "device/device_simulator.h"
#include "device/model_detection.h"
#include "device/usb_libusb.h"

#include <nlohmann/json.hpp>

#include <memory>

// "device list": what is plugged in, and the splitting of --simulate's list of files.
namespace qzb {

namespace {

// Whether another program has the device: its lock file is held, or this user may not open it.
std::string_view DeviceState(const CUsbCandidate& device, bool simulated)
{
    if (device.access == UsbAccess::Denied) {
        return "no permission";
    }
    if (device.access == UsbAccess::Held) {
        return "held";
    }
    if (!simulated) {
        const CSingleInstanceLock lock(DeviceLockName(device), CSingleInstanceLock::MachineLockFolder());
        if (lock.GetState() == CSingleInstanceLock::State::HeldElsewhere) {
            return "held";
        }
    }
    return "free";
}

} // namespace

void TakeSimulatorFiles(const std::string& value, CDeviceOptions& device)
{
    device.simulatorFiles.clear();
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t comma = std::min(value.find(',', start), value.size());
        if (comma > start) {
            device.simulatorFiles.emplace_back(value.substr(start, comma - start));
        }
        start = comma + 1;
    }
    if (device.simulatorFiles.size() == 1) {
        device.simulatorFile = device.simulatorFiles.front();
    }
}

int RunDeviceList(
    const CCliOptions& options, const CDeviceOptions& device, bool json, std::ostream& out, std::ostream& err)
{
    std::uint16_t vendor = DefaultUsbVendorId();
    if (device.usbVendor) {
        const auto parsed = ParseUsbId(*device.usbVendor);
        if (!parsed) {
            err << "qzbctl: --usb-vendor needs a hexadecimal id such as 0x0B49\n";
            return kExitUsage;
        }
        vendor = *parsed;
    }
    std::unique_ptr<ITransport> transport;
    if (device.simulate) {
        const std::int32_t model =
            options.model.value_or(FallbackModel(ReadLastModelFile(LauncherPreferencesFile()), QZB_DEFAULT_MODEL));
        auto simulator = device.simulatorFiles.size() > 1
                             ? std::make_unique<CDeviceSimulator>(model, vendor, device.simulatorFiles)
                             : std::make_unique<CDeviceSimulator>(model, vendor, device.simulatorFile);
        if (const auto failed = simulator->FailedBackingFile()) {
            err << "qzbctl: the simulator's memory file " << failed->string() << " cannot be read\n";
            return kExitFailed;
        }
        transport = std::move(simulator);
    } else {
        transport = std::make_unique<CUsbTransport>();
    }
    std::vector<CUsbCandidate> devices;
    if (transport->ListDevices(vendor, devices) != kOk) {
        err << "qzbctl: the USB devices could not be listed\n";
        return kExitFailed;
    }
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const CUsbCandidate& candidate : devices) {
        if (candidate.vendorId != vendor) {
            continue;
        }
        const bool known = IsKnownModel(candidate.productId);
        const std::string name = known ? std::string(FindModelProfile(candidate.productId).modelName) : std::string();
        const std::string_view state = DeviceState(candidate, device.simulate);
        if (json) {
            list.push_back({{"bus", candidate.busNumber},
                            {"address", candidate.deviceAddress},
                            {"model", candidate.productId},
                            {"modelName", known ? nlohmann::ordered_json(name) : nlohmann::ordered_json(nullptr)},
                            {"description", candidate.description},
                            {"serial",
                             candidate.serialNumber.empty() ? nlohmann::ordered_json(nullptr)
                                                            : nlohmann::ordered_json(candidate.serialNumber)},
                            {"state", state}});
            continue;
        }
        out << FamilyDeviceLine(candidate) << "  " << state << '\n';
    }
    if (json) {
        out << list.dump(2) << '\n';
    }
    return kExitOk;
}

} // namespace qzb
