#pragma once

#include "app/app_context.h"
#include "app/messenger.h"
#include "app/preferences.h"
#include "ui/main/qt_message_presenter.h"

#include <QApplication>
#include <QStringList>

#include <memory>
#include <optional>

namespace qzb {

class CQSettingsPreferences;
class CQZBDlg;

// What the command line chose for this run.
struct CQZBOptions
{
    std::int32_t modelCode = kDefaultModelCode;
    std::string codePage;
    std::optional<std::filesystem::path> dataDir;
};

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

    CAppContext& Context() { return *m_context; }
    CMessenger& Messenger() { return *m_messenger; }
    IPreferences& Preferences();
    CQZBDlg* MainWindow() { return m_mainWindow.get(); }

private:
    std::optional<int> ParseOptions(const QStringList& arguments, CQZBOptions& options);
    CDataFolders DataFolders(const CQZBOptions& options) const;

    CQtMessagePresenter m_presenter;
    std::unique_ptr<CAppContext> m_context;
    std::unique_ptr<CMessenger> m_messenger;
    std::unique_ptr<class CSingleInstanceLock> m_lock;
    std::unique_ptr<CQSettingsPreferences> m_preferences;
    std::unique_ptr<CQZBDlg> m_mainWindow;
};

} // namespace qzb
