#include "app/app_context.h"
#include "app/language_choice.h"
#include "app/language_class.h"
#include "app/model_profile.h"
#include "app/rendered_text.h"
#include "app/string_table.h"
#include "model/text_codec.h"
#include "tests/support/languages.h"
#include "tests/support/models.h"

#include <gtest/gtest.h>

#include <regex>

namespace qzb {
namespace {

std::filesystem::path TablePath(std::string_view language, std::int32_t model)
{
    const std::string fileName = StringTableFileName(FindModelProfile(model));
    const std::filesystem::path data(QZB_TEST_DATA_DIR);
    return language == kEnglishLanguage ? data / fileName : data / std::string(language) / fileName;
}

// The table's texts pass through the process code page, which follows the language as it does
// when a program starts in it.
class CLanguageCodePage
{
public:
    explicit CLanguageCodePage(std::string_view language) { SetProcessCodePage(LanguageCodePage(language)); }
    ~CLanguageCodePage() { SetProcessCodePage(kDefaultCodePage); }
    CLanguageCodePage(const CLanguageCodePage&) = delete;
    CLanguageCodePage& operator=(const CLanguageCodePage&) = delete;
};

CStringTable Load(std::string_view language, std::int32_t model)
{
    const CLanguageCodePage codePage(language);
    CStringTable table;
    EXPECT_TRUE(table.LoadFile(TablePath(language, model)).Ok()) << TablePath(language, model);
    return table;
}

std::string Utf8(const std::u16string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// What a translation must keep of the English text: its printf fields, its numbered places (%1,
// %2 ... in any order, each as often as the language needs), escapes and the count of accelerator
// markers ("&&" is a literal ampersand).
struct CTextShape
{
    std::multiset<std::string> fields;
    std::set<std::string> places;
    std::size_t lineBreaks = 0;
    std::size_t tabs = 0;
    std::size_t accelerators = 0;
    bool operator==(const CTextShape&) const = default;
};

CTextShape ShapeOf(const std::u16string& text)
{
    static const std::regex field(R"(%[-+ #0]*[0-9]*(\.[0-9]+)?[a-zA-Z])");
    CTextShape shape;
    const std::string utf8 = Utf8(text);
    for (auto it = std::sregex_iterator(utf8.begin(), utf8.end(), field); it != std::sregex_iterator(); ++it) {
        shape.fields.insert(it->str());
    }
    static const std::regex place(R"(%[1-9])");
    for (auto it = std::sregex_iterator(utf8.begin(), utf8.end(), place); it != std::sregex_iterator(); ++it) {
        shape.places.insert(it->str());
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') {
            ++shape.lineBreaks;
        } else if (text[i] == u'\t') {
            ++shape.tabs;
        } else if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&') {
                ++i;
            } else {
                ++shape.accelerators;
            }
        }
    }
    return shape;
}

class TranslatedTable : public ::testing::TestWithParam<std::string_view>
{
};

TEST_P(TranslatedTable, HoldsEveryEnglishKeyWithTheSameFieldsEscapesAndAccelerators)
{
    for (const std::int32_t model : kModels) {
        const CStringTable english = Load(kEnglishLanguage, model);
        const CStringTable translated = Load(GetParam(), model);
        // Every key once, in the English order: a key missing here would show English.
        EXPECT_EQ(translated.Size(), english.Size()) << GetParam() << " " << model;
        CStringTable completed = translated;
        EXPECT_EQ(completed.AddMissing(english), 0u) << GetParam() << " lacks keys for " << model;
        for (std::size_t i = 0; i < english.Size(); ++i) {
            const auto& [key, text] = english.Entry(i);
            const std::u16string* own = translated.Find(key);
            if (own == nullptr) {
                continue;
            }
            EXPECT_FALSE(own->empty() && !text.empty()) << GetParam() << " " << key << " is empty";
            if (key.starts_with("STR_RATIO_")) {
                EXPECT_GE(ParseSizeRatio(*own), 1.0) << GetParam() << " " << key << ": no translation is smaller";
                continue;
            }
            EXPECT_EQ(ShapeOf(*own), ShapeOf(text))
                << GetParam() << " " << key << ": \"" << Utf8(*own) << "\" against \"" << Utf8(text) << "\"";
        }
    }
}

