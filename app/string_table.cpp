#include "app/string_table.h"

#include "app/folders.h"
#include "model/text_codec.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <iterator>
#include <streambuf>
#include <sys/stat.h>
#include <unistd.h>

namespace qzb {

namespace {

void ReplaceAll(std::u16string& text, std::u16string_view from, char16_t to)
{
    std::size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::u16string::npos) {
        text.replace(pos, from.size(), 1, to);
        pos += 1;
    }
}

// Reads a descriptor through an istream, so the file checked is the file read.
class CDescriptorBuffer : public std::streambuf
{
public:
    explicit CDescriptorBuffer(int fd)
        : m_fd(fd)
    {
    }
    ~CDescriptorBuffer() override { ::close(m_fd); }
    CDescriptorBuffer(const CDescriptorBuffer&) = delete;
    CDescriptorBuffer& operator=(const CDescriptorBuffer&) = delete;

protected:
    int_type underflow() override
    {
        ssize_t got = 0;
        do {
            got = ::read(m_fd, m_buffer.data(), m_buffer.size());
        } while (got < 0 && errno == EINTR);
        if (got <= 0) {
            return traits_type::eof();
        }
        setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + got);
        return traits_type::to_int_type(m_buffer[0]);
    }

private:
    int m_fd;
    std::array<char, 4096> m_buffer{};
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsPrintableAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

} // namespace

CStringTable::CStringTable(const CStringTable& other)
    : m_entries(other.m_entries)
{
    BuildIndex();
}

CStringTable& CStringTable::operator=(const CStringTable& other)
{
    if (this != &other) {
        m_entries = other.m_entries;
        BuildIndex();
    }
    return *this;
}

void CStringTable::BuildIndex()
{
    m_firstByKey.clear();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        m_firstByKey.emplace(m_entries[i].first, i);
    }
}

CStringTableLoad CStringTable::LoadFile(const std::filesystem::path& path)
{
    // Non-blocking, so that a pipe in the table's place cannot stall the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return {CStringTableLoad::Status::NotFound, 0};
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {CStringTableLoad::Status::NotFound, 0};
    }
    CDescriptorBuffer buffer(fd);
    std::istream in(&buffer);
    return Load(in);
}

CStringTableLoad CStringTable::Load(std::istream& in)
{
    std::vector<std::pair<std::string, std::u16string>> entries;
    entries.reserve(1024);
    const CCodePage& page = ProcessCodePage();
    // Read through the stream's buffer: a character at a time through the stream itself costs a
    // sentry each, and a table has tens of thousands of them.
    std::streambuf* source = in.rdbuf();
    if (source == nullptr) {
        return {};
    }
    std::string line;
    std::size_t lineNumber = 0;
    bool atFileStart = true;
    while (true) {
        line.clear();
        bool sawLineFeed = false;
        bool overLong = false;
        for (auto next = source->sbumpc(); next != std::streambuf::traits_type::eof(); next = source->sbumpc()) {
            const char ch = std::streambuf::traits_type::to_char_type(next);
            if (ch == '\n') {
                sawLineFeed = true;
                break;
            }
            // A comment may run on; any other line stops at the buffer's size, so that a file
            // without line feeds cannot fill memory.
            if (line.size() == kMaxLineBytes) {
                overLong = true;
                if (line.front() == ';') {
                    continue;
                }
                break;
            }
            line.push_back(ch);
            // Editors that save "UTF-8 with signature" put a byte-order mark before the first key.
            if (atFileStart && line.size() == kByteOrderMark.size()) {
                atFileStart = false;
                if (line == kByteOrderMark) {
                    line.clear();
                }
            }
        }
        atFileStart = false;
        if (!sawLineFeed && line.empty()) {
            break; // end of file
        }
        ++lineNumber;
        // Text mode: a carriage return before the line feed does not count.
        if (sawLineFeed && !overLong && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == ';') {
            continue;
        }
        if (!line.empty() && line.front() == '[') {
            break;
        }
        // An entry must end with its line feed and fit the line buffer; anything else would be
        // read as a cut-off text.
        if (!sawLineFeed || overLong || line.size() + 1 > kMaxLineBytes) {
            return {CStringTableLoad::Status::BadLine, lineNumber};
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            continue; // blank lines and lines without '=' are no entries
        }
        std::string key;
        std::u16string text;
        if (IsPrintableAscii(line)) {
            // Every code page a process may choose keeps printable ASCII as its own bytes.
            key = line.substr(0, equals);
            text.assign(line.begin() + static_cast<std::ptrdiff_t>(equals) + 1, line.end());
        } else {
            // Both halves pass through the process code page: what it cannot hold is lost here.
            const std::string ansi = page.Encode(Utf8ToUtf16(line));
            const auto ansiEquals = ansi.find('=');
            key = ansi.substr(0, ansiEquals);
            text = page.Decode(std::string_view(ansi).substr(ansiEquals + 1));
        }
        if (text.find(u'\\') != std::u16string::npos) {
            ReplaceAll(text, u"\\n", u'\n');
            ReplaceAll(text, u"\\t", u'\t');
        }
        entries.emplace_back(std::move(key), std::move(text));
    }
    m_entries = std::move(entries);
    BuildIndex();
    return {};
}

std::size_t CStringTable::AddMissing(const CStringTable& fallback)
{
    // The index holds views of the keys, which move when the entries grow: look up first, append
    // after, then index again.
    std::vector<std::pair<std::string, std::u16string>> missing;
    for (const auto& entry : fallback.m_entries) {
        if (m_firstByKey.find(entry.first) == m_firstByKey.end() &&
            fallback.m_firstByKey.at(entry.first) == static_cast<std::size_t>(&entry - fallback.m_entries.data())) {
            missing.push_back(entry);
        }
    }
    if (missing.empty()) {
        return 0;
    }
    m_entries.insert(m_entries.end(), std::make_move_iterator(missing.begin()), std::make_move_iterator(missing.end()));
    BuildIndex();
    return missing.size();
}

const std::u16string* CStringTable::Find(std::string_view key) const
{
    const auto it = m_firstByKey.find(key);
    return it == m_firstByKey.end() ? nullptr : &m_entries[it->second].second;
}

double ParseSizeRatio(std::u16string_view text)
{
    std::string narrow;
    for (char16_t unit : text) {
        narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '\x7F');
    }
    std::size_t pos = narrow.find_first_not_of(" \t\n\v\f\r");
    if (pos == std::string::npos) {
        return 1.0;
    }
    if (narrow[pos] == '+') {
        ++pos;
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(narrow.data() + pos, narrow.data() + narrow.size(), value);
    if (ec != std::errc()) {
        return 1.0;
    }
    return SaneSizeRatio(value);
}

} // namespace qzb
