#pragma once

#include "cli/cli_command.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace CLI {
class App;
} // namespace CLI

namespace qzb {

struct CCliOptions;

// "contacts-import FILE CARDS": the cards of a vCard file as new fax and e-mail speed dials of a
// DAT file, all or none; --dry-run shows what would happen and writes nothing.
class CContactsImportCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    std::string m_file;
    std::string m_cards;
    std::string m_kind = "both";
    std::string m_group;
    std::int32_t m_firstSlot = 1;
    std::string m_prefix = "00";
    bool m_dryRun = false;
    bool m_json = false;
};

// "contacts-export FILE OUT": the fax and e-mail speed dials of a DAT file as a vCard 4.0 file.
class CContactsExportCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    std::string m_file;
    std::string m_out;
};

// "backups": the download backups the window kept for the model, newest first.
class CBackupsCommand : public CCliCommand
{
public:
    void AddCommand(CLI::App& root) override;
    int Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const override;

private:
    bool m_json = false;
};

} // namespace qzb
