#pragma once

// The one polling loop of the plain C++ tests: waits until a condition that another thread makes
// true holds, with a generous limit so that a loaded machine only slows a test down. Widget tests
// poll with QTest::qWaitFor instead, which also runs the event loop (QTRY_* only returns from the
// function on a time-out: it fails no GoogleTest test).

#include <chrono>
#include <thread>

namespace qzb::test {

template <typename Predicate>
bool WaitUntil(Predicate predicate, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace qzb::test
