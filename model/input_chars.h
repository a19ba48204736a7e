#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qzb {

class CValueStore;

// Character mask bits of a restricted edit: a character is allowed when any bit covering it is set.
inline constexpr std::uint32_t kMaskSpace = 1u << 0;
inline constexpr std::uint32_t kMaskExclamation = 1u << 1;
inline constexpr std::uint32_t kMaskDoubleQuote = 1u << 2;
inline constexpr std::uint32_t kMaskHash = 1u << 3;
inline constexpr std::uint32_t kMaskDollar = 1u << 4;
inline constexpr std::uint32_t kMaskPercent = 1u << 5;
inline constexpr std::uint32_t kMaskAmpersand = 1u << 6;
inline constexpr std::uint32_t kMaskApostrophe = 1u << 7;
inline constexpr std::uint32_t kMaskParentheses = 1u << 8;
inline constexpr std::uint32_t kMaskAsterisk = 1u << 9;
inline constexpr std::uint32_t kMaskPlus = 1u << 10;
inline constexpr std::uint32_t kMaskComma = 1u << 11;
inline constexpr std::uint32_t kMaskHyphen = 1u << 12;
inline constexpr std::uint32_t kMaskPeriod = 1u << 13;
inline constexpr std::uint32_t kMaskSlash = 1u << 14;
inline constexpr std::uint32_t kMaskColon = 1u << 15;
inline constexpr std::uint32_t kMaskSemicolon = 1u << 16;
inline constexpr std::uint32_t kMaskAngleBrackets = 1u << 17;
inline constexpr std::uint32_t kMaskEquals = 1u << 18;
inline constexpr std::uint32_t kMaskQuestion = 1u << 19;
inline constexpr std::uint32_t kMaskAt = 1u << 20;
inline constexpr std::uint32_t kMaskSquareBrackets = 1u << 21;
inline constexpr std::uint32_t kMaskBackslash = 1u << 22;
inline constexpr std::uint32_t kMaskCaret = 1u << 23;
inline constexpr std::uint32_t kMaskUnderscore = 1u << 24;
inline constexpr std::uint32_t kMaskBacktick = 1u << 25;
inline constexpr std::uint32_t kMaskBraces = 1u << 26;
inline constexpr std::uint32_t kMaskVerticalBar = 1u << 27;
inline constexpr std::uint32_t kMaskTilde = 1u << 28;
inline constexpr std::uint32_t kMaskLetters = 1u << 29;
inline constexpr std::uint32_t kMaskDigits = 1u << 30;
inline constexpr std::uint32_t kMaskHexDigits = 1u << 31;

// Extra flags beside the mask.
inline constexpr std::uint32_t kExtraNoTildeInJapanese = 1u << 0; // the Japanese panel has no "~"
inline constexpr std::uint32_t kExtraAllowPause = 1u << 1; // "P", the dial pause
inline constexpr std::uint32_t kExtraAllowLineBreaks = 1u << 2; // carriage return and line feed

// Characters as an edit receives them for editing keys.
inline constexpr char32_t kCharCtrlC = 0x03;
inline constexpr char32_t kCharBackspace = 0x08;
inline constexpr char32_t kCharTab = 0x09;
inline constexpr char32_t kCharLineFeed = 0x0A;
inline constexpr char32_t kCharCarriageReturn = 0x0D;
inline constexpr char32_t kCharCtrlV = 0x16;
inline constexpr char32_t kCharCtrlX = 0x18;
inline constexpr char32_t kCharCtrlZ = 0x1A;

// What a restricted edit admits, named after what it admits or the field it serves. The values are
// the kind numbers of the device's dialogs; 3 and 4 are older spellings of 1 and 2 (see
// InputKindFromNumber).
enum class InputKind : std::int32_t {
    None = 0, // no kind set: admits nothing
    DigitsHyphen = 1, // digits, "-"
    Digits = 2, // digits
    FaxNumber = 5, // what a fax number is dialled with: digits, space, "#", "*", "-" and "P", the pause
    Name = 6, // the panel character set of the panel language: names the panel shows
    EmailAddress = 7, // printable ASCII but the double quote, ";", "<", ">" and backslash; "~" not in Japanese
    LettersDigits = 8, // letters, digits
    KeypadNumber = 9, // as FaxNumber without the pause
    HostName = 10, // letters, digits, "-"
    InternationalNumber = 11, // digits, space, "+", "-"
    DomainName = 14, // letters, digits, "-", "."
    PrintableAscii = 15, // letters, digits, space and every ASCII punctuation mark
    NumberList = 16, // digits, "," and "-", such as 1-3,7; never ending in a separator
    SmbPath = 17, // as EmailAddress with backslash
    SeveralLines = 18, // as EmailAddress with carriage return and line feed
};

// The kind a bare kind number stands for: 3 is DigitsHyphen, 4 Digits, and a number no kind has
// admits nothing (None).
InputKind InputKindFromNumber(std::int32_t number);

// One input kind: the characters a field of that kind takes and the rules its text check adds.
struct CInputKind
{
    InputKind kind;
    std::uint32_t mask;
    std::uint32_t extraFlags;
    bool panelSet; // the panel character set of the panel language instead of the mask
    bool separatorRule; // "," and "-" only after something that is not a separator, never last
};

std::span<const CInputKind> InputKindTable();
// A kind the table does not name allows nothing.
CInputKind InputKindFor(InputKind kind);

// What one restricted edit is set up with. Pages usually take EditRulesForKind and may then add
// noCopyCut for passwords.
struct CEditRules
{
    InputKind kind = InputKind::None;
    std::uint32_t mask = 0;
    std::uint32_t extraFlags = 0;
    bool panelMode = false;
    bool noCopyCut = false;
    bool separatorRule = false;
};

CEditRules EditRulesForKind(InputKind kind);
// The same for a bare kind number, as the entry editors' tables carry them.
CEditRules EditRulesForKind(std::int32_t kindNumber);

// The mask with its extra flags, for one character.
bool MaskAllows(std::uint32_t mask, std::uint32_t extraFlags, char32_t ch, std::int32_t panelLanguage);

// Whether a name in the panel language may hold ch. Never a line break: the panel code has no byte
// for one, so the device would end the name there.
bool PanelAllows(char32_t ch, std::int32_t panelLanguage);

// The typing filter of a restricted edit for one typed character, editing keys included. fieldText is
// the edit's text before the character goes in. The panel language is read from the store each time.
bool IsCharAccepted(char32_t ch, const CEditRules& rules, std::u16string_view fieldText, const CValueStore& store);

// The typing filter with the edit's skip-next flag, kept by the caller between characters. A character
// the process code page writes in more than one byte is dropped and so is the character message after
// it, which on a byte-message system carries that character's trail byte. Names follow the panel set
// alone, so the panel mode never skips.
bool FilterTypedChar(
    char32_t ch, const CEditRules& rules, std::u16string_view fieldText, const CValueStore& store, bool& skipNext);

// The check a page runs before it stores a field's text. An empty text is always valid.
bool IsInputTextValid(std::u16string_view text, InputKind kind, const CValueStore& store);
// The same for a panel language already read from the store, for callers that check many texts.
bool IsInputTextValid(std::u16string_view text, InputKind kind, std::int32_t panelLanguage);
// The same for a bare kind number, as the entry editors' tables carry them.
bool IsInputTextValid(std::u16string_view text, std::int32_t kindNumber, const CValueStore& store);

} // namespace qzb
