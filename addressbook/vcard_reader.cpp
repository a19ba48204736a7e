#include "addressbook/vcard_reader.h"

#include "model/text_codec.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <optional>

namespace qzb {

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    return lower;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

// A property line split into its parts; the value is still encoded and escaped.
struct CProperty
{
    std::string name; // lower case, group removed
    std::multimap<std::string, std::string> params; // lower-case names; bare 2.1 values under "type"
    std::string_view value;

    bool Has(std::string_view param, std::string_view value) const
    {
        const auto [first, last] = params.equal_range(std::string(param));
        return std::any_of(first, last, [&](const auto& p) { return EqualsNoCase(p.second, value); });
    }
    std::string_view First(std::string_view param) const
    {
        const auto found = params.find(std::string(param));
        return found != params.end() ? std::string_view(found->second) : std::string_view();
    }
};

// The encodings of 2.1 name themselves bare ("TEL;QUOTED-PRINTABLE:") or as ENCODING=...
bool IsEncodingName(std::string_view value)
{
    return EqualsNoCase(value, "quoted-printable") || EqualsNoCase(value, "base64") || EqualsNoCase(value, "b") ||
           EqualsNoCase(value, "8bit") || EqualsNoCase(value, "7bit");
}

// Splits a parameter's value list at its commas, dropping the quotes: TYPE="work,voice" lists
// two types, as RFC 6350's own examples read.
void AddParamValues(CProperty& property, const std::string& name, std::string_view values)
{
    std::string current;
    for (char c : values) {
        if (c == ',') {
            property.params.emplace(name, std::move(current));
            current.clear();
        } else if (c != '"') {
            current.push_back(c);
        }
    }
    property.params.emplace(name, std::move(current));
}

std::optional<CProperty> SplitProperty(std::string_view line)
{
    // The value starts after the first colon outside a quoted parameter value.
    std::size_t colon = std::string_view::npos;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    CProperty property;
    property.value = line.substr(colon + 1);
    std::vector<std::string_view> parts;
    std::string_view head = line.substr(0, colon);
    quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"') {
            quoted = !quoted;
        } else if (i == head.size() || (head[i] == ';' && !quoted)) {
            parts.push_back(head.substr(start, i - start));
            start = i + 1;
        }
    }
    std::string_view name = parts.front();
    if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
        name.remove_prefix(dot + 1); // "item1.EMAIL": the group only ties properties together
    }
    if (name.empty()) {
        return std::nullopt;
    }
    property.name = LowerAscii(name);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos) {
            if (!part.empty()) {
                property.params.emplace(IsEncodingName(part) ? "encoding" : "type", LowerAscii(part));
            }
            continue;
        }
        AddParamValues(property, LowerAscii(part.substr(0, equals)), part.substr(equals + 1));
    }
    return property;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = Lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string DecodeQuotedPrintable(std::string_view value)
{
    std::string bytes;
    bytes.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '=' && i + 2 < value.size() && HexValue(value[i + 1]) >= 0 && HexValue(value[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2])));
            i += 2;
        } else if (value[i] != '=' || i + 1 < value.size()) {
            bytes.push_back(value[i]);
        }
    }
    return bytes;
}

// Text values in the card's character set, UTF-8 unless a 2.1 CHARSET parameter names another.
class CCharsets
{
public:
    std::u16string Decode(std::string_view bytes, std::string_view charset)
    {
        if (charset.empty() || EqualsNoCase(charset, "utf-8") || EqualsNoCase(charset, "us-ascii")) {
            return Utf8ToUtf16(bytes);
        }
        const std::string key = LowerAscii(charset);
        auto found = m_pages.find(key);
        // A file naming ever new character sets would make a table for each.
        if (found == m_pages.end() && m_pages.size() < kMaxCharsets) {
            found = m_pages.emplace(key, CCodePage::Open(key)).first;
        }
        return found != m_pages.end() && found->second ? found->second->Decode(bytes) : Utf8ToUtf16(bytes);
    }

private:
    static constexpr std::size_t kMaxCharsets = 8;
    std::map<std::string, std::unique_ptr<CCodePage>> m_pages;
};

// Splits a text value at unescaped separators and resolves the escapes of 3.0 and 4.0: "\\",
// "\,", "\;", "\n" and "\N". 2.1 escapes only ";", which the same rule reads.
std::vector<std::u16string> SplitText(std::u16string_view text, char16_t separator)
{
    std::vector<std::u16string> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'\\' && i + 1 < text.size()) {
            const char16_t next = text[++i];
            parts.back().push_back(next == u'n' || next == u'N' ? u'\n' : next);
        } else if (unit == separator && separator != 0) {
            parts.emplace_back();
        } else {
            parts.back().push_back(unit);
        }
    }
    return parts;
}

std::u16string Trimmed(std::u16string_view text)
{
    const auto space = [](char16_t u) { return u == u' ' || u == u'\t' || u == u'\r' || u == u'\n'; };
    while (!text.empty() && space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && space(text.back())) {
        text.remove_suffix(1);
    }
    return std::u16string(text);
}

