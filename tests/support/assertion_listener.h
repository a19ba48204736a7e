#pragma once

// With QZB_COUNT_ASSERTIONS=<file> set, appends one line per test that ran to that file:
// "<suite>.<test> <assertions reached> <passed|failed|skipped>". scripts/count-vacuous-tests reads it.

#include "assertion_count.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace qzb::test {

class CAssertionCountListener : public testing::EmptyTestEventListener
{
public:
    explicit CAssertionCountListener(std::string path)
        : m_path(std::move(path))
    {
    }

    void OnTestStart(const testing::TestInfo&) override { g_assertionsReached.store(0); }

    void OnTestEnd(const testing::TestInfo& info) override
    {
        const testing::TestResult& result = *info.result();
        const char* outcome = result.Skipped() ? "skipped" : result.Failed() ? "failed" : "passed";
        std::ofstream out(m_path, std::ios::app);
        out << info.test_suite_name() << '.' << info.name() << ' ' << g_assertionsReached.load() << ' ' << outcome
            << '\n';
    }

private:
    std::string m_path;
};

// Call after InitGoogleTest.
inline void InstallAssertionCounter()
{
    if (const char* path = std::getenv("QZB_COUNT_ASSERTIONS"); path != nullptr && *path != '\0') {
        testing::UnitTest::GetInstance()->listeners().Append(new CAssertionCountListener(path));
    }
}

} // namespace qzb::test
