#pragma once

#include "cli/cli_command.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace CLI {
class App;
} // namespace CLI

namespace qzb {

class CCliApp;
struct CCliOptions;

// What an entry command works on: "speed:N", "group:G" or "favourite:S".
struct CEntryTarget
{
    enum class List : std::uint8_t { Speed, Group, Favourite } list = List::Speed;
    std::int32_t number = 0;
};

// False for anything but the three forms with a number in its range.
bool ParseEntryTarget(const std::string& text, CEntryTarget* target);

// "entry show|set|delete FILE.dat TARGET ...": the address-book entry editors, headless.
class CEntryCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    CLI::App* m_show = nullptr;
    CLI::App* m_set = nullptr;
    CLI::App* m_delete = nullptr;
    std::string m_file;
    std::string m_target;
    std::vector<std::string> m_assignments;
};

// `qzbctl entry show`: the editor's fields as it opens for the target.
nlohmann::ordered_json EntryShowJson(CCliApp& app, const CEntryTarget& target);

} // namespace qzb
