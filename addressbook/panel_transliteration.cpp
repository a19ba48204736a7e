#include "addressbook/panel_transliteration.h"

#include "model/input_chars.h"
#include "model/panel_code.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace qzb {

namespace {

constexpr CLatinForm kLatinForms[] = {
    {0x00A0, " "},  {0x00A1, "!"},  {0x00AB, "\""}, {0x00B4, "'"},  {0x00B7, "."}, {0x00BB, "\""}, {0x00BF, "?"},
    {0x00C0, "A"},  {0x00C1, "A"},  {0x00C2, "A"},  {0x00C3, "A"},  {0x00C4, "A"}, {0x00C5, "A"},  {0x00C6, "AE"},
    {0x00C7, "C"},  {0x00C8, "E"},  {0x00C9, "E"},  {0x00CA, "E"},  {0x00CB, "E"}, {0x00CC, "I"},  {0x00CD, "I"},
    {0x00CE, "I"},  {0x00CF, "I"},  {0x00D0, "D"},  {0x00D1, "N"},  {0x00D2, "O"}, {0x00D3, "O"},  {0x00D4, "O"},
    {0x00D5, "O"},  {0x00D6, "O"},  {0x00D7, "x"},  {0x00D8, "O"},  {0x00D9, "U"}, {0x00DA, "U"},  {0x00DB, "U"},
    {0x00DC, "U"},  {0x00DD, "Y"},  {0x00DE, "Th"}, {0x00DF, "ss"}, {0x00E0, "a"}, {0x00E1, "a"},  {0x00E2, "a"},
    {0x00E3, "a"},  {0x00E4, "a"},  {0x00E5, "a"},  {0x00E6, "ae"}, {0x00E7, "c"}, {0x00E8, "e"},  {0x00E9, "e"},
    {0x00EA, "e"},  {0x00EB, "e"},  {0x00EC, "i"},  {0x00ED, "i"},  {0x00EE, "i"}, {0x00EF, "i"},  {0x00F0, "d"},
    {0x00F1, "n"},  {0x00F2, "o"},  {0x00F3, "o"},  {0x00F4, "o"},  {0x00F5, "o"}, {0x00F6, "o"},  {0x00F8, "o"},
    {0x00F9, "u"},  {0x00FA, "u"},  {0x00FB, "u"},  {0x00FC, "u"},  {0x00FD, "y"}, {0x00FE, "th"}, {0x00FF, "y"},
    {0x0100, "A"},  {0x0101, "a"},  {0x0102, "A"},  {0x0103, "a"},  {0x0104, "A"}, {0x0105, "a"},  {0x0106, "C"},
    {0x0107, "c"},  {0x0108, "C"},  {0x0109, "c"},  {0x010A, "C"},  {0x010B, "c"}, {0x010C, "C"},  {0x010D, "c"},
    {0x010E, "D"},  {0x010F, "d"},  {0x0110, "D"},  {0x0111, "d"},  {0x0112, "E"}, {0x0113, "e"},  {0x0114, "E"},
    {0x0115, "e"},  {0x0116, "E"},  {0x0117, "e"},  {0x0118, "E"},  {0x0119, "e"}, {0x011A, "E"},  {0x011B, "e"},
    {0x011C, "G"},  {0x011D, "g"},  {0x011E, "G"},  {0x011F, "g"},  {0x0120, "G"}, {0x0121, "g"},  {0x0122, "G"},
    {0x0123, "g"},  {0x0124, "H"},  {0x0125, "h"},  {0x0126, "H"},  {0x0127, "h"}, {0x0128, "I"},  {0x0129, "i"},
    {0x012A, "I"},  {0x012B, "i"},  {0x012C, "I"},  {0x012D, "i"},  {0x012E, "I"}, {0x012F, "i"},  {0x0130, "I"},
    {0x0131, "i"},  {0x0132, "IJ"}, {0x0133, "ij"}, {0x0134, "J"},  {0x0135, "j"}, {0x0136, "K"},  {0x0137, "k"},
    {0x0138, "k"},  {0x0139, "L"},  {0x013A, "l"},  {0x013B, "L"},  {0x013C, "l"}, {0x013D, "L"},  {0x013E, "l"},
    {0x013F, "L"},  {0x0140, "l"},  {0x0141, "L"},  {0x0142, "l"},  {0x0143, "N"}, {0x0144, "n"},  {0x0145, "N"},
    {0x0146, "n"},  {0x0147, "N"},  {0x0148, "n"},  {0x0149, "'n"}, {0x014A, "N"}, {0x014B, "n"},  {0x014C, "O"},
    {0x014D, "o"},  {0x014E, "O"},  {0x014F, "o"},  {0x0150, "O"},  {0x0151, "o"}, {0x0152, "OE"}, {0x0153, "oe"},
    {0x0154, "R"},  {0x0155, "r"},  {0x0156, "R"},  {0x0157, "r"},  {0x0158, "R"}, {0x0159, "r"},  {0x015A, "S"},
    {0x015B, "s"},  {0x015C, "S"},  {0x015D, "s"},  {0x015E, "S"},  {0x015F, "s"}, {0x0160, "S"},  {0x0161, "s"},
    {0x0162, "T"},  {0x0163, "t"},  {0x0164, "T"},  {0x0165, "t"},  {0x0166, "T"}, {0x0167, "t"},  {0x0168, "U"},
    {0x0169, "u"},  {0x016A, "U"},  {0x016B, "u"},  {0x016C, "U"},  {0x016D, "u"}, {0x016E, "U"},  {0x016F, "u"},
    {0x0170, "U"},  {0x0171, "u"},  {0x0172, "U"},  {0x0173, "u"},  {0x0174, "W"}, {0x0175, "w"},  {0x0176, "Y"},
    {0x0177, "y"},  {0x0178, "Y"},  {0x0179, "Z"},  {0x017A, "z"},  {0x017B, "Z"}, {0x017C, "z"},  {0x017D, "Z"},
    {0x017E, "z"},  {0x017F, "s"},  {0x0218, "S"},  {0x0219, "s"},  {0x021A, "T"}, {0x021B, "t"},  {0x1E9E, "SS"},
    {0x2010, "-"},  {0x2011, "-"},  {0x2013, "-"},  {0x2014, "-"},  {0x2018, "'"}, {0x2019, "'"},  {0x201A, "'"},
    {0x201C, "\""}, {0x201D, "\""}, {0x201E, "\""},
};

static_assert(std::is_sorted(std::begin(kLatinForms),
                             std::end(kLatinForms),
                             [](const CLatinForm& a, const CLatinForm& b) { return a.unit < b.unit; }));

void AppendCodePoint(std::u16string& text, char32_t ch)
{
    if (ch >= 0x10000) {
        text.push_back(static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF)));
    } else {
        text.push_back(static_cast<char16_t>(ch));
    }
}

