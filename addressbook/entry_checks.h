#pragma once

#include "base/message_codes.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qzb {

class CValueStore;

// The most characters the fax/e-mail editor's fields take: the name, the fax number, the e-mail address.
inline constexpr std::size_t kMaxEntryNameLength = 20;
inline constexpr std::size_t kMaxFaxNumberLength = 50;
inline constexpr std::size_t kMaxEmailAddressLength = 64;

// The field of a fax/e-mail entry a check refused.
enum class FaxMailCheckField : std::uint8_t { None, Name, Address };

struct CFaxMailCheck
{
    MessageCode code = kOk;
    FaxMailCheckField field = FaxMailCheckField::None;
    bool Ok() const { return code == kOk; }
};

// The checks the fax/e-mail editor's OK makes before it stores an entry, in its order: the
// characters of the name; for a fax the characters of the number, and a number that is empty or
// opens with the pause "P" (0x80020018); for e-mail the characters of the address and its one "@"
// (0x80020010). A character outside the field's class is 0x80030008. Every writer of fax and
// e-mail entries from outside (the editor, the contacts import) stores only what passes.
CFaxMailCheck
CheckFaxMailEntry(std::int32_t kind, std::u16string_view name, std::u16string_view address, const CValueStore& store);

} // namespace qzb
