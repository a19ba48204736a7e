#include "model/input_chars.h"

#include "model/panel_charsets.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <array>
#include <cstddef>
#include <string>

namespace qzb {

namespace {

constexpr std::int32_t kJapanesePanelLanguage = 11;

struct CMaskRange
{
    std::uint32_t bit;
    char32_t first;
    char32_t last;
};

constexpr CMaskRange kMaskRanges[] = {
    {kMaskSpace, U' ', U' '},          {kMaskExclamation, U'!', U'!'},
    {kMaskDoubleQuote, U'"', U'"'},    {kMaskHash, U'#', U'#'},
    {kMaskDollar, U'$', U'$'},         {kMaskPercent, U'%', U'%'},
    {kMaskAmpersand, U'&', U'&'},      {kMaskApostrophe, U'\'', U'\''},
    {kMaskParentheses, U'(', U')'},    {kMaskAsterisk, U'*', U'*'},
    {kMaskPlus, U'+', U'+'},           {kMaskComma, U',', U','},
    {kMaskHyphen, U'-', U'-'},         {kMaskPeriod, U'.', U'.'},
    {kMaskSlash, U'/', U'/'},          {kMaskColon, U':', U':'},
    {kMaskSemicolon, U';', U';'},      {kMaskAngleBrackets, U'<', U'<'},
    {kMaskAngleBrackets, U'>', U'>'},  {kMaskEquals, U'=', U'='},
    {kMaskQuestion, U'?', U'?'},       {kMaskAt, U'@', U'@'},
    {kMaskSquareBrackets, U'[', U'['}, {kMaskSquareBrackets, U']', U']'},
    {kMaskBackslash, U'\\', U'\\'},    {kMaskCaret, U'^', U'^'},
    {kMaskUnderscore, U'_', U'_'},     {kMaskBacktick, U'`', U'`'},
    {kMaskBraces, U'{', U'{'},         {kMaskBraces, U'}', U'}'},
    {kMaskVerticalBar, U'|', U'|'},    {kMaskTilde, U'~', U'~'},
    {kMaskLetters, U'A', U'Z'},        {kMaskLetters, U'a', U'z'},
    {kMaskDigits, U'0', U'9'},         {kMaskHexDigits, U'0', U'9'},
    {kMaskHexDigits, U'A', U'F'},      {kMaskHexDigits, U'a', U'f'},
};

// The mask bits that cover each ASCII character; every range above lies within ASCII.
constexpr auto kAsciiMaskBits = [] {
    std::array<std::uint32_t, 128> bits{};
    for (const CMaskRange& range : kMaskRanges) {
        for (char32_t ch = range.first; ch <= range.last; ++ch) {
            bits[ch] |= range.bit;
        }
    }
    return bits;
}();

constexpr CInputKind kInputKinds[] = {
    {InputKind::DigitsHyphen, 0x40001000, 0, false, false},
    {InputKind::Digits, 0x40000000, 0, false, false},
    {InputKind::FaxNumber, 0x40001209, kExtraAllowPause, false, false},
    {InputKind::Name, 0, 0, true, false},
    {InputKind::EmailAddress, 0x7FBCFFFB, kExtraNoTildeInJapanese, false, false},
    {InputKind::LettersDigits, 0x60000000, 0, false, false},
    {InputKind::KeypadNumber, 0x40001209, 0, false, false},
    {InputKind::HostName, 0x60001000, 0, false, false},
    {InputKind::InternationalNumber, 0x40001401, 0, false, false},
    {InputKind::DomainName, 0x60003000, 0, false, false},
    {InputKind::PrintableAscii, 0x7FFFFFFF, 0, false, false},
    {InputKind::NumberList, 0x40001800, 0, false, true},
    {InputKind::SmbPath, 0x7FFCFFFB, 0, false, false},
    {InputKind::SeveralLines, 0x7FBCFFFB, kExtraAllowLineBreaks, false, false},
};

// The older kind numbers that admit what a named kind admits.
constexpr std::int32_t kDigitsHyphenAlias = 3;
constexpr std::int32_t kDigitsAlias = 4;

bool IsSeparator(char32_t ch)
{
    return ch == U',' || ch == U'-';
}

// The code point that starts at text[i]; i moves past it. A lone surrogate stands for itself and
// so is refused by every table.
char32_t NextCodePoint(std::u16string_view text, std::size_t& i)
{
    const char32_t unit = text[i++];
    if (unit >= 0xD800 && unit <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
        return 0x10000 + ((unit - 0xD800) << 10) + (text[i++] - 0xDC00);
    }
    return unit;
}

} // namespace

std::span<const CInputKind> InputKindTable()
{
    return kInputKinds;
}

InputKind InputKindFromNumber(std::int32_t number)
{
    if (number == kDigitsHyphenAlias) {
        return InputKind::DigitsHyphen;
    }
    if (number == kDigitsAlias) {
        return InputKind::Digits;
    }
    for (const CInputKind& row : kInputKinds) {
        if (static_cast<std::int32_t>(row.kind) == number) {
            return row.kind;
        }
    }
    return InputKind::None;
}

CInputKind InputKindFor(InputKind kind)
{
    for (const CInputKind& row : kInputKinds) {
        if (row.kind == kind) {
            return row;
        }
    }
    return CInputKind{kind, 0, 0, false, false};
}

CEditRules EditRulesForKind(std::int32_t kindNumber)
{
    return EditRulesForKind(InputKindFromNumber(kindNumber));
}

CEditRules EditRulesForKind(InputKind kind)
{
    const CInputKind row = InputKindFor(kind);
    CEditRules rules;
    rules.kind = kind;
    rules.mask = row.mask;
    rules.extraFlags = row.extraFlags;
    rules.panelMode = row.panelSet;
    rules.separatorRule = row.separatorRule;
    return rules;
}

bool MaskAllows(std::uint32_t mask, std::uint32_t extraFlags, char32_t ch, std::int32_t panelLanguage)
{
    if (ch == U'~' && (extraFlags & kExtraNoTildeInJapanese) != 0 && panelLanguage == kJapanesePanelLanguage) {
        return false;
    }
    if (ch == U'P' && (extraFlags & kExtraAllowPause) != 0) {
        return true;
    }
    if ((ch == kCharCarriageReturn || ch == kCharLineFeed) && (extraFlags & kExtraAllowLineBreaks) != 0) {
        return true;
    }
    return ch < kAsciiMaskBits.size() && (kAsciiMaskBits[ch] & mask) != 0;
}

bool PanelAllows(char32_t ch, std::int32_t panelLanguage)
{
    if (ch == kCharCarriageReturn || ch == kCharLineFeed) {
        return false;
    }
    return PanelCharsetAllows(PanelCharsetFor(panelLanguage), ch);
}

bool IsCharAccepted(char32_t ch, const CEditRules& rules, std::u16string_view fieldText, const CValueStore& store)
{
    if (!rules.panelMode && ProcessCodePage().EncodedLength(ch) > 1) {
        return false;
    }
    if (ch == kCharCtrlC || ch == kCharCtrlX) {
        return !rules.noCopyCut;
    }
    if (ch == kCharBackspace || ch == kCharCtrlV || ch == kCharCtrlZ) {
        return true;
    }
    if (rules.panelMode) {
        return PanelAllows(ch, PanelLanguage(store));
    }
    if (rules.separatorRule && IsSeparator(ch) && (fieldText.empty() || IsSeparator(fieldText.back()))) {
        return false;
    }
    return MaskAllows(rules.mask, rules.extraFlags, ch, PanelLanguage(store));
}

bool FilterTypedChar(
    char32_t ch, const CEditRules& rules, std::u16string_view fieldText, const CValueStore& store, bool& skipNext)
{
    if (skipNext) {
        skipNext = false;
        return false;
    }
    if (!rules.panelMode && ProcessCodePage().EncodedLength(ch) > 1) {
        skipNext = true;
        return false;
    }
    return IsCharAccepted(ch, rules, fieldText, store);
}

bool IsInputTextValid(std::u16string_view text, std::int32_t kindNumber, const CValueStore& store)
{
    return IsInputTextValid(text, InputKindFromNumber(kindNumber), store);
}

bool IsInputTextValid(std::u16string_view text, InputKind kind, const CValueStore& store)
{
    return text.empty() || IsInputTextValid(text, kind, PanelLanguage(store));
}

bool IsInputTextValid(std::u16string_view text, InputKind kind, std::int32_t panelLanguage)
{
    if (text.empty()) {
        return true;
    }
    const CInputKind rules = InputKindFor(kind);
    if (rules.panelSet) {
        // Names reach the device in panel code, never through the code page, and the panel set is exact.
        const CPanelCharset& charset = PanelCharsetFor(panelLanguage);
        for (std::size_t i = 0; i < text.size();) {
            const char32_t ch = NextCodePoint(text, i);
            if (ch == kCharCarriageReturn || ch == kCharLineFeed || !PanelCharsetAllows(charset, ch)) {
                return false;
            }
        }
        return !(rules.separatorRule && IsSeparator(text.back()));
    }
    const CCodePage& page = ProcessCodePage();
    for (std::size_t i = 0; i < text.size();) {
        // Printable ASCII but the characters the extra flags speak of is the mask's alone.
        if (const char16_t unit = text[i]; unit >= 0x20 && unit <= 0x7E && unit != u'~' && unit != u'P') {
            if ((kAsciiMaskBits[unit] & rules.mask) == 0) {
                return false;
            }
            ++i;
            continue;
        }
        const char32_t ch = NextCodePoint(text, i);
        // Every process code page keeps printable ASCII as its own bytes; only the rest is asked.
        const bool oneByte = (ch >= 0x20 && ch <= 0x7E) || page.EncodedLength(ch) == 1;
        if (!oneByte || !MaskAllows(rules.mask, rules.extraFlags, ch, panelLanguage)) {
            return false;
        }
    }
    return !(rules.separatorRule && IsSeparator(text.back()));
}

} // namespace qzb
