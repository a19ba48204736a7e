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

// What the contacts import reads of one card; photos, keys and every other property are skipped.
struct CVCard
{
    std::u16string formattedName; // FN
    std::vector<std::u16string> name; // N: family, given, additional, prefixes, suffixes
    std::u16string organisation; // ORG, first component
    std::vector<CVCardAddress> tels;
    std::vector<CVCardAddress> emails;
    std::vector<std::u16string> categories;

    // FN, else N as "prefix given additional family suffix", else the organisation.
    std::u16string DisplayName() const;
    bool operator==(const CVCard&) const = default;
};

// Reads every card of a .vcf file of versions 2.1, 3.0 and 4.0: folded lines, escaped characters,
// grouped properties ("item1.EMAIL"), the quoted-printable encoding and CHARSET parameter of 2.1
// exports and bare 2.1 type parameters ("TEL;FAX;HOME:"). Text outside BEGIN:VCARD ... END:VCARD
// and lines that are no property are skipped; a card without END is taken up to the end of the
// file. Cards nested in an AGENT property are not read as cards of their own.
std::vector<CVCard> ParseVCards(std::string_view bytes);

} // namespace qzb
