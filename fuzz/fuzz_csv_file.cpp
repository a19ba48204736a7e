// Arbitrary bytes as an address-book CSV file read from disk, as qzbctl csv import and the window
// read it: the file reader gives what the in-memory import gives, no line longer than the export
// writes is taken, and the report counts what the book holds, its notes in the order of the file.
#include "addressbook/address_book.h"
#include "addressbook/csv_exchange.h"
#include "fuzz_checks.h"
#include "fuzz_file.h"
#include "model/value_store.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// The longest of the first lines of the file that an import reads, line ends left out.
std::size_t LongestLine(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::size_t longest = 0;
    for (std::size_t line = 0, pos = 0; line < qzb::kCsvLines && pos < bytes.size(); ++line) {
        const std::size_t end = std::min(bytes.find('\n', pos), bytes.size());
        std::size_t length = end - pos;
        if (length > 0 && bytes[end - 1] == '\r') {
            --length;
        }
        longest = std::max(longest, length);
        pos = end + 1;
    }
    return longest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace qzb;
    constexpr std::uint16_t kToday = (26 << 9) | (3 << 5) | 14;
    static const CValueStore store;
    static CMemoryFile file("book.csv");
    static const CAddressBook before = [] {
        CAddressBook book;
        book.SetGroupName(1, "kept", kToday);
        return book;
    }();
    file.Write(data, size);

    CAddressBook book = before;
    CCsvReport report;
    const MessageCode code = ImportAddressBook(file.Path(), book, store, kToday, &report);
    CAddressBook inMemory = before;
    std::vector<CCsvNote> notes;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Require(code == ParseAddressBookCsv(bytes, inMemory, store, kToday, &notes), "file and memory results differ");
    Require(book == inMemory, "file and memory books differ");
    Require(report.systemError == 0, "a readable file reported a system error");
    if (code != kOk) {
        Require(code == kMsgReadFileError, "result code of a damaged file");
        Require(book == before, "a refused import changed the book");
        return 0;
    }
    Require(LongestLine(bytes) <= kMaxCsvLineBytes, "a line over the limit was read");
    RequireBookRules(book);
    Require(report.read.faxMail == book.FaxMailEntries().size() && report.read.scan == book.ScanEntries().size() &&
                report.read.groups == book.Groups().size() && report.read.favourites == book.Favourites().size(),
            "the counts of the report");
    Require(std::is_permutation(report.notes.begin(), report.notes.end(), notes.begin(), notes.end()),
            "the notes of file and memory");
    Require(
        std::is_sorted(report.notes.begin(),
                       report.notes.end(),
                       [](const CCsvNote& a, const CCsvNote& b) { return CsvLineOfKey(a.key) < CsvLineOfKey(b.key); }),
        "the report follows the file");
    Require(std::all_of(report.notes.begin(),
                        report.notes.end(),
                        [](const CCsvNote& note) { return CsvLineOfKey(note.key) > 0; }),
            "a note names a line the file has");
    return 0;
}
