#include "tests/usb/emulated_usb_device.h"

#include <umockdev.h>

// usbdevice_fs.h needs the ioctl macros first.
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <linux/usbdevice_fs.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <stdexcept>

namespace qzb::test {

namespace {

constexpr std::uint8_t kGetDescriptor = 0x06;
constexpr std::uint8_t kStringDescriptor = 0x03;
constexpr std::uint8_t kBusyRequest = 0x0C;

void PutLe16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::vector<std::uint8_t> StringDescriptorOf(const std::string& text)
{
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>(2 + 2 * text.size()), kStringDescriptor};
    for (char c : text) {
        PutLe16(out, static_cast<std::uint8_t>(c));
    }
    return out;
}

gboolean OnHandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer device)
{
    return static_cast<CEmulatedUsbDevice*>(device)->HandleIoctl(client) ? TRUE : FALSE;
}

} // namespace

// URBs the host submitted and has not reaped yet. Each holds a reference to umockdev's copy of the
// client's URB, with the buffer resolved; changes to both go back to the client when it is reaped.
struct CEmulatedUsbDevice::CUrbQueues
{
    struct CUrb
    {
        UMockdevIoctlData* urb = nullptr;
        UMockdevIoctlData* buffer = nullptr;
        usbdevfs_urb* Fields() const { return reinterpret_cast<usbdevfs_urb*>(urb->data); }
    };
    std::deque<CUrb> done;
    std::deque<CUrb> pendingIn;
    std::deque<std::vector<std::uint8_t>> inTransfers;
    std::size_t inOffset = 0;

    static void Release(CUrb& urb)
    {
        g_object_unref(urb.buffer);
        g_object_unref(urb.urb);
    }
    ~CUrbQueues()
    {
        std::for_each(done.begin(), done.end(), Release);
        std::for_each(pendingIn.begin(), pendingIn.end(), Release);
    }
};

CEmulatedUsbDevice::CEmulatedUsbDevice(CEmulatedDeviceSetup setup)
    : m_setup(std::move(setup))
    , m_urbs(std::make_unique<CUrbQueues>())
{
    m_responder = [](CEmulatedUsbDevice& device, std::span<const std::uint8_t> received) {
        device.Send({received.begin(), received.end()});
    };
}

CEmulatedUsbDevice::~CEmulatedUsbDevice() = default;

std::string CEmulatedUsbDevice::DeviceNode() const
{
    char node[64];
    std::snprintf(node, sizeof node, "/dev/bus/usb/%03u/%03u", unsigned{m_setup.bus}, unsigned{m_setup.address});
    return node;
}

std::string CEmulatedUsbDevice::SysfsRecord() const
{
    std::vector<std::uint8_t> descriptors = {18, 1, 0x00, 0x02, 0, 0, 0, 64};
    PutLe16(descriptors, m_setup.vendorId);
    PutLe16(descriptors, m_setup.productId);
    const std::uint8_t serialIndex = m_setup.serialNumber.empty() ? 0 : 3;
    descriptors.insert(descriptors.end(), {0x00, 0x01, 1, 2, serialIndex, 1});

    std::vector<std::uint8_t> interfaces;
    std::uint8_t interfaceCount = 0;
    if (m_setup.printerInterface) {
        interfaces.insert(interfaces.end(), {9, 4, interfaceCount++, 0, 2, 0x07, 0x01, 0x02, 0});
        interfaces.insert(interfaces.end(), {7, 5, 0x01, 0x02, 0x00, 0x02, 0});
        interfaces.insert(interfaces.end(), {7, 5, 0x82, 0x02, 0x00, 0x02, 0});
    }
    interfaces.insert(interfaces.end(),
                      {9, 4, interfaceCount++, 0, static_cast<std::uint8_t>(m_setup.endpoints.size()), 0xFF, 0, 0, 0});
    for (const CEmulatedEndpoint& endpoint : m_setup.endpoints) {
        interfaces.insert(interfaces.end(), {7, 5, endpoint.address, 0x02});
        PutLe16(interfaces, endpoint.maxPacketSize);
        interfaces.push_back(0);
    }
    descriptors.insert(descriptors.end(), {9, 2});
    PutLe16(descriptors, static_cast<std::uint16_t>(9 + interfaces.size()));
    descriptors.insert(descriptors.end(), {interfaceCount, 1, 0, 0xC0, 1});
    descriptors.insert(descriptors.end(), interfaces.begin(), interfaces.end());

    std::string hex;
    char pair[3];
    for (std::uint8_t byte : descriptors) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    char head[512];
    std::snprintf(head,
                  sizeof head,
                  "P: /devices/pci0000:00/0000:00:14.0/usb%u/%u-%u\n"
                  "N: bus/usb/%03u/%03u\n"
                  "E: DEVNAME=/dev/bus/usb/%03u/%03u\n"
                  "E: DEVTYPE=usb_device\n"
                  "E: SUBSYSTEM=usb\n"
                  "E: BUSNUM=%03u\n"
                  "E: DEVNUM=%03u\n"
                  "A: busnum=%u\n"
                  "A: devnum=%u\n"
                  "A: speed=480\n"
                  "A: bConfigurationValue=1\n"
                  "A: idVendor=%04x\n"
                  "A: idProduct=%04x\n",
                  unsigned{m_setup.bus},
                  unsigned{m_setup.bus},
                  unsigned{m_setup.address},
                  unsigned{m_setup.bus},
                  unsigned{m_setup.address},
                  unsigned{m_setup.bus},
                  unsigned{m_setup.address},
                  unsigned{m_setup.bus},
                  unsigned{m_setup.address},
                  unsigned{m_setup.bus},
                  unsigned{m_setup.address},
                  unsigned{m_setup.vendorId},
                  unsigned{m_setup.productId});
    return std::string(head) + "H: descriptors=" + hex + "\n";
}

