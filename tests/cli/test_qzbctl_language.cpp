#include "tests/cli/qzbctl_fixture.h"

#include "model/text_codec.h"

namespace qzb {
namespace {

// The JSON with its display texts left out: what a script reads must not change with the language.
Json WithoutDisplayTexts(Json page)
{
    for (Json& control : page["controls"]) {
        control.erase("text");
        if (control["kind"] == "label") {
            control.erase("value");
        }
        if (control.contains("choices")) {
            for (Json& choice : control["choices"]) {
                choice.erase("text");
            }
        }
    }
    return page;
}

class QzbctlLanguage : public Qzbctl
{
protected:
    void SetUp() override
    {
        Qzbctl::SetUp();
        ASSERT_EQ(Run({"--model", "8313", "new", File("a.dat")}).status, kExitOk);
    }
    void TearDown() override
    {
        ::setenv("LC_ALL", "C.UTF-8", 1);
        SetProcessCodePage(kDefaultCodePage);
        Qzbctl::TearDown();
    }
    std::string LabelText(const std::vector<std::string>& options)
    {
        std::vector<std::string> arguments = options;
        arguments.insert(arguments.end(), {"page", "show", File("a.dat"), "MACHINE_SET_DLG"});
        const CRun run = Run(arguments);
        EXPECT_EQ(run.status, kExitOk) << run.err;
        return Json::parse(run.out)["controls"][0]["text"];
    }
};

TEST_F(QzbctlLanguage, PagesAndMessagesFollowTheChosenLanguageAndTheJsonDoesNot)
{
    const CRun english = Run({"page", "show", File("a.dat"), "MACHINE_SET_DLG"});
    const CRun french = Run({"--language", "fr", "page", "show", File("a.dat"), "MACHINE_SET_DLG"});
    ASSERT_EQ(english.status, kExitOk) << english.err;
    ASSERT_EQ(french.status, kExitOk) << french.err;
    const Json en = Json::parse(english.out);
    const Json fr = Json::parse(french.out);
    EXPECT_EQ(en["controls"][0]["text"], "Administrator Name");
    EXPECT_NE(fr["controls"][0]["text"], en["controls"][0]["text"]);
    EXPECT_EQ(WithoutDisplayTexts(fr), WithoutDisplayTexts(en));

    // An error keeps its code and gets the language's words.
    const CRun englishError = Run({"dump", File("missing.dat")});
    const CRun frenchError = Run({"--language", "fr", "dump", File("missing.dat")});
    EXPECT_EQ(frenchError.status, englishError.status);
    ASSERT_EQ(englishError.err.substr(0, 17), frenchError.err.substr(0, 17)) << frenchError.err;
    EXPECT_EQ(englishError.err.substr(0, 6), "error ");
    EXPECT_NE(frenchError.err, englishError.err);
    EXPECT_NE(frenchError.err.find("fichier"), std::string::npos) << frenchError.err;
}

TEST_F(QzbctlLanguage, TheLanguageComesFromTheOptionTheWindowsChoiceOrTheLocale)
{
    const std::string english = LabelText({});
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    const std::string german = LabelText({});
    EXPECT_NE(german, english) << "the locale's language";
    EXPECT_EQ(LabelText({"--language", "en"}), english) << "--language over the locale";

    fs::create_directories(m_folder / "config" / "QZB");
    std::ofstream(m_folder / "config" / "QZB" / "qzb.ini") << "[General]\nLanguage=ja\n";
    const std::string japanese = LabelText({});
    EXPECT_NE(japanese, german) << "the window's Language over the locale";
    EXPECT_NE(japanese.find("\xE7\xAE\xA1"), std::string::npos) << japanese; // 管, of 管理者名
    EXPECT_EQ(LabelText({"--language", "de"}), german) << "--language over the window's Language";

    const CRun unknown = Run({"--language", "xx", "page", "show", File("a.dat"), "MACHINE_SET_DLG"});
    EXPECT_EQ(unknown.status, kExitOk);
    EXPECT_NE(unknown.err.find("no texts in the language xx"), std::string::npos) << unknown.err;
    EXPECT_EQ(Json::parse(unknown.out)["controls"][0]["text"], english);
}

TEST_F(QzbctlLanguage, ADeviceDiagnosisIsPrintedInTheChosenLanguage)
{
    const std::vector<std::string> missing = {"--simulate", "--model", "2152", "--device", "9:9", "device", "status"};
    const CRun english = Run(missing);
    std::vector<std::string> arguments = {"--language", "de"};
    arguments.insert(arguments.end(), missing.begin(), missing.end());
    const CRun german = Run(arguments);
    EXPECT_EQ(english.status, kExitFailed);
    EXPECT_EQ(german.status, kExitFailed);
    EXPECT_NE(english.err.find("No device 9:9 of model 2152 (USB id 0b49:0868) was found. `device list` shows"),
              std::string::npos)
        << english.err;
    // The code stays; the words, with the selector and the model in their places, are German.
    EXPECT_EQ(german.err.substr(0, 17), english.err.substr(0, 17)) << german.err;
    EXPECT_NE(german.err.find("Kein Gerät 9:9 für Modell 2152 (USB-ID 0b49:0868) gefunden. `device list` zeigt"),
              std::string::npos)
        << german.err;
    for (const char* leftover : {"STR_", "%1", "%2", "No device"}) {
        EXPECT_EQ(german.err.find(leftover), std::string::npos) << leftover << " in " << german.err;
    }
}

} // namespace
} // namespace qzb
