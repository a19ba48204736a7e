#include "pages/entry_scan.h"

#include "model/input_chars.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <algorithm>
#include <string>

namespace qzb {

namespace {

constexpr std::uint32_t kColourMaskBw = 1; // offered in colour mode 0
constexpr std::uint32_t kColourMaskGray = 2; // offered in colour mode 1
constexpr std::uint32_t kBothColourModes = kColourMaskBw | kColourMaskGray;
constexpr std::uint32_t kEveryModel = 0xFFFFFFFF;
constexpr std::int32_t kFormatPdf = 1;
constexpr std::int32_t kFormatJpeg = 2;
constexpr std::int32_t kResolution300 = 1;
constexpr std::int32_t kResolution600 = 2;

constexpr CEntryOption kColourOptions[] = {
    {{}, "STR_DLG_RSDSTS_CMB_COLOR_B_W", 0},
    {{}, "STR_DLG_RSDSTS_CMB_COLOR_GRAY", 1},
};
constexpr CEntryOption kFormatOptions[] = {
    {{}, "STR_DLG_RSDSTS_CMB_FORMAT_TIFF", 0, kEveryModel, kBothColourModes},
    {{}, "STR_DLG_RSDSTS_CMB_FORMAT_PDF", kFormatPdf, kEveryModel, kBothColourModes},
    {{}, "STR_DLG_RSDSTS_CMB_FORMAT_JPEG", kFormatJpeg, kEveryModel, kColourMaskGray},
};
constexpr CEntryOption kResolutionOptions[] = {
    {{}, "STR_DLG_RSDSTS_CMB_RESOLUTION_150", 0, kEveryModel, kBothColourModes},
    {{}, "STR_DLG_RSDSTS_CMB_RESOLUTION_300", kResolution300, kEveryModel, kBothColourModes},
    {{}, "STR_DLG_RSDSTS_CMB_RESOLUTION_600", kResolution600, 0x001, kColourMaskGray},
};
constexpr CEntryOption kCodingOptions[] = {
    {{}, "STR_DLG_RSDSTS_CMB_CODING_MH", 0},
    {{}, "STR_DLG_RSDSTS_CMB_CODING_MR", 1},
    {{}, "STR_DLG_RSDSTS_CMB_CODING_MMR", 2},
};
constexpr CEntryOption kModeOptions[] = {
    {{}, "STR_DLG_RSDSTS_CMB_MODE_TEXT", 0},
    {{}, "STR_DLG_RSDSTS_CMB_MODE_PHOTO", 1},
    {{}, "STR_DLG_RSDSTS_CMB_MODE_MIX", 2},
};
constexpr CEntryOption kAreaOptions[] = {
    {{}, "STR_DLG_RSDSTS_CMB_SCAN_AREA_A5L", 0},
    {{}, "STR_DLG_RSDSTS_CMB_SCAN_AREA_B5L", 2},
    {{}, "STR_DLG_RSDSTS_CMB_SCAN_AREA_A4L", 1},
    {{}, "STR_DLG_RSDSTS_CMB_SCAN_AREA_STL", 3},
    {{}, "STR_DLG_RSDSTS_CMB_SCAN_AREA_LTL", 4},
    {{}, "STR_DLG_RSDSTS_CMB_SCAN_AREA_LGL", 5},
};

using F = ScanField;
constexpr CEntryFieldDef kScanFields[] = {
    {.id = F::Protocol, .name = "protocol", .kind = EntryFieldKind::Choice, .options = kScanProtocolOptions},
    {.id = F::Name,
     .name = "name",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_DESTINATION_NAME",
     .limit = 20,
     .inputKind = InputKind::Name,
     .frameKey = "STR_DLG_RSDSTS_TXT_FTP"},
    {.id = F::Server,
     .name = "server",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_FTP_SERVER_ADDRESS",
     .limit = 64,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Directory,
     .name = "directory",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_DIRECTORY",
     .limit = 128,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Proxy, .name = "proxy", .kind = EntryFieldKind::Switch, .textKey = "STR_DLG_RSDSTS_CHK_USE_PROXY"},
    {.id = F::Port,
     .name = "port",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_REMOTE_PORT_NUMBER",
     .limit = 5,
     .inputKind = InputKind::Digits,
     .noteKey = "STR_DLG_RSDSTS_TXT_REMOTE_PORT_RANGE"},
    {.id = F::UserId, .name = "userid", .kind = EntryFieldKind::Text, .limit = 20},
    {.id = F::Colour,
     .name = "colour",
     .kind = EntryFieldKind::Choice,
     .textKey = "STR_DLG_RSDSTS_TXT_BW_GRAY_COLRO",
     .options = kColourOptions},
    {.id = F::Format,
     .name = "format",
     .kind = EntryFieldKind::Choice,
     .textKey = "STR_DLG_RSDSTS_TXT_ATTACHMENT_FILE_FORMAT",
     .options = kFormatOptions},
    {.id = F::Resolution,
     .name = "resolution",
     .kind = EntryFieldKind::Choice,
     .textKey = "STR_DLG_RSDSTS_TXT_RESOLUTION",
     .options = kResolutionOptions},
    {.id = F::Coding,
     .name = "coding",
     .kind = EntryFieldKind::Choice,
     .textKey = "STR_DLG_RSDSTS_TXT_CODING_METHOD",
     .options = kCodingOptions},
    {.id = F::Mode,
     .name = "mode",
     .kind = EntryFieldKind::Choice,
     .textKey = "STR_DLG_RSDSTS_TXT_MODE",
     .options = kModeOptions},
    {.id = F::Area,
     .name = "area",
     .kind = EntryFieldKind::Choice,
     .textKey = "STR_DLG_RSDSTS_TXT_SCAN_AREA",
     .options = kAreaOptions},
    {.id = F::Notify,
     .name = "notify",
     .kind = EntryFieldKind::Switch,
     .textKey = "STR_DLG_RSDSTS_CHK_E_MAIL_NOTIFICATION"},
    {.id = F::Notify1,
     .name = "notify1",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_NO_1",
     .limit = 64,
     .inputKind = InputKind::EmailAddress,
     .frameKey = "STR_DLG_RSDSTS_TXT_NOTIFICATION_ADDRESS"},
    {.id = F::Notify1 + 1,
     .name = "notify2",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_NO_2",
     .limit = 64,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Notify1 + 2,
     .name = "notify3",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_NO_3",
     .limit = 64,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Notify1 + 3,
     .name = "notify4",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_NO_4",
     .limit = 64,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Notify1 + 4,
     .name = "notify5",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_NO_5",
     .limit = 64,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Notify1 + 5,
     .name = "notify6",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_NO_6",
     .limit = 64,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Notify1 + 6,
     .name = "notify7",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_NO_7",
     .limit = 64,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Notify1 + 7,
     .name = "notify8",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_NO_8",
     .limit = 64,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Notify1 + 8,
     .name = "notify9",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_NO_9",
     .limit = 64,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Notify10,
     .name = "notify10",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_NO_10",
     .limit = 64,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Account,
     .name = "account",
     .kind = EntryFieldKind::Choice,
     .textKey = "STR_DLG_RSDSTS_TXT_ACCOUNT_INFORMATION",
     .options = kScanAccountOptions},
    {.id = F::User,
     .name = "user",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_USER_NAME",
     .limit = 20,
     .inputKind = InputKind::EmailAddress},
    {.id = F::Password,
     .name = "password",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_PASSWORD",
     .limit = 20,
     .inputKind = InputKind::EmailAddress,
     .flags = kEntrySecret},
    {.id = F::Confirm,
     .name = "confirm",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDSTS_TXT_CONFIRM",
     .limit = 20,
     .inputKind = InputKind::EmailAddress,
     .flags = kEntrySecret},
};
static_assert(IdsAreRows(kScanFields));

constexpr InputKind kServerKindFtp = InputKind::EmailAddress;
constexpr InputKind kServerKindSmb = InputKind::SmbPath; // a share path: backslashes allowed

// The texts an anonymous account shows in place of the user's.
constexpr std::u16string_view kAnonymousUser = u"Anonymous";
constexpr std::u16string_view kAnonymousPassword = u"tumbe";

std::int32_t Setting(const CValueStore& store, std::string_view page, std::string_view key)
{
    return store.GetItemNumber(page, key);
}

bool Offers(const CEntryField& field, std::int32_t value)
{
    return std::any_of(
        field.offered.begin(), field.offered.end(), [value](const CEntryOption& o) { return o.value == value; });
}

void SelectOrFirst(CEntryField& field, std::int32_t value)
{
    field.value = Offers(field, value) ? value : (field.offered.empty() ? -1 : field.offered.front().value);
}

} // namespace

std::span<const CEntryFieldDef> CScanEditor::FieldDefs()
{
    return kScanFields;
}

std::string_view CScanEditor::FrameKey(std::int32_t protocol)
{
    return protocol == kProtocolSmb ? "STR_DLG_RSDSTS_TXT_SMB" : "STR_DLG_RSDSTS_TXT_FTP";
}

std::string_view CScanEditor::ServerLabelKey(std::int32_t protocol)
{
    return protocol == kProtocolSmb ? "STR_DLG_RSDSTS_TXT_DESTINATION_ADDRESS"
                                    : "STR_DLG_RSDSTS_TXT_FTP_SERVER_ADDRESS";
}

CScanEditor::CScanEditor(const CAddressBook& book, std::int32_t number, const CEntryEnv& env)
    : CEntryForm(kScanFields)
    , m_env(env)
    , m_number(number)
{
    const CValueStore& store = *env.store;
    if (const CScanEntry* found = book.FindScanEntry(number)) {
        m_entry = *found;
        m_isNew = false;
    } else {
        m_entry.number = number;
        const std::int32_t fileSize = Setting(store, "SCAN_SET_DLG", "SCANNER_FILE_SIZE");
        m_entry.fileSize = fileSize >= 1 && fileSize <= 9 ? fileSize : 10;
        m_entry.colourMode = env.modelBit == 2 || env.modelBit == 4 ? 1 : 0;
        const std::int32_t resolution = Setting(store, "SCAN_SET_DLG", "SCANNER_RESOLUTION");
        m_entry.resolution = resolution == 0 || resolution == 2 ? resolution : 1;
        const std::int32_t quality = Setting(store, "SCAN_SET_DLG", "SCANNER_QUALITY_PRIORITY");
        m_entry.scanMode = quality == 0 || quality == 1 ? quality : 2;
        const std::int32_t format = Setting(store, "SCAN_SET_DLG", "SCANNER_IMAGE_FORMAT");
        m_entry.fileFormat = format == 1 || format == 2 ? format : 0;
        const std::int32_t coding = Setting(store, "SCAN_SET_DLG", "SCANNER_CODING_METHOD");
        m_entry.codingMethod = coding == 1 || coding == 2 ? coding : 0;
        m_entry.scanArea = Setting(store, "USER_SET_DLG", "USER_PRESET_ZOOM_CHANGE") == 0 ? 4 : 1;
    }
    Edit(F::Protocol).value = m_entry.protocol == kProtocolSmb ? kProtocolSmb : kProtocolFtp;
    Edit(F::Name).text = PanelBytesToText(m_entry.name.View(), store);
    Edit(F::Server).text = PanelBytesToText(TextToPanelBytes(m_entry.serverAddress), store);
    Edit(F::Directory).text = m_entry.directory;
    Edit(F::Proxy).value = m_entry.useProxy != 0 ? 1 : 0;
    Edit(F::Port).text = Utf8ToUtf16(std::to_string(m_entry.port));
    Edit(F::UserId).text = m_entry.userId;
    Edit(F::Notify).value = m_entry.mailNotification != 0 ? 1 : 0;
    for (std::size_t i = 0; i < kNotificationAddressCount; ++i) {
        Edit(static_cast<EntryFieldId>(F::Notify1 + i)).text = m_entry.notificationAddresses[i];
    }
    const std::pair<EntryFieldId, std::int32_t> choices[] = {{F::Colour, m_entry.colourMode},
                                                             {F::Format, m_entry.fileFormat},
                                                             {F::Resolution, m_entry.resolution},
                                                             {F::Coding, m_entry.codingMethod},
                                                             {F::Mode, m_entry.scanMode},
                                                             {F::Area, m_entry.scanArea}};
    for (const auto& [id, value] : choices) {
        SelectOrFirst(Edit(id), value);
    }
    const std::int32_t account = m_entry.account == kAccountPrivateSite ? kAccountPrivateSite : kAccountAnonymous;
    Edit(F::Account).value = account;
    m_savedUser = Edit(F::User).text = m_entry.userName;
    m_savedPassword = Edit(F::Password).text = m_entry.password;
    m_savedConfirm = Edit(F::Confirm).text = m_entry.password;

    ApplyProtocol();
    ApplyNotification();
    ApplyAccount(account);
    ApplyColourMode();
    if (m_isNew) {
        SelectOrFirst(Edit(F::Resolution), kResolution300);
        SelectOrFirst(Edit(F::Format), kFormatPdf);
    }
}

InputKind CScanEditor::ServerInputKind() const
{
    return Value(F::Protocol) == kProtocolSmb ? kServerKindSmb : kServerKindFtp;
}

CEntryInput CScanEditor::Changed(EntryFieldId id, std::int32_t previous)
{
    if (id == F::Protocol) {
        ApplyProtocol();
    } else if (id == F::Notify) {
        ApplyNotification();
    } else if (id == F::Account) {
        ApplyAccount(previous);
    } else if (id == F::Colour) {
        ApplyColourMode();
    }
    return {};
}

CEntryResult CScanEditor::Ok(CAddressBook& book) const
{
    const CValueStore& store = *m_env.store;
    const bool ftp = Value(F::Protocol) == kProtocolFtp;
    if (!TextPasses(F::Name, store)) {
        return {kMsgInvalidRangeValueThisLang, F::Name};
    }
    const std::u16string& server = Text(F::Server);
    if (!TextPasses(F::Server, store)) {
        return {kMsgInvalidRangeValueThisLang, F::Server};
    }
    if (server.empty()) {
        return {ftp ? kMsgFtpServerAddressErr : kMsgSmbAddressErr, F::Server};
    }
    if (!TextPasses(F::Directory, store) || (!ftp && Text(F::Directory).empty())) {
        return {kMsgInvalidRangeValueThisLang, F::Directory};
    }
    std::int64_t port = 0;
    if (ftp) {
        if (!TextPasses(F::Port, store)) {
            return {kMsgInvalidRangeValueThisLang, F::Port};
        }
        for (const char16_t c : Text(F::Port)) {
            port = port * 10 + (c - u'0');
        }
        if (port < 1 || port > 65535) {
            return {kMsgInvalidRangeValueThisLang, F::Port};
        }
    }
    if (Value(F::Notify) == 1) {
        bool any = false;
        for (EntryFieldId id = F::Notify1; id <= F::Notify10; ++id) {
            const std::u16string& address = Text(id);
            if (!TextPasses(id, store)) {
                return {kMsgInvalidRangeValueThisLang, id};
            }
            if (!address.empty() && !IsEmailAddress(address)) {
                return {kMsgEmailAddressErr, id};
            }
            any = any || !address.empty();
        }
        if (!any) {
            return {kMsgEmailAddressLeastOneErr, F::Notify1};
        }
    }
    if (Value(F::Account) == kAccountPrivateSite) {
        if (!TextPasses(F::User, store)) {
            return {kMsgInvalidRangeValueThisLang, F::User};
        }
        if (Text(F::User).empty()) {
            return {kMsgSmbUserNameInvalidErr, F::User};
        }
        for (const EntryFieldId id : {F::Password, F::Confirm}) {
            if (!TextPasses(id, store)) {
                return {kMsgInvalidRangeValueThisLang, id};
            }
        }
        if (Text(F::Confirm) != Text(F::Password)) {
            return {kMsgSdRetypePasswordErr, F::Confirm};
        }
    }

    CScanEntry entry = m_entry;
    entry.number = m_number;
    entry.protocol = Value(F::Protocol);
    entry.name.Assign(TextToPanelBytes(Text(F::Name), CNameField::kMaxLength));
    entry.serverAddress = server;
    entry.directory = Text(F::Directory);
    entry.userId = Text(F::UserId);
    entry.useProxy = Value(F::Proxy);
    // An SMB entry keeps the port it had; only FTP reads the field.
    if (ftp) {
        entry.port = static_cast<std::int32_t>(port);
    }
    entry.colourMode = Value(F::Colour);
    entry.fileFormat = Value(F::Format);
    entry.resolution = Value(F::Resolution);
    entry.codingMethod = Value(F::Coding);
    entry.scanMode = Value(F::Mode);
    entry.scanArea = Value(F::Area);
    entry.mailNotification = Value(F::Notify);
    for (std::size_t i = 0; i < kNotificationAddressCount; ++i) {
        entry.notificationAddresses[i] = Text(static_cast<EntryFieldId>(F::Notify1 + i));
    }
    entry.account = Value(F::Account);
    entry.userName = Text(F::User);
    entry.password = Text(F::Password);
    entry.passwordCopy = entry.password;
    entry.setDate = PackDeviceDate();
    if (const MessageCode code = book.PutScanEntry(std::move(entry)); code != kOk) {
        return {code, F::Name};
    }
    return {};
}

void CScanEditor::ApplyProtocol()
{
    const bool ftp = Value(F::Protocol) == kProtocolFtp;
    Show(F::Proxy, ftp);
    Show(F::Port, ftp);
    // The server field names and filters what the protocol reaches: a host, or a share path.
    CEntryField& server = Edit(F::Server);
    server.labelKey = ServerLabelKey(Value(F::Protocol));
    Edit(F::Name).frameKey = FrameKey(Value(F::Protocol));
    server.inputKind = ServerInputKind();
}

void CScanEditor::ApplyNotification()
{
    if (Setting(*m_env.store, "EMAIL_SET_DLG", "EMAIL_ENABLE") != 1) {
        Edit(F::Notify).value = 0;
        Enable(F::Notify, false);
    }
    for (EntryFieldId id = F::Notify1; id <= F::Notify10; ++id) {
        Enable(id, Value(F::Notify) == 1);
    }
}

void CScanEditor::ApplyAccount(std::int32_t previous)
{
    CEntryField& user = Edit(F::User);
    CEntryField& password = Edit(F::Password);
    CEntryField& confirm = Edit(F::Confirm);
    const bool anonymous = Value(F::Account) == kAccountAnonymous;
    if (anonymous) {
        if (previous == kAccountPrivateSite) {
            m_savedUser = user.text;
            m_savedPassword = password.text;
            m_savedConfirm = confirm.text;
        }
        user.text = kAnonymousUser;
        password.text = kAnonymousPassword;
        confirm.text = kAnonymousPassword;
    } else if (previous == kAccountAnonymous) {
        user.text = m_savedUser;
        password.text = m_savedPassword;
        confirm.text = m_savedConfirm;
    }
    for (const EntryFieldId id : {F::User, F::Password, F::Confirm}) {
        Enable(id, !anonymous);
    }
}

void CScanEditor::ApplyColourMode()
{
    const std::int32_t colour = Value(F::Colour);
    const std::uint32_t colourBit = colour == 1 ? kColourMaskGray : kColourMaskBw;
    for (const EntryFieldId id : {F::Format, F::Resolution}) {
        CEntryField& field = Edit(id);
        field.offered.clear();
        for (const CEntryOption& option : field.def->options) {
            if ((option.modelMask & m_env.modelBit) != 0 && (option.colourMask & colourBit) != 0) {
                field.offered.push_back(option);
            }
        }
    }
    CEntryField& format = Edit(F::Format);
    CEntryField& resolution = Edit(F::Resolution);
    CEntryField& coding = Edit(F::Coding);
    if (colour == 0) {
        Enable(F::Coding, true);
        SelectOrFirst(format, format.value == kFormatJpeg ? kFormatPdf : format.value);
        SelectOrFirst(resolution, resolution.value);
    } else {
        Enable(F::Coding, false);
        coding.value = coding.offered.front().value;
        SelectOrFirst(format, format.value);
        SelectOrFirst(resolution, resolution.value == kResolution600 ? kResolution300 : resolution.value);
    }
}

} // namespace qzb
