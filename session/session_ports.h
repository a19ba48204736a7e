#pragma once

#include "addressbook/contacts_import.h"
#include "base/message_codes.h"
#include "files/backups.h"
#include "pages/page_def.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qzb {

// The settings pages the window shows, as the session drives them; headless there are none.
class ISessionPages
{
public:
    virtual ~ISessionPages() = default;
    // Checks and stores the page shown now; a refusal names the control that holds the value.
    virtual CCheckResult CommitCurrent() = 0;
    // Puts the focus on the control a refusal named, with its whole text selected.
    virtual void FocusRefusal(const CCheckResult& refusal) = 0;
    // Writes every page into the value store, or loads every page from it.
    virtual void StoreAll() = 0;
    virtual void ReloadAll() = 0;
};

enum class FileKind : std::uint8_t { Dat, Csv, Vcf };

// The file dialogs: a path chosen by the user, or none when the dialog was cancelled.
class ISessionFiles
{
public:
    virtual ~ISessionFiles() = default;
    virtual std::optional<std::filesystem::path> ChooseOpen(FileKind kind, const std::filesystem::path& start) = 0;
    virtual std::optional<std::filesystem::path> ChooseSave(FileKind kind, const std::filesystem::path& start) = 0;
};

// Runs a device operation; the window runs it on a worker thread behind a progress dialog so that
// it keeps painting through the device's pauses. The default runs it at once.
class ISessionTransfers
{
public:
    virtual ~ISessionTransfers() = default;
    virtual MessageCode Run(std::uint32_t operation, const std::function<MessageCode()>& work) = 0;
};

// What an upload or a comparison would change on the device, in lines a user reads.
struct CSessionPreview
{
    bool deviceKnown = true; // false: the device's state could not be read; nothing to compare with
    bool empty = true; // nothing differs (only meaningful when the device's state is known)
    std::u16string summary; // "3 settings, 2 speed dials added"
    std::vector<std::u16string> lines;
};

// What the CSV exchange read or changed, for a report the user can scroll through.
struct CSessionReport
{
    std::u16string summary; // the counts of an import; empty for an export
    std::u16string notesHeading; // empty when there are no notes
    std::vector<std::u16string> notes;
};

// What a contacts import would make, for the preview the user confirms.
struct CContactsPreview
{
    std::u16string summary;
    std::vector<CContactRow> rows;
    std::vector<std::u16string> notes;
};

// The questions and lists that need more than a message box.
class ISessionViews
{
public:
    virtual ~ISessionViews() = default;
    // Shows what the upload changes; true sends it.
    virtual bool ConfirmUpload(const CSessionPreview& preview) = 0;
    virtual void ShowComparison(const CSessionPreview& preview) = 0;
    virtual void ShowReport(const CSessionReport& report) = 0;
    // The backup the user chooses to restore, or none; compare gives what restoring the backup at
    // a position of the list would change in the window; directoryOnly: outside service-man mode
    // the directory is what a restore brings back to the device.
    virtual std::optional<std::filesystem::path>
    ChooseBackup(const std::vector<CBackupFile>& backups,
                 const std::function<CSessionPreview(std::size_t)>& compare,
                 bool directoryOnly)
    {
        (void)backups;
        (void)compare;
        (void)directoryOnly;
        return std::nullopt;
    }
    // The import's options as the user sets them while the preview follows; true imports.
    virtual bool ConfirmContactsImport(CContactsOptions& options,
                                       const std::function<CContactsPreview(const CContactsOptions&)>& preview)
    {
        (void)options;
        (void)preview;
        return false;
    }
};

} // namespace qzb
