#include "tests/cli/qzbctl_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>
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
