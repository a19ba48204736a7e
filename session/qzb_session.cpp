#include "session/qzb_session.h"

#include "addressbook/contacts_import.h"
#include "addressbook/csv_exchange.h"
#include "app/app_context.h"
#include "app/english_texts.h"
#include "app/folders.h"
#include "app/messenger.h"
#include "app/preferences.h"
#include "base/file_lock.h"
#include "device/device_protocol.h"
#include "files/backups.h"
#include "files/dat_commands.h"
#include "files/dat_file.h"
#include "model/panel_code.h"
#include "pages/state_diff.h"

#include <chrono>

namespace qzb {

namespace {

using namespace SessionChange;

} // namespace

CQZBSession::CQZBSession(CAppContext& context,
                         CMessenger& messenger,
                         IPreferences& preferences,
                         CDeviceProtocol* protocol,
                         std::filesystem::path localDataRoot)
    : m_context(context)
    , m_messenger(messenger)
    , m_preferences(preferences)
    , m_protocol(protocol)
    , m_localDataRoot(std::move(localDataRoot))
    , m_servicePassword(ReadServiceManPassword(preferences))
{
}

CQZBSession::~CQZBSession() = default;

bool CQZBSession::CanCompareWithDevice() const
{
    return ServiceMan() && Online() && m_deviceState != nullptr && (m_state & kStateFileData) != 0 && !m_busy;
}

std::filesystem::path CQZBSession::DataFolder() const
{
    const std::filesystem::path folder = DefaultDataFolder(m_localDataRoot, *m_context.profile);
    CreateFolderPath(folder);
    return folder;
}

int CQZBSession::Ask(MessageCode code, ButtonSet buttons, std::u16string_view insert)
{
    if (m_unattended) {
        return buttons == ButtonSet::YesNoCancel ? kAnswerYes : kAnswerOk;
    }
    return m_messenger.ShowMessage(
        code, m_owner, buttons, insert.empty() ? std::nullopt : std::optional<std::u16string_view>(insert));
}

void CQZBSession::Tell(MessageCode code)
{
    m_messenger.ShowMessage(code, m_owner);
}

bool CQZBSession::CommitCurrentPage()
{
    if (m_pages == nullptr) {
        return true;
    }
    const CCheckResult commit = m_pages->CommitCurrent();
    if (!commit.Ok()) {
        m_messenger.ShowMessage(commit.code, m_owner, commit.inserts);
        m_pages->FocusRefusal(commit);
    }
    return commit.Ok();
}

void CQZBSession::StoreAllPages()
{
    if (m_pages != nullptr) {
        m_pages->StoreAll();
    }
}

MessageCode CQZBSession::RunDevice(std::uint32_t operation, const std::function<MessageCode()>& work)
{
    if (m_protocol == nullptr) {
        return kMsgConnectUsb;
    }
    m_busy = true;
    const MessageCode result = m_transfers != nullptr ? m_transfers->Run(operation, work) : work();
    m_busy = false;
    return result;
}

MessageCode CQZBSession::RunOperation(std::uint32_t operation)
{
    const std::uint32_t state = m_state;
    return RunDevice(operation, [this, operation, state] { return m_protocol->DoDeviceOperation(operation, state); });
}

void CQZBSession::GoOffline()
{
    m_state &= ~kStateOnline;
    // Another program may change the device before the next connection.
    m_deviceState.reset();
}

void CQZBSession::AfterTransfer(MessageCode result)
{
    if (result == kMsgAlreadyReported) {
        GoOffline();
    } else if (result != kOk) {
        // 0x80010002 too: a transfer broken half-way must not look like a success.
        Tell(result);
    }
}

CSessionOutcome CQZBSession::Connect()
{
    const MessageCode result = RunOperation(kOperationConnect);
    if (result == kOk) {
        m_state |= kStateOnline;
        m_deviceState.reset();
    } else {
        AfterTransfer(result);
    }
    return {result, kCommands};
}

CSessionOutcome CQZBSession::Disconnect()
{
    const MessageCode result = m_protocol != nullptr ? RunOperation(kOperationDisconnect) : kOk;
    if (result == kOk || result == kMsgAlreadyReported) {
        GoOffline();
    } else {
        Tell(result);
    }
    return {result, kCommands};
}

CSessionOutcome CQZBSession::SenseFailed(MessageCode code)
{
    if (m_closing) {
        return {};
    }
    m_messenger.ShowMessage(code);
    if (m_protocol != nullptr) {
        m_protocol->EndSession();
    }
    GoOffline();
    return {code, kCommands};
}

CSessionOutcome CQZBSession::Download()
{
    const bool dataPresent = DataPresent();
    if (dataPresent && Ask(kMsgUseMachineData, ButtonSet::OkCancel) != kAnswerOk) {
        return {};
    }
    const MessageCode result = RunOperation(kOperationDownload);
    if (result != kOk) {
        AfterTransfer(result);
        return {result, kCommands};
    }
    m_state |= kStateDeviceData;
    KeepDeviceState(true);
    // Every download is kept, so the device's state before any change can be opened again.
    if (!m_unattended) {
        const std::filesystem::path folder = DataFolder();
        if (WriteDownloadBackup(folder, m_context, std::chrono::system_clock::now(), kKeptBackups) != kOk) {
            Ask(kMsgBackupNotWritten, ButtonSet::Ok, (folder / "backups").u16string());
        }
    }
    if (m_pages != nullptr) {
        m_pages->ReloadAll();
        if (dataPresent) {
            m_pages->CommitCurrent();
        }
    }
    return {kOk, kCommands | kBook | kPagesLoaded | kSelectFirst};
}

void CQZBSession::KeepDeviceState(bool whole)
{
    if (whole) {
        m_deviceState = std::make_unique<CMachineState>(CMachineState{m_context.store, m_context.device});
    } else if (m_deviceState != nullptr) {
        // Outside service-man mode an upload carries the directory alone.
        m_deviceState->device.book = m_context.device.book;
    }
}

MessageCode CQZBSession::ReadDeviceState()
{
    auto copy = std::make_unique<CMachineState>(CMachineState{m_context.store, m_context.device});
    const MessageCode result =
        RunDevice(kOperationDownload, [this, &copy] { return m_protocol->ReadDeviceState(copy->store, copy->device); });
    if (result == kOk) {
        m_deviceState = std::move(copy);
    }
    return result;
}

CSessionPreview CQZBSession::Preview(const CMachineState* device) const
{
    CSessionPreview preview;
    if (device == nullptr) {
        preview.deviceKnown = false;
        preview.empty = false;
        return preview;
    }
    return PreviewOf(*device, CMachineState{m_context.store, m_context.device});
}

CSessionPreview CQZBSession::PreviewOf(const CMachineState& before, const CMachineState& after) const
{
    CSessionPreview preview;
    const DiffScope scope = ServiceMan() ? DiffScope::ServiceUpload : DiffScope::Upload;
    const CDiffEnv env{&m_context.strings, m_context.modelBit};
    const CStateDiff diff = DiffStates(before, after, env, scope);
    preview.empty = diff.Empty();
    preview.summary = DiffSummary(diff, env);
    preview.lines = DiffLines(diff, env);
    return preview;
}

CSessionOutcome CQZBSession::Upload()
{
    if (!CommitCurrentPage()) {
        return {kMsgAlreadyReported, 0};
    }
    // A window asks once, in the preview, which carries the question above the changes; a caller
    // without one is asked the question alone.
    if (m_views == nullptr && Ask(kMsgUsePcData, ButtonSet::OkCancel) != kAnswerOk) {
        return {};
    }
    StoreAllPages();
    if (m_views != nullptr) {
        // The preview compares with what the device holds. When this connection has not read it,
        // it is read now into a copy, so that an opened file is never taken for the device.
        if (m_deviceState == nullptr && Online() && m_protocol != nullptr) {
            if (const MessageCode read = ReadDeviceState(); read == kMsgAlreadyReported) {
                GoOffline();
                return {read, kCommands};
            }
        }
        if (!m_views->ConfirmUpload(Preview(m_deviceState.get()))) {
            return {};
        }
    }
    const MessageCode result = RunOperation(kOperationUpload);
    if (result == kOk) {
        KeepDeviceState(ServiceMan());
    } else {
        AfterTransfer(result);
    }
    return {result, kCommands};
}

std::optional<std::filesystem::path> CQZBSession::ChooseFile(FileKind kind, bool save) const
{
    if (m_files == nullptr) {
        return std::nullopt;
    }
    // The dialog starts at the file of that kind used last, else at a new file in the data folder.
    if (kind == FileKind::Vcf) {
        const std::filesystem::path start = DataFolder() / "contacts.vcf";
        return save ? m_files->ChooseSave(kind, start) : m_files->ChooseOpen(kind, DataFolder());
    }
    const bool dat = kind == FileKind::Dat;
    const std::filesystem::path remembered = m_preferences.ReadText(dat ? kPrefDatFilePath : kPrefCsvFilePath, u"");
    std::error_code error;
    const std::filesystem::path start = !remembered.empty() && std::filesystem::is_regular_file(remembered, error)
                                            ? remembered
                                            : DataFolder() / (dat ? "NewFile.Dat" : "NewFile.csv");
    return save ? m_files->ChooseSave(kind, start) : m_files->ChooseOpen(kind, start);
}

void CQZBSession::MakeCurrentFile(const std::filesystem::path& path)
{
    m_datPath = path;
    m_state |= kStateFileData;
    m_preferences.WriteText(kPrefDatFilePath, path.u16string());
    m_preferences.WriteText(kPrefDatFileName, path.filename().u16string());
}

CSessionOutcome CQZBSession::Open()
{
    if (!ServiceMan()) {
        return {};
    }
    if ((m_state & (kStateDeviceData | kStateFileData)) != 0 &&
        Ask(kMsgOpenUseFileData, ButtonSet::OkCancel) != kAnswerOk) {
        return {};
    }
    const std::optional<std::filesystem::path> chosen = ChooseFile(FileKind::Dat, false);
    if (!chosen) {
        return {};
    }
    return OpenFile(*chosen);
}

CSessionOutcome CQZBSession::OpenFile(const std::filesystem::path& path)
{
    return LoadDatFile(path, true);
}

CSessionOutcome CQZBSession::LoadDatFile(const std::filesystem::path& path, bool makeCurrent)
{
    if (const MessageCode family = CheckDatFamily(path, m_context.modelCode); family != kOk) {
        const MessageCode shown = family == kMsgOpenFileError ? kMsgServicemanOpenFileError : family;
        Tell(shown);
        return {shown, 0};
    }
    const std::uint32_t modelBit = m_context.modelBit;
    if (const MessageCode opened = OpenDatFile(path, m_context, TranslatedTexts(m_context.strings)); opened != kOk) {
        Tell(opened);
        return {opened, 0};
    }
    std::uint32_t changes = kCommands | kBook | kTree | kSelectFirst | kPagesLoaded;
    if (makeCurrent) {
        MakeCurrentFile(path);
        changes |= kFile;
    } else {
        m_state |= kStateFileData;
    }
    // A file of another model of the family switches the utility to that model: its pages are made
    // anew by the front end, which loads them then.
    if (m_context.modelBit != modelBit) {
        changes |= kModel;
    } else if (m_pages != nullptr) {
        m_pages->ReloadAll();
    }
    return {kOk, changes};
}

CSessionOutcome CQZBSession::WriteFile(const std::filesystem::path& path)
{
    // A qzbctl command changing the file meanwhile is let finish first, so that the file is never
    // written under its feet.
    CFileLock lock;
    if (!lock.Acquire(WithDatExtension(path))) {
        Ask(kMsgFileInUse, ButtonSet::Ok, WithDatExtension(path).u16string());
        return {kMsgFileInUse, 0};
    }
    if (const MessageCode saved = WriteDatFile(path, m_context); saved != kOk) {
        Tell(saved);
        return {saved, 0};
    }
    MakeCurrentFile(path);
    return {kOk, kCommands | kFile};
}

CSessionOutcome CQZBSession::Save()
{
    if (!ServiceMan() || !CommitCurrentPage()) {
        return {};
    }
    if (m_datPath.empty()) {
        return SaveAs();
    }
    StoreAllPages();
    return WriteFile(m_datPath);
}

CSessionOutcome CQZBSession::SaveAs()
{
    if (!ServiceMan() || !CommitCurrentPage()) {
        return {};
    }
    const std::optional<std::filesystem::path> chosen = ChooseFile(FileKind::Dat, true);
    if (!chosen) {
        return {};
    }
    StoreAllPages();
    return WriteFile(DatPathWithExtension(*chosen));
}

CSessionOutcome CQZBSession::CompareWithDevice()
{
    if (m_deviceState == nullptr || !CommitCurrentPage()) {
        return {};
    }
    StoreAllPages();
    if (m_views != nullptr) {
        m_views->ShowComparison(Preview(m_deviceState.get()));
    }
    return {};
}

void CQZBSession::Report(const CCsvReport& report, bool imported)
{
    // An import always says what it read, so that a file with nothing usable is not taken for a good one.
    if ((!imported && report.notes.empty()) || m_views == nullptr) {
        return;
    }
    const TextLookup texts = TranslatedTexts(m_context.strings);
    CSessionReport shown;
    if (imported) {
        shown.summary = CsvReadSummary(report.read, texts);
    }
    if (!report.notes.empty()) {
        shown.notesHeading = texts(imported ? "STR_MSG_CSV_IMPORT_NOTES" : "STR_MSG_CSV_EXPORT_NOTES");
    }
    for (const CCsvNote& note : report.notes) {
        shown.notes.push_back(CsvNoteLine(note, texts));
    }
    m_views->ShowReport(shown);
}

CSessionOutcome CQZBSession::ImportCsv()
{
    if (!CommitCurrentPage()) {
        return {};
    }
    if ((m_state & (kStateDeviceData | kStateFileData)) != 0 &&
        Ask(kMsgUseFileData, ButtonSet::OkCancel) != kAnswerOk) {
        return {};
    }
    const std::optional<std::filesystem::path> chosen = ChooseFile(FileKind::Csv, false);
    if (!chosen) {
        return {};
    }
    CCsvReport report;
    if (const MessageCode code =
            ImportAddressBook(*chosen, m_context.device.book, m_context.store, PackDeviceDate(), &report);
        code != kOk) {
        Tell(code);
        return {code, 0};
    }
    m_preferences.WriteText(kPrefCsvFilePath, chosen->u16string());
    m_preferences.WriteText(kPrefCsvFileName, chosen->filename().u16string());
    m_state |= kStateCsvData;
    if (m_pages != nullptr) {
        m_pages->ReloadAll();
    }
    Report(report, true);
    return {kOk, kCommands | kBook | kTree | kSelectFirst | kPagesLoaded};
}

CSessionOutcome CQZBSession::ExportCsv()
{
    if (!CommitCurrentPage()) {
        return {};
    }
    const std::optional<std::filesystem::path> chosen = ChooseFile(FileKind::Csv, true);
    if (!chosen) {
        return {};
    }
    const std::filesystem::path path = WithCsvExtension(*chosen);
    StoreAllPages();
    CCsvReport report;
    if (const MessageCode code = ExportAddressBook(
            path, m_context.device.book, m_context.store, TranslatedTexts(m_context.strings), &report);
        code != kOk) {
        Tell(code);
        return {code, 0};
    }
    m_preferences.WriteText(kPrefCsvFilePath, path.u16string());
    m_preferences.WriteText(kPrefCsvFileName, path.filename().u16string());
    Report(report, false);
    return {};
}

CSessionOutcome CQZBSession::ImportContacts()
{
    if (!CommitCurrentPage()) {
        return {};
    }
    const std::optional<std::filesystem::path> chosen = ChooseFile(FileKind::Vcf, false);
    if (!chosen || m_views == nullptr) {
        return {};
    }
    CVCardFile file;
    if (MessageCode code = ReadContactsFile(*chosen, file); code != kOk || file.cards.empty()) {
        code = code != kOk ? code : kMsgReadFileError; // no card at all (or an encoding not read): not a vCard file
        Tell(code);
        return {code, 0};
    }
    const std::vector<CVCard>& cards = file.cards;
    StoreAllPages();
    const TextLookup texts = TranslatedTexts(m_context.strings);
    const std::uint16_t today = PackDeviceDate();
    auto plan = [&](const CContactsOptions& options) {
        return PlanContactsImport(file, m_context.device.book, m_context.store, options, today);
    };
    CContactsOptions options;
    const bool confirmed = m_views->ConfirmContactsImport(options, [&](const CContactsOptions& chosenOptions) {
        const CContactsPlan planned = plan(chosenOptions);
        CContactsPreview preview;
        preview.summary = ContactsPlanSummary(planned, texts);
        preview.rows = planned.rows;
        for (const CContactNote& note : planned.notes) {
            preview.notes.push_back(ContactNoteLine(note, cards, texts));
        }
        return preview;
    });
    if (!confirmed) {
        return {};
    }
    CContactsPlan planned = plan(options);
    if (planned.rows.empty()) {
        return {};
    }
    ApplyContactsPlan(planned, m_context.device.book);
    // The book now holds entries that no device or file gave: an upload or save may carry them.
    m_state |= kStateCsvData;
    return {kOk, kCommands | kBook};
}

CSessionOutcome CQZBSession::ExportContacts()
{
    if (!CommitCurrentPage()) {
        return {};
    }
    if (m_context.device.book.FaxMailEntries().empty()) {
        Tell(kMsgVcfNothingToExport);
        return {kMsgVcfNothingToExport, 0};
    }
    const std::optional<std::filesystem::path> chosen = ChooseFile(FileKind::Vcf, true);
    if (!chosen) {
        return {};
    }
    StoreAllPages();
    if (const MessageCode code =
            qzb::ExportContacts(*chosen, m_context.device.book, m_context.store, TranslatedTexts(m_context.strings));
        code != kOk) {
        Tell(code);
        return {code, 0};
    }
    return {};
}

std::vector<CBackupFile> CQZBSession::Backups() const
{
    return ListBackups(DataFolder(), m_context.profile->shortCode);
}

CSessionPreview CQZBSession::CompareBackup(const std::filesystem::path& backup) const
{
    CAppContext loaded(m_context.modelCode);
    if (CheckDatFamily(backup, m_context.modelCode) != kOk || OpenDatFile(backup, loaded) != kOk) {
        CSessionPreview unreadable;
        unreadable.deviceKnown = false;
        unreadable.empty = false;
        return unreadable;
    }
    return PreviewOf(CMachineState{m_context.store, m_context.device}, CMachineState{loaded.store, loaded.device});
}

CSessionOutcome CQZBSession::RestoreBackup()
{
    if (!CommitCurrentPage() || m_views == nullptr) {
        return {};
    }
    // Outside service-man mode the user edits and uploads the directory alone: the question speaks
    // of it, not of settings the user cannot see.
    if ((m_state & (kStateDeviceData | kStateFileData | kStateCsvData)) != 0 &&
        Ask(ServiceMan() ? kMsgOpenUseFileData : kMsgRestoreDirectory, ButtonSet::OkCancel) != kAnswerOk) {
        return {};
    }
    StoreAllPages();
    const std::vector<CBackupFile> backups = Backups();
    const std::optional<std::filesystem::path> chosen = m_views->ChooseBackup(
        backups, [&](std::size_t index) { return CompareBackup(backups.at(index).path); }, !ServiceMan());
    if (!chosen) {
        return {};
    }
    return LoadDatFile(*chosen, false);
}

bool CQZBSession::LeavePage(std::uint32_t typeCode)
{
    if ((typeCode & kSettingsPageBit) == 0 || m_lookOnly) {
        return true;
    }
    return CommitCurrentPage();
}

AboutAction CQZBSession::About(bool ctrlHeld, bool shiftHeld) const
{
    // The XJW profile has no service-man entry through the About item.
    constexpr std::uint32_t kXjwModelBit = 4;
    const bool serviceEntry = m_context.modelBit != kXjwModelBit && ctrlHeld && shiftHeld && !ServiceMan();
    return serviceEntry ? AboutAction::ServiceManPassword : AboutAction::AboutBox;
}

CSessionOutcome CQZBSession::EnterServiceMan(std::u16string_view password)
{
    if (ServiceMan()) {
        return {};
    }
    if (password != m_servicePassword) {
        return {kMsgSmPasswordErr, 0};
    }
    if (m_pages != nullptr) {
        m_pages->CommitCurrent();
    }
    m_state |= kStateServiceMan;
    return {kOk, kCommands | kTree | kServiceMan | kSelectFirst};
}

std::filesystem::path CQZBSession::HelpFile()
{
    const std::filesystem::path& help = m_context.helpFilePath;
    std::error_code error;
    if (help.empty() || !std::filesystem::is_regular_file(help, error)) {
        Ask(kMsgHelpFileMissing, ButtonSet::Ok, help.u16string());
        return {};
    }
    return help;
}

bool CQZBSession::SaveOrUploadBeforeClosing(bool fileData)
{
    if (!CommitCurrentPage()) {
        return false;
    }
    StoreAllPages();
    if (fileData) {
        const MessageCode saved = WriteDatFile(m_datPath, m_context);
        if (saved != kOk) {
            Tell(saved);
        }
        return saved == kOk;
    }
    const MessageCode result = RunOperation(kOperationUpload);
    AfterTransfer(result);
    return result == kOk;
}

bool CQZBSession::Close()
{
    if (m_busy) {
        return false;
    }
    // No sense failure is reported while the window closes.
    m_closing = true;
    int answer = kAnswerNo;
    const bool fileData = (m_state & kStateFileData) != 0;
    if (fileData) {
        answer = Ask(kMsgTerminationSave, ButtonSet::YesNoCancel, m_datPath.u16string());
    } else if ((m_state & (kStateCsvData | kStateDeviceData)) != 0 && Online()) {
        answer = Ask(kMsgTerminationUpdate, ButtonSet::YesNoCancel);
    }
    // The edits are not on the device or in the file yet when the save or upload failed.
    if ((answer != kAnswerYes && answer != kAnswerNo) ||
        (answer == kAnswerYes && !SaveOrUploadBeforeClosing(fileData))) {
        m_closing = false;
        return false;
    }
    if (Online()) {
        Disconnect();
    }
    return true;
}

CSessionOutcome CQZBSession::BookEdited()
{
    return {kOk, kCommands | kBook};
}

} // namespace qzb
