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

// A name as the panel of a language can show it.
struct CPanelNameFit
{
    std::u16string text; // empty when unshown is not
    std::vector<CNameChange> changes; // each distinct replacement once, in the order met
    std::u16string unshown; // characters neither the panel nor the table can give, each once
    bool cut = false; // longer than maxLength: the rest left out
};

// Keeps every character the panel of the language holds; only the others take their Latin form,
// when the panel holds all of it. Line breaks and tabs become spaces and runs of spaces one.
CPanelNameFit FitNameToPanel(std::u16string_view name, std::int32_t panelLanguage, std::size_t maxLength);

} // namespace qzb
