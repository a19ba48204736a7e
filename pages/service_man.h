#pragma once

#include "base/message_codes.h"
#include "model/input_chars.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

class CValueStore;

// The service-man password fields: at most 8 characters of printable ASCII. A page that supplies its own password
// allows 4 characters.
inline constexpr InputKind kPasswordInputKind = InputKind::PrintableAscii;
inline constexpr std::int32_t kPasswordLimit = 8;
inline constexpr std::int32_t kCallerPasswordLimit = 4;
inline constexpr std::size_t kMinimumNewPasswordLength = 4;

// The field of a password dialog that holds the refused text.
enum class PasswordField : std::uint8_t { None, Password, Current, New, Retype };

struct CPasswordCheck
{
    MessageCode code = kOk;
    PasswordField field = PasswordField::None;
    std::u16string insert = {}; // the limit a refusal names
    bool Ok() const { return code == kOk; }
};

// The password dialog's OK: the text must pass the input check and equal expected, unit by unit.
CPasswordCheck CheckPassword(std::u16string_view text, std::u16string_view expected, const CValueStore& store);

// The change-password dialog's OK: the current password, then the new one (at least 4 characters),
// then its retyped copy; the first failure ends the checks.
CPasswordCheck CheckPasswordChange(std::u16string_view current,
                                   std::u16string_view newPassword,
                                   std::u16string_view retyped,
                                   std::u16string_view servicePassword,
                                   const CValueStore& store);

// One text of a dialog: the control id and its string-table key; id 0 is the caption.
struct CDialogText
{
    std::int32_t id;
    std::string_view key;
};

// The texts of the password, change-password and About dialogs.
std::span<const CDialogText> PasswordDialogTexts();
std::span<const CDialogText> ChangePasswordDialogTexts();
std::span<const CDialogText> VersionDialogTexts();
// Every key the three tables name.
std::vector<std::string> ServiceManTextKeys();

// The model whose About box shows the older version and no description line.
inline constexpr std::uint32_t kShortAboutModelBit = 0x004;
std::u16string_view VersionText(std::uint32_t modelBit);

} // namespace qzb
