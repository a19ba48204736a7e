#pragma once

#include "app/app_context.h"
#include "app/english_texts.h"
#include "app/language_choice.h"
#include "app/language_class.h"
#include "app/messenger.h"
#include "app/preferences.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"
#include "device/shared_words.h"
#include "files/dat_file.h"
#include "model/text_codec.h"
#include "pages/command_states.h"
#include "tests/support/temp_folder.h"
#include "ui/main/file_dialogs.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/main/qzb_dlg.h"
#include "ui/main/upload_preview_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

namespace qzb {

// The real main window against the simulated device with its pauses left out. The device keeps
// its memory in a DAT file of the test's own folder, so that what an upload sent is read back
// with the core reader, as the next start of the utility would see it.
class CWindowFixture : public ::testing::Test
{
protected:
    // The window speaks the language given, with the texts in the code page of its desktop, as when
    // qzb starts in it.
    explicit CWindowFixture(std::int32_t model = 8314,
                            std::chrono::milliseconds sensePeriod = std::chrono::hours(1),
                            std::string_view language = kEnglishLanguage)
        : context(model)
        , messenger(context.strings, presenter)
        , simulator(model, DefaultUsbVendorId(), simFolder.Path() / "device.dat")
        , link(simulator, context, words, Unlocked(sensePeriod))
        , protocol(link, context, messenger, CProtocolTimings::Fast())
        , preferences(PreferencesKeyPath(*context.profile))
    {
        SetProcessCodePage(LanguageCodePage(language));
        context.language = std::string(language);
        CDataFolders folders;
        folders.commandLine = std::filesystem::path(QZB_TEST_DATA_DIR);
        CKeyedText problem;
        EXPECT_TRUE(LoadProfileStringTable(context, folders, problem));
        EXPECT_EQ(context.language, language) << "no table of the language";
        context.languageClass = LanguageClassFor(TranslatedText(&context.strings, kLanguageProbeKey));
        // Other tests of the process may have changed the password this profile keeps.
        WriteServiceManPassword(preferences, kFactoryServiceManPassword);
        window = std::make_unique<CQZBDlg>(context, messenger, preferences, &protocol);
        ClearSeams();
    }
    ~CWindowFixture() override
    {
        window.reset();
        ClearSeams();
        SetProcessCodePage(kDefaultCodePage);
    }

    static CDeviceLinkConfig Unlocked(std::chrono::milliseconds sensePeriod)
    {
        CDeviceLinkConfig config;
        config.lockDevice = false;
        config.sensePeriod = sensePeriod;
        return config;
    }

    static void ClearSeams()
    {
        CQtMessagePresenter::ClearRecorded();
        CUploadPreviewDialog::ClearShown();
        CFileDialogs::Clear();
    }

    bool Enabled(std::uint32_t command) const
    {
        const QAction* action = window->CommandAction(command);
        return action != nullptr && action->isVisible() && action->isEnabled();
    }

    // The simulated device's memory file.
    std::filesystem::path DeviceFile() const { return simFolder.Path() / "device.dat"; }

    // What the simulated device holds now, read from its memory file into a context of its own.
    std::unique_ptr<CAppContext> DeviceMemory() const
    {
        auto memory = std::make_unique<CAppContext>(context.modelCode);
        EXPECT_EQ(OpenDatFile(DeviceFile(), *memory), kOk) << DeviceFile();
        return memory;
    }

    CTempFolder simFolder{"qzb-window"};
    CQtMessagePresenter presenter;
    CApplicationWords words;
    CAppContext context;
    CMessenger messenger;
    CDeviceSimulator simulator;
    CDeviceLink link;
    CDeviceProtocol protocol;
    CQSettingsPreferences preferences;
    std::unique_ptr<CQZBDlg> window;
};

// The same window shown and active, for sessions driven with the mouse and keys.
class CShownWindowFixture : public CWindowFixture
{
protected:
    CShownWindowFixture()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void ClickToolbar(const char* actionName)
    {
        auto* toolbar = window->findChild<QToolBar*>("commandToolbar");
        QAction* action = toolbar->findChild<QAction*>(actionName);
        ASSERT_NE(action, nullptr) << actionName;
        QWidget* button = toolbar->widgetForAction(action);
        ASSERT_NE(button, nullptr) << actionName;
        ASSERT_TRUE(button->isEnabled()) << actionName;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Works the modal dialog of that object name once it is up, from inside its event loop; it
    // polls, so that the dialog's own loop runs meanwhile. A dialog that never shows leaves act
    // undone, which the test then finds. The flag returned turns true once act ran.
    std::shared_ptr<bool> WhenShown(const QString& name, std::function<void(QDialog&)> act)
    {
        auto done = std::make_shared<bool>(false);
        auto* timer = new QTimer(window.get());
        timer->setInterval(10);
        auto polls = std::make_shared<int>(0);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, name, act, polls, done] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr && dialog->objectName() == name && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(*dialog);
                *done = true;
            } else if (++*polls > 2000) {
                timer->stop();
                timer->deleteLater();
            }
        });
        timer->start();
        return done;
    }

    // Upload from the toolbar with the preview, its one question, answered.
    QString UploadFromToolbar(bool send)
    {
        CUploadPreviewDialog::SetNextAnswer(send);
        const std::size_t shown = CUploadPreviewDialog::Shown().size();
        ClickToolbar("uploadAction");
        EXPECT_EQ(CUploadPreviewDialog::Shown().size(), shown + 1);
        return CUploadPreviewDialog::Shown().empty() ? QString() : CUploadPreviewDialog::Shown().back().summary;
    }
};

} // namespace qzb