// Texts a translation keeps as English writes them: names of protocols, formats, paper sizes,
// operations and countries that the languages borrow, and words that are spelled alike.
bool StaysAsWritten(std::string_view language, const std::string& english)
{
    static const std::regex borrowed(
        // no lower-case letter: codes, acronyms, sizes, ranges, units ("A4", "PSTN/PBX", "GMT +09", "9.6K")
        R"(^[^a-z]*$)"
        // MIME types, protocol operations and versions, resolutions, units
        R"(|^[a-z]+/[A-Za-z0-9.+-]+$|^[A-Z][a-z]+(-[A-Z][a-z]+)+$|^SNMP v.*|^Digest(-MD5)?$|^[0-9]+ dpi$|^mm$)"
        // paper sizes
        R"(|^(Government )?(Letter|Legal)$|^Statement$|^Executive$|^Monarch$|^Chou 3$|^Folio$|^Oficio$|^Com-10$)"
        // names of products, protocols and systems
        R"(|^IPv6$|^IPsec$|^NetWare$|^Bonjour$|^AppleTalk$|^Telnet$|^Ethernet$|^Windows$|^Mac$|^Basic$|^POP before SMTP$)"
        // words the languages borrow
        R"(|^Fax$|^E-mail$|^Fax/E-mail$)");
    if (std::regex_match(english, borrowed)) {
        return true;
    }
    static const std::set<std::string> countries = {"Argentina", "Australia", "Austria",  "Belgium",     "Canada",
                                                    "China",     "Europe",    "France",   "Hong Kong",   "Israel",
                                                    "Japan",     "Korea",     "Malaysia", "Philippines", "Portugal",
                                                    "Russia",    "Singapore", "Taiwan",   "USA",         "Vietnam"};
    if (countries.count(english) != 0) {
        return true; // a country's name where the language writes it the same
    }
    // Words spelled alike in English and in the language.
    static const std::map<std::string_view, std::set<std::string>> alike = {
        {"de", {"Name", "Normal", "Text", "Filter", "Details", "Details..."}},
        {"fr",
         {"Simple",
          "Configuration",
          "Communication",
          "Mode",
          "Mode 1",
          "Mode 2",
          "Photo",
          "Total",
          "Fine",
          "Date",
          "minutes",
          "Std/Photo"}},
        {"it", {"Password", "&File", "Fine", "No"}},
        {"es", {"Normal", "Total", "Simple", "Manual", "No"}},
        {"pt", {"Normal", "Total", "Manual", "Envelope"}},
        {"cs", {"Text"}},
        {"sk", {"Text", "Filter"}},
    };
    const auto words = alike.find(language);
    if (words != alike.end() && words->second.count(english) != 0) {
        return true;
    }
    // Italian writes seconds as "sec" and n-up copies as "4 in 1" too.
    static const std::regex italian(R"(^[0-9]+ (sec|in 1)$)");
    return language == "it" && std::regex_match(english, italian);
}

TEST_P(TranslatedTable, TranslatesEveryTextButTheWordsThatStay)
{
    const CStringTable english = Load(kEnglishLanguage, kModels[0]);
    const CStringTable translated = Load(GetParam(), kModels[0]);
    std::size_t translatedCount = 0;
    for (std::size_t i = 0; i < english.Size(); ++i) {
        const auto& [key, text] = english.Entry(i);
        const std::u16string* own = translated.Find(key);
        if (own == nullptr || key.starts_with("STR_RATIO_")) {
            continue;
        }
        if (*own != text) {
            ++translatedCount;
            continue;
        }
        EXPECT_TRUE(StaysAsWritten(GetParam(), Utf8(text)))
            << GetParam() << " " << key << " is still English: \"" << Utf8(text) << "\"";
    }
    EXPECT_GT(translatedCount, english.Size() * 3 / 4);
}

