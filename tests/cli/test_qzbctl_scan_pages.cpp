#include "tests/cli/qzbctl_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qzb {
namespace {

const Json& Control(const Json& page, std::int32_t id)
{
    for (const Json& control : page["controls"]) {
        if (control["id"] == id) {
            return control;
        }
    }
    static const Json none;
    return none;
}

std::vector<std::int32_t> ChoiceValues(const Json& control)
{
    std::vector<std::int32_t> values;
    for (const Json& choice : control["choices"]) {
        values.push_back(choice["value"]);
    }
    return values;
}

// Each model shows the pages it has, and on them only the options it has.
TEST_F(Qzbctl, ScanCopyMailPagesShowOnlyTheModelsOptions)
{
    const std::string pages[] = {"REMOTE_MONITOR_DLG",
                                 "EMAIL_SET_DLG",
                                 "LDAP_SET_DLG",
                                 "MEMORY_DIRECT_DLG",
                                 "CAMERA_DIRECT_DLG",
                                 "COPY_SET_DLG",
                                 "SCAN_SET_DLG",
                                 "CAMERA_DIRECT_PRINT_DLG"};
    for (const std::string model : {"8313", "8314", "8315", "8329", "2152"}) {
        const std::string file = File(model + ".dat");
        ASSERT_EQ(Run({"--model", model, "new", file}).status, kExitOk);
        const bool large = model == "8313";
        const bool direct = model == "8314" || model == "8315";
        for (const std::string& name : pages) {
            const CRun run = Run({"page", "show", file, name});
            const bool has = direct || name.find("DIRECT") == std::string::npos;
            ASSERT_EQ(run.status, has ? kExitOk : kExitUsage) << model << " " << name << run.err;
            if (!has) {
                continue;
            }
            const Json page = Json::parse(run.out);
            if (name == "SCAN_SET_DLG") {
                EXPECT_EQ(Control(page, 1713)["visible"], large) << model;
            } else if (name == "COPY_SET_DLG") {
                const std::vector<std::int32_t> qualities = large ? std::vector<std::int32_t>{2, 0, 1, 3, 6, 4, 5, 7}
                                                                  : std::vector<std::int32_t>{2, 0, 1, 6, 4, 5};
                EXPECT_EQ(ChoiceValues(Control(page, 1162)), qualities) << model;
                EXPECT_EQ(Control(page, 1153)["visible"], large) << model;
                EXPECT_EQ(Control(page, 1168)["visible"], large) << model;
            } else if (name == "CAMERA_DIRECT_PRINT_DLG") {
                EXPECT_EQ(ChoiceValues(Control(page, 2146)), (std::vector<std::int32_t>{2, 12})) << model;
            } else if (name == "EMAIL_SET_DLG") {
                EXPECT_EQ(Control(page, 1361)["value"], 1) << model;
                EXPECT_EQ(Control(page, 1391)["enabled"], false) << model << ": POP before SMTP is off";
            }
        }
    }
}

} // namespace
} // namespace qzb
