#pragma once

// Force-included into every test source. Each GoogleTest assertion (EXPECT_*, ASSERT_*) opens with
// GTEST_AMBIGUOUS_ELSE_BLOCKER_; redefined here, the switch it opens also counts the assertion, so
// the listener in assertion_listener.h can tell which tests reached none. Passing assertions count
// too, which GoogleTest's own event interface never reports.

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>

namespace qzb::test {

inline std::atomic<std::size_t> g_assertionsReached{0};

inline int CountAssertion()
{
    g_assertionsReached.fetch_add(1, std::memory_order_relaxed);
    return 0;
}

} // namespace qzb::test

#undef GTEST_AMBIGUOUS_ELSE_BLOCKER_
#define GTEST_AMBIGUOUS_ELSE_BLOCKER_      \
    switch (::qzb::test::CountAssertion()) \
    case 0:                                \
    default: // NOLINT
