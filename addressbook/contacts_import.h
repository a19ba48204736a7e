#pragma once

#include "addressbook/address_book.h"
#include "addressbook/vcard_reader.h"
#include "base/message_codes.h"
#include "base/text_lookup.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qzb {

class CValueStore;

enum class ContactKinds : std::uint8_t { Fax, Mail, Both };

struct CContactsOptions
{
    ContactKinds kinds = ContactKinds::Both;
    std::u16string group; // empty: no group
    std::int32_t firstSlot = kFirstFaxMailNumber;
    std::u16string internationalPrefix = u"00"; // what a leading "+" of a number becomes
};

// Why a card's entry was changed on its way to the panel, or left out.
enum class ContactNoteReason : std::uint8_t {
    Transliterated, // a character of the name the panel lacks took its Latin form: from -> to
    NameCut, // the name was longer than the panel shows: to is what is kept
    NameLeftOut, // the name holds characters (from) the panel cannot show: the entry has none
    NumberChanged, // characters a fax number cannot hold removed, "+" turned into the prefix
    NoAddress, // the card has no fax number or e-mail address of the kinds chosen
    AddressInvalid, // the number or address (from) is empty after the change or no valid one
    Duplicate, // the number or address is already under speed dial slot
    ListFull, // no free speed dial left: count entries left out
    NotInGroup, // the entry under slot did not join the group (other kind, or the group is full)
    GroupUnavailable, // the group (from) could not be named or made: no group
};

struct CContactNote
{
    std::size_t card = 0; // 1-based position of the card in the file; 0 for the whole import
    ContactNoteReason reason = ContactNoteReason::Transliterated;
    std::u16string from{};
    std::u16string to{};
    std::int32_t slot = 0;
    std::size_t count = 0;

    bool operator==(const CContactNote&) const = default;
};

// One entry the import makes.
struct CContactRow
{
    std::size_t card = 0;
    std::int32_t slot = 0;
    std::int32_t kind = kKindFax;
    std::u16string cardName; // as the card gives it
    std::u16string name; // as the device will show it
    std::u16string address;
};

// What an import would do, worked out on a copy of the book: nothing changes until Apply.
struct CContactsPlan
{
    std::size_t cards = 0;
    std::vector<CContactRow> rows;
    std::vector<CContactNote> notes; // in card order
    std::int32_t group = 0; // the group the entries joined, 0 for none
    bool groupCreated = false;
    CAddressBook result; // the book with every row put in
};

// Maps each card to at most one fax and one e-mail speed dial (a TEL of TYPE fax, the preferred
// or first EMAIL), converting names to the panel code of the store's panel language.
CContactsPlan PlanContactsImport(const std::vector<CVCard>& cards,
                                 const CAddressBook& book,
                                 const CValueStore& store,
                                 const CContactsOptions& options,
                                 std::uint16_t setDate);

// The number as the fax number field takes it: a leading "+" becomes the prefix, and characters
// other than digits, "*", "#", "-" and the pause "P" go (spaces and brackets only group digits).
std::u16string FaxNumberOfContact(std::u16string_view number, std::u16string_view internationalPrefix);

// The whole plan goes in at once.
void ApplyContactsPlan(CContactsPlan& plan, CAddressBook& book);

// 0x80020030 when the file cannot be read (errno in systemError); the file's cards otherwise.
MessageCode ReadContactsFile(const std::filesystem::path& path, std::vector<CVCard>& cards, int* systemError = nullptr);

// A note as one line: "card 3 (Anna Berg): <reason>", in the texts of text.
std::u16string ContactNoteLine(const CContactNote& note, const std::vector<CVCard>& cards, const TextLookup& text);
// "12 cards: 10 entries to import" in the texts of text.
std::u16string ContactsPlanSummary(const CContactsPlan& plan, const TextLookup& text);
// The text keys the notes and the summary use.
std::vector<std::string> ContactsTextKeys();

// The book as a vCard 4.0 file: one card per fax or e-mail entry, its groups as CATEGORIES.
std::string BuildContactsVcf(const CAddressBook& book, const CValueStore& store, const TextLookup& text);
// Written atomically; 0 or 0x80020031.
MessageCode ExportContacts(const std::filesystem::path& path,
                           const CAddressBook& book,
                           const CValueStore& store,
                           const TextLookup& text,
                           int* systemError = nullptr);

} // namespace qzb
