#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

// Unicode text of the core is UTF-16, like the user interface and the string table's wide text.
std::u16string Utf8ToUtf16(std::string_view utf8);
// The same into out, which keeps its storage.
void Utf8ToUtf16(std::string_view utf8, std::u16string& out);
// Writes the units to `wide`, which has room for one a byte, and returns how many it wrote.
std::size_t Utf8ToUtf16(std::string_view utf8, char16_t* wide);
std::string Utf16ToUtf8(std::u16string_view utf16);
// The same, appended to out.
void AppendUtf8(std::u16string_view utf16, std::string& out);

// The process's "ANSI" code page: store texts, DAT and CSV files hold text in it. Converted with iconv;
// characters the page cannot hold become '?', bytes it cannot read become '?'.
class CCodePage
{
public:
    // Returns nullptr when iconv does not know the page.
    static std::unique_ptr<CCodePage> Open(std::string_view name);
    ~CCodePage();
    CCodePage(const CCodePage&) = delete;
    CCodePage& operator=(const CCodePage&) = delete;

    const std::string& Name() const { return m_name; }
    std::string Encode(std::u16string_view text) const;
    // Encodes at most maxBytes bytes, stopping before a character that would not fit whole.
    std::string EncodeLimited(std::u16string_view text, std::size_t maxBytes) const;
    std::u16string Decode(std::string_view bytes) const;
    // The same into out, which keeps its storage.
    void Decode(std::string_view bytes, std::u16string& out) const;
    // Length of the longest start of the bytes, at most maxBytes, that does not end inside a
    // character of more than one byte.
    std::size_t PrefixLength(std::string_view bytes, std::size_t maxBytes) const;
    // Number of bytes the page needs for one character, 0 when it cannot hold it.
    std::size_t EncodedLength(char32_t ch) const;

    // True for pages of one byte per character (Windows-1250/1251/1252 ...), which convert
    // through tables instead of iconv.
    bool IsSingleByte() const { return !m_byteToUnit.empty(); }

private:
    CCodePage(std::string name, void* toPage, void* fromPage);
    std::string EncodeCodePoint(char32_t ch) const;
    void BuildSingleByteTables();

    std::string m_name;
    void* m_toPage; // iconv_t UTF-16LE -> page
    void* m_fromPage; // iconv_t page -> UTF-16LE
    mutable std::mutex m_mutex; // iconv descriptors carry shift state
    std::vector<char16_t> m_byteToUnit; // 256 entries; '?' for a byte the page does not define
    std::vector<std::uint16_t> m_unitToByte; // 65536 entries: byte + 1, 0 when the page has no byte
};

inline constexpr std::string_view kDefaultCodePage = "WINDOWS-1252";

// The page chosen at start (--codepage). Defaults to Windows-1252.
const CCodePage& ProcessCodePage();
// True when printable ASCII encodes to its own bytes and back: the single-byte pages and the
// ASCII-compatible multi-byte ones (CP932 ...), not UTF-16, UTF-32, UCS-2 or UTF-7.
bool IsAsciiCompatible(const CCodePage& page);
// Returns false and keeps the current page when the name is unknown or not ASCII-compatible.
bool SetProcessCodePage(std::string_view name);

} // namespace qzb
