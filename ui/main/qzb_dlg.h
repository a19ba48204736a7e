#pragma once

#include "base/message_codes.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QStackedWidget;
class QPixmap;
class QShowEvent;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

namespace qzb {

class CCommandActions;
class CDeviceProtocol;
class CPrintListsCommand;
class CQZBSession;
class CWindowPorts;
class CDialRegistrationView;
class CEntryDialog;
class CMainItemDlg;
class IInstalledPrinters;
class CMessenger;
class IPreferences;
struct CAppContext;
struct CDialCommand;
struct CDialTexts;
struct CMachineState;
struct CSessionOutcome;

// The utility's only top-level window: the navigation tree, the page host beside it, the toolbar
// and menus, the window state word and the commands that drive the device link.
class CQZBDlg : public QMainWindow
{
    Q_OBJECT

public:
    // protocol may be null: the window then has no device to talk to.
    CQZBDlg(CAppContext& context,
            CMessenger& messenger,
            IPreferences& preferences,
            CDeviceProtocol* protocol,
            QWidget* parent = nullptr);
    ~CQZBDlg() override;

    std::uint32_t StateWord() const;
    CMainItemDlg* PageHost() const { return m_host; }
    QTreeWidget* Tree() const { return m_tree; }
    QAction* CommandAction(std::uint32_t command) const;
    // Redraws the directory's slots in the tree after the book or the panel language changed.
    void RefreshDialBranch();

    // The session under the window: its state, data and one operation per command.
    CQZBSession& Session() { return *m_session; }

    // The commands; each returns the result it showed (or would have shown).
    MessageCode Connect();
    MessageCode Disconnect();
    MessageCode Download();
    MessageCode Upload();
    // Enters service-man mode when the password is the service-man password.
    bool EnterServiceMan(std::u16string_view password);
    // Selects the tree node of a page name (MACHINE_SET_DLG, TOTAL_COUNTER ...); a setting dialog's
    // name (DNS_CONF_DLG) selects the page that opens it and shows the dialog over it, without
    // waiting. False when the tree has no such page.
    bool SelectPage(std::string_view name);
    // Opens the address-book editor of a command without waiting, as SelectPage opens a setting
    // dialog. False when the command opens no editor.
    bool ShowEntryEditor(const CDialCommand& command);
    // Closes the dialog SelectPage or ShowEntryEditor opened; nothing it holds is written.
    void CloseShownDialog();
    // While on, leaving a settings page neither checks nor stores it, so that a page the loaded data
    // does not pass (an enabled e-mail page without an address) cannot hold up a tour of pictures.
    void SetLookOnly(bool lookOnly);
    // The window as a picture, with a dialog that SelectPage or ShowEntryEditor opened drawn over it.
    QPixmap Picture();
    // The settings-file commands (service-man mode for Open and Save).
    void OpenSettingsFile();
    void SaveSettingsFile();
    void SaveSettingsFileAs();
    const std::filesystem::path& CurrentFile() const;
    // Shows how the current data differs from the device's last downloaded state, in what an upload
    // in the current mode carries. Enabled while connected with a settings file open.
    void CompareWithDevice();
    // The address book's CSV exchange.
    void ImportCsvFile();
    void ExportCsvFile();
    // Contacts of a desktop address book (vCard), and the book as vCards.
    void ImportContactsFile();
    void ExportContactsFile();
    // Loads a download backup the user picks, after showing how it differs from the window's data.
    void RestoreBackup();
    // Prints the lists the selection dialog chooses, after the print dialog and a preview.
    void PrintLists();
    // The print queues the print command checks for the device's own; the system's by default.
    void SetInstalledPrinters(const IInstalledPrinters* printers);
    // The profile's folder of the local application-data folder, created when missing.
    std::filesystem::path DataFolder() const;
    void UpdateCommandStates();
    // The About entry: with Ctrl and Shift held, outside service-man mode and the XJW profile,
    // the service-man password dialog; otherwise the About box.
    void About(Qt::KeyboardModifiers modifiers);
    // File ▸ Language: kept for every model, and taken at the next start.
    void ChooseLanguage(std::string_view code);

signals:
    // From the sense thread, delivered on the window's thread.
    void SenseFailed(MessageCode code);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QString Text(std::string_view key) const;
    void BuildTree();
    void RunCommand(std::uint32_t command);
    // Draws again what a session command changed.
    MessageCode Apply(const CSessionOutcome& outcome);
    void OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    // Makes the item current and the only one selected, without leaving the page shown.
    void SelectShownItem(QTreeWidgetItem* item);
    bool SelectNode(std::uint32_t typeCode);
    QTreeWidgetItem* FindTreeItem(std::uint32_t value) const;
    CDialTexts DialTexts() const;
    void AddDialSlots();
    // The address-book list view, built the first time a list is shown.
    CDialRegistrationView* DialView();
    void OpenEntryEditor(const CDialCommand& command);
    // The editor a command opens, as a child of the window; null when it opens none.
    CEntryDialog* NewEntryDialog(const CDialCommand& command);
    void RecreatePageHost();
    // Opens the window large enough for its largest page and the tree's labels, as far as the
    // screen allows.
    void FitToScreen();
    // Widens the tree to show its labels whole, up to a third of the window.
    void FitTree();

    CAppContext& m_context;
    CMessenger& m_messenger;
    IPreferences& m_preferences;
    CDeviceProtocol* m_protocol;
    std::unique_ptr<CQZBSession> m_session;
    std::unique_ptr<CWindowPorts> m_ports;
    CMainItemDlg* m_host = nullptr;
    CDialRegistrationView* m_dialView = nullptr;
    QStackedWidget* m_right = nullptr; // the page host or the dial registration view
    QTreeWidget* m_tree = nullptr;
    QSplitter* m_splitter = nullptr;
    QSize m_designed; // the size the window was designed for, at the display's scale
    bool m_fitted = false;
    std::unique_ptr<CCommandActions> m_commands;
    std::int32_t m_drawnPanelLanguage = 0; // the panel language the directory's names were drawn in
    bool m_reverting = false;
    QPointer<QWidget> m_shownDialog; // a dialog SelectPage or ShowEntryEditor opened
    std::unique_ptr<CPrintListsCommand> m_print;
};

} // namespace qzb
