#include "ui/main/qzb_app.h"

#include "app/last_model.h"
#include "app/single_instance.h"
#include "tests/ui/fresh_app.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/main/qzb_dlg.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <tuple>

namespace qzb {
namespace {

class QzbAppTest : public ::testing::Test
{
protected:
    CFreshApp m_fresh;
};

TEST_F(QzbAppTest, StartsTheMainWindowCaptionedFromTheProfileTable)
{
    ASSERT_FALSE(App().Start(Args({"--model", "8313", "--data-dir", QZB_TEST_DATA_DIR})).has_value());
    ASSERT_NE(App().MainWindow(), nullptr);
    EXPECT_EQ(App().MainWindow()->windowTitle(), "MERIDAN TOVELL lumatrace 8120MF Setup Utility");
    EXPECT_TRUE(App().MainWindow()->isVisible());
    EXPECT_EQ(App().Context().modelBit, 1u);
    EXPECT_EQ(App().Context().languageClass, 63);
    EXPECT_EQ(App().Context().device.dialModeCode, 1);
    EXPECT_EQ(App().Messenger().OwnerWindow(), App().MainWindow());
    EXPECT_TRUE(CQtMessagePresenter::Recorded().empty());
}

TEST_F(QzbAppTest, DefaultModelAppliesItsDefaults)
{
    // No device plugged in and no model used before: the build's default model.
    QFile::remove(CQSettingsPreferences(std::string(kLauncherKeyPath)).FilePath());
    ASSERT_FALSE(App().Start(Args({"--data-dir", QZB_TEST_DATA_DIR, "--simulate", "--device", "9:9"})).has_value());
    EXPECT_EQ(App().Context().modelCode, QZB_DEFAULT_MODEL_FOR_TESTS);
    EXPECT_EQ(App().MainWindow()->windowTitle(), "TARVO QP-RZ41NF Setup Utility");
    EXPECT_EQ(App().Context().store.GetItemNumber("USER_SET_DLG", "USER_PRESET_ZOOM_CHANGE"), 1);
}

TEST_F(QzbAppTest, MissingStringTableIsNamedAndEndsStartUp)
{
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    const auto status = App().Start(Args({"--model", "2152", "--data-dir", "/nonexistent"}));
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(*status, 0);
    EXPECT_EQ(App().MainWindow(), nullptr);
    ASSERT_EQ(CQtMessagePresenter::Recorded().size(), 1u);
    EXPECT_EQ(CQtMessagePresenter::Recorded()[0].text, u"Can not find QP-RZ41XJWSTR.tbl. Looked in: /nonexistent.");
}

TEST_F(QzbAppTest, DamagedStringTableNamesFileAndLine)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("M3120QZBSTR.tbl"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("STR_CAPTION=ok\nSTR_MSG_BTN_NO=No\nSTR_BROKEN=no line feed");
    file.close();
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    const auto status = App().Start(Args({"--model", "8329", "--data-dir", dir.path()}));
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(*status, 0);
    ASSERT_EQ(CQtMessagePresenter::Recorded().size(), 1u);
    const QString text = QString::fromStdU16String(CQtMessagePresenter::Recorded()[0].text);
    EXPECT_TRUE(text.contains("M3120QZBSTR.tbl")) << text.toStdString();
    EXPECT_TRUE(text.contains("line 3")) << text.toStdString();
}

TEST_F(QzbAppTest, BadOptionsAreUsageErrors)
{
    EXPECT_EQ(App().Start(Args({"--model", "abc"})), std::optional<int>(1));
    EXPECT_EQ(App().Start(Args({"--codepage", "no-such-page"})), std::optional<int>(1));
    EXPECT_EQ(App().Start(Args({"--no-such-option"})), std::optional<int>(1));
    // The gallery chooses its pages itself.
    EXPECT_EQ(App().Start(Args({"--grab-all", "pictures", "--page", "CONFIGURATION"})), std::optional<int>(1));
    // A code no device answers to is refused as qzbctl refuses it, before any window.
    EXPECT_EQ(App().Start(Args({"--model", "9999", "--data-dir", QZB_TEST_DATA_DIR})), std::optional<int>(1));
    EXPECT_EQ(App().MainWindow(), nullptr);
}

TEST_F(QzbAppTest, LanguageClassComesFromTheTranslationOfNo)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("K40QZBSTR.tbl"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("STR_CAPTION=K40\nSTR_MSG_BTN_NO=Nein\nSTR_RATIO_DLG_MAIN=1.0\n");
    file.close();
    ASSERT_FALSE(App().Start(Args({"--model", "8315", "--data-dir", dir.path()})).has_value());
    EXPECT_EQ(App().Context().languageClass, 1920);
    EXPECT_EQ(App().MainWindow()->windowTitle(), "K40");
}

// Whether some process holds an flock on the file, read from /proc/locks so that asking does
// not disturb the holder.
bool IsLockedByAnotherProcess(const std::filesystem::path& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    QFile locks("/proc/locks");
    if (!locks.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QString inode = QString(":%1 ").arg(info.st_ino);
    const QString inodeAtEnd = QString(":%1").arg(info.st_ino);
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QString text = QString::fromLatin1(line);
        if (text.contains("FLOCK") && (text.contains(inode) || text.endsWith(inodeAtEnd))) {
            return true;
        }
    }
    return false;
}

class QzbProcess : public ::testing::Test
{
protected:
    CFreshApp m_fresh;
};

TEST_F(QzbProcess, SecondInstanceOfAProfileExitsAtOnceWithoutAWord)
{
    const auto lockFile =
        CSingleInstanceLock::MachineLockFolder() / CSingleInstanceLock::LockFileName("Global\\ObsidianAIO QZB");
    ASSERT_EQ(CSingleInstanceLock::MachineLockFolder().string(), m_fresh.LockFolder().toStdString());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(QZB_EXECUTABLE, {"--model", "8313", "--data-dir", QZB_TEST_DATA_DIR});
    ASSERT_TRUE(first.waitForStarted(5000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return IsLockedByAnotherProcess(lockFile) || first.state() != QProcess::Running; }, 30000));
    ASSERT_TRUE(IsLockedByAnotherProcess(lockFile)) << first.readAllStandardError().toStdString();

