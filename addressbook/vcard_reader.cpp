#include "addressbook/vcard_reader.h"

#include "addressbook/address_records.h"
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

// Without the spaces and tabs around it: "BEGIN:VCARD " and "End : vCard" still delimit cards.
std::string_view TrimmedBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
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
    std::string_view name = TrimmedBlanks(parts.front());
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
            if (const std::string_view bare = TrimmedBlanks(part); !bare.empty()) {
                property.params.emplace(IsEncodingName(bare) ? "encoding" : "type", LowerAscii(bare));
            }
            continue;
        }
        AddParamValues(property, LowerAscii(TrimmedBlanks(part.substr(0, equals))), part.substr(equals + 1));
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

// A decimal number within first..last; 0 for anything else.
std::int32_t NumberOf(std::u16string_view text, std::int32_t first, std::int32_t last)
{
    std::int32_t number = 0;
    if (text.empty() || text.size() > 4) {
        return 0;
    }
    for (char16_t unit : text) {
        if (unit < u'0' || unit > u'9') {
            return 0;
        }
        number = number * 10 + (unit - u'0');
    }
    return number >= first && number <= last ? number : 0;
}

void ReadProperty(CVCard& card, const CProperty& property, CCharsets& charsets)
{
    const std::string& name = property.name;
    if (name != "fn" && name != "n" && name != "org" && name != "tel" && name != "email" && name != "categories" &&
        !EqualsNoCase(name, kSpeedDialProperty) && !EqualsNoCase(name, kGroupProperty)) {
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
    } else if (EqualsNoCase(name, kSpeedDialProperty)) {
        card.speedDial = NumberOf(Trimmed(text), kFirstFaxMailNumber, kLastFaxMailNumber);
    } else if (EqualsNoCase(name, kGroupProperty)) {
        const std::vector<std::u16string> parts = SplitText(text, u';');
        const std::int32_t number = NumberOf(Trimmed(parts.front()), kFirstGroupNumber, kLastGroupNumber);
        if (number != 0 && card.groups.size() < kLastGroupNumber) {
            card.groups.push_back({number, parts.size() > 1 ? parts[1] : std::u16string()});
        }
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

// The physical line at pos, pos moved past its end. A line ends at LF, or at one or more CRs and
// an LF that may follow them: CR LF, CR alone (old Mac files) and the CR CR LF of iOS 5 and 6
// exports each end one line.
std::string_view NextLine(std::string_view bytes, std::size_t& pos)
{
    const std::size_t start = pos;
    const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
    pos = end;
    while (pos < bytes.size() && bytes[pos] == '\r') {
        ++pos;
    }
    if (pos < bytes.size() && bytes[pos] == '\n') {
        ++pos;
    }
    return bytes.substr(start, end - start);
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
        std::string_view line = NextLine(bytes, pos);
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

struct CUnreadableMark
{
    std::string_view mark;
    std::string_view name;
};

// Byte-order marks of encodings no exporter of address books writes and the reader does not read.
constexpr CUnreadableMark kUnreadableMarks[] = {
    {"\x2B\x2F\x76", "UTF-7"},
    {"\xF7\x64\x4C", "UTF-1"},
    {"\xDD\x73\x66\x73", "UTF-EBCDIC"},
    {"\x0E\xFE\xFF", "SCSU"},
    {"\xFB\xEE\x28", "BOCU-1"},
};

void AppendCodePoint(std::string& out, char32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = 0xFFFD;
    }
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::uint32_t Unit(std::string_view bytes, std::size_t at, std::size_t size, bool bigEndian)
{
    std::uint32_t unit = 0;
    for (std::size_t k = 0; k < size; ++k) {
        const auto byte = static_cast<unsigned char>(bytes[at + (bigEndian ? k : size - 1 - k)]);
        unit = (unit << 8) | byte;
    }
    return unit;
}

// UTF-16 or UTF-32 text as UTF-8; a unit cut off at the end is dropped, a lone surrogate becomes
// U+FFFD.
std::string WideToUtf8(std::string_view bytes, std::size_t unitSize, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at + unitSize <= bytes.size(); at += unitSize) {
        char32_t cp = Unit(bytes, at, unitSize, bigEndian);
        if (unitSize == 2 && cp >= 0xD800 && cp < 0xDC00 && at + 4 <= bytes.size()) {
            const char32_t low = Unit(bytes, at + 2, 2, bigEndian);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        AppendCodePoint(out, cp);
    }
    return out;
}

// The file's text as UTF-8: UTF-8 as it is (without its byte-order mark); UTF-32 and UTF-16 by
// their byte-order mark, and UTF-16 without one by the zero bytes of its ASCII ("B\0E\0G\0" as
// Windows writes it). An encoding named by a mark the reader does not read gives no text.
std::string_view Utf8Text(std::string_view bytes, std::string& converted, std::string_view& unreadable)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return bytes.substr(3);
    }
    for (const CUnreadableMark& mark : kUnreadableMarks) {
        if (bytes.starts_with(mark.mark)) {
            unreadable = mark.name;
            return {};
        }
    }
    const auto starts = [&](std::string_view mark) { return bytes.starts_with(mark); };
    using namespace std::string_view_literals;
    if (starts("\xFF\xFE\0\0"sv) || starts("\0\0\xFE\xFF"sv)) {
        converted = WideToUtf8(bytes.substr(4), 4, bytes[0] == 0);
    } else if (starts("\xFF\xFE"sv) || starts("\xFE\xFF"sv)) {
        converted = WideToUtf8(bytes.substr(2), 2, bytes[0] == '\xFE');
    } else if (bytes.size() >= 4 && bytes[0] != 0 && bytes[1] == 0 && bytes[3] == 0) {
        converted = WideToUtf8(bytes, 2, false);
    } else if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] != 0 && bytes[2] == 0) {
        converted = WideToUtf8(bytes, 2, true);
    } else {
        return bytes;
    }
    return converted;
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

CVCardFile ReadVCardFile(std::string_view bytes)
{
    CVCardFile file;
    std::string converted;
    const std::string_view text = Utf8Text(bytes, converted, file.unreadableEncoding);
    CCharsets charsets;
    std::size_t depth = 0; // BEGIN:VCARD seen and not yet ended, an AGENT's card counted too
    bool agentFollows = false; // the last property was an AGENT without a value: its card comes next
    for (const std::string& line : LogicalLines(text)) {
        const std::optional<CProperty> property = SplitProperty(line);
        if (!property) {
            continue;
        }
        const std::string_view value = TrimmedBlanks(property->value);
        if (property->name == "begin" && EqualsNoCase(value, "vcard")) {
            if (depth > 0 && agentFollows) {
                ++depth;
            } else {
                // A BEGIN inside a card that no AGENT announced starts the next card: the open
                // one lost its END, and every card after it is still read.
                if (depth > 0) {
                    file.damages.push_back({file.cards.size(), VCardDamage::NoEnd});
                }
                file.cards.emplace_back();
                depth = 1;
            }
        } else if (property->name == "end" && EqualsNoCase(value, "vcard")) {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (depth == 1) {
            ReadProperty(file.cards.back(), *property, charsets);
        }
        agentFollows = property->name == "agent" && value.empty();
    }
    if (depth > 0) {
        file.damages.push_back({file.cards.size(), VCardDamage::CutOff});
    }
    return file;
}

std::vector<CVCard> ParseVCards(std::string_view bytes)
{
    return ReadVCardFile(bytes).cards;
}

} // namespace qzb
