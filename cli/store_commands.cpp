#include "cli/store_commands.h"

#include "base/file_lock.h"
#include "cli/cli_app.h"
#include "cli/json_dump.h"
#include "cli/qzbctl.h"
#include "files/dat_file.h"
#include "machine/setting_check.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace qzb {

namespace {

// The keys of a page in list order, each once.
std::vector<std::string> PageKeys(const std::vector<CValueRecord>& records)
{
    std::vector<std::string> keys;
    for (const CValueRecord& record : records) {
        if (std::find(keys.begin(), keys.end(), record.key) == keys.end()) {
            keys.push_back(record.key);
        }
    }
    return keys;
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) {
        text += text.empty() ? "" : ", ";
        text += name;
    }
    return text;
}

} // namespace

std::optional<std::string>
UnknownSettingText(const CValueStore& store, std::string_view page, std::optional<std::string_view> key)
{
    const auto* records = store.FindPageRecords(page);
    if (!records) {
        std::vector<std::string> pages;
        for (const CValuePage& list : store.Pages()) {
            pages.push_back(list.name);
        }
        return "unknown page " + std::string(page) + "; the pages are " + Joined(pages);
    }
    if (key && !store.FindRecord(page, *key).Valid()) {
        return "page " + std::string(page) + " has no key " + std::string(*key) + "; its keys are " +
               Joined(PageKeys(*records));
    }
    return std::nullopt;
}

std::string SettingRefusalText(const CSettingCheck& check, std::string_view page, std::string_view key, bool number)
{
    const std::string name = std::string(page) + " " + std::string(key);
    switch (check.refusal) {
        case SettingRefusal::None:
            break;
        case SettingRefusal::NotInImage:
            return name + " is not part of the machine image, so a settings file cannot keep it";
        case SettingRefusal::WrongKind:
            return name + (number ? " travels as a text, not as a number" : " travels as a number, not as a text");
        case SettingRefusal::NotInstalled:
            return name + " is left out of the file while the tray or duplex unit it belongs to is not installed";
        case SettingRefusal::OutOfRange:
            return name + " holds " + std::to_string(check.minimum) + " to " + std::to_string(check.maximum) +
                   " in the machine image";
        case SettingRefusal::NotRepresentable:
            return key == "USER_NAME" ? name + ": the text holds characters the device's panel cannot show"
                                      : name + ": the text holds characters the code page " + ProcessCodePage().Name() +
                                            " cannot hold";
        case SettingRefusal::TooLong:
            return "the text takes " + std::to_string(check.bytes) + " bytes; " + name + " holds at most " +
                   std::to_string(check.maxBytes);
        case SettingRefusal::NotKept:
            return name + " would not come back as set: the values it travels with leave it out";
    }
    return {};
}

int RunKeys(const std::optional<std::string>& page, std::ostream& out, std::ostream& err)
{
    const CValueStore store;
    if (!page) {
        for (const CValuePage& list : store.Pages()) {
            out << list.name << '\n';
        }
        return kExitOk;
    }
    if (const auto usage = UnknownSettingText(store, *page, std::nullopt)) {
        err << "qzbctl: " << *usage << '\n';
        return kExitUsage;
    }
    for (const std::string& key : PageKeys(*store.FindPageRecords(*page))) {
        out << key << '\n';
    }
    return kExitOk;
}

void CSetCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("set", "Change one value of a DAT file and save it in place");
    m_command->add_option("FILE", m_file, "The DAT file")->required();
    m_command->add_option("PAGE", m_page, "Settings page, such as USER_SET_DLG")->required();
    m_command->add_option("KEY", m_key, "Item key, such as USER_NAME")->required();
    m_numberOption = m_command->add_option("--number", m_number, "New number");
    m_textOption = m_command->add_option("--text", m_text, "New text");
    m_numberOption->excludes(m_textOption);
}

int CSetCommand::Run(const CCliOptions& options, std::ostream&, std::ostream& err) const
{
    if (m_numberOption->count() + m_textOption->count() != 1) {
        return TellUsage(err, "set needs --number N or --text T");
    }
    const bool number = m_numberOption->count() > 0;
    const std::filesystem::path path = m_file;
    // Held from the read to the write: another writer's change in between would be lost.
    CFileLock lock;
    const bool locked = lock.Acquire(path);
    const CDatInput input(path);
    CCliApp app(options, input.Model(options), err);
    CAppContext& context = app.Context();
    if (const auto usage = UnknownSettingText(context.store, m_page, m_key)) {
        return TellUsage(err, *usage);
    }
    if (const auto failed = OpenLockedOrTell(locked, input, app, err)) {
        return *failed;
    }
    // Only a value the saved file gives back as set is stored; anything else leaves the file as it was.
    const std::u16string wide = number ? std::u16string() : Utf8ToUtf16(m_text);
    const CSettingCheck check = number ? CheckSettingNumber(context.device, context.store, m_page, m_key, m_number)
                                       : CheckSettingText(context.device, context.store, m_page, m_key, wide);
    if (check.refusal != SettingRefusal::None) {
        err << "qzbctl: " << path.string() << " left unchanged: " << SettingRefusalText(check, m_page, m_key, number)
            << '\n';
        return kExitFailed;
    }
    if (number) {
        context.store.SetItemNumber(m_page, m_key, m_number);
    } else {
        // USER_NAME is kept in the device's panel code, as the user page stores it.
        context.store.SetItemTextRaw(m_page, m_key, SettingTextBytes(m_key, wide));
    }
    return SaveDatFileOrTell(app, path, err) ? kExitOk : kExitFailed;
}

void CGetCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("get", "Print one value of a DAT file as JSON {\"number\", \"text\"}");
    m_command->add_option("FILE", m_file, "The DAT file")->required();
    m_command->add_option("PAGE", m_page, "Settings page, such as USER_SET_DLG")->required();
    m_command->add_option("KEY", m_key, "Item key, such as USER_NAME")->required();
}

int CGetCommand::Run(const CCliOptions& options, std::ostream& out, std::ostream& err) const
{
    const CDatInput input(m_file);
    CCliApp app(options, input.Model(options), err);
    CAppContext& context = app.Context();
    if (const auto usage = UnknownSettingText(context.store, m_page, m_key)) {
        return TellUsage(err, *usage);
    }
    if (!input.OpenOrTell(app, err)) {
        return kExitFailed;
    }
    out << SettingJson(context, m_page, m_key).dump() << '\n';
    return kExitOk;
}

void CKeysCommand::AddCommand(CLI::App& root)
{
    m_command = root.add_subcommand("keys", "List the settings pages, or with PAGE the page's keys");
    m_pageOption = m_command->add_option("PAGE", m_page, "Settings page");
}

int CKeysCommand::Run(const CCliOptions&, std::ostream& out, std::ostream& err) const
{
    return RunKeys(m_pageOption->count() > 0 ? std::optional(m_page) : std::nullopt, out, err);
}

} // namespace qzb
