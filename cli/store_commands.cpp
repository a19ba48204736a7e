#include "cli/store_commands.h"

#include "cli/qzbctl.h"
#include "machine/setting_check.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <algorithm>
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

} // namespace qzb
