#pragma once

#include "app/message_presenter.h"
#include "base/message_codes.h"
#include "base/window_state.h"
#include "session/session_ports.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

class CDeviceProtocol;
class CMessenger;
class IPreferences;
struct CAppContext;
struct CMachineState;

// What a command changed that a front end must draw again.
namespace SessionChange {
inline constexpr std::uint32_t kCommands = 0x01; // the state word or the data: command states, banner
inline constexpr std::uint32_t kBook = 0x02; // the address book: the dial branch and its lists
inline constexpr std::uint32_t kTree = 0x04; // the mode or the model: the navigation tree anew
inline constexpr std::uint32_t kModel = 0x08; // the running model: pages made anew for it
inline constexpr std::uint32_t kFile = 0x10; // the current settings file: the caption
inline constexpr std::uint32_t kSelectFirst = 0x20; // select and focus the first tree node
inline constexpr std::uint32_t kPagesLoaded = 0x40; // every page was loaded from the store
inline constexpr std::uint32_t kServiceMan = 0x80; // service-man mode began: its pages are needed
} // namespace SessionChange

struct CSessionOutcome
{
    MessageCode code = kOk; // the command's result; shown already where it needed showing
    std::uint32_t changes = 0; // SessionChange bits
};

// What the About entry opens.
enum class AboutAction : std::uint8_t { AboutBox, ServiceManPassword };

// The main window's state as a model: the data, the connection and the mode (the window state
// word), the device's last known state and the opened settings file, with one operation per
// command. Questions and messages go through the messenger as catalogue codes; file dialogs,
// page commits, transfers and previews through the ports, which headless callers leave unset.
class CQZBSession
{
public:
    // protocol may be null: there is no device to talk to then. localDataRoot is the per-user
    // application-data folder under which each profile keeps its data folder.
    CQZBSession(CAppContext& context,
                CMessenger& messenger,
                IPreferences& preferences,
                CDeviceProtocol* protocol,
                std::filesystem::path localDataRoot);
    ~CQZBSession();
    CQZBSession(const CQZBSession&) = delete;
    CQZBSession& operator=(const CQZBSession&) = delete;

    void SetPages(ISessionPages* pages) { m_pages = pages; }
    void SetFiles(ISessionFiles* files) { m_files = files; }
    void SetTransfers(ISessionTransfers* transfers) { m_transfers = transfers; }
    void SetViews(ISessionViews* views) { m_views = views; }
    // The window that owns the message boxes the session shows.
    void SetOwner(WindowHandle owner) { m_owner = owner; }
    // An unattended caller (the command line) has chosen already: it is asked nothing, and it keeps
    // what it downloads in a file of its own, so no backup is written for it.
    void SetUnattended(bool unattended) { m_unattended = unattended; }

    CAppContext& Context() { return m_context; }
    std::uint32_t StateWord() const { return m_state; }
    bool Online() const { return (m_state & kStateOnline) != 0; }
    bool ServiceMan() const { return (m_state & kStateServiceMan) != 0; }
    bool DataPresent() const { return (m_state & kStateDataPresent) != 0; }
    // True while a device operation runs: no other command may start.
    bool Busy() const { return m_busy; }
    const std::filesystem::path& CurrentFile() const { return m_datPath; }
    // True when the device's state was read in this connection (by a download or an upload).
    bool DeviceStateKnown() const { return m_deviceState != nullptr; }
    // Comparing the data with the device needs service-man mode, the device's state and a file.
    bool CanCompareWithDevice() const;
    // The profile's folder of the local application-data folder, created when missing.
    std::filesystem::path DataFolder() const;

    CSessionOutcome Connect();
    CSessionOutcome Disconnect();
    CSessionOutcome Download();
    CSessionOutcome Upload();
    // The sense thread found the device gone: the session ends and the data stays.
    CSessionOutcome SenseFailed(MessageCode code);

    // The settings-file commands, in service-man mode only.
    CSessionOutcome Open();
    CSessionOutcome Save();
    CSessionOutcome SaveAs();
    // Opens a file chosen elsewhere (the command line, a test) with Open's checks and effects.
    CSessionOutcome OpenFile(const std::filesystem::path& path);
    CSessionOutcome CompareWithDevice();

