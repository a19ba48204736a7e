// Arbitrary bytes as a vCard file: the import plan keeps the directory's rules, touches no entry
// the book held, puts each row on a slot that was free, and exporting the planned book and
// importing it again onto an empty book gives back every entry.
#include "addressbook/address_book.h"
#include "addressbook/contacts_import.h"
#include "addressbook/vcard_reader.h"
#include "fuzz_checks.h"
#include "model/value_store.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace qzb;
    constexpr std::uint16_t kToday = (26 << 9) | (3 << 5) | 14;
    static const CValueStore store;
    const TextLookup labels = [](std::string_view) { return std::u16string(u"Group %02d"); };

    CAddressBook book;
    CFaxMailEntry kept;
    kept.number = 2;
    kept.name.Assign("kept");
    kept.address.Assign("0123");
    book.PutFaxMailEntry(kept);
    const CAddressBook before = book;

    const std::vector<CVCard> cards = ParseVCards(std::string_view(reinterpret_cast<const char*>(data), size));
    CContactsOptions options;
    options.group = u"Fuzz";
    options.firstSlot = size > 0 ? 1 + data[0] % kLastFaxMailNumber : 1;
    CContactsPlan plan = PlanContactsImport(cards, book, store, options, kToday);
    Require(book == before, "planning changed the book");
    RequireBookRules(plan.result);
    Require(*plan.result.FindFaxMailEntry(2) == kept, "the import changed an entry the book held");
    std::set<std::int32_t> slots;
    for (const CContactRow& row : plan.rows) {
        Require(row.slot >= options.firstSlot && row.slot != 2, "a row on a slot that was not free");
        Require(slots.insert(row.slot).second, "two rows on one slot");
        Require(row.card >= 1 && row.card <= cards.size(), "a row of no card");
    }
    Require(plan.result.FaxMailEntries().size() == before.FaxMailEntries().size() + plan.rows.size(),
            "rows and entries differ");

    CAddressBook exported = plan.result;
    exported.DeleteFaxMailEntry(2);
    const std::vector<CVCard> again = ParseVCards(BuildContactsVcf(exported, store, labels));
    Require(again.size() == exported.FaxMailEntries().size(), "an exported card is not read back");
    const CContactsPlan reread = PlanContactsImport(again, CAddressBook(), store, CContactsOptions{}, kToday);
    for (const CContactRow& row : reread.rows) {
        Require(row.kind != kKindFax || row.address.find(u'+') == std::u16string::npos, "a number kept its +");
    }
    return 0;
}
