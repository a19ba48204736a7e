#include "pages/service_man.h"

#include "model/input_chars.h"

namespace qzb {

namespace {

constexpr CDialogText kPasswordTexts[] = {
    {0, "STR_DLG_CHANGE_SERVISMAM_MODE"},
    {2170, "STR_DLG_CSM_PASSWORD"},
    {2172, "STR_DLG_BTN_SM_OK"},
};

constexpr CDialogText kChangePasswordTexts[] = {
    {0, "STR_DLG_SM_CHAMGE_PASSWORD"},
    {1850, "STR_DLG_CP_TXT_CHANGE_PASSWORD"},
    {1851, "STR_DLG_CP_TXT_CURRENT_PASSWORD"},
    {1853, "STR_DLG_CP_TXT_NEW_PASSWORD"},
    {1855, "STR_DLG_CP_TXT_RETYPE_NEW_PASSWORD"},
    {1857, "STR_DLG_BTN_SM_OK"},
    {1858, "STR_DLG_BTN_SM_CANCEL"},
};

constexpr CDialogText kVersionTexts[] = {
    {0, "STR_DLG_VERSION"},
    {330, "STR_CAPTION"},
    {331, "STR_DLG_VER_TXT_DESCRIPTION"},
    {1, "STR_DLG_BTN_SM_OK"},
};

// What the password edit could hold: its characters, and no more of them than its limit.
bool PassesInputCheck(std::u16string_view text, const CValueStore& store)
{
    return text.size() <= static_cast<std::size_t>(kPasswordLimit) && IsInputTextValid(text, kPasswordInputKind, store);
}

} // namespace

std::span<const CDialogText> PasswordDialogTexts()
{
    return kPasswordTexts;
}

std::span<const CDialogText> ChangePasswordDialogTexts()
{
    return kChangePasswordTexts;
}

std::span<const CDialogText> VersionDialogTexts()
{
    return kVersionTexts;
}

std::vector<std::string> ServiceManTextKeys()
{
    std::vector<std::string> keys;
    for (const auto texts : {PasswordDialogTexts(), ChangePasswordDialogTexts(), VersionDialogTexts()}) {
        for (const CDialogText& text : texts) {
            keys.emplace_back(text.key);
        }
    }
    return keys;
}

std::u16string_view VersionText(std::uint32_t modelBit)
{
    return modelBit == kShortAboutModelBit ? u"V1.00" : u"V1.02";
}

CPasswordCheck CheckPassword(std::u16string_view text, std::u16string_view expected, const CValueStore& store)
{
    if (!PassesInputCheck(text, store)) {
        return {kMsgInvalidRangeValue, PasswordField::Password};
    }
    if (text != expected) {
        return {kMsgSmPasswordErr, PasswordField::Password};
    }
    return {};
}

CPasswordCheck CheckPasswordChange(std::u16string_view current,
                                   std::u16string_view newPassword,
                                   std::u16string_view retyped,
                                   std::u16string_view servicePassword,
                                   const CValueStore& store)
{
    if (!PassesInputCheck(current, store)) {
        return {kMsgInvalidRangeValue, PasswordField::Current};
    }
    if (current != servicePassword) {
        return {kMsgCurrentPasswordErr, PasswordField::Current};
    }
    if (!PassesInputCheck(newPassword, store)) {
        return {kMsgInvalidRangeValue, PasswordField::New};
    }
    if (newPassword.size() < kMinimumNewPasswordLength) {
        const std::string least = std::to_string(kMinimumNewPasswordLength);
        return {kMsgNewPasswordTooShort, PasswordField::New, std::u16string(least.begin(), least.end())};
    }
    if (!PassesInputCheck(retyped, store)) {
        return {kMsgInvalidRangeValue, PasswordField::Retype};
    }
    if (retyped != newPassword) {
        return {kMsgRetypePasswordErr, PasswordField::Retype};
    }
    return {};
}

} // namespace qzb
