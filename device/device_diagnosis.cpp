#include "device/device_diagnosis.h"

#include "app/model_profile.h"

#include <cstdio>

namespace qzb {

namespace {

std::string Hex4(std::uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(value));
    return text;
}

std::string Named(const CDeviceDiagnosis& d)
{
    std::string name = d.description.empty() ? std::string("The device") : "The device \"" + d.description + "\"";
    if (!d.deviceNode.empty()) {
        name += " at " + d.deviceNode;
    }
    return name;
}

std::string ModelName(std::int32_t modelCode)
{
    return IsKnownModel(modelCode) ? std::string(FindModelProfile(modelCode).modelName) : "device";
}

} // namespace

std::string DescribeDiagnosis(const CDeviceDiagnosis& d)
{
    const std::string wanted = "model " + std::to_string(d.modelCode) + " (USB id " + Hex4(d.vendorId) + ":" +
                               Hex4(static_cast<std::uint16_t>(d.modelCode)) + ")";
    switch (d.finding) {
        case DeviceFinding::Opened:
            return Named(d) + " is connected.";
        case DeviceFinding::NoDevice:
            if (!d.selector.empty()) {
                return "No device " + d.selector + " of " + wanted +
                       " was found. `device list` shows the devices plugged in, with their bus:address and serial "
                       "numbers.";
            }
            // Without read access libusb cannot read a device's strings, so a device this user may
            // not use can look like no device at all: name the permission fix here too.
            return "No device of " + wanted +
                   " was found. Check that it is switched on and its USB cable is plugged in; `lsusb` lists "
                   "what the computer sees. If it is listed there, check that this user may use it: install the "
                   "udev rule " +
                   std::string(kUdevRuleName) + " (see \"USB access\" in the README).";
        case DeviceFinding::NoPermission:
            return Named(d) + " was found, but this user may not open it. Install the udev rule " + kUdevRuleName +
                   " (" + kUdevRuleSourcePath +
                   " in the source, lib/udev/rules.d after cmake --install) into /etc/udev/rules.d, run "
                   "`sudo udevadm control --reload-rules && sudo udevadm trigger`, then unplug the device "
                   "and plug it in again.";
        case DeviceFinding::HeldByOtherProgram:
            return Named(d) + " is in use by another program (another qzb or qzbctl, or a driver that holds it). Close "
                              "that program and try again.";
        case DeviceFinding::OtherModel:
            return Named(d) + " is a " + ModelName(d.productId) + " (model " + std::to_string(d.productId) +
                   "); this run works as a " + ModelName(d.modelCode) + ", " + wanted + ". Start with --model " +
                   std::to_string(d.productId) + " to work with it.";
        case DeviceFinding::Busy:
            return Named(d) + " reports that it is operating. Wait until it is idle and try again.";
        case DeviceFinding::Failure:
            break;
    }
    if (d.deviceNode.empty() && d.description.empty()) {
        return "The USB devices could not be listed.";
    }
    return Named(d) + " did not answer its status request.";
}

} // namespace qzb
