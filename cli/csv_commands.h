#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>

namespace CLI {
class App;
} // namespace CLI

namespace qzb {

struct CCliOptions;

// "csv-export FILE CSV": the address book of a DAT file as a CSV file.
class CCsvExportCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    std::string m_file;
    std::string m_csv;
};

// "csv-import FILE CSV": the address book of a DAT file replaced by a CSV file's, saved in place.
class CCsvImportCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    std::string m_file;
    std::string m_csv;
};

} // namespace qzb