// The panel offers the character and the panel code has a byte for it; a character without one
// would end the name on the device.
bool Held(char32_t ch, std::int32_t panelLanguage)
{
    return ch <= 0xFFFF && PanelAllows(ch, panelLanguage) && UnitToPanelCode(static_cast<char16_t>(ch)) != 0;
}

// Zero-width joiners, variation selectors and skin-tone modifiers only shape the character before
// them: they go with it, without a note of their own.
bool IsInvisibleFormat(char32_t ch)
{
    return (ch >= 0x200B && ch <= 0x200F) || ch == 0xFEFF || (ch >= 0xFE00 && ch <= 0xFE0F) ||
           (ch >= 0x1F3FB && ch <= 0x1F3FF) || (ch >= 0xE0100 && ch <= 0xE01EF);
}

// The half-width katakana of the full-width ones U+30A1 to U+30FC: the base and the voiced (U+FF9E)
// or semi-voiced (U+FF9F) sound mark; 0 where no half-width form exists.
struct CHalfWidthKana
{
    char16_t base;
    char16_t mark;
};

constexpr char16_t kVoiced = 0xFF9E;
constexpr char16_t kSemiVoiced = 0xFF9F;

// Five katakana a row, named in the comment.
// clang-format off
constexpr CHalfWidthKana kHalfWidthKana[] = {
    {0xFF67, 0},            {0xFF71, 0},            {0xFF68, 0},            {0xFF72, 0},            {0xFF69, 0},         // ァアィイゥ
    {0xFF73, 0},            {0xFF6A, 0},            {0xFF74, 0},            {0xFF6B, 0},            {0xFF75, 0},         // ウェエォオ
    {0xFF76, 0},            {0xFF76, kVoiced},      {0xFF77, 0},            {0xFF77, kVoiced},      {0xFF78, 0},         // カガキギク
    {0xFF78, kVoiced},      {0xFF79, 0},            {0xFF79, kVoiced},      {0xFF7A, 0},            {0xFF7A, kVoiced},   // グケゲコゴ
    {0xFF7B, 0},            {0xFF7B, kVoiced},      {0xFF7C, 0},            {0xFF7C, kVoiced},      {0xFF7D, 0},         // サザシジス
    {0xFF7D, kVoiced},      {0xFF7E, 0},            {0xFF7E, kVoiced},      {0xFF7F, 0},            {0xFF7F, kVoiced},   // ズセゼソゾ
    {0xFF80, 0},            {0xFF80, kVoiced},      {0xFF81, 0},            {0xFF81, kVoiced},      {0xFF6F, 0},         // タダチヂッ
    {0xFF82, 0},            {0xFF82, kVoiced},      {0xFF83, 0},            {0xFF83, kVoiced},      {0xFF84, 0},         // ツヅテデト
    {0xFF84, kVoiced},      {0xFF85, 0},            {0xFF86, 0},            {0xFF87, 0},            {0xFF88, 0},         // ドナニヌネ
    {0xFF89, 0},            {0xFF8A, 0},            {0xFF8A, kVoiced},      {0xFF8A, kSemiVoiced},  {0xFF8B, 0},         // ノハバパヒ
    {0xFF8B, kVoiced},      {0xFF8B, kSemiVoiced},  {0xFF8C, 0},            {0xFF8C, kVoiced},      {0xFF8C, kSemiVoiced}, // ビピフブプ
    {0xFF8D, 0},            {0xFF8D, kVoiced},      {0xFF8D, kSemiVoiced},  {0xFF8E, 0},            {0xFF8E, kVoiced},   // ヘベペホボ
    {0xFF8E, kSemiVoiced},  {0xFF8F, 0},            {0xFF90, 0},            {0xFF91, 0},            {0xFF92, 0},         // ポマミムメ
    {0xFF93, 0},            {0xFF6C, 0},            {0xFF94, 0},            {0xFF6D, 0},            {0xFF95, 0},         // モャヤュユ
    {0xFF6E, 0},            {0xFF96, 0},            {0xFF97, 0},            {0xFF98, 0},            {0xFF99, 0},         // ョヨラリル
    {0xFF9A, 0},            {0xFF9B, 0},            {0, 0},                 {0xFF9C, 0},            {0, 0},              // レロヮワヰ
    {0, 0},                 {0xFF66, 0},            {0xFF9D, 0},            {0xFF73, kVoiced},      {0, 0},              // ヱヲンヴヵ
    {0, 0},                 {0xFF9C, kVoiced},      {0, 0},                 {0, 0},                 {0xFF66, kVoiced},   // ヶヷヸヹヺ
    {0xFF65, 0},            {0xFF70, 0},                                                                                 // ・ー
};
// clang-format on

