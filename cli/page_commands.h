#pragma once

#include "cli/cli_command.h"

#include <cstdint>
#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace CLI {
class App;
} // namespace CLI

namespace qzb {

class CCliApp;
struct CCliOptions;
struct CPageDef;

// "page list", "page show FILE.dat PAGE", "page set FILE.dat PAGE ID=VALUE...": the settings pages
// as the window shows them, headless.
class CPageCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    CLI::App* m_list = nullptr;
    CLI::App* m_show = nullptr;
    CLI::App* m_set = nullptr;
    std::string m_file;
    std::string m_page;
    std::vector<std::string> m_assignments;
};

// `qzbctl page list`: the pages and setting dialogs of the running model.
nlohmann::ordered_json PageListJson(CCliApp& app);

// `qzbctl page show`: the page as it shows after loading the app's current data.
nlohmann::ordered_json PageShowJson(CCliApp& app, const CPageDef& def);

// The outcome of `qzbctl page set` before anything is saved.
struct CPageSetResult
{
    int status = 0; // the qzbctl exit status
    std::string message; // what went wrong, for stderr
};

// Applies ID=VALUE (or NAME=VALUE) assignments in order as a user would, then stores the page into
// the app's value store. A refused value is a usage error; a failed check names its control.
CPageSetResult ApplyPageAssignments(CCliApp& app, const CPageDef& def, const std::vector<std::string>& assignments);

} // namespace qzb
