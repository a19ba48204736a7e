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
    Transliterated, // a character of the name the panel lacks took another form: from -> to
    NameCut, // the name was longer than the panel shows: to is what is kept
    NameLeftOut, // nothing of the name can be shown (from: the characters, quoted): the entry has none
    NumberChanged, // characters a fax number cannot hold removed, "+" turned into the prefix: from -> to
    NoAddress, // the card has no fax number or e-mail address of the kinds chosen
    AddressInvalid, // the number or address (from) is no valid one: left out
    Duplicate, // the number or address is already under speed dial slot
    ListFull, // no free speed dial left: count entries left out
    NotInGroup, // the entry under slot did not join the group (other kind, or the group is full)
    GroupUnavailable, // the group (from) could not be named or made: no group
    NoEnd, // the card has no END:VCARD: it was read up to the next card
    CutOff, // the file ends inside the card: it was read up to the end
    CharactersLeftOut, // characters of the name (from, quoted) the panel cannot show were left out
    ExtensionLeftOut, // the extension (from) of the number was left out: the device dials none
    PauseLeftOut, // the pause and what follows it (from) were left out: the field takes no pause
    NumberInLetters, // the number (from) is spelt in letters: left out
    NoName, // the card gives no name: the entry under slot has none
    SlotTaken, // the speed dial the card names (wantedSlot) is taken: the entry went to slot
    CategoryUnavailable, // the card's group (from) could not be named or made
    NotInCategory, // the entry under slot did not join the card's group (from): other kind or full
};

struct CContactNote
{
    std::size_t card = 0; // 1-based position of the card in the file; 0 for the whole import
    ContactNoteReason reason = ContactNoteReason::Transliterated;
    std::u16string from{};
    std::u16string to{};
    std::int32_t slot = 0;
    std::size_t count = 0;
    std::int32_t wantedSlot = 0;

    bool operator==(const CContactNote&) const = default;
};

// The longest text of a card a note repeats: longer ones are cut and end in "...".
inline constexpr std::size_t kMaxNoteTextLength = 80;
std::u16string ShortenedForNote(std::u16string_view text);

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

// Maps each card to at most one fax and one e-mail speed dial (the first valid TEL of TYPE fax,
// the preferred one first; the preferred or first EMAIL), converting names to the panel code of
// the store's panel language. A card that names its speed dial (X-QZB-SPEED-DIAL) gets it while it
// is free; its groups (X-QZB-GROUP, else CATEGORIES) are joined or made. Every entry passes the
// fax/e-mail editor's OK check. The damages of the file are told as notes of their cards.
CContactsPlan PlanContactsImport(const CVCardFile& file,
                                 const CAddressBook& book,
                                 const CValueStore& store,
                                 const CContactsOptions& options,
                                 std::uint16_t setDate);
// The same for cards without a file's damages.
CContactsPlan PlanContactsImport(const std::vector<CVCard>& cards,
                                 const CAddressBook& book,
                                 const CValueStore& store,
                                 const CContactsOptions& options,
                                 std::uint16_t setDate);

// A card's telephone number as the fax number field takes it, and what was left out of it.
struct CFaxNumberFit
{
    std::u16string number; // empty when the value is no number the device can dial
    std::u16string extension; // the extension left out ("x89", "ext=89")
    std::u16string pause; // a pause and what follows it, left out where the field takes no pause
    bool letters = false; // spelt in letters (a vanity number, a word): no number
};

// A leading "+" (also after an opening bracket) becomes the international prefix and a "(0)" after
// the country code goes; spaces, brackets, dots and slashes only group digits and go; "x", "ext",
// "ext." and ";ext=" start an extension, which is left out; ",", ";", "p" and "w" are pauses, which
// become the panel's pause "P" where pauseAllowed, else the rest of the number is left out. A number
// with other letters, a "+" elsewhere, any other character, or no digit beyond the prefix is none.
CFaxNumberFit FitFaxNumber(std::u16string_view value, std::u16string_view internationalPrefix, bool pauseAllowed);

// The number of FitFaxNumber with pauses allowed.
std::u16string FaxNumberOfContact(std::u16string_view number, std::u16string_view internationalPrefix);

// The whole plan goes in at once.
void ApplyContactsPlan(CContactsPlan& plan, CAddressBook& book);

// The largest vCard file the import reads; a larger one is refused before it is read.
inline constexpr std::uintmax_t kMaxContactsFileSize = std::uintmax_t{64} << 20;

// 0x80020030 when the file cannot be read (errno in systemError, EFBIG for a file larger than
// kMaxContactsFileSize, refused before it is read); the file's cards otherwise.
MessageCode ReadContactsFile(const std::filesystem::path& path, CVCardFile& file, int* systemError = nullptr);

// A note as one line: "card 3 (Anna Berg): <reason>", in the texts of text.
std::u16string ContactNoteLine(const CContactNote& note, const std::vector<CVCard>& cards, const TextLookup& text);
// "12 cards: 10 entries to import" in the texts of text.
std::u16string ContactsPlanSummary(const CContactsPlan& plan, const TextLookup& text);
// The text keys the notes and the summary use.
std::vector<std::string> ContactsTextKeys();

// The book as a vCard 4.0 file: one card per fax or e-mail entry with its speed dial, its groups
// as CATEGORIES and, with their numbers, as X-QZB-GROUP.
std::string BuildContactsVcf(const CAddressBook& book, const CValueStore& store, const TextLookup& text);
// Written atomically, a new file readable by its owner only and a replaced one with the rights it
// had; 0, 0x80020031, or 0x80040020 for a book without fax or e-mail entries (nothing written).
MessageCode ExportContacts(const std::filesystem::path& path,
                           const CAddressBook& book,
                           const CValueStore& store,
                           const TextLookup& text,
                           int* systemError = nullptr);

} // namespace qzb
