// Arbitrary bytes as a string table file, under the process code page $QZB_FUZZ_CODEPAGE (default
// Windows-1252; CP932 reaches the multi-byte paths): the file loads
// as the same bytes load from a stream, a refused file leaves the table as it was, and the texts a
// loaded table gives are whole (a size ratio read from any of them is a sane number).
#include "app/string_table.h"
#include "fuzz_checks.h"
#include "fuzz_file.h"
#include "model/text_codec.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

using namespace qzb;

// The keys the lines of the file name, as the table keeps them.
std::vector<std::string> Keys(const std::string& bytes)
{
    std::vector<std::string> keys;
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
        if (const std::size_t equals = line.find('='); equals != std::string::npos) {
            keys.push_back(ProcessCodePage().Encode(Utf8ToUtf16(line.substr(0, equals))));
        }
    }
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CMemoryFile file("qzbstr.tbl");
    // One page for the life of the process: every page set stays open, since texts refer to it.
    static const bool codePageSet = [] {
        const char* name = std::getenv("QZB_FUZZ_CODEPAGE");
        return SetProcessCodePage(name != nullptr && *name != '\0' ? name : "WINDOWS-1252");
    }();
    Require(codePageSet, "the code page is there");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    file.Write(bytes.data(), bytes.size());

    CStringTable table;
    std::istringstream kept("STR_KEPT=kept\n");
    Require(table.Load(kept).Ok(), "a one-line table");
    const CStringTableLoad load = table.LoadFile(file.Path());
    CStringTable streamed;
    std::istringstream stream(bytes);
    const CStringTableLoad fromStream = streamed.Load(stream);
    Require(load.status == fromStream.status && load.line == fromStream.line, "file and stream loads differ");
    if (!load.Ok()) {
        Require(load.status == CStringTableLoad::Status::BadLine && load.line >= 1, "why a file was refused");
        Require(table.Size() == 1 && table.Find("STR_KEPT") != nullptr, "a refused file changed the table");
        return 0;
    }
    Require(table.Size() == streamed.Size(), "file and stream tables differ");
    const CStringTable copy = table;
    for (const std::string& key : Keys(bytes)) {
        const std::u16string* text = table.Find(key);
        if (text == nullptr) {
            continue; // a line after the table's end, or in a comment
        }
        Require(streamed.Find(key) && *streamed.Find(key) == *text, "file and stream texts differ");
        Require(copy.Find(key) && *copy.Find(key) == *text, "a copy gives other texts");
        const double ratio = ParseSizeRatio(*text);
        Require(std::isfinite(ratio) && ratio > 0, "a size ratio that is no sane number");
    }
    return 0;
}
