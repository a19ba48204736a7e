#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>

namespace CLI {
class App;
} // namespace CLI

namespace qzb {

struct CCliOptions;

// "dump [--image] FILE": a DAT file, or a raw machine image, as JSON.
class CDumpCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    std::string m_file;
    bool m_rawImage = false;
};

// "new OUT": a DAT file of the model's defaults with an empty address book.
class CNewCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    std::string m_file;
};

// "encode --mode file|upload [--service] IN OUT": the machine image a DAT file's content encodes to.
class CEncodeCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    std::string m_file;
    std::string m_output;
    std::string m_mode;
    bool m_service = false;
};

} // namespace qzb
