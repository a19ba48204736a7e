#include "device/usb_libusb.h"

#include <libusb.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <utility>

namespace qzb {

namespace {

constexpr std::uint8_t kWriteEndpointNumber = 3;
constexpr std::uint8_t kReadEndpointNumber = 4;

// libusb reads a time limit of 0 as "wait for ever".
unsigned int Milliseconds(std::chrono::milliseconds timeout)
{
    return static_cast<unsigned int>(std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 1, 0x7FFFFFFF));
}

UsbAccess AccessOf(int error)
{
    switch (error) {
        case LIBUSB_SUCCESS:
            return UsbAccess::Granted;
        case LIBUSB_ERROR_ACCESS:
            return UsbAccess::Denied;
        case LIBUSB_ERROR_BUSY:
            return UsbAccess::Held;
        default:
            return UsbAccess::Failed;
    }
}

UsbPipeType PipeTypeOf(std::uint8_t attributes)
{
    switch (attributes & LIBUSB_TRANSFER_TYPE_MASK) {
        case LIBUSB_ENDPOINT_TRANSFER_TYPE_CONTROL:
            return UsbPipeType::Control;
        case LIBUSB_ENDPOINT_TRANSFER_TYPE_ISOCHRONOUS:
            return UsbPipeType::Isochronous;
        case LIBUSB_ENDPOINT_TRANSFER_TYPE_BULK:
            return UsbPipeType::Bulk;
        default:
            return UsbPipeType::Interrupt;
    }
}

// 2: bulk OUT 3 and bulk IN 4; 1: one of them; 0: neither.
int Suitability(const libusb_interface_descriptor& setting)
{
    bool out3 = false;
    bool in4 = false;
    for (int e = 0; e < setting.bNumEndpoints; ++e) {
        const libusb_endpoint_descriptor& endpoint = setting.endpoint[e];
        if ((endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_ENDPOINT_TRANSFER_TYPE_BULK) {
            continue;
        }
        const std::uint8_t number = endpoint.bEndpointAddress & LIBUSB_ENDPOINT_ADDRESS_MASK;
        const bool in = (endpoint.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN;
        out3 = out3 || (number == kWriteEndpointNumber && !in);
        in4 = in4 || (number == kReadEndpointNumber && in);
    }
    return (out3 ? 1 : 0) + (in4 ? 1 : 0);
}

// The pipe configuration of our interface: the first one that has both endpoints, else the first
// with one of them.
void ReadPipeConfiguration(libusb_device* device, CUsbCandidate& candidate)
{
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS &&
        libusb_get_config_descriptor(device, 0, &config) != LIBUSB_SUCCESS) {
        return;
    }
    const libusb_interface_descriptor* best = nullptr;
    int bestScore = 0;
    for (int i = 0; i < config->bNumInterfaces; ++i) {
        const libusb_interface& interface = config->interface[i];
        for (int a = 0; a < interface.num_altsetting; ++a) {
            const int score = Suitability(interface.altsetting[a]);
            if (score > bestScore) {
                best = &interface.altsetting[a];
                bestScore = score;
            }
        }
    }
    if (best) {
        candidate.interfaceNumber = best->bInterfaceNumber;
        candidate.alternateSetting = best->bAlternateSetting;
        for (int e = 0; e < best->bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor& endpoint = best->endpoint[e];
            candidate.pipes.push_back(
                {endpoint.bEndpointAddress, endpoint.wMaxPacketSize, PipeTypeOf(endpoint.bmAttributes)});
        }
    }
    libusb_free_config_descriptor(config);
}

std::string StringDescriptor(libusb_device_handle* handle, std::uint8_t index)
{
    if (index == 0) {
        return {};
    }
    unsigned char text[256] = {};
    const int length = libusb_get_string_descriptor_ascii(handle, index, text, sizeof text);
    return length > 0 ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length))
                      : std::string();
}

void ReadDescription(libusb_device* device, const libusb_device_descriptor& descriptor, CUsbCandidate& candidate)
{
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(device, &handle);
    if (opened != LIBUSB_SUCCESS) {
        candidate.access = opened == LIBUSB_ERROR_ACCESS ? UsbAccess::Denied : UsbAccess::Failed;
        return;
    }
    const std::string manufacturer = StringDescriptor(handle, descriptor.iManufacturer);
    const std::string product = StringDescriptor(handle, descriptor.iProduct);
    candidate.serialNumber = StringDescriptor(handle, descriptor.iSerialNumber);
    libusb_close(handle);
    candidate.description = manufacturer;
    if (!manufacturer.empty() && !product.empty()) {
        candidate.description += ' ';
    }
    candidate.description += product;
}

