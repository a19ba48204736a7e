#include "cli/cli_command.h"

#include "cli/cli_app.h"
#include "cli/qzbctl.h"

#include <CLI/CLI.hpp>

namespace qzb {

bool CCliCommand::Chosen() const
{
    return m_command != nullptr && m_command->parsed();
}

int CCliCommand::UsageStatus() const
{
    return kExitUsage;
}

int TellUsage(std::ostream& err, const std::string& text)
{
    err << "qzbctl: " << text << '\n';
    return kExitUsage;
}

int TellFailure(std::ostream& err, const CCliApp& app, MessageCode code, const std::string& detail)
{
    PrintError(err, app, code, detail);
    return kExitFailed;
}

int TellFailure(
    std::ostream& err, const CCliApp& app, MessageCode code, const std::filesystem::path& path, std::error_code reason)
{
    PrintError(err, app, code, path, reason);
    return kExitFailed;
}

} // namespace qzb
