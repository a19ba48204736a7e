#pragma once

#include "base/keyed_text.h"

#include <cstdint>
#include <string>

namespace qzb {

// What the last search for the device came to, for telling the user in plain words.
enum class DeviceFinding : std::uint8_t {
    Opened,
    NoDevice, // nothing of the vendor with the description word is plugged in
    NoPermission, // a device is there but this user may not open its node
    HeldByOtherProgram, // another qzb or qzbctl, or another driver, has it
    OtherModel, // a device of the family, but not the model this run works for
    Busy, // the device reports that it is operating
    Failure, // listing or the device's answer failed
};

struct CDeviceDiagnosis
{
    DeviceFinding finding = DeviceFinding::NoDevice;
    std::string deviceNode; // the device concerned, when there is one
    std::string description; // its manufacturer and product strings, when known
    std::uint16_t productId = 0; // the product id found (another model's)
    std::int32_t modelCode = 0; // the model this run looked for
    std::uint16_t vendorId = 0; // the vendor id looked for
    std::string selector; // the --device choice the search was limited to, when given
};

// Where cmake --install puts the udev rule, and its name in the source tree.
inline constexpr const char* kUdevRuleName = "60-qzb.rules";
inline constexpr const char* kUdevRuleSourcePath = "packaging/linux/60-qzb.rules";

// One or two sentences for the command line, the window and the log, as a text key and its values.
CKeyedText DescribeDiagnosis(const CDeviceDiagnosis& diagnosis);

} // namespace qzb