void LIBUSB_CALL TransferDone(libusb_transfer* transfer)
{
    *static_cast<int*>(transfer->user_data) = 1;
}

int ResultOf(const libusb_transfer& transfer)
{
    switch (transfer.status) {
        case LIBUSB_TRANSFER_COMPLETED:
            return LIBUSB_SUCCESS;
        case LIBUSB_TRANSFER_TIMED_OUT:
            return LIBUSB_ERROR_TIMEOUT;
        case LIBUSB_TRANSFER_STALL:
            return LIBUSB_ERROR_PIPE;
        case LIBUSB_TRANSFER_OVERFLOW:
            return LIBUSB_ERROR_OVERFLOW;
        case LIBUSB_TRANSFER_NO_DEVICE:
            return LIBUSB_ERROR_NO_DEVICE;
        default:
            return LIBUSB_ERROR_IO;
    }
}

} // namespace

struct CUsbTransport::CState
{
    libusb_context* context = nullptr;
    // The lock guards the fields below; it is never held while a transfer runs, so that Close
    // can cancel the transfers in flight and wait for them to end.
    std::mutex mutex;
    std::condition_variable transfersEnded;
    std::vector<libusb_transfer*> inFlight;
    libusb_device_handle* handle = nullptr;
    int claimedInterface = -1;
    std::uint8_t writeEndpoint = 0;
    std::uint8_t readEndpoint = 0;
    std::uint16_t readPacketSize = 0;
    // Bytes of the last packet that did not fit the caller's buffer, handed out by the next read.
    std::vector<std::uint8_t> spill;
    std::size_t spillOffset = 0;

    // One bulk transfer on the open pipe of the direction: a libusb error code and the bytes moved.
    std::pair<int, int> Bulk(bool in, unsigned char* data, int length, unsigned int timeout)
    {
        libusb_transfer* transfer = libusb_alloc_transfer(0);
        if (!transfer) {
            return {LIBUSB_ERROR_NO_MEM, 0};
        }
        int completed = 0;
        {
            std::lock_guard lock(mutex);
            const std::uint8_t endpoint = in ? readEndpoint : writeEndpoint;
            if (!handle || endpoint == 0) {
                libusb_free_transfer(transfer);
                return {LIBUSB_ERROR_NO_DEVICE, 0};
            }
            libusb_fill_bulk_transfer(transfer, handle, endpoint, data, length, TransferDone, &completed, timeout);
            if (const int submitted = libusb_submit_transfer(transfer); submitted != LIBUSB_SUCCESS) {
                libusb_free_transfer(transfer);
                return {submitted, 0};
            }
            inFlight.push_back(transfer);
        }
        while (!completed) {
            const int handled = libusb_handle_events_completed(context, &completed);
            if (handled < 0 && handled != LIBUSB_ERROR_INTERRUPTED) {
                libusb_cancel_transfer(transfer);
            }
        }
        const int result = ResultOf(*transfer);
        const int moved = transfer->actual_length;
        // Still counted in flight, so the handle stays open for the clearing.
        if (result == LIBUSB_ERROR_PIPE) {
            libusb_clear_halt(transfer->dev_handle, transfer->endpoint);
        }
        {
            std::lock_guard lock(mutex);
            inFlight.erase(std::find(inFlight.begin(), inFlight.end(), transfer));
        }
        transfersEnded.notify_all();
        libusb_free_transfer(transfer);
        return {result, moved};
    }

    // The listed device that is still present at the candidate's bus and address, referenced.
    libusb_device* Find(const CUsbCandidate& candidate) const
    {
        libusb_device** list = nullptr;
        const ssize_t count = libusb_get_device_list(context, &list);
        libusb_device* found = nullptr;
        for (ssize_t i = 0; i < count && !found; ++i) {
            libusb_device_descriptor descriptor{};
            if (libusb_get_bus_number(list[i]) == candidate.busNumber &&
                libusb_get_device_address(list[i]) == candidate.deviceAddress &&
                libusb_get_device_descriptor(list[i], &descriptor) == LIBUSB_SUCCESS &&
                descriptor.idVendor == candidate.vendorId && descriptor.idProduct == candidate.productId) {
                found = libusb_ref_device(list[i]);
            }
        }
        if (count >= 0) {
            libusb_free_device_list(list, 1);
        }
        return found;
    }
};

