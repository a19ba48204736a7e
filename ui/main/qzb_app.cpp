#include "ui/main/qzb_app.h"

#include "app/language_choice.h"
#include "app/last_model.h"
#include "app/rendered_text.h"
#include "app/single_instance.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"
#include "device/shared_words.h"
#include "device/simulator_faults.h"
#include "device/usb_libusb.h"
#include "model/text_codec.h"
#include "pages/command_states.h"
#include "ui/controls/push_button_keys.h"
#include "ui/main/gallery.h"
#include "ui/main/model_chooser.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/qzb_dlg.h"

#include <QAction>
#include <QCommandLineParser>
#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>

namespace qzb {

CQZBApp::CQZBApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName("qzb");
    setApplicationVersion(QZB_VERSION);
    setDesktopFileName("org.qzb.QZB"); // ties the window to its launcher and icon
    CPushButtonKeys::Install();
    m_context = std::make_unique<CAppContext>();
    m_messenger = std::make_unique<CMessenger>(m_context->strings, m_presenter);
}

CQZBApp::~CQZBApp()
{
    // The window goes before the device link and the lock, so a new instance can start only once
    // this one is gone.
    m_mainWindow.reset();
    m_protocol.reset();
    m_link.reset();
    m_transport.reset();
    m_lock.reset();
}

IPreferences& CQZBApp::Preferences()
{
    return *m_preferences;
}

