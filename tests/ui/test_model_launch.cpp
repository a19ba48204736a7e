#include "app/app_context.h"
#include "app/last_model.h"
#include "app/preferences.h"
#include "device/device_link.h"
#include "device/device_simulator.h"
#include "files/dat_file.h"
#include "pages/command_states.h"
#include "session/qzb_session.h"
#include "ui/main/file_dialogs.h"
#include "ui/main/model_chooser.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/main/qzb_app.h"
#include "ui/main/qzb_dlg.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <filesystem>

namespace qzb {
namespace {

CQZBApp& App()
{
    return *static_cast<CQZBApp*>(QCoreApplication::instance());
}

// Starting the window from the launcher: no --model, the devices plugged in say which model.
class ModelLaunch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        CQtMessagePresenter::ClearRecorded();
        CModelChooser::ClearOffered();
    }
    void TearDown() override
    {
        App().Start({"qzb", "--version"}); // lets go of the window and the lock
        CQtMessagePresenter::ClearRecorded();
        CModelChooser::ClearOffered();
    }

    // The memory file of a simulated device of the model, as `qzbctl --model CODE new FILE` writes it.
    QString DeviceFile(const QString& name, std::int32_t model) const
    {
        const std::filesystem::path path = m_folder.filePath(name).toStdString();
        CDeviceSimulator maker(model, DefaultUsbVendorId(), path);
        EXPECT_EQ(maker.BackingFileResult(), kOk);
        return QString::fromStdString(path.string());
    }

    static std::optional<int> Start(QStringList arguments)
    {
        return App().Start(QStringList{"qzb", "--data-dir", QZB_TEST_DATA_DIR, "--fast"} + arguments);
    }

    static QString Notice()
    {
        const auto* label = App().MainWindow()->findChild<QLabel*>("modelNotice");
        return label != nullptr && label->isVisibleTo(App().MainWindow()) ? label->text() : QString();
    }