CUsbTransport::CUsbTransport()
    : m_state(std::make_unique<CState>())
{
    if (libusb_init(&m_state->context) != LIBUSB_SUCCESS) {
        m_state->context = nullptr;
    }
}

CUsbTransport::~CUsbTransport()
{
    Close();
    if (m_state->context) {
        libusb_exit(m_state->context);
    }
}

bool CUsbTransport::IsAvailable() const
{
    return m_state->context != nullptr;
}

MessageCode CUsbTransport::ListDevices(std::uint16_t vendorId, std::vector<CUsbCandidate>& devices)
{
    devices.clear();
    if (!m_state->context) {
        return kMsgDriverFailure;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(m_state->context, &list);
    if (count < 0) {
        return kMsgDriverFailure;
    }
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        // Devices of other makers are never opened: their strings are none of our business.
        if (libusb_get_device_descriptor(list[i], &descriptor) != LIBUSB_SUCCESS || descriptor.idVendor != vendorId) {
            continue;
        }
        CUsbCandidate candidate;
        candidate.busNumber = libusb_get_bus_number(list[i]);
        candidate.deviceAddress = libusb_get_device_address(list[i]);
        char text[64];
        std::snprintf(text,
                      sizeof text,
                      "bus %03u device %03u",
                      unsigned{candidate.busNumber},
                      unsigned{candidate.deviceAddress});
        candidate.identifier = text;
        std::snprintf(text,
                      sizeof text,
                      "/dev/bus/usb/%03u/%03u",
                      unsigned{candidate.busNumber},
                      unsigned{candidate.deviceAddress});
        candidate.deviceNode = text;
        candidate.vendorId = descriptor.idVendor;
        candidate.productId = descriptor.idProduct;
        ReadPipeConfiguration(list[i], candidate);
        ReadDescription(list[i], descriptor, candidate);
        devices.push_back(std::move(candidate));
    }
    libusb_free_device_list(list, 1);
    return kOk;
}

CTransferResult CUsbTransport::ControlIn(const CUsbCandidate& device,
                                         const CControlRequest& request,
                                         std::span<std::uint8_t> buffer,
                                         std::chrono::milliseconds timeout)
{
    if (!m_state->context) {
        return {kMsgConnectCut, 0};
    }
    libusb_device* found = m_state->Find(device);
    if (!found) {
        return {kMsgConnectCut, 0};
    }
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(found, &handle);
    libusb_unref_device(found);
    if (opened != LIBUSB_SUCCESS) {
        return {kMsgConnectCut, 0};
    }
    // An interface request goes to an interface we hold, never to one another driver serves.
    libusb_set_auto_detach_kernel_driver(handle, 1);
    const bool claimed =
        device.interfaceNumber >= 0 && libusb_claim_interface(handle, device.interfaceNumber) == LIBUSB_SUCCESS;
    const int moved = libusb_control_transfer(handle,
                                              request.requestType,
                                              request.request,
                                              request.value,
                                              request.index,
                                              buffer.data(),
                                              static_cast<std::uint16_t>(std::min<std::size_t>(buffer.size(), 0xFFFF)),
                                              Milliseconds(timeout));
    if (claimed) {
        libusb_release_interface(handle, device.interfaceNumber);
    }
    libusb_close(handle);
    if (moved < 0) {
        return {kMsgConnectCut, 0};
    }
    return {kOk, static_cast<std::size_t>(moved)};
}

