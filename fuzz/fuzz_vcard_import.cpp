// Arbitrary bytes as a vCard file: every damaged card is one of the file's, the import plan keeps
// the directory's rules, touches no entry the book held, puts each row on a slot that was free,
// stores only entries the entry editor's OK takes, and exporting the planned book and importing it
// again onto an empty book gives back every entry under its own speed dial.
#include "addressbook/address_book.h"
#include "addressbook/contacts_import.h"
#include "addressbook/entry_checks.h"
#include "addressbook/vcard_reader.h"
#include "fuzz_checks.h"
#include "model/panel_code.h"
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

    const CVCardFile file = ReadVCardFile(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::vector<CVCard>& cards = file.cards;
    for (const CVCardDamage& damage : file.damages) {
        Require(damage.card >= 1 && damage.card <= cards.size(), "a damage of no card");
    }
    CContactsOptions options;
    options.group = u"Fuzz";
    options.firstSlot = size > 0 ? 1 + data[0] % kLastFaxMailNumber : 1;
    CContactsPlan plan = PlanContactsImport(file, book, store, options, kToday);
    Require(book == before, "planning changed the book");
    RequireBookRules(plan.result);
    Require(*plan.result.FindFaxMailEntry(2) == kept, "the import changed an entry the book held");
    std::set<std::int32_t> slots;
    for (const CContactRow& row : plan.rows) {
        Require(row.slot >= options.firstSlot && row.slot != 2, "a row on a slot that was not free");
        Require(slots.insert(row.slot).second, "two rows on one slot");
        Require(row.card >= 1 && row.card <= cards.size(), "a row of no card");
        const CFaxMailEntry* entry = plan.result.FindFaxMailEntry(row.slot);
        Require(entry != nullptr, "a row without its entry");
        Require(CheckFaxMailEntry(entry->kind,
                                  PanelBytesToText(entry->name.View(), store),
                                  PanelBytesToText(entry->address.View(), store),
                                  store)
                    .Ok(),
                "an entry the editor's OK refuses");
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
        const CFaxMailEntry* original = exported.FindFaxMailEntry(row.slot);
        Require(original != nullptr && original->kind == row.kind, "an exported entry came back elsewhere");
    }
    return 0;
}