std::optional<int> CQZBApp::ParseOptions(const QStringList& arguments, CQZBOptions& options, bool beforeGui)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Setup utility for colour laser multifunction devices.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption model("model",
                                   "Run as the model CODE (8313, 8314, 8315, 8329, 2152). Without it, qzb runs as "
                                   "the model of the device plugged in, offers a choice when devices of several "
                                   "models are, and runs as the model used last when none is.",
                                   "CODE");
    const QCommandLineOption codePage(
        "codepage", "Code page of stored texts and files (default Windows-1252).", "NAME");
    const QCommandLineOption dataDir("data-dir", "Folder that holds the string tables.", "DIR");
    const QCommandLineOption language("language",
                                      "Show the texts in the language CODE (en, fr, de, it, es, pt, ru, cs, sk, hu, "
                                      "pl, ja) instead of the one chosen in the window or the desktop's.",
                                      "CODE");
    const QCommandLineOption fault("sim-fault",
                                   "Make the simulated device misbehave: busy, damaged, status=N, "
                                   "split=N, cut=N, cut-every=N, country=N.",
                                   "KIND[=N]");
    const QCommandLineOption fast("fast", "Leave out the pauses the device is owed (simulated device only).");
    const QCommandLineOption connect("connect", "Connect to the device once the window is up.");
    const QCommandLineOption download("download", "Download the device's data once connected.");
    const QCommandLineOption serviceMan("service-man", "Enter service-man mode with PASSWORD.", "PASSWORD");
    const QCommandLineOption page("page", "Show the page NAME (such as TCP_IP_SET_DLG or CONFIGURATION).", "NAME");
    const QCommandLineOption screenshot(
        "screenshot", "After the other actions, save the window as FILE.png and exit (2 if an action failed).", "FILE");
    const QCommandLineOption grabAll("grab-all",
                                     "After the other actions, save a picture of every page, setting dialog "
                                     "and address-book editor in normal and in service-man mode under "
                                     "DIR/normal and DIR/service, then exit (2 if a picture failed).",
                                     "DIR");
    const QCommandLineOption simulate("simulate",
                                      "Talk to the built-in simulated device; --simulate=FILE.dat keeps "
                                      "its memory in FILE.dat, --simulate=A.dat,B.dat simulates one device each.");
    const QCommandLineOption device(
        "device", "Use the device at BUS:ADDRESS (decimal) or with the serial number SERIAL.", "BUS:ADDRESS|SERIAL");
    parser.addOptions({model,
                       codePage,
                       dataDir,
                       language,
                       simulate,
                       device,
                       fault,
                       fast,
                       connect,
                       download,
                       serviceMan,
                       page,
                       screenshot,
                       grabAll});
    if (!parser.parse(TakeSimulateOption(arguments, options))) {
        if (beforeGui && !parser.unknownOptionNames().isEmpty()) {
            return std::nullopt;
        }
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
    if (parser.isSet(model)) {
        bool ok = false;
        options.modelCode = parser.value(model).toInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "qzb: --model needs a model code such as 8313\n");
            return 1;
        }
        // No device answers to another code, and files saved under it open as no model's own.
        if (!IsKnownModel(*options.modelCode)) {
            std::fprintf(
                stderr, "qzb: unknown model %s: use 8313, 8314, 8315, 8329 or 2152\n", qPrintable(parser.value(model)));
            return 1;
        }
    }
    options.codePage = parser.value(codePage).toStdString();
    options.device = parser.value(device).toStdString();
    for (const QString& value : parser.values(fault)) {
        options.faults.push_back(value.toStdString());
    }
    options.fast = parser.isSet(fast);
    if ((options.fast || !options.faults.empty()) && !options.simulate) {
        std::fprintf(stderr, "qzb: --fast and --sim-fault need --simulate: a real device is owed its pauses\n");
        return 1;
    }
    for (const std::filesystem::path& file : options.simulatorFiles) {
        if (!IsSimulatorFileUsable(file)) {
            std::fprintf(stderr, "qzb: --simulate: %s is not a regular file\n", file.string().c_str());
            return 1;
        }
    }
    CSimulatorFaults faults;
    for (const std::string& value : options.faults) {
        if (ApplySimulatorFault(faults, value).refusal != FaultRefusal::None) {
            std::fprintf(stderr,
                         "qzb: --sim-fault %s is not a fault the simulator knows, or its number is out of "
                         "range\n",
                         value.c_str());
            return 1;
        }
    }
    options.connect = parser.isSet(connect) || parser.isSet(download);
    options.download = parser.isSet(download);
    if (parser.isSet(serviceMan)) {
        options.serviceManPassword = parser.value(serviceMan).toStdU16String();
    }
    if (parser.isSet(page)) {
        options.page = parser.value(page).toStdString();
    }
    if (parser.isSet(screenshot)) {
        options.screenshot = std::filesystem::path(parser.value(screenshot).toStdString());
    }
    if (parser.isSet(grabAll)) {
        if (options.page || options.screenshot) {
            std::fprintf(stderr, "qzb: --grab-all shows every page itself: leave out --page and --screenshot\n");
            return 1;
        }
        options.grabAll = std::filesystem::path(parser.value(grabAll).toStdString());
    }
    if (parser.isSet(dataDir)) {
        options.dataDir = std::filesystem::path(parser.value(dataDir).toStdString());
    }
    if (parser.isSet(language)) {
        options.language = parser.value(language).toStdString();
        if (FindUiLanguage(*options.language) == nullptr) {
            std::fprintf(
                stderr, "qzb: there are no texts in the language %s: English is used\n", options.language->c_str());
        }
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
    CQSettingsPreferences launcher{std::string(kLauncherKeyPath)};
    CLanguageSources languages = LocaleLanguageSources();
    languages.commandLine = options.language;
    if (const std::u16string kept = launcher.ReadText(kPrefLanguage, u""); !kept.empty()) {
        languages.preference = QString::fromStdU16String(kept).toStdString();
    }
    const std::string language{ChooseUiLanguage(languages)};
    // Texts are kept in the code page of the language's desktop unless --codepage names another.
    if (options.codePage.empty() && LanguageCodePage(language) != ProcessCodePage().Name()) {
        options.codePage = std::string(LanguageCodePage(language));
    }
    if (!options.codePage.empty() && !SetProcessCodePage(options.codePage)) {
        if (CCodePage::Open(options.codePage) == nullptr) {
            std::fprintf(stderr, "qzb: unknown code page %s\n", options.codePage.c_str());
        } else {
            std::fprintf(stderr,
                         "qzb: %s is no code page texts can be kept in: use a single-byte code page "
                         "(Windows-1252, CP1250 ...) or an ASCII-compatible one such as CP932\n",
                         options.codePage.c_str());
        }
        return 1;
    }

    // A window of an earlier start holds the context, messenger and link about to be replaced, and
    // that start's own lock must not count as another instance.
    m_mainWindow.reset();
    m_protocol.reset();
    m_link.reset();
    m_transport.reset();
    m_lock.reset();

    std::int32_t model = 0;
    ModelSource source = ModelSource::CommandLine;
    if (auto status = ChooseModel(options, model, source)) {
        return status;
    }
    m_context = std::make_unique<CAppContext>(model);
    m_context->language = language;
    m_messenger = std::make_unique<CMessenger>(m_context->strings, m_presenter);
    const CModelProfile& profile = *m_context->profile;

    m_lock = std::make_unique<CSingleInstanceLock>(profile.lockName);
    if (m_lock->GetState() == CSingleInstanceLock::State::HeldElsewhere) {
        if (options.screenshot || options.grabAll) {
            std::fprintf(stderr, "qzb: --screenshot/--grab-all: another qzb of this model is running\n");
            return 2;
        }
        return 0; // another instance runs this profile: leave without a word
    }
    if (m_lock->GetState() == CSingleInstanceLock::State::Failed) {
        std::fprintf(stderr,
                     "qzb: cannot use the lock file %s (%s); QZB_LOCK_DIR names another shared folder\n",
                     m_lock->Path().c_str(),
                     m_lock->Problem().c_str());
        return 1;
    }

    // An unattended run reports a missing string table on stderr instead of waiting on a box.
    CQtMessagePresenter::SetUnattended(options.screenshot.has_value());
    if (!LoadProfileStringTable(*m_context, DataFolders(options), *m_messenger)) {
        CQtMessagePresenter::SetUnattended(false);
        m_lock.reset();
        return 2;
    }
    m_context->helpFilePath = HelpFilePath(profile, applicationFilePath().toStdString());
    SeedAppContext(*m_context, *m_messenger);
    m_preferences = std::make_unique<CQSettingsPreferences>(PreferencesKeyPath(profile));

    CreateDeviceLink(options);
    m_mainWindow = std::make_unique<CQZBDlg>(*m_context, *m_messenger, *m_preferences, m_protocol.get());
    m_messenger->SetOwnerWindow(m_mainWindow.get());
    // Writing the preferences file costs a sync; a start of the model used last leaves it as it is.
    if (ReadLastModel(launcher) != model) {
        WriteLastModel(launcher, model);
    }
    ShowModelNotice(ModelNotice(model, source, m_search, DefaultUsbVendorId()));
    if (QAction* connectAction = m_mainWindow->CommandAction(kCmdConnect)) {
        // After the window's own handler: what the search found says more than "no device".
        QObject::connect(connectAction, &QAction::triggered, m_mainWindow.get(), [this] { NoteConnection(); });
    }
    m_mainWindow->show();
    return RunStartActions(options);
}

