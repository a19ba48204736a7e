#pragma once

#include "cli/cli_command.h"

#include "cli/cli_app.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace qzb {

// How qzbctl reaches a device: the real one over libusb, or the built-in simulator.
struct CDeviceOptions
{
    bool simulate = false;
    std::optional<std::filesystem::path> simulatorFile; // --simulate=FILE.dat
    std::vector<std::filesystem::path> simulatorFiles; // --simulate=A.dat,B.dat: one device each
    std::optional<std::string> device; // --device BUS:ADDRESS or SERIAL
    std::vector<std::string> faults; // --sim-fault KIND[=N]
    bool fast = false; // no pauses (simulator)
    std::optional<std::string> usbVendor; // --usb-vendor HEX
    std::optional<std::filesystem::path> trace; // --trace FILE
};

// Splits --simulate's value: one file, or several separated by commas (one simulated device each).
void TakeSimulatorFiles(const std::string& value, CDeviceOptions& device);

// "device list [--json]": every device of the vendor that is plugged in.
int RunDeviceList(
    const CCliOptions& options, const CDeviceOptions& device, bool json, std::ostream& out, std::ostream& err);

// "device status", "device download OUT.dat", "device upload IN.dat [--service]", "device info".
int RunDeviceCommand(const CCliOptions& options,
                     const CDeviceOptions& device,
                     const std::string& action,
                     const std::filesystem::path& file,
                     bool service,
                     std::ostream& out,
                     std::ostream& err);

// The "device" command line: its options, taken before the command as well as after "device" or
// its action, and the actions themselves.
class CDeviceCommand : public CCliCommand
{
public:
    // Adds the device options to the options before the command.
    explicit CDeviceCommand(CLI::App& root);
    CDeviceCommand(const CDeviceCommand&) = delete;
    CDeviceCommand& operator=(const CDeviceCommand&) = delete;

    // Adds the "device" command with its actions.
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    struct COptionSet
    {
        std::string simulatorFile;
        std::vector<std::string> faults;
        bool fast = false;
        std::string usbVendor;
        std::string trace;
        std::string device;
        CLI::Option* simulate = nullptr;
        CLI::Option* deviceOption = nullptr;
        CLI::Option* vendor = nullptr;
        CLI::Option* traceOption = nullptr;
    };
    static void AddOptions(CLI::App& app, COptionSet& set);

    COptionSet m_before;
    COptionSet m_after;
    std::string m_file;
    bool m_service = false;
    bool m_json = false;
};

} // namespace qzb
