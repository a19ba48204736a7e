// Cold start of qzb to its first picture against the bare Qt window (bare_window.cpp), both run as
// processes, alternately, in the same run: the median wall time and the median peak resident memory
// of each, and their ratios. Run by hand: bin/qzb_startup_bench [rounds].
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr double kWallBar = 1.2;
constexpr double kMemoryBar = 1.3;

struct CRun
{
    double milliseconds = 0;
    double cpuMilliseconds = 0;
    long peakKilobytes = 0;
    bool ok = false;
};

double Milliseconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
}

// Runs the command with its output in log; the wall time, processor time and peak resident memory.
CRun Launch(const std::vector<std::string>& command, const std::filesystem::path& log)
{
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (std::freopen(log.c_str(), "a", stderr) == nullptr || std::freopen(log.c_str(), "a", stdout) == nullptr) {
            _exit(126);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) {
        return {};
    }
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(end - start).count(),
            Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime),
            usage.ru_maxrss,
            WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

template <class T>
T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("qzb_startup." + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "locks");
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    const std::filesystem::path log = folder / "output.log";
    // Both programs draw offscreen; qzb keeps its preferences and lock apart from a qzb in use.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    setenv("QZB_LOCK_DIR", (folder / "locks").c_str(), 1);
    const std::vector<std::string> qzb = {QZB_EXECUTABLE,
                                          "--model",
                                          "8314",
                                          "--data-dir",
                                          QZB_BUILD_DATA_DIR,
                                          "--screenshot",
                                          (folder / "qzb.png").string()};
    const std::vector<std::string> bare = {BARE_EXECUTABLE, (folder / "bare.png").string()};

    // A first start of each fills the page cache, as a user's second start would find it.
    Launch(qzb, log);
    Launch(bare, log);
    std::vector<double> qzbWall, bareWall, qzbCpu, bareCpu;
    std::vector<long> qzbMemory, bareMemory;
    for (int round = 0; round < rounds; ++round) {
        const CRun a = Launch(qzb, log);
        const CRun b = Launch(bare, log);
        if (!a.ok || !b.ok) {
            std::fprintf(stderr,
                         "qzb_startup_bench: %s failed; its output is in %s\n",
                         a.ok ? "the bare window" : "qzb --screenshot",
                         log.c_str());
            return 1;
        }
        qzbWall.push_back(a.milliseconds);
        bareWall.push_back(b.milliseconds);
        qzbCpu.push_back(a.cpuMilliseconds);
        bareCpu.push_back(b.cpuMilliseconds);
        qzbMemory.push_back(a.peakKilobytes);
        bareMemory.push_back(b.peakKilobytes);
    }
    std::filesystem::remove_all(folder);

    const double wallRatio = Median(qzbWall) / Median(bareWall);
    const double memoryRatio = static_cast<double>(Median(qzbMemory)) / static_cast<double>(Median(bareMemory));
    std::printf("%d rounds, medians\n", rounds);
    std::printf("  %-18s %8.1f ms wall  %8.1f ms processor  %8ld KiB peak\n",
                "qzb --screenshot",
                Median(qzbWall),
                Median(qzbCpu),
                Median(qzbMemory));
    std::printf("  %-18s %8.1f ms wall  %8.1f ms processor  %8ld KiB peak\n",
                "bare Qt window",
                Median(bareWall),
                Median(bareCpu),
                Median(bareMemory));
    std::printf(
        "  wall   %.2fx the bare window (bar %.1fx) %s\n", wallRatio, kWallBar, wallRatio <= kWallBar ? "ok" : "OVER");
    // On a busy machine the fastest start of each says more about the programs than the median.
    std::printf("  wall, fastest start of each: %.2fx\n",
                *std::min_element(qzbWall.begin(), qzbWall.end()) /
                    *std::min_element(bareWall.begin(), bareWall.end()));
    std::printf("  processor %.2fx the bare window\n", Median(qzbCpu) / Median(bareCpu));
    std::printf("  memory %.2fx the bare window (bar %.1fx) %s\n",
                memoryRatio,
                kMemoryBar,
                memoryRatio <= kMemoryBar ? "ok" : "OVER");
    return 0;
}
