#pragma once

// What the fuzz targets that run the transfer driver share: a presenter that answers every message
// with OK, and the window's data as the image a save would write, to tell whether it changed.

#include "app/app_context.h"
#include "app/message_presenter.h"
#include "machine/image_encoder.h"

#include <cstdint>
#include <vector>

namespace qzb {

class CQuietPresenter : public IMessagePresenter
{
public:
    int Present(const CMessageBoxRequest&) override { return kAnswerOk; }
};

inline std::vector<std::uint8_t> Snapshot(const CAppContext& context)
{
    constexpr std::uint16_t kSaveDate = (26 << 9) | (3 << 5) | 14;
    CDeviceData device = context.device;
    return EncodeMachineImage(device, context.store, {EncodeMode::File, false, kSaveDate});
}

} // namespace qzb