static_assert(std::size(kHalfWidthKana) == 0x30FC - 0x30A1 + 1);

// The Japanese punctuation and sound marks of the half-width block.
constexpr std::pair<char32_t, char16_t> kHalfWidthPunctuation[] = {
    {0x3001, 0xFF64},
    {0x3002, 0xFF61},
    {0x300C, 0xFF62},
    {0x300D, 0xFF63},
    {0x309B, 0xFF9E},
    {0x309C, 0xFF9F},
};

} // namespace

std::span<const CLatinForm> LatinFormTable()
{
    return kLatinForms;
}

std::string_view LatinFormOf(char32_t ch)
{
    const auto found =
        std::lower_bound(std::begin(kLatinForms), std::end(kLatinForms), ch, [](const CLatinForm& form, char32_t c) {
            return form.unit < c;
        });
    return found != std::end(kLatinForms) && found->unit == ch ? found->latin : std::string_view();
}

std::u16string HalfWidthFormOf(char32_t ch)
{
    if (ch >= 0xFF01 && ch <= 0xFF5E) {
        return std::u16string(1, static_cast<char16_t>(ch - 0xFF01 + 0x21));
    }
    if (ch == 0x3000) {
        return u" ";
    }
    if (ch >= 0x30A1 && ch <= 0x30FC) {
        const CHalfWidthKana& kana = kHalfWidthKana[ch - 0x30A1];
        if (kana.base == 0) {
            return {};
        }
        std::u16string form(1, kana.base);
        if (kana.mark != 0) {
            form.push_back(kana.mark);
        }
        return form;
    }
    for (const auto& [from, to] : kHalfWidthPunctuation) {
        if (from == ch) {
            return std::u16string(1, to);
        }
    }
    return {};
}

