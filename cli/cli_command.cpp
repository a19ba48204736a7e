#include "cli/cli_command.h"

#include "cli/cli_app.h"
#include "cli/qzbctl.h"

#include <CLI/CLI.hpp>

#include <cstdio>

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

int TellFileInUse(std::ostream& err, const CCliApp& app, const std::filesystem::path& path)
{
    std::string text = app.MessageText(kMsgFileInUse);
    if (const std::size_t insert = text.find("%s"); insert != std::string::npos) {
        text.replace(insert, 2, path.string());
    }
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%08X", kMsgFileInUse);
    err << "error " << hex << ": " << text << '\n';
    return kExitFailed;
}

std::optional<int> OpenLockedOrTell(bool locked, const CDatInput& input, CCliApp& app, std::ostream& err)
{
    if (!locked) {
        return TellFileInUse(err, app, input.Path());
    }
    if (!input.OpenOrTell(app, err)) {
        return kExitFailed;
    }
    return std::nullopt;
}

} // namespace qzb
