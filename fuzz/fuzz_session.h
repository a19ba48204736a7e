#pragma once

// What the fuzz targets that run the transfer driver share: a presenter that answers every message
// with OK, the window's data with a way to tell whether a transfer changed it, and a link that
// neither locks nor senses the device.

#include "app/app_context.h"
#include "app/message_presenter.h"
#include "app/messenger.h"
#include "device/device_link.h"
#include "machine/image_encoder.h"

#include <chrono>
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

// The window's side of the transfers: its data set back to the model's initial data before each
// input, and that data as a saved image to compare with.
struct CFuzzWindow
{
    explicit CFuzzWindow(std::int32_t model)
        : pristine(model)
        , context(model)
        , messenger(context.strings, presenter)
        , pristineImage(Snapshot(pristine))
    {
    }
    void Reset() { context = pristine; }
    bool Unchanged() const { return Snapshot(context) == pristineImage; }

    const CAppContext pristine;
    CAppContext context;
    CQuietPresenter presenter;
    CMessenger messenger;
    const std::vector<std::uint8_t> pristineImage;
};

// The sense thread would take answers meant for the transfer driver; no lock file is wanted.
inline CDeviceLinkConfig QuietLinkConfig()
{
    CDeviceLinkConfig config;
    config.lockDevice = false;
    config.sensePeriod = std::chrono::hours(1);
    return config;
}

} // namespace qzb
