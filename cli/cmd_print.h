#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>

namespace CLI {
class App;
} // namespace CLI

namespace qzb {

struct CCliOptions;

// "print FILE.dat OUT.pdf [--lists ...] [--speed-numbers TEXT] ...": the address-book lists of a
// DAT file as the printer would get them, written to a PDF file. Needs the build with Qt.
class CPrintCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    std::string m_file;
    std::string m_output;
    std::string m_lists = "speed,group,favourite";
    std::string m_speedNumbers;
    std::string m_groupNumbers;
    std::string m_favouriteNumbers;
};

} // namespace qzb
