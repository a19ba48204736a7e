#include "device/model_detection.h"

#include "app/last_model.h"
#include "app/rendered_text.h"
#include "device/device_link.h"
#include "device/device_simulator.h"
#include "tests/support/memory_preferences.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qzb {
namespace {

// A notice as the English the utility ships reads it.
std::string English(const CKeyedText& text)
{
    return RenderTextUtf8(text, nullptr);
}

CUsbCandidate Plugged(std::uint16_t product, std::uint8_t address, std::string serial = {})
{
    CUsbCandidate device;
    device.identifier = "bus 001 device " + std::to_string(address);
    device.deviceNode = "/dev/bus/usb/001/00" + std::to_string(address);
    device.busNumber = 1;
    device.deviceAddress = address;
    device.description = "TARVO Printer";
    device.serialNumber = std::move(serial);
    device.vendorId = DefaultUsbVendorId();
    device.productId = product;
    return device;
}

std::vector<std::uint8_t> Addresses(const CModelSearch& search)
{
    std::vector<std::uint8_t> addresses;
    for (const CUsbCandidate& device : search.devices) {
        addresses.push_back(device.deviceAddress);
    }
    return addresses;
}

TEST(ModelDetection, OnlyTheFamilysDevicesCountAndTheirModelsDecide)
{
    CUsbCandidate otherVendor = Plugged(8329, 2);
    otherVendor.vendorId = 0x1234;
    CUsbCandidate noWord = Plugged(8329, 3);
    noWord.description = "Acme Scanner";
    CUsbCandidate denied = Plugged(8313, 4);
    denied.description.clear();
    denied.access = UsbAccess::Denied;
    const CUsbCandidate unknownModel = Plugged(9999, 5);

    struct CCase
    {
        std::vector<CUsbCandidate> devices;
        std::string selector;
        ModelDetection result;
        std::int32_t model;
        std::vector<std::uint8_t> counted;
    } cases[] = {
        {{}, "", ModelDetection::NoDevice, 0, {}},
        {{otherVendor, noWord, unknownModel}, "", ModelDetection::NoDevice, 0, {}},
        {{otherVendor, Plugged(8329, 6), unknownModel}, "", ModelDetection::OneModel, 8329, {6}},
        // A device whose strings this user may not read is still plugged in, and of its model.
        {{denied}, "", ModelDetection::OneModel, 8313, {4}},
        {{Plugged(8314, 6), Plugged(8314, 7)}, "", ModelDetection::OneModel, 8314, {6, 7}},
        {{Plugged(8314, 6), Plugged(2152, 7)}, "", ModelDetection::SeveralModels, 0, {6, 7}},
        {{Plugged(8314, 6), Plugged(2152, 7, "S7")}, "S7", ModelDetection::OneModel, 2152, {7}},
        {{Plugged(8314, 6), Plugged(2152, 7)}, "1:6", ModelDetection::OneModel, 8314, {6}},
        {{Plugged(8314, 6), Plugged(2152, 7)}, "9:9", ModelDetection::NoDevice, 0, {}},
    };
    for (const CCase& c : cases) {
        CDeviceLinkConfig config;
        config.deviceSelector = c.selector;
        const CModelSearch search = DetectModel(c.devices, config);
        EXPECT_EQ(search.result, c.result) << c.devices.size() << " devices, selector " << c.selector;
        EXPECT_EQ(search.modelCode, c.model);
        EXPECT_EQ(Addresses(search), c.counted);
    }
}

TEST(ModelDetection, SimulatedDevicesAreOfTheModelTheirFileNames)
{
    CTempFolder folder;
    CDeviceSimulator(8329, DefaultUsbVendorId(), folder.Path() / "coral.dat");
    CDeviceSimulator(8315, DefaultUsbVendorId(), folder.Path() / "k40.dat");
    // The running model stands only for a device without a file.
    CDeviceSimulator one(2152, DefaultUsbVendorId(), folder.Path() / "coral.dat");
    const CModelSearch single = DetectModel(one, CDeviceLinkConfig{});
    EXPECT_EQ(single.result, ModelDetection::OneModel);
    EXPECT_EQ(single.modelCode, 8329);

    CDeviceSimulator two(2152, DefaultUsbVendorId(), {folder.Path() / "coral.dat", folder.Path() / "k40.dat"});
    const CModelSearch both = DetectModel(two, CDeviceLinkConfig{});
    EXPECT_EQ(both.result, ModelDetection::SeveralModels);
    ASSERT_EQ(both.devices.size(), 2u);
    EXPECT_EQ(FamilyDeviceLine(both.devices[1]), "0:2  model 8315 (MERIDAN TOVELL quorra K40)  serial k40");
    EXPECT_EQ(DeviceSelectorFor(both.devices[1], both.devices), "k40");
}

TEST(ModelDetection, ASelectorNamesTheDeviceByASerialNoOtherShares)
{
    const std::vector<CUsbCandidate> devices = {
        Plugged(8314, 2, "A"), Plugged(8314, 3, "A"), Plugged(8314, 4, "B"), Plugged(8314, 5)};
    EXPECT_EQ(DeviceSelectorFor(devices[0], devices), "1:2");
    EXPECT_EQ(DeviceSelectorFor(devices[2], devices), "B");
    EXPECT_EQ(DeviceSelectorFor(devices[3], devices), "1:5");
    for (const CUsbCandidate& device : devices) {
        EXPECT_TRUE(MatchesDeviceSelector(device, DeviceSelectorFor(device, devices)));
    }
}

TEST(ModelDetection, TheNoticeSaysWhyTheWindowRunsAsItsModel)
{
    CDeviceLinkConfig config;
    const CModelSearch none;
    const CModelSearch k40 = DetectModel(std::vector<CUsbCandidate>{Plugged(8315, 2)}, config);
    const std::uint16_t vendor = DefaultUsbVendorId();

    const std::string last = English(ModelNotice(8329, ModelSource::LastUsed, none, vendor));
    EXPECT_EQ(last.rfind("No device was found: runs as MERIDAN TOVELL lumatrace 3120MF (model 8329), the model used "
                         "last.",
                         0),
              0u)
        << last;
    EXPECT_NE(last.find("--model CODE"), std::string::npos);
    EXPECT_NE(English(ModelNotice(2152, ModelSource::BuildDefault, none, vendor)).find("the default model"),
              std::string::npos);
    EXPECT_EQ(English(ModelNotice(8315, ModelSource::Device, k40, vendor)),
              "Runs as MERIDAN TOVELL quorra K40 (model 8315), the model of the device plugged in.");

    // A device of another model is named as qzbctl names it when it finds one.
    const std::string other = English(ModelNotice(2152, ModelSource::CommandLine, k40, vendor));
    const auto finding = OtherModelFinding(k40, 2152, vendor);
    ASSERT_TRUE(finding.has_value());
    EXPECT_EQ(other, English(DescribeDiagnosis(*finding)));
    EXPECT_NE(
        other.find("is a MERIDAN TOVELL quorra K40 (model 8315); this run works as a TARVO QP-RZ41NF, model 2152"),
        std::string::npos)
        << other;
    EXPECT_NE(other.find("--model 8315"), std::string::npos);
    // With a device of its own model beside it, there is nothing to say about the other.
    const CModelSearch mixed = DetectModel(std::vector<CUsbCandidate>{Plugged(8315, 2), Plugged(2152, 3)}, config);
    EXPECT_FALSE(OtherModelFinding(mixed, 2152, vendor).has_value());

    CDeviceDiagnosis opened;
    opened.finding = DeviceFinding::Opened;
    opened.modelCode = 8315;
    opened.deviceNode = "/dev/bus/usb/001/002";
    ASSERT_TRUE(ConnectNotice(opened).has_value());
    EXPECT_EQ(English(*ConnectNotice(opened)),
              "Runs as MERIDAN TOVELL quorra K40 (model 8315). The device at /dev/bus/usb/001/002 "
              "is connected.");
    opened.finding = DeviceFinding::Busy;
    EXPECT_FALSE(ConnectNotice(opened).has_value());
}

TEST(LastModel, KeptAsTextAndReadBackOnlyWhenItIsAModel)
{
    CMemoryPreferences preferences;
    EXPECT_FALSE(ReadLastModel(preferences).has_value());
    ASSERT_TRUE(WriteLastModel(preferences, 8329));
    EXPECT_EQ(preferences.texts["LastModel"], u"8329");
    EXPECT_EQ(ReadLastModel(preferences), 8329);
    for (const char16_t* bad : {u"9999", u"", u"8329x", u"-1", u"８３２９"}) {
        preferences.texts["LastModel"] = bad;
        EXPECT_FALSE(ReadLastModel(preferences).has_value());
    }
    EXPECT_EQ(FallbackModel(std::nullopt, 2152), 2152);
    EXPECT_EQ(FallbackModel(8313, 2152), 8313);
    EXPECT_EQ(FallbackModel(1234, 2152), 2152);
}

TEST(LastModel, ReadFromTheLaunchersIniFileWithoutQt)
{
    EXPECT_EQ(LastModelInIniText("[General]\nLastModel=8314\n"), 8314);
    EXPECT_EQ(LastModelInIniText("LastModel = 8315\r\n"), 8315);
    EXPECT_EQ(LastModelInIniText("[Other]\nLastModel=8314\n[General]\nLastModel=8329\n"), 8329);
    EXPECT_FALSE(LastModelInIniText("[Other]\nLastModel=8314\n").has_value());
    EXPECT_FALSE(LastModelInIniText("[General]\nLastModel=12\n").has_value());
    EXPECT_FALSE(LastModelInIniText("").has_value());

    CTempFolder folder;
    EXPECT_FALSE(ReadLastModelFile(folder.Path() / "missing.ini").has_value());
    std::ofstream(folder.Path() / "qzb.ini") << "[General]\nLastModel=2152\n";
    EXPECT_EQ(ReadLastModelFile(folder.Path() / "qzb.ini"), 2152);
}

} // namespace
} // namespace qzb