TEST_P(TranslatedTable, MenuAcceleratorsAreUniqueWithinEachMenu)
{
    // The menus as the window builds them; a clash makes Alt+letter cycle instead of choose.
    const std::vector<std::vector<std::string_view>> menus = {
        {"STR_MENU_FILE", "STR_MENU_DEVICE", "STR_MENU_HELP"},
        {"STR_MENU_SM_OPEN",
         "STR_MENU_SM_SAVE",
         "STR_MENU_SM_SAVE_AS",
         "STR_MENU_DIAL_IMPORT",
         "STR_MENU_DIAL_EXPORT",
         "STR_MENU_CONTACTS_IMPORT",
         "STR_MENU_CONTACTS_EXPORT",
         "STR_MENU_RESTORE_BACKUP",
         "STR_MENU_COMPARE_WITH_DEVICE",
         "STR_MENU_PRINT",
         "STR_MENU_LANGUAGE",
         "STR_MENU_EXIT"},
        {"STR_MENU_CONNECT",
         "STR_MENU_DISCONNECT",
         "STR_MENU_UPLOAD",
         "STR_MENU_DOWNLOAD",
         "STR_MENU_SM_CHANGE_PASSWORD"},
        {"STR_MENU_HELP_TOPICS", "STR_MENU_ABOUT"},
    };
    const CStringTable translated = Load(GetParam(), kModels[0]);
    for (const auto& menu : menus) {
        std::map<char16_t, std::string_view> taken;
        for (const std::string_view key : menu) {
            const std::u16string* text = translated.Find(key);
            ASSERT_NE(text, nullptr) << key;
            for (std::size_t i = 0; i + 1 < text->size(); ++i) {
                if ((*text)[i] == u'&' && (*text)[i + 1] == u'&') {
                    ++i;
                } else if ((*text)[i] == u'&') {
                    char16_t letter = (*text)[i + 1];
                    if (letter >= u'a' && letter <= u'z') {
                        letter = static_cast<char16_t>(letter - u'a' + u'A');
                    }
                    const auto [at, inserted] = taken.emplace(letter, key);
                    EXPECT_TRUE(inserted) << GetParam() << ": " << key << " and " << at->second << " share a letter";
                    break;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages,
                         TranslatedTable,
                         ::testing::ValuesIn(TranslatedLanguageCodes()),
                         [](const auto& info) { return std::string(info.param); });

TEST(LanguageClassOfTables, ComesFromEachTablesWordForNo)
{
    const std::map<std::string_view, std::int32_t> expected = {
        {"en", 63},
        {"fr", 63},
        {"de", 1920},
        {"it", 63},
        {"es", 63},
        {"pt", 63},
        {"ru", 64},
        {"cs", 1920},
        {"sk", 1920},
        {"hu", 1920},
        {"pl", 1920},
        {"ja", 2048},
    };
    for (const CUiLanguage& language : UiLanguages()) {
        for (const std::int32_t model : kModels) {
            const CLanguageCodePage codePage(language.code);
            CAppContext context(model);
            context.language = std::string(language.code);
            CDataFolders folders;
            folders.commandLine = std::filesystem::path(QZB_TEST_DATA_DIR);
            CKeyedText problem;
            ASSERT_TRUE(LoadProfileStringTable(context, folders, problem)) << RenderTextUtf8(problem, nullptr);
            ASSERT_EQ(context.language, language.code) << "the table of " << language.code << " was not found";
            const std::u16string* no = context.strings.Find(kLanguageProbeKey);
            ASSERT_NE(no, nullptr);
            EXPECT_EQ(LanguageClassFor(*no), expected.at(language.code)) << language.code << " " << model;
        }
    }
}

} // namespace
} // namespace qzb