QStringList TakeSimulateOption(const QStringList& arguments, CQZBOptions& options)
{
    QStringList rest;
    for (const QString& argument : arguments) {
        if (argument == "--simulate") {
            options.simulate = true;
        } else if (argument.startsWith("--simulate=")) {
            options.simulate = true;
            for (const QString& file : argument.mid(11).split(',', Qt::SkipEmptyParts)) {
                options.simulatorFiles.emplace_back(file.toStdString());
            }
            if (options.simulatorFiles.size() == 1) {
                options.simulatorFile = options.simulatorFiles.front();
            }
        } else {
            rest.push_back(argument);
        }
    }
    return rest;
}

void CQZBApp::CreateTransport(const CQZBOptions& options, std::int32_t model)
{
    const std::uint16_t vendor = DefaultUsbVendorId();
    if (!options.simulate) {
        m_transport = std::make_unique<CUsbTransport>();
        return;
    }
    auto simulator = options.simulatorFiles.size() > 1
                         ? std::make_unique<CDeviceSimulator>(model, vendor, options.simulatorFiles)
                         : std::make_unique<CDeviceSimulator>(model, vendor, options.simulatorFile);
    CSimulatorFaults faults;
    for (const std::string& fault : options.faults) {
        ApplySimulatorFault(faults, fault);
    }
    simulator->SetFaults(faults);
    m_transport = std::move(simulator);
}

