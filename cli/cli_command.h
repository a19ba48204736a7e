#pragma once

#include <ostream>

namespace CLI {
class App;
} // namespace CLI

namespace qzb {

struct CCliOptions;

// A command of qzbctl that lives in its own files: it adds its subcommand to the parser, and runs
// when the command line chose it.
class CCliCommand
{
public:
    virtual ~CCliCommand() = default;
    virtual void AddCommand(CLI::App& root) = 0;
    bool Chosen() const;
    virtual int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const = 0;

protected:
    CLI::App* m_command = nullptr;
};

} // namespace qzb
