#include "cli/cmd_diff.h"

#include "cli/cli_app.h"
#include "cli/qzbctl.h"
#include "files/dat_file.h"
#include "model/text_codec.h"
#include "pages/state_diff.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <memory>

namespace qzb {

namespace {

constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;

nlohmann::ordered_json DiffJson(const CStateDiff& diff)
{
    nlohmann::ordered_json settings = nlohmann::ordered_json::array();
    for (const CSettingChange& change : diff.settings) {
        settings.push_back({{"page", change.page},
                            {"key", change.key},
                            {"label", Utf16ToUtf8(change.label)},
                            {"old", Utf16ToUtf8(change.oldValue)},
                            {"new", Utf16ToUtf8(change.newValue)}});
    }
    nlohmann::ordered_json directory = nlohmann::ordered_json::array();
    for (const CDirectoryChange& change : diff.directory) {
        nlohmann::ordered_json fields = nlohmann::ordered_json::array();
        for (const CFieldChange& field : change.fields) {
            nlohmann::ordered_json value = {{"name", field.name}, {"old", nullptr}, {"new", nullptr}};
            if (change.change != EntryChange::Added) {
                value["old"] = Utf16ToUtf8(field.oldValue);
            }
            if (change.change != EntryChange::Removed) {
                value["new"] = Utf16ToUtf8(field.newValue);
            }
            fields.push_back(std::move(value));
        }
        directory.push_back({{"list", DirectoryListName(change.list)},
                             {"number", change.number},
                             {"change", EntryChangeName(change.change)},
                             {"fields", std::move(fields)}});
    }
    return {{"settings", std::move(settings)}, {"directory", std::move(directory)}};
}

} // namespace

void CDiffCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand(
        "diff", "Print what changes from the first DAT file to the second (exit 0 equal, 1 different, 2 error)");
    m_command->add_flag("--upload", m_upload, "Compare only what an upload carries (the directory)");
    m_command->add_flag("--service", m_service, "Compare only what a service-man upload carries");
    m_command->add_flag("--json", m_json, "Print the changes as JSON");
    m_command->add_option("A", m_before, "The DAT file before")->required();
    m_command->add_option("B", m_after, "The DAT file after")->required();
}

int CDiffCommand::UsageStatus() const
{
    return kExitFailed;
}

int CDiffCommand::Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const
{
    // Both files are opened first, each as the model it names: a file that cannot be read is told
    // as such, never taken for the default model's settings.
    std::unique_ptr<CCliApp> apps[2];
    const std::string* paths[2] = {&m_before, &m_after};
    for (int i = 0; i < 2; ++i) {
        const CDatInput input(*paths[i]);
        apps[i] = std::make_unique<CCliApp>(options, input.Model(options), err);
        if (!input.OpenOrTell(*apps[i], err)) {
            return kExitFailed;
        }
    }
    if (apps[0]->Context().modelCode != apps[1]->Context().modelCode) {
        err << "qzbctl: " << m_before << " and " << m_after << " are settings of different models\n";
        return kExitFailed;
    }
    CAppContext& before = apps[0]->Context();
    CAppContext& after = apps[1]->Context();
    const DiffScope scope = m_service ? DiffScope::ServiceUpload : m_upload ? DiffScope::Upload : DiffScope::File;
    const CDiffEnv env{apps[0]->HasStringTable() ? &before.strings : nullptr, before.modelBit};
    const CStateDiff diff =
        DiffStates(CMachineState{before.store, before.device}, CMachineState{after.store, after.device}, env, scope);
    if (m_json) {
        out << DiffJson(diff).dump(2) << '\n';
    } else {
        for (const std::u16string& line : DiffLines(diff, env)) {
            out << Utf16ToUtf8(line) << '\n';
        }
    }
    return diff.Empty() ? kExitSame : kExitDifferent;
}

} // namespace qzb