UsbAccess CUsbTransport::OpenPipes(const CUsbCandidate& device, std::uint8_t writeEndpoint, std::uint8_t readEndpoint)
{
    Close();
    if (!m_state->context || device.interfaceNumber < 0) {
        return UsbAccess::Failed;
    }
    libusb_device* found = m_state->Find(device);
    if (!found) {
        return UsbAccess::Failed;
    }
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(found, &handle);
    libusb_unref_device(found);
    if (opened != LIBUSB_SUCCESS) {
        return AccessOf(opened);
    }
    libusb_set_auto_detach_kernel_driver(handle, 1);
    int result = libusb_claim_interface(handle, device.interfaceNumber);
    if (result == LIBUSB_SUCCESS && device.alternateSetting != 0) {
        result = libusb_set_interface_alt_setting(handle, device.interfaceNumber, device.alternateSetting);
        if (result != LIBUSB_SUCCESS) {
            libusb_release_interface(handle, device.interfaceNumber);
        }
    }
    if (result != LIBUSB_SUCCESS) {
        libusb_close(handle);
        return AccessOf(result) == UsbAccess::Granted ? UsbAccess::Failed : AccessOf(result);
    }
    std::lock_guard lock(m_state->mutex);
    m_state->handle = handle;
    m_state->claimedInterface = device.interfaceNumber;
    m_state->writeEndpoint = writeEndpoint;
    m_state->readEndpoint = readEndpoint;
    m_state->readPacketSize = 0;
    for (const CUsbPipe& pipe : device.pipes) {
        if (pipe.endpointAddress == readEndpoint) {
            m_state->readPacketSize = pipe.maxPacketSize;
        }
    }
    return UsbAccess::Granted;
}

CTransferResult CUsbTransport::Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout)
{
    // libusb takes a non-const buffer for both directions; an OUT transfer only reads it.
    const auto [result, moved] = m_state->Bulk(
        false, const_cast<unsigned char*>(bytes.data()), static_cast<int>(bytes.size()), Milliseconds(timeout));
    return {result == LIBUSB_SUCCESS ? kOk : kMsgConnectCut, static_cast<std::size_t>(std::max(moved, 0))};
}

CTransferResult CUsbTransport::Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout)
{
    std::size_t packet = 0;
    {
        std::lock_guard lock(m_state->mutex);
        if (!m_state->handle || m_state->readEndpoint == 0) {
            return {kMsgConnectCut, 0};
        }
        const std::vector<std::uint8_t>& spill = m_state->spill;
        if (m_state->spillOffset < spill.size()) {
            const std::size_t count = std::min(buffer.size(), spill.size() - m_state->spillOffset);
            std::copy_n(spill.begin() + static_cast<std::ptrdiff_t>(m_state->spillOffset), count, buffer.begin());
            m_state->spillOffset += count;
            return {kOk, count};
        }
        packet = m_state->readPacketSize;
    }
    // A device may send more in its last packet than the caller asked for; a read that is not a
    // whole number of packets would lose those bytes as an overflow, so it reads whole packets and
    // keeps the surplus for the next read.
    const bool whole = packet == 0 || buffer.size() % packet == 0;
    std::vector<std::uint8_t> rounded;
    std::span<std::uint8_t> target = buffer;
    if (!whole) {
        rounded.resize((buffer.size() / packet + 1) * packet);
        target = rounded;
    }
    const auto [result, moved] =
        m_state->Bulk(true, target.data(), static_cast<int>(target.size()), Milliseconds(timeout));
    std::size_t count = static_cast<std::size_t>(std::max(moved, 0));
    if (!whole) {
        const std::size_t kept = std::min(count, buffer.size());
        std::copy_n(rounded.begin(), kept, buffer.begin());
        std::lock_guard lock(m_state->mutex);
        // A pipe closed meanwhile has nobody to hand the surplus to.
        if (m_state->handle) {
            m_state->spill.assign(rounded.begin() + static_cast<std::ptrdiff_t>(kept),
                                  rounded.begin() + static_cast<std::ptrdiff_t>(count));
            m_state->spillOffset = 0;
        }
        count = kept;
    }
    return {result == LIBUSB_SUCCESS ? kOk : kMsgConnectCut, count};
}

void CUsbTransport::Close()
{
    libusb_device_handle* handle = nullptr;
    int claimedInterface = -1;
    {
        std::unique_lock lock(m_state->mutex);
        handle = std::exchange(m_state->handle, nullptr);
        claimedInterface = std::exchange(m_state->claimedInterface, -1);
        m_state->writeEndpoint = 0;
        m_state->readEndpoint = 0;
        m_state->spill.clear();
        m_state->spillOffset = 0;
        // A read of another thread may wait for an answer that never comes: it ends as cut.
        for (libusb_transfer* transfer : m_state->inFlight) {
            libusb_cancel_transfer(transfer);
        }
        m_state->transfersEnded.wait(lock, [this] { return m_state->inFlight.empty(); });
    }
    if (handle) {
        // Releasing lets libusb bind the kernel driver again that it took the interface from.
        libusb_release_interface(handle, claimedInterface);
        libusb_close(handle);
    }
}

} // namespace qzb
