#include "cli/contacts_commands.h"

#include "addressbook/contacts_import.h"
#include "app/english_texts.h"
#include "app/last_model.h"
#include "base/atomic_file.h"
#include "base/file_lock.h"
#include "cli/cli_app.h"
#include "cli/csv_notes.h"
#include "cli/qzbctl.h"
#include "device/model_detection.h"
#include "files/backups.h"
#include "files/dat_commands.h"
#include "files/dat_file.h"
#include "model/panel_code.h"
#include "model/text_codec.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>

namespace qzb {

namespace {

using Json = nlohmann::ordered_json;

std::string Utf8(std::u16string_view text)
{
    return Utf16ToUtf8(text);
}

std::string_view KindName(std::int32_t kind)
{
    return kind == kKindMail ? "email" : "fax";
}

std::string_view ReasonName(ContactNoteReason reason)
{
    switch (reason) {
        case ContactNoteReason::Transliterated:
            return "transliterated";
        case ContactNoteReason::NameCut:
            return "name-cut";
        case ContactNoteReason::NameLeftOut:
            return "name-left-out";
        case ContactNoteReason::NumberChanged:
            return "number-changed";
        case ContactNoteReason::NoAddress:
            return "no-address";
        case ContactNoteReason::AddressInvalid:
            return "address-invalid";
        case ContactNoteReason::Duplicate:
            return "duplicate";
        case ContactNoteReason::ListFull:
            return "list-full";
        case ContactNoteReason::NotInGroup:
            return "not-in-group";
        case ContactNoteReason::GroupUnavailable:
            return "group-unavailable";
        case ContactNoteReason::NoEnd:
            return "no-end";
        case ContactNoteReason::CutOff:
            return "cut-off";
        case ContactNoteReason::CharactersLeftOut:
            return "characters-left-out";
        case ContactNoteReason::ExtensionLeftOut:
            return "extension-left-out";
        case ContactNoteReason::PauseLeftOut:
            return "pause-left-out";
        case ContactNoteReason::NumberInLetters:
            return "number-in-letters";
        case ContactNoteReason::NoName:
            return "no-name";
        case ContactNoteReason::SlotTaken:
            return "slot-taken";
        case ContactNoteReason::CategoryUnavailable:
            return "category-unavailable";
        case ContactNoteReason::NotInCategory:
            return "not-in-category";
    }
    return "transliterated";
}

Json PlanJson(const CContactsPlan& plan, const std::vector<CVCard>& cards, bool dryRun)
{
    Json entries = Json::array();
    for (const CContactRow& row : plan.rows) {
        entries.push_back({{"card", row.card},
                           {"cardName", Utf8(row.cardName)},
                           {"slot", row.slot},
                           {"kind", KindName(row.kind)},
                           {"name", Utf8(row.name)},
                           {"address", Utf8(row.address)}});
    }
    Json notes = Json::array();
    for (const CContactNote& note : plan.notes) {
        Json shown{{"card", note.card}, {"reason", ReasonName(note.reason)}};
        if (!note.from.empty()) {
            shown["from"] = Utf8(note.from);
        }
        if (!note.to.empty()) {
            shown["to"] = Utf8(note.to);
        }
        if (note.slot != 0) {
            shown["slot"] = note.slot;
        }
        if (note.count != 0) {
            shown["count"] = note.count;
        }
        if (note.wantedSlot != 0) {
            shown["wantedSlot"] = note.wantedSlot;
        }
        shown["text"] = Utf8(ContactNoteLine(note, cards, EnglishText));
        notes.push_back(std::move(shown));
    }
    Json json{{"dryRun", dryRun}, {"cards", plan.cards}, {"entries", std::move(entries)}};
    json["group"] = plan.group != 0 ? Json{{"number", plan.group}, {"created", plan.groupCreated}} : Json();
    json["notes"] = std::move(notes);
    return json;
}

// The folder the window keeps its data in: $XDG_DATA_HOME, else ~/.local/share.
std::filesystem::path LocalDataRoot()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
        return data;
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "") / ".local" / "share";
}

} // namespace

void CContactsImportCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("contacts-import",
                                    "Add the cards of a vCard file to the address book of a DAT file as speed dials");
    m_command->add_option("FILE", m_file, "The DAT file")->required();
    m_command->add_option("CARDS", m_cards, "The vCard file (.vcf) to read")->required();
    m_command->add_option("--kind", m_kind, "Entries to make: fax, email or both (default)")
        ->check(CLI::IsMember({"fax", "email", "both"}));
    m_command->add_option("--group", m_group, "Put the new entries into the group of this name");
    m_command->add_option("--first-slot", m_firstSlot, "First speed dial to fill (1-220, default 1)")
        ->check(CLI::Range(kFirstFaxMailNumber, kLastFaxMailNumber));
    m_command->add_option("--intl-prefix", m_prefix, "What a leading + of a number becomes (default 00)")
        ->check(CLI::Validator(
            [](std::string& value) {
                return value.size() <= 8 && value.find_first_not_of("0123456789") == std::string::npos
                           ? std::string()
                           : std::string("takes up to 8 digits");
            },
            "DIGITS"));
    m_command->add_flag("--dry-run", m_dryRun, "Show what the import would do and change nothing");
    m_command->add_flag("--json", m_json, "Print the entries and notes as JSON");
}

