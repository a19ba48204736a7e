#pragma once

#include "app/app_context.h"
#include "app/messenger.h"
#include "app/preferences.h"
#include "device/model_detection.h"
#include "ui/main/qt_message_presenter.h"

#include <QApplication>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qzb {

class CDeviceLink;
class CDeviceProtocol;
class CQSettingsPreferences;
class CQZBDlg;
class ITransport;
struct CApplicationWords;

// What the command line chose for this run.
struct CQZBOptions
{
    // --model; without it the devices plugged in choose, else the model used last.
    std::optional<std::int32_t> modelCode;
    std::string codePage;
    std::optional<std::filesystem::path> dataDir;
    std::optional<std::string> language; // --language CODE
    bool simulate = false; // --simulate[=FILE.dat]: the built-in simulated device
    std::optional<std::filesystem::path> simulatorFile;
    std::vector<std::filesystem::path> simulatorFiles; // --simulate=A.dat,B.dat: one device each
    std::string device; // --device BUS:ADDRESS or SERIAL; empty: the first device that fits
    std::vector<std::string> faults; // --sim-fault KIND[=N]
    bool fast = false; // no pauses (simulator only)
    // Start-up actions, run in this order once the window is up.
    bool connect = false;
    bool download = false;
    std::optional<std::u16string> serviceManPassword;
    std::optional<std::string> page;
    std::optional<std::filesystem::path> screenshot;
    std::optional<std::filesystem::path> grabAll; // a picture of every page and dialog, then exit
};

// Takes the bare and the valued form of --simulate out of the arguments, which
// QCommandLineParser cannot tell apart: "--simulate --fast" never takes "--fast" as a file.
QStringList TakeSimulateOption(const QStringList& arguments, CQZBOptions& options);

// The application object: runs the start-up sequence, then the main window until it closes.
class CQZBApp : public QApplication
{
    Q_OBJECT

public:
    CQZBApp(int& argc, char** argv);
    ~CQZBApp() override;

    // The whole run; returns the process's exit status.
    int Run();
    // Start-up up to and including the main window, without running it. Returns an exit status
    // when start-up ends early (0 for a second instance), nothing when the window is up.
    std::optional<int> Start(const QStringList& arguments);

    // Reads the command line into options; an exit status when start-up ends there (help, version,
    // a usage error). Before the GUI starts, the options Qt's own GUI takes (-platform ...) are left
    // for the GUI's parse.
    static std::optional<int> ParseOptions(const QStringList& arguments, CQZBOptions& options, bool beforeGui = false);

    CAppContext& Context() { return *m_context; }
    CMessenger& Messenger() { return *m_messenger; }
    CDeviceProtocol* Protocol() { return m_protocol.get(); }
    IPreferences& Preferences();
    CQZBDlg* MainWindow() { return m_mainWindow.get(); }

private:
    CDataFolders DataFolders(const CQZBOptions& options) const;
    // The transport the run talks through; a simulated device without a memory file is of model.
    void CreateTransport(const CQZBOptions& options, std::int32_t model);
    // Without --model: the model of the devices plugged in, the one the user picks among several
    // models, or the fallback. An exit status when start-up ends here (the chooser cancelled).
    std::optional<int> ChooseModel(CQZBOptions& options, std::int32_t& model, ModelSource& source);
    void CreateDeviceLink(const CQZBOptions& options);
    // The status-bar line that says which model the window runs as.
    void ShowModelNotice(const CKeyedText& notice);
    // After a connection attempt: names the device found, or one of another model.
    void NoteConnection();
    // The start-up actions; an exit status when the run ends with them (a screenshot, a failure).
    std::optional<int> RunStartActions(const CQZBOptions& options);

    CQtMessagePresenter m_presenter;
    std::unique_ptr<CAppContext> m_context;
    std::unique_ptr<CMessenger> m_messenger;
    std::unique_ptr<class CSingleInstanceLock> m_lock;
    std::unique_ptr<CQSettingsPreferences> m_preferences;
    std::unique_ptr<CApplicationWords> m_words;
    std::unique_ptr<ITransport> m_transport;
    std::unique_ptr<CDeviceLink> m_link;
    std::unique_ptr<CDeviceProtocol> m_protocol;
    std::unique_ptr<CQZBDlg> m_mainWindow;
    CModelSearch m_search; // the family's devices seen at start
};

} // namespace qzb
