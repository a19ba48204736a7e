// qzbctl run as its own program: what only shows between processes (two writers at once) or with
// the shell's plumbing (a pipe for a file).

#include "app/app_context.h"
#include "files/dat_file.h"
#include "model/text_codec.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace qzb {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kRounds = 50; // a sanitized qzbctl starts several times slower
#else
constexpr int kRounds = 200;
#endif

// Starts qzbctl with the build's string tables, its output thrown away.
pid_t Start(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), {QZBCTL_EXECUTABLE, "--data-dir", QZB_TEST_DATA_DIR});
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    EXPECT_EQ(::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int Finish(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The standard output of a bash command line.
std::string Bash(const std::string& line, int* status)
{
    const std::string command = "bash -c \"" + line + "\"";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof(buffer), pipe)) {
        out.append(buffer, n);
    }
    const int result = ::pclose(pipe);
    *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return out;
}

// Two `set` runs on one file at once, each changing its own field: both changes must arrive, in
// every round.
TEST(QzbctlProcesses, TwoWritersAtOnceLoseNoChange)
{
    const CTempFolder folder;
    const std::string file = (folder.Path() / "d.dat").string();
    ASSERT_EQ(Finish(Start({"new", file})), 0);
    int lost = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::string name = std::to_string(round) + "A";
        const std::string fax = std::to_string(round) + "B";
        const pid_t first = Start({"set", file, "USER_SET_DLG", "USER_NAME", "--text", name});
        const pid_t second = Start({"set", file, "USER_SET_DLG", "USER_FAXNAME", "--text", fax});
        ASSERT_EQ(Finish(first), 0);
        ASSERT_EQ(Finish(second), 0);
        CAppContext context(QZB_DEFAULT_MODEL_FOR_TESTS);
        ASSERT_EQ(OpenDatFile(file, context), kOk);
        const bool kept = Utf16ToUtf8(context.store.GetItemText("USER_SET_DLG", "USER_NAME")) == name &&
                          Utf16ToUtf8(context.store.GetItemText("USER_SET_DLG", "USER_FAXNAME")) == fax;
        lost += kept ? 0 : 1;
    }
    EXPECT_EQ(lost, 0) << "rounds of " << kRounds << " that lost a change";
}

// A pipe gives its bytes once: the header that says the model and the settings come from one read.
TEST(QzbctlProcesses, AFilePipedInIsReadOnce)
{
    const CTempFolder folder;
    const std::string file = (folder.Path() / "coral.dat").string();
    ASSERT_EQ(Finish(Start({"--model", "8329", "new", file})), 0);
    ASSERT_EQ(Finish(Start({"set", file, "USER_SET_DLG", "USER_NAME", "--text", "Bob"})), 0);
    const std::string qzbctl = std::string(QZBCTL_EXECUTABLE) + " --data-dir '" + QZB_TEST_DATA_DIR + "'";
    for (const std::string& line :
         {"cat '" + file + "' | " + qzbctl + " dump /dev/stdin", qzbctl + " dump <(cat '" + file + "')"}) {
        int status = -1;
        const std::string out = Bash(line, &status);
        ASSERT_EQ(status, 0) << line;
        const nlohmann::json json = nlohmann::json::parse(out);
        EXPECT_EQ(json["model"], 8329) << line;
        EXPECT_EQ(json["settings"]["USER_SET_DLG"]["USER_NAME"]["text"], "Bob") << line;
    }
}

} // namespace
} // namespace qzb
