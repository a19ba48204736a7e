#pragma once

#include "base/message_codes.h"

#include <span>
#include <string_view>

namespace qzb {

enum class CaptionKind : std::uint8_t {
    Standard, // "STR_CAPTION"
    Serviceman, // "STR_SERVICEMAN_CAPTION": service-man and validation messages
};

// The button sets of the platform's message boxes, with their numeric values.
enum class ButtonSet : std::uint8_t { Ok = 0, OkCancel = 1, YesNoCancel = 3 };

// Buttons a message box answers with, as the callers compare them.
enum DialogAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

inline constexpr std::string_view kCaptionKey = "STR_CAPTION";
inline constexpr std::string_view kServicemanCaptionKey = "STR_SERVICEMAN_CAPTION";

struct CMessageEntry
{
    MessageCode code;
    std::string_view key;
    CaptionKind caption;
    ButtonSet buttons;
};

std::span<const CMessageEntry> MessageCatalogue();
// nullptr for a code outside the catalogue (such a code shows an empty text).
const CMessageEntry* FindMessage(MessageCode code);

} // namespace qzb
