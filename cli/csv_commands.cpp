#include "cli/csv_commands.h"

#include "addressbook/csv_exchange.h"
#include "base/atomic_file.h"
#include "base/file_lock.h"
#include "cli/cli_app.h"
#include "cli/csv_notes.h"
#include "cli/qzbctl.h"
#include "files/dat_file.h"
#include "model/panel_code.h"

#include <CLI/CLI.hpp>

#include <filesystem>

namespace qzb {

void CCsvExportCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("csv-export", "Export the address book of a DAT file to a CSV file");
    m_command->add_option("FILE", m_file, "The DAT file")->required();
    m_command->add_option("CSV", m_csv, "The CSV file to write (.csv is appended when missing)")->required();
}

int CCsvExportCommand::Run(const CCliOptions& options, std::ostream&, std::ostream& err) const
{
    const std::filesystem::path path = m_file;
    const std::filesystem::path csv = m_csv;
    const CDatInput input(path);
    CCliApp app(options, input.Model(options), err);
    CAppContext& context = app.Context();
    if (!input.OpenOrTell(app, err)) {
        return kExitFailed;
    }
    CCsvReport report;
    if (const MessageCode code = ExportAddressBook(csv, context.device.book, context.store, app.Texts(), &report);
        code != kOk) {
        const std::filesystem::path written = WithCsvExtension(csv);
        return TellFailure(err,
                           app,
                           code,
                           report.writeError ? FileErrorText(written, report.writeError)
                                             : CsvFileDetail(written, report.systemError));
    }
    PrintCsvNotes(err, report.notes);
    return kExitOk;
}

void CCsvImportCommand::AddCommand(CLI::App& root)
{
    m_command =
        root.add_subcommand("csv-import", "Replace the address book of a DAT file with a CSV file's and save it");
    m_command->add_option("FILE", m_file, "The DAT file")->required();
    m_command->add_option("CSV", m_csv, "The CSV file to read")->required();
}

int CCsvImportCommand::Run(const CCliOptions& options, std::ostream&, std::ostream& err) const
{
    const std::filesystem::path path = m_file;
    const std::filesystem::path csv = m_csv;
    // Held from the read to the write: another writer's change in between would be lost.
    CFileLock lock;
    const bool locked = lock.Acquire(path);
    const CDatInput input(path);
    CCliApp app(options, input.Model(options), err);
    CAppContext& context = app.Context();
    if (const auto failed = OpenLockedOrTell(locked, input, app, err)) {
        return *failed;
    }
    CCsvReport report;
    if (const MessageCode code = ImportAddressBook(csv, context.device.book, context.store, PackDeviceDate(), &report);
        code != kOk) {
        return TellFailure(err, app, code, CsvFileDetail(csv, report.systemError));
    }
    if (!SaveDatFileOrTell(app, path, err)) {
        return kExitFailed;
    }
    PrintCsvReadSummary(err, report.read);
    PrintCsvNotes(err, report.notes);
    return kExitOk;
}

} // namespace qzb
