#pragma once

#include "device/device_diagnosis.h"
#include "device/transport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

struct CDeviceLinkConfig;

enum class ModelDetection : std::uint8_t {
    NoDevice, // nothing of the family is plugged in: the run falls back on a remembered model
    OneModel, // every device found is of one model
    SeveralModels, // devices of different models: the user picks one
};

// What the bus shows of the family before the run has chosen its model.
struct CModelSearch
{
    ModelDetection result = ModelDetection::NoDevice;
    std::int32_t modelCode = 0; // OneModel: the model of the devices found
    std::vector<CUsbCandidate> devices; // the family's devices, in the order the transport listed them
};

// The family's devices among those listed: the build's vendor, a product id that is a model code
// the profiles know, the description word (or strings that could not be read for want of
// permission), and the --device choice when one is given.
CModelSearch DetectModel(const std::vector<CUsbCandidate>& devices, const CDeviceLinkConfig& config);
// The same over the transport's own list; a list that cannot be had finds no device.
CModelSearch DetectModel(ITransport& transport, const CDeviceLinkConfig& config);

// The model a run falls back on when no device is found: the last model a window ran as, when it
// is a model the profiles know, else the build's default.
std::int32_t FallbackModel(std::optional<std::int32_t> lastModel, std::int32_t buildDefault);

// "0:2  model 8329 (MERIDAN TOVELL lumatrace 3120MF)  serial B": how choosers, refusals and
// `device list` name one device.
std::string FamilyDeviceLine(const CUsbCandidate& device);

// The --device choice that names this device among the others: its serial number when no other
// device has it, else its bus and address.
std::string DeviceSelectorFor(const CUsbCandidate& device, const std::vector<CUsbCandidate>& devices);

// The search's finding as the device link would diagnose it for a run as runningModel: a device of
// another model when none of the running model is present; nullopt when there is nothing to say.
std::optional<CDeviceDiagnosis>
OtherModelFinding(const CModelSearch& search, std::int32_t runningModel, std::uint16_t vendorId);

// Why the run works as its model.
enum class ModelSource : std::uint8_t {
    CommandLine, // --model
    Device, // the one model plugged in
    Chosen, // picked among devices of several models
    LastUsed, // no device: the model the window last ran as
    BuildDefault, // no device and none used before
};

// The line the window shows about its model at start: which model it runs as and why, how to run
// as another, or that a device of another model is plugged in.
CKeyedText
ModelNotice(std::int32_t runningModel, ModelSource source, const CModelSearch& search, std::uint16_t vendorId);
// The same after a settings file of another model of the family switched the window to its model.
CKeyedText FileModelNotice(std::int32_t runningModel);
// The same after a connection attempt: what it found, when that says more than the start did.
std::optional<CKeyedText> ConnectNotice(const CDeviceDiagnosis& diagnosis);

} // namespace qzb
