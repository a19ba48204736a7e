#include "ui/main/qzb_app.h"

#include "tests/support/assertion_listener.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdlib>

// One application object serves every widget test. Preferences and lock files go to a private
// folder so that the tests never meet a qzb the developer is running.
int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // The texts the tests expect are the English ones, whatever language the desktop speaks.
    setenv("LC_ALL", "C.UTF-8", 1);
    QTemporaryDir sandbox;
    setenv("XDG_CONFIG_HOME", qPrintable(sandbox.filePath("config")), 1);
    setenv("XDG_DATA_HOME", qPrintable(sandbox.filePath("data")), 1);
    setenv("TMPDIR", qPrintable(sandbox.path()), 1);
    // The qzb processes the tests start inherit this too, so parallel runs never meet.
    QDir(sandbox.path()).mkpath("locks");
    setenv("QZB_LOCK_DIR", qPrintable(sandbox.filePath("locks")), 1);
    qzb::CQZBApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    qzb::test::InstallAssertionCounter();
    return RUN_ALL_TESTS();
}
