#pragma once

// The in-process qzbctl fixture the command-line tests share: a fresh folder per test and runs
// with the build's string tables and captured streams.

#include "cli/qzbctl.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace qzb {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Json = nlohmann::json;

struct CRun
{
    int status = -1;
    std::string out;
    std::string err;
};

class Qzbctl : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "qzbctl-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        // Device locks of this test's simulated devices stay in its own folder, so tests running
        // side by side never find each other's device held.
        ::setenv("QZB_LOCK_DIR", m_folder.c_str(), 1);
        // Without --model, device commands fall back on the model a window last ran as: never the
        // developer's own.
        ::setenv("XDG_CONFIG_HOME", (m_folder / "config").c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_folder, error);
    }

    // Runs qzbctl with the build's string tables.
    CRun Run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--data-dir", QZB_TEST_DATA_DIR});
        std::ostringstream out;
        std::ostringstream err;
        CRun run;
        run.status = RunQzbctl(arguments, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    std::string File(const std::string& name) const { return (m_folder / name).string(); }

    Json Dump(const std::string& name)
    {
        const CRun run = Run({"dump", File(name)});
        EXPECT_EQ(run.status, kExitOk) << run.err;
        return Json::parse(run.out);
    }

    static Bytes Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void Write(const std::string& path, const Bytes& bytes)
    {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    fs::path m_folder;
};

} // namespace qzb
