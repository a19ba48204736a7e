#include "device/device_diagnosis.h"

#include "app/model_profile.h"

#include <cstdio>

namespace qzb {

namespace {

CKeyedText Hex4(std::uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(value));
    return PlainValue(text);
}

CKeyedText Number(std::int64_t value)
{
    return PlainValue(std::to_string(value));
}

// "The device", with its strings and its node when they are known.
CKeyedText Named(const CDeviceDiagnosis& d)
{
    if (d.description.empty()) {
        return d.deviceNode.empty() ? KeyedText("STR_DIAG_DEVICE")
                                    : KeyedText("STR_DIAG_DEVICE_AT", {PlainValue(d.deviceNode)});
    }
    return d.deviceNode.empty()
               ? KeyedText("STR_DIAG_DEVICE_NAMED", {PlainValue(d.description)})
               : KeyedText("STR_DIAG_DEVICE_NAMED_AT", {PlainValue(d.description), PlainValue(d.deviceNode)});
}

CKeyedText ModelName(std::int32_t modelCode)
{
    return IsKnownModel(modelCode) ? PlainValue(std::string(FindModelProfile(modelCode).modelName))
                                   : KeyedText("STR_DIAG_UNKNOWN_MODEL");
}

} // namespace

CKeyedText DescribeDiagnosis(const CDeviceDiagnosis& d)
{
    const CKeyedText wanted =
        KeyedText("STR_DIAG_WANTED_MODEL",
                  {Number(d.modelCode), Hex4(d.vendorId), Hex4(static_cast<std::uint16_t>(d.modelCode))});
    switch (d.finding) {
        case DeviceFinding::Opened:
            return KeyedText("STR_DIAG_OPENED", {Named(d)});
        case DeviceFinding::NoDevice:
            if (!d.selector.empty()) {
                return KeyedText("STR_DIAG_NO_SELECTED_DEVICE", {PlainValue(d.selector), wanted});
            }
            // Without read access libusb cannot read a device's strings, so a device this user may
            // not use can look like no device at all: the text names the permission fix too.
            return KeyedText("STR_DIAG_NO_DEVICE", {wanted, PlainValue(kUdevRuleName)});
        case DeviceFinding::NoPermission:
            return KeyedText("STR_DIAG_NO_PERMISSION",
                             {Named(d), PlainValue(kUdevRuleName), PlainValue(kUdevRuleSourcePath)});
        case DeviceFinding::HeldByOtherProgram:
            return KeyedText("STR_DIAG_HELD", {Named(d)});
        case DeviceFinding::OtherModel:
            return KeyedText("STR_DIAG_OTHER_MODEL",
                             {Named(d), ModelName(d.productId), Number(d.productId), ModelName(d.modelCode), wanted});
        case DeviceFinding::Busy:
            return KeyedText("STR_DIAG_BUSY", {Named(d)});
        case DeviceFinding::Failure:
            break;
    }
    if (d.deviceNode.empty() && d.description.empty()) {
        return KeyedText("STR_DIAG_LIST_FAILED");
    }
    return KeyedText("STR_DIAG_NO_ANSWER", {Named(d)});
}

} // namespace qzb
