#include "ui/main/gallery.h"

#include "app/app_context.h"
#include "pages/page_registry.h"
#include "tests/support/models.h"
#include "tests/ui/fresh_app.h"
#include "tests/ui/layout_checks.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

namespace qzb {
namespace {

bool HasShot(const std::vector<CGalleryShot>& shots, std::string_view name)
{
    return std::any_of(shots.begin(), shots.end(), [name](const CGalleryShot& shot) { return shot.name == name; });
}

// Service-man mode shows every page the model has, and the dialogs its controls open; normal mode
// leaves the settings pages and their dialogs out, so the gallery must not try them there.
TEST(Gallery, ServiceManModeReachesEveryPageAndTheDialogsOfEachModel)
{
    for (const std::int32_t code : kModels) {
        const CAppContext context(code);
        const auto service = GalleryShots(context.modelBit, true);
        const auto normal = GalleryShots(context.modelBit, false);
        for (const CPageDef* def : PageDefsForModel(context.modelBit)) {
            if (def->pageClass != PageClass::SettingDialog) {
                EXPECT_TRUE(HasShot(service, def->name)) << code << " " << def->name;
            }
        }
        for (const char* dialog : {"DNS_CONF_DLG", "CUSTOM_PAPER_SIZE_DLG:1", "FORWARD_LOCATION_DLG"}) {
            EXPECT_TRUE(HasShot(service, dialog)) << code << " " << dialog;
        }
        // Only the large devices have the IPv6 check box that opens its dialog.
        EXPECT_EQ(HasShot(service, "IPV6_DLG"), code == 8314 || code == 8315) << code;
        EXPECT_TRUE(HasShot(normal, "CONFIGURATION")) << code;
        EXPECT_TRUE(HasShot(normal, "FAX_EMAIL_EDITOR")) << code;
        EXPECT_FALSE(HasShot(normal, "TCP_IP_SET_DLG")) << code;
        EXPECT_FALSE(HasShot(normal, "DNS_CONF_DLG")) << code;
    }
    EXPECT_EQ(GalleryFileName("CUSTOM_PAPER_SIZE_DLG:1"), "CUSTOM_PAPER_SIZE_DLG-1.png");
}

// The gallery's qzb inherits this test's own lock folder: a window an earlier test started in this
// process for the same model never holds it back.
class GalleryProcess : public ::testing::Test
{
protected:
    struct CGrabRun
    {
        bool finished = false;
        QProcess::ExitStatus exitStatus = QProcess::CrashExit;
        int exitCode = -1;
        std::string errors;
    };

    // qzb --grab-all into the folder on the simulated device after a download, with the options
    // before it.
    static CGrabRun GrabAll(const QStringList& options, const QString& folder)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess qzb;
        qzb.setProcessEnvironment(env);
        qzb.start(QZB_EXECUTABLE,
                  options +
                      QStringList{
                          "--data-dir", QZB_TEST_DATA_DIR, "--simulate", "--fast", "--download", "--grab-all", folder});
        CGrabRun run;
        run.finished = qzb.waitForFinished(180000);
        run.exitStatus = qzb.exitStatus();
        run.exitCode = qzb.exitCode();
        run.errors = qzb.readAllStandardError().toStdString();
        return run;
    }

    CFreshApp m_fresh;
};

TEST_F(GalleryProcess, GrabsEveryPageOfBothModesOnTheSimulator)
{
    QTemporaryDir folder;
    const CGrabRun run = GrabAll({"--model", "8313"}, folder.path());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    for (const char* name : {"normal/MAIN_WINDOW.png",
                             "normal/FAX_EMAIL.png",
                             "normal/FAX_EMAIL_EDITOR.png",
                             "normal/CONFIGURATION.png",
                             "service/MACHINE_SET_DLG.png",
                             "service/TCP_IP_SET_DLG.png",
                             "service/DNS_CONF_DLG.png"}) {
        const QImage image(folder.filePath(name));
        EXPECT_FALSE(image.isNull()) << name;
        EXPECT_GT(image.width() * image.height(), 0) << name;
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("normal/TCP_IP_SET_DLG.png")));
}

// In every language the window speaks, the whole tour runs clean: no page, dialog or editor fails to
// show, and none raises a message.
TEST_F(GalleryProcess, GrabsEveryPictureCleanInEveryLanguage)
{
    for (const std::string_view code : UiLanguageCodes()) {
        const QString language = QString::fromUtf8(code.data(), static_cast<qsizetype>(code.size()));
        QTemporaryDir folder;
        const CGrabRun run = GrabAll({"--language", language}, folder.path());
        ASSERT_TRUE(run.finished) << code;
        EXPECT_EQ(run.exitStatus, QProcess::NormalExit) << code;
        EXPECT_EQ(run.exitCode, 0) << code << ": " << run.errors;
        EXPECT_FALSE(QImage(folder.filePath("normal/MAIN_WINDOW.png")).isNull()) << code;
        EXPECT_FALSE(QImage(folder.filePath("service/MACHINE_SET_DLG.png")).isNull()) << code;
    }
}

} // namespace
} // namespace qzb
