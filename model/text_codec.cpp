#include "model/text_codec.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace qzb {

namespace {

constexpr const char* kNativeUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr char16_t kReplacement = 0xFFFD;

iconv_t AsIconv(void* cd)
{
    return static_cast<iconv_t>(cd);
}

bool IsHighSurrogate(char16_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}

bool IsLowSurrogate(char16_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Length in UTF-16 units of the code point that starts at text[i].
std::size_t CodePointUnits(std::u16string_view text, std::size_t i)
{
    return (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ? 2 : 1;
}

void AppendUtf16(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

std::string IconvName(std::string_view name)
{
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    // Windows spells its pages "Windows-1252" or "1252"; iconv knows "WINDOWS-1252" and "CP1252".
    if (!upper.empty() && std::all_of(upper.begin(), upper.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return "CP" + upper;
    }
    return upper;
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    Utf8ToUtf16(utf8, out);
    return out;
}

void Utf8ToUtf16(std::string_view utf8, std::u16string& out)
{
    // No text takes more units than it has bytes: the units are written in place, then cut to size.
    out.resize(utf8.size());
    out.resize(Utf8ToUtf16(utf8, out.data()));
}

std::size_t Utf8ToUtf16(std::string_view utf8, char16_t* wide)
{
    std::size_t at = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Runs of ASCII, the bulk of CSV lines and string tables, go eight bytes at a time.
        while (i + 8 <= utf8.size()) {
            std::uint64_t word;
            std::memcpy(&word, utf8.data() + i, sizeof word);
            if ((word & 0x8080808080808080ULL) != 0) {
                break;
            }
            for (std::size_t k = 0; k < 8; ++k) {
                wide[at + k] = static_cast<unsigned char>(utf8[i + k]);
            }
            at += 8;
            i += 8;
        }
        if (i == utf8.size()) {
            break;
        }
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            wide[at++] = lead;
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            cp = lead & 0x07;
            minimum = 0x10000;
        } else {
            wide[at++] = kReplacement;
            ++i;
            continue;
        }
        std::size_t taken = 1;
        bool valid = true;
        for (; taken <= extra; ++taken) {
            if (i + taken >= utf8.size() || (static_cast<unsigned char>(utf8[i + taken]) & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + taken]) & 0x3F);
        }
        i += taken;
        if (!valid || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            wide[at++] = kReplacement;
        } else if (cp < 0x10000) {
            wide[at++] = static_cast<char16_t>(cp);
        } else {
            // Four bytes make two units.
            cp -= 0x10000;
            wide[at++] = static_cast<char16_t>(0xD800 + (cp >> 10));
            wide[at++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        }
    }
    return at;
}

void AppendUtf8(std::u16string_view utf16, std::string& out)
{
    // Three bytes a unit at most: a pair of units makes four.
    std::size_t at = out.size();
    out.resize(at + utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size();) {
        char32_t cp = utf16[i];
        if (cp < 0x80) {
            out[at++] = static_cast<char>(cp);
            ++i;
            continue;
        }
        const std::size_t units = CodePointUnits(utf16, i);
        if (units == 2) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        i += units;
        if (cp < 0x800) {
            out[at++] = static_cast<char>(0xC0 | (cp >> 6));
            out[at++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out[at++] = static_cast<char>(0xE0 | (cp >> 12));
            out[at++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out[at++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out[at++] = static_cast<char>(0xF0 | (cp >> 18));
            out[at++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out[at++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out[at++] = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    out.resize(at);
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    AppendUtf8(utf16, out);
    return out;
}

std::unique_ptr<CCodePage> CCodePage::Open(std::string_view name)
{
    const std::string iconvName = IconvName(name);
    iconv_t to = iconv_open(iconvName.c_str(), kNativeUtf16);
    if (to == reinterpret_cast<iconv_t>(-1)) {
        return nullptr;
    }
    iconv_t from = iconv_open(kNativeUtf16, iconvName.c_str());
    if (from == reinterpret_cast<iconv_t>(-1)) {
        iconv_close(to);
        return nullptr;
    }
    std::unique_ptr<CCodePage> page(new CCodePage(iconvName, to, from));
    page->BuildSingleByteTables();
    return page;
}

void CCodePage::BuildSingleByteTables()
{
    std::vector<char16_t> byteToUnit(256, u'?');
    std::vector<std::uint16_t> unitToByte(65536, 0);
    iconv_t cd = AsIconv(m_fromPage);
    for (int byte = 255; byte >= 0; --byte) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char in = static_cast<char>(byte);
        char* inPtr = &in;
        std::size_t inLeft = 1;
        char16_t out[4] = {};
        auto* outPtr = reinterpret_cast<char*>(out);
        std::size_t outLeft = sizeof(out);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            if (errno == EINVAL) {
                return; // a lead byte: the page has characters of more than one byte
            }
            continue; // a byte the page leaves undefined
        }
        if (sizeof(out) - outLeft != sizeof(char16_t)) {
            return; // one byte that is more than one character: keep iconv
        }
        byteToUnit[static_cast<std::size_t>(byte)] = out[0];
        unitToByte[out[0]] = static_cast<std::uint16_t>(byte + 1);
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    m_byteToUnit = std::move(byteToUnit);
    m_unitToByte = std::move(unitToByte);
}

CCodePage::CCodePage(std::string name, void* toPage, void* fromPage)
    : m_name(std::move(name))
    , m_toPage(toPage)
    , m_fromPage(fromPage)
{
}

CCodePage::~CCodePage()
{
    iconv_close(AsIconv(m_toPage));
    iconv_close(AsIconv(m_fromPage));
}

std::string CCodePage::Encode(std::u16string_view text) const
{
    if (IsSingleByte()) {
        std::string bytes;
        bytes.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); i += CodePointUnits(text, i)) {
            const std::uint16_t byte = m_unitToByte[text[i]];
            const bool single = CodePointUnits(text, i) == 1;
            bytes.push_back(single && byte != 0 ? static_cast<char>(byte - 1) : '?');
        }
        return bytes;
    }
    std::string out;
    out.reserve(text.size() + 8);
    std::lock_guard lock(m_mutex);
    iconv_t cd = AsIconv(m_toPage);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[256];
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto* in = const_cast<char*>(reinterpret_cast<const char*>(text.data() + pos));
        std::size_t inLeft = (text.size() - pos) * sizeof(char16_t);
        char* outPtr = buffer;
        std::size_t outLeft = sizeof(buffer);
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        pos = text.size() - inLeft / sizeof(char16_t);
        if (rc != static_cast<std::size_t>(-1)) {
            break;
        }
        if (err == E2BIG) {
            continue;
        }
        // EILSEQ (not representable) or EINVAL (lone surrogate at the end): one '?' per character.
        out.push_back('?');
        pos += CodePointUnits(text, pos);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof(buffer);
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    return out;
}

std::string CCodePage::EncodeCodePoint(char32_t ch) const
{
    std::u16string one;
    AppendUtf16(one, ch);
    std::lock_guard lock(m_mutex);
    iconv_t cd = AsIconv(m_toPage);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    auto* in = reinterpret_cast<char*>(one.data());
    std::size_t inLeft = one.size() * sizeof(char16_t);
    char* outPtr = buffer;
    std::size_t outLeft = sizeof(buffer);
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        return {};
    }
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    return std::string(buffer, static_cast<std::size_t>(outPtr - buffer));
}

std::size_t CCodePage::EncodedLength(char32_t ch) const
{
    if (IsSingleByte()) {
        return ch < 0x10000 && m_unitToByte[ch] != 0 ? 1 : 0;
    }
    return EncodeCodePoint(ch).size();
}

std::string CCodePage::EncodeLimited(std::u16string_view text, std::size_t maxBytes) const
{
    std::string whole = Encode(text);
    if (whole.size() <= maxBytes) {
        return whole;
    }
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t units = CodePointUnits(text, i);
        std::string piece = Encode(text.substr(i, units));
        if (out.size() + piece.size() > maxBytes) {
            break;
        }
        out += piece;
        i += units;
    }
    return out;
}

std::u16string CCodePage::Decode(std::string_view bytes) const
{
    std::u16string text;
    Decode(bytes, text);
    return text;
}

void CCodePage::Decode(std::string_view bytes, std::u16string& out) const
{
    if (IsSingleByte()) {
        out.resize(bytes.size());
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            out[i] = m_byteToUnit[static_cast<unsigned char>(bytes[i])];
        }
        return;
    }
    out.clear();
    out.reserve(bytes.size());
    std::lock_guard lock(m_mutex);
    iconv_t cd = AsIconv(m_fromPage);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char16_t buffer[256];
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        auto* in = const_cast<char*>(bytes.data() + pos);
        std::size_t inLeft = bytes.size() - pos;
        auto* outPtr = reinterpret_cast<char*>(buffer);
        std::size_t outLeft = sizeof(buffer);
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        out.append(buffer, static_cast<std::size_t>(outPtr - reinterpret_cast<char*>(buffer)) / sizeof(char16_t));
        pos = bytes.size() - inLeft;
        if (rc != static_cast<std::size_t>(-1)) {
            break;
        }
        if (err == E2BIG) {
            continue;
        }
        out.push_back(u'?');
        ++pos;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
}

std::size_t CCodePage::PrefixLength(std::string_view bytes, std::size_t maxBytes) const
{
    if (bytes.size() <= maxBytes) {
        return bytes.size();
    }
    if (IsSingleByte()) {
        return maxBytes;
    }
    // Converting the cut bytes stops with EINVAL before a character whose last bytes were cut off;
    // bytes the page cannot read are passed over one at a time, as Decode does.
    std::lock_guard lock(m_mutex);
    iconv_t cd = AsIconv(m_fromPage);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char16_t buffer[256];
    std::size_t pos = 0;
    while (pos < maxBytes) {
        auto* in = const_cast<char*>(bytes.data() + pos);
        std::size_t inLeft = maxBytes - pos;
        auto* outPtr = reinterpret_cast<char*>(buffer);
        std::size_t outLeft = sizeof(buffer);
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        pos = maxBytes - inLeft;
        if (rc != static_cast<std::size_t>(-1) || err == EINVAL) {
            break;
        }
        if (err != E2BIG) {
            ++pos;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return pos;
}

namespace {

std::mutex g_processPageMutex;
// Pages chosen once stay alive: callers may hold a reference across a change of page.
std::vector<std::unique_ptr<CCodePage>> g_openedPages;
// Read without the lock on every conversion; the page it points to stays open (above).
std::atomic<const CCodePage*> g_processPage{nullptr};

} // namespace

const CCodePage& ProcessCodePage()
{
    if (const CCodePage* page = g_processPage.load(std::memory_order_acquire)) {
        return *page;
    }
    std::lock_guard lock(g_processPageMutex);
    if (g_processPage.load(std::memory_order_relaxed) == nullptr) {
        g_openedPages.push_back(CCodePage::Open(kDefaultCodePage));
        g_processPage.store(g_openedPages.back().get(), std::memory_order_release);
    }
    return *g_processPage.load(std::memory_order_relaxed);
}

bool IsAsciiCompatible(const CCodePage& page)
{
    // Files, string tables and the device's texts keep printable ASCII as its own bytes; a page
    // that does not (UTF-16, UTF-32, UTF-7) would empty them.
    for (char16_t ch = 0x20; ch <= 0x7E; ++ch) {
        const std::u16string one(1, ch);
        if (page.Encode(one) != std::string(1, static_cast<char>(ch)) ||
            page.Decode(std::string(1, static_cast<char>(ch))) != one) {
            return false;
        }
    }
    return true;
}

bool SetProcessCodePage(std::string_view name)
{
    auto page = CCodePage::Open(name);
    if (!page || !IsAsciiCompatible(*page)) {
        return false;
    }
    std::lock_guard lock(g_processPageMutex);
    g_openedPages.push_back(std::move(page));
    g_processPage.store(g_openedPages.back().get(), std::memory_order_release);
    return true;
}

} // namespace qzb
