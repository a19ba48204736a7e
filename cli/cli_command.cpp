#include "cli/cli_command.h"

#include <CLI/CLI.hpp>

namespace qzb {

bool CCliCommand::Chosen() const
{
    return m_command != nullptr && m_command->parsed();
}

} // namespace qzb
