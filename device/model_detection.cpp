#include "device/model_detection.h"

#include "app/model_profile.h"
#include "device/device_link.h"

#include <algorithm>
#include <utility>

namespace qzb {

CModelSearch DetectModel(const std::vector<CUsbCandidate>& devices, const CDeviceLinkConfig& config)
{
    CModelSearch search;
    for (const CUsbCandidate& device : devices) {
        // A device this user may not open shows no strings, yet it is still the one plugged in.
        const bool described =
            device.description.find(config.descriptionWord) != std::string::npos || device.access == UsbAccess::Denied;
        if (device.vendorId != config.vendorId || !IsKnownModel(device.productId) || !described ||
            !MatchesDeviceSelector(device, config.deviceSelector)) {
            continue;
        }
        search.devices.push_back(device);
    }
    if (search.devices.empty()) {
        return search;
    }
    const std::int32_t first = search.devices.front().productId;
    const bool oneModel = std::all_of(
        search.devices.begin(), search.devices.end(), [first](const CUsbCandidate& d) { return d.productId == first; });
    search.result = oneModel ? ModelDetection::OneModel : ModelDetection::SeveralModels;
    search.modelCode = oneModel ? first : 0;
    return search;
}

CModelSearch DetectModel(ITransport& transport, const CDeviceLinkConfig& config)
{
    std::vector<CUsbCandidate> devices;
    if (transport.ListDevices(config.vendorId, devices) != kOk) {
        return {};
    }
    return DetectModel(devices, config);
}

std::int32_t FallbackModel(std::optional<std::int32_t> lastModel, std::int32_t buildDefault)
{
    return lastModel && IsKnownModel(*lastModel) ? *lastModel : buildDefault;
}

std::string FamilyDeviceLine(const CUsbCandidate& device)
{
    std::string line = std::to_string(device.busNumber) + ':' + std::to_string(device.deviceAddress) + "  model " +
                       std::to_string(device.productId);
    if (IsKnownModel(device.productId)) {
        line += " (" + std::string(FindModelProfile(device.productId).modelName) + ")";
    }
    if (!device.serialNumber.empty()) {
        line += "  serial " + device.serialNumber;
    }
    return line;
}

std::string DeviceSelectorFor(const CUsbCandidate& device, const std::vector<CUsbCandidate>& devices)
{
    const auto sameSerial = std::count_if(devices.begin(), devices.end(), [&device](const CUsbCandidate& other) {
        return other.serialNumber == device.serialNumber;
    });
    if (!device.serialNumber.empty() && sameSerial == 1) {
        return device.serialNumber;
    }
    return std::to_string(device.busNumber) + ':' + std::to_string(device.deviceAddress);
}

std::optional<CDeviceDiagnosis>
OtherModelFinding(const CModelSearch& search, std::int32_t runningModel, std::uint16_t vendorId)
{
    const auto own = std::find_if(search.devices.begin(), search.devices.end(), [runningModel](const CUsbCandidate& d) {
        return d.productId == runningModel;
    });
    if (search.devices.empty() || own != search.devices.end()) {
        return std::nullopt;
    }
    const CUsbCandidate& other = search.devices.front();
    CDeviceDiagnosis diagnosis;
    diagnosis.finding = DeviceFinding::OtherModel;
    diagnosis.deviceNode = other.deviceNode.empty() ? other.identifier : other.deviceNode;
    diagnosis.description = other.description;
    diagnosis.productId = other.productId;
    diagnosis.modelCode = runningModel;
    diagnosis.vendorId = vendorId;
    return diagnosis;
}

namespace {

// A notice that names the running model and its code: "Runs as <name> (model <code>)...".
CKeyedText RunsAs(std::string key, std::int32_t model, std::vector<CKeyedText> more = {})
{
    std::vector<CKeyedText> values = {PlainValue(std::string(FindModelProfile(model).modelName)),
                                      PlainValue(std::to_string(model))};
    values.insert(values.end(), more.begin(), more.end());
    return KeyedText(std::move(key), std::move(values));
}

} // namespace

CKeyedText
ModelNotice(std::int32_t runningModel, ModelSource source, const CModelSearch& search, std::uint16_t vendorId)
{
    if (const auto other = OtherModelFinding(search, runningModel, vendorId)) {
        return DescribeDiagnosis(*other);
    }
    switch (source) {
        case ModelSource::CommandLine:
            return RunsAs("STR_NOTICE_RUNS_AS_ASKED", runningModel);
        case ModelSource::Device:
            return RunsAs("STR_NOTICE_RUNS_AS_DEVICE", runningModel);
        case ModelSource::Chosen:
            return RunsAs("STR_NOTICE_RUNS_AS_CHOSEN", runningModel);
        case ModelSource::LastUsed:
            return RunsAs("STR_NOTICE_NO_DEVICE_LAST_USED", runningModel);
        case ModelSource::BuildDefault:
            break;
    }
    return RunsAs("STR_NOTICE_NO_DEVICE_DEFAULT", runningModel);
}

CKeyedText FileModelNotice(std::int32_t runningModel)
{
    return RunsAs("STR_NOTICE_RUNS_AS_FILE", runningModel);
}

std::optional<CKeyedText> ConnectNotice(const CDeviceDiagnosis& diagnosis)
{
    if (diagnosis.finding == DeviceFinding::OtherModel) {
        return DescribeDiagnosis(diagnosis);
    }
    if (diagnosis.finding == DeviceFinding::Opened) {
        return RunsAs("STR_NOTICE_RUNS_AS_CONNECTED", diagnosis.modelCode, {DescribeDiagnosis(diagnosis)});
    }
    return std::nullopt;
}

} // namespace qzb