    CSessionOutcome ImportCsv();
    CSessionOutcome ExportCsv();

    // Contacts from a vCard file of a desktop address book, after a preview; the book as vCards.
    CSessionOutcome ImportContacts();
    CSessionOutcome ExportContacts();

    // The download backups of the running model, newest first.
    std::vector<CBackupFile> Backups() const;
    // What loading the backup would change in the window's data, in what an upload carries.
    CSessionPreview CompareBackup(const std::filesystem::path& backup) const;
    // Loads the backup the user chooses into the window as Open does; the backup stays no current
    // file, so that Save never writes over it.
    CSessionOutcome RestoreBackup();

    // Leaving the page of typeCode for another node: a settings page is checked and stored first;
    // false keeps the page. While looking only (a tour of pictures) nothing is checked.
    bool LeavePage(std::uint32_t typeCode);
    void SetLookOnly(bool lookOnly) { m_lookOnly = lookOnly; }

    // The service-man password as the preferences keep it.
    const std::u16string& ServiceManPassword() const { return m_servicePassword; }
    void SetServiceManPassword(std::u16string password) { m_servicePassword = std::move(password); }
    AboutAction About(bool ctrlHeld, bool shiftHeld) const;
    // Enters service-man mode when the password is the service-man password.
    CSessionOutcome EnterServiceMan(std::u16string_view password);

    // The help file to open, or empty after the message saying it is not installed.
    std::filesystem::path HelpFile();

    // The close prompts: true when the window may close (the data saved or uploaded as the user
    // chose, and the session ended); false keeps the window.
    bool Close();

    // The book was edited in place (an entry editor, a delete): nothing but the lists change.
    CSessionOutcome BookEdited();

private:
    int Ask(MessageCode code, ButtonSet buttons, std::u16string_view insert = {});
    void Tell(MessageCode code);
    bool CommitCurrentPage();
    void StoreAllPages();
    MessageCode RunDevice(std::uint32_t operation, const std::function<MessageCode()>& work);
    MessageCode RunOperation(std::uint32_t operation);
    // Turns a transfer's result into the connection state: 0x80010007 was shown by the transfer
    // driver and means the session is gone.
    void AfterTransfer(MessageCode result);
    void GoOffline();
    void KeepDeviceState(bool serviceUpload);
    // Reads the device's state into a copy without touching the data being edited.
    MessageCode ReadDeviceState();
    CSessionPreview Preview(const CMachineState* device) const;
    CSessionPreview PreviewOf(const CMachineState& before, const CMachineState& after) const;
    CSessionOutcome LoadDatFile(const std::filesystem::path& path, bool makeCurrent);
    void MakeCurrentFile(const std::filesystem::path& path);
    // The file the user chooses in the dialog of that kind; none headless or when cancelled.
    std::optional<std::filesystem::path> ChooseFile(FileKind kind, bool save) const;
    CSessionOutcome WriteFile(const std::filesystem::path& path);
    void Report(const struct CCsvReport& report, bool imported);
    // The Yes of the close prompt: the file saved, or the device updated; false keeps the window.
    bool SaveOrUploadBeforeClosing(bool fileData);

    CAppContext& m_context;
    CMessenger& m_messenger;
    IPreferences& m_preferences;
    CDeviceProtocol* m_protocol;
    std::filesystem::path m_localDataRoot;
    ISessionPages* m_pages = nullptr;
    ISessionFiles* m_files = nullptr;
    ISessionTransfers* m_transfers = nullptr;
    ISessionViews* m_views = nullptr;
    WindowHandle m_owner = nullptr;
    std::uint32_t m_state = 0;
    bool m_busy = false;
    bool m_lookOnly = false;
    bool m_closing = false;
    bool m_unattended = false;
    std::u16string m_servicePassword;
    std::filesystem::path m_datPath;
    std::unique_ptr<CMachineState> m_deviceState; // what the device holds, read in this connection
};

} // namespace qzb