void CEmulatedUsbDevice::Send(std::vector<std::uint8_t> bytes)
{
    std::lock_guard lock(m_mutex);
    m_urbs->inTransfers.push_back(std::move(bytes));
}

void CEmulatedUsbDevice::SetResponder(Responder responder)
{
    std::lock_guard lock(m_mutex);
    m_responder = std::move(responder);
}

std::size_t CEmulatedUsbDevice::WaitingReads() const
{
    std::lock_guard lock(m_mutex);
    return m_urbs->pendingIn.size();
}

std::vector<std::uint8_t> CEmulatedUsbDevice::Received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

std::vector<std::size_t> CEmulatedUsbDevice::OutTransferSizes() const
{
    std::lock_guard lock(m_mutex);
    return m_outSizes;
}

std::vector<int> CEmulatedUsbDevice::ClaimedInterfaces() const
{
    std::lock_guard lock(m_mutex);
    return m_claimed;
}

int CEmulatedUsbDevice::ReleaseCount() const
{
    std::lock_guard lock(m_mutex);
    return m_releases;
}

int CEmulatedUsbDevice::ControlRequestCount() const
{
    std::lock_guard lock(m_mutex);
    return m_controlRequests;
}

bool CEmulatedUsbDevice::AnyInterfaceHeld() const
{
    std::lock_guard lock(m_mutex);
    return m_held != 0;
}

bool CEmulatedUsbDevice::HasEndpoint(std::uint8_t address) const
{
    return std::any_of(m_setup.endpoints.begin(), m_setup.endpoints.end(), [address](const CEmulatedEndpoint& e) {
        return e.address == address;
    });
}

std::size_t CEmulatedUsbDevice::InPacketSize(std::uint8_t address) const
{
    for (const CEmulatedEndpoint& endpoint : m_setup.endpoints) {
        if (endpoint.address == address && endpoint.maxPacketSize != 0) {
            return endpoint.maxPacketSize;
        }
    }
    return 512;
}

// Answers a control request into data; the answer length, or -1 for a stall.
int CEmulatedUsbDevice::Control(const std::uint8_t* setup, std::uint8_t* data)
{
    const std::uint8_t requestType = setup[0];
    const std::uint8_t request = setup[1];
    const std::uint16_t value = static_cast<std::uint16_t>(setup[2] | setup[3] << 8);
    const std::size_t length = static_cast<std::size_t>(setup[6] | setup[7] << 8);
    std::vector<std::uint8_t> answer;
    if (requestType == 0x80 && request == kGetDescriptor && (value >> 8) == kStringDescriptor) {
        switch (value & 0xFF) {
            case 0:
                answer = {4, kStringDescriptor, 0x09, 0x04};
                break;
            case 1:
                answer = StringDescriptorOf(m_setup.manufacturer);
                break;
            case 2:
                answer = StringDescriptorOf(m_setup.product);
                break;
            case 3:
                if (m_setup.serialNumber.empty()) {
                    return -1;
                }
                answer = StringDescriptorOf(m_setup.serialNumber);
                break;
            default:
                return -1;
        }
    } else if (requestType == 0xC1 && request == kBusyRequest) {
        answer = m_setup.busyAnswer;
    } else {
        return -1;
    }
    const std::size_t count = std::min(answer.size(), length);
    std::copy_n(answer.begin(), count, data);
    return static_cast<int>(count);
}

