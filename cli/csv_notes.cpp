#include "cli/csv_notes.h"

#include "app/english_texts.h"
#include "model/text_codec.h"

#include <cstring>

namespace qzb {

void PrintCsvNotes(std::ostream& err, const std::vector<CCsvNote>& notes)
{
    // The wording the window shows too, in the English the utility ships.
    for (const CCsvNote& note : notes) {
        err << "qzbctl: " << Utf16ToUtf8(CsvNoteLine(note, EnglishText)) << '\n';
    }
}

void PrintCsvReadSummary(std::ostream& err, const CCsvCounts& counts)
{
    err << "qzbctl: " << Utf16ToUtf8(CsvReadSummary(counts, EnglishText)) << '\n';
}

std::string CsvFileDetail(const std::filesystem::path& file, int systemError)
{
    std::string detail = file.string();
    if (systemError != 0) {
        detail += ": ";
        detail += std::strerror(systemError);
    }
    return detail;
}

} // namespace qzb
