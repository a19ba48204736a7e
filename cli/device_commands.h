#pragma once

#include "cli/cli_app.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qzb {

// How qzbctl reaches a device: the real one over libusb, or the built-in simulator.
struct CDeviceOptions
{
    bool simulate = false;
    std::optional<std::filesystem::path> simulatorFile; // --simulate=FILE.dat
    std::vector<std::string> faults; // --sim-fault KIND[=N]
    bool fast = false; // no pauses (simulator)
    std::optional<std::string> usbVendor; // --usb-vendor HEX
    std::optional<std::filesystem::path> trace; // --trace FILE
};

// "device status", "device download OUT.dat", "device upload IN.dat [--service]".
int RunDeviceCommand(const CCliOptions& options,
                     const CDeviceOptions& device,
                     const std::string& action,
                     const std::filesystem::path& file,
                     bool service,
                     std::ostream& out,
                     std::ostream& err);

} // namespace qzb
