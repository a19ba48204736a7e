#include "cli/entry_commands.h"

#include "base/file_lock.h"
#include "cli/cli_app.h"
#include "cli/entry_input.h"
#include "cli/qzbctl.h"
#include "files/dat_file.h"
#include "model/text_codec.h"
#include "pages/entry_fax_mail.h"
#include "pages/entry_group.h"
#include "pages/entry_scan.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <type_traits>
#include <variant>

namespace qzb {

namespace {

using Json = nlohmann::ordered_json;
using CEditor = std::variant<std::monostate, CFaxMailEditor, CScanEditor, CGroupNameEditor, CFavouriteEditor>;

CEntryEnv EntryEnvOf(CCliApp& app)
{
    CAppContext& context = app.Context();
    return {&context.store, &context.strings, context.modelBit};
}

void OpenEditor(CEditor& editor, CCliApp& app, const CEntryTarget& target)
{
    const CAddressBook& book = app.Context().device.book;
    switch (target.list) {
        case CEntryTarget::List::Speed:
            if (target.number <= kLastFaxMailNumber) {
                editor.emplace<CFaxMailEditor>(book, target.number, EntryEnvOf(app));
            } else {
                editor.emplace<CScanEditor>(book, target.number, EntryEnvOf(app));
            }
            return;
        case CEntryTarget::List::Group:
            editor.emplace<CGroupNameEditor>(book, target.number, EntryEnvOf(app));
            return;
        case CEntryTarget::List::Favourite:
            editor.emplace<CFavouriteEditor>(book, target.number, EntryEnvOf(app));
            return;
    }
}

// The editor as the form every editor is; null for none.
CEntryForm* FormOf(CEditor& editor)
{
    return std::visit(
        [](auto& e) -> CEntryForm* {
            if constexpr (std::is_same_v<std::decay_t<decltype(e)>, std::monostate>) {
                return nullptr;
            } else {
                return &e;
            }
        },
        editor);
}

std::string ErrorLine(const CCliApp& app, const CEntryForm& form, const CEntryResult& result)
{
    const CEntryField* field = form.Find(result.field);
    const std::string_view name = field ? field->def->name : std::string_view();
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", result.code);
    return std::string("error ") + hex + ": " + app.MessageText(result.code) + " (field " + std::string(name) + ")";
}

} // namespace

bool ParseEntryTarget(const std::string& text, CEntryTarget* target)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 >= text.size() || text.size() - colon > 4 ||
        text.find_first_not_of("0123456789", colon + 1) != std::string::npos) {
        return false;
    }
    const std::string list = text.substr(0, colon);
    const std::int32_t number = std::stoi(text.substr(colon + 1));
    if (list == "speed" && number >= kFirstFaxMailNumber && number <= kLastScanNumber) {
        *target = {CEntryTarget::List::Speed, number};
    } else if (list == "group" && number >= kFirstGroupNumber && number <= kLastGroupNumber) {
        *target = {CEntryTarget::List::Group, number};
    } else if (list == "favourite" && number >= kFirstFavouriteNumber && number <= kLastFavouriteNumber) {
        *target = {CEntryTarget::List::Favourite, number};
    } else {
        return false;
    }
    return true;
}

void CEntryCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("entry", "Address-book entry editors: show, set, delete");
    m_command->require_subcommand(1);
    m_show = m_command->add_subcommand("show", "Print the editor of an entry as it opens, as JSON");
    m_set = m_command->add_subcommand("set", "Fill an entry's editor as a user would, press OK and save");
    m_delete = m_command->add_subcommand("delete", "Delete an entry with what depends on it, and save");
    for (CLI::App* command : {m_show, m_set, m_delete}) {
        command->add_option("FILE", m_file, "The DAT file")->required();
        command->add_option("TARGET", m_target, "speed:N (1-250), group:G (1-20) or favourite:S (1-20)")->required();
    }
    m_set->add_option("VALUES", m_assignments, "FIELD=VALUE, applied in order");
}

int CEntryCommand::Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const
{
    CEntryTarget target;
    if (!ParseEntryTarget(m_target, &target)) {
        err << "qzbctl: expected speed:N (1-250), group:G (1-20) or favourite:S (1-20), not " << m_target << '\n';
        return kExitUsage;
    }
    // A change holds the file from the read to the write: another writer's change in between
    // would be lost.
    CFileLock lock;
    const bool locked = m_show->parsed() || lock.Acquire(m_file);
    const CDatInput input(m_file);
    CCliApp app(options, input.Model(options), err);
    CAppContext& context = app.Context();
    if (const auto failed = OpenLockedOrTell(locked, input, app, err)) {
        return *failed;
    }
    if (m_show->parsed()) {
        out << EntryShowJson(app, target).dump(2) << '\n';
        return kExitOk;
    }
    CAddressBook& book = context.device.book;
    if (m_delete->parsed()) {
        const bool deleted = target.list == CEntryTarget::List::Speed   ? DeleteSpeedDial(book, target.number)
                             : target.list == CEntryTarget::List::Group ? DeleteGroup(book, target.number)
                                                                        : book.DeleteFavourite(target.number);
        if (!deleted) {
            err << "qzbctl: " << m_file << " has nothing under " << m_target << '\n';
            return kExitFailed;
        }
    } else {
        CEditor editor;
        OpenEditor(editor, app, target);
        for (const std::string& assignment : m_assignments) {
            const std::size_t equals = assignment.find('=');
            if (equals == std::string::npos || equals == 0) {
                err << "qzbctl: expected FIELD=VALUE, not " << assignment << '\n';
                return kExitUsage;
            }
            const std::string name = assignment.substr(0, equals);
            const std::u16string value = Utf8ToUtf16(assignment.substr(equals + 1));
            CEntryForm& form = *FormOf(editor);
            const CEntryField* field = FindEntryField(form, name);
            const CEntryInput input =
                field ? ApplyEntryText(form, *field, value) : CEntryInput(EntryRefusal::UnknownField);
            if (input.refusal != EntryRefusal::None) {
                err << "qzbctl: field " << name << ' ' << EntryRefusalText(input.refusal) << '\n';
                return kExitUsage;
            }
            if (!input.message.Ok()) {
                err << ErrorLine(app, form, input.message) << '\n';
                return kExitFailed;
            }
        }
        const CEntryResult result = std::visit(
            [&](auto& e) -> CEntryResult {
                if constexpr (std::is_same_v<std::decay_t<decltype(e)>, std::monostate>) {
                    return {};
                } else {
                    return e.Ok(book);
                }
            },
            editor);
        if (!result.Ok()) {
            err << ErrorLine(app, *FormOf(editor), result) << '\n';
            return kExitFailed;
        }
        // A file keeps no group without members: the name would be lost without a word.
        const CGroupEntry* group = target.list == CEntryTarget::List::Group ? book.FindGroup(target.number) : nullptr;
        if (group != nullptr && group->members.empty()) {
            err << "qzbctl: " << m_target << " has no members, and a settings file keeps no group without them; "
                << "add a speed dial to it first (entry set speed:N groups=" << target.number << ")\n";
            return kExitFailed;
        }
    }
    return SaveDatFileOrTell(app, m_file, err) ? kExitOk : kExitFailed;
}

Json EntryShowJson(CCliApp& app, const CEntryTarget& target)
{
    CEditor editor;
    OpenEditor(editor, app, target);
    Json fields = Json::object();
    for (const CEntryField& field : FormOf(editor)->Fields()) {
        fields[std::string(field.def->name)] = EntryFieldJson(field);
    }
    return fields;
}

} // namespace qzb
