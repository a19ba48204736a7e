#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

// A telephone number or e-mail address of a card with its TYPE values (lower case) and its
// preference: 1 is the most preferred, 0 not marked (PREF=n of 4.0, TYPE=pref of 2.1 and 3.0).
struct CVCardAddress
{
    std::u16string value;
    std::vector<std::string> types;
    std::int32_t pref = 0;

    bool HasType(std::string_view type) const;
    bool operator==(const CVCardAddress&) const = default;
};

// A group the entry belonged to, as the contacts export writes it (X-QZB-GROUP:number;name).
struct CVCardGroup
{
    std::int32_t number = 0;
    std::u16string name;

    bool operator==(const CVCardGroup&) const = default;
};

// The properties the contacts export writes beside the standard ones, so that its file reads back
// into the same speed dials and groups.
inline constexpr std::string_view kSpeedDialProperty = "X-QZB-SPEED-DIAL";
inline constexpr std::string_view kGroupProperty = "X-QZB-GROUP";

// What the contacts import reads of one card; photos, keys and every other property are skipped.
struct CVCard
{
    std::u16string formattedName; // FN
    std::vector<std::u16string> name; // N: family, given, additional, prefixes, suffixes
    std::u16string organisation; // ORG, first component
    std::vector<CVCardAddress> tels;
    std::vector<CVCardAddress> emails;
    std::vector<std::u16string> categories;
    std::int32_t speedDial = 0; // X-QZB-SPEED-DIAL: the speed dial the entry had, 0 for none
    std::vector<CVCardGroup> groups; // X-QZB-GROUP: the groups the entry was in

    // FN, else N as "prefix given additional family suffix", else the organisation.
    std::u16string DisplayName() const;
    bool operator==(const CVCard&) const = default;
};

// A card the file damaged: it was read as far as it went.
enum class VCardDamage : std::uint8_t {
    NoEnd, // no END:VCARD before the next card began: read up to that card
    CutOff, // the file ends inside the card
};

struct CVCardDamage
{
    std::size_t card = 0; // 1-based position of the card in the file
    VCardDamage damage = VCardDamage::NoEnd;

    bool operator==(const CVCardDamage&) const = default;
};

// What a .vcf file holds: every top-level card, each damaged one named, and the encoding its bytes
// came in. A file in an encoding the reader cannot read has unreadableEncoding set and no card.
struct CVCardFile
{
    std::vector<CVCard> cards;
    std::vector<CVCardDamage> damages; // in card order
    std::string_view unreadableEncoding; // "UTF-7", "UTF-EBCDIC" ...: named by its byte-order mark
};

// Reads every card of a .vcf file of versions 2.1, 3.0 and 4.0: lines ended by CR LF, LF, CR or
// the CR CR LF of some phone exports; UTF-8, or UTF-16 and UTF-32 with their byte-order mark (or
// UTF-16 recognised by its zero bytes); folded lines, escaped characters, grouped properties
// ("item1.EMAIL"), the quoted-printable encoding and CHARSET parameter of 2.1 exports and bare 2.1
// type parameters ("TEL;FAX;HOME:"). Property names and the BEGIN and END values are matched
// without regard to case or surrounding blanks. Text outside BEGIN:VCARD ... END:VCARD and lines
// that are no property are skipped. A card without END ends where the next card begins (a card
// nested in a 2.1 AGENT property aside, which is no card of its own) or at the end of the file.
CVCardFile ReadVCardFile(std::string_view bytes);

// The cards of ReadVCardFile.
std::vector<CVCard> ParseVCards(std::string_view bytes);

} // namespace qzb
