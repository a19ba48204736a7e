#include "app/string_table.h"

#include "model/text_codec.h"

#include <charconv>
#include <cmath>
#include <fstream>

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

} // namespace

CStringTableLoad CStringTable::LoadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {CStringTableLoad::Status::NotFound, 0};
    }
    return Load(in);
}

CStringTableLoad CStringTable::Load(std::istream& in)
{
    std::vector<std::pair<std::string, std::u16string>> entries;
    const CCodePage& page = ProcessCodePage();
    std::string line;
    std::size_t lineNumber = 0;
    while (true) {
        line.clear();
        char ch = 0;
        bool sawLineFeed = false;
        while (in.get(ch)) {
            if (ch == '\n') {
                sawLineFeed = true;
                break;
            }
            line.push_back(ch);
        }
        if (!sawLineFeed && line.empty()) {
            break; // end of file
        }
        ++lineNumber;
        // Text mode: a carriage return before the line feed does not count.
        if (sawLineFeed && !line.empty() && line.back() == '\r') {
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
        if (!sawLineFeed || line.size() + 1 > kMaxLineBytes) {
            return {CStringTableLoad::Status::BadLine, lineNumber};
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            continue; // blank lines and lines without '=' are no entries
        }
        // Both halves pass through the process code page: what it cannot hold is lost here.
        const std::string ansi = page.Encode(Utf8ToUtf16(line));
        const auto ansiEquals = ansi.find('=');
        std::string key = ansi.substr(0, ansiEquals);
        std::u16string text = page.Decode(std::string_view(ansi).substr(ansiEquals + 1));
        ReplaceAll(text, u"\\n", u'\n');
        ReplaceAll(text, u"\\t", u'\t');
        entries.emplace_back(std::move(key), std::move(text));
    }
    m_entries = std::move(entries);
    m_firstByKey.clear();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        m_firstByKey.emplace(m_entries[i].first, i);
    }
    return {};
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
    if (ec != std::errc() || !std::isfinite(value) || value <= 0.0) {
        return 1.0;
    }
    return value;
}

} // namespace qzb
