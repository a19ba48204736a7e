#include "app/app_context.h"
#include "app/language_choice.h"
#include "app/last_model.h"
#include "app/rendered_text.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qzb {
namespace {

CLanguageSources Locale(std::string lcAll, std::string lcMessages, std::string lang)
{
    CLanguageSources sources;
    sources.lcAll = std::move(lcAll);
    sources.lcMessages = std::move(lcMessages);
    sources.lang = std::move(lang);
    return sources;
}

TEST(UiLanguage, TheFirstSourceThatIsSetDecides)
{
    EXPECT_EQ(ChooseUiLanguage(Locale("", "", "")), "en");
    EXPECT_EQ(ChooseUiLanguage(Locale("", "", "de_DE.UTF-8")), "de");
    EXPECT_EQ(ChooseUiLanguage(Locale("", "ja_JP.UTF-8", "de_DE.UTF-8")), "ja");
    EXPECT_EQ(ChooseUiLanguage(Locale("fr_CA", "ja_JP.UTF-8", "de_DE.UTF-8")), "fr");
    // A variable that is set decides even for a language without texts, as the C library's
    // choice does: LC_ALL=C means English whatever LANG says.
    EXPECT_EQ(ChooseUiLanguage(Locale("C", "", "de_DE.UTF-8")), "en");
    EXPECT_EQ(ChooseUiLanguage(Locale("", "nl_NL.UTF-8", "de_DE.UTF-8")), "en");

    CLanguageSources sources = Locale("fr_FR.UTF-8", "", "");
    sources.preference = "ru";
    EXPECT_EQ(ChooseUiLanguage(sources), "ru") << "the window's Language wins over the locale";
    sources.commandLine = "pl";
    EXPECT_EQ(ChooseUiLanguage(sources), "pl") << "--language wins over everything";
    sources.commandLine = "xx";
    EXPECT_EQ(ChooseUiLanguage(sources), "en") << "a language without texts falls back to English";
    sources.commandLine = "";
    EXPECT_EQ(ChooseUiLanguage(sources), "ru") << "an empty --language is not set";
}

TEST(UiLanguage, LocaleNamesAndTagsNameTheirLanguage)
{
    const struct
    {
        const char* name;
        const char* code; // nullptr: no language of the utility
    } cases[] = {
        {"de", "de"},
        {"DE", "de"},
        {"de_AT", "de"},
        {"de_DE.UTF-8", "de"},
        {"pt-BR", "pt"},
        {"cs_CZ@euro", "cs"},
        {"ja_JP.eucJP", "ja"},
        {"sk_SK.ISO-8859-2", "sk"},
        {"C", nullptr},
        {"POSIX", nullptr},
        {"C.UTF-8", nullptr},
        {"", nullptr},
        {"deu", nullptr},
        {"nl_NL", nullptr},
        {"e", nullptr},
    };
    for (const auto& c : cases) {
        const CUiLanguage* language = FindUiLanguage(c.name);
        if (c.code == nullptr) {
            EXPECT_EQ(language, nullptr) << c.name;
        } else {
            ASSERT_NE(language, nullptr) << c.name;
            EXPECT_EQ(language->code, c.code) << c.name;
        }
    }
}

TEST(UiLanguage, TheTwelveFollowThePanelsNumbers)
{
    const auto languages = UiLanguages();
    ASSERT_EQ(languages.size(), 12u);
    for (std::size_t i = 0; i < languages.size(); ++i) {
        EXPECT_EQ(languages[i].machineLanguage, static_cast<int>(i)) << languages[i].code;
    }
    EXPECT_EQ(languages.front().code, kEnglishLanguage);
    EXPECT_EQ(languages[6].code, "ru");
    EXPECT_EQ(languages[11].code, "ja");
}

TEST(UiLanguage, TheWindowsLanguageIsReadFromTheLauncherFile)
{
    EXPECT_EQ(LauncherValueInIniText("[General]\nLastModel=8314\nLanguage=de\n", kPrefLanguage), "de");
    EXPECT_EQ(LauncherValueInIniText("Language = ja \r\n", kPrefLanguage), "ja");
    EXPECT_FALSE(LauncherValueInIniText("[Other]\nLanguage=de\n", kPrefLanguage).has_value());
    EXPECT_EQ(LastModelInIniText("Language=de\nLastModel=8329\n"), 8329);
}

class TranslatedTables : public ::testing::Test
{
protected:
    void Write(const std::filesystem::path& relative, const std::string& text)
    {
        const std::filesystem::path path = folder.Path() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    CDataFolders Folders() const
    {
        CDataFolders folders;
        folders.commandLine = folder.Path();
        return folders;
    }

    CTempFolder folder;
    CAppContext context{8313};
    std::string fileName = StringTableFileName(*context.profile);
};

TEST_F(TranslatedTables, AKeyTheTranslationLacksShowsItsEnglishText)
{
    Write(fileName, "STR_MSG_BTN_NO=No\nSTR_A=English A\nSTR_B=English B\n");
    Write("de/" + fileName, "STR_MSG_BTN_NO=Nein\nSTR_A=Deutsch A\n");
    context.language = "de";
    CKeyedText problem;
    ASSERT_TRUE(LoadProfileStringTable(context, Folders(), problem)) << RenderTextUtf8(problem, nullptr);
    EXPECT_EQ(context.language, "de");
    EXPECT_EQ(*context.strings.Find("STR_A"), u"Deutsch A");
    EXPECT_EQ(*context.strings.Find("STR_B"), u"English B");
    EXPECT_EQ(*context.strings.Find("STR_MSG_BTN_NO"), u"Nein");
}

TEST_F(TranslatedTables, ALanguageWithoutATableFallsBackToEnglish)
{
    Write(fileName, "STR_A=English A\n");
    Write("fr/" + fileName, "STR_A=Français A\n");
    context.language = "de";
    CKeyedText problem;
    ASSERT_TRUE(LoadProfileStringTable(context, Folders(), problem)) << RenderTextUtf8(problem, nullptr);
    EXPECT_EQ(context.language, "en") << "the language loaded, for what depends on it";
    EXPECT_EQ(*context.strings.Find("STR_A"), u"English A");
}

TEST_F(TranslatedTables, ADamagedTranslationIsNamedAndNotReplacedByEnglish)
{
    Write(fileName, "STR_A=English A\n");
    Write("ja/" + fileName, "STR_A=" + std::string(900, 'x') + "\n");
    context.language = "ja";
    CKeyedText problem;
    EXPECT_FALSE(LoadProfileStringTable(context, Folders(), problem));
    const std::string text = RenderTextUtf8(problem, nullptr);
    EXPECT_NE(text.find("ja/" + fileName), std::string::npos) << text;
    EXPECT_NE(text.find("line 1"), std::string::npos) << text;
}

TEST(StringTableFallback, AddsOnlyTheKeysTheTableLacksAndKeepsTheFirstOfEach)
{
    CStringTable translated;
    std::istringstream de("STR_A=A de\nSTR_C=C de\n");
    ASSERT_TRUE(translated.Load(de).Ok());
    CStringTable english;
    std::istringstream en("STR_A=A en\nSTR_B=B en\nSTR_B=B second\nSTR_C=C en\nSTR_D=D en\n");
    ASSERT_TRUE(english.Load(en).Ok());
    EXPECT_EQ(translated.AddMissing(english), 2u);
    EXPECT_EQ(translated.Size(), 4u);
    EXPECT_EQ(*translated.Find("STR_A"), u"A de");
    EXPECT_EQ(*translated.Find("STR_B"), u"B en");
    EXPECT_EQ(*translated.Find("STR_C"), u"C de");
    EXPECT_EQ(*translated.Find("STR_D"), u"D en");
    EXPECT_EQ(translated.AddMissing(english), 0u);
}

} // namespace
} // namespace qzb
