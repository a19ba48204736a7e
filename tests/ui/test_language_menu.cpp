#include "app/language_choice.h"
#include "app/last_model.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/main/qzb_app.h"
#include "ui/main/qzb_dlg.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

namespace qzb {
namespace {

CQZBApp& LanguageApp()
{
    return *static_cast<CQZBApp*>(QCoreApplication::instance());
}

// File ▸ Language: the choice is kept for the next start, and that start speaks it.
class LanguageMenu : public ::testing::Test
{
protected:
    void TearDown() override
    {
        LanguageApp().Start({"qzb", "--version"}); // lets go of the window and the lock
        // The other tests of this program expect English.
        Launcher().WriteText(kPrefLanguage, u"");
    }

    static CQSettingsPreferences Launcher() { return CQSettingsPreferences(std::string(kLauncherKeyPath)); }

    static std::optional<int> Start(QStringList arguments = {})
    {
        return LanguageApp().Start(QStringList{"qzb", "--data-dir", QZB_TEST_DATA_DIR, "--fast", "--simulate"} +
                                   arguments);
    }

    static QMenu* Menu(const char* name) { return LanguageApp().MainWindow()->findChild<QMenu*>(name); }

    static QString Checked()
    {
        for (QAction* action : Menu("languageMenu")->actions()) {
            if (action->isChecked()) {
                return action->data().toString();
            }
        }
        return {};
    }
};

TEST_F(LanguageMenu, AChoiceByTheKeyboardIsKeptAndTheNextStartSpeaksIt)
{
    ASSERT_FALSE(Start().has_value());
    CQZBDlg* window = LanguageApp().MainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ASSERT_NE(Menu("languageMenu"), nullptr);
    EXPECT_EQ(Menu("languageMenu")->actions().size(), static_cast<qsizetype>(UiLanguages().size()));
    EXPECT_EQ(Checked(), "en");

    // Alt+F opens File, L its Language menu; German is the third of the panel's languages.
    QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return Menu("fileMenu")->isVisible(); }));
    QTest::keyClick(Menu("fileMenu"), Qt::Key_L);
    ASSERT_TRUE(QTest::qWaitFor([] { return Menu("languageMenu")->isVisible(); }));
    for (int step = 0; step < 3 && Menu("languageMenu")->activeAction() != Menu("languageMenu")->actions()[2]; ++step) {
        QTest::keyClick(Menu("languageMenu"), Qt::Key_Down);
    }
    ASSERT_EQ(Menu("languageMenu")->activeAction()->text(), QString::fromUtf8("Deutsch"));
    QTest::keyClick(Menu("languageMenu"), Qt::Key_Return);

    EXPECT_EQ(Launcher().ReadText(kPrefLanguage, u""), u"de");
    EXPECT_EQ(Checked(), "de");
    EXPECT_FALSE(window->statusBar()->currentMessage().isEmpty()) << "the user learns when it applies";
    EXPECT_EQ(Menu("fileMenu")->title(), "&File") << "the window keeps its texts until it starts again";

    ASSERT_FALSE(Start().has_value());
    EXPECT_EQ(LanguageApp().Context().language, "de");
    EXPECT_EQ(Menu("fileMenu")->title(), "&Datei");
    EXPECT_EQ(Checked(), "de");

    // --language outweighs the kept choice for one start, and keeps it.
    ASSERT_FALSE(Start({"--language", "fr"}).has_value());
    EXPECT_EQ(Menu("fileMenu")->title(), "&Fichier");
    EXPECT_EQ(Launcher().ReadText(kPrefLanguage, u""), u"de");
}

} // namespace
} // namespace qzb