std::optional<int> CQZBApp::ChooseModel(CQZBOptions& options, std::int32_t& model, ModelSource& source)
{
    const CQSettingsPreferences launcher{std::string(kLauncherKeyPath)};
    const std::optional<std::int32_t> lastModel = ReadLastModel(launcher);
    const std::int32_t fallback = FallbackModel(lastModel, QZB_DEFAULT_MODEL);
    model = options.modelCode.value_or(fallback);
    CreateTransport(options, model);
    CDeviceLinkConfig config;
    config.deviceSelector = options.device;
    m_search = DetectModel(*m_transport, config);
    if (options.modelCode) {
        source = ModelSource::CommandLine;
        return std::nullopt;
    }
    switch (m_search.result) {
        case ModelDetection::NoDevice:
            source = lastModel && model == *lastModel ? ModelSource::LastUsed : ModelSource::BuildDefault;
            return std::nullopt;
        case ModelDetection::OneModel:
            source = ModelSource::Device;
            model = m_search.modelCode;
            break;
        case ModelDetection::SeveralModels: {
            if (options.screenshot || options.grabAll) {
                std::fprintf(stderr,
                             "qzb: devices of several models are plugged in; choose one with --model CODE or "
                             "--device BUS:ADDRESS|SERIAL:\n");
                for (const CUsbCandidate& device : m_search.devices) {
                    std::fprintf(stderr, "  %s\n", FamilyDeviceLine(device).c_str());
                }
                return 2;
            }
            const std::optional<std::size_t> row = CModelChooser::Ask(m_search.devices);
            if (!row) {
                return 0; // the user chose no device: as if the window had been closed at once
            }
            const CUsbCandidate& picked = m_search.devices[*row];
            source = ModelSource::Chosen;
            model = picked.productId;
            const auto sameModel =
                std::count_if(m_search.devices.begin(), m_search.devices.end(), [&picked](const CUsbCandidate& device) {
                    return device.productId == picked.productId;
                });
            // Among devices of one model the link would open the first; the user picked this one.
            if (sameModel > 1) {
                options.device = DeviceSelectorFor(picked, m_search.devices);
            }
            break;
        }
    }
    // A simulated device without a memory file is of the run's model, so it follows the choice.
    if (options.simulate && model != fallback) {
        CreateTransport(options, model);
    }
    return std::nullopt;
}

void CQZBApp::ShowModelNotice(const CKeyedText& notice)
{
    auto* label = m_mainWindow->findChild<QLabel*>("modelNotice");
    if (label == nullptr) {
        label = new QLabel(m_mainWindow.get());
        label->setObjectName("modelNotice");
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_mainWindow->statusBar()->addWidget(label, 1);
    }
    label->setText(QString::fromStdString(RenderTextUtf8(notice, &m_context->strings)));
}

void CQZBApp::NoteConnection()
{
    if (const auto notice = ConnectNotice(m_link->LastDiagnosis())) {
        ShowModelNotice(*notice);
    }
}

void CQZBApp::CreateDeviceLink(const CQZBOptions& options)
{
    CDeviceLinkConfig config;
    config.deviceSelector = options.device;
    // The simulated device lives in this process alone; no other program can reach it.
    config.lockDevice = !options.simulate;
    m_words = std::make_unique<CApplicationWords>();
    m_link = std::make_unique<CDeviceLink>(*m_transport, *m_context, *m_words, config);
    m_protocol = std::make_unique<CDeviceProtocol>(
        *m_link, *m_context, *m_messenger, options.fast ? CProtocolTimings::Fast() : CProtocolTimings{});
}

std::optional<int> CQZBApp::RunStartActions(const CQZBOptions& options)
{
    const bool unattended = options.screenshot.has_value() || options.grabAll.has_value();
    CQtMessagePresenter::SetUnattended(unattended);
    bool failed = false;
    auto fail = [&failed](const char* what) {
        std::fprintf(stderr, "qzb: %s failed\n", what);
        failed = true;
    };
    if (options.connect) {
        const MessageCode connected = m_mainWindow->Connect();
        NoteConnection();
        if (connected != kOk) {
            fail("--connect");
        }
    }
    if (!failed && options.download && m_mainWindow->Download() != kOk) {
        fail("--download");
    }
    // The gallery enters service-man mode itself, once the pictures of normal mode are taken.
    if (!failed && options.serviceManPassword && !options.grabAll &&
        !m_mainWindow->EnterServiceMan(*options.serviceManPassword)) {
        std::fprintf(stderr, "qzb: --service-man: the password is not the service-man password\n");
        failed = true;
    }
    if (!failed && options.page && !m_mainWindow->SelectPage(*options.page)) {
        std::fprintf(stderr,
                     "qzb: --page %s: the tree has no such page (service-man pages need --service-man)\n",
                     options.page->c_str());
        failed = true;
    }
    CQtMessagePresenter::SetUnattended(false);
    if (!unattended) {
        return std::nullopt;
    }
    if (failed) {
        return 2;
    }
    if (options.grabAll) {
        const std::u16string password = options.serviceManPassword.value_or(ReadServiceManPassword(*m_preferences));
        return GrabAll(*m_mainWindow, *m_context, password, *options.grabAll);
    }
    if (!SaveWindowPicture(*m_mainWindow, *options.screenshot)) {
        std::fprintf(stderr, "qzb: --screenshot: %s could not be written\n", options.screenshot->c_str());
        return 2;
    }
    return 0;
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
