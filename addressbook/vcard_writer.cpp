#include "addressbook/contacts_import.h"

#include "addressbook/group_label.h"
#include "base/atomic_file.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

namespace qzb {

namespace {

// Content lines are folded before 75 octets, never inside a UTF-8 sequence.
constexpr std::size_t kFoldOctets = 75;

std::string Escaped(std::u16string_view text)
{
    std::string escaped;
    for (char c : Utf16ToUtf8(text)) {
        if (c == '\\' || c == ',' || c == ';') {
            escaped.push_back('\\');
            escaped.push_back(c);
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c != '\r') {
            escaped.push_back(c);
        }
    }
    return escaped;
}

void AppendLine(std::string& out, std::string_view line)
{
    std::size_t taken = 0;
    std::size_t limit = kFoldOctets;
    while (line.size() - taken > limit) {
        std::size_t cut = taken + limit;
        while (cut > taken && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        out.append(line.substr(taken, cut - taken));
        out += "\r\n ";
        taken = cut;
        limit = kFoldOctets - 1; // the space that starts a continuation counts
    }
    out.append(line.substr(taken));
    out += "\r\n";
}

} // namespace

std::string BuildContactsVcf(const CAddressBook& book, const CValueStore& store, const TextLookup& text)
{
    const std::int32_t language = PanelLanguage(store);
    const std::u16string labelFormat = text ? text(kGroupLabelKey) : std::u16string();
    std::string out;
    for (const CFaxMailEntry& entry : book.FaxMailEntries()) {
        const std::u16string name = PanelBytesToText(entry.name.View(), language);
        const std::u16string address = PanelBytesToText(entry.address.View(), language);
        AppendLine(out, "BEGIN:VCARD");
        AppendLine(out, "VERSION:4.0");
        AppendLine(out, "FN:" + Escaped(name));
        if (entry.kind == kKindFax) {
            AppendLine(out, "TEL;TYPE=fax;VALUE=text:" + Escaped(address));
        } else {
            AppendLine(out, "EMAIL:" + Escaped(address));
        }
        std::string categories;
        std::vector<std::string> numbered;
        for (const CGroupEntry& group : book.Groups()) {
            if (std::binary_search(group.members.begin(), group.members.end(), entry.number)) {
                if (!categories.empty()) {
                    categories += ',';
                }
                categories += Escaped(GroupDisplayLabel(&group, group.number, labelFormat, language));
                // The group's number and its name as stored (empty for a group shown by its
                // number's label), so that an import brings the same group back.
                numbered.push_back(std::string(kGroupProperty) + ":" + std::to_string(group.number) + ";" +
                                   Escaped(PanelBytesToText(group.name.View(), language)));
            }
        }
        if (!categories.empty()) {
            AppendLine(out, "CATEGORIES:" + categories);
        }
        for (const std::string& line : numbered) {
            AppendLine(out, line);
        }
        std::string speedDial(kSpeedDialProperty);
        speedDial += ':';
        speedDial += std::to_string(entry.number);
        AppendLine(out, speedDial);
        AppendLine(out, "END:VCARD");
    }
    return out;
}

MessageCode ExportContacts(const std::filesystem::path& path,
                           const CAddressBook& book,
                           const CValueStore& store,
                           const TextLookup& text,
                           int* systemError)
{
    if (book.FaxMailEntries().empty()) {
        return kMsgVcfNothingToExport;
    }
    const std::string vcf = BuildContactsVcf(book, store, text);
    std::error_code error;
    // Addresses are personal data: a new file is its owner's alone, a replaced one keeps the rights
    // its owner gave it.
    if (!WriteFileAtomically(path,
                             std::span(reinterpret_cast<const std::uint8_t*>(vcf.data()), vcf.size()),
                             &error,
                             FileRights::OwnerOnlyWhenNew)) {
        if (systemError) {
            *systemError = error.value();
        }
        return kMsgWriteFileError;
    }
    return kOk;
}

} // namespace qzb
