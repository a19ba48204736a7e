// Arbitrary bytes as an address-book CSV file: a refused import leaves the book as it was; an
// accepted one keeps the directory's rules and groups of one kind, and exporting and importing again
// gives the same book.
#include "addressbook/address_book.h"
#include "addressbook/csv_exchange.h"
#include "fuzz_checks.h"
#include "model/value_store.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace {

// A group without a name is exported under its label ("Group 03"), which reads back as its name:
// the two show alike, so they count as one here.
bool SameGroup(const qzb::CGroupEntry& a, const qzb::CGroupEntry& b)
{
    const auto name = [](const qzb::CGroupEntry& group) {
        char label[16];
        std::snprintf(label, sizeof label, "Group %02d", group.number);
        return group.name.View() == label ? std::string_view() : group.name.View();
    };
    return a.number == b.number && a.kind == b.kind && a.members == b.members && a.setDate == b.setDate &&
           name(a) == name(b);
}

bool SameBook(const qzb::CAddressBook& a, const qzb::CAddressBook& b)
{
    return a.FaxMailEntries() == b.FaxMailEntries() && a.ScanEntries() == b.ScanEntries() &&
           a.Favourites() == b.Favourites() &&
           std::equal(a.Groups().begin(), a.Groups().end(), b.Groups().begin(), b.Groups().end(), SameGroup);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace qzb;
    constexpr std::uint16_t kToday = (26 << 9) | (3 << 5) | 14;
    static const CValueStore store;
    static const TextLookup labels = [](std::string_view) { return std::u16string(u"Group %02d"); };
    static const CAddressBook before = [] {
        CAddressBook book;
        book.SetGroupName(1, "kept", kToday);
        return book;
    }();

    CAddressBook book = before;
    const std::string_view csv(reinterpret_cast<const char*>(data), size);
    if (ParseAddressBookCsv(csv, book, store, kToday) != kOk) {
        Require(book == before, "a refused import changed the book");
        return 0;
    }
    RequireBookRules(book);
    for (const CGroupEntry& group : book.Groups()) {
        Require(std::all_of(group.members.begin(),
                            group.members.end(),
                            [&](std::int32_t m) { return book.FindFaxMailEntry(m)->kind == group.kind; }),
                "an imported group mixes fax and e-mail members");
    }
    // The same book back means the same export text too: the export is a function of the book.
    std::vector<CCsvNote> notes;
    const std::string exported = BuildAddressBookCsv(book, store, labels, &notes);
    Require(notes.empty(), "an imported book does not export as it stands");
    CAddressBook again = before;
    Require(ParseAddressBookCsv(exported, again, store, kToday) == kOk, "an export does not import");
    Require(SameBook(again, book), "import, export, import changed the book");
    return 0;
}
