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

constexpr CEntryOption kProtocolOptions[] = {
    {"ftp", "STR_DLG_RSDSTS_RAD_FTP", kProtocolFtp},
    {"smb", "STR_DLG_RSDSTS_RAD_SMB", kProtocolSmb},
};
constexpr CEntryOption kAccountOptions[] = {
    {"anonymous", "STR_DLG_RSDSTS_RAD_ANONYMOUS", kAccountAnonymous},
    {"private", "STR_DLG_RSDSTS_RAD_PRIVATE_SITE", kAccountPrivateSite},
};
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

constexpr std::string_view kNotifyNames[kNotificationAddressCount] = {
    "notify1", "notify2", "notify3", "notify4", "notify5", "notify6", "notify7", "notify8", "notify9", "notify10"};

constexpr CEntryFieldDef kScanFields[] = {
    {"protocol", EntryFieldKind::Choice, {}, 0, 0, kProtocolOptions},
    {"name", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_DESTINATION_NAME", 20, 6},
    {"server", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_FTP_SERVER_ADDRESS", 64, 7},
    {"directory", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_DIRECTORY", 128, 7},
    {"proxy", EntryFieldKind::Switch, "STR_DLG_RSDSTS_CHK_USE_PROXY"},
    {"port", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_REMOTE_PORT_NUMBER", 5, 4},
    {"userid", EntryFieldKind::Text, {}, 20, 0},
    {"colour", EntryFieldKind::Choice, "STR_DLG_RSDSTS_TXT_BW_GRAY_COLRO", 0, 0, kColourOptions},
    {"format", EntryFieldKind::Choice, "STR_DLG_RSDSTS_TXT_ATTACHMENT_FILE_FORMAT", 0, 0, kFormatOptions},
    {"resolution", EntryFieldKind::Choice, "STR_DLG_RSDSTS_TXT_RESOLUTION", 0, 0, kResolutionOptions},
    {"coding", EntryFieldKind::Choice, "STR_DLG_RSDSTS_TXT_CODING_METHOD", 0, 0, kCodingOptions},
    {"mode", EntryFieldKind::Choice, "STR_DLG_RSDSTS_TXT_MODE", 0, 0, kModeOptions},
    {"area", EntryFieldKind::Choice, "STR_DLG_RSDSTS_TXT_SCAN_AREA", 0, 0, kAreaOptions},
    {"notify", EntryFieldKind::Switch, "STR_DLG_RSDSTS_CHK_E_MAIL_NOTIFICATION"},
    {"notify1", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_NO_1", 64, 7},
    {"notify2", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_NO_2", 64, 7},
    {"notify3", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_NO_3", 64, 7},
    {"notify4", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_NO_4", 64, 7},
    {"notify5", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_NO_5", 64, 7},
    {"notify6", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_NO_6", 64, 7},
    {"notify7", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_NO_7", 64, 7},
    {"notify8", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_NO_8", 64, 7},
    {"notify9", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_NO_9", 64, 7},
    {"notify10", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_NO_10", 64, 7},
    {"account", EntryFieldKind::Choice, "STR_DLG_RSDSTS_TXT_ACCOUNT_INFORMATION", 0, 0, kAccountOptions},
    {"user", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_USER_NAME", 20, 7},
    {"password", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_PASSWORD", 20, 7},
    {"confirm", EntryFieldKind::Text, "STR_DLG_RSDSTS_TXT_CONFIRM", 20, 7},
};

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
    Field("protocol").value = m_entry.protocol == kProtocolSmb ? kProtocolSmb : kProtocolFtp;
    Field("name").text = PanelBytesToText(m_entry.name.View(), store);
    Field("server").text = PanelBytesToText(TextToPanelBytes(m_entry.serverAddress), store);
    Field("directory").text = m_entry.directory;
    Field("proxy").value = m_entry.useProxy != 0 ? 1 : 0;
    Field("port").text = Utf8ToUtf16(std::to_string(m_entry.port));
    Field("userid").text = m_entry.userId;
    Field("notify").value = m_entry.mailNotification != 0 ? 1 : 0;
    for (std::size_t i = 0; i < kNotificationAddressCount; ++i) {
        Field(kNotifyNames[i]).text = m_entry.notificationAddresses[i];
    }
    const std::pair<std::string_view, std::int32_t> choices[] = {{"colour", m_entry.colourMode},
                                                                 {"format", m_entry.fileFormat},
                                                                 {"resolution", m_entry.resolution},
                                                                 {"coding", m_entry.codingMethod},
                                                                 {"mode", m_entry.scanMode},
                                                                 {"area", m_entry.scanArea}};
    for (const auto& [name, value] : choices) {
        SelectOrFirst(Field(name), value);
    }
    const std::int32_t account = m_entry.account == kAccountPrivateSite ? kAccountPrivateSite : kAccountAnonymous;
    Field("account").value = account;
    m_savedUser = Field("user").text = m_entry.userName;
    m_savedPassword = Field("password").text = m_entry.password;
    m_savedConfirm = Field("confirm").text = m_entry.password;

    ApplyProtocol();
    ApplyNotification();
    ApplyAccount(account);
    ApplyColourMode();
    if (m_isNew) {
        SelectOrFirst(Field("resolution"), kResolution300);
        SelectOrFirst(Field("format"), kFormatPdf);
    }
}

std::int32_t CScanEditor::ServerInputKind() const
{
    return Value("protocol") == kProtocolSmb ? 17 : 7;
}

CEntryInput CScanEditor::SetField(std::string_view name, std::u16string_view value)
{
    if (!Find(name)) {
        return {EntryRefusal::UnknownField};
    }
    const std::int32_t account = Value("account");
    if (const EntryRefusal refusal = ApplyValue(Field(name), value); refusal != EntryRefusal::None) {
        return {refusal};
    }
    if (name == "protocol") {
        ApplyProtocol();
    } else if (name == "notify") {
        ApplyNotification();
    } else if (name == "account") {
        ApplyAccount(account);
    } else if (name == "colour") {
        ApplyColourMode();
    }
    return {};
}

CEntryResult CScanEditor::Ok(CAddressBook& book) const
{
    const CValueStore& store = *m_env.store;
    const bool ftp = Value("protocol") == kProtocolFtp;
    if (!TextPasses("name", store)) {
        return {kMsgInvalidRangeValueThisLang, "name"};
    }
    const std::u16string& server = Text("server");
    if (!IsInputTextValid(server, ServerInputKind(), store)) {
        return {kMsgInvalidRangeValueThisLang, "server"};
    }
    if (server.empty()) {
        return {ftp ? kMsgFtpServerAddressErr : kMsgSmbAddressErr, "server"};
    }
    if (!TextPasses("directory", store) || (!ftp && Text("directory").empty())) {
        return {kMsgInvalidRangeValueThisLang, "directory"};
    }
    std::int64_t port = 0;
    if (ftp) {
        if (!TextPasses("port", store)) {
            return {kMsgInvalidRangeValueThisLang, "port"};
        }
        for (const char16_t c : Text("port")) {
            port = port * 10 + (c - u'0');
        }
        if (port < 1 || port > 65535) {
            return {kMsgInvalidRangeValueThisLang, "port"};
        }
    }
    if (Value("notify") == 1) {
        bool any = false;
        for (const std::string_view name : kNotifyNames) {
            const std::u16string& address = Text(name);
            if (!TextPasses(name, store)) {
                return {kMsgInvalidRangeValueThisLang, name};
            }
            if (!address.empty() && !IsEmailSyntaxValid(address)) {
                return {kMsgEmailAddressErr, name};
            }
            any = any || !address.empty();
        }
        if (!any) {
            return {kMsgEmailAddressLeastOneErr, kNotifyNames[0]};
        }
    }
    if (Value("account") == kAccountPrivateSite) {
        if (!TextPasses("user", store)) {
            return {kMsgInvalidRangeValueThisLang, "user"};
        }
        if (Text("user").empty()) {
            return {kMsgSmbUserNameInvalidErr, "user"};
        }
        for (const std::string_view name : {"password", "confirm"}) {
            if (!TextPasses(name, store)) {
                return {kMsgInvalidRangeValueThisLang, name};
            }
        }
        if (Text("confirm") != Text("password")) {
            return {kMsgSdRetypePasswordErr, "confirm"};
        }
    }

    CScanEntry entry = m_entry;
    entry.number = m_number;
    entry.protocol = Value("protocol");
    entry.name.Assign(TextToPanelBytes(Text("name"), CNameField::kMaxLength));
    entry.serverAddress = server;
    entry.directory = Text("directory");
    entry.userId = Text("userid");
    entry.useProxy = Value("proxy");
    // An SMB entry keeps the port it had; only FTP reads the field.
    if (ftp) {
        entry.port = static_cast<std::int32_t>(port);
    }
    entry.colourMode = Value("colour");
    entry.fileFormat = Value("format");
    entry.resolution = Value("resolution");
    entry.codingMethod = Value("coding");
    entry.scanMode = Value("mode");
    entry.scanArea = Value("area");
    entry.mailNotification = Value("notify");
    for (std::size_t i = 0; i < kNotificationAddressCount; ++i) {
        entry.notificationAddresses[i] = Text(kNotifyNames[i]);
    }
    entry.account = Value("account");
    entry.userName = Text("user");
    entry.password = Text("password");
    entry.passwordCopy = entry.password;
    entry.setDate = PackDeviceDate();
    if (const MessageCode code = book.PutScanEntry(std::move(entry)); code != kOk) {
        return {code, "name"};
    }
    return {};
}

void CScanEditor::ApplyProtocol()
{
    const bool ftp = Value("protocol") == kProtocolFtp;
    Show("proxy", ftp);
    Show("port", ftp);
}

void CScanEditor::ApplyNotification()
{
    if (Setting(*m_env.store, "EMAIL_SET_DLG", "EMAIL_ENABLE") != 1) {
        Field("notify").value = 0;
        Enable("notify", false);
    }
    for (const std::string_view name : kNotifyNames) {
        Enable(name, Value("notify") == 1);
    }
}

void CScanEditor::ApplyAccount(std::int32_t previous)
{
    CEntryField& user = Field("user");
    CEntryField& password = Field("password");
    CEntryField& confirm = Field("confirm");
    const bool anonymous = Value("account") == kAccountAnonymous;
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
    for (const std::string_view name : {"user", "password", "confirm"}) {
        Enable(name, !anonymous);
    }
}

void CScanEditor::ApplyColourMode()
{
    const std::int32_t colour = Value("colour");
    const std::uint32_t colourBit = colour == 1 ? kColourMaskGray : kColourMaskBw;
    for (const std::string_view name : {"format", "resolution"}) {
        CEntryField& field = Field(name);
        field.offered.clear();
        for (const CEntryOption& option : field.def->options) {
            if ((option.modelMask & m_env.modelBit) != 0 && (option.colourMask & colourBit) != 0) {
                field.offered.push_back(option);
            }
        }
    }
    CEntryField& format = Field("format");
    CEntryField& resolution = Field("resolution");
    CEntryField& coding = Field("coding");
    if (colour == 0) {
        Enable("coding", true);
        SelectOrFirst(format, format.value == kFormatJpeg ? kFormatPdf : format.value);
        SelectOrFirst(resolution, resolution.value);
    } else {
        Enable("coding", false);
        coding.value = coding.offered.front().value;
        SelectOrFirst(format, format.value);
        SelectOrFirst(resolution, resolution.value == kResolution600 ? kResolution300 : resolution.value);
    }
}

} // namespace qzb
