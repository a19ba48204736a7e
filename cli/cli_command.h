#pragma once

#include "base/message_codes.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

namespace CLI {
class App;
} // namespace CLI

namespace qzb {

class CCliApp;
class CDatInput;
struct CCliOptions;

// One command of qzbctl: it adds its subcommand to the parser, and runs when the command line
// chose it. qzbctl.cpp adds every command and runs the chosen one.
class CCliCommand
{
public:
    virtual ~CCliCommand() = default;
    virtual void AddCommand(CLI::App& root) = 0;
    bool Chosen() const;
    virtual int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const = 0;
    // The exit status of a command line that names this command but cannot be parsed.
    virtual int UsageStatus() const;

protected:
    CLI::App* m_command = nullptr;
};

// A usage error found once the line was parsed: "qzbctl: <text>" on err; returns the usage status.
int TellUsage(std::ostream& err, const std::string& text);

// The error line of code (see PrintError); returns the failure status.
int TellFailure(std::ostream& err, const CCliApp& app, MessageCode code, const std::string& detail = {});
int TellFailure(
    std::ostream& err, const CCliApp& app, MessageCode code, const std::filesystem::path& path, std::error_code reason);

// The error line of a settings file that another program held for longer than a writer waits;
// returns the failure status.
int TellFileInUse(std::ostream& err, const CCliApp& app, const std::filesystem::path& path);

// Opens a DAT file a command reads to write back, once its lock was tried (locked): the failure
// status when another writer kept the lock or the file does not open, told on err; else nothing.
std::optional<int> OpenLockedOrTell(bool locked, const CDatInput& input, CCliApp& app, std::ostream& err);

} // namespace qzb
