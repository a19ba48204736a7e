#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

struct CValueRecord
{
    std::string key;
    std::string text; // ANSI code-page bytes (or raw panel code), at most kMaxTextBytes
    std::int32_t number = 0;
};

struct CValuePage
{
    std::string name;
    std::vector<CValueRecord> records; // list order; lookups stop at the first matching key
};

// Every setting of the device, addressed by page name and item key. Unknown pages and keys are not
// errors: reads give 0 or an empty text and writes are dropped, as the pages and the coder expect.
class CValueStore
{
public:
    static constexpr std::size_t kMaxTextBytes = 1023;

    CValueStore(); // the initial contents
    void Reset();

    const std::vector<CValueRecord>* FindPageRecords(std::string_view page) const;
    const std::vector<CValuePage>& Pages() const { return m_pages; }

    std::int32_t GetItemNumber(std::string_view page, std::string_view key) const;
    void SetItemNumber(std::string_view page, std::string_view key, std::int32_t number);

    // Text converted from the process code page.
    std::u16string GetItemText(std::string_view page, std::string_view key) const;
    // The stored bytes unconverted (panel code for USER_NAME).
    std::string GetItemTextRaw(std::string_view page, std::string_view key) const;
    // Converts to the process code page; a longer text is cut at a character boundary.
    void SetItemText(std::string_view page, std::string_view key, std::u16string_view text);
    // Stores bytes verbatim up to the first NUL, at most kMaxTextBytes.
    void SetItemTextRaw(std::string_view page, std::string_view key, std::string_view bytes);

private:
    CValueRecord* Find(std::string_view page, std::string_view key);
    const CValueRecord* Find(std::string_view page, std::string_view key) const;

    std::vector<CValuePage> m_pages;
};

} // namespace qzb
