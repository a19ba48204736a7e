#pragma once

#include "addressbook/address_book.h"
#include "pages/entry_editor.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qzb {

// The protocols and accounts of a scan-to-server entry, with the words qzbctl and the dumps use.
inline constexpr CEntryOption kScanProtocolOptions[] = {
    {"ftp", "STR_DLG_RSDSTS_RAD_FTP", kProtocolFtp},
    {"smb", "STR_DLG_RSDSTS_RAD_SMB", kProtocolSmb},
};
inline constexpr CEntryOption kScanAccountOptions[] = {
    {"anonymous", "STR_DLG_RSDSTS_RAD_ANONYMOUS", kAccountAnonymous},
    {"private", "STR_DLG_RSDSTS_RAD_PRIVATE_SITE", kAccountPrivateSite},
};

// The fields of the scan-to-server editor, in the order of its table: the protocol, the name, the
// server address, the directory, the proxy switch and the port (FTP only), the user ID, the six
// choice lists (stored values), the e-mail notification with its ten addresses, the account and
// its user name, password and confirmation.
struct ScanField
{
    enum : EntryFieldId {
        Protocol,
        Name,
        Server,
        Directory,
        Proxy,
        Port,
        UserId,
        Colour,
        Format,
        Resolution,
        Coding,
        Mode,
        Area,
        Notify,
        Notify1,
        Notify10 = Notify1 + 9,
        Account,
        User,
        Password,
        Confirm,
    };
};

// The scan-to-server editor of one speed dial 221-250.
class CScanEditor : public CEntryForm
{
public:
    // The caption is a format taking the speed-dial number.
    static constexpr std::string_view kCaptionKey = "STR_DLG_REGISTER_SPEED_DIAL_SCAN_TO_SERVER";
    static constexpr std::string_view kRatioKey = "STR_RATIO_DLG_SPEED_DIAL_SCAN_TO_SERVER";
    static std::span<const CEntryFieldDef> FieldDefs();
    // The box title and the server address label after the protocol.
    static std::string_view FrameKey(std::int32_t protocol);
    static std::string_view ServerLabelKey(std::int32_t protocol);

    CScanEditor(const CAddressBook& book, std::int32_t number, const CEntryEnv& env);

    std::int32_t Number() const { return m_number; }
    bool IsNew() const { return m_isNew; }
    // The server address field's input kind: 7 for FTP, 17 (backslash allowed) for SMB.
    InputKind ServerInputKind() const;

    // Runs every check of OK in order; on success writes the entry into the book (its group
    // memberships stay as they are). The book is unchanged on a refusal.
    CEntryResult Ok(CAddressBook& book) const;

protected:
    // The dependent states follow each change of protocol, notification, account or colour mode.
    CEntryInput Changed(EntryFieldId id, std::int32_t previous) override;

private:
    void ApplyProtocol();
    void ApplyNotification();
    void ApplyAccount(std::int32_t previous);
    void ApplyColourMode();

    CEntryEnv m_env;
    std::int32_t m_number;
    bool m_isNew = true;
    CScanEntry m_entry; // the working entry: what no field holds (file size) comes from here
    std::u16string m_savedUser; // the private-site texts while anonymous is chosen
    std::u16string m_savedPassword;
    std::u16string m_savedConfirm;
};

} // namespace qzb
