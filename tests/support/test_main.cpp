#include "assertion_listener.h"

#include <gtest/gtest.h>

#include <cstdlib>

// The main of the plain C++ test programs: GoogleTest's own, plus the assertion counter.
int main(int argc, char** argv)
{
    // The texts the tests expect are the English ones, whatever language the desktop speaks; the
    // tests of the language choice set the variables themselves.
    setenv("LC_ALL", "C.UTF-8", 1);
    testing::InitGoogleTest(&argc, argv);
    qzb::test::InstallAssertionCounter();
    return RUN_ALL_TESTS();
}
