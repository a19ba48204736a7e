#include "tests/cli/qzbctl_fixture.h"

namespace qzb {
namespace {

// Without a string table qzbctl still works, but says once where it looked, since its messages
// then show text keys.
TEST_F(Qzbctl, MissingStringTableIsWarnedOnceNamingTheFolders)
{
    std::ostringstream out;
    std::ostringstream err;
    const std::string missing = File("no-tables");
    ASSERT_EQ(RunQzbctl({"--data-dir", missing, "--model", "8329", "new", File("a.dat")}, out, err), kExitOk);
    const std::string said = err.str();
    EXPECT_NE(said.find("warning: Can not find M3120QZBSTR.tbl. Looked in: " + missing + "."), std::string::npos)
        << said;
    EXPECT_EQ(said.find("warning"), said.rfind("warning")) << said;

    std::ostringstream quiet;
    ASSERT_EQ(RunQzbctl({"--data-dir", QZB_TEST_DATA_DIR, "dump", File("a.dat")}, out, quiet), kExitOk);
    EXPECT_EQ(quiet.str(), "");
}

} // namespace
} // namespace qzb
