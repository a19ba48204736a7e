#pragma once

#include "addressbook/address_book.h"
#include "pages/entry_editor.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qzb {

// The scan-to-server editor of one speed dial 221-250. Fields: "protocol" (ftp, smb), "name",
// "server", "directory", "proxy" and "port" (FTP only), "userid", the choice lists "colour",
// "format", "resolution", "coding", "mode", "area" (stored values), "notify" and "notify1" ...
// "notify10", "account" (anonymous, private), "user", "password", "confirm".
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
    std::int32_t ServerInputKind() const;

    // A field by name as a user would set it; the dependent states follow each change.
    CEntryInput SetField(std::string_view name, std::u16string_view value);

    // Runs every check of OK in order; on success writes the entry into the book (its group
    // memberships stay as they are). The book is unchanged on a refusal.
    CEntryResult Ok(CAddressBook& book) const;

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