bool CEmulatedUsbDevice::HandleIoctl(void* clientPointer)
{
    auto* client = static_cast<UMockdevIoctlClient*>(clientPointer);
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    GError* error = nullptr;
    const auto finish = [client](long result, int errorNumber) {
        umockdev_ioctl_client_complete(client, result, errorNumber);
        return true;
    };
    const auto interfaceNumber = [&] {
        UMockdevIoctlData* value = umockdev_ioctl_data_resolve(arg, 0, sizeof(unsigned int), &error);
        return value ? static_cast<int>(*reinterpret_cast<unsigned int*>(value->data)) : -1;
    };

    switch (request) {
        case USBDEVFS_GET_CAPABILITIES: {
            UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(std::uint32_t), &error);
            *reinterpret_cast<std::uint32_t*>(caps->data) = 0;
            return finish(0, 0);
        }
        case USBDEVFS_CLAIMINTERFACE:
        case USBDEVFS_DISCONNECT_CLAIM: {
            const int number = interfaceNumber();
            if (m_setup.claimRefused) {
                return finish(-1, EBUSY);
            }
            std::lock_guard lock(m_mutex);
            m_claimed.push_back(number);
            ++m_held;
            return finish(0, 0);
        }
        case USBDEVFS_RELEASEINTERFACE: {
            std::lock_guard lock(m_mutex);
            ++m_releases;
            --m_held;
            return finish(0, 0);
        }
        case USBDEVFS_SETINTERFACE:
        case USBDEVFS_SETCONFIGURATION:
        case USBDEVFS_CLEAR_HALT:
        case USBDEVFS_RESET:
            return finish(0, 0);
        case USBDEVFS_GETDRIVER:
            return finish(-1, ENODATA);
        case USBDEVFS_SUBMITURB: {
            UMockdevIoctlData* urbData = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), &error);
            auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
            if (urb->type == USBDEVFS_URB_TYPE_BULK && !HasEndpoint(urb->endpoint)) {
                return finish(-1, ENOENT);
            }
            UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(
                urbData, offsetof(usbdevfs_urb, buffer), static_cast<gsize>(urb->buffer_length), &error);
            CUrbQueues::CUrb held{static_cast<UMockdevIoctlData*>(g_object_ref(urbData)),
                                  static_cast<UMockdevIoctlData*>(g_object_ref(buffer))};
            if (urb->type == USBDEVFS_URB_TYPE_CONTROL) {
                const int answered = Control(buffer->data, buffer->data + 8);
                urb->status = answered < 0 ? -EPIPE : 0;
                urb->actual_length = std::max(answered, 0);
                std::lock_guard lock(m_mutex);
                ++m_controlRequests;
                m_urbs->done.push_back(held);
            } else if ((urb->endpoint & 0x80) != 0) {
                std::lock_guard lock(m_mutex);
                m_urbs->pendingIn.push_back(held);
            } else {
                const std::vector<std::uint8_t> bytes(buffer->data, buffer->data + urb->buffer_length);
                urb->status = 0;
                urb->actual_length = urb->buffer_length;
                Responder responder;
                {
                    std::lock_guard lock(m_mutex);
                    m_received.insert(m_received.end(), bytes.begin(), bytes.end());
                    m_outSizes.push_back(bytes.size());
                    m_urbs->done.push_back(held);
                    responder = m_responder;
                }
                responder(*this, bytes);
            }
            return finish(0, 0);
        }
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY: {
            CUrbQueues::CUrb reaped;
            {
                std::lock_guard lock(m_mutex);
                CUrbQueues& urbs = *m_urbs;
                if (!urbs.done.empty()) {
                    reaped = urbs.done.front();
                    urbs.done.pop_front();
                } else if (!urbs.pendingIn.empty() && !urbs.inTransfers.empty()) {
                    // One URB per reap: after a short one the host cancels the rest of its transfer
                    // before they could take bytes of the next one.
                    reaped = urbs.pendingIn.front();
                    urbs.pendingIn.pop_front();
                    const std::vector<std::uint8_t>& transfer = urbs.inTransfers.front();
                    usbdevfs_urb* fields = reaped.Fields();
                    const std::size_t room = static_cast<std::size_t>(fields->buffer_length);
                    const std::size_t left = transfer.size() - urbs.inOffset;
                    const std::size_t packet = InPacketSize(fields->endpoint);
                    // A packet that does not fit the rest of the buffer is babble: the host
                    // controller drops it and the rest of the device's transfer with it.
                    const bool overflow = left > room && room % packet != 0;
                    const std::size_t count = overflow ? room / packet * packet : std::min(room, left);
                    std::copy_n(
                        transfer.begin() + static_cast<std::ptrdiff_t>(urbs.inOffset), count, reaped.buffer->data);
                    fields->status = overflow ? -EOVERFLOW : 0;
                    fields->actual_length = static_cast<int>(count);
                    urbs.inOffset = overflow ? transfer.size() : urbs.inOffset + count;
                    if (urbs.inOffset == transfer.size()) {
                        urbs.inTransfers.pop_front();
                        urbs.inOffset = 0;
                    }
                }
            }
            if (!reaped.urb) {
                return finish(-1, EAGAIN);
            }
            UMockdevIoctlData* slot = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), &error);
            umockdev_ioctl_data_set_ptr(slot, 0, reaped.urb);
            CUrbQueues::Release(reaped);
            return finish(0, 0);
        }
        case USBDEVFS_DISCARDURB: {
            const gulong target = *reinterpret_cast<gulong*>(arg->data);
            std::lock_guard lock(m_mutex);
            auto& pending = m_urbs->pendingIn;
            const auto found = std::find_if(pending.begin(), pending.end(), [target](const CUrbQueues::CUrb& urb) {
                return urb.urb->client_addr == target;
            });
            if (found == pending.end()) {
                return finish(-1, EINVAL);
            }
            found->Fields()->status = -ENOENT;
            found->Fields()->actual_length = 0;
            m_urbs->done.push_back(*found);
            pending.erase(found);
            return finish(0, 0);
        }
        default:
            return finish(-1, ENOTTY);
    }
}

