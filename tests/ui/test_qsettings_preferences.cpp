#include "ui/main/qsettings_preferences.h"

#include "app/model_profile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace qzb {
namespace {

unsigned ModeOf(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

TEST(QSettingsPreferences, TextsAndPasswordRoundTripInAnOwnerOnlyFile)
{
    CQSettingsPreferences preferences(PreferencesKeyPath(FindModelProfile(8314)));
    QFile::remove(preferences.FilePath());
    EXPECT_EQ(preferences.ReadText(kPrefDatFilePath, u"default"), u"default");
    EXPECT_EQ(ReadServiceManPassword(preferences), u"qorlex");

    ASSERT_TRUE(preferences.WriteText(kPrefDatFilePath, u"/home/user/\u00E9t\u00E9"));
    ASSERT_TRUE(WriteServiceManPassword(preferences, u"n3w=pass;word"));
    EXPECT_EQ(preferences.ReadText(kPrefDatFilePath, u"default"), u"/home/user/\u00E9t\u00E9");
    EXPECT_EQ(ReadServiceManPassword(preferences), u"n3w=pass;word");

    const QString path = preferences.FilePath();
    EXPECT_TRUE(path.endsWith("MERIDAN TOVELL/MERIDAN TOVELL lumatrace 8125MF QZB.ini")) << path.toStdString();
    EXPECT_EQ(ModeOf(path), 0600u);

    // A second write goes through QSettings' rewrite of the file; the permissions must survive it.
    ASSERT_TRUE(preferences.WriteText(kPrefCsvFileName, u"book.csv"));
    EXPECT_EQ(ModeOf(path), 0600u);
}

TEST(QSettingsPreferences, EachProfileHasItsOwnFile)
{
    CQSettingsPreferences obsidian(PreferencesKeyPath(FindModelProfile(8313)));
    CQSettingsPreferences coral(PreferencesKeyPath(FindModelProfile(2152)));
    ASSERT_TRUE(obsidian.WriteText(kPrefCsvFilePath, u"/a"));
    EXPECT_EQ(coral.ReadText(kPrefCsvFilePath, u""), u"");
    EXPECT_NE(obsidian.FilePath(), coral.FilePath());
}

TEST(QSettingsPreferences, TooLongAKeyReadsDefaultsAndDropsWrites)
{
    CQSettingsPreferences preferences("");
    EXPECT_FALSE(preferences.WriteText(kPrefDatFileName, u"x"));
    EXPECT_EQ(preferences.ReadText(kPrefDatFileName, u"NewFile"), u"NewFile");
    EXPECT_EQ(ReadServiceManPassword(preferences), u"qorlex");
}

} // namespace
} // namespace qzb
