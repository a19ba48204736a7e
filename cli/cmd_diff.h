#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>

namespace CLI {
class App;
} // namespace CLI

namespace qzb {

struct CCliOptions;

// "diff [--upload|--service] [--json] A.dat B.dat": what changes from A to B. Exit status as the
// diff program's: 0 equal, 1 different, 2 on an error or a usage error.
class CDiffCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;
    // 1 stays "different", as with the diff program, so a usage error is 2.
    int UsageStatus() const override;

private:
    std::string m_before;
    std::string m_after;
    bool m_upload = false;
    bool m_service = false;
    bool m_json = false;
};

} // namespace qzb
