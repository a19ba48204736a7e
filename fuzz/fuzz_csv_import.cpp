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
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace qzb;
    constexpr std::uint16_t kToday = (26 << 9) | (3 << 5) | 14;
    static const CValueStore store;
    const TextLookup labels = [](std::string_view) { return std::u16string(u"Group %02d"); };

    CAddressBook book;
    book.SetGroupName(1, "kept", kToday);
    const CAddressBook before = book;
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
    CAddressBook again;
    Require(ParseAddressBookCsv(BuildAddressBookCsv(book, store, labels), again, store, kToday) == kOk,
            "an export does not import");
    Require(BuildAddressBookCsv(again, store, labels) == BuildAddressBookCsv(book, store, labels),
            "export, import, export changed the file");
    return 0;
}