CPanelNameFit FitNameToPanel(std::u16string_view name, std::int32_t panelLanguage, std::size_t maxLength)
{
    CPanelNameFit fit;
    std::u16string text;
    const auto heldWhole = [&](std::u16string_view form) {
        return !form.empty() &&
               std::all_of(form.begin(), form.end(), [&](char16_t c) { return Held(c, panelLanguage); });
    };
    // One character past the limit tells that the name is cut; the rest is not looked at.
    for (std::size_t i = 0; i < name.size() && text.size() <= maxLength; ++i) {
        char32_t ch = name[i];
        if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] < 0xE000) {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (name[++i] - 0xDC00);
        }
        if (ch < 0x20 || ch == 0x7F) {
            ch = u' ';
        }
        if (IsInvisibleFormat(ch)) {
            continue;
        }
        if (ch == u' ' && (text.empty() || text.back() == u' ')) {
            continue;
        }
        if (Held(ch, panelLanguage)) {
            AppendCodePoint(text, ch);
            continue;
        }
        std::u16string to = HalfWidthFormOf(ch);
        if (!heldWhole(to)) {
            const std::string_view latin = LatinFormOf(ch);
            to.assign(latin.begin(), latin.end());
        }
        std::u16string from;
        AppendCodePoint(from, ch);
        if (!heldWhole(to)) {
            if (std::find(fit.unshown.begin(), fit.unshown.end(), from) != fit.unshown.end()) {
                continue;
            }
            if (fit.unshown.size() < CPanelNameFit::kMaxListedUnshown) {
                fit.unshown.push_back(std::move(from));
            } else {
                fit.moreUnshown = true;
            }
            continue;
        }
        if (to == u" " && (text.empty() || text.back() == u' ')) {
            continue;
        }
        text += to;
        if (std::find(fit.changes.begin(), fit.changes.end(), CNameChange{from, to}) == fit.changes.end()) {
            fit.changes.push_back({from, to});
        }
    }
    if (text.size() > maxLength) {
        text.resize(maxLength);
        // A surrogate pair is not cut in two.
        if (!text.empty() && text.back() >= 0xD800 && text.back() < 0xDC00) {
            text.pop_back();
        }
        fit.cut = true;
    }
    while (!text.empty() && text.back() == u' ') {
        text.pop_back();
    }
    fit.text = std::move(text);
    return fit;
}

} // namespace qzb