CVCardAddress AddressOf(const CProperty& property, std::u16string value)
{
    CVCardAddress address;
    address.value = Trimmed(value);
    for (auto [first, last] = property.params.equal_range("type"); first != last; ++first) {
        std::string type = LowerAscii(first->second);
        if (type == "pref") {
            address.pref = 1;
        } else {
            address.types.push_back(std::move(type));
        }
    }
    std::int32_t pref = 0;
    const std::string_view prefText = property.First("pref");
    if (!prefText.empty() &&
        std::from_chars(prefText.data(), prefText.data() + prefText.size(), pref).ec == std::errc() && pref >= 1 &&
        pref <= 100) {
        address.pref = pref;
    }
    return address;
}

void ReadProperty(CVCard& card, const CProperty& property, CCharsets& charsets)
{
    const std::string& name = property.name;
    if (name != "fn" && name != "n" && name != "org" && name != "tel" && name != "email" && name != "categories") {
        return;
    }
    // Binary values (a PHOTO's or a KEY's) never reach this far; a base64 text is not one to read.
    if (property.Has("encoding", "b") || property.Has("encoding", "base64")) {
        return;
    }
    const std::string bytes = property.Has("encoding", "quoted-printable") ? DecodeQuotedPrintable(property.value)
                                                                           : std::string(property.value);
    const std::u16string text = charsets.Decode(bytes, property.First("charset"));
    if (name == "fn") {
        card.formattedName = Trimmed(SplitText(text, 0).front());
    } else if (name == "n") {
        card.name = SplitText(text, u';');
    } else if (name == "org") {
        card.organisation = Trimmed(SplitText(text, u';').front());
    } else if (name == "categories") {
        for (std::u16string& category : SplitText(text, u',')) {
            if (std::u16string trimmed = Trimmed(category); !trimmed.empty()) {
                card.categories.push_back(std::move(trimmed));
            }
        }
    } else {
        // TEL and EMAIL values are no structured text, but exporters escape their commas anyway.
        std::u16string value = SplitText(text, 0).front();
        if (value.empty()) {
            return;
        }
        (name == "tel" ? card.tels : card.emails).push_back(AddressOf(property, std::move(value)));
    }
}

// The logical lines of the file: folded continuations joined, and the soft line breaks of
// quoted-printable values ("=" at the end of a line) joined with the next line. Each physical line
// is looked at once, so a file of endless continuations stays linear.
std::vector<std::string> LogicalLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::size_t colon = std::string::npos; // of the logical line being built
    bool quotedPrintable = false;
    bool softBreak = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const bool folded = !line.empty() && (line.front() == ' ' || line.front() == '\t');
        if ((softBreak || folded) && !lines.empty()) {
            if (!softBreak) {
                line.remove_prefix(1);
            }
        } else {
            lines.emplace_back();
            colon = std::string::npos;
            quotedPrintable = false;
        }
        std::string& current = lines.back();
        const std::size_t appendedAt = current.size();
        current.append(line);
        if (colon == std::string::npos) {
            colon = current.find(':', appendedAt);
            if (colon != std::string::npos) {
                quotedPrintable = LowerAscii(std::string_view(current).substr(0, colon)).find("quoted-printable") !=
                                  std::string::npos;
            }
        }
        softBreak = quotedPrintable && !current.empty() && current.back() == '=' && current.size() > colon + 1;
        if (softBreak) {
            current.pop_back();
        }
    }
    return lines;
}

} // namespace

bool CVCardAddress::HasType(std::string_view type) const
{
    return std::find(types.begin(), types.end(), type) != types.end();
}

std::u16string CVCard::DisplayName() const
{
    if (!formattedName.empty()) {
        return formattedName;
    }
    // N lists family, given, additional names, prefixes and suffixes; people read them otherwise.
    std::u16string joined;
    for (const std::size_t part : {3, 1, 2, 0, 4}) {
        if (part < name.size()) {
            if (const std::u16string piece = Trimmed(name[part]); !piece.empty()) {
                joined += (joined.empty() ? u"" : u" ") + piece;
            }
        }
    }
    return joined.empty() ? organisation : joined;
}

std::vector<CVCard> ParseVCards(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    std::vector<CVCard> cards;
    CCharsets charsets;
    std::size_t depth = 0; // BEGIN:VCARD seen and not yet ended, an AGENT's card counted too
    for (const std::string& line : LogicalLines(bytes)) {
        const std::optional<CProperty> property = SplitProperty(line);
        if (!property) {
            continue;
        }
        if (property->name == "begin" && EqualsNoCase(property->value, "vcard")) {
            if (depth++ == 0) {
                cards.emplace_back();
            }
        } else if (property->name == "end" && EqualsNoCase(property->value, "vcard")) {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (depth == 1) {
            ReadProperty(cards.back(), *property, charsets);
        }
    }
    return cards;
}

} // namespace qzb