int CContactsImportCommand::Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const
{
    const std::filesystem::path path = m_file;
    // Held from the read to the write: another writer's change in between would be lost.
    CFileLock lock;
    const bool locked = m_dryRun || lock.Acquire(path);
    const CDatInput input(path);
    CCliApp app(options, input.Model(options), err);
    CAppContext& context = app.Context();
    if (const auto failed = OpenLockedOrTell(locked, input, app, err)) {
        return *failed;
    }
    CVCardFile file;
    int systemError = 0;
    if (const MessageCode code = ReadContactsFile(m_cards, file, &systemError); code != kOk) {
        return TellFailure(err, app, code, CsvFileDetail(m_cards, systemError));
    }
    if (!file.unreadableEncoding.empty()) {
        return TellFailure(err,
                           app,
                           kMsgReadFileError,
                           m_cards + ": the file is written in " + std::string(file.unreadableEncoding) +
                               ", which cannot be read; save it as UTF-8");
    }
    if (file.cards.empty()) {
        return TellFailure(err, app, kMsgReadFileError, m_cards + ": no BEGIN:VCARD in the file");
    }
    const std::vector<CVCard>& cards = file.cards;
    CContactsOptions chosen;
    chosen.kinds = m_kind == "fax" ? ContactKinds::Fax : m_kind == "email" ? ContactKinds::Mail : ContactKinds::Both;
    chosen.group = Utf8ToUtf16(m_group);
    chosen.firstSlot = m_firstSlot;
    chosen.internationalPrefix = Utf8ToUtf16(m_prefix);
    CContactsPlan plan = PlanContactsImport(file, context.device.book, context.store, chosen, PackDeviceDate());

    if (m_json) {
        out << PlanJson(plan, cards, m_dryRun).dump(2) << '\n';
    } else {
        for (const CContactRow& row : plan.rows) {
            out << row.slot << '\t' << KindName(row.kind) << '\t' << Utf8(row.name) << '\t' << Utf8(row.address)
                << '\n';
        }
        err << "qzbctl: " << Utf8(ContactsPlanSummary(plan, EnglishText)) << '\n';
        for (const CContactNote& note : plan.notes) {
            err << "qzbctl: " << Utf8(ContactNoteLine(note, cards, EnglishText)) << '\n';
        }
    }
    if (m_dryRun || plan.rows.empty()) {
        return kExitOk;
    }
    ApplyContactsPlan(plan, context.device.book);
    return SaveDatFileOrTell(app, path, err) ? kExitOk : kExitFailed;
}

void CContactsExportCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("contacts-export",
                                    "Write the fax and e-mail speed dials of a DAT file as a vCard 4.0 file");
    m_command->add_option("FILE", m_file, "The DAT file")->required();
    m_command->add_option("OUT", m_out, "The vCard file to write")->required();
}

int CContactsExportCommand::Run(const CCliOptions& options, std::ostream&, std::ostream& err) const
{
    const CDatInput input(m_file);
    CCliApp app(options, input.Model(options), err);
    CAppContext& context = app.Context();
    if (!input.OpenOrTell(app, err)) {
        return kExitFailed;
    }
    int systemError = 0;
    if (const MessageCode code = ExportContacts(m_out, context.device.book, context.store, app.Texts(), &systemError);
        code != kOk) {
        return TellFailure(err, app, code, code == kMsgVcfNothingToExport ? m_file : CsvFileDetail(m_out, systemError));
    }
    return kExitOk;
}

void CBackupsCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("backups", "List the download backups the window kept for the model");
    m_command->add_flag("--json", m_json, "Print the list as JSON");
}

int CBackupsCommand::Run(const CCliOptions& options, std::ostream& out, std::ostream&) const
{
    const std::int32_t model =
        options.model.value_or(FallbackModel(ReadLastModelFile(LauncherPreferencesFile()), QZB_DEFAULT_MODEL));
    const CModelProfile& profile = FindModelProfile(model);
    const std::filesystem::path dataFolder = DefaultDataFolder(LocalDataRoot(), profile);
    const std::vector<CBackupFile> backups = ListBackups(dataFolder, profile.shortCode);
    if (m_json) {
        Json list = Json::array();
        for (const CBackupFile& backup : backups) {
            list.push_back({{"date", backup.Date()},
                            {"time", backup.Time()},
                            {"serial", backup.order.serial},
                            {"file", backup.path.string()}});
        }
        const Json json{{"model", model},
                        {"folder", (dataFolder / kBackupFolderName).string()},
                        {"kept", kKeptBackups},
                        {"backups", std::move(list)}};
        out << json.dump(2) << '\n';
        return kExitOk;
    }
    out << "Backups of model " << model << " in " << (dataFolder / kBackupFolderName).string() << " (the newest "
        << kKeptBackups << " are kept):\n";
    for (const CBackupFile& backup : backups) {
        out << backup.Date() << ' ' << backup.Time() << '\t' << backup.order.serial << '\t' << backup.path.string()
            << '\n';
    }
    return kExitOk;
}

} // namespace qzb
