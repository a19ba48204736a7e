#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qzb {

struct CStringTableLoad
{
    enum class Status : std::uint8_t { Ok, NotFound, BadLine };
    Status status = Status::Ok;
    std::size_t line = 0; // 1-based line that ended a BadLine load
    bool Ok() const { return status == Status::Ok; }
};

// Every user-visible text, keyed by ASCII "STR_" names, from the profile's string table file:
// UTF-8 lines "KEY=text", ';' comments, '[' ends the table, "\n" and "\t" escapes in the text.
class CStringTable
{
public:
    // Longest line the table accepts, line feed included.
    static constexpr std::size_t kMaxLineBytes = 779;

    CStringTable() = default;
    // The index points into the entries, so a copy builds its own.
    CStringTable(const CStringTable& other);
    CStringTable& operator=(const CStringTable& other);
    CStringTable(CStringTable&&) noexcept = default;
    CStringTable& operator=(CStringTable&&) noexcept = default;

    // Anything but a readable plain file (a folder, a device, a pipe) is NotFound.
    CStringTableLoad LoadFile(const std::filesystem::path& path);
    // Replaces the entries only when the whole stream loads.
    CStringTableLoad Load(std::istream& in);

    // Appends the fallback's entries whose keys this table lacks, so that a translated table
    // missing a key shows the English text instead of none. Returns how many were added.
    std::size_t AddMissing(const CStringTable& fallback);

    // First entry with the key, nullptr when there is none.
    const std::u16string* Find(std::string_view key) const;
    std::size_t Size() const { return m_entries.size(); }
    // The entry at a position in the file's order (index < Size()).
    const std::pair<std::string, std::u16string>& Entry(std::size_t index) const { return m_entries[index]; }

private:
    void BuildIndex();

    std::vector<std::pair<std::string, std::u16string>> m_entries; // key in the process code page
    std::unordered_map<std::string_view, std::size_t> m_firstByKey;
};

// Parses a size ratio the way the C library reads a decimal number (leading number only).
// 0, a missing number, and anything outside the sane range of SaneSizeRatio mean 1.0.
double ParseSizeRatio(std::u16string_view text);

} // namespace qzb