struct CEmulatedUsbBus::CBed
{
    UMockdevTestbed* testbed = nullptr;
    std::vector<UMockdevIoctlBase*> handlers;
};

CEmulatedUsbBus::CEmulatedUsbBus()
    : m_bed(std::make_unique<CBed>())
{
    m_bed->testbed = umockdev_testbed_new();
}

CEmulatedUsbBus::~CEmulatedUsbBus()
{
    for (UMockdevIoctlBase* handler : m_bed->handlers) {
        g_object_unref(handler);
    }
    g_object_unref(m_bed->testbed);
}

bool CEmulatedUsbBus::UnderPreload()
{
    const char* preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "libumockdev-preload") != nullptr;
}

CEmulatedUsbDevice& CEmulatedUsbBus::Add(CEmulatedDeviceSetup setup)
{
    auto device = std::make_unique<CEmulatedUsbDevice>(std::move(setup));
    UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
    g_signal_connect(handler, "handle-ioctl", G_CALLBACK(OnHandleIoctl), device.get());
    m_bed->handlers.push_back(handler);
    GError* error = nullptr;
    // The hook must be in place before the device appears, or its node is a plain file.
    if (!umockdev_testbed_attach_ioctl(m_bed->testbed, device->DeviceNode().c_str(), handler, &error) ||
        !umockdev_testbed_add_from_string(m_bed->testbed, device->SysfsRecord().c_str(), &error)) {
        const std::string message = error ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error("umockdev: " + message);
    }
    m_devices.push_back(std::move(device));
    return *m_devices.back();
}

std::string CEmulatedUsbBus::RootDir() const
{
    gchar* root = umockdev_testbed_get_root_dir(m_bed->testbed);
    std::string text = root;
    g_free(root);
    return text;
}

void CEmulatedUsbBus::DenyAccess(const CEmulatedUsbDevice& device)
{
    const std::string root = RootDir();
    // The node refuses the user; the hook's socket behind it must still let the user connect,
    // because the preload connects even when the open itself failed.
    ::chmod(root.c_str(), 0755);
    ::chmod((root + device.DeviceNode()).c_str(), 0);
    ::chmod((root + "/ioctl" + device.DeviceNode()).c_str(), 0777);
}

} // namespace qzb::test
