#include "tests/cli/qzbctl_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace qzb {
namespace {

// The text of a PDF file as pdftotext lays it out.
std::string PdfText(const std::string& path)
{
    std::string text;
    if (FILE* pipe = ::popen(("pdftotext -layout '" + path + "' - 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            text.append(buffer, n);
        }
        ::pclose(pipe);
    }
    return text;
}

// The fonts of a PDF file as pdffonts lists them: name and whether the file embeds it.
std::vector<std::pair<std::string, bool>> PdfFonts(const std::string& path)
{
    std::vector<std::pair<std::string, bool>> fonts;
    FILE* pipe = ::popen(("pdffonts '" + path + "' 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return fonts;
    }
    char line[512];
    bool table = false;
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::istringstream row(line);
        std::vector<std::string> words{std::istream_iterator<std::string>(row), std::istream_iterator<std::string>()};
        if (!table) {
            table = !words.empty() && words.front().starts_with("---");
            continue;
        }
        // name type… encoding emb sub uni object generation
        if (words.size() >= 7) {
            fonts.emplace_back(words.front(), words[words.size() - 5] == "yes");
        }
    }
    ::pclose(pipe);
    return fonts;
}

std::set<std::string> SpeedDialNumbers(const std::string& text)
{
    std::set<std::string> numbers;
    const std::regex number("SD-[0-9]{3}");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it) {
        numbers.insert(it->str());
    }
    return numbers;
}

TEST_F(Qzbctl, PrintWritesTheChosenSpeedDialsToAPdf)
{
    ASSERT_EQ(Run({"--model", "8313", "new", File("a.dat")}).status, kExitOk);
    for (int n = 1; n <= 10; ++n) {
        const std::string number = std::to_string(n);
        const CRun set =
            Run({"entry", "set", File("a.dat"), "speed:" + number, "name=Dial " + number, "number=55" + number});
        ASSERT_EQ(set.status, kExitOk) << set.err;
    }
    const CRun run = Run({"print", File("a.dat"), File("out.pdf"), "--lists", "speed", "--speed-numbers", "1-3,7"});
    if (run.err.find("built without") != std::string::npos) {
        GTEST_SKIP() << run.err;
    }
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.err, "") << "the offscreen platform's notes stay off stderr";
    const std::string text = PdfText(File("out.pdf"));
    EXPECT_EQ(SpeedDialNumbers(text), (std::set<std::string>{"SD-001", "SD-002", "SD-003", "SD-007"})) << text;
    EXPECT_NE(text.find("Dial 7"), std::string::npos);
    EXPECT_NE(text.find("557"), std::string::npos);
    EXPECT_EQ(text.find("GROUP DIAL LIST"), std::string::npos);

    const CRun usage = Run({"print", File("a.dat"), File("x.pdf"), "--lists", "speed,faxes"});
    EXPECT_EQ(usage.status, kExitUsage);
    EXPECT_NE(usage.err.find("--lists takes speed, group and favourite, not \"faxes\""), std::string::npos)
        << usage.err;
    EXPECT_FALSE(fs::exists(File("x.pdf")));
    for (const std::string model : {"2152", "8313"}) {
        const CRun missing = Run({"--model", model, "print", File("missing.dat"), File("x.pdf")});
        EXPECT_EQ(missing.status, kExitFailed);
        EXPECT_EQ(missing.err,
                  "error 0x80020044: The settings file could not be opened. (" + File("missing.dat") +
                      ": No such file or directory)\n")
            << model;
    }
    EXPECT_FALSE(fs::exists(File("x.pdf")));
    // What the print dialog's field refuses is a usage error; numbers outside the list print it all.
    for (const char* numbers : {"abc", "-5", "5-", "1;2", "1-3-5", ""}) {
        const CRun refused = Run({"print", File("a.dat"), File("x.pdf"), "--speed-numbers", numbers});
        EXPECT_EQ(refused.status, kExitUsage) << numbers;
        EXPECT_NE(refused.err.find("--speed-numbers"), std::string::npos) << refused.err;
        EXPECT_FALSE(fs::exists(File("x.pdf"))) << numbers;
    }
    ASSERT_EQ(Run({"print", File("a.dat"), File("whole.pdf"), "--lists", "speed"}).status, kExitOk);
    const std::set<std::string> whole = SpeedDialNumbers(PdfText(File("whole.pdf")));
    for (const char* numbers : {"0", "999"}) {
        const CRun all = Run({"print", File("a.dat"), File("all.pdf"), "--lists", "speed", "--speed-numbers", numbers});
        ASSERT_EQ(all.status, kExitOk) << numbers << all.err;
        EXPECT_EQ(SpeedDialNumbers(PdfText(File("all.pdf"))), whole) << numbers;
    }
}

