#include "assertion_listener.h"

#include <gtest/gtest.h>

// The main of the plain C++ test programs: GoogleTest's own, plus the assertion counter.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    qzb::test::InstallAssertionCounter();
    return RUN_ALL_TESTS();
}
