#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace qzb::test {

// An endpoint of the emulated device's vendor interface.
struct CEmulatedEndpoint
{
    std::uint8_t address = 0; // bit 7 set: IN
    std::uint16_t maxPacketSize = 512;
};

struct CEmulatedDeviceSetup
{
    std::uint8_t bus = 1;
    std::uint8_t address = 2;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string manufacturer;
    std::string product;
    std::string serialNumber; // empty: the device has no serial number string
    // A printer interface before ours, which a good neighbour leaves alone.
    bool printerInterface = true;
    std::vector<CEmulatedEndpoint> endpoints = {{0x03, 512}, {0x84, 512}};
    // The answer to vendor request 0x0C.
    std::vector<std::uint8_t> busyAnswer = {0x00, 0x00};
    // Another driver holds the vendor interface: claiming it fails as busy.
    bool claimRefused = false;
};

// A USB device emulated through umockdev's usbdevfs ioctl hook: descriptors in sysfs, string and
// vendor control requests, and a bulk OUT / bulk IN pair behind which a responder plays the device.
// Every OUT transfer goes to the responder, which answers by queueing IN transfers with Send.
class CEmulatedUsbDevice
{
public:
    using Responder = std::function<void(CEmulatedUsbDevice& device, std::span<const std::uint8_t> received)>;

    explicit CEmulatedUsbDevice(CEmulatedDeviceSetup setup);
    ~CEmulatedUsbDevice();

    const CEmulatedDeviceSetup& Setup() const { return m_setup; }
    std::string DeviceNode() const;
    std::string SysfsRecord() const;

    // Queues one device-side transfer for the IN pipe; the host sees it end with a short packet.
    void Send(std::vector<std::uint8_t> bytes);
    void SetResponder(Responder responder);
    // Everything the host wrote to the OUT pipe.
    std::vector<std::uint8_t> Received() const;
    // Sizes of the OUT transfers as they arrived.
    std::vector<std::size_t> OutTransferSizes() const;
    std::vector<int> ClaimedInterfaces() const;
    int ReleaseCount() const;
    int ControlRequestCount() const;
    // IN transfers the host has submitted that wait for the device.
    std::size_t WaitingReads() const;
    bool AnyInterfaceHeld() const;

    // The umockdev "handle-ioctl" signal.
    bool HandleIoctl(void* client);

private:
    struct CUrbQueues;
    int Control(const std::uint8_t* setup, std::uint8_t* data);
    bool HasEndpoint(std::uint8_t address) const;
    std::size_t InPacketSize(std::uint8_t address) const;

    CEmulatedDeviceSetup m_setup;
    mutable std::mutex m_mutex;
    std::unique_ptr<CUrbQueues> m_urbs;
    Responder m_responder;
    std::vector<std::uint8_t> m_received;
    std::vector<std::size_t> m_outSizes;
    std::vector<int> m_claimed;
    int m_releases = 0;
    int m_controlRequests = 0;
    int m_held = 0;
};

// A umockdev test bed holding emulated USB devices. The process must run under
// libumockdev-preload.so.0.
class CEmulatedUsbBus
{
public:
    CEmulatedUsbBus();
    ~CEmulatedUsbBus();
    CEmulatedUsbBus(const CEmulatedUsbBus&) = delete;
    CEmulatedUsbBus& operator=(const CEmulatedUsbBus&) = delete;

    static bool UnderPreload();

    CEmulatedUsbDevice& Add(CEmulatedDeviceSetup setup);
    // Makes the device node unopenable for an ordinary user.
    void DenyAccess(const CEmulatedUsbDevice& device);
    std::string RootDir() const;

private:
    struct CBed;
    std::unique_ptr<CBed> m_bed;
    std::vector<std::unique_ptr<CEmulatedUsbDevice>> m_devices;
};

} // namespace qzb::test
