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

// A record found once by page and key. Every store has the same layout, so a reference found in
// one store stays good for all of them and for the whole run; the machine image coder resolves
// its rows once instead of comparing names for every entry.
struct CRecordRef
{
    static constexpr std::uint16_t kNone = 0xFFFF;
    std::uint16_t page = kNone;
    std::uint16_t record = 0;
    bool Valid() const { return page != kNone; }
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
    // First record of the key on the page, as every lookup finds it; invalid when there is none.
    CRecordRef FindRecord(std::string_view page, std::string_view key) const;
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

    // The same operations on a found record; an invalid reference reads 0 or nothing and writes
    // nothing.
    std::int32_t Number(CRecordRef ref) const;
    void SetNumber(CRecordRef ref, std::int32_t number);
    const std::string& RawText(CRecordRef ref) const;
    void SetText(CRecordRef ref, std::u16string_view text);
    void SetTextRaw(CRecordRef ref, std::string_view bytes);

private:
    CValueRecord* Record(CRecordRef ref);
    const CValueRecord* Record(CRecordRef ref) const;
    CValueRecord* Find(std::string_view page, std::string_view key);
    const CValueRecord* Find(std::string_view page, std::string_view key) const;

    std::vector<CValuePage> m_pages;
};

} // namespace qzb