// The titles, title block and headings come in the language's words, names in the panel's code as
// the panel language reads them, and the PDF embeds every face it draws with, so a reader without
// Japanese or Cyrillic faces shows them too. English keeps the list's own words.
TEST_F(Qzbctl, PrintWritesTheListsInTheLanguageWithEmbeddedFaces)
{
    ASSERT_EQ(Run({"--model", "8313", "new", File("a.dat")}).status, kExitOk);
    ASSERT_EQ(Run({"set", File("a.dat"), "MACHINE_SET_DLG", "Machine_Language", "--number", "11"}).status, kExitOk);
    for (const std::vector<std::string>& entry :
         {std::vector<std::string>{"speed:1", "name=ﾔﾏﾀﾞ ｼｮｳｼﾞ", "number=551", "groups=1"},
          {"group:1", "name=ｴｲｷﾞｮｳ"},
          {"favourite:1", "speed=1"}}) {
        std::vector<std::string> set = {"entry", "set", File("a.dat")};
        set.insert(set.end(), entry.begin(), entry.end());
        const CRun run = Run(set);
        ASSERT_EQ(run.status, kExitOk) << entry.front() << run.err;
    }
    const std::vector<std::string> lists = {"--lists",
                                            "speed,group,favourite",
                                            "--speed-numbers",
                                            "1-2",
                                            "--group-numbers",
                                            "1",
                                            "--favourite-numbers",
                                            "1"};
    std::vector<std::string> print = {"--language", "ja", "print", File("a.dat"), File("ja.pdf")};
    print.insert(print.end(), lists.begin(), lists.end());
    const CRun japanese = Run(print);
    if (japanese.err.find("built without") != std::string::npos) {
        GTEST_SKIP() << japanese.err;
    }
    ASSERT_EQ(japanese.status, kExitOk) << japanese.err;
    const std::string text = PdfText(File("ja.pdf"));
    for (const char* expected : {"短縮ダイヤルリスト",
                                 "グループダイヤルリスト",
                                 "お気に入りリスト",
                                 "宛先番号",
                                 "登録日",
                                 "グループ名",
                                 "ユーザー:",
                                 "日付:",
                                 "SD-001 ﾔﾏﾀﾞ ｼｮｳｼﾞ",
                                 "ｴｲｷﾞｮｳ"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " missing in\n" << text;
    }
    EXPECT_EQ(text.find("SPEED DIAL LIST"), std::string::npos);
    const auto fonts = PdfFonts(File("ja.pdf"));
    EXPECT_FALSE(fonts.empty());
    for (const auto& [name, embedded] : fonts) {
        EXPECT_TRUE(embedded) << name << " is not embedded";
    }

    ASSERT_EQ(Run({"set", File("a.dat"), "MACHINE_SET_DLG", "Machine_Language", "--number", "6"}).status, kExitOk);
    ASSERT_EQ(Run({"entry", "set", File("a.dat"), "speed:2", "name=Жизнь Шпиц", "number=552"}).status, kExitOk);
    print = {"--language", "ru", "print", File("a.dat"), File("ru.pdf")};
    print.insert(print.end(), lists.begin(), lists.end());
    const CRun russian = Run(print);
    ASSERT_EQ(russian.status, kExitOk) << russian.err;
    const std::string cyrillic = PdfText(File("ru.pdf"));
    for (const char* expected :
         {"СПИСОК БЫСТРОГО НАБОРА", "СПИСОК ИЗБРАННОГО", "НОМЕР АДРЕСАТА", "ПОЛЬЗОВАТЕЛЬ:", "SD-002 Жизнь Шпиц"}) {
        EXPECT_NE(cyrillic.find(expected), std::string::npos) << expected << " missing in\n" << cyrillic;
    }
    const auto cyrillicFonts = PdfFonts(File("ru.pdf"));
    EXPECT_FALSE(cyrillicFonts.empty());
    for (const auto& [name, embedded] : cyrillicFonts) {
        EXPECT_TRUE(embedded) << name << " is not embedded";
    }

    print = {"--language", "en", "print", File("a.dat"), File("en.pdf")};
    print.insert(print.end(), lists.begin(), lists.end());
    ASSERT_EQ(Run(print).status, kExitOk);
    const std::string english = PdfText(File("en.pdf"));
    for (const char* expected : {"SPEED DIAL LIST", "FAVORITE LIST", "DESTINATION STATIOTN", "NAME:", "SET DATE"}) {
        EXPECT_NE(english.find(expected), std::string::npos) << expected << " missing in\n" << english;
    }
}

// A FIFO named as the PDF is no file to replace: it is refused and stays a FIFO.
TEST_F(Qzbctl, PrintLeavesAFifoAtTheOutputName)
{
    ASSERT_EQ(Run({"new", File("d.dat")}).status, kExitOk);
    ASSERT_EQ(::mkfifo(File("pipe.pdf").c_str(), 0644), 0);
    const CRun run = Run({"print", File("d.dat"), File("pipe.pdf")});
    if (run.err.find("built without") != std::string::npos) {
        GTEST_SKIP() << run.err;
    }
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err,
              "error 0x80020031: The file could not be written. (" + File("pipe.pdf") +
                  " is no regular file, so it is left as it is)\n");
    EXPECT_EQ(fs::status(File("pipe.pdf")).type(), fs::file_type::fifo);
}

} // namespace
} // namespace qzb
