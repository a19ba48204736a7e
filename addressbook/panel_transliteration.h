#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

// A character and its plain Latin form, for names the panel cannot show as written.
struct CLatinForm
{
    char16_t unit;
    std::string_view latin;
};

// Sorted by unit: Latin-1 and Latin Extended-A letters, the Romanian comma letters, capital sharp s
// and the typographic quotes and dashes address books hold.
std::span<const CLatinForm> LatinFormTable();
// Empty when the table has no form for the character.
std::string_view LatinFormOf(char32_t ch);

// One character of a name replaced by its Latin form.
struct CNameChange
{
    std::u16string from;
    std::u16string to;

    bool operator==(const CNameChange&) const = default;
};

// The half-width form of a full-width Latin character or of a katakana (with its sound mark as a
// second character); empty when the character has none.
std::u16string HalfWidthFormOf(char32_t ch);

// A name as the panel of a language can show it.
struct CPanelNameFit
{
    std::u16string text; // empty when nothing of the name can be shown
    std::vector<CNameChange> changes; // each distinct replacement once, in the order met
    // Characters neither the panel nor a replacement can give, left out of the text: each once,
    // in the order met, the first kMaxListedUnshown of them.
    std::vector<std::u16string> unshown;
    bool moreUnshown = false; // more than kMaxListedUnshown distinct characters were left out
    bool cut = false; // longer than maxLength: the rest left out

    static constexpr std::size_t kMaxListedUnshown = 16;
};

// Keeps every character the panel of the language holds; the others take their half-width form
// (full-width Latin, katakana) or their Latin form when the panel holds all of it, and the rest is
// left out. Line breaks and tabs become spaces, runs of spaces one, and the name has no blanks
// at either end, also where it is cut. Only the part of the name that fits is looked at.
CPanelNameFit FitNameToPanel(std::u16string_view name, std::int32_t panelLanguage, std::size_t maxLength);

} // namespace qzb