    static void ClickConnect()
    {
        auto* toolbar = App().MainWindow()->findChild<QToolBar*>("commandToolbar");
        QWidget* button = toolbar->widgetForAction(App().MainWindow()->CommandAction(kCmdConnect));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    static std::optional<std::int32_t> LastModel()
    {
        return ReadLastModel(CQSettingsPreferences(std::string(kLauncherKeyPath)));
    }

    QTemporaryDir m_folder;
};

TEST_F(ModelLaunch, OneDeviceFixesTheModelAndBecomesTheLastModelUsed)
{
    const QString file = DeviceFile("coral.dat", 8329);
    ASSERT_FALSE(Start({"--simulate=" + file}).has_value());
    EXPECT_EQ(App().Context().modelCode, 8329);
    EXPECT_EQ(App().Context().profile->modelCode, 8329) << "the string table, lock and preferences are 8329's";
    EXPECT_EQ(App().MainWindow()->windowTitle(), "MERIDAN TOVELL lumatrace 3120MF Setup Utility");
    EXPECT_TRUE(Notice().contains("Runs as MERIDAN TOVELL lumatrace 3120MF (model 8329)")) << Notice().toStdString();
    EXPECT_TRUE(CModelChooser::Offered().empty());
    EXPECT_EQ(LastModel(), 8329);

    ClickConnect();
    ASSERT_TRUE(QTest::qWaitFor([] { return App().MainWindow()->Session().Online(); }));
    EXPECT_TRUE(Notice().contains("is connected")) << Notice().toStdString();
}

TEST_F(ModelLaunch, DevicesOfSeveralModelsOfferTheChooserAndThePickedDeviceIsOpened)
{
    const QString coral = DeviceFile("coral.dat", 8329);
    const QString first = DeviceFile("first.dat", 8314);
    const QString second = DeviceFile("second.dat", 8314);
    CModelChooser::SetNextAnswer(2);
    ASSERT_FALSE(Start({"--simulate=" + coral + "," + first + "," + second}).has_value());
    ASSERT_EQ(CModelChooser::Offered().size(), 1u);
    EXPECT_EQ(CModelChooser::Offered()[0],
              (QStringList{"MERIDAN TOVELL lumatrace 3120MF  0:1  coral",
                           "MERIDAN TOVELL lumatrace 8125MF  0:2  first",
                           "MERIDAN TOVELL lumatrace 8125MF  0:3  second"}));
    EXPECT_EQ(App().Context().modelCode, 8314);
    EXPECT_EQ(LastModel(), 8314);
    EXPECT_TRUE(Notice().contains("chosen at start")) << Notice().toStdString();

    // Of the two 8314s, the one picked, not the first that fits.
    ClickConnect();
    ASSERT_TRUE(QTest::qWaitFor([] { return App().MainWindow()->Session().Online(); }));
    EXPECT_TRUE(Notice().contains("at simulated device 3 is connected")) << Notice().toStdString();
}

TEST_F(ModelLaunch, TheStatusBarSpeaksTheChosenLanguage)
{
    ASSERT_FALSE(Start({"--language", "de", "--simulate=" + DeviceFile("one.dat", 8314)}).has_value());
    EXPECT_EQ(Notice(),
              QString::fromUtf8("Arbeitet als MERIDAN TOVELL lumatrace 8125MF (Modell 8314), das Modell des "
                                "angeschlossenen Ger\u00e4ts."));
    ClickConnect();
    ASSERT_TRUE(QTest::qWaitFor([] { return App().MainWindow()->Session().Online(); }));
    EXPECT_TRUE(Notice().startsWith("Arbeitet als MERIDAN TOVELL lumatrace 8125MF (Modell 8314). Das Ger"))
        << Notice().toStdString();
    EXPECT_TRUE(Notice().endsWith(" ist verbunden.")) << Notice().toStdString();
    EXPECT_FALSE(Notice().contains("STR_") || Notice().contains("%1")) << Notice().toStdString();
}

TEST_F(ModelLaunch, CancellingTheChooserEndsStartUpWithoutAWindow)
{
    const QString coral = DeviceFile("coral.dat", 8329);
    const QString obsidian = DeviceFile("obsidian.dat", 8313);
    WriteLastModel(*std::make_unique<CQSettingsPreferences>(std::string(kLauncherKeyPath)), 2152);
    CModelChooser::SetNextAnswer(std::nullopt);
    EXPECT_EQ(Start({"--simulate=" + coral + "," + obsidian}), std::optional<int>(0));
    EXPECT_EQ(App().MainWindow(), nullptr);
    EXPECT_EQ(LastModel(), 2152) << "no window ran";
    // An unattended run cannot ask: it lists the devices and fails.
    EXPECT_EQ(Start({"--simulate=" + coral + "," + obsidian, "--screenshot", m_folder.filePath("x.png")}),
              std::optional<int>(2));
    EXPECT_EQ(CModelChooser::Offered().size(), 1u);
    // --device picks one, so nothing is asked.
    ASSERT_FALSE(Start({"--simulate=" + coral + "," + obsidian, "--device", "obsidian"}).has_value());
    EXPECT_EQ(App().Context().modelCode, 8313);
    EXPECT_EQ(CModelChooser::Offered().size(), 1u);
}

TEST_F(ModelLaunch, NoDeviceRunsAsTheLastModelAndSaysHowToChange)
{
    CQSettingsPreferences launcher{std::string(kLauncherKeyPath)};
    ASSERT_TRUE(WriteLastModel(launcher, 8315));
    // The simulated device answers only to its own bus address: nothing fits 9:9.
    ASSERT_FALSE(Start({"--simulate", "--device", "9:9"}).has_value());
    EXPECT_EQ(App().Context().modelCode, 8315);
    const QString notice = Notice();
    EXPECT_TRUE(notice.contains("No device was found: runs as MERIDAN TOVELL quorra K40 (model 8315), the model "
                                "used last"))
        << notice.toStdString();
    EXPECT_TRUE(notice.contains("--model CODE")) << notice.toStdString();

    // A value no model has is not a model: the build's default.
    ASSERT_TRUE(launcher.WriteText(kPrefLastModel, u"9999"));
    ASSERT_FALSE(Start({"--simulate", "--device", "9:9"}).has_value());
    EXPECT_EQ(App().Context().modelCode, QZB_DEFAULT_MODEL_FOR_TESTS);
    EXPECT_TRUE(Notice().contains("the default model")) << Notice().toStdString();
}

// A settings file of another model of the family switches the window to its model: the status bar
// then names the file's model, not the one --model gave.
TEST_F(ModelLaunch, AFileOfAnotherModelIsTheModelTheNoticeNames)
{
    // Other tests of the process may have changed the password the 8314 profile keeps.
    CQSettingsPreferences preferences(PreferencesKeyPath(FindModelProfile(8314)));
    ASSERT_TRUE(WriteServiceManPassword(preferences, kFactoryServiceManPassword));
    ASSERT_FALSE(Start({"--model", "8314", "--simulate"}).has_value());
    EXPECT_TRUE(Notice().contains("(model 8314), as --model asked")) << Notice().toStdString();
    CAppContext other(8313);
    const QString file = m_folder.filePath("other.dat");
    ASSERT_EQ(WriteDatFile(file.toStdString(), other), kOk);
    ASSERT_TRUE(App().MainWindow()->EnterServiceMan(kFactoryServiceManPassword));
    CFileDialogs::SetNextFileName(file);
    App().MainWindow()->OpenSettingsFile();
    CFileDialogs::Clear();
    ASSERT_EQ(App().Context().modelCode, 8313);
    EXPECT_EQ(Notice(), "Runs as MERIDAN TOVELL lumatrace 8120MF (model 8313), the model of the settings file opened.");
}

TEST_F(ModelLaunch, ADeviceOfAnotherModelIsNamedInTheWindow)
{
    const QString file = DeviceFile("obsidian.dat", 8314);
    ASSERT_FALSE(Start({"--model", "2152", "--simulate=" + file}).has_value());
    EXPECT_EQ(App().Context().modelCode, 2152) << "--model wins over the device plugged in";
    const QString expected = "is a MERIDAN TOVELL lumatrace 8125MF (model 8314); this run works as a TARVO "
                             "QP-RZ41NF, model 2152";
    EXPECT_TRUE(Notice().contains(expected)) << Notice().toStdString();
    EXPECT_TRUE(Notice().contains("--model 8314")) << Notice().toStdString();

    // The notice stays after a connection attempt finds the same device again.
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    ClickConnect();
    ASSERT_TRUE(QTest::qWaitFor([] { return !CQtMessagePresenter::Recorded().empty(); }));
    EXPECT_FALSE(App().MainWindow()->Session().Online());
    EXPECT_TRUE(Notice().contains(expected)) << Notice().toStdString();
}

TEST(ModelChooserDialog, ListsModelBusAddressAndSerialAndReturnsTheRowPicked)
{
    CUsbCandidate coral;
    coral.busNumber = 1;
    coral.deviceAddress = 4;
    coral.productId = 8329;
    coral.serialNumber = "C123";
    CUsbCandidate obsidian = coral;
    obsidian.deviceAddress = 7;
    obsidian.productId = 8313;
    obsidian.serialNumber.clear();
    for (const char* button : {"modelChoiceOkButton", "modelChoiceCancelButton"}) {
        CModelChooser chooser({coral, obsidian});
        chooser.show();
        auto* list = chooser.findChild<QTreeWidget*>("modelChoiceList");
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(list->topLevelItem(0)->text(0), "MERIDAN TOVELL lumatrace 3120MF");
        EXPECT_EQ(list->topLevelItem(0)->text(1), "1:4");
        EXPECT_EQ(list->topLevelItem(0)->text(2), "C123");
        QTest::keyClick(list, Qt::Key_Down);
        QTest::mouseClick(chooser.findChild<QPushButton*>(button), Qt::LeftButton);
        EXPECT_EQ(chooser.Choice(),
                  std::string_view(button) == "modelChoiceOkButton" ? std::optional<std::size_t>(1) : std::nullopt);
    }
}

// The desktop launcher's command: the real executable, no argument but the simulated device.
TEST(ModelLaunchProcess, TheExecutableWithoutModelRunsAsThePluggedInDevice)
{
    QTemporaryDir sandbox;
    const std::filesystem::path file = sandbox.filePath("coral.dat").toStdString();
    CDeviceSimulator maker(8329, DefaultUsbVendorId(), file);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", sandbox.filePath("config"));
    // Its own lock folder: a window an earlier test of this process left open holds the model's lock.
    env.insert("QZB_LOCK_DIR", sandbox.path());
    QProcess qzb;
    qzb.setProcessEnvironment(env);
    qzb.start(QZB_EXECUTABLE,
              {"--data-dir",
               QZB_TEST_DATA_DIR,
               "--simulate=" + QString::fromStdString(file.string()),
               "--screenshot",
               sandbox.filePath("window.png")});
    ASSERT_TRUE(qzb.waitForFinished(20000));
    EXPECT_EQ(qzb.exitCode(), 0) << qzb.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(sandbox.filePath("window.png")));
    EXPECT_EQ(ReadLastModelFile(sandbox.filePath("config/QZB/qzb.ini").toStdString()), 8329);
}

} // namespace
} // namespace qzb