    // The second instance ends by itself while the first still runs: no window waits for the user.
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QZB_EXECUTABLE, {"--model", "8313", "--data-dir", QZB_TEST_DATA_DIR});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    const QByteArray said = second.readAllStandardError();
    EXPECT_FALSE(said.contains("qzb:")) << said.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running) << "the first instance is not disturbed";

    // Another profile is not held back by this one.
    QProcess coral;
    coral.setProcessEnvironment(env);
    coral.start(QZB_EXECUTABLE, {"--model", "8329", "--data-dir", QZB_TEST_DATA_DIR});
    ASSERT_TRUE(coral.waitForStarted(5000));
    const auto coralLock =
        CSingleInstanceLock::MachineLockFolder() / CSingleInstanceLock::LockFileName("Global\\CoralAIO QZB");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return IsLockedByAnotherProcess(coralLock) || coral.state() != QProcess::Running; }, 30000));
    EXPECT_TRUE(IsLockedByAnotherProcess(coralLock)) << "another profile starts its own window";
    EXPECT_EQ(coral.state(), QProcess::Running);
    coral.kill();
    coral.waitForFinished(5000);

    first.kill();
    first.waitForFinished(5000);
}

// The lock lives in the machine's lock folder whatever the logon's temporary folder is; a lock
// folder that cannot be used is a message and a status, never an abort.
TEST_F(QzbProcess, LockIgnoresTheLogonsTemporaryFolderAndNeverAborts)
{
    QTemporaryDir sandbox;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TMPDIR", sandbox.filePath("missing-tmp"));
    env.insert("QZB_LOCK_DIR", sandbox.filePath("missing-locks"));
    QProcess refused;
    refused.setProcessEnvironment(env);
    refused.start(QZB_EXECUTABLE, {"--model", "8329", "--data-dir", QZB_TEST_DATA_DIR});
    ASSERT_TRUE(refused.waitForFinished(10000));
    EXPECT_EQ(refused.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(refused.exitCode(), 1);
    const QByteArray said = refused.readAllStandardError();
    EXPECT_TRUE(said.contains("missing-locks") && said.contains("QZB_LOCK_DIR")) << said.toStdString();

    env.insert("QZB_LOCK_DIR", sandbox.path());
    QProcess running;
    running.setProcessEnvironment(env);
    running.start(QZB_EXECUTABLE, {"--model", "8329", "--data-dir", QZB_TEST_DATA_DIR});
    ASSERT_TRUE(running.waitForStarted(5000));
    const auto lockFile =
        std::filesystem::path(sandbox.path().toStdString()) / CSingleInstanceLock::LockFileName("Global\\CoralAIO QZB");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return IsLockedByAnotherProcess(lockFile) || running.state() != QProcess::Running; }, 30000));
    EXPECT_TRUE(IsLockedByAnotherProcess(lockFile)) << running.readAllStandardError().toStdString();
    running.kill();
    running.waitForFinished(5000);
}

// Help, the version and a usage error need no window, so they answer on a machine without a
// display instead of aborting in the GUI's start.
TEST_F(QzbProcess, HelpVersionAndUsageErrorsNeedNoDisplay)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        env.remove(name);
    }
    const std::tuple<QStringList, int, QByteArray> runs[] = {
        {{"--help"}, 0, "--simulate"},
        {{"--version"}, 0, "qzb " QZB_VERSION},
        {{"--model", "9999"}, 1, "unknown model 9999"},
    };
    for (const auto& [arguments, status, said] : runs) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QZB_EXECUTABLE, arguments);
        ASSERT_TRUE(process.waitForFinished(30000)) << arguments.join(' ').toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << arguments.join(' ').toStdString();
        EXPECT_EQ(process.exitCode(), status) << arguments.join(' ').toStdString();
        const QByteArray output = process.readAllStandardOutput() + process.readAllStandardError();
        EXPECT_TRUE(output.contains(said)) << output.toStdString();
    }
}

TEST_F(QzbProcess, MissingStringTableIsReportedAndTheExitStatusIsNotZero)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QZB_EXECUTABLE, {"--model", "2152", "--data-dir", "/nonexistent"});
    ASSERT_TRUE(process.waitForStarted(5000));
    QByteArray errors;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            errors += process.readAllStandardError();
            return errors.contains("Can not find QP-RZ41XJWSTR.tbl.") || process.state() != QProcess::Running;
        },
        30000));
    errors += process.readAllStandardError();
    EXPECT_TRUE(errors.contains("Can not find QP-RZ41XJWSTR.tbl.")) << errors.toStdString();
    // The box waits for the user; closing the program from outside ends it too.
    process.terminate();
    process.waitForFinished(5000);
}

} // namespace
} // namespace qzb
