#include "ui/main/qzb_app.h"

#include "app/single_instance.h"
#include "model/text_codec.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/qzb_dlg.h"

#include <QCommandLineParser>
#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace qzb {

CQZBApp::CQZBApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName("qzb");
    setApplicationVersion(QZB_VERSION);
    m_context = std::make_unique<CAppContext>();
    m_messenger = std::make_unique<CMessenger>(m_context->strings, m_presenter);
}

CQZBApp::~CQZBApp()
{
    // The window goes before the lock, so a new instance can start only once this one is gone.
    m_mainWindow.reset();
    m_lock.reset();
}

IPreferences& CQZBApp::Preferences()
{
    return *m_preferences;
}

std::optional<int> CQZBApp::ParseOptions(const QStringList& arguments, CQZBOptions& options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Setup utility for colour laser multifunction devices.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption model(
        "model", "Run as the model CODE (8313, 8314, 8315, 8329, 2152).", "CODE", QString::number(QZB_DEFAULT_MODEL));
    const QCommandLineOption codePage(
        "codepage", "Code page of stored texts and files (default Windows-1252).", "NAME");
    const QCommandLineOption dataDir("data-dir", "Folder that holds the string tables.", "DIR");
    parser.addOptions({model, codePage, dataDir});
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "qzb: %s\n", qPrintable(parser.errorText()));
        return 1;
    }
    if (parser.isSet("help")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet("version")) {
        std::printf("qzb %s\n", QZB_VERSION);
        return 0;
    }
    bool ok = false;
    options.modelCode = parser.value(model).toInt(&ok);
    if (!ok) {
        std::fprintf(stderr, "qzb: --model needs a model code such as 8313\n");
        return 1;
    }
    // No device answers to another code, and files saved under it open as no model's own.
    if (!IsKnownModel(options.modelCode)) {
        std::fprintf(
            stderr, "qzb: unknown model %s: use 8313, 8314, 8315, 8329 or 2152\n", qPrintable(parser.value(model)));
        return 1;
    }
    options.codePage = parser.value(codePage).toStdString();
    if (parser.isSet(dataDir)) {
        options.dataDir = std::filesystem::path(parser.value(dataDir).toStdString());
    }
    return std::nullopt;
}

CDataFolders CQZBApp::DataFolders(const CQZBOptions& options) const
{
    CDataFolders folders;
    folders.commandLine = options.dataDir;
    if (const char* env = std::getenv("QZB_DATA_DIR"); env && *env) {
        folders.environment = std::filesystem::path(env);
    }
    folders.fallbacks.push_back(
        std::filesystem::path(QDir(applicationDirPath()).absoluteFilePath("../share/qzb").toStdString()));
    folders.fallbacks.push_back(std::filesystem::path(QZB_BUILD_DATA_DIR));
    return folders;
}

std::optional<int> CQZBApp::Start(const QStringList& arguments)
{
    CQZBOptions options;
    if (auto status = ParseOptions(arguments, options)) {
        return status;
    }
    if (!options.codePage.empty() && !SetProcessCodePage(options.codePage)) {
        std::fprintf(stderr, "qzb: unknown code page %s\n", options.codePage.c_str());
        return 1;
    }

    m_context = std::make_unique<CAppContext>(options.modelCode);
    m_messenger = std::make_unique<CMessenger>(m_context->strings, m_presenter);
    const CModelProfile& profile = *m_context->profile;

    m_lock = std::make_unique<CSingleInstanceLock>(profile.lockName);
    if (m_lock->GetState() == CSingleInstanceLock::State::HeldElsewhere) {
        return 0; // another instance runs this profile: leave without a word
    }
    if (m_lock->GetState() == CSingleInstanceLock::State::Failed) {
        std::fprintf(stderr,
                     "qzb: cannot use the lock file %s (%s); QZB_LOCK_DIR names another shared folder\n",
                     m_lock->Path().c_str(),
                     m_lock->Problem().c_str());
        return 1;
    }

    if (!LoadProfileStringTable(*m_context, DataFolders(options), *m_messenger)) {
        m_lock.reset();
        return 2;
    }
    m_context->helpFilePath = HelpFilePath(profile, applicationFilePath().toStdString());
    SeedAppContext(*m_context, *m_messenger);
    m_preferences = std::make_unique<CQSettingsPreferences>(PreferencesKeyPath(profile));

    m_mainWindow = std::make_unique<CQZBDlg>(*m_context, *m_messenger);
    m_messenger->SetOwnerWindow(m_mainWindow.get());
    m_mainWindow->show();
    return std::nullopt;
}

int CQZBApp::Run()
{
    if (auto status = Start(arguments())) {
        return *status;
    }
    const int status = exec();
    m_messenger->SetOwnerWindow(nullptr);
    m_mainWindow.reset();
    m_lock.reset();
    return status;
}

} // namespace qzb
