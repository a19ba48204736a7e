// Values for the fields of an address-book entry editor as qzbctl entry set gives them: any entry
// of an empty or a full book, any field, any text. A refused value leaves every field as it was;
// an entry the editor's OK takes keeps the directory's rules, and a settings file keeps the book.
#include "addressbook/address_book.h"
#include "cli/entry_input.h"
#include "fuzz_checks.h"
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "model/text_codec.h"
#include "pages/entry_fax_mail.h"
#include "pages/entry_group.h"
#include "pages/entry_scan.h"
#include "tests/support/full_device.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace {

using namespace qzb;
using CEditor = std::variant<CFaxMailEditor, CScanEditor, CGroupNameEditor, CFavouriteEditor>;
constexpr std::uint32_t kModelBits[] = {1, 2, 4, 8, 16};

bool SameField(const CEntryField& a, const CEntryField& b)
{
    if (a.offered.size() != b.offered.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.offered.size(); ++i) {
        if (a.offered[i].value != b.offered[i].value) {
            return false;
        }
    }
    return a.text == b.text && a.value == b.value && a.list == b.list && a.visible == b.visible &&
           a.enabled == b.enabled && a.labelKey == b.labelKey && a.inputKind == b.inputKind;
}

bool SameFields(const std::vector<CEntryField>& a, const std::vector<CEntryField>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameField);
}

// The scan destinations as a file keeps them: without the user ID and the second copy of the
// password, which only the editor holds.
std::vector<CScanEntry> ScanEntriesAsFiled(const CAddressBook& book)
{
    std::vector<CScanEntry> entries = book.ScanEntries();
    for (CScanEntry& entry : entries) {
        entry.userId.clear();
        entry.passwordCopy.clear();
    }
    return entries;
}

// The value in the form qzbctl takes it, or anything at all.
std::u16string Value(FuzzedDataProvider& input, const CEntryField& field)
{
    switch (input.ConsumeIntegralInRange(0, 4)) {
        case 0:
            return Utf8ToUtf16(std::to_string(input.ConsumeIntegral<std::int32_t>()));
        case 1:
            if (!field.offered.empty()) {
                const CEntryOption& option =
                    field.offered[input.ConsumeIntegralInRange<std::size_t>(0, field.offered.size() - 1)];
                return option.word.empty() ? Utf8ToUtf16(std::to_string(option.value))
                                           : Utf8ToUtf16(std::string(option.word));
            }
            [[fallthrough]];
        case 2: {
            std::string list;
            for (std::size_t n = input.ConsumeIntegralInRange(0, 4); n > 0; --n) {
                list += (list.empty() ? "" : ",") + std::to_string(input.ConsumeIntegralInRange(-1, 260));
            }
            return Utf8ToUtf16(list);
        }
        default:
            return Utf8ToUtf16(input.ConsumeRandomLengthString(100));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const CFullDevice full = MakeFullDevice();
    static const CValueStore initialStore;
    FuzzedDataProvider input(data, size);
    const bool fullBook = input.ConsumeBool();
    CAddressBook book = fullBook ? full.device.book : CAddressBook();
    const CValueStore& store = fullBook ? full.store : initialStore;
    const CEntryEnv env{&store, nullptr, input.PickValueInArray(kModelBits)};

    CEditor editor = [&]() -> CEditor {
        switch (input.ConsumeIntegralInRange(0, 3)) {
            case 0:
                return CFaxMailEditor(book, input.ConsumeIntegralInRange(kFirstFaxMailNumber, kLastFaxMailNumber), env);
            case 1:
                return CScanEditor(book, input.ConsumeIntegralInRange(kFirstScanNumber, kLastScanNumber), env);
            case 2:
                return CGroupNameEditor(book, input.ConsumeIntegralInRange(kFirstGroupNumber, kLastGroupNumber), env);
            default:
                return CFavouriteEditor(
                    book, input.ConsumeIntegralInRange(kFirstFavouriteNumber, kLastFavouriteNumber), env);
        }
    }();
    CEntryForm& form = std::visit([](auto& e) -> CEntryForm& { return e; }, editor);

    while (input.remaining_bytes() > 0) {
        const CEntryField& chosen =
            form.Fields()[input.ConsumeIntegralInRange<std::size_t>(0, form.Fields().size() - 1)];
        const CEntryField* field = FindEntryField(form, chosen.def->name);
        Require(field == &chosen, "a field is not found by its name");
        const std::u16string value = Value(input, *field);
        const std::vector<CEntryField> before = form.Fields();
        const CEntryInput result = ApplyEntryText(form, *field, value);
        if (result.refusal != EntryRefusal::None) {
            Require(SameFields(form.Fields(), before), "a refused value changed the editor");
            Require(!EntryRefusalText(result.refusal).empty(), "a refusal without words");
        }
        (void)EntryFieldJson(*field);
    }
    const CEntryResult ok = std::visit([&](auto& e) { return e.Ok(book); }, editor);
    if (!ok.Ok()) {
        return 0;
    }
    RequireBookRules(book);
    // A settings file keeps every entry, the groups without members aside (qzbctl refuses those).
    // Stores are assigned, not built, run after run: building one from its tables takes long.
    static CValueStore rereadStore;
    CDeviceData device;
    device.book = book;
    const std::vector<std::uint8_t> image = EncodeMachineImage(device, store, {EncodeMode::File, false, 0x3442});
    CDeviceData reread;
    rereadStore = initialStore;
    Require(DecodeMachineImage(reread, rereadStore, image) == kOk, "an edited book does not read back");
    Require(reread.book.FaxMailEntries() == book.FaxMailEntries() &&
                ScanEntriesAsFiled(reread.book) == ScanEntriesAsFiled(book) &&
                reread.book.Favourites().size() <= book.Favourites().size(),
            "a settings file lost an edited entry");
    return 0;
}
