// Arbitrary bytes as a machine image: a refused image changes nothing; an accepted one leaves a
// directory that keeps its rules, and its encoding decodes again to the same encoding.
#include "fuzz_checks.h"
#include "machine/device_data.h"
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "model/machine_image.h"
#include "model/value_store.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr std::uint16_t kToday = (26 << 9) | (3 << 5) | 14;

std::u16string KeyAsText(std::string_view key)
{
    return std::u16string(key.begin(), key.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace qzb;
    const std::span<const std::uint8_t> image(data, size);
    CDeviceData device;
    CValueStore store;
    const MessageCode code = DecodeMachineImage(device, store, image, KeyAsText);
    Require(code == (IsWellFormedImage(image) ? kOk : kMsgMalformedImage), "result code");
    if (code != kOk) {
        Require(device.book.Empty() && device.operationBlock == kInitialOperationBlock && !device.optionsBlock,
                "a refused image changed the device data");
        return 0;
    }
    RequireBookRules(device.book);

    const CEncodeOptions options{EncodeMode::File, false, kToday};
    const std::vector<std::uint8_t> once = EncodeMachineImage(device, store, options);
    Require(IsWellFormedImage(once), "the encoder's own image");
    CDeviceData again;
    CValueStore againStore;
    Require(DecodeMachineImage(again, againStore, once, KeyAsText) == kOk, "decoding the encoder's image");
    RequireBookRules(again.book);
    Require(EncodeMachineImage(again, againStore, options) == once, "encode, decode, encode is stable");

    CEncodeOptions upload = options;
    upload.mode = EncodeMode::Upload;
    upload.serviceMan = (size & 1) != 0;
    Require(IsWellFormedImage(EncodeMachineImage(device, store, upload)), "the upload image");
    return 0;
}
